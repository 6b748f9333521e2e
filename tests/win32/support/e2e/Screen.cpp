// What is on screen: pixels, comparison pictures and screenshots.
#include "e2e/Screen.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

#include "e2e/Process.h"
#include "e2e/Windows.h"

namespace e2e {
namespace {

// A 32-bit top-down DIB section selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height) {
        HDC screen = GetDC(nullptr);
        m_dc = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        ReleaseDC(nullptr, screen);
        if (m_bitmap) m_old = SelectObject(m_dc, m_bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        if (m_old) SelectObject(m_dc, m_old);
        if (m_bitmap) DeleteObject(m_bitmap);
        if (m_dc) DeleteDC(m_dc);
    }
    HDC Dc() const { return m_dc; }
    Pixels Read() const {
        Pixels pixels{m_width, m_height, {}};
        if (!m_bits) return pixels;
        GdiFlush();
        const auto* first = static_cast<const DWORD*>(m_bits);
        pixels.colours.assign(first,
                              first + static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
        for (DWORD& colour : pixels.colours) colour &= 0xFFFFFF;
        return pixels;
    }

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    void* m_bits = nullptr;
};

}  // namespace

Pixels CaptureScreen(const RECT& area) {
    const int width = std::max(0, static_cast<int>(area.right - area.left));
    const int height = std::max(0, static_cast<int>(area.bottom - area.top));
    if (width == 0 || height == 0) return {};
    Canvas canvas(width, height);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.Dc(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return canvas.Read();
}

Pixels DrawOffscreen(int width, int height, const std::function<void(HDC)>& draw) {
    if (width <= 0 || height <= 0) return {};
    Canvas canvas(width, height);
    draw(canvas.Dc());
    return canvas.Read();
}

bool WaitForSteadyPicture(HWND window, Ms timeout) {
    if (!IsWindow(window)) return false;
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pixels previous;
    int sameInARow = 0;
    return WaitUntil(
        [&] {
            Pixels shown = CaptureScreen(ScreenRect(window));
            sameInARow = shown.colours == previous.colours ? sameInARow + 1 : 0;
            previous = std::move(shown);
            return sameInARow >= 3;
        },
        timeout, Ms(50));
}

std::string ScreenshotFolder() {
    return std::string(VORNEL_BINARY_DIR) + "/screenshots";
}

std::optional<std::string> SaveScreenshot(const std::string& name, HWND window) {
    const std::string file = ScreenshotFolder() + "/" + name + ".png";
    std::ostringstream command;
    command << "mkdir -p " << ShellQuote(ScreenshotFolder()) << " && import -window root";
    if (window) {
        WaitForSteadyPicture(window);
        const RECT rect = ScreenRect(window);
        command << " -crop " << (rect.right - rect.left) << "x" << (rect.bottom - rect.top) << "+"
                << rect.left << "+" << rect.top << " +repage";
    }
    command << " " << ShellQuote(file);
    const std::optional<int> status = RunUnixCommand(command.str(), Ms(30000));
    if (status != 0) {
        ADD_FAILURE() << "screenshot " << file << " failed ("
                      << (status ? "status " + std::to_string(*status) : std::string("timeout"))
                      << ")";
        return std::nullopt;
    }
    return file;
}

}  // namespace e2e
