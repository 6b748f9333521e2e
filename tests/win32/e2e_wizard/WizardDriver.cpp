// Driving the tuning wizard of a running Vornel from outside.
#include "WizardDriver.h"

#include <commctrl.h>

#include <algorithm>

namespace e2e::wizard {
namespace {

bool CanPress(HWND sheet, int id) {
    HWND button = GetDlgItem(sheet, id);
    return button && IsWindowVisible(button) && IsWindowEnabled(button);
}

}  // namespace

std::string Shown(const TextEntry& entry) {
    std::string text = entry.english;
    std::replace(text.begin(), text.end(), '*', '\n');
    return text;
}

std::string Explained(const TextEntry& explanation, const std::string& status) {
    return Shown(explanation) + status;
}

std::ostream& operator<<(std::ostream& out, const Buttons& buttons) {
    out << "{";
    const char* separator = "";
    for (const auto& [pressable, name] :
         {std::pair{buttons.back, "Back"}, std::pair{buttons.next, "Next"},
          std::pair{buttons.finish, "Finish"}}) {
        if (pressable) {
            out << separator << name;
            separator = " + ";
        }
    }
    return out << "}";
}

std::optional<Wizard> Wizard::Open(VornelSession& vornel, HWND main) {
    Click(main, IDC_SET_SETTINGS);
    HWND sheet = vornel.WaitFor(WindowKind::Wizard);
    if (!sheet) {
        ADD_FAILURE() << "Set Connection Settings opened no wizard\n"
                      << DescribeWindows(vornel.Pid());
        return std::nullopt;
    }
    return Wizard(vornel, sheet);
}

HWND Wizard::Page() const {
    DWORD_PTR page = 0;
    SendMessageTimeoutA(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_NORMAL, kAnswerTimeout, &page);
    return reinterpret_cast<HWND>(page);
}

Buttons Wizard::PressableButtons() const {
    return {CanPress(m_sheet, ID_WIZBACK), CanPress(m_sheet, ID_WIZNEXT),
            CanPress(m_sheet, ID_WIZFINISH)};
}

::testing::AssertionResult Wizard::WaitForStep(const std::string& caption) const {
    const bool shown = WaitUntil([&] {
        HWND page = Page();
        return page && IsWindowVisible(page) && Caption() == caption;
    });
    if (shown) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected the step \"" << caption << "\", the wizard shows \"" << Caption() << "\"";
}

::testing::AssertionResult Wizard::WaitForButtons(const Buttons& expected) const {
    // The pages post their button requests, which have taken effect once the program
    // has settled; the buttons seen before may still be the last page's.
    if (::testing::AssertionResult settled = Settle(); !settled) return settled;
    if (PressableButtons() == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "on \"" << Caption() << "\" the buttons are "
                                         << PressableButtons() << ", expected " << expected;
}

::testing::AssertionResult Wizard::WaitForStep(const std::string& caption,
                                               const Buttons& expected) const {
    ::testing::AssertionResult step = WaitForStep(caption);
    if (!step) return step;
    return WaitForButtons(expected);
}

::testing::AssertionResult Wizard::NextTo(const std::string& caption,
                                          const Buttons& expected) const {
    Next();
    return WaitForStep(caption, expected);
}

::testing::AssertionResult Wizard::BackTo(const std::string& caption,
                                          const Buttons& expected) const {
    Back();
    return WaitForStep(caption, expected);
}

::testing::AssertionResult Wizard::WaitForText(int id, const std::string& expected) const {
    if (WaitUntil([&] { return ItemText(id) == expected; })) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "on \"" << Caption() << "\" control " << id << " shows \"" << ItemText(id)
           << "\", expected \"" << expected << "\"";
}

bool Wizard::IsChecked(int id) const {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(Control(id), BM_GETCHECK, 0, 0, SMTO_NORMAL, kAnswerTimeout, &state);
    return state == BST_CHECKED;
}

::testing::AssertionResult Wizard::Fill(int id, const std::string& text) const {
    Focus(id);
    // The focus came as Tab brings it, with the whole text selected: a backspace
    // clears it, as the user's first key would replace it.
    TypeText(Control(id), "\b" + text);
    return WaitForText(id, text);
}

int Wizard::FocusedId() const {
    HWND focus = FocusedWindow(m_sheet);
    return focus ? GetDlgCtrlID(focus) : 0;
}

void Wizard::PressAlt(char letter) const {
    e2e::PressAlt(m_sheet, letter);
}

::testing::AssertionResult IsBox(const std::optional<MessageBoxInfo>& box, const std::string& text,
                                 BoxIcon icon, HWND owner) {
    if (!box) return ::testing::AssertionFailure() << "no message box appeared";
    if (box->text == text && box->caption == "Vornel" && box->icon == icon && box->owner == owner) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "expected a box \"" << text << "\" captioned \"Vornel\" with icon " << icon
           << " owned by " << owner << ", got " << *box;
}

}  // namespace e2e::wizard
