#include "harness/controls.h"

#include "harness/window_find.h"

#include <sstream>
#include <utility>

namespace e2e {

namespace {

std::string Where(HWND window, UINT message) {
    std::ostringstream text;
    text << "message 0x" << std::hex << message << std::dec << " to " << window << " (class \""
         << ClassOf(window) << "\")";
    return text.str();
}

std::optional<LRESULT> AskWith(bool wide, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    auto send = wide ? SendMessageTimeoutW : SendMessageTimeoutA;
    SetLastError(0);
    if (!send(window, message, wParam, lParam, SMTO_NORMAL,
              static_cast<UINT>(kAnswerTimeout.count()), &result)) {
        DWORD error = GetLastError();
        ADD_FAILURE() << "no answer to " << Where(window, message)
                      << (error == ERROR_TIMEOUT ? ": the program did not answer within "
                                                 : ": error ")
                      << (error == ERROR_TIMEOUT ? Count(kAnswerTimeout) : error)
                      << (error == ERROR_TIMEOUT ? " ms" : "");
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

// The completion of one delivered message. The program's answer comes back as a call of
// DeliveryDone on this thread, possibly after Deliver gave up waiting for it, in which case
// the callback frees the record.
struct PendingDelivery {
    bool done = false;
    bool abandoned = false;
};

void CALLBACK DeliveryDone(HWND, UINT, ULONG_PTR data, LRESULT) {
    auto* pending = reinterpret_cast<PendingDelivery*>(data);
    pending->done = true;
    if (pending->abandoned)
        delete pending;
}

void RunCallbacks() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

int IdOf(HWND control) {
    return GetDlgCtrlID(control);
}

testing::AssertionResult Notify(HWND control, int notification) {
    HWND parent = GetParent(control);
    return Delivered(Deliver(parent, WM_COMMAND, MAKEWPARAM(IdOf(control), notification),
                             reinterpret_cast<LPARAM>(control)),
                     "notification to the parent of control " + std::to_string(IdOf(control)));
}

std::vector<std::string> Items(HWND control, UINT countMessage, UINT lengthMessage,
                               UINT textMessage) {
    std::vector<std::string> items;
    auto count = Ask(control, countMessage, 0, 0);
    if (!count || *count < 0)
        return items;
    for (LRESULT i = 0; i < *count; ++i) {
        auto length = AskWide(control, lengthMessage, i, 0);
        if (!length || *length < 0)
            return items;
        std::wstring text(static_cast<size_t>(*length) + 1, L'\0');
        auto copied = AskWide(control, textMessage, i, reinterpret_cast<LPARAM>(text.data()));
        if (!copied || *copied < 0)
            return items;
        if (*copied != *length)
            ADD_FAILURE() << "entry " << i << " of control " << IdOf(control) << " is " << *length
                          << " characters long, but " << *copied << " were read";
        text.resize(std::min<size_t>(static_cast<size_t>(*copied), text.size()));
        items.push_back(Narrow(text));
    }
    return items;
}

testing::AssertionResult Select(HWND control, int index, UINT countMessage, UINT selectMessage,
                                UINT selectionMessage) {
    if (!control)
        return testing::AssertionFailure() << "no control";
    auto count = Ask(control, countMessage, 0, 0);
    if (!count)
        return testing::AssertionFailure() << "the control does not answer";
    if (index < 0 || index >= *count)
        return testing::AssertionFailure() << "control " << IdOf(control) << " has " << *count
                                           << " entries, so there is no entry " << index;
    Ask(control, selectMessage, index, 0);
    auto selected = Ask(control, selectionMessage, 0, 0);
    if (!selected || *selected != index)
        return testing::AssertionFailure()
               << "control " << IdOf(control) << " did not select entry " << index;
    return testing::AssertionSuccess();
}

} // namespace

std::optional<LRESULT> Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return AskWith(false, window, message, wParam, lParam);
}

std::optional<LRESULT> AskWide(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return AskWith(true, window, message, wParam, lParam);
}

std::string Narrow(std::wstring_view text) {
    if (text.empty())
        return {};
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

std::wstring Wide(std::string_view text) {
    if (text.empty())
        return {};
    int size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

const char* Name(Delivery delivery) {
    switch (delivery) {
    case Delivery::Handled:
        return "handled";
    case Delivery::Waiting:
        return "waiting for the user";
    case Delivery::WindowGone:
        return "window gone";
    case Delivery::TimedOut:
        return "timed out";
    case Delivery::Failed:
        return "failed";
    }
    return "?";
}

namespace {

bool Paintable(HWND window) {
    return IsWindowVisible(window) && !IsIconic(window);
}

// After the program took a message sent after ours while ours is still being handled: tells a
// loop of the program's own (a modal dialog, a message box), which also paints, from a handler
// that merely waits for another thread's answer, which takes sent messages only.
Delivery AfterProbe(HWND window, PendingDelivery* pending) {
    if (!Paintable(window))
        return Delivery::Waiting;
    InvalidateRect(window, nullptr, FALSE);
    const auto end = std::chrono::steady_clock::now() + Milliseconds(250);
    for (;;) {
        RunCallbacks();
        if (pending->done)
            return Delivery::Handled;
        if (!IsWindow(window))
            return Delivery::WindowGone;
        if (!GetUpdateRect(window, nullptr, FALSE)) {
            // Our completion, if the handler had returned before the painting, is queued by now.
            RunCallbacks();
            return pending->done ? Delivery::Handled : Delivery::Waiting;
        }
        if (std::chrono::steady_clock::now() >= end)
            return Delivery::TimedOut; // still busy; look again
        Sleep(10);
    }
}

} // namespace

Delivery Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Milliseconds timeout) {
    if (!IsWindow(window))
        return Delivery::Failed;
    auto* pending = new PendingDelivery;
    if (!SendMessageCallbackA(window, message, wParam, lParam, DeliveryDone,
                              reinterpret_cast<ULONG_PTR>(pending))) {
        delete pending;
        return Delivery::Failed;
    }
    // A message sent after ours is handled after ours returns, or earlier only when the program
    // takes messages while still inside our handling. The program answers in order, so when the
    // probe comes back our completion, if there is one, is already queued for this thread.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    Delivery result = Delivery::TimedOut;
    for (;;) {
        DWORD_PTR ignored = 0;
        bool probed = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 50, &ignored) != 0;
        RunCallbacks();
        if (pending->done) {
            result = Delivery::Handled;
            break;
        }
        if (!IsWindow(window)) {
            result = Delivery::WindowGone;
            break;
        }
        if (probed) {
            result = AfterProbe(window, pending);
            if (result != Delivery::TimedOut)
                break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            result = Delivery::TimedOut;
            break;
        }
    }
    if (pending->done)
        delete pending;
    else
        pending->abandoned = true;
    return result;
}

testing::AssertionResult WaitUntilIdle(HWND window, Milliseconds timeout) {
    if (!IsWindow(window) || !IsWindowVisible(window) || IsIconic(window))
        return testing::AssertionFailure()
               << "window " << window << " is not shown, so it cannot tell when it is idle";
    // A thread takes WM_PAINT only when no posted message and no input is waiting for it.
    if (!InvalidateRect(window, nullptr, FALSE))
        return testing::AssertionFailure() << "cannot invalidate window " << window;
    return WaitUntil([&] { return !IsWindow(window) || !GetUpdateRect(window, nullptr, FALSE); },
                     "the program has taken its messages", timeout);
}

void SettleWindow(HWND window) {
    if (!IsWindowVisible(window) || IsIconic(window))
        return;
    // The window has painted once; a round trip through the X server then makes sure the
    // answers to its first placement are on their way, and the next idle that they are taken.
    (void)WaitUntilIdle(window, Milliseconds(5000));
    HDC screen = GetDC(nullptr);
    GetPixel(screen, 0, 0);
    ReleaseDC(nullptr, screen);
    (void)WaitUntilIdle(window, Milliseconds(5000));
}

testing::AssertionResult Delivered(Delivery delivery, std::string_view what) {
    if (delivery == Delivery::Handled || delivery == Delivery::Waiting ||
        delivery == Delivery::WindowGone)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << what << ": " << Name(delivery);
}

HWND Control(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        ADD_FAILURE() << "window " << dialog << " has no control " << id << ":\n"
                      << DescribeWindow(dialog);
    return control;
}

testing::AssertionResult SetText(HWND window, std::string_view text) {
    std::wstring wide = Wide(text);
    auto result = AskWide(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (!result || !*result)
        return testing::AssertionFailure() << "the window did not take the text \"" << text << "\"";
    return testing::AssertionSuccess();
}

testing::AssertionResult Press(HWND button) {
    if (!button || !IsWindow(button))
        return testing::AssertionFailure() << "no button to press";
    std::string caption = Text(button);
    if (!IsWindowVisible(button))
        return testing::AssertionFailure() << "button \"" << caption << "\" is hidden";
    if (!IsWindowEnabled(button))
        return testing::AssertionFailure() << "button \"" << caption << "\" is disabled";
    return Delivered(Deliver(GetParent(button), WM_COMMAND, MAKEWPARAM(IdOf(button), BN_CLICKED),
                             reinterpret_cast<LPARAM>(button)),
                     "pressing \"" + caption + "\"");
}

testing::AssertionResult Press(HWND dialog, int buttonId) {
    HWND button = Control(dialog, buttonId);
    if (!button)
        return testing::AssertionFailure() << "no button " << buttonId;
    return Press(button);
}

testing::AssertionResult Command(HWND window, int id, int notification, HWND control) {
    return Delivered(Deliver(window, WM_COMMAND, MAKEWPARAM(id, notification),
                             reinterpret_cast<LPARAM>(control)),
                     "command " + std::to_string(id));
}

std::vector<std::string> ListBoxItems(HWND list) {
    return Items(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

int ListBoxSelection(HWND list) {
    auto selection = Ask(list, LB_GETCURSEL, 0, 0);
    return selection ? static_cast<int>(*selection) : -1;
}

testing::AssertionResult SelectListBoxItem(HWND list, int index) {
    auto selected = Select(list, index, LB_GETCOUNT, LB_SETCURSEL, LB_GETCURSEL);
    if (!selected || !(GetWindowLongA(list, GWL_STYLE) & LBS_NOTIFY))
        return selected;
    return Notify(list, LBN_SELCHANGE);
}

testing::AssertionResult DoubleClickListBoxItem(HWND list, int index) {
    auto selected = SelectListBoxItem(list, index);
    if (!selected || !(GetWindowLongA(list, GWL_STYLE) & LBS_NOTIFY))
        return selected;
    return Notify(list, LBN_DBLCLK);
}

std::vector<std::string> ComboBoxItems(HWND combo) {
    return Items(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int ComboBoxSelection(HWND combo) {
    auto selection = Ask(combo, CB_GETCURSEL, 0, 0);
    return selection ? static_cast<int>(*selection) : -1;
}

testing::AssertionResult SelectComboBoxItem(HWND combo, int index) {
    auto selected = Select(combo, index, CB_GETCOUNT, CB_SETCURSEL, CB_GETCURSEL);
    if (!selected)
        return selected;
    return Notify(combo, CBN_SELCHANGE);
}

void Close(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}

namespace {

// Asks the window to minimize or restore itself until it stays so. Under Wine a window that has
// just opened can be put back by the X server's late answer to its first placement; the
// command is then given again, at most three times.
testing::AssertionResult ShowState(HWND window, bool minimized) {
    const char* what = minimized ? "the window is minimized" : "the window is restored";
    auto inState = [&] { return (IsIconic(window) != FALSE) == minimized; };
    for (int attempt = 0; attempt < 3; ++attempt) {
        auto delivered =
            Delivered(Deliver(window, WM_SYSCOMMAND, minimized ? SC_MINIMIZE : SC_RESTORE, 0),
                      minimized ? "minimizing" : "restoring");
        if (!delivered)
            return delivered;
        // Under 64-bit Wine a window that has only just been shown can lose the command while
        // the X server maps it; as a user would, the harness asks again.
        if (!WaitUntil(inState, what, Milliseconds(3000)))
            continue;
        if (StaysTrue(inState, what, Milliseconds(300)))
            return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "the window does not stay " << (minimized ? "minimized" : "restored");
}

} // namespace

testing::AssertionResult Minimize(HWND window) {
    return ShowState(window, true);
}

testing::AssertionResult Restore(HWND window) {
    return ShowState(window, false);
}

} // namespace e2e
