// The main dialog's Reset button, its About box, F1, and screenshots of both windows.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

#include "MainTexts.h"
#include "e2e/Driver.h"

namespace e2e {
namespace {

// ---------------------------------------------------------------------------
// Reset is offered exactly when there is a backup to restore.

class ResetButton : public VornelTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ResetButton, IsEnabledExactlyWhenTheBackupKeyExists) {
    const bool backup = GetParam();
    InstallProductKey(std::nullopt, backup);
    HWND main = Launch().StartToMainDialog();
    ASSERT_TRUE(main);
    EXPECT_EQ(IsWindowEnabled(Item(main, IDC_RESET_SETTINGS)) != FALSE, backup);
    EXPECT_TRUE(IsWindowEnabled(Item(main, IDC_SET_SETTINGS)));
}

INSTANTIATE_TEST_SUITE_P(Backup, ResetButton, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "Present" : "Absent"; });

TEST_F(VornelTest, ResetIsEnabledByABackupKeyWithValuesAndSubkeys) {
    InstallProductKey(std::nullopt);
    SetString(HKEY_CURRENT_USER, std::string(kBackupKey) + "\\MTU Settings", "x", "1500");
    SetDword(HKEY_CURRENT_USER, kBackupKey, "DefaultTTL", 64);
    HWND main = Launch().StartToMainDialog();
    ASSERT_TRUE(main);
    EXPECT_TRUE(IsWindowEnabled(Item(main, IDC_RESET_SETTINGS)));
}

// ---------------------------------------------------------------------------
// Set asks before a wizard run would replace an existing backup.

class SetCommand : public VornelTest {};

TEST_F(SetCommand, WithABackupAsksFirstAndNoChangesNothing) {
    InstallProductKey(std::nullopt, /*backup=*/true);
    SetString(HKEY_CURRENT_USER, kBackupKey, "DefaultTTL", "32");
    const std::optional<KeyTree> keyBefore = ReadKeyTree(HKEY_CURRENT_USER, kProductKey);
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    Click(main, IDC_SET_SETTINGS);
    std::optional<MessageBoxInfo> question = vornel.WaitForMessageBox();
    ASSERT_TRUE(question);
    EXPECT_EQ(question->text,
              "Now, your old connection settings saved as backup will be overwritten with the "
              "current settings as they will be the new backup.\nDo you want to proceed?");
    EXPECT_EQ(question->caption, "Vornel");
    EXPECT_EQ(question->owner, main);
    EXPECT_EQ(question->icon, BoxIcon::Question);
    EXPECT_EQ(question->ButtonIds(), (std::vector<int>{IDYES, IDNO}));

    ASSERT_TRUE(Answer(*question, IDNO));
    ASSERT_TRUE(vornel.Settle());
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(vornel.FindOpened(WindowKind::Wizard), nullptr);
    EXPECT_EQ(ReadKeyTree(HKEY_CURRENT_USER, kProductKey), keyBefore);
    EXPECT_TRUE(IsWindowEnabled(Item(main, IDC_RESET_SETTINGS)));
}

TEST_F(SetCommand, WithABackupAndYesRunsTheWizard) {
    InstallProductKey(std::nullopt, /*backup=*/true);
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    Click(main, IDC_SET_SETTINGS);
    std::optional<MessageBoxInfo> question = vornel.WaitForMessageBox();
    ASSERT_TRUE(question);
    ASSERT_TRUE(Answer(*question, IDYES));
    HWND wizard = vornel.WaitFor(WindowKind::Wizard);
    ASSERT_TRUE(wizard);
    Click(wizard, IDCANCEL);
    EXPECT_TRUE(vornel.WaitUntilGone(wizard));
    // Closing the main dialog after a wizard run still ends the program.
    SystemCommand(main, SC_CLOSE);
    ASSERT_TRUE(vornel.Process().WaitForExit());
    EXPECT_EQ(vornel.Process().ExitCode(), 0u);
}

// ---------------------------------------------------------------------------
// The About box.

class AboutBox : public VornelTest {};

TEST_F(AboutBox, OpensFromTheSystemMenuWithVersionAndNotice) {
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    HWND about = vornel.OpenAboutBox(main);
    ASSERT_TRUE(about);
    EXPECT_EQ(Text(about), "About Vornel");
    EXPECT_EQ(Owner(about), main);
    EXPECT_EQ(ItemText(about, IDOK), "OK");
    EXPECT_EQ(ItemText(about, IDC_STATIC2), "Version");
    EXPECT_EQ(ItemText(about, IDC_FILE_VERSION), "2, 0, 0");
    const std::string notice = ItemText(about, IDC_LEGAL_COPYRIGHT);
    EXPECT_FALSE(notice.empty());
    EXPECT_NE(notice, "LegalCopyright");
    EXPECT_FALSE(IsWindowEnabled(main)) << "the About box is not modal";

    SaveScreenshot("about-box", about);

    Click(about, IDOK);
    ASSERT_TRUE(vornel.WaitUntilGone(about));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));
    EXPECT_TRUE(vornel.Process().IsRunning());
}

// A program whose path nearly fills MAX_PATH still finds its own version resource.
TEST_F(AboutBox, ShowsTheVersionOfAProgramDeepInTheFolderTree) {
    const std::size_t wanted = 258 - std::strlen("\\Vornel.exe");  // more than 256 in all
    std::string folder = Install().Folder();
    while (folder.size() < wanted) {
        const std::size_t rest = wanted - folder.size() - 1;  // after the backslash
        folder += '\\';
        folder.append(rest <= 60 ? rest : std::min<std::size_t>(60, rest - 2), 'd');
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    }
    const std::string exe = folder + "\\Vornel.exe";
    ASSERT_EQ(exe.size(), 258u);
    ASSERT_TRUE(CopyFileA(VornelExePath().c_str(), exe.c_str(), FALSE));
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch(exe);
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    HWND about = vornel.OpenAboutBox(main);
    ASSERT_TRUE(about);
    EXPECT_EQ(ItemText(about, IDC_FILE_VERSION), "2, 0, 0");
    Click(about, IDOK);
    EXPECT_TRUE(vornel.WaitUntilGone(about));
}

TEST_F(AboutBox, TranslatesTheButtonAndLabelButNeverTheVersionStrings) {
    Install().AddLanguage("Deutsch", LanguageFile({{"IDOK", "Gut"},
                                                   {"IDC_STATIC2", "Fassung:"},
                                                   {"FileVersion", "9, 9, 9"},
                                                   {"LegalCopyright", "Fremd"}}));
    InstallProductKey("Deutsch");
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    HWND about = vornel.OpenAboutBox(main);
    ASSERT_TRUE(about);
    EXPECT_EQ(ItemText(about, IDOK), "Gut");
    EXPECT_EQ(ItemText(about, IDC_STATIC2), "Fassung:");
    EXPECT_EQ(ItemText(about, IDC_FILE_VERSION), "2, 0, 0");
    EXPECT_NE(ItemText(about, IDC_LEGAL_COPYRIGHT), "Fremd");
}

TEST_F(AboutBox, EscapeClosesItAndLeavesTheMainDialog) {
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    HWND about = vornel.OpenAboutBox(main);
    ASSERT_TRUE(about);
    PressKeyInFocus(about, VK_ESCAPE);
    ASSERT_TRUE(vornel.WaitUntilGone(about));
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(vornel.Process().IsRunning());
}

// ---------------------------------------------------------------------------
// Help.

TEST_F(VornelTest, F1InTheMainDialogOpensNothing) {
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_TRUE(main);
    ASSERT_TRUE(WaitUntil([&] { return FocusedWindow(main) != nullptr; }));
    const std::vector<HWND> before = TopLevelWindows(vornel.Pid(), false);
    PressKeyInFocus(main, VK_F1);
    ASSERT_TRUE(vornel.Settle());
    // No window of its own, and no help program started.
    EXPECT_EQ(TopLevelWindows(vornel.Pid(), false), before) << DescribeWindows(vornel.Pid());
    EXPECT_EQ(ChildProcesses(vornel.Pid()), std::vector<DWORD>{});
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(vornel.WindowKinds(), std::vector<WindowKind>{WindowKind::MainDialog});
}

// ---------------------------------------------------------------------------
// Screenshots of the main dialog in each shipped language, for people to look at.

TEST_F(VornelTest, ScreenshotOfTheMainDialog) {
    namespace fs = std::filesystem;
    const fs::path shipped = fs::path(VORNEL_SOURCE_DIR) / "lang";
    std::vector<std::string> languages;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(UnixPathToWindows(shipped.string()), error)) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".ini" || extension == ".bmp") {
            fs::copy_file(entry.path(), fs::path(Install().LangFolder()) / entry.path().filename(),
                          error);
        }
        if (extension == ".ini") languages.push_back(entry.path().stem().string());
    }
    ASSERT_FALSE(languages.empty());
    // English keeps the plain name; every other language is named after it.
    for (const std::string& language : languages) {
        InstallProductKey(language);
        VornelSession& vornel = Launch();
        HWND main = vornel.StartToMainDialog();
        ASSERT_TRUE(main) << language;
        const std::optional<std::string> file =
            SaveScreenshot(language == "English" ? "main-dialog" : "main-dialog-" + language, main);
        ASSERT_TRUE(file) << language;
        std::cout << "screenshot: " << *file << "\n";
        // The next run's dialog opens in the same place.
        vornel.Process().Terminate();
        ASSERT_TRUE(vornel.Process().WaitForExit()) << language;
    }
}

}  // namespace
}  // namespace e2e
