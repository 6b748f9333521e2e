// The TTL and browser connections page.
#pragma once

#include "wizard/WizardPage.h"

class CTTLSetting : public CWizardPage {
public:
    explicit CTTLSetting(wizard::WizardState& state);
};
