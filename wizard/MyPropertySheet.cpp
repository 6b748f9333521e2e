// The wizard sheet: opening (the values in force, defaults) and Finish's write.
#include "wizard/MyPropertySheet.h"

#include "app/OutcomeBox.h"
#include "app/VornelApp.h"
#include "engine/Engine.h"
#include "engine/Win32RegistryStore.h"

CMyPropertySheet::CMyPropertySheet(UINT captionStringId, bool boostModem, HWND parent,
                                   UINT selectPage)
    : CPropertySheet(captionStringId, parent, selectPage),
      chooseConnectionType(state),
      icmpRedirectAttackSetting(state),
      synFloodAttackSetting(state),
      keepAliveSettings(state),
      ttlSetting(state),
      rwinSetting(state),
      otherMtuSettings(state),
      mtuSettings(state),
      modemBoost(state) {
    state.family = theApp.m_family;
    state.boostModem = boostModem;
    SetWizardMode();
    AddPage(&chooseConnectionType);
    AddPage(&mtuSettings);
    AddPage(&otherMtuSettings);
    AddPage(&rwinSetting);
    AddPage(&ttlSetting);
    AddPage(&keepAliveSettings);
    AddPage(&synFloodAttackSetting);
    AddPage(&icmpRedirectAttackSetting);
    AddPage(&modemBoost);
}

void CMyPropertySheet::OnInitDialog() {
    // The platform has already shown page 0, which needs nothing below.
    LocalizeWizardButtons();
    CaptureSettings();
    // The pages that show these values take them as their first entries (CWizardPage).
    wizard::TakeFamilyDefaults(state);
    // Should anything above throw, the framework reports it and closes the sheet,
    // and the values half set up here are never written.
    m_opened = true;
}

bool CMyPropertySheet::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // The display's palette changes are told to the sheet; of its pages only the modem page
    // shows a picture with a palette. Changes the sheet's own windows made are already drawn.
    if (message != WM_QUERYNEWPALETTE && message != WM_PALETTECHANGED) return false;
    const auto changedBy = reinterpret_cast<HWND>(wParam);
    if (message == WM_PALETTECHANGED && (changedBy == m_hWnd || IsChild(m_hWnd, changedBy))) {
        return false;
    }
    HWND page = modemBoost.m_hWnd;
    if (page == nullptr || !IsWindowVisible(page)) return false;
    result = SendMessageA(page, message, wParam, lParam);
    return true;
}

void CMyPropertySheet::LocalizeWizardButtons() {
    theApp.SetItemLanguageText(text::kID_WIZBACK, ID_WIZBACK, m_hWnd);
    theApp.SetItemLanguageText(text::kID_WIZNEXT, ID_WIZNEXT, m_hWnd);
    theApp.SetItemLanguageText(text::kIDCANCEL, IDCANCEL, m_hWnd);
}

void CMyPropertySheet::CaptureSettings() {
    Win32RegistryStore store;
    engine::CaptureSettings(store, theApp.m_release, state.inForce, state.found);
    state.windowScaling = engine::WindowScaling(store, theApp.m_release);
}

void CMyPropertySheet::ApplySettings() {
    if (!m_opened) return;
    Win32RegistryStore store;
    const engine::Result result = engine::ApplySettings(store, theApp.m_release, state.chosen,
                                                        state.connectionType, state.boostModem);
    ShowOutcome(m_hWnd, result.outcome);
}
