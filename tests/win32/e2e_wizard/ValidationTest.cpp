// What the pages do with the user's entries: lost-focus corrections with their lower
// limits, range and integer messages that keep the user on the page, the receive
// window's live recomputation and range checks, and check boxes across Back and runs.
#include <gtest/gtest.h>

#include "PageChecks.h"
#include "WizardTest.h"

namespace e2e::wizard {
namespace {

const std::string kRangeTtl = "Please enter an integer between 1 and 255.";
const std::string kRangeMtu = "Please enter an integer between 68 and 65535.";
const std::string kRangeSyn = "Please enter an integer between 0 and 2.";
const std::string kNotInteger = "Please enter an integer.";

// Types into the edit, moves the focus to `next` as Tab would, and expects the
// edit to show `shown` once the program has handled the move.
void TypeAndLeave(const Wizard& wizard, int edit, const std::string& typed, int next,
                  const std::string& shown) {
    SCOPED_TRACE("typed \"" + typed + "\" into " + std::to_string(edit));
    ASSERT_TRUE(wizard.Fill(edit, typed));
    wizard.Focus(next);
    ASSERT_TRUE(wizard.Settle());
    ASSERT_EQ(wizard.FocusedId(), next);
    EXPECT_EQ(wizard.ItemText(edit), shown);
}

// The program has handled everything so far and shows no message box.
void ExpectNoMessageBox(VornelSession& vornel) {
    ASSERT_TRUE(vornel.Settle());
    const std::optional<HWND> box = FindMessageBox(vornel.Pid(), false);
    EXPECT_FALSE(box) << "unexpected " << ReadMessageBox(*box);
    if (box) Answer(ReadMessageBox(*box), IDOK);
}

// Expects a validation message about the current page and answers it.
void AnswerValidation(const Wizard& wizard, const std::string& message) {
    const std::optional<MessageBoxInfo> box = wizard.WaitForMessageBox();
    ASSERT_TRUE(IsBox(box, message, BoxIcon::Exclamation, wizard.Sheet()));
    ASSERT_TRUE(Answer(*box, IDOK));
}

// The page is still current, with the offending edit focused and its whole text
// selected.
void ExpectStillOn(const Wizard& wizard, const std::string& caption, int edit) {
    ASSERT_TRUE(wizard.Settle());
    DWORD pid = 0;
    GetWindowThreadProcessId(wizard.Sheet(), &pid);
    EXPECT_FALSE(FindMessageBox(pid, false)) << "another message came";
    EXPECT_EQ(wizard.Caption(), caption);
    EXPECT_EQ(wizard.FocusedId(), edit);
    DWORD_PTR selection = 0;
    SendMessageTimeoutA(wizard.Control(edit), EM_GETSEL, 0, 0, SMTO_NORMAL, kAnswerTimeout,
                        &selection);
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), wizard.ItemText(edit).size()) << "the text is not all selected";
}

void ChooseLan(const Wizard& wizard) {
    wizard.ClickItem(IDC_step2_RADIO_LAN);
    ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(IDC_step2_RADIO_LAN); }));
}

void Check(const Wizard& wizard, int box) {
    wizard.ClickItem(box);
    ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(box); }));
}

// ---------------------------------------------------------------------------

TEST_F(WizardTest, EntriesBelowTheirLimitsTakeTheRecommendationWhenTheyLoseTheFocus) {
    AddInterface("{1A}", std::nullopt, std::nullopt);
    HWND main = StartAs("winxp");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWinNtSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;
    ChooseLan(wizard);
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[1]));

    // MTU and MSS: at least 1; an empty edit reads as 0.
    TypeAndLeave(wizard, IDC_MTU, "", IDC_MSS, "1500");
    TypeAndLeave(wizard, IDC_MSS, "", IDC_MTU, "1460");
    TypeAndLeave(wizard, IDC_MTU, "0", IDC_MSS, "1500");
    TypeAndLeave(wizard, IDC_MTU, "1400", IDC_MSS, "1400");
    TypeAndLeave(wizard, IDC_MSS, "1", IDC_MTU, "1");
    // Leaving (Enter, the focus staying in the edit) with an edit that holds no
    // integer says so and goes on; the MTU read before it is taken. (The message
    // takes the focus from the MSS edit, whose correction puts the recommendation
    // back at once.)
    ASSERT_TRUE(wizard.Fill(IDC_MTU, "1600"));
    ASSERT_TRUE(wizard.Fill(IDC_MSS, ""));
    wizard.PressInFocus(VK_RETURN);
    AnswerValidation(wizard, kNotInteger);
    ASSERT_TRUE(wizard.WaitForStep(kWinNtSteps[2], kBackNext));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[3]));
    EXPECT_TRUE(wizard.WaitForText(IDC_RWIN_MSS, "1460"));
    // Every activation starts again from the recommendation.
    ASSERT_TRUE(wizard.BackTo(kWinNtSteps[2]));
    ASSERT_TRUE(wizard.BackTo(kWinNtSteps[1]));
    EXPECT_TRUE(wizard.WaitForText(IDC_MTU, "1500"));
    EXPECT_TRUE(wizard.WaitForText(IDC_MSS, "1460"));
    ASSERT_TRUE(wizard.Fill(IDC_MTU, "1600"));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[2]));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[3]));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[4]));

    // TTL at least 1, HTTP 1.0 at least 4, HTTP 1.1 at least 2.
    TypeAndLeave(wizard, IDC_TTL, "0", IDC_HTTP_1_0, "64");
    TypeAndLeave(wizard, IDC_TTL, "1", IDC_HTTP_1_0, "1");
    TypeAndLeave(wizard, IDC_HTTP_1_0, "3", IDC_HTTP_1_1, "20");
    TypeAndLeave(wizard, IDC_HTTP_1_0, "4", IDC_HTTP_1_1, "4");
    TypeAndLeave(wizard, IDC_HTTP_1_1, "1", IDC_TTL, "20");
    TypeAndLeave(wizard, IDC_HTTP_1_1, "2", IDC_TTL, "2");
    TypeAndLeave(wizard, IDC_HTTP_1_0, "", IDC_TTL, "20");
    TypeAndLeave(wizard, IDC_HTTP_1_0, "1000", IDC_TTL, "1000");
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[5]));

    // Keep-alive time and interval at least 1.
    TypeAndLeave(wizard, IDC_KEEP_ALIVE_TIME, "0", IDC_KEEP_ALIVE_INTERVAL, "7200000");
    TypeAndLeave(wizard, IDC_KEEP_ALIVE_INTERVAL, "0", IDC_KEEP_ALIVE_TIME, "1000");
    TypeAndLeave(wizard, IDC_KEEP_ALIVE_TIME, "", IDC_KEEP_ALIVE_INTERVAL, "7200000");
    TypeAndLeave(wizard, IDC_KEEP_ALIVE_TIME, "3600000", IDC_KEEP_ALIVE_INTERVAL, "3600000");
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[6]));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[7], kBackFinish));

    // What the corrections left is what Finish writes.
    FinishWith41(wizard, main, [&] {
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, InterfaceKey("{1A}"), "MTU"), 1600u);
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, InterfaceKey("{1A}"), "MSS"), 1460u);
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "DefaultTTL"), 1u);
        EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPer1_0Server"), 1000u);
        EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer"), 2u);
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "KeepAliveTime"), 3600000u);
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "KeepAliveInterval"), 1000u);
        // The MSS stayed as recommended while the MTU was typed.
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "TcpWindowSize"), 256960u);
    });
}

TEST_F(WizardTest, OutOfRangeAndEmptyEntriesKeepTheUserOnThePage) {
    HWND main = StartAs("winxp");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWinNtSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;
    for (size_t i = 1; i <= 4; ++i) ASSERT_TRUE(wizard.NextTo(kWinNtSteps[i]));

    // TTL: 255 is the most; 256 is reported by both readings of the way out.
    ASSERT_TRUE(wizard.Fill(IDC_TTL, "256"));
    wizard.Next();
    AnswerValidation(wizard, kRangeTtl);
    AnswerValidation(wizard, kRangeTtl);
    ExpectStillOn(wizard, kWinNtSteps[4], IDC_TTL);
    EXPECT_EQ(wizard.ItemText(IDC_TTL), "256");
    ASSERT_TRUE(wizard.Fill(IDC_TTL, "255"));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[5]));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[6]));

    // SYN-attack protection: 0 to 2, and no lost-focus correction.
    EXPECT_TRUE(wizard.WaitForText(IDC_SYN_ATTACK_PROTECT, "2"));
    ASSERT_TRUE(wizard.Fill(IDC_SYN_ATTACK_PROTECT, "3"));
    wizard.Next();
    AnswerValidation(wizard, kRangeSyn);
    ExpectStillOn(wizard, kWinNtSteps[6], IDC_SYN_ATTACK_PROTECT);
    ASSERT_TRUE(wizard.Fill(IDC_SYN_ATTACK_PROTECT, ""));
    wizard.Next();
    AnswerValidation(wizard, kNotInteger);
    ExpectStillOn(wizard, kWinNtSteps[6], IDC_SYN_ATTACK_PROTECT);
    EXPECT_EQ(wizard.ItemText(IDC_SYN_ATTACK_PROTECT), "");
    ASSERT_TRUE(wizard.Fill(IDC_SYN_ATTACK_PROTECT, "1"));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[7], kBackFinish));

    FinishWith41(wizard, main, [&] {
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "DefaultTTL"), 255u);
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "SYNAttackProtect"), 1u);
    });
}

// Values the stack cannot use are refused: an MTU outside 68 to 65535, an MSS that
// leaves no room for the headers in the MTU, a TTL of 0.
TEST_F(WizardTest, MtuMssAndTtlOutsideWhatTheStackTakesAreRefused) {
    HWND main = StartAs("win98");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWin9xSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;
    ChooseLan(wizard);
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[1]));

    // Out of range: reported by both readings of the way out, and the page stays.
    for (const char* mtu : {"67", "65536"}) {
        ASSERT_TRUE(wizard.Fill(IDC_MTU, mtu));
        wizard.Next();
        AnswerValidation(wizard, kRangeMtu);
        AnswerValidation(wizard, kRangeMtu);
        ExpectStillOn(wizard, kWin9xSteps[1], IDC_MTU);
    }
    ASSERT_TRUE(wizard.Fill(IDC_MTU, "1400"));
    wizard.Next();
    AnswerValidation(wizard, "Please enter an integer between 1 and 1360.");
    AnswerValidation(wizard, "Please enter an integer between 1 and 1360.");
    ExpectStillOn(wizard, kWin9xSteps[1], IDC_MSS);
    ASSERT_TRUE(wizard.Fill(IDC_MSS, "1360"));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[2]));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[3]));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[4]));

    // A TTL of 0 left by Enter: said so, and the recommendation goes on in its place.
    ASSERT_TRUE(wizard.Fill(IDC_TTL, "0"));
    wizard.PressInFocus(VK_RETURN);
    AnswerValidation(wizard, kRangeTtl);
    ASSERT_TRUE(wizard.WaitForStep(kWin9xSteps[5], kBackFinish));

    FinishWith41(wizard, main, [&] {
        EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "DefaultTTL"), "32");
    });
}

TEST_F(WizardTest, CheckBoxesKeepTheirStateOnBackAndStartUncheckedInANewRun) {
    HWND main = StartAs("winxp");
    ASSERT_TRUE(main);
    {
        std::optional<Wizard> opened = OpenWizard(main, kWinNtSteps);
        ASSERT_TRUE(opened);
        const Wizard& wizard = *opened;
        ASSERT_TRUE(wizard.NextTo(kWinNtSteps[1]));
        ASSERT_TRUE(wizard.NextTo(kWinNtSteps[2]));
        Check(wizard, IDC_chk_MTUDiscovery);
        Check(wizard, IDC_chk_BlackHoleDetection);
        ASSERT_TRUE(wizard.NextTo(kWinNtSteps[3]));
        ASSERT_TRUE(wizard.BackTo(kWinNtSteps[2]));
        EXPECT_TRUE(wizard.IsChecked(IDC_chk_MTUDiscovery));
        EXPECT_TRUE(wizard.IsChecked(IDC_chk_BlackHoleDetection));
        for (size_t i = 3; i <= 6; ++i) ASSERT_TRUE(wizard.NextTo(kWinNtSteps[i]));
        ASSERT_TRUE(wizard.NextTo(kWinNtSteps[7], kBackFinish));
        Check(wizard, IDC_chk_ICMP);
        ASSERT_TRUE(wizard.BackTo(kWinNtSteps[6], kBackNext));
        ASSERT_TRUE(wizard.NextTo(kWinNtSteps[7], kBackFinish));
        EXPECT_TRUE(wizard.IsChecked(IDC_chk_ICMP));
        FinishWith41(wizard, main, [&] {
            EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "EnablePMTUDiscovery"), 0u);
            EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "EnablePMTUBHDetect"), 1u);
            EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "EnableICMPRedirects"), 1u);
        });
    }

    Click(main, IDC_SET_SETTINGS);
    const std::optional<MessageBoxInfo> question = Vornel().WaitForMessageBox();
    ASSERT_TRUE(IsBox(question, Shown(text::k43), BoxIcon::Question, main));
    ASSERT_TRUE(Answer(*question, IDYES));
    HWND sheet = Vornel().WaitFor(WindowKind::Wizard);
    ASSERT_TRUE(sheet);
    const Wizard wizard(Vornel(), sheet);
    ASSERT_TRUE(wizard.WaitForStep(kWinNtSteps[0], kNextOnly));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[1]));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[2]));
    EXPECT_FALSE(wizard.IsChecked(IDC_chk_MTUDiscovery));
    EXPECT_FALSE(wizard.IsChecked(IDC_chk_BlackHoleDetection));
    // The second run shows what the first one wrote as the values in force.
    ExpectOtherMtuPage(wizard, kDisabled, kEnabled);
    for (size_t i = 3; i <= 6; ++i) ASSERT_TRUE(wizard.NextTo(kWinNtSteps[i]));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[7], kBackFinish));
    EXPECT_FALSE(wizard.IsChecked(IDC_chk_ICMP));
    ExpectIcmpPage(wizard, kEnabled);
    wizard.Cancel();
    EXPECT_TRUE(wizard.WaitUntilClosed());
}

// ---------------------------------------------------------------------------
// The receive window: MSS x multiplier x 4, from the MSS up to 1073741823.

TEST_F(WizardTest, ReceiveWindowFollowsTheMultiplierAndRefusesWindowsOutOfRange) {
    HWND main = StartAs("win98");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWin9xSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;
    ChooseLan(wizard);
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[1]));

    // The MSS chosen on the MTU page is the base of the recommendation.
    ASSERT_TRUE(wizard.Fill(IDC_MSS, "1000"));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[2]));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[3]));
    ExpectRwinPage(wizard, 1000, 44, 176000, kNotSet);
    ASSERT_TRUE(wizard.BackTo(kWin9xSteps[2]));
    ASSERT_TRUE(wizard.BackTo(kWin9xSteps[1]));
    EXPECT_TRUE(wizard.WaitForText(IDC_MSS, "1460"));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[2]));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[3]));
    ExpectRwinPage(wizard, 1460, 44, 256960, kNotSet);
    EXPECT_EQ(Style(wizard.Control(IDC_SCALING_FACTOR)) & ES_READONLY, ES_READONLY);
    EXPECT_EQ(Style(wizard.Control(IDC_RWIN)) & ES_READONLY, ES_READONLY);
    EXPECT_EQ(Style(wizard.Control(IDC_RWIN_MSS)) & ES_READONLY, ES_READONLY);

    // The window follows each keystroke.
    ASSERT_TRUE(wizard.Fill(IDC_MULTIPLIER, "10"));
    EXPECT_TRUE(wizard.WaitForText(IDC_RWIN, "58400"));
    // An empty multiplier leaves the window as it was until the edit loses the focus.
    ASSERT_TRUE(wizard.Fill(IDC_MULTIPLIER, ""));
    EXPECT_EQ(wizard.ItemText(IDC_RWIN), "58400");

    const auto leaveWithRangeMessage = [&] {
        wizard.Focus(IDC_SCALING_FACTOR);
        const std::optional<MessageBoxInfo> box = wizard.WaitForMessageBox();
        ASSERT_TRUE(IsBox(box, Shown(text::k9), BoxIcon::Information, wizard.Sheet()));
        ASSERT_TRUE(Answer(*box, IDOK));
        EXPECT_TRUE(wizard.WaitForText(IDC_MULTIPLIER, "44"));
        EXPECT_TRUE(wizard.WaitForText(IDC_RWIN, "256960"));
        EXPECT_EQ(wizard.Caption(), kWin9xSteps[3]);
    };
    leaveWithRangeMessage();

    // 183859 x 1460 x 4 = 1073736560 is the largest window allowed at this MSS.
    ASSERT_TRUE(wizard.Fill(IDC_MULTIPLIER, "183859"));
    EXPECT_TRUE(wizard.WaitForText(IDC_RWIN, "1073736560"));
    wizard.Focus(IDC_SCALING_FACTOR);
    ExpectNoMessageBox(Vornel());
    EXPECT_EQ(wizard.ItemText(IDC_MULTIPLIER), "183859");
    EXPECT_EQ(wizard.ItemText(IDC_RWIN), "1073736560");
    // The widest numbers the page can show, for people to look at.
    EXPECT_TRUE(SaveScreenshot("wizard-win9x-4-rwin-largest-window", wizard.Sheet()));

    // One more is refused, and so is a product beyond 32 bits (the edit takes
    // seven digits).
    ASSERT_TRUE(wizard.Fill(IDC_MULTIPLIER, "183860"));
    EXPECT_TRUE(wizard.WaitForText(IDC_RWIN, "1073742400"));
    leaveWithRangeMessage();
    ASSERT_TRUE(wizard.Fill(IDC_MULTIPLIER, "800000"));
    EXPECT_TRUE(wizard.WaitForText(IDC_RWIN, "4672000000"));
    leaveWithRangeMessage();

    // Leaving with Enter and an empty multiplier reports the missing integer once:
    // the range check of the lost focus stays quiet while the page is being left.
    ASSERT_TRUE(wizard.Fill(IDC_MULTIPLIER, ""));
    wizard.PressInFocus(VK_RETURN);
    AnswerValidation(wizard, kNotInteger);
    ASSERT_TRUE(wizard.WaitForStep(kWin9xSteps[4]));
    ExpectNoMessageBox(Vornel());
    // Back again, and forward by Next, so that Enter means Next once more (the
    // sheet makes the last button clicked its default).
    ASSERT_TRUE(wizard.BackTo(kWin9xSteps[3]));
    ASSERT_TRUE(wizard.BackTo(kWin9xSteps[2]));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[3]));

    // Leaving the page with Enter from the multiplier (the focus stays in it): the
    // window out of range is replaced by the recommendation without a message.
    ASSERT_TRUE(wizard.Fill(IDC_MULTIPLIER, "183860"));
    wizard.PressInFocus(VK_RETURN);
    ASSERT_TRUE(wizard.WaitForStep(kWin9xSteps[4]));
    ExpectNoMessageBox(Vornel());
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[5], kBackFinish));

    // Finish with an empty keep-alive time: reported, then the recommendation is written.
    ASSERT_TRUE(wizard.Fill(IDC_KEEP_ALIVE_TIME, ""));
    wizard.PressInFocus(VK_RETURN);
    AnswerValidation(wizard, kNotInteger);
    Expect41AndClose(wizard, main, [&] {
        EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "DefaultRcvWindow"), "256960");
        EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "GlobalMaxTcpWindowSize"),
                  "256960");
        EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "KeepAliveTime"), "7200000");
    });
}

// Windows NT 4.0 has no window scaling: the recommendation is the largest window within
// 65535, and the range message names 65535. Its MTU in force is the smallest its bound
// adapters have.
TEST_F(WizardTest, OnNt40TheReceiveWindowEndsAt65535AndTheMtuIsTheAdaptersOwn) {
    BindTestAdapter("El90x1", 1500);
    BindTestAdapter("NdisWan4", 1400);
    HWND main = StartAs("nt40");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWinNtSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;
    wizard.ClickItem(IDC_step2_RADIO_DSL);
    ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(IDC_step2_RADIO_DSL); }));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[1]));
    ExpectMtuPage(wizard, 1492, 1452, WasSet(1400, "bytes"), kNotSet);
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[2]));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[3]));
    ExpectRwinPage(wizard, 1452, 11, 63888, kNotSet);
    EXPECT_TRUE(SaveScreenshot("wizard-nt40-4-rwin", wizard.Sheet()));

    // 12 x 1452 x 4 = 69696 is past what NT 4.0 takes.
    ASSERT_TRUE(wizard.Fill(IDC_MULTIPLIER, "12"));
    EXPECT_TRUE(wizard.WaitForText(IDC_RWIN, "69696"));
    wizard.Focus(IDC_SCALING_FACTOR);
    const std::optional<MessageBoxInfo> box = wizard.WaitForMessageBox();
    ASSERT_TRUE(IsBox(box, Shown(text::k10), BoxIcon::Information, wizard.Sheet()));
    ASSERT_TRUE(Answer(*box, IDOK));
    EXPECT_TRUE(wizard.WaitForText(IDC_MULTIPLIER, "11"));
    EXPECT_TRUE(wizard.WaitForText(IDC_RWIN, "63888"));
    wizard.Cancel();
    EXPECT_TRUE(wizard.WaitUntilClosed());
}

}  // namespace
}  // namespace e2e::wizard
