// The TTL and browser connections page.
#include "wizard/TTLSetting.h"

#include "framework/DataExchange.h"
#include "res/resource.h"
#include "wizard/MyPropertySheet.h"

CTTLSetting::CTTLSetting() : CWizardPage(IDD_TTL, wizard::kPageTtl) {}

void CTTLSetting::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_HTTP_1_0, maxConnectionsPer1_0ServerEntry);
    DDX_Text(pDX, IDC_HTTP_1_1, maxConnectionsPerServerEntry);
    DDX_Text(pDX, IDC_TTL, ttlEntry);
    DDV_MinMaxInt(pDX, ttlEntry, wizard::kMinTtl, wizard::kMaxTtl);
}

void CTTLSetting::ShowTexts() {
    const CMyPropertySheet& sheet = Sheet();
    const std::string wasSetTo = Text(text::k2);
    const std::string notSet = Text(text::k3);
    SetDlgItemText(
        IDC_static_step6_Explain,
        wizard::WithNumberStatus(Text(text::kIDC_static_step6_Explain), sheet.found.ttlFound,
                                 sheet.inForce.ttl, wasSetTo, Text(text::k7), notSet));
    SetDlgItemText(
        IDC_static_RecommendedTTL,
        wizard::ReplacePercentD(Text(text::kIDC_static_RecommendedTTL), sheet.recommended.ttl));
    Localize(text::kIDC_IE_GROUP_BOX, IDC_IE_GROUP_BOX);
    Localize(text::kIDC_IE_OPTIMIZATION, IDC_IE_OPTIMIZATION);
    SetDlgItemText(
        IDC_CURRENT_HTTP_1_0,
        wizard::WithCountStatus(Text(text::kIDC_CURRENT_HTTP_1_0),
                                sheet.found.maxConnectionsPer1_0ServerFound,
                                sheet.inForce.maxConnectionsPer1_0Server, wasSetTo, notSet));
    SetDlgItemText(IDC_RECOMMENDED_HTTP_1_0,
                   wizard::ReplacePercentD(Text(text::kIDC_RECOMMENDED_HTTP_1_0),
                                           sheet.recommended.maxConnectionsPer1_0Server));
    SetDlgItemText(IDC_CURRENT_HTTP_1_1,
                   wizard::WithCountStatus(
                       Text(text::kIDC_CURRENT_HTTP_1_1), sheet.found.maxConnectionsPerServerFound,
                       sheet.inForce.maxConnectionsPerServer, wasSetTo, notSet));
    SetDlgItemText(IDC_RECOMMENDED_HTTP_1_1,
                   wizard::ReplacePercentD(Text(text::kIDC_RECOMMENDED_HTTP_1_1),
                                           sheet.recommended.maxConnectionsPerServer));
}

BOOL CTTLSetting::OnSetActive() {
    ShowStepCaption();
    ShowTexts();
    UpdateData(false);
    return CWizardPage::OnSetActive();
}

BOOL CTTLSetting::OnKillActive() {
    CMyPropertySheet& sheet = Sheet();
    // The first reading only refreshes the entries; its failure is reported again
    // by the final one, which alone decides whether the page may be left.
    UpdateData(true);
    ttlEntry = wizard::FixUpEntry(wizard::EntryField::Ttl, ttlEntry, sheet.recommended.ttl);
    maxConnectionsPer1_0ServerEntry = wizard::FixUpEntry(
        wizard::EntryField::MaxConnectionsPer1_0Server, maxConnectionsPer1_0ServerEntry,
        sheet.recommended.maxConnectionsPer1_0Server);
    maxConnectionsPerServerEntry =
        wizard::FixUpEntry(wizard::EntryField::MaxConnectionsPerServer,
                           maxConnectionsPerServerEntry, sheet.recommended.maxConnectionsPerServer);
    UpdateData(false);
    sheet.chosen.ttl = ttlEntry;
    sheet.chosen.maxConnectionsPer1_0Server = maxConnectionsPer1_0ServerEntry;
    sheet.chosen.maxConnectionsPerServer = maxConnectionsPerServerEntry;
    return CWizardPage::OnKillActive();
}

bool CTTLSetting::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (auto id = EditNotification(message, wParam, EN_KILLFOCUS)) {
        const CMyPropertySheet& sheet = Sheet();
        switch (*id) {
            case IDC_TTL:
                CorrectOnLostFocus(IDC_TTL, wizard::EntryField::Ttl, ttlEntry,
                                   sheet.recommended.ttl);
                return true;
            case IDC_HTTP_1_0:
                CorrectOnLostFocus(IDC_HTTP_1_0, wizard::EntryField::MaxConnectionsPer1_0Server,
                                   maxConnectionsPer1_0ServerEntry,
                                   sheet.recommended.maxConnectionsPer1_0Server);
                return true;
            case IDC_HTTP_1_1:
                CorrectOnLostFocus(IDC_HTTP_1_1, wizard::EntryField::MaxConnectionsPerServer,
                                   maxConnectionsPerServerEntry,
                                   sheet.recommended.maxConnectionsPerServer);
                return true;
            default:
                break;
        }
    }
    return CWizardPage::HandleMessage(message, wParam, lParam, result);
}
