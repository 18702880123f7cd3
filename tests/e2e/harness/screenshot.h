#pragma once
// Pictures of the screen: screenshots for the documentation and for failure reports, and pixels
// for tests that look at what a window shows (which icon a message box shows, a graph's curves).

#include "harness/wait.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, rows top to bottom
    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
    explicit operator bool() const { return width > 0 && height > 0; }
};

// What the screen shows where the window is (frame included), or its client area, or the whole
// screen. A window covered by another shows the other; minimized windows show nothing useful.
Image CaptureWindow(HWND window);
Image CaptureClient(HWND window);
Image CaptureScreen();

// Writes a 24-bit BMP file.
bool SaveBitmap(const Image& image, const std::string& path);
[[nodiscard]] testing::AssertionResult SaveScreenshot(HWND window, const std::string& path);

// Saves the whole screen as "failure-<n>.bmp" in the test's scratch folder and returns its
// path, for failure messages.
std::string SaveFailureScreenshot();

} // namespace e2e
