// One Vornel at a time: two would each Finish or Reset against the backup the other is
// writing or putting back. A second start brings the running one to the front and ends.
#pragma once

#include <windows.h>

namespace instance {

// True when no other Vornel runs in this session; the claim then lasts until the program
// ends. Otherwise brings the running one's window (or the window it has open over it, the
// wizard or a message) to the front and gives false.
bool ClaimOrActivateRunning();

// The window a second start brings forward: set while the main dialog is up.
void MarkMainWindow(HWND window);
void UnmarkMainWindow(HWND window);

}  // namespace instance
