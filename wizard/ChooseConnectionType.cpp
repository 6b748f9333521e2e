// The connection type page.
#include "wizard/ChooseConnectionType.h"

#include "engine/Engine.h"
#include "engine/Win32RegistryStore.h"
#include "res/resource.h"

namespace {

constexpr PageText kTexts[] = {
    {PageTextKind::Label, IDC_step2_RADIO_DialUp, text::kIDC_step2_RADIO_DialUp},
    {PageTextKind::Label, IDC_step2_RADIO_CableModem, text::kIDC_step2_RADIO_CableModem},
    {PageTextKind::Label, IDC_step2_RADIO_DSL, text::kIDC_step2_RADIO_DSL},
    {PageTextKind::Label, IDC_step2_RADIO_LAN, text::kIDC_step2_RADIO_LAN},
    {PageTextKind::Label, IDC_static_step2_Explain, text::kIDC_static_step2_Explain},
};

}  // namespace

CChooseConnectionType::CChooseConnectionType(wizard::WizardState& state)
    : CWizardPage(IDD_CONNECTION_TYPE, wizard::kPageConnectionType, state, {kTexts, {}}) {}

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
    type = wizard::ConnectionTypeFromRadios([this](int controlId) { return IsChecked(controlId); },
                                            type);
    if (type == DialUp) ProbeModemPortSpeed();
}
