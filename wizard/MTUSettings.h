// The MTU and MSS page.
#pragma once

#include "wizard/WizardPage.h"

class CMTUSettings : public CWizardPage {
public:
    explicit CMTUSettings(wizard::WizardState& state);

protected:
    BOOL OnSetActive() override;

private:
    void Recommend();
    void ShowTexts();
};
