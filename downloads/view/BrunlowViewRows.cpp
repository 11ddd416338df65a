// The view's rows: the records beside the list items, their lookups and the
// row images.
#include "downloads/view/BrunlowView.h"

#include "downloads/engine/ItemLocker.h"
#include "downloads/resources/DownloadsResources.h"
#include "graphics/commongui/PictureLoaders.h"

#include "afxres_find.h"

#include <iterator>
#include <map>

namespace {

// One row kind (a media kind of the engine) and its two icons; the image
// indices are filled when the image list is built.
struct RowIconKind {
    int mediaKind;
    WORD downloadingIcon;
    WORD completeIcon;
    int downloadingImage;
    int completeImage;
};

RowIconKind g_rowIcons[] = {
    {1, IDI_ROW_VIDEO, IDI_ROW_COMPLETE, 0, 0},  {2, IDI_ROW_MEDIA, IDI_ROW_COMPLETE, 0, 0},
    {3, IDI_ROW_MEDIA, IDI_ROW_MEDIA, 0, 0},     {4, IDI_ROW_MEDIA, IDI_ROW_MEDIA, 0, 0},
    {5, IDI_ROW_MEDIA, IDI_ROW_MEDIA, 0, 0},     {6, IDI_ROW_MEDIA, IDI_ROW_MEDIA, 0, 0},
    {7, IDI_ROW_VIDEO, IDI_ROW_VIDEO, 0, 0},     {8, IDI_ROW_MEDIA, IDI_ROW_MEDIA, 0, 0},
    {9, IDI_ROW_MEDIA, IDI_ROW_MEDIA, 0, 0},     {10, IDI_ROW_OTHER, IDI_ROW_OTHER, 0, 0},
    {11, IDI_ROW_VIDEO, IDI_ROW_VIDEO, 0, 0},    {12, IDI_ROW_VIDEO, IDI_ROW_VIDEO, 0, 0},
    {13, IDI_ROW_MEDIA, IDI_ROW_MEDIA, 0, 0},    {14, IDI_ROW_VIDEO, IDI_ROW_COMPLETE, 0, 0},
};

const RowIconKind& FindRowIconKind(int mediaKind) {
    for (const RowIconKind& kind : g_rowIcons)
        if (kind.mediaKind == mediaKind)
            return kind;
    return g_rowIcons[0];
}

// The row icons, each resource loaded once: the kinds share four icons
// among their 28 images.
class RowIcons {
public:
    int Add(CImageList& images, WORD id) {
        CommonGuiLib::SharedIcon& icon = m_loaded[id];
        if (!icon) {
            const HMODULE module =
                AfxFindResourceHandle(MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_GROUP_ICON));
            icon = CommonGuiLib::LoadIconFromResourceId(module, id, 48, 48);
        }
        return images.Add(CommonGuiLib::GetHandle(icon));
    }

private:
    std::map<WORD, CommonGuiLib::SharedIcon> m_loaded;
};

}  // namespace

void CBrunlowView::_SetUpImageList() {
    if (!m_images.Create(48, 48, ILC_COLOR32 | ILC_MASK, 1, 1))
        return;
    RowIcons icons;
    for (RowIconKind& kind : g_rowIcons) {
        kind.downloadingImage = icons.Add(m_images, kind.downloadingIcon);
        kind.completeImage = icons.Add(m_images, kind.completeIcon);
    }
    GetListCtrl().SetImageList(&m_images, LVSIL_SMALL);
}

int CBrunlowView::GetRowIconIndex(const RowPtr& row) {
    KavennaEngine::ItemLocker locker;
    const boost::shared_ptr<KavennaEngine::IDownloadItem> _$_pengItem =
        row ? row->GetItem().Lock(locker) : boost::shared_ptr<KavennaEngine::IDownloadItem>();
    const bool locked = [&]() -> bool {
        CHECK_ERROR(_$_pengItem);
        return true;
    }();
    if (!locked)
        return 0;
    KavennaEngine::IDownloadStage* pStage = _$_pengItem->GetDownloadStage();
    const RowIconKind& kind = FindRowIconKind(pStage ? pStage->GetMediaKind() : 0);
    return pStage && pStage->IsComplete() ? kind.completeImage : kind.downloadingImage;
}

std::uintptr_t CBrunlowView::GetRowKey(const DownloadListItem* row) {
    return reinterpret_cast<std::uintptr_t>(row) ^ kRowKeyMask;
}

int CBrunlowView::FindRowByItem(const KavennaEngine::DownloadItemHandle& item) const {
    for (size_t index = 0; index < m_rows.size(); ++index)
        if (m_rows[index].pItem && m_rows[index].pItem->GetItem().IsSameItem(item))
            return static_cast<int>(index);
    return -1;
}

int CBrunlowView::_IndexOfRow(const RowPtr& pRow) const {
    if (!pRow)
        return -1;
    for (size_t index = 0; index < m_rows.size(); ++index)
        if (m_rows[index].pItem == pRow)
            return static_cast<int>(index);
    return -1;
}

CBrunlowView::RowPtr CBrunlowView::FindRowByKey(std::uintptr_t key) const {
    const std::uintptr_t address = key ^ kRowKeyMask;
    for (const RowRecord& record : m_rows)
        if (reinterpret_cast<std::uintptr_t>(record.pItem.get()) == address)
            return record.pItem;
    return RowPtr();
}

CBrunlowView::RowPtr CBrunlowView::GetRow(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_rows.size())
        return RowPtr();
    return m_rows[index].pItem;
}

int CBrunlowView::InsertRow(int position, const wchar_t* text, const RowPtr& row) {
    if (position < 0 || static_cast<size_t>(position) > m_rows.size())
        position = static_cast<int>(m_rows.size());
    RowRecord record;
    record.pItem = row;
    _HoldRedrawForDrain();
    m_rows.insert(m_rows.begin() + position, record);
    CListCtrl& list = GetListCtrl();
    const int index = list.InsertItem(position, text, GetRowIconIndex(row));
    if (index < 0) {
        // The list refused the item: no record without its item.
        m_rows.erase(m_rows.begin() + position);
        return -1;
    }
    if (index != position && static_cast<size_t>(index) < m_rows.size()) {
        RowRecord moved = m_rows[position];
        m_rows.erase(m_rows.begin() + position);
        m_rows.insert(m_rows.begin() + index, moved);
    }
    list.SetItemData(index, GetRowKey(row.get()));
    // The rows below moved down a row.
    _LayoutRowControls(index + 1);
    _ForgetHoverCell();
    return index;
}

void CBrunlowView::RemoveRow(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_rows.size())
        return;
    _HoldRedrawForDrain();
    GetListCtrl().DeleteItem(index);
    m_rows.erase(m_rows.begin() + index);
    _LayoutRowControls(index);
    _ForgetHoverCell();
}

bool CBrunlowView::MoveRowToTop(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_rows.size())
        return false;
    _HoldRedrawForDrain();
    CListCtrl& list = GetListCtrl();
    m_rows.insert(m_rows.begin(), m_rows[index]);
    const int oldIndex = index + 1;

    wchar_t text[1024] = {};
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
    item.iItem = index;
    item.stateMask = static_cast<UINT>(-1);
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    list.GetItem(&item);
    item.iItem = 0;
    if (list.InsertItem(&item) != 0) {
        m_rows.erase(m_rows.begin());
        return false;
    }
    const int columns = list.GetHeaderCtrl() ? list.GetHeaderCtrl()->GetItemCount() : 1;
    for (int column = 1; column < columns; ++column)
        list.SetItemText(0, column, list.GetItemText(oldIndex, column));
    list.DeleteItem(oldIndex);
    m_rows.erase(m_rows.begin() + oldIndex);
    _LayoutRowControls(0);
    _ForgetHoverCell();
    return true;
}

CRect CBrunlowView::GetProgressRect(int index) {
    CRect cell;
    GetListCtrl().GetSubItemRect(index, ColumnProgress, LVIR_BOUNDS, cell);
    cell.top += 10;
    cell.bottom -= 10;
    cell.right -= 30;
    return cell;
}

CRect CBrunlowView::GetButtonRect(int index) {
    CRect cell;
    GetListCtrl().GetSubItemRect(index, ColumnProgress, LVIR_BOUNDS, cell);
    const int bottom = cell.bottom - 10;
    return CRect(cell.right - 29, bottom - 29, cell.right, bottom);
}
