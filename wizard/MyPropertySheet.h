// CMyPropertySheet: the tuning wizard, its nine pages and the three sets of values.
#pragma once

#include <windows.h>

#include "engine/TuningValues.h"
#include "framework/PropertySheet.h"
#include "wizard/ChooseConnectionType.h"
#include "wizard/ICMPRedirectAttackSetting.h"
#include "wizard/KeepAliveSettings.h"
#include "wizard/MTUSettings.h"
#include "wizard/ModemBoost.h"
#include "wizard/OtherMTUSettings.h"
#include "wizard/RWINSetting.h"
#include "wizard/SYNFloodAttackSetting.h"
#include "wizard/TTLSetting.h"
#include "wizard/WizardState.h"

class CMyPropertySheet : public CPropertySheet {
public:
    // Builds the nine pages and adds them in their index order; the sheet runs in
    // wizard mode, without Help. `boostModem` is what earlier runs found of the modem.
    CMyPropertySheet(UINT captionStringId, bool boostModem, HWND parent = nullptr,
                     UINT selectPage = 0);

    // Language texts for the Back, Next and Cancel buttons; Finish keeps the platform's.
    void LocalizeWizardButtons();
    // Reads the values in force, which of them were found and whether the stack scales
    // its receive window; writes nothing.
    void CaptureSettings();
    // Backs up what is in force, writes `chosen` (boosting the modem first when
    // pending) and tells the user. Does nothing unless the opening completed.
    void ApplySettings();

    // The run's state; declared before the pages, which are handed it.
    wizard::WizardState state;

    // Held by value; member order is not the page order (see the constructor).
    CChooseConnectionType chooseConnectionType;
    CICMPRedirectAttackSetting icmpRedirectAttackSetting;
    CSYNFloodAttackSetting synFloodAttackSetting;
    CKeepAliveSettings keepAliveSettings;
    CTTLSetting ttlSetting;
    CRWINSetting rwinSetting;
    COtherMTUSettings otherMtuSettings;
    CMTUSettings mtuSettings;
    CModemBoost modemBoost;

protected:
    // The sheet's initialisation, once its first page is shown.
    void OnFirstPageShown() override { OnInitDialog(); }
    void OnInitDialog();
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool m_opened = false;  // the values in force were read and the defaults set
};
