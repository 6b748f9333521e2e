// The installer and its uninstaller, run silently as an administrator scripts them:
// the files, the registry values, the installed program's language, and the backup.
#include <shlobj.h>

#include <algorithm>
#include <gtest/gtest.h>

#include "e2e/Driver.h"

namespace e2e {
namespace {

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vornel";

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Environment(const char* name) {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return length > 0 && length <= MAX_PATH ? std::string(buffer, length) : std::string();
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// File names matching a pattern in a folder, without the extension, sorted.
std::vector<std::string> BaseNames(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        names.push_back(name.substr(0, name.find_last_of('.')));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// The languages that ship: the language files of the source tree.
std::vector<std::string> ShippedLanguages() {
    return BaseNames(UnixPathToWindows(std::string(VORNEL_SOURCE_DIR) + "/lang"), "*.ini");
}

// The installer under test: VORNEL_SETUP, which scripts/test.sh sets wherever it can run;
// else the one the package target left beside the Vornel.exe under test. Empty when there
// is none there (the x86-64 programs under a 64-bit-only Wine test no installer).
std::string SetupPath() {
    const std::string named = Environment("VORNEL_SETUP");
    if (!named.empty()) return named;
    const std::string folder = FolderOf(Environment("VORNEL_EXE"));
    const std::vector<std::string> found = BaseNames(folder, "Vornel-*-setup.exe");
    return found.empty() ? std::string() : folder + "\\" + found.front() + ".exe";
}

// Runs a program with its arguments to its end and gives its exit code (and its id).
std::optional<DWORD> RunToEnd(const std::string& exe, const std::string& arguments,
                              DWORD* pid = nullptr) {
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
        return std::nullopt;
    }
    CloseHandle(info.hThread);
    if (pid) *pid = info.dwProcessId;
    std::optional<DWORD> code;
    DWORD exitCode = 0;
    if (WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(info.hProcess, &exitCode)) {
        code = exitCode;
    } else {
        TerminateProcess(info.hProcess, 1);
        ADD_FAILURE() << commandLine << " did not end";
    }
    CloseHandle(info.hProcess);
    return code;
}

std::string StartMenuFolder() {
    char programs[MAX_PATH + 1] = {};
    SHGetSpecialFolderPathA(nullptr, programs, CSIDL_PROGRAMS, FALSE);
    return std::string(programs) + "\\Vornel";
}

class SilentSetup : public VornelTest {
protected:
    void SetUp() override {
        VornelTest::SetUp();
        m_setup = SetupPath();
        if (m_setup.empty()) GTEST_SKIP() << "no installer beside " << Environment("VORNEL_EXE");
        ASSERT_TRUE(Exists(m_setup)) << m_setup;
        m_folder = Install().Folder() + "\\Program Files\\Vornel";
    }
    void TearDown() override {
        SetWindowsVersion("", SetupName());
        VornelTest::TearDown();
    }
    std::string SetupName() const { return m_setup.substr(m_setup.find_last_of('\\') + 1); }

    // Installs silently (NSIS's /S and /D=, our /LANGUAGE=) under the Windows release given.
    void RunSetup(std::string_view release, const std::string& options) {
        SetWindowsVersion(release, SetupName());
        EXPECT_EQ(RunToEnd(m_setup, "/S " + options + "/D=" + m_folder), 0u);
    }

    // The uninstaller hands its work to a copy of itself in the temporary folder and
    // ends at once; the uninstall is over when that copy has ended.
    void RunUninstaller() {
        DWORD pid = 0;
        EXPECT_EQ(RunToEnd(m_folder + "\\Uninstall.exe", "/S", &pid), 0u);
        for (DWORD child : ChildProcesses(pid)) {
            if (HANDLE copy = OpenProcess(SYNCHRONIZE, FALSE, child)) {
                EXPECT_EQ(WaitForSingleObject(copy, 120000), WAIT_OBJECT_0)
                    << "the uninstaller did not end";
                CloseHandle(copy);
            }
        }
    }

    void ExpectInstalled() {
        EXPECT_TRUE(Exists(m_folder + "\\Vornel.exe"));
        EXPECT_TRUE(Exists(m_folder + "\\Uninstall.exe"));
        EXPECT_EQ(BaseNames(m_folder + "\\Lang", "*.ini"), ShippedLanguages());
        EXPECT_EQ(BaseNames(m_folder + "\\Lang", "*.bmp"), ShippedLanguages());
        EXPECT_EQ(GetString(HKEY_CURRENT_USER, kProductKey, "AppPath"), m_folder);
        EXPECT_TRUE(Exists(StartMenuFolder() + "\\Vornel.lnk"));
        EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"),
                  "\"" + m_folder + "\\Uninstall.exe\"");
    }

    void ExpectUninstalled() {
        EXPECT_FALSE(Exists(m_folder));
        EXPECT_FALSE(Exists(StartMenuFolder()));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
        EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, kProductKey, "AppPath"));
        EXPECT_FALSE(GetValue(HKEY_CURRENT_USER, kProductKey, "Language"));
    }

    std::string m_setup, m_folder;
    // The Add/Remove Programs entry is machine-wide; leave it as it was.
    ScopedKeyRestore m_uninstallEntry{HKEY_LOCAL_MACHINE, kUninstallKey};
};

TEST_F(SilentSetup, InstallsInTheChosenLanguageAndTheUninstallKeepsTheBackup) {
    RunSetup("winxp", "/LANGUAGE=German ");
    ExpectInstalled();
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kProductKey, "Language"), "German");

    {
        VornelSession& vornel = Launch(m_folder + "\\Vornel.exe");
        HWND main = vornel.StartToMainDialog();
        ASSERT_TRUE(main);
        char german[256] = {};
        GetPrivateProfileStringA("Linkvane", "IDC_SET_SETTINGS", "", german, sizeof german,
                                 (m_folder + "\\Lang\\German.ini").c_str());
        EXPECT_EQ(ItemText(main, IDC_SET_SETTINGS), german);
        HWND list = Item(main, IDC_LANGUAGE_LIST);
        std::vector<std::string> listed;
        for (const ComboItem& item : ComboExItems(list)) listed.push_back(item.text);
        const int selected = ComboSelection(list);
        ASSERT_GE(selected, 0);
        EXPECT_EQ(listed[static_cast<size_t>(selected)], "German");
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, ShippedLanguages());
        vornel.Process().Terminate();
    }

    const KeyTree backup{{{"DefaultTTL", RegValue::Dword(128)}}, {}};
    WriteKeyTree(HKEY_CURRENT_USER, kBackupKey, backup);
    // Run as a user would on an English system, the uninstaller asks in the installation's
    // language; No leaves everything as it was.
    {
        DWORD pid = 0;
        EXPECT_EQ(RunToEnd(m_folder + "\\Uninstall.exe", "", &pid), 0u);
        const std::vector<DWORD> copies = ChildProcesses(pid);
        ASSERT_EQ(copies.size(), 1u);
        const std::optional<MessageBoxInfo> asked = WaitForMessageBox(copies.front());
        ASSERT_TRUE(asked);
        EXPECT_EQ(asked->text.rfind("Vornel bewahrt noch die Sicherung", 0), 0u) << *asked;
        EXPECT_TRUE(Answer(*asked, IDNO));
        if (HANDLE copy = OpenProcess(SYNCHRONIZE, FALSE, copies.front())) {
            EXPECT_EQ(WaitForSingleObject(copy, 120000), WAIT_OBJECT_0);
            CloseHandle(copy);
        }
        ExpectInstalled();
    }
    RunUninstaller();
    ExpectUninstalled();
    EXPECT_EQ(ReadKeyTree(HKEY_CURRENT_USER, kBackupKey), backup);
}

// Windows 98 as the installer sees it; no language asked for, so the system's (English
// here) is taken; with no backup the uninstaller leaves no trace in the registry.
TEST_F(SilentSetup, InstallsOnWindows98AndUninstallsWithoutATrace) {
    RunSetup("win98", "");
    ExpectInstalled();
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kProductKey, "Language"), "English");
    RunUninstaller();
    ExpectUninstalled();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));
}

}  // namespace
}  // namespace e2e
