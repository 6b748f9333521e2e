// The TTL and browser connections page.
#pragma once

#include "wizard/WizardPage.h"

class CTTLSetting : public CWizardPage {
public:
    CTTLSetting();

protected:
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

private:
    void ShowTexts();
};
