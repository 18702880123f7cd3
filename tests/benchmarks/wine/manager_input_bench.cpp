// How many SysEx messages a second the Manager takes in, for messages of 8, 74 and 566 bytes,
// beside what a real cable delivers and beside InputFloor.exe, a receiver that only queues each
// returned buffer again. The loopback instrument hands over each message as soon as a buffer is
// queued (TALVANE_VI_WIRE_SPEED=buffer), so the pace is the receiver's own. Floor and Manager
// runs alternate, and each figure is the median of the runs, so that a busy machine weighs on
// both alike. tools/bench-input builds and runs this and prints the table.
#include "../../e2e/manager_input_e2e.h"

#include <cstdio>
#include <cstdlib>

namespace {

using namespace manager_e2e;
using namespace manager_input_e2e;

constexpr double kCableBytesPerSecond = 3125.0; // 31,250 baud, ten bits a byte
// The first thirty messages fill the buffers queued before the burst; the pace counts after.
constexpr std::size_t kQueuedAtStart = 30;

struct Case {
    std::size_t length;
    int count;
};

int Runs() {
    const char* runs = std::getenv("BENCH_RUNS");
    const int value = runs != nullptr ? std::atoi(runs) : 0;
    return value > 0 ? value : 3;
}

double NowMs() {
    LARGE_INTEGER ticks, frequency;
    QueryPerformanceCounter(&ticks);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string BurstFile(const Case& c) {
    std::string file;
    for (int i = 0; i < c.count; ++i)
        file += AsText(Message(c.length, 0x41, static_cast<unsigned>(i)));
    return file;
}

// Messages a second between the first message handed over after the initial buffers and the
// last one, from the instrument's own time stamps; 0 when the burst did not come back whole.
double PaceFromLog(const std::string& logPath, int count) {
    const auto log = e2e::ReadInstrumentLog(logPath);
    const auto sent = e2e::EventsNamed(log.entries, "send");
    if (sent.size() != static_cast<std::size_t>(count) || !LostInputNotes(log).empty())
        return 0;
    const double span = sent.back().ms - sent[kQueuedAtStart].ms;
    return span > 0 ? static_cast<double>(sent.size() - 1 - kQueuedAtStart) * 1000.0 / span : 0;
}

e2e::LaunchOptions Options(const std::string& file) {
    return {.workFiles = {{"burst.syx", file}},
            .instrument = {.mode = "loopback"},
            .environment = {{"TALVANE_VI_WIRE_SPEED", "buffer"}}};
}

double FloorRun(const Case& c, const std::string& file) {
    e2e::LaunchOptions options = Options(file);
    options.program = "InputFloor.exe";
    options.arguments = "burst.syx " + std::to_string(c.count);
    e2e::Program program = e2e::Launch(options);
    if (!program)
        return 0;
    const auto exit = e2e::WaitForExit(program, e2e::Milliseconds(120000));
    if (!exit || *exit != 0)
        return 0;
    return PaceFromLog(program.instrumentLog, c.count);
}

struct ManagerPace {
    double input = 0;  // buffers handed back and queued again
    double listed = 0; // first message handed over to the last one listed
};

ManagerPace ManagerRun(const Case& c, const std::string& file) {
    PresetSettings();
    e2e::LaunchOptions options = Options(file);
    Manager manager = StartManager(options);
    ManagerPace pace;
    if (!manager.window || !SelectFile(manager.window, "burst.syx") ||
        !e2e::Press(manager.window, sendId))
        return pace;
    double listedAt = 0;
    for (const double end = NowMs() + 120000; NowMs() < end;) {
        if (LabelCount(manager.window) == c.count) {
            listedAt = NowMs();
            break;
        }
        Sleep(20);
    }
    const std::string& logPath = manager.program.instrumentLog;
    pace.input = PaceFromLog(logPath, c.count);
    const auto sent = e2e::EventsNamed(e2e::ReadInstrumentLog(logPath).entries, "send");
    if (listedAt > 0 && pace.input > 0)
        pace.listed = (c.count - 1) * 1000.0 / (listedAt - sent.front().ms);
    e2e::Close(manager.window);
    e2e::WaitForExit(manager.program);
    return pace;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

std::string LoadAverage() {
    const auto text = e2e::ReadFileBytes("Z:\\proc\\loadavg").value_or("?");
    return text.substr(0, text.find(' ', text.find(' ', text.find(' ') + 1) + 1));
}

TEST(ManagerInputBench, MessagesASecond) {
    const Case cases[] = {{8, 3000}, {74, 1500}, {566, 600}};
    const int runs = Runs();
    std::printf("load average before: %s; %d runs each, medians\n\n", LoadAverage().c_str(), runs);
    std::printf("| message | cable | floor (requeue only) | Manager, input | Manager, listed | "
                "Manager vs floor | Manager vs cable |\n|---|---|---|---|---|---|---|\n");
    for (const Case& c : cases) {
        const std::string file = BurstFile(c);
        std::vector<double> floors, inputs, listed;
        for (int run = 0; run < runs; ++run) {
            floors.push_back(FloorRun(c, file));
            const ManagerPace pace = ManagerRun(c, file);
            inputs.push_back(pace.input);
            listed.push_back(pace.listed);
        }
        const double cable = kCableBytesPerSecond / static_cast<double>(c.length);
        const double floor = Median(floors), input = Median(inputs), list = Median(listed);
        const double worst = std::min(input, list);
        std::printf("| %zu bytes x %d | %.1f/s | %.0f/s | %.0f/s | %.0f/s | %.2fx slower | "
                    "%.1fx faster |\n",
                    c.length, c.count, cable, floor, input, list, worst > 0 ? floor / worst : 0,
                    worst / cable);
        EXPECT_GT(worst, 0) << "a run of " << c.length << "-byte messages did not complete";
    }
    std::printf("\nload average after: %s\n", LoadAverage().c_str());
}

} // namespace
