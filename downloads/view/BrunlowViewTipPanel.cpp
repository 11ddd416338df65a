// The tip of the day below the empty list's heading: its picture, title and
// text, the previous and next labels, the reminder of a limited tip and the
// link to the tip's web page.
#include "downloads/view/BrunlowView.h"
#include "downloads/view/ViewServices.h"

#include "downloads/app/AppAccess.h"
#include "downloads/resources/DownloadsResources.h"
#include "foundation/debugging/Log.h"
#include "foundation/errors/GuiHandlerGuard.h"
#include "foundation/internet/Url.h"
#include "foundation/strings/NumberStrings.h"
#include "foundation/system/ShellExecute.h"
#include "resources/appresources/ResourceManagerHolder.h"

#include <atlimage.h>

#include <algorithm>

using ViewServices::EngineIsOn;

namespace {

boost::shared_ptr<ResourceLib::IManager> Resources() {
    const boost::shared_ptr<AppResources::Manager> manager = AppResources::ResourceManagerHolder::GetManager();
    return manager ? manager->GetResourceLibManager() : boost::shared_ptr<ResourceLib::IManager>();
}

std::wstring TipString(const wchar_t* name) {
    const boost::shared_ptr<ResourceLib::IManager> manager = Resources();
    return manager ? manager->GetStringByName(name) : std::wstring();
}

std::wstring CurrentLanguageName() {
    const boost::shared_ptr<ResourceLib::IManager> manager = Resources();
    return manager ? manager->GetCurrentLanguageName() : std::wstring();
}

// The reminder's room before the link, and the gap between the two.
const int kTipReminderMaxWidth = 300;
const int kTipLinkGap = 12;

// Width of the label's text in its own font; 0 without a window or a text.
int TextWidth(CTextLabel& label) {
    if (!label.m_hWnd)
        return 0;
    CString text;
    label.GetWindowText(text);
    CClientDC dc(&label);
    const HGDIOBJ previous = label.GetLabelFont() ? dc.SelectObject(label.GetLabelFont()) : nullptr;
    const CSize size = dc.GetTextExtent(text);
    if (previous)
        dc.SelectObject(previous);
    return text.IsEmpty() ? 0 : size.cx;
}

// The link label's text: "UpgradeNowText" for a tip with a web page.
std::wstring LinkText(const boost::shared_ptr<IViewTips>& pTips) {
    const bool hasLink = pTips && pTips->GetTipsCount() > 0 && !pTips->GetCurrentTip().moreInfoUrl.empty();
    return hasLink ? TipString(L"UpgradeNowText") : std::wstring();
}

LOGFONTW TipLabelFont() {
    LOGFONTW font = {};
    font.lfHeight = 16;
    wcscpy_s(font.lfFaceName, L"Arial");
    return font;
}

}  // namespace

bool LoadBitmapFromFile(CBitmap& bitmap, const std::wstring& path) {
    CImage image;
    if (path.empty() || FAILED(image.Load(path.c_str())))
        return false;
    bitmap.DeleteObject();
    return bitmap.Attach(image.Detach()) != FALSE;
}

void CBrunlowView::SetTips(const boost::shared_ptr<IViewTips>& pTips) {
    m_pTips = pTips;
    // Labels made before the tips came have no link or reminder text yet.
    _UpdateTipPanelTexts();
}

CRect CBrunlowView::_GetTipPanelRect() {
    CRect panel;
    GetWindowRect(&panel);
    ScreenToClient(&panel);
    const int d = panel.Width() / 12;
    panel.left += d;
    panel.right -= d;
    panel.bottom += (-2 * d) / 3;
    panel.top = panel.bottom - 120;
    return panel;
}

void CBrunlowView::_LayoutTipPanel() {
    if (!m_hWnd)
        return;
    CTextLabel& previous = m_tipLabels[TipLabelPrevious];
    CTextLabel& next = m_tipLabels[TipLabelNext];
    CTextLabel& reminder = m_tipLabels[TipLabelReminder];
    CTextLabel& link = m_tipLabels[TipLabelLink];
    if (!previous.m_hWnd || !next.m_hWnd || !reminder.m_hWnd || !link.m_hWnd) {
        const LOGFONTW font = TipLabelFont();
        const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
        const COLORREF stepColor = GetSkinColor(EngineIsOn() ? ColorOnLink : ColorOffLink);
        const struct {
            CTextLabel& label;
            const wchar_t* text;
            UINT id;
        } steps[] = {{previous, L"PreviousTipButton", kPreviousTipCommand}, {next, L"NextTipButton", kNextTipCommand}};
        for (const auto& step : steps) {
            if (step.label.m_hWnd)
                continue;
            step.label.Create(TipString(step.text).c_str(), WS_CHILD, CRect(), this, step.id);
            step.label.SetFont(font).SetTransparent(TRUE).SetTextColor(stepColor).SetFontBold(TRUE);
            step.label.SetLinkCursor(hand).SetLink(TRUE, TRUE);
        }
        if (!reminder.m_hWnd) {
            reminder.Create(_GetReminderText().c_str(), WS_CHILD, CRect(), this, kTipReminderId);
            reminder.SetFont(font).SetTransparent(TRUE).SetTextColor(GetSkinColor(ColorOffHeading)).SetFontBold(TRUE);
        }
        if (!link.m_hWnd) {
            // With its text: the tips may have come before the label.
            link.Create(LinkText(m_pTips).c_str(), WS_CHILD, CRect(), this, kTipLinkCommand);
            link.SetFont(font).SetTransparent(TRUE).SetTextColor(GetSkinColor(ColorOffLink)).SetFontBold(TRUE);
            link.SetFontUnderline(TRUE).SetLinkCursor(hand).SetLink(TRUE, TRUE);
        }
    }

    const CRect panel = _GetTipPanelRect();
    // The reminder's length depends on the language and the counts: the
    // link moves right of it rather than over it.
    const int reminderText = TextWidth(reminder);
    const int reminderWidth = reminderText > 0 ? std::min(kTipReminderMaxWidth, reminderText + kTipLinkGap) : 0;
    const int linkX = std::max(panel.left + 227, panel.left + 112 + reminderWidth);
    const struct {
        CTextLabel& label;
        int x, y, width, height;
    } places[] = {{reminder, panel.left + 112, panel.bottom - 23, reminderWidth, 20},
                  {link, linkX, panel.bottom - 23, 300, 20},
                  {previous, panel.left + 112, panel.bottom, 100, 20},
                  {next, panel.left + 222, panel.bottom, 100, 20}};
    for (const auto& place : places) {
        if (place.label.m_hWnd)
            place.label.SetWindowPos(nullptr, place.x, place.y, place.width, place.height,
                                     SWP_NOZORDER | SWP_NOREDRAW);
    }
}

void CBrunlowView::_ShowTipPanel(bool show) {
    // The link and the reminder stay hidden for a tip without a web page, as
    // the tip's own update left them: the labels repaint through the view, so
    // showing all four here would undo that at once.
    const bool hasLink = show && m_pTips && !m_pTips->GetCurrentTip().moreInfoUrl.empty();
    for (int index = 0; index < TipLabelCount; ++index) {
        CTextLabel& label = m_tipLabels[index];
        const bool shown = index == TipLabelPrevious || index == TipLabelNext ? show : hasLink;
        if (!label.m_hWnd || (label.IsWindowVisible() != FALSE) == shown)
            continue;
        label.ShowWindow(shown ? SW_SHOW : SW_HIDE);
        label.Invalidate();
    }
}

std::wstring CBrunlowView::_GetReminderText() {
    if (!m_pTips || m_pTips->GetTipsCount() == 0)
        return std::wstring();
    const ViewTip tip = m_pTips->GetCurrentTip();
    if (tip.showCount <= 0)
        return std::wstring();
    return TipString(L"ReminderText") + STLHelpers::IntToWString(tip.shownCount) + TipString(L"OfText") +
           STLHelpers::IntToWString(tip.showCount) + L".";
}

void CBrunlowView::_UpdateTipPanelForCurrentTip() {
    const bool hasLink = m_pTips && !m_pTips->GetCurrentTip().moreInfoUrl.empty();
    CTextLabel& link = m_tipLabels[TipLabelLink];
    CTextLabel& reminder = m_tipLabels[TipLabelReminder];
    for (CTextLabel* pLabel : {&link, &reminder}) {
        if (pLabel->m_hWnd)
            pLabel->ShowWindow(hasLink ? SW_SHOW : SW_HIDE);
    }
    link.SetText(LinkText(m_pTips).c_str());
    reminder.SetText(_GetReminderText().c_str());
}

void CBrunlowView::_UpdateTipPanelTexts() {
    m_tipLabels[TipLabelPrevious].SetText(TipString(L"PreviousTipButton").c_str());
    m_tipLabels[TipLabelNext].SetText(TipString(L"NextTipButton").c_str());
    m_tipLabels[TipLabelReminder].SetText(_GetReminderText().c_str());
    m_tipLabels[TipLabelLink].SetText(LinkText(m_pTips).c_str());
    if (m_hWnd)
        Invalidate(TRUE);
}

void CBrunlowView::DrawTipOfTheDay(CDC* pDC) {
    const std::wstring title = TipString(L"TipOfTheDay");
    const unsigned count = m_pTips ? m_pTips->GetTipsCount() : 0;
    if (count == 0) {
        DEBUG_LOG(Debugging::LevelWRN, L"There are no tips available");
        return;
    }
    const std::wstring language = CurrentLanguageName();
    std::wstring text = m_pTips->GetCurrentText(language);
    if (text.empty()) {
        for (unsigned tries = 0; tries < count; ++tries) {
            m_pTips->MoveToNextTip();
            text = m_pTips->GetCurrentText(language);
            if (!text.empty()) {
                _UpdateTipPanelForCurrentTip();
                break;
            }
        }
    }

    pDC->SetBkMode(TRANSPARENT);
    CRect window;
    GetWindowRect(&window);
    const bool visible = window.Width() >= 600 && window.Height() >= 400 && !text.empty();
    _ShowTipPanel(visible);
    if (!visible)
        return;

    _LayoutTipPanel();
    const CRect panel = _GetTipPanelRect();
    CBitmap picture;
    if (!LoadBitmapFromFile(picture, m_pTips->GetCurrentTip().picturePath))
        picture.LoadBitmap(IDB_TIP_PICTURE);
    BITMAP info = {};
    if (picture.m_hObject)
        ::GetObjectW(picture.m_hObject, sizeof(info), &info);
    DrawTransparentBitmap(picture, pDC, panel.left, panel.top, RGB(255, 255, 255));

    pDC->SetTextColor(GetSkinColor(EngineIsOn() ? ColorOnText : ColorOffText));
    CFont titleFont;
    titleFont.CreateFontW(18, 0, 0, 0, 600, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial");
    CFont* previousFont = pDC->SelectObject(&titleFont);
    CRect titleRect(panel.left + 112, panel.top, panel.right, panel.bottom);
    pDC->DrawText(title.c_str(), static_cast<int>(title.size()), &titleRect, DT_WORDBREAK);

    CFont textFont;
    textFont.CreateFontW(16, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial");
    pDC->SelectObject(&textFont);
    CRect textRect(panel.left + info.bmWidth + 20, panel.top + 30, panel.right, panel.bottom - 25);
    pDC->DrawText(text.c_str(), static_cast<int>(text.size()), &textRect, DT_WORDBREAK);
    pDC->SelectObject(previousFont);
}

void CBrunlowView::OnPreviousTip() {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnPreviousTip"), [&] {
        if (m_pTips)
            m_pTips->MoveToPreviousTip();
        _UpdateTipPanelForCurrentTip();
        Invalidate(FALSE);
    });
}

void CBrunlowView::OnNextTip() {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnNextTip"), [&] {
        if (m_pTips)
            m_pTips->MoveToNextTip();
        _UpdateTipPanelForCurrentTip();
        Invalidate(FALSE);
    });
}

void CBrunlowView::OnTipLink() {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CBrunlowView::OnTipLink"), [&] {
        const std::wstring link = m_pTips ? m_pTips->GetCurrentTip().moreInfoUrl : std::wstring();
        if (link.empty())
            return;
        // The link comes from the web: only a web address reaches the shell.
        if (!Internet::IsWebAddress(link)) {
            DEBUG_LOG(Debugging::LevelWRN, L"Tip link is no web address, not opened: " + link);
            return;
        }
        SHELLEXECUTEINFOW sei = {};
        sei.cbSize = sizeof sei;
        sei.fMask = SEE_MASK_FLAG_NO_UI;
        sei.hwnd = m_hWnd;
        sei.lpVerb = L"open";
        sei.lpFile = link.c_str();
        sei.nShow = SW_SHOW;
        if (!System::ShellExecuteCall(&sei))
            DEBUG_LOG(Debugging::LevelWRN, L"Failed to open the tip link: " + link);
    });
}
