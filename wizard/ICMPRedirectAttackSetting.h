// The ICMP redirect page (NT family only); it ends the NT run unless the modem
// boost is pending.
#pragma once

#include "wizard/WizardPage.h"

class CICMPRedirectAttackSetting : public CWizardPage {
public:
    explicit CICMPRedirectAttackSetting(wizard::WizardState& state);

protected:
    void StoreChoice() override;
};
