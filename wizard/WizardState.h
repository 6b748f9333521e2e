// What one run of the tuning wizard knows and decides, owned by the sheet and handed to
// each of its pages: the pages read and write it, never each other.
#pragma once

#include "engine/PlatformFamily.h"
#include "engine/TuningValues.h"

namespace wizard {

struct WizardState {
    PlatformFamily family = Win9x;
    ConnectionType connectionType = DialUp;
    // Set when the modem probe finds a modem capped at 115200 bps, never cleared: it decides
    // whether the run ends on the modem boost page and whether Finish boosts the modem.
    bool boostModem = false;

    TuningValues chosen;       // what Finish writes
    TuningValues recommended;  // what the pages recommend, and put back for entries too small
    TuningValues inForce;      // what the registry held when the sheet opened
    FoundFlags found;          // which values of inForce the registry held
    // Whether the stack takes receive windows above 65535 bytes.
    bool windowScaling = true;
};

}  // namespace wizard
