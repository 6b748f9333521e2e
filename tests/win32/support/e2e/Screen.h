// What is on screen: pixels read back from the display, pictures drawn for comparison,
// and screenshots saved into the build tree with ImageMagick's import.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "e2e/Wait.h"

namespace e2e {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> colours;  // 0x00RRGGBB, rows from the top
};

Pixels CaptureScreen(const RECT& area);
Pixels DrawOffscreen(int width, int height, const std::function<void(HDC)>& draw);

// Makes the window repaint now and waits until what the display shows of it has
// stopped changing (Wine copies a window's painting to the display a little later).
bool WaitForSteadyPicture(HWND window, Ms timeout = Ms(5000));

// The folder the screenshots go to: <build tree>/screenshots (a Unix path).
std::string ScreenshotFolder();
// Saves a PNG of the window's area of the screen (the whole screen for a null
// window) as <screenshot folder>/<name>.png; returns the Unix path, or nullopt when
// import could not be run.
std::optional<std::string> SaveScreenshot(const std::string& name, HWND window = nullptr);

}  // namespace e2e
