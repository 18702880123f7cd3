#include "harness/screenshot.h"

#include "harness/scratch.h"

#include <algorithm>

namespace e2e {

namespace {

Image CaptureScreenRect(RECT rect) {
    rect.left = std::max<LONG>(rect.left, 0);
    rect.top = std::max<LONG>(rect.top, 0);
    rect.right = std::min<LONG>(rect.right, GetSystemMetrics(SM_CXSCREEN));
    rect.bottom = std::min<LONG>(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    Image image;
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return image;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY)) {
            GdiFlush();
            const auto* source = static_cast<const std::uint32_t*>(bits);
            image.width = width;
            image.height = height;
            image.pixels.assign(source, source + static_cast<size_t>(width) * height);
            for (auto& pixel : image.pixels)
                pixel &= 0x00FFFFFF;
        }
        SelectObject(memory, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

Image CaptureWindow(HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return {};
    return CaptureScreenRect(rect);
}

Image CaptureClient(HWND window) {
    RECT rect;
    if (!GetClientRect(window, &rect))
        return {};
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return CaptureScreenRect(rect);
}

Image CaptureScreen() {
    return CaptureScreenRect(
        RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

bool SaveBitmap(const Image& image, const std::string& path) {
    if (!image)
        return false;
    const std::uint32_t rowSize = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
    const std::uint32_t dataSize = rowSize * static_cast<std::uint32_t>(image.height);
    std::string file;
    file += "BM";
    PutLittleEndian(file, 14 + 40 + dataSize, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 14 + 40, 4);
    PutLittleEndian(file, 40, 4);
    PutLittleEndian(file, static_cast<std::uint32_t>(image.width), 4);
    PutLittleEndian(file, static_cast<std::uint32_t>(image.height), 4); // rows bottom to top
    PutLittleEndian(file, 1, 2);
    PutLittleEndian(file, 24, 2);
    PutLittleEndian(file, BI_RGB, 4);
    PutLittleEndian(file, dataSize, 4);
    PutLittleEndian(file, 2835, 4); // 72 dots per inch
    PutLittleEndian(file, 2835, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 0, 4);
    for (int y = image.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < image.width; ++x)
            PutLittleEndian(row, image.At(x, y), 3); // blue, green, red
        row.resize(rowSize, '\0');
        file += row;
    }
    return WriteFileBytes(path, file);
}

testing::AssertionResult SaveScreenshot(HWND window, const std::string& path) {
    Image image = CaptureWindow(window);
    if (!image)
        return testing::AssertionFailure() << "nothing to capture of window " << window;
    if (!SaveBitmap(image, path))
        return testing::AssertionFailure() << "cannot write " << path;
    return testing::AssertionSuccess();
}

std::string SaveFailureScreenshot() {
    static int number = 0;
    std::string path = JoinPath(ScratchFolder(), "failure-" + std::to_string(++number) + ".bmp");
    if (!SaveBitmap(CaptureScreen(), path))
        return "(no screenshot)";
    return path;
}

} // namespace e2e
