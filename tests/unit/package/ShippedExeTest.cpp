// Checks the shipped program file itself: a PE32 i386 GUI program for
// subsystem 4.0 that imports only the allowed functions of libraries every supported
// Windows loads from its system folder, and its version resource.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "framework/DialogTemplate.h"
#include "tests/shared/PeImage.h"
#include "ui/VersionResource.h"

namespace {

using pe::PeImage;

std::filesystem::path ShippedExePath() {
    return std::filesystem::path(VORNEL_BINARY_DIR) / ".." / "win32" / "Vornel.exe";
}

class ShippedExe : public ::testing::Test {
protected:
    void SetUp() override {
        const auto path = ShippedExePath();
        if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not built in this tree";
        m_image = std::make_unique<PeImage>(pe::ReadPeImage(path));
    }
    std::unique_ptr<PeImage> m_image;
};

TEST_F(ShippedExe, IsAnI386GuiProgramForSubsystemFour) {
    const PeImage& pe = *m_image;
    ASSERT_EQ(pe.U16(0), 0x5a4d);              // MZ
    ASSERT_EQ(pe.U32(pe.Nt()), 0x00004550u);   // PE\0\0
    EXPECT_EQ(pe.U16(pe.Nt() + 4), 0x014c);    // i386
    EXPECT_EQ(pe.U16(pe.Optional()), 0x010b);  // PE32, not PE32+
    EXPECT_EQ(pe.U16(pe.Optional() + 68), 2);  // Windows GUI subsystem
    EXPECT_EQ(pe.U16(pe.Optional() + 48), 4);  // subsystem version 4.0
    EXPECT_EQ(pe.U16(pe.Optional() + 50), 0);
}

// What the program may import, library by library. A library imported by name is
// looked for beside the program before the system folder, unless the system always
// takes it from the system folder: its "known" libraries and the libraries those need,
// which are in memory before the program's imports are resolved. Vornel is started
// from download folders, where anyone may have left a DLL.
// - kernel32, user32, gdi32 and advapi32 are known on Windows NT 4.0, 2000 and XP
//   (Session Manager\KnownDLLs), and on Windows 95/98/Me they are the system's own
//   modules, loaded by the system itself and shared by every process by name.
// - No C runtime DLL: msvcrt.dll is known on Windows 2000 and XP but not on NT 4.0
//   (whose list has crtdll, not msvcrt) nor on 95/98/Me (Windows 95 does not even ship
//   it; 98 and Me have it in the system folder but search the program's folder first),
//   and an import is resolved before any of the program's code runs. The program
//   carries its own small C runtime instead (app/runtime).
// - version.dll is known on NT 4.0 too, but not on 95/98/Me; shlwapi.dll is on none
//   of the old releases (NT 4.0 has it only with a shell update); comctl32.dll is
//   known on none of them. None of the three is imported: the registry delete is our
//   own, the version resource is read in place, and the common controls are loaded
//   from the system folder or, where the manifest applies, side by side
//   (framework/CommonControls.cpp).
// The functions are listed too, so that no newer function slips in through a
// runtime: Windows 95 or NT 4.0 would refuse to start the program (Wine would not).
TEST_F(ShippedExe, ImportsOnlyTheAllowedFunctionsOfLibrariesTheSystemAlwaysLoads) {
    const std::map<std::string, std::set<std::string>> allowed = {
        {"kernel32.dll",
         {"CloseHandle",
          "CreateFileA",
          "CreateMutexA",
          "ExitProcess",
          "FindClose",
          "FindFirstFileA",
          "FindNextFileA",
          "FindResourceA",
          "FreeLibrary",
          "GetACP",
          "GetCommandLineA",
          "GetFileAttributesA",
          "GetFileSize",
          "GetLastError",
          "GetModuleFileNameA",
          "GetModuleHandleA",
          "GetPrivateProfileStringA",
          "GetProcessHeap",
          "GetProcAddress",
          "GetStartupInfoA",
          "GetSystemDirectoryA",
          "GetVersion",
          "GetVersionExA",
          "HeapAlloc",
          "HeapFree",
          "HeapReAlloc",
          "LoadLibraryA",
          "LoadLibraryExA",
          "LoadResource",
          "LockResource",
          "MulDiv",
          "OutputDebugStringA",
          "ReadFile",
          "SetLastError",
          "SizeofResource",
          "WideCharToMultiByte",
          "lstrcmpiA"}},
        {"user32.dll",
         {"AppendMenuA",
          "BeginPaint",
          "CallWindowProcA",
          "CheckRadioButton",
          "CreateDialogIndirectParamA",
          "DefWindowProcA",
          "DestroyIcon",
          "DestroyWindow",
          "DrawFocusRect",
          "DialogBoxIndirectParamA",
          "DialogBoxParamA",
          "DrawIcon",
          "DrawTextA",
          "EnumWindows",
          "EnableWindow",
          "EndDialog",
          "EndPaint",
          "FillRect",
          "GetClassInfoA",
          "GetClientRect",
          "GetDC",
          "GetDlgItem",
          "GetDlgItemInt",
          "GetDlgItemTextA",
          "GetLastActivePopup",
          "GetParent",
          "GetPropA",
          "GetSysColor",
          "GetSysColorBrush",
          "GetSystemMenu",
          "GetSystemMetrics",
          "GetWindow",
          "GetWindowLongA",
          "GetWindowRect",
          "GetWindowTextA",
          "GetWindowTextLengthA",
          "InvalidateRect",
          "IsChild",
          "IsIconic",
          "IsWindow",
          "IsWindowVisible",
          "KillTimer",
          "LoadImageA",
          "LoadStringA",
          "MapDialogRect",
          "MessageBoxA",
          "PostMessageA",
          "ReleaseDC",
          "RemovePropA",
          "SendMessageA",
          "SetDlgItemTextA",
          "SetFocus",
          "SetForegroundWindow",
          "SetPropA",
          "SetTimer",
          "SetWindowLongA",
          "SetWindowPos",
          "SetWindowTextA",
          "ShowWindow",
          "SystemParametersInfoA"}},
        // The pictures in their palettes and the words written on one (all in Windows 95
        // and NT 3.51).
        {"gdi32.dll",
         {"CreateCompatibleDC", "CreateDIBSection", "CreateFontA", "CreatePalette", "DeleteDC",
          "DeleteObject", "ExtTextOutA", "GdiFlush", "GetTextExtentPoint32A", "GetTextMetricsA",
          "RealizePalette", "SelectObject", "SelectPalette", "SetBkColor", "SetBkMode", "SetDIBits",
          "SetTextAlign", "SetTextColor", "UnrealizeObject"}},
        {"advapi32.dll",
         {"RegCloseKey", "RegCreateKeyExA", "RegDeleteKeyA", "RegDeleteValueA", "RegEnumKeyExA",
          "RegEnumValueA", "RegOpenKeyExA", "RegQueryInfoKeyA", "RegQueryValueExA",
          "RegSetValueExA"}},
    };
    const auto imports = m_image->Imports();
    ASSERT_FALSE(imports.empty());
    std::string unexpected;
    for (const auto& [dll, function] : imports) {
        const auto library = allowed.find(dll);
        if (library == allowed.end() || !library->second.count(function)) {
            unexpected += "\n  " + dll + " " + function;
        }
    }
    EXPECT_EQ(unexpected, "") << "imports beyond the allowed list:" << unexpected;
}

// Windows 95 has most wide-character (Unicode) functions only as stubs that fail; these
// are the ones it implements (Microsoft's KB 210341, "Unicode support in Windows 95 and
// Windows 98"). The program imports none today; one of the others would do nothing on
// Windows 95, and could come in unseen through a runtime, as CreateSemaphoreW once did.
TEST_F(ShippedExe, ImportsNoWideCharacterFunctionThatWindows95OnlyStubs) {
    const std::set<std::string> implemented = {"EnumResourceLanguagesW",
                                               "EnumResourceNamesW",
                                               "EnumResourceTypesW",
                                               "ExtTextOutW",
                                               "FindResourceExW",
                                               "FindResourceW",
                                               "GetCharWidthW",
                                               "GetCommandLineW",
                                               "GetTextExtentExPointW",
                                               "GetTextExtentPoint32W",
                                               "GetTextExtentPointW",
                                               "lstrlenW",
                                               "MessageBoxExW",
                                               "MessageBoxW",
                                               "TextOutW"};
    std::string stubbed;
    for (const auto& [dll, function] : m_image->Imports()) {
        if (!function.empty() && function.back() == 'W' && !implemented.count(function)) {
            stubbed += "\n  " + dll + " " + function;
        }
    }
    EXPECT_EQ(stubbed, "") << "wide-character functions Windows 95 only stubs:" << stubbed;
}

// The dialogs as the resource compiler wrote them read into their fields and write back to
// the same bytes (the main dialog is rewritten so where the common controls lack a class).
TEST_F(ShippedExe, EveryDialogTemplateReadsAndWritesBackUnchanged) {
    const std::vector<std::uint32_t> dialogs = m_image->ResourceIds(5 /* RT_DIALOG */);
    ASSERT_GE(dialogs.size(), 10u);
    for (const std::uint32_t id : dialogs) {
        const std::vector<std::uint8_t> bytes = m_image->Resource(5, id);
        const auto dialog = dialog_template::Read(bytes);
        ASSERT_TRUE(dialog) << "dialog " << id;
        EXPECT_TRUE(dialog->extended) << "dialog " << id;
        EXPECT_FALSE(dialog->items.empty()) << "dialog " << id;
        EXPECT_EQ(dialog_template::Write(*dialog), bytes) << "dialog " << id;
    }
}

// The About box reads its texts from the program's own version resource, walked
// in place; here that walk runs on the block the shipped file holds.
TEST_F(ShippedExe, VersionResourceGivesTheAboutBoxTexts) {
    const std::vector<std::uint8_t> block = m_image->Resource(16 /* RT_VERSION */, 1);
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(version::FindString(block, "040904b0", "FileVersion"), u"2, 0, 0");
    EXPECT_EQ(version::FindString(block, "040904b0", "LegalCopyright"),
              u"Copyright \u00a9 2003 Vornel Software. All rights reserved.");
    EXPECT_EQ(version::FindString(block, "040904B0", "productname"), u"Vornel");
    EXPECT_EQ(version::FindString(block, "040904b0", "Comments"), std::nullopt);
    EXPECT_EQ(version::FindString(block, "040704b0", "FileVersion"), std::nullopt);
    EXPECT_EQ(version::FindString(block, "040904b0", "Translation"), std::nullopt);

    // A block cut short anywhere states lengths beyond its end: it gives nothing,
    // read from a copy of exactly its size.
    for (std::size_t size = 0; size < block.size(); ++size) {
        const std::vector<std::uint8_t> cut(block.begin(),
                                            block.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(version::FindString(cut, "040904b0", "LegalCopyright"), std::nullopt) << size;
    }
}

}  // namespace
