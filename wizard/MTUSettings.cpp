// The MTU and MSS page: recommendation by connection type, values in force, entries.
#include "wizard/MTUSettings.h"

#include "framework/DataExchange.h"
#include "res/resource.h"
#include "wizard/MyPropertySheet.h"

CMTUSettings::CMTUSettings() : CWizardPage(IDD_MTU, wizard::kPageMtu) {}

void CMTUSettings::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_MTU, mtuEntry);
    DDV_MinMaxInt(pDX, mtuEntry, wizard::kMinMtu, wizard::kMaxMtu);
    DDX_Text(pDX, IDC_MSS, mssEntry);
    DDV_MinMaxInt(pDX, mssEntry, wizard::kMinMss, wizard::MaxMss(mtuEntry));
}

void CMTUSettings::Recommend() {
    CMyPropertySheet& sheet = Sheet();
    const wizard::MtuRecommendation r =
        wizard::RecommendMtu(sheet.chooseConnectionType.connectionType);
    sheet.chosen.mtu = r.mtu;
    sheet.chosen.mss = r.mss;
    sheet.recommended.mtu = mtuEntry = sheet.chosen.mtu;
    sheet.recommended.mss = mssEntry = sheet.chosen.mss;
}

void CMTUSettings::ShowTexts() {
    const CMyPropertySheet& sheet = Sheet();
    const std::string wasSetTo = Text(text::k2);
    const std::string bytes = Text(text::k4);
    const std::string notSet = Text(text::k3);
    SetDlgItemText(
        IDC_static_step3_MTUExplain,
        wizard::WithNumberStatus(Text(text::kIDC_static_step3_MTUExplain), sheet.found.mtuFound,
                                 sheet.inForce.mtu, wasSetTo, bytes, notSet));
    SetDlgItemText(
        IDC_static_step3_MSSExplain,
        wizard::WithNumberStatus(Text(text::kIDC_static_step3_MSSExplain), sheet.found.mssFound,
                                 sheet.inForce.mss, wasSetTo, bytes, notSet));
    SetDlgItemText(
        IDC_static_RecommendedMTU,
        wizard::ReplacePercentD(Text(text::kIDC_static_RecommendedMTU), sheet.recommended.mtu));
    SetDlgItemText(
        IDC_static_RecommendedMSS,
        wizard::ReplacePercentD(Text(text::kIDC_static_RecommendedMSS), sheet.recommended.mss));
}

BOOL CMTUSettings::OnSetActive() {
    // Every activation starts again from the recommendation for the current
    // connection type; values typed earlier are not kept.
    Recommend();
    ShowStepCaption();
    ShowTexts();
    UpdateData(false);
    return CWizardPage::OnSetActive();
}

BOOL CMTUSettings::OnKillActive() {
    CMyPropertySheet& sheet = Sheet();
    // A failed read has shown its message; the page is left all the same, unless
    // a value outside its range keeps it (the base's reading tells again).
    UpdateData(true);
    mssEntry = wizard::FixUpEntry(wizard::EntryField::Mss, mssEntry, sheet.recommended.mss);
    mtuEntry = wizard::FixUpEntry(wizard::EntryField::Mtu, mtuEntry, sheet.recommended.mtu);
    UpdateData(false);
    sheet.chosen.mtu = mtuEntry;
    sheet.chosen.mss = mssEntry;
    return CWizardPage::OnKillActive();
}

bool CMTUSettings::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (auto id = EditNotification(message, wParam, EN_KILLFOCUS)) {
        if (*id == IDC_MTU) {
            CorrectOnLostFocus(IDC_MTU, wizard::EntryField::Mtu, mtuEntry, Sheet().recommended.mtu);
            return true;
        }
        if (*id == IDC_MSS) {
            CorrectOnLostFocus(IDC_MSS, wizard::EntryField::Mss, mssEntry, Sheet().recommended.mss);
            return true;
        }
    }
    return CWizardPage::HandleMessage(message, wParam, lParam, result);
}
