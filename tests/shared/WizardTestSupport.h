// The wizard's starting values, as the tests of its rules and its layout need them.
#pragma once

#include "engine/PlatformFamily.h"
#include "engine/TuningValues.h"
#include "wizard/WizardRules.h"
#include "wizard/WizardState.h"

namespace wizardtest {

// The values every run of the family starts with (the pages' default rows); others are 0.
inline TuningValues DefaultsFor(PlatformFamily family) {
    wizard::WizardState state;
    state.family = family;
    wizard::TakeFamilyDefaults(state);
    return state.recommended;
}

}  // namespace wizardtest
