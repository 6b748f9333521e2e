// Cancel and the question before a run replaces the backup: Cancel writes nothing, an
// earlier backup included; Set asks "43" exactly when a backup exists, and No changes
// nothing.
#include <gtest/gtest.h>

#include "PageChecks.h"
#include "WizardTest.h"

namespace e2e::wizard {
namespace {

using S = RegValue;

bool ResetEnabled(HWND main) {
    return IsWindowEnabled(Item(main, IDC_RESET_SETTINGS)) != 0;
}

// Set, expecting question "43" with Yes and No, owned by the main dialog.
std::optional<MessageBoxInfo> AskToSet(VornelSession& vornel, HWND main) {
    Click(main, IDC_SET_SETTINGS);
    std::optional<MessageBoxInfo> question = vornel.WaitForMessageBox();
    EXPECT_TRUE(IsBox(question, Shown(text::k43), BoxIcon::Question, main));
    if (question) {
        EXPECT_EQ(question->ButtonIds(), (std::vector<int>{IDYES, IDNO}));
    }
    return question;
}

TEST_F(WizardTest, NoKeepsTheOldBackupAndSoDoesCancelAfterYes) {
    SetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer", 2);
    SetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "DefaultTTL", 128);
    AddInterface("{1A}", 1500, std::nullopt);
    SetWindowsVersion("winxp");
    InstallProductKey(std::nullopt);
    // A backup from an earlier run, with a value no backup of today's settings has.
    SetDword(HKEY_CURRENT_USER, kBackupKey, "Earlier", 1);
    SetDword(HKEY_CURRENT_USER, std::string(kBackupKey) + "\\MTU Settings", "{1A}", 576);
    const std::optional<KeyTree> oldBackup = ReadKeyTree(HKEY_CURRENT_USER, kBackupKey);
    const std::optional<KeyTree> browser = ReadKeyTree(HKEY_CURRENT_USER, keys::kBrowser);
    const std::optional<KeyTree> stack = ReadKeyTree(HKEY_LOCAL_MACHINE, keys::kWinNtStack);

    HWND main = Start();
    ASSERT_TRUE(main);
    ASSERT_TRUE(ResetEnabled(main));

    std::optional<MessageBoxInfo> question = AskToSet(Vornel(), main);
    ASSERT_TRUE(question);
    ASSERT_TRUE(Answer(*question, IDNO));
    ASSERT_TRUE(Vornel().Settle());
    EXPECT_FALSE(Vornel().FindOpened(WindowKind::Wizard)) << "No opened the wizard";
    EXPECT_TRUE(KeyIs(HKEY_CURRENT_USER, kBackupKey, oldBackup));
    EXPECT_TRUE(ResetEnabled(main));
    EXPECT_TRUE(IsWindowEnabled(main));

    // Yes opens the wizard; the backup is replaced only by Finish, so Cancel (or
    // anything else that ends the run early) leaves the user's originals.
    question = AskToSet(Vornel(), main);
    ASSERT_TRUE(question);
    ASSERT_TRUE(Answer(*question, IDYES));
    HWND sheet = Vornel().WaitFor(WindowKind::Wizard);
    ASSERT_TRUE(sheet);
    const Wizard wizard(Vornel(), sheet);
    ASSERT_TRUE(wizard.WaitForStep(kWinNtSteps[0], kNextOnly));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[1]));
    wizard.Cancel();
    ASSERT_TRUE(wizard.WaitUntilClosed());
    ASSERT_TRUE(Vornel().Settle());
    EXPECT_FALSE(FindMessageBox(Vornel().Pid(), false)) << "Cancel asked or told something";

    EXPECT_TRUE(KeyIs(HKEY_CURRENT_USER, kBackupKey, oldBackup)) << "Cancel touched the backup";
    EXPECT_TRUE(KeyIs(HKEY_CURRENT_USER, keys::kBrowser, browser));
    EXPECT_TRUE(KeyIs(HKEY_LOCAL_MACHINE, keys::kWinNtStack, stack));
    EXPECT_TRUE(ResetEnabled(main));
}

// Whether a backup exists is asked of the registry, not of the Reset button.
TEST_F(WizardTest, SetAsksExactlyWhenTheBackupKeyExists) {
    HWND main = StartAs("win98");
    ASSERT_TRUE(main);
    ASSERT_FALSE(ResetEnabled(main));

    // A backup appears behind the program's back: Set asks although Reset is disabled.
    CreateKey(HKEY_CURRENT_USER, kBackupKey);
    std::optional<MessageBoxInfo> question = AskToSet(Vornel(), main);
    ASSERT_TRUE(question);
    ASSERT_TRUE(Answer(*question, IDNO));
    ASSERT_TRUE(Vornel().Settle());
    EXPECT_FALSE(Vornel().FindOpened(WindowKind::Wizard)) << "No opened the wizard";
    EXPECT_TRUE(KeyIs(HKEY_CURRENT_USER, kBackupKey, KeyTree{}));

    // It goes away again: Set opens the wizard at once.
    DeleteKeyTree(HKEY_CURRENT_USER, kBackupKey);
    Click(main, IDC_SET_SETTINGS);
    HWND sheet = Vornel().WaitFor(WindowKind::Wizard);
    ASSERT_TRUE(sheet) << DescribeWindows(Vornel().Pid());
    const Wizard wizard(Vornel(), sheet);
    ASSERT_TRUE(wizard.WaitForStep(kWin9xSteps[0], kNextOnly));
    wizard.Cancel();
    ASSERT_TRUE(wizard.WaitUntilClosed());
    ASSERT_TRUE(Vornel().Settle());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kBackupKey)) << "Cancel made a backup";
    EXPECT_FALSE(ResetEnabled(main));
}

}  // namespace
}  // namespace e2e::wizard
