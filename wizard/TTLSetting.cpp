// The TTL and browser connections page: the TTL, and the browser's connections per HTTP 1.0
// and 1.1 server, each with its value in force, its recommendation and an edit.
#include "wizard/TTLSetting.h"

CTTLSetting::CTTLSetting(wizard::WizardState& state) : CWizardPage(wizard::kPageTtl, state) {}
