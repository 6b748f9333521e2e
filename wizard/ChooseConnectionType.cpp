// The connection type page.
#include "wizard/ChooseConnectionType.h"

#include "engine/Engine.h"
#include "engine/Win32RegistryStore.h"
#include "res/resource.h"

CChooseConnectionType::CChooseConnectionType(wizard::WizardState& state)
    : CWizardPage(wizard::kPageConnectionType, state) {}

void CChooseConnectionType::ProbeModemPortSpeed() {
    Win32RegistryStore store;
    if (engine::ProbeModemPortSpeed(store, State().family)) State().boostModem = true;
}

BOOL CChooseConnectionType::OnInitDialog() {
    CWizardPage::OnInitDialog();
    CheckRadioButton(m_hWnd, IDC_step2_RADIO_DialUp, IDC_step2_RADIO_LAN, IDC_step2_RADIO_DialUp);
    return TRUE;
}

void CChooseConnectionType::StoreChoice() {
    ConnectionType& type = State().connectionType;
    type = wizard::ConnectionTypeFromRadios(
        [this](int controlId) { return IsDlgItemChecked(controlId); }, type);
    if (type == DialUp) ProbeModemPortSpeed();
}
