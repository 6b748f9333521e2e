// The keep-alive page: the keep-alive time and interval, each with its value in force, its
// recommendation and an edit.
#include "wizard/KeepAliveSettings.h"

CKeepAliveSettings::CKeepAliveSettings(wizard::WizardState& state)
    : CWizardPage(wizard::kPageKeepAlive, state) {}
