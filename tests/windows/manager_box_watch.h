#pragma once
// For the Windows tests of the transport and the Manager's files: a thread that answers every
// message box this process shows and remembers its caption and text, so a test can check what the
// user was told, and an unexpected box fails a test instead of hanging it. Other dialogs (the
// file dialogs) are left alone: only boxes with a message text control are answered.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct ShownBox {
    std::string caption;
    std::string text;
};

class MessageBoxWatch {
  public:
    MessageBoxWatch() : thread([this] { Run(); }) {}
    ~MessageBoxWatch() {
        running = false;
        thread.join();
    }

    std::vector<ShownBox> Take() {
        std::lock_guard<std::mutex> hold(lock);
        return std::exchange(boxes, {});
    }

  private:
    static constexpr int messageTextId = 0xFFFF;

    static BOOL CALLBACK Answer(HWND window, LPARAM self) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char className[32] = {};
        GetClassNameA(window, className, sizeof className);
        if (process != GetCurrentProcessId() || std::string(className) != "#32770" ||
            !IsWindowVisible(window) || GetDlgItem(window, messageTextId) == nullptr)
            return TRUE;
        ShownBox box;
        char caption[256] = {};
        char text[2048] = {};
        GetWindowTextA(window, caption, sizeof caption);
        GetDlgItemTextA(window, messageTextId, text, sizeof text);
        box.caption = caption;
        box.text = text;
        auto* watch = reinterpret_cast<MessageBoxWatch*>(self);
        {
            std::lock_guard<std::mutex> hold(watch->lock);
            watch->boxes.push_back(box);
        }
        // OK for a box with OK, otherwise Yes (the first button either way).
        PostMessageA(window, WM_COMMAND, GetDlgItem(window, IDOK) ? IDOK : IDYES, 0);
        ShowWindow(window, SW_HIDE);
        return TRUE;
    }

    void Run() {
        while (running) {
            EnumWindows(Answer, reinterpret_cast<LPARAM>(this));
            Sleep(30);
        }
    }

    std::atomic<bool> running{true};
    std::mutex lock;
    std::vector<ShownBox> boxes;
    std::thread thread;
};
