// When Reset is offered and when Set asks first: after wizard runs, after a restore that
// could not finish, and when the backup key comes and goes behind the program's back.
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

#include "ResetScenario.h"

namespace e2e::reset {
namespace {

KeyTree NtStack() {
    return Tree(
        {{"Hostname", Sz("vm")}, {"DefaultTTL", Dword(128)}, {"TcpWindowSize", Sz("8760")}},
        {{"Interfaces",
          Tree({}, {{"{AAAAAAAA-0000-0000-0000-000000000001}", Tree({{"MTU", Dword(1500)}})},
                    {"{AAAAAAAA-0000-0000-0000-000000000002}", KeyTree{}}})}});
}

KeyTree Win9xStack() {
    return Tree({{"SackOpts", Sz("0")}, {"DefaultTTL", Sz("64")}, {"LanaBase", Sz("0")}});
}

// Set with a backup in place: question "43" from the main dialog, Yes and No; after a
// Reset that could not put everything back, the warning "48", on which Enter means No.
enum class Question { ReplaceBackup, AfterUnfinishedReset };

MessageBoxInfo PressSetAndExpectQuestion(VornelSession& vornel, HWND main,
                                         Question question = Question::ReplaceBackup) {
    Click(main, IDC_SET_SETTINGS);
    const std::optional<MessageBoxInfo> box = vornel.WaitForMessageBox();
    if (!box) {
        ADD_FAILURE() << "Set asked nothing although a backup exists\n"
                      << DescribeWindows(vornel.Pid());
        return {};
    }
    const bool warning = question == Question::AfterUnfinishedReset;
    EXPECT_EQ(box->text, warning ? kUnfinishedResetQuestion : kOverwriteQuestion);
    EXPECT_EQ(box->caption, kCaption);
    EXPECT_EQ(box->icon, warning ? BoxIcon::Exclamation : BoxIcon::Question);
    EXPECT_EQ(box->owner, main);
    EXPECT_EQ(box->ButtonIds(), (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box->DefaultButton(), warning ? IDNO : IDYES);
    EXPECT_FALSE(vornel.Find(WindowKind::Wizard)) << "the wizard opened before the answer";
    return *box;
}

// No: the main dialog goes on as before, no wizard, nothing written.
void AnswerNoAndExpectNothing(VornelSession& vornel, const MessageBoxInfo& question) {
    const SystemState system = ReadSystemState();
    const std::string backup = Listing(HKEY_CURRENT_USER, kBackupKey);
    ASSERT_TRUE(Answer(question, IDNO));
    ASSERT_TRUE(vornel.Settle());
    EXPECT_FALSE(vornel.FindOpened(WindowKind::Wizard)) << "No still opened the wizard";
    EXPECT_FALSE(vornel.FindOpened(WindowKind::Message));
    EXPECT_EQ(Listing(HKEY_CURRENT_USER, kBackupKey), backup);
    EXPECT_EQ(Describe(ReadSystemState()), Describe(system));
}

// A Reset that cannot finish: the failure message, the backup kept whole and marked as
// such, Reset still offered.
void ExpectUnfinishedReset(VornelSession& vornel, HWND main) {
    std::optional<KeyTree> backup = ReadKeyTree(HKEY_CURRENT_USER, kBackupKey);
    ASSERT_TRUE(backup);
    const std::optional<MessageBoxInfo> box = PressReset(vornel, main);
    ASSERT_TRUE(box) << "a Reset that could not finish said nothing";
    ExpectOkBox(*box, kRestoreFailed, BoxIcon::Error, main);
    ASSERT_TRUE(Answer(*box, IDOK));
    EXPECT_TRUE(SettledResetEnabled(main)) << "Reset withdrawn while the backup is still there";
    backup->values["Reset Incomplete"] = Dword(1);
    EXPECT_EQ(Listing(HKEY_CURRENT_USER, kBackupKey), Listing(backup));
}

void ExpectCompletedReset(VornelSession& vornel, HWND main) {
    const std::optional<MessageBoxInfo> box = PressReset(vornel, main);
    ASSERT_TRUE(box) << "Reset showed no message";
    ExpectOkBox(*box, kRestored, BoxIcon::None, main);
    ASSERT_TRUE(Answer(*box, IDOK));
    EXPECT_FALSE(SettledResetEnabled(main));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kBackupKey));
}

class ResetState : public ResetTest {};

TEST_F(ResetState, StaysOfferedWhileTheNtStackKeyIsMissingAndFinishesOnceItIsBack) {
    InstallProductKey(std::nullopt);
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, NtStack()));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtModems, std::nullopt));
    SetValue(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer", Dword(6));
    DeleteValue(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPer1_0Server");
    const SystemState seeded = ReadSystemState();
    const std::string browserSeed =
        ValuesListing(HKEY_CURRENT_USER, keys::kBrowser, kBrowserValues);

    VornelSession* vornel = nullptr;
    HWND main = StartOn("winxp", vornel);
    ASSERT_TRUE(main);
    EXPECT_FALSE(ResetEnabled(main));
    ASSERT_NO_FATAL_FAILURE(RunWizard(*vornel, main, NtSteps(), WizardEnd::Finish));
    EXPECT_TRUE(WaitUntil([&] { return ResetEnabled(main); }));

    // The stack key disappears before Reset: the browser values come back, the stack
    // cannot, and the backup stays for a later try.
    const std::optional<KeyTree> finished = ReadKeyTree(HKEY_LOCAL_MACHINE, keys::kWinNtStack);
    ASSERT_TRUE(finished);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, keys::kWinNtStack);
    ASSERT_NO_FATAL_FAILURE(ExpectUnfinishedReset(*vornel, main));
    EXPECT_EQ(ValuesListing(HKEY_CURRENT_USER, keys::kBrowser, kBrowserValues), browserSeed);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, keys::kWinNtStack)) << "Reset created the stack key";

    // The backup still holds originals that are not in force, so Set warns before
    // replacing it; No changes nothing.
    const MessageBoxInfo question =
        PressSetAndExpectQuestion(*vornel, main, Question::AfterUnfinishedReset);
    ASSERT_TRUE(question.window);
    ASSERT_NO_FATAL_FAILURE(AnswerNoAndExpectNothing(*vornel, question));
    EXPECT_TRUE(ResetEnabled(main));

    // With the key back as Finish left it, the same backup restores everything.
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, finished));
    ASSERT_NO_FATAL_FAILURE(ExpectCompletedReset(*vornel, main));
    EXPECT_EQ(Describe(ReadSystemState()), Describe(seeded));

    // No backup: Set opens the wizard at once; a cancelled run makes none.
    ASSERT_NO_FATAL_FAILURE(RunWizard(*vornel, main, NtSteps(), WizardEnd::Cancel));
    EXPECT_FALSE(SettledResetEnabled(main));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kBackupKey)) << "Cancel wrote a backup";
    EXPECT_EQ(Describe(ReadSystemState()), Describe(seeded)) << "Cancel wrote into the system";
}

TEST_F(ResetState, YesThenCancelAfterAnUnfinishedWin9xResetKeepsTheBackupByteForByte) {
    InstallProductKey(std::nullopt);
    ASSERT_NO_FATAL_FAILURE(
        Plant(HKEY_LOCAL_MACHINE, keys::kVxd, Tree({}, {{"MSTCP", Win9xStack()}})));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kEnum, std::nullopt));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kServiceClasses, std::nullopt));

    VornelSession* vornel = nullptr;
    HWND main = StartOn("win98", vornel);
    ASSERT_TRUE(main);
    EXPECT_FALSE(ResetEnabled(main));
    ASSERT_NO_FATAL_FAILURE(RunWizard(*vornel, main, Win9xSteps(), WizardEnd::Finish));
    EXPECT_TRUE(WaitUntil([&] { return ResetEnabled(main); }));
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kBackupKey, "DefaultTTL"), Sz("64"));

    const std::optional<KeyTree> finished = ReadKeyTree(HKEY_LOCAL_MACHINE, keys::kWin9xStack);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, keys::kWin9xStack);
    ASSERT_NO_FATAL_FAILURE(ExpectUnfinishedReset(*vornel, main));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, keys::kWin9xStack)) << "Reset created the stack key";

    // Yes opens the wizard; Cancel then leaves the backup exactly as it was.
    const std::optional<KeyTree> backup = ReadKeyTree(HKEY_CURRENT_USER, kBackupKey);
    ASSERT_TRUE(backup);
    const MessageBoxInfo question =
        PressSetAndExpectQuestion(*vornel, main, Question::AfterUnfinishedReset);
    ASSERT_TRUE(question.window);
    ASSERT_TRUE(Answer(question, IDYES));
    HWND wizard = vornel->WaitFor(WindowKind::Wizard);
    ASSERT_TRUE(wizard) << "Yes opened no wizard";
    ASSERT_NO_FATAL_FAILURE(WalkWizard(*vornel, wizard, {Win9xSteps().front()}, WizardEnd::Cancel));
    EXPECT_TRUE(SettledResetEnabled(main));
    EXPECT_EQ(ReadKeyTree(HKEY_CURRENT_USER, kBackupKey), backup) << "Cancel touched the backup";

    // The stack key is back as Finish left it: the same backup puts the seed back.
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWin9xStack, finished));
    ASSERT_NO_FATAL_FAILURE(ExpectCompletedReset(*vornel, main));
    EXPECT_EQ(Listing(HKEY_LOCAL_MACHINE, keys::kWin9xStack), Listing(Win9xStack()));
}

// The warning after an unfinished Reset, in each shipped language and after a restart:
// No, the button Enter presses, keeps the backup; Yes and a Finish replace it, and the
// question after that is the usual one.
TEST_F(ResetState, AfterAnUnfinishedResetSetWarnsInEveryShippedLanguage) {
    const char* const languages[] = {"German", "French", "Spanish", "English"};
    std::map<std::string, std::string> files;
    for (const char* language : languages) files[language] = Install().AddShippedLanguage(language);
    InstallProductKey("English");
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, NtStack()));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtModems, std::nullopt));
    {
        VornelSession* first = nullptr;
        HWND main = StartOn("winxp", first);
        ASSERT_TRUE(main);
        ASSERT_NO_FATAL_FAILURE(RunWizard(*first, main, NtSteps(), WizardEnd::Finish));
        ASSERT_TRUE(WaitUntil([&] { return ResetEnabled(main); }));
        const std::optional<KeyTree> finished = ReadKeyTree(HKEY_LOCAL_MACHINE, keys::kWinNtStack);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, keys::kWinNtStack);
        ASSERT_NO_FATAL_FAILURE(ExpectUnfinishedReset(*first, main));
        ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, finished));
        SystemCommand(main, SC_CLOSE);
        ASSERT_TRUE(first->Process().WaitForExit());
    }

    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    const std::optional<KeyTree> backup = ReadKeyTree(HKEY_CURRENT_USER, kBackupKey);
    HWND list = Item(main, IDC_LANGUAGE_LIST);
    for (const char* language : languages) {
        SCOPED_TRACE(language);
        const std::vector<ComboItem> items = ComboExItems(list);
        const auto item = std::find_if(items.begin(), items.end(), [&](const ComboItem& entry) {
            return entry.text == language;
        });
        ASSERT_NE(item, items.end());
        SelectComboItem(main, IDC_LANGUAGE_LIST, static_cast<int>(item - items.begin()));
        const std::string title = ShownText(files[language], "18");
        ASSERT_TRUE(WaitUntil([&] { return Text(main) == (title.empty() ? kCaption : title); }));

        Click(main, IDC_SET_SETTINGS);
        const std::optional<MessageBoxInfo> box = vornel.WaitForMessageBox();
        ASSERT_TRUE(box) << "Set asked nothing";
        EXPECT_EQ(box->text, ShownText(files[language], "48"));
        EXPECT_EQ(box->icon, BoxIcon::Exclamation);
        EXPECT_EQ(box->DefaultButton(), IDNO);
        SaveScreenshot(std::string("unfinished-reset-warning-") + language, box->window);
        if (language != languages[std::size(languages) - 1]) {
            ASSERT_NO_FATAL_FAILURE(AnswerNoAndExpectNothing(vornel, *box));
            EXPECT_EQ(ReadKeyTree(HKEY_CURRENT_USER, kBackupKey), backup);
            continue;
        }
        ASSERT_TRUE(Answer(*box, IDYES));
        HWND wizard = vornel.WaitFor(WindowKind::Wizard);
        ASSERT_TRUE(wizard) << "Yes opened no wizard";
        ASSERT_NO_FATAL_FAILURE(WalkWizard(vornel, wizard, NtSteps(), WizardEnd::Finish));
    }
    EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, kBackupKey, "Reset Incomplete"));
    const MessageBoxInfo question = PressSetAndExpectQuestion(vornel, main);
    ASSERT_TRUE(question.window);
    ASSERT_NO_FATAL_FAILURE(AnswerNoAndExpectNothing(vornel, question));
}

// An earlier version's Reset put everything back and was cut short while deleting the
// backup, after its list of interfaces had gone. A VPN added since keeps its own MTU; the
// interfaces the backup names come back; the user learns what could not be checked, and
// the backup goes, so that Reset does not fail for ever.
TEST_F(ResetState, ABackupThatLostItsInterfaceListLeavesAnInterfaceAddedSinceAlone) {
    InstallProductKey(std::nullopt);
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, NtStack()));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtModems, std::nullopt));
    VornelSession* vornel = nullptr;
    HWND main = StartOn("winxp", vornel);
    ASSERT_TRUE(main);
    ASSERT_NO_FATAL_FAILURE(RunWizard(*vornel, main, NtSteps(), WizardEnd::Finish));
    ASSERT_TRUE(WaitUntil([&] { return ResetEnabled(main); }));
    // The backup as an earlier version wrote it (no list of its parts), less the list.
    DeleteValue(HKEY_CURRENT_USER, kBackupKey, "Backup Parts");
    DeleteKeyTree(HKEY_CURRENT_USER, std::string(kBackupKey) + "\\Interfaces");
    const std::string named =
        std::string(keys::kInterfaces) + "\\{AAAAAAAA-0000-0000-0000-000000000001}";
    const std::string vpn =
        std::string(keys::kInterfaces) + "\\{BBBBBBBB-0000-0000-0000-00000000000V}";
    SetDword(HKEY_LOCAL_MACHINE, vpn, "MTU", 1400);

    const std::optional<MessageBoxInfo> box = PressReset(*vornel, main);
    ASSERT_TRUE(box) << "Reset showed no message";
    ExpectOkBox(*box, kRestoredInPart, BoxIcon::Exclamation, main);
    SaveScreenshot("reset-of-a-damaged-backup", box->window);
    ASSERT_TRUE(Answer(*box, IDOK));
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, vpn, "MTU"), 1400u);
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, named, "MTU"), 1500u);
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "DefaultTTL"), 128u);
    EXPECT_FALSE(SettledResetEnabled(main));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kBackupKey));
}

// A user without administrator rights is told so before anything changes, by Set and
// by Reset alike; the backup stays for a Reset with the rights.
TEST_F(ResetState, WithoutAdministratorRightsNothingChangesAndTheBackupStays) {
    InstallProductKey(std::nullopt);
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, NtStack()));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtModems, std::nullopt));
    SetDword(HKEY_CURRENT_USER, kBackupKey, "DefaultTTL", 100);  // from an earlier run
    const SystemState seeded = ReadSystemState();
    const std::optional<KeyTree> product = ReadKeyTree(HKEY_CURRENT_USER, kProductKey);

    VornelSession* vornel = nullptr;
    HWND main = StartOn("winxp", vornel);
    ASSERT_TRUE(main);
    ASSERT_TRUE(ResetEnabled(main));
    {
        const WritesDenied limited(HKEY_LOCAL_MACHINE, keys::kWinNtStack);
        Click(main, IDC_SET_SETTINGS);
        std::optional<MessageBoxInfo> box = vornel->WaitForMessageBox();
        ASSERT_TRUE(box) << "Set said nothing";
        ExpectOkBox(*box, kNeedsRights, BoxIcon::Error, main);
        SaveScreenshot("set-without-rights", box->window);
        ASSERT_TRUE(Answer(*box, IDOK));
        ASSERT_TRUE(vornel->Settle());
        EXPECT_FALSE(vornel->FindOpened(WindowKind::Wizard)) << "the wizard opened without rights";

        box = PressReset(*vornel, main);
        ASSERT_TRUE(box) << "Reset said nothing";
        ExpectOkBox(*box, kNeedsRights, BoxIcon::Error, main);
        ASSERT_TRUE(Answer(*box, IDOK));
        EXPECT_TRUE(SettledResetEnabled(main));
        EXPECT_EQ(ReadKeyTree(HKEY_CURRENT_USER, kProductKey), product);
        EXPECT_EQ(Describe(ReadSystemState()), Describe(seeded));
    }
    ASSERT_NO_FATAL_FAILURE(ExpectCompletedReset(*vornel, main));
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "DefaultTTL"), 100u);
}

TEST_F(ResetState, SetAsksWheneverTheBackupKeyExistsWhateverTheButtonShows) {
    InstallProductKey(std::nullopt);
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, NtStack()));
    VornelSession* vornel = nullptr;
    HWND main = StartOn("winxp", vornel);
    ASSERT_TRUE(main);
    EXPECT_FALSE(ResetEnabled(main));

    // Another copy of the program opened its wizard meanwhile: the backup is there,
    // and this copy's Set must not replace it without asking.
    CreateKey(HKEY_CURRENT_USER, kBackupKey);
    const MessageBoxInfo question = PressSetAndExpectQuestion(*vornel, main);
    ASSERT_TRUE(question.window);
    ASSERT_NO_FATAL_FAILURE(AnswerNoAndExpectNothing(*vornel, question));

    // The next start offers Reset for that backup, empty as it is.
    VornelSession* next = nullptr;
    HWND nextMain = Restart(*vornel, main, next);
    ASSERT_TRUE(nextMain);
    EXPECT_TRUE(ResetEnabled(nextMain));
}

}  // namespace
}  // namespace e2e::reset
