#pragma once
// The program's two template layers over the toolkit's report list, as far
// as the download list uses them. List<T> hands every child notification to
// the parent window first; ReportList<T> is the report form of it.
//
// Thread: GUI thread.
#include "afxwin.h"

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
    // the toolkit's own handling still runs.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        LRESULT parentAnswer = 0;
        if (CWnd* parent = this->GetParent())
            parentAnswer = parent->SendMessage(WM_NOTIFY, wParam, lParam);
        LRESULT own = 0;
        Base::OnNotify(wParam, lParam, &own);
        if (pResult)
            *pResult = parentAnswer;
        return TRUE;
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
