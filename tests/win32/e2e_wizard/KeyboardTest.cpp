// The wizard with the keyboard alone: Tab through every page's controls and the
// wizard's buttons, and the mnemonics of the default texts.
#include <gtest/gtest.h>
#include <iostream>

#include "PageChecks.h"
#include "WizardTest.h"

namespace e2e::wizard {
namespace {

// The controls Tab visits from the focused one until it comes back to it.
std::vector<int> TabCycle(const Wizard& wizard) {
    std::vector<int> cycle;
    const int first = wizard.FocusedId();
    int current = first;
    for (int step = 0; step < 20; ++step) {
        cycle.push_back(current);
        wizard.PressInFocus(VK_TAB);
        if (!wizard.Settle()) break;
        const int previous = current;
        current = wizard.FocusedId();
        if (current == previous) break;
        if (current == first) return cycle;
    }
    ADD_FAILURE() << "Tab did not come back to control " << first << " on " << wizard.Caption();
    return cycle;
}

std::string Describe(const std::vector<int>& ids) {
    std::string text;
    for (int id : ids) text += std::to_string(id) + " ";
    return text;
}

// The keys of a page's mnemonic move the focus to its control and act on it.
void PressMnemonic(const Wizard& wizard, char letter, int control) {
    SCOPED_TRACE(std::string("Alt+") + letter);
    wizard.PressAlt(letter);
    EXPECT_TRUE(WaitUntil([&] { return wizard.IsChecked(control); })) << control << " not chosen";
    EXPECT_TRUE(WaitUntil([&] { return wizard.FocusedId() == control; }))
        << "focus on " << wizard.FocusedId();
}

// Alt+N / Alt+B, then the step that must follow.
::testing::AssertionResult AltTo(const Wizard& wizard, char letter, const std::string& caption,
                                 const Buttons& buttons = kBackNext) {
    wizard.PressAlt(letter);
    ::testing::AssertionResult shown = wizard.WaitForStep(caption, buttons);
    if (!shown) shown << " after Alt+" << letter;
    return shown;
}

// The page's first control has the focus when the page is shown, and Tab goes
// round the page's controls and the wizard's buttons in this order. A page without
// controls leaves the focus on the sheet itself (the Next button it was on is
// hidden for Finish): the first Tab goes to the first button.
void ExpectTabCycle(const Wizard& wizard, const std::vector<int>& expected) {
    ASSERT_TRUE(wizard.Settle());
    if (wizard.FocusedId() == 0) {
        wizard.PressInFocus(VK_TAB);
        ASSERT_TRUE(wizard.Settle());
    }
    ASSERT_EQ(wizard.FocusedId(), expected.front()) << "on " << wizard.Caption();
    EXPECT_EQ(Describe(TabCycle(wizard)), Describe(expected))
        << "Tab order on " << wizard.Caption();
}

// Presses the focused button with the space bar, as the keyboard does.
void TabToAndPress(const Wizard& wizard, int button) {
    for (int step = 0; step < 10 && wizard.FocusedId() != button; ++step) {
        wizard.PressInFocus(VK_TAB);
        ASSERT_TRUE(wizard.Settle());
    }
    ASSERT_EQ(wizard.FocusedId(), button);
    wizard.PressInFocus(VK_SPACE);
}

constexpr int kBack = ID_WIZBACK;
constexpr int kNext = ID_WIZNEXT;
constexpr int kFinish = ID_WIZFINISH;
constexpr int kCancel = IDCANCEL;
constexpr int kHelp = 9;  // the platform sheet's Help button

TEST_F(WizardTest, Windows98WizardRunsOnTheKeyboardAlone) {
    AddModem(keys::kWin9xModems, "0000", ModemProperties(115200));
    HWND main = StartAs("win98");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWin9xSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;

    // Tab reaches the chosen connection type only, then the wizard's buttons.
    ASSERT_TRUE(WaitUntil([&] { return wizard.FocusedId() == IDC_step2_RADIO_DialUp; }));
    ExpectTabCycle(wizard, {IDC_step2_RADIO_DialUp, kNext, kCancel});
    ASSERT_TRUE(AltTo(wizard, 'n', kWin9xSteps[1]));  // leaves with dial-up: the modem is found
    ASSERT_TRUE(AltTo(wizard, 'b', kWin9xSteps[0], kNextOnly));
    PressMnemonic(wizard, 'c', IDC_step2_RADIO_CableModem);
    PressMnemonic(wizard, 'd', IDC_step2_RADIO_DSL);
    PressMnemonic(wizard, 'm', IDC_step2_RADIO_DialUp);
    PressMnemonic(wizard, 'l', IDC_step2_RADIO_LAN);
    ExpectTabCycle(wizard, {IDC_step2_RADIO_LAN, kNext, kCancel});

    ASSERT_TRUE(AltTo(wizard, 'n', kWin9xSteps[1]));
    EXPECT_TRUE(wizard.WaitForText(IDC_MTU, "1500"));
    ExpectTabCycle(wizard, {IDC_MTU, IDC_MSS, kBack, kNext, kCancel});
    ASSERT_TRUE(AltTo(wizard, 'n', kWin9xSteps[2]));
    ExpectTabCycle(wizard,
                   {IDC_chk_MTUDiscovery, IDC_chk_BlackHoleDetection, kBack, kNext, kCancel});
    ASSERT_EQ(wizard.FocusedId(), IDC_chk_MTUDiscovery);
    wizard.PressInFocus(VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return wizard.IsChecked(IDC_chk_MTUDiscovery); }));
    ASSERT_TRUE(AltTo(wizard, 'n', kWin9xSteps[3]));
    ExpectTabCycle(wizard, {IDC_RWIN_MSS, IDC_MULTIPLIER, IDC_SCALING_FACTOR, IDC_RWIN, kBack,
                            kNext, kCancel});
    ASSERT_TRUE(AltTo(wizard, 'n', kWin9xSteps[4]));
    ExpectTabCycle(wizard, {IDC_TTL, IDC_HTTP_1_0, IDC_HTTP_1_1, kBack, kNext, kCancel});
    ASSERT_TRUE(AltTo(wizard, 'n', kWin9xSteps[5]));
    ExpectTabCycle(wizard, {IDC_KEEP_ALIVE_TIME, IDC_KEEP_ALIVE_INTERVAL, kBack, kNext, kCancel});
    ASSERT_TRUE(AltTo(wizard, 'n', kModemStep, kBackFinish));
    ExpectTabCycle(wizard, {kBack, kFinish, kCancel});
    ASSERT_TRUE(AltTo(wizard, 'b', kWin9xSteps[5]));
    ASSERT_TRUE(AltTo(wizard, 'n', kModemStep, kBackFinish));

    TabToAndPress(wizard, kFinish);
    const std::optional<MessageBoxInfo> box = wizard.WaitForMessageBox();
    ASSERT_TRUE(IsBox(box, Shown(text::k41), BoxIcon::None, wizard.Sheet()));
    PressKeyInFocus(box->window, VK_RETURN);
    EXPECT_TRUE(wizard.WaitUntilClosed());
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "PMTUDiscovery"), "0");
    const std::optional<RegValue> modem =
        GetValue(HKEY_LOCAL_MACHINE, std::string(keys::kWin9xModems) + "\\0000", "Properties");
    ASSERT_TRUE(modem);
    EXPECT_EQ(modem->bytes.substr(24, 4), std::string("\x00\x10\x0E\x00", 4));
}

TEST_F(WizardTest, WindowsXpWizardRunsOnTheKeyboardAlone) {
    HWND main = StartAs("winxp");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWinNtSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;
    ASSERT_TRUE(WaitUntil([&] { return wizard.FocusedId() == IDC_step2_RADIO_DialUp; }));
    PressMnemonic(wizard, 'd', IDC_step2_RADIO_DSL);
    ExpectTabCycle(wizard, {IDC_step2_RADIO_DSL, kNext, kCancel});

    ASSERT_TRUE(AltTo(wizard, 'n', kWinNtSteps[1]));
    EXPECT_TRUE(wizard.WaitForText(IDC_MTU, "1492"));
    ExpectTabCycle(wizard, {IDC_MTU, IDC_MSS, kBack, kNext, kCancel});
    ASSERT_TRUE(AltTo(wizard, 'n', kWinNtSteps[2]));
    ExpectTabCycle(wizard,
                   {IDC_chk_MTUDiscovery, IDC_chk_BlackHoleDetection, kBack, kNext, kCancel});
    ASSERT_TRUE(AltTo(wizard, 'n', kWinNtSteps[3]));
    ExpectTabCycle(wizard, {IDC_RWIN_MSS, IDC_MULTIPLIER, IDC_SCALING_FACTOR, IDC_RWIN, kBack,
                            kNext, kCancel});
    ASSERT_TRUE(AltTo(wizard, 'n', kWinNtSteps[4]));
    ExpectTabCycle(wizard, {IDC_TTL, IDC_HTTP_1_0, IDC_HTTP_1_1, kBack, kNext, kCancel});
    ASSERT_TRUE(AltTo(wizard, 'n', kWinNtSteps[5]));
    ExpectTabCycle(wizard, {IDC_KEEP_ALIVE_TIME, IDC_KEEP_ALIVE_INTERVAL, kBack, kNext, kCancel});
    ASSERT_TRUE(AltTo(wizard, 'n', kWinNtSteps[6]));
    ExpectTabCycle(wizard, {IDC_SYN_ATTACK_PROTECT, kBack, kNext, kCancel});
    // No Help button, and F1 opens nothing.
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(wizard.Sheet(), kHelp)));
    const std::vector<HWND> before = TopLevelWindows(Vornel().Pid(), false);
    wizard.PressInFocus(VK_F1);
    ASSERT_TRUE(wizard.Settle());
    EXPECT_EQ(TopLevelWindows(Vornel().Pid(), false), before) << "F1 opened a window\n"
                                                              << DescribeWindows(Vornel().Pid());
    EXPECT_EQ(wizard.Caption(), kWinNtSteps[6]);
    ASSERT_TRUE(AltTo(wizard, 'n', kWinNtSteps[7], kBackFinish));
    ExpectTabCycle(wizard, {IDC_chk_ICMP, kBack, kFinish, kCancel});
    ASSERT_TRUE(AltTo(wizard, 'b', kWinNtSteps[6]));
    ASSERT_TRUE(AltTo(wizard, 'n', kWinNtSteps[7], kBackFinish));
    ASSERT_EQ(wizard.FocusedId(), IDC_chk_ICMP);
    wizard.PressInFocus(VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return wizard.IsChecked(IDC_chk_ICMP); }));

    // Enter presses the default button, which on the last step is Finish.
    wizard.PressInFocus(VK_RETURN);
    const std::optional<MessageBoxInfo> box = wizard.WaitForMessageBox();
    ASSERT_TRUE(IsBox(box, Shown(text::k41), BoxIcon::None, wizard.Sheet()));
    PressKeyInFocus(box->window, VK_RETURN);
    EXPECT_TRUE(wizard.WaitUntilClosed());
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "EnableICMPRedirects"), 1u);
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "TcpWindowSize"), 255552u);
}

}  // namespace
}  // namespace e2e::wizard
