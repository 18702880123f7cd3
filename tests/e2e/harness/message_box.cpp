#include "harness/message_box.h"

#include "harness/controls.h"
#include "harness/screenshot.h"
#include "harness/window_find.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace e2e {

namespace {

constexpr int kTextId = 0xFFFF;

std::vector<HWND> ChildrenOf(HWND window) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

bool IsIconStatic(HWND control) {
    return ClassOf(control) == "Static" &&
           (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

HWND IconStatic(HWND box) {
    for (HWND child : ChildrenOf(box))
        if (IsIconStatic(child))
            return child;
    return nullptr;
}

// The standard icon drawn at the given size on black and on white: a pixel that comes out the
// same on both belongs to the icon, the others are transparent.
struct Rendered {
    Image onBlack;
    Image onWhite;
};

Image Draw(HICON icon, int width, int height, DWORD background) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    Image image;
    HDC memory = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        PatBlt(memory, 0, 0, width, height, background);
        DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        image.width = width;
        image.height = height;
        image.pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
        for (auto& pixel : image.pixels)
            pixel &= 0x00FFFFFF;
        SelectObject(memory, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    return image;
}

int ChannelDifference(std::uint32_t a, std::uint32_t b) {
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8)
        sum +=
            std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return sum;
}

// Mean difference per colour channel over the icon's opaque pixels; large when no pixel is.
double Distance(const Image& shown, HICON icon) {
    Image black = Draw(icon, shown.width, shown.height, BLACKNESS);
    Image white = Draw(icon, shown.width, shown.height, WHITENESS);
    if (!black || !white)
        return 1e9;
    long long total = 0;
    long long opaque = 0;
    for (size_t i = 0; i < shown.pixels.size(); ++i) {
        if (black.pixels[i] != white.pixels[i])
            continue;
        total += ChannelDifference(shown.pixels[i], black.pixels[i]);
        ++opaque;
    }
    return opaque ? static_cast<double>(total) / (3.0 * static_cast<double>(opaque)) : 1e9;
}

MessageBoxIcon Classify(const Image& shown) {
    const std::pair<MessageBoxIcon, LPCSTR> standard[] = {
        {MessageBoxIcon::Stop, IDI_HAND},
        {MessageBoxIcon::Exclamation, IDI_EXCLAMATION},
        {MessageBoxIcon::Information, IDI_ASTERISK},
        {MessageBoxIcon::Question, IDI_QUESTION},
    };
    MessageBoxIcon best = MessageBoxIcon::Other;
    double bestDistance = 1e9;
    for (const auto& [kind, id] : standard) {
        double distance = Distance(shown, LoadIconA(nullptr, id));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = kind;
        }
    }
    // The same icon drawn by the same system matches almost exactly; the standard icons differ
    // from each other by far more than this.
    return bestDistance < 8.0 ? best : MessageBoxIcon::Other;
}

MessageBoxIcon IconOf(HWND box) {
    HWND icon = IconStatic(box);
    if (!icon || !IsWindowVisible(icon))
        return MessageBoxIcon::None;
    auto handle = Ask(icon, STM_GETICON, 0, 0);
    if (!handle || !*handle)
        return MessageBoxIcon::None;
    // The box may not have painted yet when it was found: look again for a little while.
    MessageBoxIcon kind = MessageBoxIcon::Other;
    (void)WaitUntil([&] { return (kind = Classify(CaptureClient(icon))) != MessageBoxIcon::Other; },
                    "the icon is recognised", Milliseconds(1000));
    return kind;
}

} // namespace

const char* Name(MessageBoxIcon icon) {
    switch (icon) {
    case MessageBoxIcon::None:
        return "none";
    case MessageBoxIcon::Stop:
        return "stop";
    case MessageBoxIcon::Exclamation:
        return "exclamation";
    case MessageBoxIcon::Information:
        return "information";
    case MessageBoxIcon::Question:
        return "question";
    case MessageBoxIcon::Other:
        return "other";
    }
    return "?";
}

std::ostream& operator<<(std::ostream& out, MessageBoxIcon icon) {
    return out << Name(icon);
}

bool IsMessageBox(HWND window) {
    if (!IsWindow(window) || ClassOf(window) != "#32770")
        return false;
    bool hasText = false;
    for (HWND child : ChildrenOf(window)) {
        std::string kind = ClassOf(child);
        if (kind != "Static" && kind != "Button")
            return false;
        if (kind == "Static" && GetDlgCtrlID(child) == kTextId)
            hasText = true;
    }
    return hasText;
}

std::optional<MessageBoxInfo> ReadMessageBox(HWND window) {
    if (!IsMessageBox(window)) {
        ADD_FAILURE() << "not a message box:\n" << DescribeWindow(window);
        return std::nullopt;
    }
    MessageBoxInfo box;
    box.window = window;
    box.owner = GetWindow(window, GW_OWNER);
    box.caption = Text(window);
    box.text = Text(GetDlgItem(window, kTextId));
    box.icon = IconOf(window);
    std::vector<std::pair<LONG, HWND>> buttons;
    for (HWND child : ChildrenOf(window)) {
        RECT rect;
        if (ClassOf(child) == "Button" && IsWindowVisible(child) && GetWindowRect(child, &rect))
            buttons.emplace_back(rect.left, child);
    }
    std::sort(buttons.begin(), buttons.end());
    for (const auto& [left, button] : buttons) {
        box.buttons.push_back(GetDlgCtrlID(button));
        box.buttonTexts.push_back(Text(button));
    }
    return box;
}

std::optional<MessageBoxInfo> WaitForMessageBox(const Program& program,
                                                std::optional<std::string> caption,
                                                Milliseconds timeout) {
    WindowQuery query{.className = "#32770", .caption = std::move(caption)};
    HWND found = nullptr;
    auto appeared = WaitUntil(
        [&] {
            for (HWND window : FindWindowsOf(program, query))
                if (IsMessageBox(window))
                    return (found = window) != nullptr;
            return !IsRunning(program);
        },
        "a message box" + (query.caption ? " with caption \"" + *query.caption + "\"" : "") +
            " appears",
        timeout);
    if (!found) {
        ADD_FAILURE() << (appeared ? "no message box appeared: " + HowItEnded(program)
                                   : std::string(appeared.message()))
                      << "\nwindows of the program:\n"
                      << DescribeWindows(program) << "screen: " << SaveFailureScreenshot();
        return std::nullopt;
    }
    SettleWindow(found);
    return ReadMessageBox(found);
}

testing::AssertionResult Answer(const MessageBoxInfo& box, int buttonId) {
    if (std::find(box.buttons.begin(), box.buttons.end(), buttonId) == box.buttons.end())
        return testing::AssertionFailure()
               << "the message box \"" << box.caption << "\" has no button " << buttonId;
    return Press(box.window, buttonId);
}

} // namespace e2e
