#pragma once
// One caught video's row in the download list: the row's progress bar (the
// object itself), its stop button and the engine item's handle. Owned by the
// view's row record; the started handler makes it. GUI thread only.
#include "controls/button/SkinButton.h"
#include "downloads/view/ItemTexts.h"
#include "engine/KavennaEngine.h"

#include "afxcmn.h"
#include "afxwin.h"

#include <string>

class DownloadListItem : public CProgressCtrl {
public:
    explicit DownloadListItem(const KavennaEngine::DownloadItemHandle& item) : m_item(item) {}
    ~DownloadListItem() override;

    // The bar: WS_CHILD | WS_BORDER | PBS_SMOOTH, range low..high (32-bit),
    // position 0, the step. True when the window exists.
    bool CreateProgress(CWnd* parent, const RECT& rect, int low, int high, int step, bool show);
    // The stop button with a copy of `font`, its two pictures (white is
    // transparent), a balloon tooltip, dark grey backgrounds and no border.
    // True when the window exists.
    bool CreateButton(const wchar_t* text, CWnd* parent, const RECT& rect, UINT id, CFont* font, UINT bitmap,
                      UINT hotBitmap, bool show);
    // Nothing when both are 0; a shown button repaints.
    void SetButtonBitmaps(UINT bitmap, UINT hotBitmap);
    void SetButtonTooltip(const wchar_t* text);
    // The button's GWLP_USERDATA.
    void SetButtonKey(LONG_PTR value);
    void ShowButton(bool show);
    void ShowProgress(bool show);
    // Only on a change: the marquee style and its animation.
    void SetMarquee(bool on, int interval);
    void InvalidateProgress();
    void InvalidateButton();

    // Nothing for a control never created. The control is moved to `rect`
    // (parent client coordinates) when it is elsewhere, shown or not, so
    // that it shows where its row is; one marked hidden is hidden first.
    // `force` is kept for the callers: every control is moved.
    void PlaceProgress(const RECT& rect, bool force);
    void PlaceButton(const RECT& rect);

    const KavennaEngine::DownloadItemHandle& GetItem() const { return m_item; }
    bool IsProgressCreated() const { return m_progressCreated; }
    bool IsProgressShown() const { return m_progressShown; }
    bool IsMarqueeOn() const { return m_marqueeOn; }
    bool IsButtonCreated() const { return m_buttonCreated; }
    bool IsButtonShown() const { return m_buttonShown; }
    CSkinButton& GetButton() { return m_button; }
    // The resource id of the button's normal picture; 0 before any.
    UINT GetButtonBitmap() const { return m_buttonBitmap; }

    bool IsFinished() const { return m_finished; }
    void SetFinished(bool finished) { m_finished = finished; }
    // Whether the finished row offers a next step (its button): decided
    // once by the finished handler, so every paint shows the same.
    bool HasNextStep() const { return m_nextStep; }
    void SetNextStep(bool nextStep) { m_nextStep = nextStep; }
    bool IsReviewed() const { return m_reviewed; }
    void SetReviewed(bool reviewed) { m_reviewed = reviewed; }

    // The row's texts of its item (see ItemTexts); each leaves no lock behind.
    std::uint32_t GetProgressPercent() const { return ItemTexts::ProgressPercent(m_item); }
    bool IsProgressUnknown() const { return ItemTexts::IsProgressUnknown(m_item); }
    std::wstring GetDownloadInfoText() const { return ItemTexts::DownloadInfoText(m_item); }
    std::wstring GetSizeProgressText() const { return ItemTexts::SizeProgressText(m_item); }
    std::wstring GetTimeProgressText() const { return ItemTexts::TimeProgressText(m_item); }
    std::wstring GetPositionText() const { return ItemTexts::PositionText(m_item); }
    std::wstring GetDurationText() const { return ItemTexts::DurationText(m_item); }
    std::wstring GetSpeedText() { return ItemTexts::SpeedText(m_item, m_speed); }
    std::wstring GetNameText() const { return ItemTexts::NameText(m_item); }
    std::wstring GetFileSizeText() const { return ItemTexts::FileSizeText(m_item); }

private:
    bool _LoadButtonBitmaps(UINT bitmap, UINT hotBitmap);

    bool m_progressShown = false;
    bool m_marqueeOn = false;
    bool m_progressCreated = false;
    CFont m_buttonFont;
    CSkinButton m_button;
    bool m_buttonShown = false;
    bool m_buttonCreated = false;
    UINT m_buttonBitmap = 0;
    KavennaEngine::DownloadItemHandle m_item;
    bool m_finished = false;
    bool m_nextStep = false;
    bool m_reviewed = false;

protected:
    // Read and written by the progress texts.
    ItemTexts::SpeedState m_speed;
};
