#pragma once
// The program's two template layers over the toolkit's report list, as far
// as the download list uses them. List<T> hands every child notification to
// the parent window first; ReportList<T> is the report form of it.
//
// Thread: GUI thread.
#include "afxwin.h"

#include <commctrl.h>

template <class Base>
class List : public Base {
public:
    // Options of the list layer, given to the toolkit part when the layer
    // made the window itself.
    static constexpr DWORD kListOptionLayout = 0x1;
    static constexpr DWORD kListOptionNotify = 0x2;

    List() : m_listOptions(kListOptionLayout | kListOptionNotify) {}

protected:
    // The parent sees the notification first and its answer is the result;
    // the toolkit's own handling still runs. A header's report of a changed
    // column also goes to the list control itself: the control keeps its
    // columns' places from it, and without it draws its texts and hit-tests
    // in the old columns while the header has the new widths.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        LRESULT parentAnswer = 0;
        if (CWnd* parent = this->GetParent())
            parentAnswer = parent->SendMessage(WM_NOTIFY, wParam, lParam);
        LRESULT own = 0;
        const BOOL taken = Base::OnNotify(wParam, lParam, &own);
        if (!taken && IsColumnChange(reinterpret_cast<const NMHDR*>(lParam)))
            this->DefWindowProc(WM_NOTIFY, wParam, lParam);
        if (pResult)
            *pResult = parentAnswer;
        return TRUE;
    }

    static bool IsColumnChange(const NMHDR* header) {
        if (!header)
            return false;
        switch (header->code) {
        case HDN_ITEMCHANGINGA:
        case HDN_ITEMCHANGINGW:
        case HDN_ITEMCHANGEDA:
        case HDN_ITEMCHANGEDW:
            return true;
        default:
            return false;
        }
    }

    void PreSubclassWindow() override {
        if (m_toolkitCreation)
            this->SetListOption(m_listOptions, TRUE);
        Base::PreSubclassWindow();
    }

    // Set while the toolkit creates the window; a view that prepares its own
    // creation clears it.
    bool m_toolkitCreation = true;
    DWORD m_listOptions;
};

template <class Base>
class ReportList : public List<Base> {};
