#pragma once
// CSettingsDlg: the modal dialog in which the user edits the settings record.
// It reads the record when it opens and writes and saves it only on OK. The
// language is the exception: picking one switches the whole program at once,
// and Cancel switches back to the language of the opening.
//
//   CSettingsDlg dlg(nullptr);
//   dlg.DoModal();
//
// GUI thread only. The option tables are program-wide and keep the texts of
// the last labelling.
#include "controls/label/TextLabel.h"

#include <afxcmn.h>
#include <afxwin.h>

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace KavennaEngine {
class IConversionPreset;
}
namespace ResourceLib {
class ILanguage;
}

class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(CWnd* pParent);

    // Slider position of 1042 = CompatibilityLevel.
    struct CompatibilityMode {
        int key;
        std::wstring label;
    };
    static CompatibilityMode CompatibilityModeTable[5];
    // Slider position of 1046 = row; the letter sits between two underscores
    // in a conversion format id ("_A_").
    struct Quality {
        std::wstring letter;
        std::wstring label;
    };
    static Quality QualityTable[3];

    // The language string named by the preset's name key; the preset's own
    // name when there is no key or that string is empty.
    static std::wstring GetPresetDisplayName(KavennaEngine::IConversionPreset& preset);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnBrowseFolder();
    afx_msg void OnAdvancedRippingClicked();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnLanguageChanged();
    DECLARE_MESSAGE_MAP()

    void UpdateTexts();
    void ShowCurrentPreset();
    // The row of the first quality letter found in the stored format; row 2
    // ("A") when none is.
    int FindQualityRow() const;
    void UpdateCompatibilityLabel();
    void UpdateQualityLabel();
    // The id of the first preset with exactly this display name whose id
    // carries the letter of the chosen quality; empty when none has.
    std::wstring BuildConversionFormat(const CString& displayName) const;

    CTextLabel m_header;
    CTextLabel m_footer;
    CComboBox m_formatList;
    CString m_folder;
    int m_downloadSwf = 0;
    int m_advancedRipping = 0;
    CButton m_suggestPassive;
    CButton m_allowStealing;
    CButton m_autoConvert;
    CString m_format;
    int m_quality = 0;
    CString m_qualityLabel;
    int m_compatibility = 0;
    CString m_compatibilityLabel;
    int m_closeAction = 0;
    CComboBox m_closeActionList;
    CComboBox m_languageList;
    CEdit m_timeoutEdit;
    CSpinButtonCtrl m_timeoutSpin;
    int m_initialLanguage = -1;

private:
    typedef std::vector<boost::shared_ptr<ResourceLib::ILanguage>> Languages;
    static Languages _GetLanguages();
    // Display names of the presets, in enumeration order, each name once
    // (whole names compared, case ignored).
    void _FillFormatList();
    void _EnableAdvancedRippingControls();

    // The language at the opening, and whether this dialog switched away.
    boost::shared_ptr<ResourceLib::ILanguage> m_openingLanguage;
    bool m_hasSwitchedLanguage = false;
};
