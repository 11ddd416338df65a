#pragma once
// The question a stolen video raises: switch capturing off, watch the video,
// or just close; with a check box that keeps the question coming. A skinned
// dialog over the skin's layout window "stolenVideoDialog", which needs the
// command elements 0, 1 and 2 and one element of type "checkbox".
//
//   StolenVideoDialog dialog(layoutManager, AfxGetMainWnd());
//   if (dialog.DoModal() == IDOK && dialog.GetChoice() == StolenVideoDialog::ChoiceWatch) ...
//
// GUI thread only.
#include "downloads/resources/DownloadsResources.h"
#include "skin/autocontrols/WLCheckBox.h"
#include "skin/autosurface/AutoSurface.h"

#include <boost/shared_ptr.hpp>

#include <string>

class StolenVideoDialog : public FullAutoSurfaceT<CDialog> {
public:
    enum { IDD = IDD_STOLEN_VIDEO };
    enum Choice { ChoiceNone = 0, ChoiceCaptureOff = 1, ChoiceWatch = 2 };
    // The layout's command elements, by id.
    enum Control { ControlWatch = 0, ControlCaptureOff = 1, ControlClose = 2 };
    static constexpr wchar_t kLayoutWindow[] = L"stolenVideoDialog";

    StolenVideoDialog(const boost::shared_ptr<LayoutLib::IManager>& layoutManager, CWnd* pParent);

    BOOL OnInitDialog() override;

    int GetChoice() const { return m_choice; }
    // Whether the question should keep coming: the box ("do not ask again")
    // is not ticked, its state is not 0. It starts unticked unless the
    // layout's "initialState" says otherwise.
    bool IsCheckBoxChecked() const { return !m_checkBox.IsChecked(); }
    bool IsLayoutLoaded() const { return m_layoutLoaded; }
    WLCheckBox& GetCheckBox() { return m_checkBox; }

    // The check-box element gets the dialog's own box.
    IAutoControl* GetAutoControl(const ElementPtr& element) override;
    void OnClick(Surface& surface, int index) override;
    // A text element's own text, else the language string named like the
    // element; product placeholders expanded in both.
    bool GetTextHook(boost::shared_ptr<LayoutLib::IDrawable> drawable, LayoutRenderer::Canvas& canvas,
                     ElementPtr element, std::wstring& text) override;
    // The text GetTextHook draws for `drawable` in `element`.
    std::wstring GetElementText(const boost::shared_ptr<LayoutLib::IDrawable>& drawable,
                                const ElementPtr& element) const;

private:
    boost::shared_ptr<LayoutLib::IManager> m_layoutManager;
    int m_choice = ChoiceNone;
    WLCheckBox m_checkBox;
    bool m_layoutLoaded = false;
};
