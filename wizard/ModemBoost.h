// The modem boost page: shown last when a modem capped at 115200 bps was found.
#pragma once

#include "wizard/WizardPage.h"

class CModemBoost : public CWizardPage {
public:
    CModemBoost();

protected:
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    LRESULT OnWizardBack() override;
    BOOL OnWizardFinish() override;
};
