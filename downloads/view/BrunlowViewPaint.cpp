// How the download list looks: its rows' bar and button, the empty list's
// picture and texts, the skin colours of the engine's states, the first
// column's width; and the files dropped onto it.
#include "downloads/view/BrunlowView.h"
#include "downloads/view/ViewServices.h"

#include "appframework/application/ApplicationBaseLite.h"
#include "downloads/app/AppAccess.h"
#include "downloads/media/MediaKinds.h"
#include "downloads/resources/DownloadsResources.h"
#include "downloads/settings/Settings.h"
#include "foundation/debugging/Log.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "foundation/filesystem/File.h"
#include "foundation/filesystem/XmlFile.h"
#include "graphics/commongui/PictureLoaders.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "skin/commongui/MemDC.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>

using ViewServices::DebugMode;
using ViewServices::EngineIsOn;
using ViewServices::LanguageString;

namespace {

}  // namespace

void DrawTransparentBitmap(HBITMAP bitmap, CDC* pDC, int x, int y, COLORREF transparent) {
    BITMAP info = {};
    if (!bitmap || !pDC || !::GetObjectW(bitmap, sizeof(info), &info))
        return;
    const HDC memory = ::CreateCompatibleDC(pDC->GetSafeHdc());
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::TransparentBlt(pDC->GetSafeHdc(), x, y, info.bmWidth, info.bmHeight, memory, 0, 0, info.bmWidth,
                     info.bmHeight, transparent);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
}

const wchar_t* CBrunlowView::GetSkinColorKey(SkinColor color) {
    static const wchar_t* const keys[SkinColorCount] = {
        L"skin/application/main/on/colors/background",   L"skin/application/main/off/colors/background",
        L"skin/application/main/on/colors/text",         L"skin/application/main/off/colors/text",
        L"skin/application/main/on/colors/heading",      L"skin/application/main/off/colors/heading",
        L"skin/application/main/on/colors/headingShadow", L"skin/application/main/off/colors/headingShadow",
        L"skin/application/main/on/colors/link",         L"skin/application/main/off/colors/link"};
    return color >= 0 && color < SkinColorCount ? keys[color] : L"";
}

COLORREF CBrunlowView::GetDefaultSkinColor(SkinColor color) {
    // The list stays readable whatever became of the style file.
    static const COLORREF defaults[SkinColorCount] = {0x2E2E2E, 0x3C3C3C, 0xF0F0F0, 0xB4B4B4, 0x2E9AFF,
                                                      0xC8C8C8, 0x000000, 0x000000, 0x5CB5FF, 0xE0E0E0};
    return color >= 0 && color < SkinColorCount ? defaults[color] : 0xFFFFFF;
}

COLORREF CBrunlowView::GetSkinColor(SkinColor color) {
    // GUI thread; the skin may change later, the list keeps its first look.
    static std::optional<COLORREF> s_colors[SkinColorCount];
    if (color < 0 || color >= SkinColorCount)
        return 0xFFFFFF;
    std::optional<COLORREF>& cached = s_colors[color];
    if (!cached) {
        COLORREF value = GetDefaultSkinColor(color);
        if (FileSystem::XmlFile* pSkin = Brunlow::AppAccess::GetSkinManager()) {
            try {
                value = pSkin->GetColor(GetSkinColorKey(color));
            } catch (const std::exception&) {
                DEBUG_LOG(Debugging::LevelWRN, std::wstring(L"The style file has no usable colour ") +
                                                   GetSkinColorKey(color) + L"; the program's own is used.");
            }
        }
        cached = value;
    }
    return *cached;
}

int CBrunlowView::GetFirstColumnWidth(int viewWidth, bool debugMode) {
    const int width = viewWidth - (debugMode ? 150 : 0) - 439;
    return width >= 150 ? width : -1;
}

void CBrunlowView::OnSize(UINT nType, int cx, int cy) {
    QE806::OnSize(nType, cx, cy);
    CRect window;
    GetWindowRect(&window);
    const int width = GetFirstColumnWidth(window.Width(), DebugMode());
    if (width >= 0 && width != GetListCtrl().GetColumnWidth(ColumnVideoFile)) {
        SendMessage(LVM_SETCOLUMNWIDTH, ColumnVideoFile, MAKELPARAM(width, 0));
        // Every column right of the first moved: their texts are drawn anew.
        Invalidate(FALSE);
    }
    // The cells moved under the bars, the buttons and the mouse.
    _LayoutRowControls(0);
    _ForgetHoverCell();
    _LayoutTipPanel();
}

void CBrunlowView::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
    // Columns follow the width: the list never scrolls sideways.
    ModifyStyle(WS_HSCROLL, 0, 0);
    QE806::OnNcCalcSize(bCalcValidRects, lpncsp);
}

void CBrunlowView::OnBeginLabelEdit(NMHDR* pHeader, LRESULT* pResult) {
    const NMLVDISPINFOW* pInfo = reinterpret_cast<const NMLVDISPINFOW*>(pHeader);
    const bool rowExists = pInfo && GetRow(pInfo->item.iItem);
    if (rowExists)
        m_isEditingLabel = true;
    *pResult = rowExists ? FALSE : TRUE;
}

bool CBrunlowView::_ShouldShowButton(const RowPtr& pRow) {
    // Asked again at every paint, the questions would get other answers
    // once the finish advanced the item, and the button would come and go.
    return !pRow->IsFinished() || pRow->HasNextStep();
}

void CBrunlowView::_PlaceRowControls(int index) {
    const RowPtr pRow = GetRow(index);
    if (!pRow || !pRow->IsProgressCreated() || !pRow->IsButtonCreated())
        return;  // rows that lack either control are left alone
    const CRect bar = GetProgressRect(index);
    const CRect button = GetButtonRect(index);
    // Above the visible rows neither control may stay over the header; a
    // finished row shows no bar, and a button only for a next step.
    const bool inSight = bar.top >= 0;
    const bool showBar = inSight && !pRow->IsFinished();
    const bool showButton = inSight && _ShouldShowButton(pRow);
    // A control is hidden before it moves and moved before it shows: it is
    // never seen where its row is not.
    if (!showBar)
        pRow->ShowProgress(false);
    if (!showButton)
        pRow->ShowButton(false);
    pRow->PlaceProgress(bar, false);
    pRow->PlaceButton(button);
    if (showBar)
        pRow->ShowProgress(true);
    if (showButton)
        pRow->ShowButton(true);
}

void CBrunlowView::_LayoutRowControls(int from) {
    // A drain adds, moves and removes many rows: it lays them out once at
    // its end, before the list draws again.
    if (m_draining) {
        m_layoutPending = true;
        return;
    }
    for (int index = std::max(from, 0); index < static_cast<int>(m_rows.size()); ++index)
        _PlaceRowControls(index);
}

void CBrunlowView::OnPaint() {
    for (size_t index = 0; index < m_rows.size(); ++index)
        _PlaceRowControls(static_cast<int>(index));

    if (!m_rows.empty()) {
        _ShowTipPanel(false);
        PaintList();
        return;
    }

    // The control's own painting first (it validates the window); the
    // empty list's picture then goes over it in one copy.
    CCtrlView::OnPaint();
    CClientDC dc(this);
    CRect client;
    GetClientRect(&client);
    const COLORREF background = static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR));
    CommonGuiLib::CMemDC buffer(&dc, background, &client);
    DrawEmptyListHeading(&buffer);
    DrawTipOfTheDay(&buffer);
}

void CBrunlowView::DrawEmptyListHeading(CDC* pDC) {
    const bool on = EngineIsOn();
    CRect r;
    GetClientRect(&r);
    pDC->SetBkMode(TRANSPARENT);
    const int d = r.Width() / 12;
    r.left += d;
    r.top += d;

    const CommonGuiLib::SharedBitmap picture =
        CommonGuiLib::LoadBitmapFromResourceId(nullptr, IDB_EMPTY_LIST, false);
    const HBITMAP pictureHandle = CommonGuiLib::GetHandle(picture);
    BITMAP info = {};
    if (pictureHandle)
        ::GetObjectW(pictureHandle, sizeof(info), &info);
    DrawTransparentBitmap(pictureHandle, pDC, r.left, r.top, RGB(255, 255, 255));

    r.top += 10;
    r.left += info.bmWidth + 20;
    CFont headingFont;
    headingFont.CreateFontW(23, 0, 0, 0, 800, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial");
    CFont* previousFont = pDC->SelectObject(&headingFont);
    const std::wstring heading =
        LanguageString(on ? AppResources::StringID_AutoDownloadOnHeading : AppResources::StringID_AutoDownloadOffHeading);
    pDC->SetTextColor(GetSkinColor(on ? ColorOnHeadingShadow : ColorOffHeadingShadow));
    pDC->DrawText(heading.c_str(), static_cast<int>(heading.size()), &r, DT_SINGLELINE);
    r.left -= 1;
    r.top -= 1;
    pDC->SetTextColor(GetSkinColor(on ? ColorOnHeading : ColorOffHeading));
    pDC->DrawText(heading.c_str(), static_cast<int>(heading.size()), &r, DT_SINGLELINE);

    r.top += 40;
    r.right -= d;
    r.bottom -= d;
    CFont commentFont;
    commentFont.CreateFontW(20, 0, 0, 0, 200, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial");
    pDC->SelectObject(&commentFont);
    std::wstring comment =
        LanguageString(on ? AppResources::StringID_AutoDownloadOnComment : AppResources::StringID_AutoDownloadOffComment);
    if (ApplicationFramework::ApplicationBaseLite* pApp = ApplicationFramework::ApplicationBaseLite::GetApplication())
        comment = pApp->GetProductInfo().ExpandPlaceholders(comment);
    pDC->SetTextColor(GetSkinColor(on ? ColorOnText : ColorOffText));
    pDC->DrawText(comment.c_str(), static_cast<int>(comment.size()), &r, DT_WORDBREAK);
    pDC->SelectObject(previousFont);
}

// Dropped files.

void CBrunlowView::GetDroppedFiles(HDROP drop, std::vector<std::wstring>& files) {
    files.clear();
    if (!drop)
        return;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        // Each name's own length: a fixed buffer would cut a long path and
        // hand the engine another file.
        const UINT length = ::DragQueryFileW(drop, index, nullptr, 0);
        if (length == 0)
            continue;
        std::wstring name(length + 1, L'\0');
        const UINT read = ::DragQueryFileW(drop, index, &name[0], length + 1);
        if (read == 0)
            continue;
        name.resize(read);
        files.push_back(name);
    }
}

void CBrunlowView::GetDroppedFiles(COleDataObject* pDataObject, std::vector<std::wstring>& files) {
    files.clear();
    if (!pDataObject)
        return;
    STGMEDIUM medium = {};
    if (!pDataObject->GetData(CF_HDROP, &medium))
        return;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal)
        GetDroppedFiles(static_cast<HDROP>(medium.hGlobal), files);
    ::ReleaseStgMedium(&medium);
}

DROPEFFECT CBrunlowView::GetDropEffect(const std::vector<std::wstring>& files) {
    for (const std::wstring& path : files) {
        const size_t nameStart = path.find_last_of(L"\\/");
        const std::wstring name = nameStart == std::wstring::npos ? path : path.substr(nameStart + 1);
        const size_t dot = name.rfind(L'.');
        if (dot == std::wstring::npos)
            continue;
        if (GetMediaKindByExtension(name.substr(dot + 1)) != 0 &&
            !FileSystem::File(path).HasAttributes(FILE_ATTRIBUTE_DIRECTORY))
            return DROPEFFECT_COPY;
    }
    return DROPEFFECT_NONE;
}

DROPEFFECT CBrunlowView::OnDragEnter(COleDataObject* pDataObject, DWORD /*dwKeyState*/, CPoint /*point*/) {
    std::vector<std::wstring> files;
    GetDroppedFiles(pDataObject, files);
    return GetDropEffect(files);
}

DROPEFFECT CBrunlowView::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    return OnDragEnter(pDataObject, dwKeyState, point);
}

BOOL CBrunlowView::OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
    std::vector<std::wstring> files;
    GetDroppedFiles(pDataObject, files);
    if (!files.empty()) {
        if (const boost::shared_ptr<KavennaEngine::IEngine> pEngine = Brunlow::AppAccess::GetKavennaEngine())
            for (const std::wstring& file : files)
                pEngine->AddFile(file);
    }
    return QE806::OnDrop(pDataObject, dropEffect, point);
}
