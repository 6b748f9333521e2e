// The MTU and MSS page: for each, an explanation with the value in force, the
// recommendation for the connection type, and an edit.
#include "wizard/MTUSettings.h"

#include "res/resource.h"
#include "wizard/MyPropertySheet.h"

namespace {

EntryRange MtuRange(const TuningValues&) {
    return {wizard::kMinMtu, wizard::kMaxMtu};
}

// The MSS leaves room in the MTU just read for the IP and TCP headers.
EntryRange MssRange(const TuningValues& entries) {
    return {wizard::kMinMss, wizard::MaxMss(entries.mtu)};
}

// Read in this order: the MSS's range needs the MTU.
constexpr PageField kFields[] = {
    // edit   rule                     value               range on leaving
    {IDC_MTU, wizard::EntryField::Mtu, &TuningValues::mtu, MtuRange},
    {IDC_MSS, wizard::EntryField::Mss, &TuningValues::mss, MssRange},
};

}  // namespace

CMTUSettings::CMTUSettings() : CWizardPage(IDD_MTU, wizard::kPageMtu, kFields) {}

void CMTUSettings::Recommend() {
    CMyPropertySheet& sheet = Sheet();
    const wizard::MtuRecommendation r =
        wizard::RecommendMtu(sheet.chooseConnectionType.connectionType);
    sheet.chosen.mtu = r.mtu;
    sheet.chosen.mss = r.mss;
    sheet.recommended.mtu = entries.mtu = sheet.chosen.mtu;
    sheet.recommended.mss = entries.mss = sheet.chosen.mss;
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
    StoreEntries();
    return CheckEntriesAgain();
}
