// Opening, locating and renaming rows over the capture engine's stand-in:
// what is played or shown in which case, the Extras offer, the double click,
// the tray balloon's action, and renames with their files on disk. Shell
// launches are recorded; file work the program cannot do plainly meets the
// recording elevation service of this apartment, which refuses it.
#include "RowTestHost.h"

#include "appframework/product/ProductInfo.h"
#include "appframework/tests/RecordingService.h"
#include "appframework/tests/ServiceClientFixtures.h"
#include "appframework/tests/TestApplication.h"
#include "appframework/updates/ExtrasInstaller.h"
#include "downloads/view/OpenVideoTrayAction.h"
#include "foundation/tests/ShellLaunchRecorder.h"
#include "skin/commongui/UserInput.h"
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace KavennaEngine;
using DownloadsTests::RowTestHost;
using FoundationTests::ShellLaunchRecorder;
using TestDoor::ItemSpec;

namespace {

const wchar_t kProductName[] = L"Brunlow Downloads Tests";

std::wstring UniqueKey() {
    std::wstring key = L"BrunlowExtrasTest";
    for (wchar_t c : Testing::NewGuidText())
        if (iswalnum(c))
            key += c;
    return key;
}

// The Extras as this process's product names them: a product key of the
// test's own under HKLM, installed once its program is in the install folder.
class ExtrasProduct {
public:
    ExtrasProduct() : m_key(UniqueKey()), m_path(L"Software\\" + m_key) {
        // The product information outlives the tests that use it.
        static AppFrameworkTests::FakeProductValues values;
        using ApplicationFramework::ProductValue;
        values.values[ProductValue::ProductName] = kProductName;
        values.values[ProductValue::ExtrasProductKey] = m_key;
        values.values[ProductValue::ExtrasShortTitle] = L"Extras";
        values.values[ProductValue::ExtrasBundleLongTitle] = m_key;
        values.values[ProductValue::ExtrasBundleShortTitle] = L"Extras";
        ApplicationFramework::ProductInfo* pInfo = ApplicationFramework::ProductInfo::GetCurrent();
        if (pInfo) {
            pInfo->SetValueSource(&values);
            pInfo->Initialize();
        }
    }
    ~ExtrasProduct() { ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), KEY_WOW64_32KEY, 0); }

    // The program in place and the install folder described; its path.
    std::wstring Install() {
        const std::wstring program = m_folder.WriteFile(L"Extras.exe", "MZ");
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr,
                              &key, nullptr) == ERROR_SUCCESS) {
            const std::wstring folder = m_folder.Path();
            ::RegSetValueExW(key, L"InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                             static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
            ::RegCloseKey(key);
        }
        return program;
    }

private:
    std::wstring m_key;
    std::wstring m_path;
    Testing::TempFolder m_folder;
};

class OpenRenameTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_rowHost = new RowTestHost; }
    static void TearDownTestSuite() {
        delete s_rowHost;
        s_rowHost = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(s_rowHost->view, nullptr);
        ASSERT_EQ(S_OK, m_service.Registration());
        s_rowHost->Reset();
        view = s_rowHost->view;
        // The codec pack is there unless a test says otherwise: no offer.
        m_service.answer = S_OK;
        m_service.registryValue = L"mega";
    }
    void TearDown() override { s_rowHost->Reset(); }

    // A row over files of the test's folder; empty names leave paths empty.
    CBrunlowView::RowPtr AddFileRow(ItemSpec spec, bool finished, const std::wstring& downloaded,
                                    const std::wstring& converted = L"") {
        if (!downloaded.empty())
            spec.filePath = m_folder.WriteFile(downloaded, "video");
        if (!converted.empty())
            spec.convertedPath = m_folder.WriteFile(converted, "converted");
        return s_rowHost->AddRow(spec, finished);
    }
    std::wstring File(const std::wstring& name) const { return m_folder / name; }
    void Select(int index) { view->GetListCtrl().SetItemState(index, LVIS_SELECTED, LVIS_SELECTED); }
    // Played files, in order (the shell's default verb on the file).
    std::vector<std::wstring> Played() const {
        std::vector<std::wstring> files;
        for (const FoundationTests::ShellLaunch& launch : ShellLaunchRecorder::launches)
            files.push_back(launch.file);
        return files;
    }

    static RowTestHost* s_rowHost;
    DownloadsTests::RowTestView* view = nullptr;
    ServiceClientTests::OleScope m_ole;
    ServiceClientTests::RecordingService m_service;
    ShellLaunchRecorder m_shell;
    Testing::TempFolder m_folder;
};
RowTestHost* OpenRenameTest::s_rowHost = nullptr;

ItemSpec Finished(int stage = StageDownload) {
    ItemSpec spec;
    spec.stage = stage;
    spec.complete = true;
    spec.mediaKind = 1;
    spec.received = spec.total = 1000;
    return spec;
}

ItemSpec Downloading() {
    ItemSpec spec;
    spec.stage = StageDownload;
    spec.downloadRunning = true;
    spec.received = 100;
    spec.total = 1000;
    spec.mediaKind = 1;
    return spec;
}

// ---- Opening ----

TEST_F(OpenRenameTest, WhatIsPlayedOrShown) {
    struct Case {
        const char* name;
        ItemSpec spec;
        bool finished;
        const wchar_t* downloaded;
        const wchar_t* converted;
        bool converted_;
        bool watch;
        const wchar_t* expected;  // played or shown; null: nothing
    };
    ItemSpec failedConversion = Finished(StageConversion);
    failedConversion.conversionCode = ResultTransferFailed;
    ItemSpec converted = Finished(StageConversion);
    ItemSpec live = Downloading();
    live.received = 100;
    live.total = 0;  // no size and no time yet
    const Case cases[] = {
        {"locate on a downloading row", Downloading(), false, L"a.flv", nullptr, false, false, nullptr},
        {"watch a finished row without a converted file", Finished(), true, L"b.flv", nullptr, true, true, L"b.flv"},
        {"watch converted after a failed conversion", failedConversion, true, L"c.flv", L"c.mp4", true, true,
         L"c.flv"},
        {"watch converted", converted, true, L"d.flv", L"d.mp4", true, true, L"d.mp4"},
        {"watch downloaded of a converted row", converted, true, L"e.flv", L"e.mp4", false, true, L"e.flv"},
        {"locate converted", converted, true, L"f.flv", L"f.mp4", true, false, L"f.mp4"},
        {"locate downloaded", converted, true, L"g.flv", L"g.mp4", false, false, L"g.flv"},
        {"watch a partly downloaded file of known size", Downloading(), false, nullptr, nullptr, false, true,
         nullptr},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        s_rowHost->Reset();
        ShellLaunchRecorder::launches.clear();
        ShellLaunchRecorder::selections.clear();
        ItemSpec spec = test.spec;
        spec.tempPath = m_folder.WriteFile(std::wstring(L"temp-") + (test.downloaded ? test.downloaded : L"x"), "p");
        AddFileRow(spec, test.finished, test.downloaded ? test.downloaded : L"",
                   test.converted ? test.converted : L"");
        const bool opened = view->OpenItem(0, test.converted_, test.watch);
        EXPECT_EQ(opened, test.expected != nullptr);
        if (!test.expected) {
            EXPECT_TRUE(ShellLaunchRecorder::launches.empty());
            EXPECT_TRUE(ShellLaunchRecorder::selections.empty());
        } else if (test.watch) {
            EXPECT_EQ(Played(), std::vector<std::wstring>{File(test.expected)});
        } else {
            ASSERT_EQ(ShellLaunchRecorder::selections.size(), 1u);
            EXPECT_EQ(ShellLaunchRecorder::selections[0].item, File(test.expected));
        }
    }
}

TEST_F(OpenRenameTest, ALiveStreamPlaysItsTemporaryFile) {
    ItemSpec spec = Downloading();
    spec.total = 0;
    spec.tempPath = m_folder.WriteFile(L"live.part", "live");
    s_rowHost->AddRow(spec, false);
    EXPECT_TRUE(view->OpenItem(0, true, true));
    EXPECT_EQ(Played(), std::vector<std::wstring>{File(L"live.part")});
    // Locating a file still being written shows nothing.
    EXPECT_FALSE(view->OpenItem(0, false, false));
    EXPECT_TRUE(ShellLaunchRecorder::selections.empty());
}

TEST_F(OpenRenameTest, AGoneFileFallsBackToTheTemporaryFileThenGivesUp) {
    ItemSpec spec = Finished();
    spec.filePath = File(L"gone.flv");
    spec.tempPath = m_folder.WriteFile(L"gone.part", "part");
    s_rowHost->AddRow(spec, true);
    EXPECT_TRUE(view->OpenItem(0, false, true));
    EXPECT_EQ(Played(), std::vector<std::wstring>{File(L"gone.part")});

    ::DeleteFileW(File(L"gone.part").c_str());
    ShellLaunchRecorder::launches.clear();
    EXPECT_FALSE(view->OpenItem(0, false, true));
    EXPECT_TRUE(ShellLaunchRecorder::launches.empty());
    EXPECT_FALSE(view->OpenItem(5, false, true));  // no such row
}

TEST_F(OpenRenameTest, InstalledExtrasGetTheQuotedPath) {
    ExtrasProduct extras;
    const std::wstring program = extras.Install();
    ItemSpec spec = Downloading();  // the Extras play a file still being written
    spec.tempPath = m_folder.WriteFile(L"part.flv", "part");
    s_rowHost->AddRow(spec, false);
    m_service.registryValue = L"";  // no codec pack: no offer either, the Extras are there
    EXPECT_TRUE(view->OpenItem(0, false, true));
    ASSERT_EQ(ShellLaunchRecorder::launches.size(), 1u);
    EXPECT_EQ(ShellLaunchRecorder::launches[0].file, program);
    EXPECT_EQ(ShellLaunchRecorder::launches[0].parameters, L"\"" + File(L"part.flv") + L"\"");
    EXPECT_TRUE(s_rowHost->viewHost.offers.empty());
    EXPECT_TRUE(RowTestHost::boxes.empty());
}

TEST_F(OpenRenameTest, WithoutExtrasOrCodecPackTheOfferComesFirst) {
    ExtrasProduct extras;
    m_service.registryValue = L"";
    AddFileRow(Finished(), true, L"offer.flv");

    // Declined: the file is played without.
    EXPECT_TRUE(view->OpenItem(0, false, true));
    ASSERT_EQ(s_rowHost->viewHost.offers.size(), 1u);
    EXPECT_EQ(s_rowHost->viewHost.offers[0].cancelText, L"Play without");
    EXPECT_EQ(s_rowHost->viewHost.offers[0].okText, std::wstring(L"Get ") + kProductName + L" Extras");
    EXPECT_EQ(Played(), std::vector<std::wstring>{File(L"offer.flv")});

    // Accepted: the Extras installation starts with the language, nothing plays.
    ShellLaunchRecorder::launches.clear();
    s_rowHost->viewHost.offerAnswer = IDOK;
    EXPECT_FALSE(view->OpenItem(0, false, true));
    ASSERT_EQ(ShellLaunchRecorder::launches.size(), 1u);
    const FoundationTests::ShellLaunch& launch = ShellLaunchRecorder::launches[0];
    EXPECT_EQ(FileSystem::File(launch.file).GetName(), L"Updater.exe");
    EXPECT_EQ(launch.parameters.rfind(L"/runWithProduct /componentName \"Extras\"", 0), 0u) << launch.parameters;
    EXPECT_NE(launch.parameters.find(L"/languageName \"en-us\""), std::wstring::npos) << launch.parameters;
    Testing::RemoveTree(FileSystem::File(launch.file).GetFolderPath());

    // Locating never offers anything.
    s_rowHost->viewHost.offers.clear();
    EXPECT_TRUE(view->OpenItem(0, false, false));
    EXPECT_TRUE(s_rowHost->viewHost.offers.empty());
}

TEST_F(OpenRenameTest, WhileTheExtrasAreInstalledTheUserIsAsked) {
    ExtrasProduct extras;
    m_service.registryValue = L"";
    AddFileRow(Finished(), true, L"asked.flv");
    // The Updater holds the Extras mutex while it installs them.
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE,
                                  ApplicationFramework::ExtrasInstaller::GetInstance().GetExtrasMutexName().c_str());
    ASSERT_NE(mutex, nullptr);
    RowTestHost::boxAnswer = IDNO;
    EXPECT_FALSE(view->OpenItem(0, false, true));
    RowTestHost::boxAnswer = IDYES;
    EXPECT_TRUE(view->OpenItem(0, false, true));
    ::CloseHandle(mutex);
    ASSERT_EQ(RowTestHost::boxes.size(), 2u);
    EXPECT_EQ(RowTestHost::boxes[0].text, L"The Extras are being installed. Play anyway?");
    EXPECT_EQ(RowTestHost::boxes[0].caption, L"Extras");
    EXPECT_EQ(RowTestHost::boxes[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_TRUE(s_rowHost->viewHost.offers.empty());
    EXPECT_EQ(Played(), std::vector<std::wstring>{File(L"asked.flv")});
}

TEST_F(OpenRenameTest, PopupCommandsOpenEverySelectedRowInOrder) {
    AddFileRow(Finished(StageConversion), true, L"one.flv", L"one.mp4");
    AddFileRow(Finished(), true, L"two.flv");
    AddFileRow(Finished(StageConversion), true, L"three.flv", L"three.mp4");
    Select(0);
    Select(2);
    const struct {
        UINT command;
        std::vector<std::wstring> played, shown;
    } cases[] = {
        {32781, {File(L"one.flv"), File(L"three.flv")}, {}},
        {32780, {File(L"one.mp4"), File(L"three.mp4")}, {}},
        {32784, {}, {File(L"one.flv"), File(L"three.flv")}},
        {32785, {}, {File(L"one.mp4"), File(L"three.mp4")}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.command);
        ShellLaunchRecorder::launches.clear();
        ShellLaunchRecorder::selections.clear();
        view->SendMessage(WM_COMMAND, test.command, 0);
        EXPECT_EQ(Played(), test.played);
        std::vector<std::wstring> shown;
        for (const auto& selection : ShellLaunchRecorder::selections)
            shown.push_back(selection.item);
        EXPECT_EQ(shown, test.shown);
    }
}

// ---- The double click ----

TEST_F(OpenRenameTest, DoubleClickOnTheProgressColumnOfTheFirstRow) {
    ItemSpec needsDownload = Finished(StageConversion);
    needsDownload.downloadCode = ResultTransferFailed;
    ItemSpec failedConversion = Finished(StageConversion);
    failedConversion.conversionCode = ResultTransferFailed;
    const struct {
        const char* name;
        ItemSpec spec;
        int column;
        const wchar_t* call;    // of the stand-in, or null
        const wchar_t* played;  // or null
    } cases[] = {
        {"needs a new download", needsDownload, 1, L"DownloadStage::Start", nullptr},
        {"conversion failed", failedConversion, 1, L"ConversionStage::Start", nullptr},
        {"finished", Finished(), 1, nullptr, L"dbl.flv"},
        {"name column of a row needing a download", needsDownload, 0, nullptr, L"dbl.flv"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        s_rowHost->Reset();
        ShellLaunchRecorder::launches.clear();
        AddFileRow(test.spec, true, L"dbl.flv");
        AddFileRow(Finished(), true, L"other.flv");
        s_rowHost->engine.door->ClearCallLog();
        CPoint point = s_rowHost->CellCentre(0, test.column);
        view->ClientToScreen(&point);
        CommonGuiLib::InputFunctions input;
        input.getCursorPos = [point](POINT* pPoint) {
            *pPoint = point;
            return TRUE;
        };
        CommonGuiLib::ScopedInputFunctions scopedInput(input);
        NMITEMACTIVATE notification = {};
        notification.hdr.hwndFrom = view->m_hWnd;
        notification.hdr.idFrom = static_cast<UINT_PTR>(view->GetDlgCtrlID());
        notification.hdr.code = NM_DBLCLK;
        view->GetParent()->SendMessage(WM_NOTIFY, notification.hdr.idFrom, reinterpret_cast<LPARAM>(&notification));
        const std::vector<std::wstring> calls = s_rowHost->Calls();
        if (test.call)
            EXPECT_EQ(calls, std::vector<std::wstring>{test.call});
        else
            EXPECT_TRUE(calls.empty()) << calls.size();
        if (test.played)
            EXPECT_EQ(Played(), std::vector<std::wstring>{File(test.played)});
        else
            EXPECT_TRUE(ShellLaunchRecorder::launches.empty());
    }
}

// ---- Finding a row by its review text, and the balloon's action ----

TEST_F(OpenRenameTest, FindByTempDownloadNameIsExactAndCaseSensitive) {
    const wchar_t* names[] = {L"clip", L"Clip.flv", L"clip.flv", L"clip.flv"};
    for (const wchar_t* name : names) {
        ItemSpec spec = Finished();
        spec.reviewText = name;
        s_rowHost->AddRow(spec, true);
    }
    const struct {
        const wchar_t* name;
        int index;
    } cases[] = {{L"clip.flv", 2}, {L"Clip.flv", 1}, {L"clip", 0}, {L"CLIP.FLV", -1}, {L"clip.fl", -1}, {L"", -1}};
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << "name \"" << std::string(test.name, test.name + wcslen(test.name)) << "\"");
        EXPECT_EQ(view->FindItemByTempDownloadName(test.name), test.index);
    }
}

TEST_F(OpenRenameTest, TrayActionOpensTheNamedRowOrNothing) {
    ItemSpec spec = Finished(StageConversion);
    spec.reviewText = L"stolen.flv";
    AddFileRow(Finished(), true, L"first.flv");
    AddFileRow(spec, true, L"stolen.flv", L"stolen.mp4");

    OpenVideoTrayAction(view, L"nobody.flv").PerformAction(0);
    EXPECT_TRUE(ShellLaunchRecorder::launches.empty());
    OpenVideoTrayAction(view, L"stolen.flv").PerformAction(0);
    EXPECT_EQ(Played(), std::vector<std::wstring>{File(L"stolen.mp4")});
    // A view that is gone: nothing, and no crash.
    ShellLaunchRecorder::launches.clear();
    OpenVideoTrayAction(nullptr, L"stolen.flv").PerformAction(0);
    EXPECT_TRUE(ShellLaunchRecorder::launches.empty());
}

// ---- Renaming ----

class RenameTest : public OpenRenameTest {
protected:
    void SetUp() override {
        OpenRenameTest::SetUp();
        m_service.answer = E_FAIL;  // the service refuses what the program could not do
    }
    // The list's end of an in-place edit of row 0 with `text` (null: cancelled).
    void EndEdit(const wchar_t* text) {
        view->SetEditingLabel(true);
        std::wstring buffer = text ? text : L"";
        NMLVDISPINFOW info = {};
        info.hdr.hwndFrom = view->m_hWnd;
        info.hdr.idFrom = static_cast<UINT_PTR>(view->GetDlgCtrlID());
        info.hdr.code = LVN_ENDLABELEDITW;
        info.item.iItem = 0;
        info.item.pszText = text ? &buffer[0] : nullptr;
        const LRESULT result =
            view->GetParent()->SendMessage(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(view->IsEditingLabel());
    }
    std::wstring RowText() { return std::wstring(view->GetListCtrl().GetItemText(0, 0)); }
    std::vector<std::wstring> Renames() {
        std::vector<std::wstring> renames;
        for (const std::wstring& call : s_rowHost->Calls())
            if (call.rfind(L"Rename ", 0) == 0)
                renames.push_back(call);
        return renames;
    }
};

TEST_F(RenameTest, TheTypedNameGetsTheMediaExtensionWhenItHasNone) {
    const struct {
        const wchar_t* typed;
        const wchar_t* expected;
    } cases[] = {{L"clip", L"clip.flv"}, {L"clip.mp4", L"clip.mp4"}, {L"clip.txt", L"clip.txt.flv"},
                 {L"Clip.MP3", L"Clip.MP3"}};
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(test.typed)).c_str());
        s_rowHost->Reset();
        AddFileRow(Finished(), true, L"old.flv");
        EndEdit(test.typed);
        EXPECT_TRUE(RowTestHost::boxes.empty());
        EXPECT_EQ(RowText(), test.expected);
        EXPECT_TRUE(Testing::PathExists(File(test.expected)));
        EXPECT_FALSE(Testing::PathExists(File(L"old.flv")));
        EXPECT_EQ(Renames(), std::vector<std::wstring>{std::wstring(L"Rename ") + test.expected + L" 6 1"});
        ::DeleteFileW(File(test.expected).c_str());
    }
}

TEST_F(RenameTest, AppendMediaExtensionByKind) {
    const struct {
        const wchar_t* name;
        int kind;
        const wchar_t* expected;
        bool changed;
    } cases[] = {{L"", 1, L"", false},          {L"a", 1, L"a.flv", true},     {L"a.FLV", 3, L"a.FLV", false},
                 {L"a", 99, L"a.flv", true},     {L"a.", 1, L"a..flv", true}};
    for (const auto& test : cases) {
        std::wstring name = test.name;
        SCOPED_TRACE(testing::PrintToString(name).c_str());
        EXPECT_EQ(CBrunlowView::AppendMediaExtension(name, test.kind), test.changed);
        EXPECT_EQ(name, test.expected);
    }
}

TEST_F(RenameTest, TheCurrentNameOrAnExistingFileIsRefused) {
    for (const wchar_t* typed : {L"old", L"old.flv", L"taken"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(typed)).c_str());
        s_rowHost->Reset();
        AddFileRow(Finished(), true, L"old.flv");
        m_folder.WriteFile(L"taken.flv", "other");
        EndEdit(typed);
        ASSERT_EQ(RowTestHost::boxes.size(), 1u);
        EXPECT_EQ(RowTestHost::boxes[0].text, L"A file of that name exists.");
        EXPECT_EQ(RowTestHost::boxes[0].caption, L"File exists");
        EXPECT_EQ(RowTestHost::boxes[0].type, UINT(MB_ICONINFORMATION));
        EXPECT_EQ(RowText(), L"video");
        EXPECT_TRUE(Renames().empty());
        EXPECT_EQ(Testing::ReadFileBytes(File(L"taken.flv")), "other");
    }
}

TEST_F(RenameTest, InvalidNamesAreRefusedBeforeAnythingMoves) {
    // A folder beside the videos where a path name would have put the file.
    const std::wstring sub = m_folder.MakeFolder(L"videos");
    const wchar_t* names[] = {L"a?b", L"..\\..\\x", L"../x", L"c:x", L"a*b", L"a\"b", L"a<b", L"a>b",
                              L"a|b", L"a\tb", L"..", L"...", L""};
    for (const bool finished : {true, false}) {
        for (const wchar_t* typed : names) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(typed)).c_str());
            SCOPED_TRACE(finished ? "finished" : "unfinished");
            s_rowHost->Reset();
            m_service.calls.clear();
            ItemSpec spec = finished ? Finished() : Downloading();
            spec.filePath = m_folder.WriteFile(L"videos\\old.flv", "video");
            s_rowHost->AddRow(spec, finished);
            EndEdit(typed);
            ASSERT_EQ(RowTestHost::boxes.size(), 1u);
            EXPECT_EQ(RowTestHost::boxes[0].text, L"That name cannot be used.");
            EXPECT_EQ(RowTestHost::boxes[0].caption, L"Rename");
            EXPECT_EQ(RowTestHost::boxes[0].type, UINT(MB_ICONEXCLAMATION));
            EXPECT_TRUE(Testing::PathExists(spec.filePath));
            EXPECT_FALSE(Testing::PathExists(File(L"x.flv")));
            EXPECT_EQ(RowText(), L"video");
            EXPECT_TRUE(Renames().empty());
            EXPECT_TRUE(m_service.calls.empty());
        }
    }
    (void)sub;
}

TEST_F(RenameTest, AnUnfinishedItemIsRenamedInTheListAndEngineOnly) {
    ItemSpec spec = Downloading();
    spec.filePath = m_folder.WriteFile(L"growing.flv", "part");
    s_rowHost->AddRow(spec, false);
    EndEdit(L"later");
    EXPECT_TRUE(RowTestHost::boxes.empty());
    EXPECT_EQ(RowText(), L"later.flv");
    EXPECT_EQ(Renames(), std::vector<std::wstring>{L"Rename later.flv 6 1"});
    EXPECT_TRUE(Testing::PathExists(File(L"growing.flv")));
    EXPECT_FALSE(Testing::PathExists(File(L"later.flv")));
}

TEST_F(RenameTest, ACancelledEditChangesNothing) {
    AddFileRow(Finished(), true, L"old.flv");
    EndEdit(nullptr);
    EXPECT_TRUE(RowTestHost::boxes.empty());
    EXPECT_EQ(RowText(), L"video");
    EXPECT_TRUE(Renames().empty());
}

TEST_F(RenameTest, AConvertedItemKeepsEachFilesOwnExtension) {
    AddFileRow(Finished(StageConversion), true, L"old.flv", L"old.mp4");
    EndEdit(L"new");
    EXPECT_TRUE(RowTestHost::boxes.empty());
    EXPECT_TRUE(Testing::PathExists(File(L"new.flv")));
    EXPECT_TRUE(Testing::PathExists(File(L"new.mp4")));
    EXPECT_FALSE(Testing::PathExists(File(L"old.flv")));
    EXPECT_FALSE(Testing::PathExists(File(L"old.mp4")));
    EXPECT_FALSE(Testing::PathExists(File(L"new.flv.mp4")));
    EXPECT_EQ(Testing::ReadFileBytes(File(L"new.mp4")), "converted");
    EXPECT_EQ(RowText(), L"new.flv");
    EXPECT_EQ(Renames(), std::vector<std::wstring>{L"Rename new.flv 6 1"});
}

// The context menu's command ids, as the menu seam was shown them.
std::vector<UINT> g_menuCommands;
BOOL RecordMenuCommands(HMENU menu, UINT, int, int, HWND, LPCRECT) {
    g_menuCommands.clear();
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
        g_menuCommands.push_back(::GetMenuItemID(menu, i));
    return TRUE;
}

bool Offers(UINT command) {
    return std::find(g_menuCommands.begin(), g_menuCommands.end(), command) != g_menuCommands.end();
}

// A converted row renamed: both of its files keep being the row's, for the
// menu's watch, locate and convert and for Delete File, which says which
// files it could not delete.
TEST_F(RenameTest, ARenamedRowKeepsBothFilesForItsMenuAndDeleteFile) {
    const AfxTrackPopupMenuHandler previousMenu = AfxSetTrackPopupMenuHandler(&RecordMenuCommands);
    for (const bool held : {false, true}) {
        SCOPED_TRACE(held ? "the converted file held open" : "both files free");
        s_rowHost->Reset();
        // Converted, and gone on to the copy stage.
        AddFileRow(Finished(StageDeploy), true, L"old.flv", L"old.mp4");
        EndEdit(L"new");
        ASSERT_TRUE(RowTestHost::boxes.empty());
        ASSERT_TRUE(Testing::PathExists(File(L"new.flv")));
        ASSERT_TRUE(Testing::PathExists(File(L"new.mp4")));

        Select(0);
        g_menuCommands.clear();
        view->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->m_hWnd), MAKELPARAM(10, 10));
        for (const UINT command : {32781u, 32784u, 32780u, 32785u, 1032u, 32783u}) {
            SCOPED_TRACE(command);
            EXPECT_TRUE(Offers(command));
        }
        ShellLaunchRecorder::launches.clear();
        view->SendMessage(WM_COMMAND, 32780);
        EXPECT_EQ(Played(), std::vector<std::wstring>{File(L"new.mp4")});

        HANDLE holder = INVALID_HANDLE_VALUE;
        if (held) {
            holder = ::CreateFileW(File(L"new.mp4").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        }
        RowTestHost::boxAnswer = IDYES;
        view->SendMessage(WM_COMMAND, 32779);
        if (holder != INVALID_HANDLE_VALUE)
            ::CloseHandle(holder);
        EXPECT_TRUE(view->GetRowRecords().empty());
        EXPECT_FALSE(Testing::PathExists(File(L"new.flv")));
        EXPECT_EQ(Testing::PathExists(File(L"new.mp4")), held);
        ASSERT_EQ(RowTestHost::boxes.size(), held ? 2u : 1u);
        if (held) {
            const std::wstring& told = RowTestHost::boxes[1].text;
            EXPECT_EQ(told.rfind(L"Some files are in use and were not deleted.", 0), 0u) << told;
            EXPECT_NE(told.find(File(L"new.mp4")), std::wstring::npos) << told;
            EXPECT_EQ(told.find(File(L"new.flv")), std::wstring::npos) << told;
        }
        ::DeleteFileW(File(L"new.mp4").c_str());
    }
    AfxSetTrackPopupMenuHandler(previousMenu);
}

TEST_F(RenameTest, AConvertedFileInUseMovesNeitherFile) {
    AddFileRow(Finished(StageConversion), true, L"old.flv", L"old.mp4");
    HANDLE holder = ::CreateFileW(File(L"old.mp4").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EndEdit(L"new");
    ::CloseHandle(holder);
    ASSERT_EQ(RowTestHost::boxes.size(), 1u);
    EXPECT_EQ(RowTestHost::boxes[0].text, L"Some files are in use and were not deleted.");
    EXPECT_EQ(RowTestHost::boxes[0].caption, L"Rename");
    EXPECT_EQ(RowTestHost::boxes[0].type, UINT(MB_ICONEXCLAMATION));
    EXPECT_TRUE(Testing::PathExists(File(L"old.flv")));
    EXPECT_TRUE(Testing::PathExists(File(L"old.mp4")));
    EXPECT_FALSE(Testing::PathExists(File(L"new.flv")));
    EXPECT_FALSE(Testing::PathExists(File(L"new.mp4")));
    EXPECT_EQ(RowText(), L"video");
    EXPECT_TRUE(Renames().empty());
    // The service was asked for the move the program could not do, and refused.
    EXPECT_FALSE(m_service.calls.empty());
}

}  // namespace
