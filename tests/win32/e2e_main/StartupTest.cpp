// Start-up of Vornel.exe end to end: which Windows releases it accepts, the refusal,
// the start-up picture, where it finds its files, and odd values in its registry key.
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <iostream>
#include <set>

#include "MainTexts.h"
#include "e2e/Driver.h"

namespace e2e {
namespace {

// ---------------------------------------------------------------------------
// Releases of both families start: picture, then the main dialog.

class AcceptedRelease : public VornelTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AcceptedRelease, ShowsTheStartupPictureThenTheMainDialog) {
    SetWindowsVersion(GetParam());
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ReadMainTexts(main), kEnglishTexts);
    EXPECT_FALSE(FindMessageBox(vornel.Pid())) << "a message box came with the main dialog";
    EXPECT_TRUE(vornel.Process().IsRunning());
}

INSTANTIATE_TEST_SUITE_P(Win9x, AcceptedRelease, ::testing::Values("win95", "win98", "winme"));
INSTANTIATE_TEST_SUITE_P(WinNT, AcceptedRelease,
                         ::testing::Values("nt40", "win2k", "winxp", "win2003"));

// The family decided at start-up shows in the wizard's step count: six steps on
// Windows 95/98/Me, eight on NT 4.0/2000/XP/2003.
struct FamilyCase {
    const char* release;
    const std::vector<std::string>* steps;  // of the family's run
};

void PrintTo(const FamilyCase& family, std::ostream* out) {
    *out << family.release;
}

class FamilyOfRelease : public VornelTest, public ::testing::WithParamInterface<FamilyCase> {};

TEST_P(FamilyOfRelease, ShowsInTheWizardsStepCount) {
    SetWindowsVersion(GetParam().release);
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_NE(main, nullptr);
    Click(main, IDC_SET_SETTINGS);
    HWND wizard = vornel.WaitFor(WindowKind::Wizard);
    ASSERT_NE(wizard, nullptr) << "Set Connection Settings opened no wizard\n"
                               << DescribeWindows(vornel.Pid());
    EXPECT_TRUE(WaitUntil([&] { return Text(wizard).starts_with("Step 1 of"); })) << Text(wizard);
    EXPECT_EQ(Text(wizard), GetParam().steps->front());
    Click(wizard, IDCANCEL);
    EXPECT_TRUE(vornel.WaitUntilGone(wizard));
    // Cancelled: no backup was made, so there is nothing to reset.
    ASSERT_TRUE(vornel.Settle());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kBackupKey));
    EXPECT_FALSE(IsWindowEnabled(Item(main, IDC_RESET_SETTINGS)));
}

INSTANTIATE_TEST_SUITE_P(Releases, FamilyOfRelease,
                         ::testing::Values(FamilyCase{"win95", &kWin9xSteps},
                                           FamilyCase{"winme", &kWin9xSteps},
                                           FamilyCase{"nt40", &kWinNtSteps},
                                           FamilyCase{"win2003", &kWinNtSteps}));

// ---------------------------------------------------------------------------
// Releases after the NT 5 line are refused with message "79" and nothing else.

class RefusedRelease : public VornelTest, public ::testing::WithParamInterface<const char*> {
protected:
    // Waits for the refusal, noting every kind of window the process showed meanwhile.
    std::optional<MessageBoxInfo> WaitForRefusal(VornelSession& vornel,
                                                 std::set<WindowKind>& seen) {
        std::optional<HWND> box = WaitFor([&]() -> std::optional<HWND> {
            std::optional<HWND> found;
            for (HWND window : vornel.Windows()) {
                const WindowKind kind = Classify(window);
                seen.insert(kind);
                if (kind == WindowKind::Message) found = window;
            }
            return found;
        });
        if (!box) return std::nullopt;
        return ReadMessageBox(*box);
    }
};

TEST_P(RefusedRelease, ShowsOnlyAnOwnerlessErrorBoxWithMessage79) {
    SetWindowsVersion(GetParam());
    InstallProductKey("English");
    const std::optional<KeyTree> keyBefore = ReadKeyTree(HKEY_CURRENT_USER, kProductKey);
    VornelSession& vornel = Launch();

    std::set<WindowKind> seen;
    std::optional<MessageBoxInfo> box = WaitForRefusal(vornel, seen);
    ASSERT_TRUE(box) << "no refusal appeared";
    EXPECT_EQ(box->text, kRefusalEnglish);
    EXPECT_EQ(box->owner, nullptr);
    // No caption of its own: Wine's default title of a message box.
    EXPECT_EQ(box->caption, "Error");
    EXPECT_EQ(box->icon, BoxIcon::Error);
    EXPECT_EQ(box->ButtonIds(), std::vector<int>{IDOK});
    EXPECT_EQ(seen, std::set<WindowKind>{WindowKind::Message});

    ASSERT_TRUE(Answer(*box, IDOK));
    EXPECT_TRUE(vornel.Process().WaitForExit()) << "Vornel did not end after its refusal";
    EXPECT_EQ(ReadKeyTree(HKEY_CURRENT_USER, kProductKey), keyBefore);
}

TEST_P(RefusedRelease, SpeaksTheStoredLanguage) {
    SetWindowsVersion(GetParam());
    InstallProductKey("Deutsch");
    Install().AddLanguage("Deutsch", LanguageFile(kGermanEntries));
    VornelSession& vornel = Launch();
    std::optional<MessageBoxInfo> box = vornel.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text,
              "Ihre Windows-Version\nwird nicht unterst\xFC"
              "tzt.");
    EXPECT_EQ(box->icon, BoxIcon::Error);
    Answer(*box, IDOK);
}

INSTANTIATE_TEST_SUITE_P(AfterNT5, RefusedRelease, ::testing::Values("vista", "win7"));

// ---------------------------------------------------------------------------
// The start-up picture.

class StartupPicture : public VornelTest {};

// The picture comes first and ends by itself; the main dialog comes only after it has
// gone. (How long it stays is a matter of measurement, not of this test.)
TEST_F(StartupPicture, ComesFirstThenGivesWayToTheMainDialogByItself) {
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch();
    // Every change in what the program shows, until the main dialog is up.
    std::vector<std::vector<WindowKind>> shown;
    const bool mainDialogShown = WaitUntil([&] {
        const std::vector<WindowKind> kinds = vornel.WindowKinds();
        if (!kinds.empty() && (shown.empty() || shown.back() != kinds)) shown.push_back(kinds);
        return std::find(kinds.begin(), kinds.end(), WindowKind::MainDialog) != kinds.end();
    });
    ASSERT_TRUE(mainDialogShown) << "no main dialog without any input\n"
                                 << DescribeWindows(vornel.Pid());
    const std::vector<std::vector<WindowKind>> expected = {{WindowKind::Splash},
                                                           {WindowKind::MainDialog}};
    EXPECT_EQ(shown, expected);
}

TEST_F(StartupPicture, IsACaptionlessPopupShowingTheWholePicture) {
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch();
    HWND splash = vornel.WaitFor(WindowKind::Splash);
    ASSERT_NE(splash, nullptr);
    EXPECT_NE(Style(splash) & static_cast<LONG_PTR>(WS_POPUP), 0);
    EXPECT_NE(Style(splash) & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(Owner(splash), nullptr);
    const std::vector<HWND> children = ChildWindows(splash);
    ASSERT_EQ(children.size(), 1u);
    RECT picture{};
    GetClientRect(children[0], &picture);
    // 280 x 186 dialog units of 8-point MS Sans Serif hold the 420 x 303 picture.
    EXPECT_NEAR(picture.right, 420, 3);
    EXPECT_NEAR(picture.bottom, 303, 3);
    RECT client{};
    GetClientRect(splash, &client);
    EXPECT_GE(client.right, picture.right - 3);
    // The height follows the dialog font: with Wine's own MS Sans Serif the 186 units
    // hold the picture as on Windows; a prefix without Wine's fonts lays the dialog
    // out with a substitute whose shorter units cut off the picture's bottom rows.
    std::cout << "start-up picture window: " << client.right << " x " << client.bottom << "\n";
    // For people to look at; the picture may be gone before the shot is taken.
    SaveScreenshot("startup-picture", splash);
}

TEST_F(StartupPicture, EscapeEndsIt) {
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch();
    HWND splash = vornel.WaitFor(WindowKind::Splash);
    ASSERT_NE(splash, nullptr);
    PressKey(splash, VK_ESCAPE);
    ASSERT_TRUE(vornel.Settle());
    EXPECT_FALSE(IsWindow(splash) && IsWindowVisible(splash)) << "the picture outlived Escape";
    EXPECT_TRUE(vornel.WaitFor(WindowKind::MainDialog)) << "no main dialog after Escape";
}

// ---------------------------------------------------------------------------
// Where the program looks for its files.

class InstallationFolder : public VornelTest {};

TEST_F(InstallationFolder, MissingAppPathFallsBackToTheProgramsOwnFolder) {
    const std::string exe = Install().CopyVornel();
    Install().AddLanguage("Deutsch", LanguageFile(kGermanEntries));
    Install().AddFlag("Deutsch", Flag(RGB(200, 0, 0)));
    WriteProductKey({std::nullopt, "Deutsch", false});
    VornelSession& vornel = Launch(exe);
    HWND main = vornel.StartToMainDialog();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ReadMainTexts(main), kGermanTexts);
    HWND list = Item(main, IDC_LANGUAGE_LIST);
    ASSERT_EQ(ComboExItems(list).size(), 1u);
    EXPECT_EQ(ComboExItems(list)[0].text, "Deutsch");
    EXPECT_EQ(ComboSelection(list), 0);
}

TEST_F(InstallationFolder, NoProductKeyMeansEnglishAndTheProgramsOwnLanguages) {
    const std::string exe = Install().CopyVornel();
    Install().AddLanguage("Deutsch", LanguageFile(kGermanEntries));
    VornelSession& vornel = Launch(exe);
    HWND main = vornel.StartToMainDialog();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ReadMainTexts(main), kEnglishTexts);
    HWND list = Item(main, IDC_LANGUAGE_LIST);
    ASSERT_EQ(ComboExItems(list).size(), 1u);
    EXPECT_EQ(ComboSelection(list), CB_ERR);
    EXPECT_FALSE(IsWindowEnabled(Item(main, IDC_RESET_SETTINGS)));

    // Choosing a language makes the product key, so that the next start keeps it.
    SelectComboItem(main, IDC_LANGUAGE_LIST, 0);
    ASSERT_TRUE(WaitUntil([&] { return Text(main) == kGermanTexts.title; })) << Text(main);
    ASSERT_TRUE(vornel.Settle());
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kProductKey, "Language"), "Deutsch");
}

// ---------------------------------------------------------------------------
// Values in the product key that the installer would never write: the program
// carries on with safe values and never crashes.

struct OddValue {
    const char* name;       // test name
    const char* valueName;  // "AppPath" or "Language"
    RegValue value;
};

void PrintTo(const OddValue& odd, std::ostream* out) {
    *out << odd.name;
}

class OddProductKeyValue : public VornelTest, public ::testing::WithParamInterface<OddValue> {};

TEST_P(OddProductKeyValue, StillReachesTheMainDialog) {
    Install().AddLanguage("Deutsch", LanguageFile(kGermanEntries));
    InstallProductKey("Deutsch");
    SetValue(HKEY_CURRENT_USER, kProductKey, GetParam().valueName, GetParam().value);
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_NE(main, nullptr);
    const MainTexts texts = ReadMainTexts(main);
    EXPECT_TRUE(texts == kEnglishTexts || texts == kGermanTexts) << texts;
    SystemCommand(main, SC_CLOSE);
    EXPECT_TRUE(vornel.Process().WaitForExit());
    EXPECT_EQ(vornel.Process().ExitCode(), 0u) << "Vornel crashed";
}

RegValue Bytes(DWORD type, std::string bytes) {
    return {type, std::move(bytes)};
}

INSTANTIATE_TEST_SUITE_P(
    Values, OddProductKeyValue,
    ::testing::Values(
        OddValue{"LongAppPath", "AppPath", RegValue::String(std::string(1000, 'A'))},
        OddValue{"AppPathOf260BytesWithoutNul", "AppPath",
                 Bytes(REG_BINARY, std::string(260, 'C'))},
        OddValue{"AppPathOf259Characters", "AppPath", RegValue::String(std::string(259, 'D'))},
        OddValue{"NumericAppPath", "AppPath", RegValue::Dword(7)},
        OddValue{"EmptyAppPath", "AppPath", Bytes(REG_SZ, "")},
        OddValue{"LongLanguage", "Language", RegValue::String(std::string(5000, 'L'))},
        OddValue{"LanguageOf260BytesWithoutNul", "Language",
                 Bytes(REG_BINARY, std::string(260, 'x'))},
        OddValue{"NumericLanguage", "Language", RegValue::Dword(0x41414141)},
        OddValue{"LanguageWithPathParts", "Language", RegValue::String("..\\..\\Deutsch")},
        OddValue{"LanguageWithFormatDirectives", "Language", RegValue::String("%s%s%n%x")}),
    [](const auto& param) { return std::string(param.param.name); });

class ProductKeyValue : public VornelTest {};

TEST_F(ProductKeyValue, LanguageWithoutTerminatingNulIsReadWhole) {
    Install().AddLanguage("Deutsch", LanguageFile(kGermanEntries));
    InstallProductKey(std::nullopt);
    SetValue(HKEY_CURRENT_USER, kProductKey, "Language", Bytes(REG_SZ, "Deutsch"));
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ReadMainTexts(main), kGermanTexts);
    EXPECT_EQ(ComboSelection(Item(main, IDC_LANGUAGE_LIST)), 0);
}

// A language is a file of the Lang folder, never one found through a path.
TEST_F(ProductKeyValue, LanguageOutsideTheLangFolderIsNotRead) {
    Install().WriteFile("Evil.ini", LanguageFile(kGermanEntries));
    InstallProductKey("..\\Evil");
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ReadMainTexts(main), kEnglishTexts);
}

// A relative folder would be looked up in the system's own folder: the program's
// folder stands in for it, as for a missing one.
TEST_F(ProductKeyValue, RelativeAppPathFallsBackToTheProgramsOwnFolder) {
    const std::string exe = Install().CopyVornel();
    Install().AddLanguage("Deutsch", LanguageFile(kGermanEntries));
    WriteProductKey({"Vornel", "Deutsch", false});
    VornelSession& vornel = Launch(exe);
    HWND main = vornel.StartToMainDialog();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ReadMainTexts(main), kGermanTexts);
}

// ---------------------------------------------------------------------------
// An exception thrown inside the program is caught at the callback boundary and reported:
// the program's own start-up has registered the unwind tables the C++ runtime walks.
// A copy whose main dialog has no controls throws when the dialog sets their texts.

bool EmptyMainDialog(const std::string& exe) {
    // A DLGTEMPLATE with no items, then no menu, the default class and no title.
    WORD empty[12] = {};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    std::memcpy(empty, &style, sizeof style);
    empty[7] = 200;  // cx
    empty[8] = 100;  // cy
    return ReplaceResource(exe, RT_DIALOG, MAKEINTRESOURCEA(IDD_VORNEL_DIALOG), empty,
                           sizeof empty);
}

class ThrownInside : public VornelTest {};

TEST_F(ThrownInside, IsCaughtAndReported) {
    const std::string exe = Install().CopyVornel();
    ASSERT_TRUE(EmptyMainDialog(exe));
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch(exe);
    const auto box = vornel.WaitForMessageBox();
    ASSERT_TRUE(box) << DescribeWindows(vornel.Pid());
    EXPECT_TRUE(box->text.starts_with("Internal error in a dialog procedure: no control with id"))
        << box->text;
    EXPECT_TRUE(vornel.Process().IsRunning());
}

// ---------------------------------------------------------------------------
// Ending the program.

class Ending : public VornelTest {};

TEST_F(Ending, TheCloseBoxEndsTheProgram) {
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_NE(main, nullptr);
    SystemCommand(main, SC_CLOSE);
    ASSERT_TRUE(vornel.Process().WaitForExit());
    EXPECT_EQ(vornel.Process().ExitCode(), 0u);
}

TEST_F(Ending, EscapeInTheMainDialogEndsTheProgram) {
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch();
    HWND main = vornel.StartToMainDialog();
    ASSERT_NE(main, nullptr);
    PressKeyInFocus(main, VK_ESCAPE);
    ASSERT_TRUE(vornel.Process().WaitForExit());
    EXPECT_EQ(vornel.Process().ExitCode(), 0u);
}

}  // namespace
}  // namespace e2e
