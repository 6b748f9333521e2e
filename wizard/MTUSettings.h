// The MTU and MSS page.
#pragma once

#include "wizard/WizardPage.h"

class CMTUSettings : public CWizardPage {
public:
    explicit CMTUSettings(wizard::WizardState& state);

protected:
    // Every activation starts again from the recommendation for the current connection
    // type; values typed earlier are not kept.
    void Recommend() override;
};
