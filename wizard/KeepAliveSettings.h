// The keep-alive page; on the Win9x family it may end the run.
#pragma once

#include "wizard/WizardPage.h"

class CKeepAliveSettings : public CWizardPage {
public:
    explicit CKeepAliveSettings(wizard::WizardState& state);
};
