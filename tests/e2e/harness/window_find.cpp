#include "harness/window_find.h"

#include "harness/controls.h"
#include "harness/screenshot.h"

#include <algorithm>
#include <sstream>

namespace e2e {

namespace {

struct Search {
    std::vector<DWORD> processIds;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (std::find(search->processIds.begin(), search->processIds.end(), id) !=
        search->processIds.end())
        search->windows.push_back(window);
    return TRUE;
}

// Top-level windows of the run, topmost first (EnumWindows goes in Z order).
std::vector<HWND> WindowsOf(const Program& program) {
    Search search;
    search.processIds = ProcessIds(program);
    if (search.processIds.empty() && program.processId)
        search.processIds.push_back(program.processId);
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

// The caption of a top-level window as the system keeps it: no message goes to the program, so
// a busy program cannot stall the search.
std::string Caption(HWND window) {
    wchar_t text[1024];
    int length = GetWindowTextW(window, text, 1024);
    return Narrow(std::wstring_view(text, length > 0 ? static_cast<size_t>(length) : 0));
}

// A control's text for failure messages: asked briefly, without failing when there is no answer.
std::string QuickText(HWND window) {
    wchar_t text[1024];
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                             200, &length))
        return "(no answer)";
    return Narrow(std::wstring_view(text, std::min<size_t>(length, 1023)));
}

bool Matches(HWND window, const WindowQuery& query) {
    if (query.visibleOnly && !IsWindowVisible(window))
        return false;
    if (query.owner && GetWindow(window, GW_OWNER) != query.owner)
        return false;
    if (!query.className.empty() && ClassOf(window) != query.className)
        return false;
    if (query.caption && Caption(window) != *query.caption)
        return false;
    return true;
}

std::string Describe(const WindowQuery& query) {
    std::ostringstream text;
    text << (query.visibleOnly ? "a visible window" : "a window");
    if (!query.className.empty())
        text << " of class \"" << query.className << "\"";
    if (query.caption)
        text << " with caption \"" << *query.caption << "\"";
    if (query.owner)
        text << " owned by " << query.owner;
    return text.str();
}

std::string Line(HWND window) {
    std::ostringstream line;
    bool child = GetWindowLongA(window, GWL_STYLE) & WS_CHILD;
    line << window << " class=\"" << ClassOf(window) << "\" text=\""
         << (child ? QuickText(window) : Caption(window)) << "\"";
    if (child)
        line << " id=" << GetDlgCtrlID(window);
    line << (IsWindowVisible(window) ? " visible" : " hidden");
    if (!IsWindowEnabled(window))
        line << " disabled";
    if (HWND owner = GetWindow(window, GW_OWNER))
        line << " owner=" << owner;
    return line.str();
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> FindWindowsOf(const Program& program, const WindowQuery& query) {
    std::vector<HWND> found;
    for (HWND window : WindowsOf(program))
        if (Matches(window, query))
            found.push_back(window);
    return found;
}

HWND FindWindowOf(const Program& program, const WindowQuery& query) {
    std::vector<HWND> found = FindWindowsOf(program, query);
    return found.empty() ? nullptr : found.front();
}

HWND WaitForWindowOf(const Program& program, const WindowQuery& query, Milliseconds timeout) {
    HWND found = nullptr;
    // A program that has ended will not open the window: fail at once, with its exit code.
    auto appeared = WaitUntil(
        [&] { return (found = FindWindowOf(program, query)) != nullptr || !IsRunning(program); },
        Describe(query), timeout);
    if (!found) {
        ADD_FAILURE() << (appeared ? "no " + Describe(query) + " appeared: " + HowItEnded(program)
                                   : std::string(appeared.message()))
                      << "\nwindows of the program:\n"
                      << DescribeWindows(program) << "screen: " << SaveFailureScreenshot();
        return nullptr;
    }
    SettleWindow(found);
    return found;
}

testing::AssertionResult WaitUntilGone(HWND window, Milliseconds timeout) {
    std::ostringstream what;
    what << "window " << window << " is gone";
    return WaitUntil([&] { return !IsWindow(window); }, what.str(), timeout);
}

std::string ClassOf(HWND window) {
    char name[256];
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

std::string Text(HWND window) {
    auto length = Ask(window, WM_GETTEXTLENGTH, 0, 0);
    if (!length)
        return {};
    std::wstring text(static_cast<size_t>(*length) + 1, L'\0');
    auto copied = AskWide(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    if (!copied)
        return {};
    text.resize(std::min<size_t>(static_cast<size_t>(*copied), text.size()));
    return Narrow(text);
}

std::string DescribeWindows(const Program& program) {
    std::string text;
    for (HWND window : WindowsOf(program))
        text += "  " + Line(window) + "\n";
    if (text.empty())
        text = "  (none)\n";
    return text;
}

std::string DescribeWindow(HWND window) {
    std::string text = "  " + Line(window) + "\n";
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children)
        text += "    " + Line(child) + "\n";
    return text;
}

} // namespace e2e
