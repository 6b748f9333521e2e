// Vornel started from a folder where someone has left DLLs named like the ones it
// could use: it comes up and loads none of them.
//
// What Wine's loader lets a test show. Wine takes its own (builtin) DLL for every
// system name unless told to prefer a native one, so a planted DLL is never loaded by
// default, whatever the program does. Per program, "native, builtin" makes Wine look
// for the name along the search order (the program's folder first) as Windows does
// for a library that is not one of its known ones; that is set for comctl32 and
// shlwapi. It cannot be set for:
// - version.dll and msvcrt.dll: Wine's own modules import them (gdi32 and user32 the
//   first; advapi32, sechost and most others the second), so Wine would take a planted
//   one for itself before the program runs, and the process would not start. The
//   program imports neither, no C runtime DLL at all (the shipped-exe test's
//   allow-list holds that).
// - kernel32, user32, gdi32, advapi32: Wine would run the planted ones as its own
//   core, and the process would not start. Windows always takes them from the system.
// Wine applies the program's manifest whatever release it plays, so a copy whose
// manifest asks for no side-by-side assembly shows the way of Windows 95 to 2000: the library by
// its full path in the system folder.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "e2e/Driver.h"

namespace e2e {
namespace {

constexpr const char* kPlanted[] = {"comctl32.dll", "shlwapi.dll"};
constexpr char kOverrides[] = "Software\\Wine\\AppDefaults\\Vornel.exe\\DllOverrides";

std::string Lower(std::string text) {
    CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string PlantedLibrary() {
    return ProgramFolder() + "\\vornel_planted_library.dll";
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ModuleNamed(const std::vector<std::string>& modules, const std::string& name) {
    for (const std::string& module : modules) {
        if (module.size() > name.size() && module.ends_with("\\" + name)) return module;
    }
    return {};
}

struct PlantedCase {
    const char* release;
    bool manifest;  // the program's own; otherwise one asking for no assembly
};

void PrintTo(const PlantedCase& c, std::ostream* out) {
    *out << c.release << (c.manifest ? "" : ", no side-by-side assembly");
}

class PlantedLibraries : public VornelTest, public ::testing::WithParamInterface<PlantedCase> {
protected:
    void SetUp() override {
        VornelTest::SetUp();
        for (const char* name : kPlanted) {
            SetString(HKEY_CURRENT_USER, kOverrides, name, "native,builtin");
        }
    }
    ScopedKeyRestore m_overrides{HKEY_CURRENT_USER, kOverrides};
};

// The stand-in leaves its mark whenever a loader takes it: without that, the test
// below could not tell "not loaded" from "not noticed".
TEST(PlantedLibrary, LeavesItsMarkAndRefusesToLoad) {
    Installation folder;
    const std::string copy = folder.Folder() + "\\control.dll";
    ASSERT_TRUE(CopyFileA(PlantedLibrary().c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(LoadLibraryA(copy.c_str()), nullptr);
    EXPECT_TRUE(Exists(copy + ".loaded"));
}

TEST_P(PlantedLibraries, AreNotLoadedAndTheMainDialogComesUp) {
    const std::string exe = Install().CopyVornel();
    if (!GetParam().manifest) {
        ASSERT_TRUE(ReplaceManifestWithNoAssembly(exe));
    }
    for (const char* name : kPlanted) {
        ASSERT_TRUE(
            CopyFileA(PlantedLibrary().c_str(), (Install().Folder() + "\\" + name).c_str(), FALSE));
    }
    SetWindowsVersion(GetParam().release);
    InstallProductKey(std::nullopt);
    VornelSession& vornel = Launch(exe);
    HWND main = vornel.StartToMainDialog();
    ASSERT_NE(main, nullptr) << DescribeWindows(vornel.Pid());
    for (const char* name : kPlanted) {
        EXPECT_FALSE(Exists(Install().Folder() + "\\" + name + ".loaded")) << name;
    }

    // The common controls in use come from the side-by-side store where the manifest
    // applies, and from the system folder where it does not.
    const std::string comctl = ModuleNamed(ModulesOf(vornel.Pid()), "comctl32.dll");
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    if (GetParam().manifest) {
        EXPECT_NE(comctl.find("\\winsxs\\"), std::string::npos) << comctl;
    } else {
        EXPECT_EQ(comctl, Lower(std::string(system) + "\\comctl32.dll"));
    }
}

INSTANTIATE_TEST_SUITE_P(Releases, PlantedLibraries,
                         ::testing::Values(PlantedCase{"winxp", true}, PlantedCase{"win98", true},
                                           PlantedCase{"win95", false}, PlantedCase{"nt40", false},
                                           PlantedCase{"win2k", false}));

}  // namespace
}  // namespace e2e
