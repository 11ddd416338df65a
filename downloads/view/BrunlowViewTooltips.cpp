// The tooltip over the rows: rebuilt only when the mouse enters another
// cell, saying what the item is doing and what a double click on the cell
// will do (the actions of OnNMDblclk).
#include "downloads/view/BrunlowView.h"
#include "downloads/view/ViewServices.h"

#include "downloads/engine/ItemLocker.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "resources/appresources/ResourceManagerHolder.h"

#include <sstream>

using KavennaEngine::IDownloadItem;
using KavennaEngine::ItemLocker;

using ViewServices::IsConversionPending;
using ViewServices::LanguageString;
using ViewServices::MenuTextAsLabel;
using ViewServices::NameExtension;

void CBrunlowView::OnMouseMove(UINT nFlags, CPoint point) {
    QE806::OnMouseMove(nFlags, point);
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnMouseMove"), [&] {
        // The message's own point: for a mouse move it is where the
        // message position says the cursor was.
        LVHITTESTINFO hit = {};
        hit.pt = point;
        SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        const int row = hit.iItem >= 0 ? hit.iItem : -1;
        const int column = row >= 0 ? hit.iSubItem : -1;
        if (row == m_hoverRow && column == m_hoverColumn)
            return;
        if (m_tooltip.m_hWnd) {
            m_tooltip.HideTip();
            m_tooltip.RemoveAllTools(FALSE);
            MSG relayed = {};
            relayed.hwnd = m_hWnd;
            relayed.message = WM_MOUSEMOVE;
            relayed.wParam = nFlags;
            relayed.lParam = MAKELPARAM(point.x, point.y);
            relayed.time = static_cast<DWORD>(::GetMessageTime());
            relayed.pt = point;
            ClientToScreen(&relayed.pt);
            m_tooltip.RelayEvent(&relayed);
            if (row >= 0) {
                const std::wstring text = GetTooltipTextForItem(point, hit.flags, row, column);
                // The cell's own rectangle: the tip shows only over the cell
                // it describes, never over another row or empty list.
                const CRect cell = GetCellRect(row, column);
                if (!text.empty() && !cell.IsRectEmpty())
                    m_tooltip.AddTool(this, text.c_str(), &cell, 0);
            }
        }
        m_hoverRow = row;
        m_hoverColumn = column;
    });
}

CRect CBrunlowView::GetCellRect(int row, int column) {
    CListCtrl& list = GetListCtrl();
    CRect cell;
    if (column == ColumnVideoFile) {
        // The first column's bounds are the whole row's: cut at its width.
        if (!list.GetItemRect(row, cell, LVIR_BOUNDS))
            return CRect();
        cell.right = cell.left + list.GetColumnWidth(ColumnVideoFile);
    } else if (!list.GetSubItemRect(row, column, LVIR_BOUNDS, cell)) {
        return CRect();
    }
    CRect client;
    GetClientRect(&client);
    cell.IntersectRect(cell, client);
    return cell;
}

void CBrunlowView::_ForgetHoverCell() {
    if (m_hoverRow < 0 && m_hoverColumn < 0)
        return;
    m_hoverRow = -1;
    m_hoverColumn = -1;
    // The tip of a cell that moved or went, also one about to appear, is
    // dropped; the next mouse move finds the cell under it anew.
    if (m_tooltip.m_hWnd)
        m_tooltip.RemoveAllTools(TRUE);
}

std::wstring CBrunlowView::GetTooltipTextForItem(CPoint /*point*/, UINT /*flags*/, int index, int column) {
    std::wostringstream text;
    const bool completed = ErrorHandling::RunGuiHandler(
        GUI_HANDLER_TRACE_FORMAT("CBrunlowView::GetTooltipTextForItem"), [&] {
            const RowPtr pRow = GetRow(index);
            if (column == ColumnVideoFile) {
                ItemLocker locker;
                const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(pRow, locker);
                const int stage = pEngineItem->GetStage();
                const bool running = pEngineItem->IsRunning();
                if (!pRow->IsFinished()) {
                    switch (stage) {
                    case KavennaEngine::StageDownload:
                        text << LanguageString(AppResources::StringID_PopupDownloadingTo)
                             << NameExtension(pEngineItem->GetDownloadStage()->GetDisplayName());
                        break;
                    case KavennaEngine::StageConversion:
                        text << LanguageString(AppResources::StringID_PopupConvertingTo)
                             << NameExtension(pEngineItem->GetConversionStage()->GetFilePath());
                        break;
                    case KavennaEngine::StageDeploy:
                        text << MenuTextAsLabel(AppResources::StringID_PopupCopyToIPod);
                        break;
                    }
                    text << L"\n";
                }
                const bool busy =
                    running && (stage == KavennaEngine::StageConversion || stage == KavennaEngine::StageDeploy);
                if (!busy)
                    text << LanguageString(AppResources::StringID_PopupDblClkToPlay);
            } else if (column == ColumnProgress) {
                // Asked before the lock below: it locks the item itself.
                if (ShouldReDownloadItem(pRow)) {
                    text << LanguageString(AppResources::StringID_PopupDblClkReDownload);
                    return;
                }
                ItemLocker locker;
                const boost::shared_ptr<IDownloadItem> pEngineItem = LockRow(pRow, locker);
                const int stage = pEngineItem->GetStage();
                if (IsConversionPending(*pEngineItem))
                    text << LanguageString(AppResources::StringID_PopupDblClkToConvert);
                else if (!(stage == KavennaEngine::StageDeploy && pEngineItem->IsRunning()))
                    text << LanguageString(AppResources::StringID_PopupDblClkToPlay);
            }
        });
    return completed ? text.str() : std::wstring();
}
