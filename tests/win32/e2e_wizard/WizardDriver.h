// Driving the tuning wizard of a running Vornel from outside: its steps, buttons, edits
// and keys, and the texts its pages show with the built-in English defaults.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/Driver.h"
#include "res/TextCatalog.h"
#include "res/resource.h"

namespace e2e::wizard {

// A catalogue text as the program shows it: every '*' a line break.
std::string Shown(const TextEntry& entry);
// An explanation with its status sentence appended (" was set to 1500 bytes." ...).
std::string Explained(const TextEntry& explanation, const std::string& status);

// Which wizard buttons a user can press.
struct Buttons {
    bool back = false;
    bool next = false;
    bool finish = false;
    bool operator==(const Buttons&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Buttons& buttons);
inline constexpr Buttons kNextOnly{false, true, false};
inline constexpr Buttons kBackNext{true, true, false};
inline constexpr Buttons kBackFinish{true, false, true};

// The wizard sheet of a running Vornel. Every action posts what the user's input would
// and returns at once; the Wait/Expect functions wait for the program's answer.
class Wizard {
public:
    Wizard(VornelSession& vornel, HWND sheet) : m_vornel(vornel), m_sheet(sheet) {}

    // Clicks "Set Connection Settings" and waits for the wizard (no question expected).
    static std::optional<Wizard> Open(VornelSession& vornel, HWND main);

    HWND Sheet() const { return m_sheet; }
    HWND Page() const;  // the current page
    std::string Caption() const { return Text(m_sheet); }
    Buttons PressableButtons() const;

    ::testing::AssertionResult WaitForStep(const std::string& caption) const;
    // The buttons once the program has settled (the pages post their button requests).
    ::testing::AssertionResult WaitForButtons(const Buttons& expected) const;
    // Both, in that order: the step shown and its buttons settled.
    ::testing::AssertionResult WaitForStep(const std::string& caption,
                                           const Buttons& expected) const;

    void Next() const { Click(m_sheet, ID_WIZNEXT); }
    void Back() const { Click(m_sheet, ID_WIZBACK); }
    void Finish() const { Click(m_sheet, ID_WIZFINISH); }
    void Cancel() const { Click(m_sheet, IDCANCEL); }
    // Next or Back, then the step that must follow with its buttons.
    ::testing::AssertionResult NextTo(const std::string& caption,
                                      const Buttons& expected = kBackNext) const;
    ::testing::AssertionResult BackTo(const std::string& caption,
                                      const Buttons& expected = kBackNext) const;

    HWND Control(int id) const { return Item(Page(), id); }
    std::string ItemText(int id) const { return Text(Control(id)); }
    ::testing::AssertionResult WaitForText(int id, const std::string& expected) const;
    bool IsChecked(int id) const;
    void ClickItem(int id) const { Click(Page(), id); }

    // Gives the control the focus as Tab does (an edit's text is then selected).
    void Focus(int id) const { FocusControl(Page(), id); }
    // Focuses the edit as Tab does, types over its text (an empty text clears it)
    // and waits until the edit shows it. The edit keeps the focus.
    ::testing::AssertionResult Fill(int id, const std::string& text) const;
    // The keyboard focus, as a control id of the page or the sheet (0 for none).
    int FocusedId() const;
    void PressInFocus(UINT virtualKey) const { PressKeyInFocus(m_sheet, virtualKey); }
    // Alt and a letter, as the keyboard delivers it to the focused control.
    void PressAlt(char letter) const;

    bool WaitUntilClosed() const { return m_vornel.WaitUntilGone(m_sheet); }
    // Until the program has handled all input so far (VornelSession::Settle).
    ::testing::AssertionResult Settle() const { return m_vornel.Settle(); }
    std::optional<MessageBoxInfo> WaitForMessageBox() const { return m_vornel.WaitForMessageBox(); }

private:
    VornelSession& m_vornel;
    HWND m_sheet;
};

// A message box as the tests compare it.
::testing::AssertionResult IsBox(const std::optional<MessageBoxInfo>& box, const std::string& text,
                                 BoxIcon icon, HWND owner);

}  // namespace e2e::wizard
