// Renaming a row in place: the edited label becomes the item's new file
// name, its files are moved (with raised rights when needed) and the engine
// is told; the name check and the media extension a typed name gets.
#include "downloads/view/BrunlowView.h"
#include "downloads/view/ViewServices.h"

#include "downloads/engine/EngineAdapter.h"
#include "downloads/engine/ItemLocker.h"
#include "downloads/media/MediaKinds.h"
#include "foundation/debugging/LogLevel.h"
#include "foundation/debugging/WriteLog.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "foundation/filesystem/File.h"
#include "resources/appresources/ResourceManagerHolder.h"

#include <algorithm>
#include <cwctype>

using KavennaEngine::IDownloadItem;
using KavennaEngine::ItemLocker;

using ViewServices::LanguageString;
using ViewServices::NameExtension;

namespace {

// The system's wait cursor from construction to destruction.
class WaitCursor {
public:
    WaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(m_previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_previous;
};

// `path`'s folder joined with `name`; empty for an empty path.
std::wstring Beside(const std::wstring& path, const std::wstring& name) {
    if (path.empty())
        return std::wstring();
    return FileSystem::File(path).GetFolderPath() + L"\\" + name;
}

// The new name's title with the converted file's own extension: converting
// chose that format, a rename does not change it.
std::wstring ConvertedName(const std::wstring& newName, const std::wstring& convertedPath) {
    const size_t dot = newName.rfind(L'.');
    const std::wstring title = dot == std::wstring::npos ? newName : newName.substr(0, dot);
    const std::wstring extension = FileSystem::File(convertedPath).GetExtension();
    return extension.empty() ? title : title + L"." + extension;
}

bool IsMovable(int code) {
    return code == KavennaEngine::ResultComplete || code == KavennaEngine::ResultFinished ||
           code == KavennaEngine::ResultStopped;
}

bool Move(const std::wstring& from, const std::wstring& to) {
    return Engine::EngineAdapter::Instance().MoveFile(from.c_str(), to.c_str());
}

}  // namespace

bool CBrunlowView::IsValidItemName(const std::wstring& name) {
    if (name.empty())
        return false;
    if (std::all_of(name.begin(), name.end(), [](wchar_t c) { return c == L'.'; }))
        return false;
    // The six path characters and the others Windows refuses in names.
    return name.find_first_of(L"/\\:?*\"<>|") == std::wstring::npos &&
           std::none_of(name.begin(), name.end(), [](wchar_t c) { return c < 32; });
}

bool CBrunlowView::AppendMediaExtension(std::wstring& name, int kind) {
    if (name.empty())
        return false;
    const std::wstring extension = NameExtension(name);
    if (!extension.empty() && GetMediaKindByExtension(extension) != 0)
        return false;
    const MediaKindInfo* pInfo = &MediaKindTable.front();
    for (const MediaKindInfo& info : MediaKindTable) {
        if (info.kind == kind) {
            pInfo = &info;
            break;
        }
    }
    std::wstring added = pInfo->extensions.empty() ? std::wstring() : pInfo->extensions.front();
    std::transform(added.begin(), added.end(), added.begin(), [](wchar_t c) { return std::towlower(c); });
    name += L"." + added;
    return true;
}

void CBrunlowView::OnLvnEndlabeledit(NMHDR* pHeader, LRESULT* pResult) {
    *pResult = 0;  // the list never keeps the edited text itself
    m_isEditingLabel = false;
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnLvnEndlabeledit"), [&] {
        const NMLVDISPINFOW* pInfo = reinterpret_cast<const NMLVDISPINFOW*>(pHeader);
        if (!pInfo || !pInfo->item.pszText)
            return;  // cancelled
        const RowPtr pRow = GetRow(pInfo->item.iItem);
        if (!pRow)
            return;
        const std::wstring typedName = pInfo->item.pszText;
        const std::wstring invalidTitle = LanguageString(AppResources::StringID_FileNameInvalidTitle);
        // Checked before anything moves: a name with a path in it would move
        // the file anywhere, with the service's raised rights.
        if (!IsValidItemName(typedName)) {
            MessageBox(LanguageString(AppResources::StringID_FileNameInvalidText).c_str(), invalidTitle.c_str(),
                       MB_ICONEXCLAMATION);
            return;
        }

        std::wstring newName = typedName;
        std::wstring oldDownloaded, oldConverted;
        int downloadCode = 0, conversionCode = 0;
        {
            ItemLocker locker;
            const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(pRow, locker);
            AppendMediaExtension(newName, pEngineItem->GetDownloadStage()->GetMediaKind());
            oldDownloaded = pEngineItem->GetDownloadStage()->GetFilePath();
            oldConverted = pEngineItem->GetConversionStage()->GetFilePath();
            downloadCode = pEngineItem->GetDownloadStage()->GetResult()->code;
            conversionCode = pEngineItem->GetConversionStage()->GetResult()->code;
        }
        const std::wstring newDownloaded = Beside(oldDownloaded, newName);
        const std::wstring newConverted = Beside(oldConverted, ConvertedName(newName, oldConverted));

        Engine::EngineAdapter& adapter = Engine::EngineAdapter::Instance();
        if ((!newDownloaded.empty() && adapter.PathExists(newDownloaded.c_str())) ||
            (!newConverted.empty() && adapter.PathExists(newConverted.c_str()))) {
            MessageBox(LanguageString(AppResources::StringID_FileExistsText).c_str(),
                       LanguageString(AppResources::StringID_FileExistsTitle).c_str(), MB_ICONINFORMATION);
            return;
        }

        // An unfinished item's files are named by the engine itself.
        const bool moveDownloaded = pRow->IsFinished() && IsMovable(downloadCode) && !oldDownloaded.empty();
        const bool moveConverted = pRow->IsFinished() && IsMovable(conversionCode) && !oldConverted.empty();
        bool moved = true;
        {
            WaitCursor waitCursor;
            const bool downloadedMoved = moveDownloaded && Move(oldDownloaded, newDownloaded);
            if (moveDownloaded && !downloadedMoved) {
                moved = false;
            } else if (moveConverted && !Move(oldConverted, newConverted)) {
                moved = false;
                // All or nothing: the engine still knows the old name.
                if (downloadedMoved && !Move(newDownloaded, oldDownloaded)) {
                    Debugging::WriteLog(Debugging::GetLog(), L"The downloaded file keeps the new name " + newDownloaded,
                                        L"CBrunlowView::OnLvnEndlabeledit@", Debugging::LevelERR, 0);
                }
            }
        }
        if (!moved) {
            MessageBox(LanguageString(AppResources::StringID_FileInUseText).c_str(), invalidTitle.c_str(),
                       MB_ICONEXCLAMATION);
            return;
        }

        const int index = _IndexOfRow(pRow);
        if (index >= 0) {
            GetListCtrl().SetItemText(index, ColumnVideoFile, newName.c_str());
            m_rows[index].lastNameText = newName;
        }
        ItemLocker locker;
        LockRow(pRow, locker)->GetDownloadStage()->Rename(newName, 6, 1);
    });
}
