// Tells the user what came of Finish or Reset.
#pragma once

#include <windows.h>

#include "engine/Engine.h"

// The outcome's message from the language file, in a box owned by `owner`.
void ShowOutcome(HWND owner, engine::Outcome outcome);
