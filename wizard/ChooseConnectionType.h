// The first wizard page: how the machine connects to the internet.
#pragma once

#include "wizard/WizardPage.h"

class CChooseConnectionType : public CWizardPage {
public:
    CChooseConnectionType();

    // Sets boostModem when an installed modem's port speed is capped at 115200;
    // never clears it.
    void ProbeModemPortSpeed();

    ConnectionType connectionType = DialUp;

protected:
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
};
