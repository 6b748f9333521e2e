// The SYN-attack protection page (NT family only).
#pragma once

#include <cstdint>

#include "wizard/WizardPage.h"

class CSYNFloodAttackSetting : public CWizardPage {
public:
    explicit CSYNFloodAttackSetting(wizard::WizardState& state);

    std::int32_t synAttackProtectEntry = 0;

protected:
    BOOL OnInitDialog() override;
    BOOL MayLeave() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
