// Vornel on a 256-colour display (this program runs on a display of depth 8): the start-up
// picture brings its own palette onto the display.
//
// Wine draws every window through a surface of fixed colours, so the pixels it shows at this
// depth are the 20 reserved colours whatever palette is realised; what a realisation changes
// is the X colormap of the program's windows (private to the program, as the test sets Wine
// up). That colormap is what this test reads: on Windows the same realisation changes the
// display's colours.
#include <windows.h>

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <sstream>

#include "e2e/Driver.h"

namespace e2e {
namespace {

using Colours = std::set<DWORD>;  // 0x00RRGGBB

std::string VornelExe() {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("VORNEL_EXE", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? path : "";
}

// The colour table of a bitmap of the program's resources.
Colours StoredPalette(int bitmapId) {
    Colours colours;
    HMODULE program = LoadLibraryExA(VornelExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!program) return colours;
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(bitmapId), RT_BITMAP);
    const auto* info =
        found ? static_cast<const BITMAPINFO*>(LockResource(LoadResource(program, found)))
              : nullptr;
    if (info && info->bmiHeader.biBitCount <= 8) {
        const DWORD count = info->bmiHeader.biClrUsed ? info->bmiHeader.biClrUsed
                                                      : 1u << info->bmiHeader.biBitCount;
        for (DWORD i = 0; i < count; ++i) {
            const RGBQUAD& c = info->bmiColors[i];
            colours.insert((DWORD{c.rgbRed} << 16) | (DWORD{c.rgbGreen} << 8) | c.rgbBlue);
        }
    }
    FreeLibrary(program);
    return colours;
}

DWORD BigEndian32(const std::string& bytes, size_t at) {
    DWORD value = 0;
    for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The X window that shows a window of Wine's.
UINT_PTR XWindow(HWND window) {
    return reinterpret_cast<UINT_PTR>(GetPropA(window, "__wine_x11_whole_window"));
}

// The colours of a window's X colormap, from a dump by xwd (its header of 25 big-endian words,
// header_size first and ncolors the 20th, then 12 bytes a colour: pixel, red, green, blue in
// 16 bits each, flags, padding). Empty when xwd failed.
Colours XColormap(HWND window) {
    const UINT_PTR xWindow = XWindow(window);
    if (xWindow == 0) return {};
    const std::string dump = std::string(VORNEL_BINARY_DIR) + "/palette-window.xwd";
    std::ostringstream command;
    command << "xwd -silent -id " << xWindow << " -out '" << dump << "'";
    if (RunUnixCommand(command.str()) != 0) return {};
    std::ifstream file(UnixPathToWindows(dump), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    if (bytes.size() < 100) return {};
    const DWORD headerSize = BigEndian32(bytes, 0);
    const DWORD count = BigEndian32(bytes, 19 * 4);
    Colours colours;
    for (DWORD i = 0; i < count && headerSize + (i + 1) * 12 <= bytes.size(); ++i) {
        const size_t at = headerSize + i * 12;
        const auto high = [&](size_t offset) {
            return static_cast<unsigned char>(bytes[at + offset]);  // the top 8 of 16 bits
        };
        colours.insert((DWORD{high(4)} << 16) | (DWORD{high(6)} << 8) | high(8));
    }
    return colours;
}

// A screenshot for people to look at, read through the window's own colormap (a shot of the
// whole screen would read it through the display's).
void Photograph(HWND window, const std::string& name) {
    std::ostringstream command;
    command << "mkdir -p '" << ScreenshotFolder() << "' && import -window " << XWindow(window)
            << " '" << ScreenshotFolder() << "/" << name << ".png'";
    EXPECT_EQ(RunUnixCommand(command.str()), 0) << command.str();
}

class Palette : public VornelTest {};

TEST_F(Palette, TheStartupPictureBringsItsOwnColoursOntoA256ColourDisplay) {
    HDC screen = GetDC(nullptr);
    const int depth = GetDeviceCaps(screen, BITSPIXEL);
    const bool palettes = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(depth, 8) << "this program runs on a display of 256 colours (scripts/wine-exec.sh)";
    ASSERT_TRUE(palettes);

    const Colours stored = StoredPalette(IDB_SPLASH);
    ASSERT_GT(stored.size(), 200u) << "the start-up picture has no palette of its own";

    // Wine lets a program change colours of the display only in a colormap of its own.
    ScopedKeyRestore wine(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver");
    SetString(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "PrivateColorMap", "Y");
    InstallProductKey(std::nullopt);
    ScopedKeyRestore browser(HKEY_CURRENT_USER, keys::kBrowser);
    SetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer", 6);
    VornelSession& vornel = Launch();
    HWND splash = vornel.WaitFor(WindowKind::Splash);
    ASSERT_NE(splash, nullptr);

    // Realised when the picture is painted, and kept while it is shown.
    Colours missing = stored;
    WaitUntil([&] {
        if (!IsWindowVisible(splash)) return true;
        const Colours shown = XColormap(splash);
        if (shown.empty()) return false;
        missing.clear();
        for (DWORD colour : stored) {
            if (!shown.count(colour)) missing.insert(colour);
        }
        return missing.empty();
    });
    EXPECT_TRUE(missing.empty()) << missing.size() << " of the picture's " << stored.size()
                                 << " colours are not on the display";
    if (IsWindowVisible(splash)) Photograph(splash, "startup-picture-256-colours");

    // The list of changes at this depth, drawn in the system's colours, which the display
    // keeps whatever palette is realised: a screenshot to look at.
    PressKey(splash, VK_ESCAPE);
    HWND main = vornel.WaitFor(WindowKind::MainDialog);
    ASSERT_NE(main, nullptr);
    Click(main, IDC_WINDOWS_DEFAULTS);
    HWND preview = vornel.WaitFor(WindowKind::Changes);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(ListBoxItems(Item(preview, IDC_CHANGES_LIST)).size(), 1u);
    ASSERT_TRUE(vornel.Settle());
    Photograph(preview, "windows-defaults-256-colours");
}

}  // namespace
}  // namespace e2e
