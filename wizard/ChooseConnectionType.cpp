// The connection type page.
#include "wizard/ChooseConnectionType.h"

#include "app/VornelApp.h"
#include "engine/Engine.h"
#include "engine/Win32RegistryStore.h"
#include "res/resource.h"

namespace {

constexpr int kExplain = 1011;
constexpr int kDialUp = 1012;
constexpr int kCableModem = 1013;
constexpr int kDsl = 1014;
constexpr int kLan = 1015;

}  // namespace

CChooseConnectionType::CChooseConnectionType()
    : CWizardPage(IDD_CONNECTION_TYPE, wizard::kPageConnectionType) {}

void CChooseConnectionType::ProbeModemPortSpeed() {
    Win32RegistryStore store;
    if (engine::ProbeModemPortSpeed(store, theApp.m_family)) theApp.boostModem = 1;
}

BOOL CChooseConnectionType::OnInitDialog() {
    CWizardPage::OnInitDialog();
    CheckRadioButton(m_hWnd, kDialUp, kLan, kDialUp);
    return TRUE;
}

BOOL CChooseConnectionType::OnSetActive() {
    ShowStepCaption();
    Localize(text::kIDC_step2_RADIO_DialUp, kDialUp);
    Localize(text::kIDC_step2_RADIO_CableModem, kCableModem);
    Localize(text::kIDC_step2_RADIO_DSL, kDsl);
    Localize(text::kIDC_step2_RADIO_LAN, kLan);
    Localize(text::kIDC_static_step2_Explain, kExplain);
    RequestActivationButtons();
    return CWizardPage::OnSetActive();
}

BOOL CChooseConnectionType::OnKillActive() {
    RequestLeavingButtons();
    connectionType = wizard::ConnectionTypeFromRadios(
        [this](int controlId) { return IsChecked(controlId); }, connectionType);
    if (connectionType == DialUp) ProbeModemPortSpeed();
    return CWizardPage::OnKillActive();
}
