// Vornel on the common controls of Windows 95 and NT 4.0 as first released: comctl32.dll
// 4.00, which has no extended combo box and no InitCommonControlsEx (both came with
// Internet Explorer 3). Wine has only the newest library, so the test puts a stand-in of
// 4.00 in the system folder (standin/: 4.00's functions forwarded to a copy of Wine's
// library, the newer classes taken away) and has Wine load it for Vornel.exe. Windows 95
// and NT 4.0 read no manifest, so the copy of the program run here asks for no
// side-by-side assembly and loads the library from the system folder as it would there.
#include <windows.h>

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "e2e/Driver.h"

namespace e2e {
namespace {

constexpr char kOverrides[] = "Software\\Wine\\AppDefaults\\Vornel.exe\\DllOverrides";
constexpr const char* kShippedLanguages[] = {"English", "French", "German", "Spanish"};

std::string SystemFolder() {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string TestProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string file(path, length);
    return file.substr(0, file.find_last_of('\\'));
}

bool Loaded(DWORD pid, const std::string& path) {
    std::string lower = path;
    CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    const std::vector<std::string> modules = ModulesOf(pid);
    return std::find(modules.begin(), modules.end(), lower) != modules.end();
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

class FirstReleaseControls : public VornelTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        VornelTest::SetUp();
        // Wine's own library, under the name the stand-in forwards to; the stand-in in its
        // place, for Vornel.exe alone.
        ASSERT_TRUE(CopyFileA(Library().c_str(), m_saved.c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(Library().c_str(), WineCopy().c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((TestProgramFolder() + "\\vornel_comctl32_v400.dll").c_str(),
                              Library().c_str(), FALSE));
        SetString(HKEY_CURRENT_USER, kOverrides, "comctl32", "native");
    }
    void TearDown() override {
        VornelTest::TearDown();  // ends the program first
        CopyFileA(m_saved.c_str(), Library().c_str(), FALSE);
        DeleteFileA(m_saved.c_str());
        DeleteFileA(WineCopy().c_str());
    }

    static std::string Library() { return SystemFolder() + "\\comctl32.dll"; }
    static std::string WineCopy() { return SystemFolder() + "\\wine_comctl32.dll"; }

    ScopedKeyRestore m_overrides{HKEY_CURRENT_USER, kOverrides};
    std::string m_saved = SystemFolder() + "\\comctl32.vornel-test";
};

TEST_P(FirstReleaseControls, MainDialogListsEveryLanguageWithItsFlagAndChangesLanguage) {
    std::string german;
    for (const char* name : kShippedLanguages) {
        const std::string file = Install().AddShippedLanguage(name);
        if (std::string(name) == "German") german = file;
    }
    const std::string exe = Install().CopyVornel();
    ASSERT_TRUE(ReplaceManifestWithNoAssembly(exe));
    SetWindowsVersion(GetParam());
    InstallProductKey("English");

    VornelSession& vornel = Launch(exe);
    HWND main = vornel.StartToMainDialog();
    ASSERT_NE(main, nullptr) << DescribeWindows(vornel.Pid());
    // It runs on the stand-in: the library from the system folder, forwarding to Wine's.
    EXPECT_TRUE(Loaded(vornel.Pid(), Library()));
    EXPECT_TRUE(Loaded(vornel.Pid(), WineCopy()));

    // The list is a plain combo box that draws its items, each with its flag.
    HWND list = Item(main, IDC_LANGUAGE_LIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ClassOf(list), "ComboBox");
    EXPECT_EQ(Style(list) & (CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_DROPDOWNLIST),
              CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_DROPDOWNLIST);
    const std::vector<std::string> order = Install().LanguagesInListingOrder();
    const std::vector<ComboItem> items = ComboItems(list);
    ASSERT_EQ(items.size(), order.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].text, order[i]);
        EXPECT_EQ(items[i].image, static_cast<int>(i)) << "the flag of " << order[i];
    }
    const auto at = [&](const std::string& name) {
        return static_cast<int>(std::find(order.begin(), order.end(), name) - order.begin());
    };
    EXPECT_EQ(ComboSelection(list), at("English"));
    SaveScreenshot(std::string("comctl400-main-dialog-") + GetParam(), main);
    SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
    SaveScreenshot(std::string("comctl400-language-list-") + GetParam());
    SendMessageA(list, CB_SHOWDROPDOWN, FALSE, 0);

    // Choosing German with the keyboard relabels the dialog and keeps the choice.
    SelectComboItem(main, IDC_LANGUAGE_LIST, at("German"));
    const std::string germanSet = ShownText(german, "IDC_SET_SETTINGS");
    ASSERT_FALSE(germanSet.empty());
    EXPECT_TRUE(WaitUntil([&] { return Text(Item(main, IDC_SET_SETTINGS)) == germanSet; }))
        << Text(Item(main, IDC_SET_SETTINGS));
    EXPECT_EQ(Text(main), ShownText(german, "18"));
    EXPECT_EQ(ComboSelection(list), at("German"));
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, "Software\\Vornel", "Language"), "German");

    // The list of changes is a plain list box: its preview of Windows' defaults opens here
    // too, in German, and Escape closes it.
    PressAlt(main, 'w');
    HWND preview = vornel.WaitFor(WindowKind::Changes);
    ASSERT_NE(preview, nullptr) << DescribeWindows(vornel.Pid());
    EXPECT_EQ(Text(preview), ShownText(german, "59"));
    EXPECT_EQ(ClassOf(Item(preview, IDC_CHANGES_LIST)), "ListBox");
    // A new installation holds none of the values: the list says so, and nothing can be
    // restored.
    EXPECT_EQ(ListBoxItems(Item(preview, IDC_CHANGES_LIST)),
              std::vector<std::string>{ShownText(german, "68")});
    EXPECT_FALSE(IsWindowEnabled(Item(preview, IDOK)));
    SaveScreenshot(std::string("comctl400-windows-defaults-") + GetParam(), preview);
    PressKeyInFocus(preview, VK_ESCAPE);
    EXPECT_TRUE(vornel.WaitUntilGone(preview));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kBackupKey));
}

INSTANTIATE_TEST_SUITE_P(Releases, FirstReleaseControls, ::testing::Values("win95", "nt40"));

}  // namespace
}  // namespace e2e
