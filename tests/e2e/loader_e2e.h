#pragma once
// Shared by the title loader's end-to-end tests: the settings of a user who has started the
// program before (the title shows only then), the title window and its module markers.
#include "harness/e2e.h"
#include "shell_stand_ins.h"

#include <cstdio>
#include <string>

namespace loader_e2e {

inline constexpr int kTitleWidth = 501;
inline constexpr int kTitleHeight = 334;

// The title shows once the main program has created its settings key.
inline void SettingsOfAReturningUser() {
    shell_e2e::SettingsAfterStarts(2);
}

inline HWND FindTitle(const e2e::Program& program) {
    return e2e::FindWindowOf(program, {.className = "QX_Loader"});
}

// Which marker is red under the picture: "Manager", "Librarian" or "Editor"; a description of
// the strip when not exactly one marker is red and the other two white. The markers are 5 pixels
// wide from x = 0, 125 and 250, from row 300 to the bottom; drawn without an outline, the
// rectangle leaves out its right column and bottom row, so x + 0..3 and rows 300..332 are read.
inline std::string RedMarker(HWND title) {
    static const char* const names[] = {"Manager", "Librarian", "Editor"};
    e2e::Image image = e2e::CaptureClient(title);
    if (image.width != kTitleWidth || image.height != kTitleHeight)
        return "a client area of " + std::to_string(image.width) + "x" +
               std::to_string(image.height);
    std::string red;
    std::string description;
    for (int marker = 0; marker < 3; ++marker) {
        int left = marker * 125;
        std::uint32_t colour = image.At(left, 300);
        for (int y = 300; y <= 332; ++y)
            for (int x = left; x <= left + 3; ++x)
                if (image.At(x, y) != colour)
                    colour = 0xFFFFFFFFu; // mixed
        char text[40];
        std::snprintf(text, sizeof text, "%s %06X; ", names[marker], unsigned(colour));
        description += text;
        if (colour == 0xFF0000)
            red += red.empty() ? names[marker] : "+";
        else if (colour != 0xFFFFFF)
            red += "?";
    }
    return red == "Manager" || red == "Librarian" || red == "Editor" ? red : description;
}

} // namespace loader_e2e
