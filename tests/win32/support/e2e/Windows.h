// Finding, reading and driving the windows of another process, only through window
// messages as a user's mouse and keyboard would produce them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "e2e/Wait.h"

namespace e2e {

inline constexpr char kDialogClass[] = "#32770";

// Top-level windows of a process, in Z order (topmost first).
std::vector<HWND> TopLevelWindows(DWORD pid, bool visibleOnly = true);
// Visible top-level windows of every process (an IME helper window is not counted).
std::vector<HWND> AllVisibleTopLevelWindows();
std::vector<HWND> ChildWindows(HWND parent);  // direct and nested children

std::string ClassName(HWND window);
// Every top-level window of the process, visible or not, with its controls: for
// the log of a failed test.
std::string DescribeWindows(DWORD pid);
bool IsDialog(HWND window);  // class "#32770"
// The text of any window, also a control of another process (WM_GETTEXT is
// marshalled between processes, GetWindowText is not).
std::string Text(HWND window);
HWND Item(HWND dialog, int id);  // null when the dialog has no such control
std::string ItemText(HWND dialog, int id);
HWND Owner(HWND window);
LONG_PTR Style(HWND window);
RECT ScreenRect(HWND window);
// Whether the window's thread has handled everything sent before (it may still
// be busy with posted messages); false when it does not answer in time.
bool Responds(HWND window, Ms timeout = Ms(5000));
// Waits until the thread has taken from its queue every message posted to it before
// the call, ours and its own, and then everything that handling posted in turn: the
// thread has handled our input and what followed from it. This is how a test knows
// that something did NOT happen. A window opened meanwhile exists, but a dialog shows
// only when its thread next runs out of messages: such checks look at hidden windows
// too. Fails (after the timeout, which only guards against a hung program) when the
// thread does not get there.
::testing::AssertionResult Settle(DWORD threadId, Ms timeout = kDefaultTimeout);
::testing::AssertionResult Settle(HWND window, Ms timeout = kDefaultTimeout);  // its thread

// The control that has the keyboard focus in the thread that owns window.
HWND FocusedWindow(HWND window);

// Actions. Each posts what the user's input would and returns at once: a click
// that opens a modal window must not block the test. Clicking a control that is
// hidden or disabled is a test failure (a user cannot do it).
void Click(HWND dialog, int id);              // BM_CLICK: a complete mouse click on a button
void MouseClick(HWND control);                // button down and up in the middle of the control
void PressKey(HWND target, UINT virtualKey);  // key down and key up
void PressKeyInFocus(HWND anyWindowOfThread, UINT virtualKey);  // to the focused control
void PressAlt(HWND anyWindowOfThread, char letter);             // Alt+letter, to the focus
void TypeText(HWND target, const std::string& text);            // one WM_CHAR per character
void FocusControl(HWND dialog, int id);  // what Tab reaching the control does
// Tabs into an entry field (which selects its text) and types the new text over it.
void ReplaceText(HWND dialog, int id, const std::string& text);
void SystemCommand(HWND window, WPARAM command);  // a choice from the system menu

// Extended combo box (ComboBoxEx) items, read out of the other process.
struct ComboItem {
    std::string text;
    int image = -1;  // index in the control's image list, -1 for none
    int selectedImage = -1;
};
std::vector<ComboItem> ComboExItems(HWND comboEx);
// A plain combo box's items: each text, and its item data as the image (the language
// list's form where the common controls have no extended combo box).
std::vector<ComboItem> ComboItems(HWND combo);
int ComboSelection(HWND combo);  // CB_ERR (-1) when nothing is selected
// A list box's rows, in the ANSI code page.
std::vector<std::string> ListBoxItems(HWND list);
// Chooses an item as a user does with the keyboard on the closed list: Home when
// nothing is selected, then Down or Up until it is reached. Every step notifies the
// parent as a choice with the mouse does; choosing the selected item does nothing.
void SelectComboItem(HWND dialog, int id, int index);

}  // namespace e2e
