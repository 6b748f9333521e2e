// Driving the tuning wizard of a running Vornel from outside: its steps, buttons, edits
// and keys, and the texts its pages show with the built-in English defaults.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "res/TextCatalog.h"
#include "e2e/Driver.h"

namespace e2e::wizard {

// Control ids of the nine pages.
namespace connection {
inline constexpr int kExplain = 1011, kDialUp = 1012, kCableModem = 1013, kDsl = 1014, kLan = 1015;
}
namespace mtu {
inline constexpr int kMtuExplain = 1013, kMssExplain = 1014, kRecommendedMtu = 1015,
                     kRecommendedMss = 1016, kMtuEdit = 1017, kMssEdit = 1018;
}
namespace othermtu {
inline constexpr int kDiscoveryExplain = 1014, kBlackHoleExplain = 1016,
                     kDiscoveryRecommendation = 1018, kBlackHoleRecommendation = 1019,
                     kDisableDiscovery = 1020, kEnableBlackHole = 1021;
}
namespace rwin {
inline constexpr int kMssEdit = 1016, kMultiplierEdit = 1017, kMssLabel = 1018,
                     kMultiplierLabel = 1019, kRwinLabel = 1020, kExplain = 1021,
                     kRecommendation = 1022, kRwinEdit = 1023, kScalingFactorEdit = 1024,
                     kScalingFactorLabel = 1025;
}
namespace ttl {
inline constexpr int kRecommendedHttp10 = 1004, kRecommendedHttp11 = 1005, kHttp10Edit = 1007,
                     kHttp11Edit = 1008, kTtlGroup = 1009, kBrowserGroup = 1010,
                     kBrowserExplain = 1011, kCurrentHttp10 = 1012, kCurrentHttp11 = 1013,
                     kTtlEdit = 1024, kTtlExplain = 1025, kRecommendedTtl = 1026;
}
namespace keepalive {
inline constexpr int kTimeExplain = 1033, kIntervalExplain = 1034, kRecommendedTime = 1035,
                     kRecommendedInterval = 1036, kTimeEdit = 1037, kIntervalEdit = 1038;
}
namespace syn {
inline constexpr int kExplain = 1045, kOptions = 1046, kPrompt = 1047, kOptionEdit = 1048;
}
namespace icmp {
inline constexpr int kSymptom1 = 1049, kSymptom2 = 1050, kSymptom3 = 1051, kCause = 1052,
                     kEnableIcmp = 1053, kRecommendation = 1057;
}
namespace modem {
inline constexpr int kPicture = 1000, kDescription = 1003;
}

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

    void Next() const { Click(m_sheet, vornel::kWizardNext); }
    void Back() const { Click(m_sheet, vornel::kWizardBack); }
    void Finish() const { Click(m_sheet, vornel::kWizardFinish); }
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
