// The connection type page.
#include "wizard/ChooseConnectionType.h"

#include "engine/Engine.h"
#include "engine/Win32RegistryStore.h"
#include "res/resource.h"

CChooseConnectionType::CChooseConnectionType(wizard::WizardState& state)
    : CWizardPage(IDD_CONNECTION_TYPE, wizard::kPageConnectionType, state) {}

void CChooseConnectionType::ProbeModemPortSpeed() {
    Win32RegistryStore store;
    if (engine::ProbeModemPortSpeed(store, State().family)) State().boostModem = true;
}

BOOL CChooseConnectionType::OnInitDialog() {
    CWizardPage::OnInitDialog();
    CheckRadioButton(m_hWnd, IDC_step2_RADIO_DialUp, IDC_step2_RADIO_LAN, IDC_step2_RADIO_DialUp);
    return TRUE;
}

BOOL CChooseConnectionType::OnSetActive() {
    ShowStepCaption();
    Localize(text::kIDC_step2_RADIO_DialUp, IDC_step2_RADIO_DialUp);
    Localize(text::kIDC_step2_RADIO_CableModem, IDC_step2_RADIO_CableModem);
    Localize(text::kIDC_step2_RADIO_DSL, IDC_step2_RADIO_DSL);
    Localize(text::kIDC_step2_RADIO_LAN, IDC_step2_RADIO_LAN);
    Localize(text::kIDC_static_step2_Explain, IDC_static_step2_Explain);
    return CWizardPage::OnSetActive();
}

void CChooseConnectionType::StoreChoice() {
    ConnectionType& type = State().connectionType;
    type = wizard::ConnectionTypeFromRadios([this](int controlId) { return IsChecked(controlId); },
                                            type);
    if (type == DialUp) ProbeModemPortSpeed();
}
