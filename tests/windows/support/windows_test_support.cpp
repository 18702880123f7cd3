#include "support/windows_test_support.h"

#include "harness/instrument_log.h"
#include "harness/scratch.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace wintest {

namespace {

constexpr int messageTextId = 0xFFFF; // the text of a message box
constexpr int notepadEditId = 15;

// Control identifiers of the system's file dialogs.
constexpr int fileNameCombo = 0x47C; // cmb13
constexpr int fileNameEdit = 0x480;  // edt1
constexpr int fileTypeCombo = 0x470; // cmb1

constexpr Milliseconds dialogWait{30000};
constexpr Milliseconds closeWait{5000};
constexpr Milliseconds pollInterval{10};

std::string TemporaryFolder() {
    char temporary[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof temporary, temporary);
    if (length == 0 || length >= sizeof temporary) {
        ADD_FAILURE() << "no temporary folder";
        return {};
    }
    return std::string(temporary, length);
}

bool IsOwnDialog(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    return process == GetCurrentProcessId() && std::string_view(className) == "#32770" &&
           IsWindowVisible(window);
}

std::string DialogItemText(HWND dialog, int id) {
    char text[2048] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

struct DialogSearch {
    const std::string* title;
    HWND found;
};

BOOL CALLBACK MatchOwnDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    if (!IsOwnDialog(window))
        return TRUE;
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (*search->title != title)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindOwnDialog(const std::string& title) {
    DialogSearch search{&title, nullptr};
    EnumWindows(MatchOwnDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Polls `condition` from a thread that handles no messages of its own.
bool PollUntil(const std::function<bool()>& condition, Milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(pollInterval);
    }
    return true;
}

// Every line of a list (`count`, `length` and `text` are the list's LB_ or CB_ messages).
std::vector<std::string> Lines(HWND list, UINT count, UINT length, UINT text) {
    std::vector<std::string> lines;
    const LRESULT total = SendMessageA(list, count, 0, 0);
    for (LRESULT i = 0; i < total; ++i) {
        const LRESULT size = SendMessageA(list, length, static_cast<WPARAM>(i), 0);
        std::string line(size > 0 ? static_cast<std::size_t>(size) + 1 : 1, '\0');
        const LRESULT got = size < 0 ? -1
                                     : SendMessageA(list, text, static_cast<WPARAM>(i),
                                                    reinterpret_cast<LPARAM>(line.data()));
        line.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace

// ---- Folders and files ----

std::string ScratchFolder(const std::string& name) {
    const std::string folder = TemporaryFolder() + name;
    if (!e2e::MakeEmptyFolder(folder))
        ADD_FAILURE() << "cannot empty the scratch folder " << folder;
    return folder;
}

std::string TestScratchFolder(const std::string& prefix) {
    return ScratchFolder(prefix + testing::UnitTest::GetInstance()->current_test_info()->name());
}

void RemoveFolder(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string ProgramFolder() {
    return e2e::BinFolder();
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    WriteBytes(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    if (!e2e::WriteFileBytes(path, bytes))
        ADD_FAILURE() << "cannot write " << path;
}

Bytes ReadBytes(const std::string& path) {
    const std::string text = ReadText(path);
    return Bytes(text.begin(), text.end());
}

std::string ReadText(const std::string& path) {
    return e2e::ReadFileBytes(path).value_or(std::string());
}

Bytes TaggedSyxFile(char kind, const std::string& description, const std::vector<Bytes>& messages) {
    const std::string tag = std::string("Brevikorlando") + kind;
    Bytes file(tag.begin(), tag.end());
    Bytes field(100, 0);
    std::copy_n(description.begin(), std::min(description.size(), field.size()), field.begin());
    file.insert(file.end(), field.begin(), field.end());
    file.push_back(static_cast<unsigned char>(messages.size() & 0xFF));
    file.push_back(static_cast<unsigned char>((messages.size() >> 8) & 0xFF));
    for (const Bytes& message : messages)
        for (int shift = 0; shift < 32; shift += 8)
            file.push_back(static_cast<unsigned char>((message.size() >> shift) & 0xFF));
    for (const Bytes& message : messages)
        file.insert(file.end(), message.begin(), message.end());
    return file;
}

std::string HexText(const Bytes& bytes) {
    return e2e::HexText(bytes);
}

// ---- This thread's messages ----

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

testing::AssertionResult PumpUntil(const std::function<bool()>& done, Milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return testing::AssertionFailure()
                   << "still not so after " << timeout.count() << " ms of handling messages";
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(pollInterval.count()),
                                  QS_ALLINPUT);
        PumpMessages();
    }
    return testing::AssertionSuccess();
}

void PumpFor(Milliseconds duration) {
    (void)PumpUntil([] { return false; }, duration);
}

// ---- Controls and windows ----

std::vector<std::string> ListBoxLines(HWND list) {
    return Lines(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::string> ComboBoxLines(HWND combo) {
    return Lines(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

HWND CreateStandInWindow(const char* title, WNDPROC procedure,
                         std::initializer_list<ChildControl> children) {
    static const char className[] = "TalvaneTestStandIn";
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    if (!GetClassInfoA(instance, className, &windowClass)) {
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
    }
    const HWND window = CreateWindowA(className, title, WS_OVERLAPPED, 0, 0, 300, 300, nullptr,
                                      nullptr, instance, nullptr);
    if (!window) {
        ADD_FAILURE() << "cannot create the stand-in window \"" << title << "\"";
        return nullptr;
    }
    if (procedure)
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    for (const ChildControl& child : children)
        CreateWindowA(child.windowClass, "", WS_CHILD | child.style, 0, 0, 100, 200, window,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)), instance, nullptr);
    return window;
}

TraceNotepad::TraceNotepad(const char* title, bool withEditArea) {
    frame = CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    if (withEditArea)
        AddEditArea();
}

TraceNotepad::~TraceNotepad() {
    DestroyWindow(frame);
}

void TraceNotepad::AddEditArea() {
    edit = CreateWindowExA(
        0, "EDIT", "", WS_CHILD | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0,
        0, 280, 180, frame, reinterpret_cast<HMENU>(notepadEditId), GetModuleHandleA(nullptr),
        nullptr);
}

std::string TraceNotepad::Text() {
    PumpMessages();
    const int length = GetWindowTextLengthA(edit);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(edit, text.data(), length + 1)));
    return text;
}

// ---- Answering dialogs and message boxes ----

DialogAnswers::DialogAnswers(std::vector<DialogStep> steps)
    : steps_(std::move(steps)), thread_([this] { Run(); }) {}

DialogAnswers::~DialogAnswers() {
    Finish();
}

const std::vector<SeenDialog>& DialogAnswers::Finish() {
    if (thread_.joinable())
        thread_.join();
    return seen_;
}

void DialogAnswers::Run() {
    for (const DialogStep& step : steps_) {
        HWND dialog = nullptr;
        if (!PollUntil([&] { return (dialog = FindOwnDialog(step.title)) != nullptr; },
                       dialogWait)) {
            seen_.push_back({"no window " + step.title, ""});
            return;
        }
        Sleep(200); // let it finish filling its lists
        seen_.push_back({step.title, DialogItemText(dialog, messageTextId)});
        step.act(dialog);
        PollUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, closeWait);
    }
}

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

DialogAction PressButton(int id) {
    return [id](HWND dialog) { Press(dialog, id); };
}

DialogAction EnterFileName(std::string path, int filterPosition) {
    return [path = std::move(path), filterPosition](HWND dialog) {
        if (filterPosition > 0) {
            const HWND types = GetDlgItem(dialog, fileTypeCombo);
            SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(filterPosition - 1), 0);
            for (const WORD notice : {CBN_SELCHANGE, CBN_SELENDOK})
                SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(fileTypeCombo, notice),
                             reinterpret_cast<LPARAM>(types));
        }
        // The name goes wherever this dialog takes it: the combo box or the older edit field.
        for (const int id : {fileNameCombo, fileNameEdit})
            if (GetDlgItem(dialog, id))
                SetDlgItemTextA(dialog, id, path.c_str());
        Press(dialog, IDOK);
    };
}

MessageBoxWatch::MessageBoxWatch() : thread_([this] { Run(); }) {}

MessageBoxWatch::~MessageBoxWatch() {
    running_ = false;
    thread_.join();
}

std::vector<ShownBox> MessageBoxWatch::Take() {
    std::lock_guard<std::mutex> hold(lock_);
    return std::exchange(boxes_, {});
}

BOOL CALLBACK MessageBoxWatch::Answer(HWND window, LPARAM self) {
    if (!IsOwnDialog(window) || GetDlgItem(window, messageTextId) == nullptr)
        return TRUE;
    ShownBox box;
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof caption);
    box.caption = caption;
    box.text = DialogItemText(window, messageTextId);
    auto* watch = reinterpret_cast<MessageBoxWatch*>(self);
    {
        std::lock_guard<std::mutex> hold(watch->lock_);
        watch->boxes_.push_back(std::move(box));
    }
    // OK for a box with OK, otherwise Yes (the first button either way).
    PostMessageA(window, WM_COMMAND, GetDlgItem(window, IDOK) ? IDOK : IDYES, 0);
    ShowWindow(window, SW_HIDE);
    return TRUE;
}

void MessageBoxWatch::Run() {
    while (running_) {
        EnumWindows(Answer, reinterpret_cast<LPARAM>(this));
        Sleep(30);
    }
}

// ---- The virtual instrument's log ----

std::vector<InstrumentEvent> InstrumentLogEvents(const std::string& path, std::string_view event) {
    const e2e::InstrumentLog log = e2e::ReadInstrumentLog(path);
    if (!log.badLines.empty())
        ADD_FAILURE() << "the instrument's log " << path << " breaks its format:\n"
                      << e2e::FormatLog(log);
    std::vector<InstrumentEvent> events;
    for (const e2e::LogEntry& entry : e2e::EventsNamed(log.entries, event)) {
        // The line is "<ms> <event>" and, when there is more, a space and the rest.
        const std::size_t afterMs = entry.line.find(' ');
        const std::size_t afterEvent = entry.line.find(' ', afterMs + 1);
        events.push_back(
            {entry.ms, entry.event,
             afterEvent == std::string::npos ? std::string() : entry.line.substr(afterEvent + 1)});
    }
    return events;
}

} // namespace wintest
