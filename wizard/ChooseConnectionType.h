// The first wizard page: how the machine connects to the internet.
#pragma once

#include "wizard/WizardPage.h"

class CChooseConnectionType : public CWizardPage {
public:
    explicit CChooseConnectionType(wizard::WizardState& state);

    // Sets the run's modem boost when an installed modem's port speed is capped at
    // 115200; never clears it.
    void ProbeModemPortSpeed();

protected:
    BOOL OnInitDialog() override;
    void StoreChoice() override;
};
