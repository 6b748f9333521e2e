// The end-to-end driver in one include: registry, installation folder, processes,
// windows, message boxes, screen, the tuned part of the system, and the Vornel
// session and test fixture.
#pragma once

#include "e2e/Installation.h"
#include "e2e/MessageBoxes.h"
#include "e2e/Process.h"
#include "e2e/Registry.h"
#include "e2e/Screen.h"
#include "e2e/TunedSystem.h"
#include "e2e/VornelSession.h"
#include "e2e/Wait.h"
#include "e2e/Windows.h"
