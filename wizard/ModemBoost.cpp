// The modem boost page: a description, a picture of the speed list, Back and Finish.
#include "wizard/ModemBoost.h"

#include "res/resource.h"
#include "wizard/MyPropertySheet.h"

CModemBoost::CModemBoost() : CWizardPage(IDD_MODEM_BOOST, wizard::kPageModemBoost) {}

BOOL CModemBoost::OnSetActive() {
    ShowStepCaption();
    SetDlgItemText(IDC_DESCRIBTION, Text(text::kIDC_DESCRIBTION));
    RequestActivationButtons();
    return CWizardPage::OnSetActive();
}

BOOL CModemBoost::OnKillActive() {
    RequestLeavingButtons();
    return CWizardPage::OnKillActive();
}

LRESULT CModemBoost::OnWizardBack() {
    // On Win9x the way back passes over the NT-only pages, as the way forward did.
    return BackPageChoice();
}

BOOL CModemBoost::OnWizardFinish() {
    // ApplySettings boosts the modem first: boostModem is set whenever this page shows.
    Sheet().ApplySettings();
    return TRUE;
}
