// Tells the user what came of Finish or Reset, and that a window could not be opened.
#pragma once

#include <windows.h>

#include "engine/Engine.h"

// The outcome's message from the language file, in a box owned by `owner`.
void ShowOutcome(HWND owner, engine::Outcome outcome);

// That a window of the program could not be created (the platform lacks what it needs),
// in a box owned by `owner` (none for the main dialog).
void ShowWindowNotOpened(HWND owner);
