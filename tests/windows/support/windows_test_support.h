#pragma once
// What the Windows unit test programs share: scratch folders and byte files, pumping this
// thread's messages with a deadline, the lines of list and combo boxes, stand-in windows, a
// second thread that answers the dialogs and message boxes the code under test shows, and the
// virtual instrument's log. Everything works inside the test program's own process; driving
// another process is the end-to-end harness's business (tests/e2e/harness).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace wintest {

using Bytes = std::vector<unsigned char>;
using Milliseconds = std::chrono::milliseconds;

// ---- Folders and files ----

// "<temporary folder>\<name>", emptied (everything in it deleted) or made; a folder that cannot
// be emptied fails the test. The path has no backslash at the end.
std::string ScratchFolder(const std::string& name);

// ScratchFolder(prefix + the running test's name): every test a folder of its own.
std::string TestScratchFolder(const std::string& prefix);

// Deletes the folder with everything in it. What cannot go now (a file still held open) stays
// until the next ScratchFolder of that name.
void RemoveFolder(const std::string& path);

// The folder of this test program, which also holds Talvane95.dat, the shipped definitions and
// the virtual instrument (midimap.dll). No backslash at the end.
std::string ProgramFolder();

// Creates or replaces the file with exactly these bytes; a file that cannot be written fails the
// test.
void WriteBytes(const std::string& path, const Bytes& bytes);
void WriteBytes(const std::string& path, std::string_view bytes);

// The whole file as it is now, read while a writer may still hold it open (the store's files,
// the instrument's log); empty when it cannot be opened.
Bytes ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);

// A tagged .syx file: "Brevikorlando" and `kind` ('+' or '-'), a 100-byte description field
// (the text, cut to fit, then zeros), the message count in two bytes, each length in four bytes
// (low byte first), then the messages.
Bytes TaggedSyxFile(char kind, const std::string& description, const std::vector<Bytes>& messages);

// Bytes as "F0 42 30".
std::string HexText(const Bytes& bytes);

// ---- This thread's messages ----

// Handles every message already waiting for this thread.
void PumpMessages();

// Handles this thread's messages until `done` holds; fails, saying how long it waited, when
// `timeout` passes first.
[[nodiscard]] testing::AssertionResult PumpUntil(const std::function<bool()>& done,
                                                 Milliseconds timeout);

// Handles this thread's messages for `duration`: for what must have arrived by then, or for
// what must not arrive at all.
void PumpFor(Milliseconds duration);

// ---- Controls and windows ----

// Every line of a list box or a combo box's list, in order, at full length.
std::vector<std::string> ListBoxLines(HWND list);
std::vector<std::string> ComboBoxLines(HWND combo);

struct ChildControl {
    const char* windowClass; // "LISTBOX", "COMBOBOX", ...
    int id;
    DWORD style = 0; // added to WS_CHILD
};

// A hidden top-level window standing in for a module window: `procedure` gets its messages
// (DefWindowProcA when null) and it holds `children`. DestroyWindow ends it.
HWND CreateStandInWindow(const char* title, WNDPROC procedure,
                         std::initializer_list<ChildControl> children = {});

inline constexpr const char* traceNotepadTitle = "talvane32.log - Notepad";

// A window standing in for the Notepad that DebugTrace types into: a frame with `title` and,
// unless asked not to, Notepad's edit area (control 15).
struct TraceNotepad {
    HWND frame = nullptr;
    HWND edit = nullptr;

    explicit TraceNotepad(const char* title = traceNotepadTitle, bool withEditArea = true);
    ~TraceNotepad();
    TraceNotepad(const TraceNotepad&) = delete;
    TraceNotepad& operator=(const TraceNotepad&) = delete;

    void AddEditArea();
    // The edit area's text once the characters posted to it so far are handled.
    std::string Text();
};

// ---- Answering dialogs and message boxes from a second thread ----
// The code under test shows a modal dialog and waits in it; meanwhile a second thread finds the
// dialog among this process's visible dialogs by its exact title and acts as a user would.

using DialogAction = std::function<void(HWND dialog)>;

struct DialogStep {
    std::string title;
    DialogAction act;
};

struct SeenDialog {
    std::string title; // "no window <title>" when it never came
    std::string text;  // a message box's text
};

// Answers `steps` in order, each as soon as its dialog is there (waiting up to 30 s for it),
// and waits for each to close before the next. A step whose dialog never comes ends the answers.
class DialogAnswers {
  public:
    explicit DialogAnswers(std::vector<DialogStep> steps);
    ~DialogAnswers();
    DialogAnswers(const DialogAnswers&) = delete;
    DialogAnswers& operator=(const DialogAnswers&) = delete;

    // Waits for the thread; the dialogs it saw, in order.
    const std::vector<SeenDialog>& Finish();

  private:
    void Run();

    std::vector<DialogStep> steps_;
    std::vector<SeenDialog> seen_;
    std::thread thread_;
};

// Clicks the button `id` of a dialog or message box.
void Press(HWND dialog, int id);
DialogAction PressButton(int id);

// For a file dialog: chooses the entry at `filterPosition` of the file types (1-based; 0 keeps
// the one shown), types `path` as the file name and presses OK.
DialogAction EnterFileName(std::string path, int filterPosition = 0);

struct ShownBox {
    std::string caption;
    std::string text;
};

// While it lives, a thread answers every message box this process shows (OK, or Yes where there
// is no OK) and remembers its caption and text, so a test can check what the user was told and
// an unexpected box fails the test instead of hanging it. Other dialogs (the file dialogs) are
// left alone: only boxes with a message text are answered.
class MessageBoxWatch {
  public:
    MessageBoxWatch();
    ~MessageBoxWatch();
    MessageBoxWatch(const MessageBoxWatch&) = delete;
    MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

    // The boxes answered since the last call, in order.
    std::vector<ShownBox> Take();

  private:
    static BOOL CALLBACK Answer(HWND window, LPARAM self);
    void Run();

    std::atomic<bool> running_{true};
    std::mutex lock_;
    std::vector<ShownBox> boxes_;
    std::thread thread_;
};

// ---- The virtual instrument's log ----

// One line of the log: when (ms since the instrument opened), the event, and everything after
// the event's name ("3 F0 42 F7" for a recv).
struct InstrumentEvent {
    double ms = 0;
    std::string event;
    std::string rest;
};

// The lines of one event in the log at `path`, in order. A last line still being written is left
// out; a line that breaks the log's format fails the test.
std::vector<InstrumentEvent> InstrumentLogEvents(const std::string& path, std::string_view event);

} // namespace wintest
