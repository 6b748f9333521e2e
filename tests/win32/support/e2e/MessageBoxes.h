// Message boxes of another process: recognising them, reading what they say and show,
// and answering them.
#pragma once

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/Wait.h"

namespace e2e {

enum class BoxIcon { None, Error, Question, Exclamation, Information };
const char* ToString(BoxIcon icon);
std::ostream& operator<<(std::ostream& out, BoxIcon icon);

struct BoxButton {
    int id = 0;  // IDOK, IDCANCEL, IDYES, IDNO ...
    std::string text;
    bool isDefault = false;  // Enter presses it
};

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string text;
    std::string caption;
    BoxIcon icon = BoxIcon::None;
    HWND owner = nullptr;
    std::vector<BoxButton> buttons;  // in the order they are laid out

    bool HasButton(int id) const;
    std::vector<int> ButtonIds() const;
    int DefaultButton() const;  // 0 when none is
};
std::ostream& operator<<(std::ostream& out, const MessageBoxInfo& box);

// A dialog built by MessageBox (the text and icon controls it always has).
bool IsMessageBox(HWND window);
// The process's message box; with shownOnly false also one not shown yet (see Settle).
std::optional<HWND> FindMessageBox(DWORD pid, bool shownOnly = true);
// Waits until the process shows a message box, then reads it; nullopt on timeout.
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, Ms timeout = kDefaultTimeout);
MessageBoxInfo ReadMessageBox(HWND box);
// Which system icon the box shows: from its icon handle when the box belongs to this
// process (also to one of its threads that is busy in the test itself), otherwise
// from the screen (RecogniseShownIcon).
BoxIcon RecogniseIcon(HWND box);
// The box's icon as it appears on screen, compared with the system icons drawn the
// same way once the box has painted it: how a box of another process is read, since
// Wine gives another process no use of the box's icon handle.
BoxIcon RecogniseShownIcon(HWND box);

// Clicks the button with this id, as the user would, and waits until the box is gone.
bool Answer(const MessageBoxInfo& box, int buttonId, Ms timeout = kDefaultTimeout);

}  // namespace e2e
