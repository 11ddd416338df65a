// The media-kind table and what the list makes of dropped files.
#include "downloads/media/MediaKinds.h"
#include "downloads/view/BrunlowView.h"

#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

namespace {

TEST(MediaKindsTest, TableHoldsFifteenKindsInOrder) {
    ASSERT_EQ(MediaKindTable.size(), 15u);
    for (size_t index = 0; index < MediaKindTable.size(); ++index)
        EXPECT_EQ(MediaKindTable[index].kind, static_cast<int>(index + 1));
    EXPECT_EQ(MediaKindTable[2].signatureOffset, 4);
    EXPECT_EQ(MediaKindTable[2].signature, (std::vector<std::uint8_t>{0x66, 0x74, 0x79, 0x70}));
    EXPECT_TRUE(MediaKindTable[5].signature.empty());
    EXPECT_EQ(MediaKindTable[14].extensions, (std::vector<std::wstring>{L"F4V", L"F4P", L"F4A", L"F4B"}));
}

TEST(MediaKindsTest, ExtensionGivesTheLowerKindWithoutRegardToCase) {
    const struct {
        const wchar_t* extension;
        int kind;
    } cases[] = {{L"mp3", 8},  {L"SWF", 11}, {L"flv", 1},  {L"Mp4", 3}, {L"mpeg", 3}, {L"webm", 13},
                 {L"f4b", 15}, {L"wma", 2},  {L"txt", 0},  {L"", 0},    {L"mp", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(GetMediaKindByExtension(c.extension), c.kind) << c.extension;
}

// A CF_HDROP block as the shell hands it out.
HGLOBAL MakeDrop(const std::vector<std::wstring>& names) {
    size_t chars = 1;
    for (const std::wstring& name : names)
        chars += name.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    wchar_t* out = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& name : names) {
        wcscpy(out, name.c_str());
        out += name.size() + 1;
    }
    ::GlobalUnlock(memory);
    return memory;
}

TEST(DroppedFilesTest, EveryNameArrivesWholeAndInOrder) {
    const std::wstring longName = L"C:\\" + std::wstring(1500 - 12, L'a') + L"\\clip.flv";
    ASSERT_EQ(longName.size(), 1500u);
    const std::vector<std::wstring> names = {L"C:\\videos\\notes.txt", longName, L"C:\\videos\\clip.mp4"};
    HGLOBAL memory = MakeDrop(names);
    std::vector<std::wstring> files = {L"left over"};
    CBrunlowView::GetDroppedFiles(static_cast<HDROP>(memory), files);
    EXPECT_EQ(files, names);
    CBrunlowView::GetDroppedFiles(HDROP(nullptr), files);
    EXPECT_TRUE(files.empty());
    ::GlobalFree(memory);
}

TEST(DroppedFilesTest, OnlyAMediaFileThatIsNoFolderIsTaken) {
    Testing::TempFolder folder;
    const std::wstring movieFolder = folder.Path() + L"\\movie.avi";
    ASSERT_TRUE(::CreateDirectoryW(movieFolder.c_str(), nullptr));
    const std::wstring clip = folder.WriteFile(L"clip.flv", "FLV");
    const struct {
        std::vector<std::wstring> names;
        DROPEFFECT effect;
    } cases[] = {
        {{clip}, DROPEFFECT_COPY},
        {{folder.Path() + L"\\notes.txt"}, DROPEFFECT_NONE},
        {{folder.Path() + L"\\notes.txt", folder.Path() + L"\\clip.mp4"}, DROPEFFECT_COPY},
        {{movieFolder}, DROPEFFECT_NONE},
        {{folder.Path() + L"\\clip"}, DROPEFFECT_NONE},
        {{folder.Path() + L".dir\\clip"}, DROPEFFECT_NONE},
        {{folder.Path() + L"\\CLIP.Mp4"}, DROPEFFECT_COPY},
        {{}, DROPEFFECT_NONE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CBrunlowView::GetDropEffect(c.names), c.effect) << (c.names.empty() ? L"" : c.names.back());
}

}  // namespace
