// The path MTU discovery page: discovery and black-hole detection switches.
#pragma once

#include "wizard/WizardPage.h"

class COtherMTUSettings : public CWizardPage {
public:
    explicit COtherMTUSettings(wizard::WizardState& state);

protected:
    void StoreChoice() override;
};
