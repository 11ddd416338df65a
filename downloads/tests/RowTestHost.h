#pragma once
// A shown download list over the capture engine's stand-in, with the seams
// that opening, renaming and the tooltips meet: message boxes answered and
// recorded, the main window's layer faked, and rows made from the stand-in's
// test door.
#include "downloads/app/ViewHost.h"
#include "downloads/settings/Settings.h"
#include "downloads/view/BrunlowDoc.h"
#include "downloads/view/BrunlowView.h"

#include "EngineFakes.h"
#include "EngineStandIn.h"
#include "ListFrame.h"
#include "ProfileApplication.h"
#include "RecordingViewHost.h"
#include "mfc/ModalSeams.h"

#include <boost/make_shared.hpp>

#include <memory>
#include <string>
#include <vector>

namespace DownloadsTests {

// The view with its tooltip state in reach.
class RowTestView : public CBrunlowView {
    DECLARE_DYNCREATE(RowTestView)
public:
    CMarkupToolTip& Tooltip() { return m_tooltip; }
    int HoverRow() const { return m_hoverRow; }
    int HoverColumn() const { return m_hoverColumn; }
    void SetEditingLabel(bool editing) { m_isEditingLabel = editing; }
    void ClearRows() {
        while (!m_rows.empty())
            RemoveRow(0);
    }
};

struct AskedBox {
    std::wstring text, caption;
    UINT type;
};

// The application, the engine's stand-in and the list in a frame of its
// own, shown at a size that holds a few rows; the seams set for its life.
class RowTestHost {
public:
    RowTestHost();
    ~RowTestHost();

    // A row at the bottom over a new item of the stand-in.
    CBrunlowView::RowPtr AddRow(const KavennaEngine::TestDoor::ItemSpec& spec, bool finished,
                                const wchar_t* text = L"video") {
        auto row = boost::make_shared<DownloadListItem>(engine.door->AddItem(spec));
        row->SetFinished(finished);
        view->InsertRow(static_cast<int>(view->GetRowRecords().size()), text, row);
        return row;
    }
    // Everything the seams recorded forgotten, every row removed.
    void Reset() {
        boxes.clear();
        boxAnswer = IDNO;
        viewHost.offers.clear();
        viewHost.offerAnswer = IDCANCEL;
        engine.door->ClearCallLog();
        if (view) {
            view->ClearRows();
            view->SetEditingLabel(false);
        }
    }
    // The middle of the stretch of a row where the list's own hit test finds
    // the column, in the view's client coordinates; (-1, -1) for none. Found
    // by the hit test, not by column widths: under Wine the list's hit
    // ranges can lag behind a width set from its WM_SIZE.
    CPoint CellCentre(int row, int column) {
        CListCtrl& list = view->GetListCtrl();
        CRect rowRect;
        CRect client;
        list.GetItemRect(row, rowRect, LVIR_BOUNDS);
        view->GetClientRect(client);
        int first = -1, last = -1;
        for (int x = 0; x < client.right; x += 2) {
            LVHITTESTINFO hit = {};
            hit.pt = CPoint(x, rowRect.CenterPoint().y);
            view->SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.iItem == row && hit.iSubItem == column) {
                if (first < 0)
                    first = x;
                last = x;
            }
        }
        return first < 0 ? CPoint(-1, -1) : CPoint((first + last) / 2, rowRect.CenterPoint().y);
    }
    // Call-log lines of the stand-in without the thread, test set-up left out.
    std::vector<std::wstring> Calls() {
        std::vector<std::wstring> calls;
        for (const std::wstring& line : engine.door->GetCallLog()) {
            if (line.rfind(L"TestDoor::", 0) == 0 || line.rfind(L"On", 0) == 0)
                continue;
            calls.push_back(line.substr(0, line.find(L" item=")));
        }
        return calls;
    }

    ProfileApplication app;
    EngineStandIn engine;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<ScopedAppAccess> access;
    RecordingViewHost viewHost;
    RowTestView* view = nullptr;

    static std::vector<AskedBox> boxes;
    static int boxAnswer;

private:
    static int _AnswerBox(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
        boxes.push_back({text ? text : L"", caption ? caption : L"", type});
        return boxAnswer;
    }
    AfxMessageBoxHandler m_previousBox = nullptr;
};

inline std::vector<AskedBox> RowTestHost::boxes;
inline int RowTestHost::boxAnswer = IDNO;

}  // namespace DownloadsTests
