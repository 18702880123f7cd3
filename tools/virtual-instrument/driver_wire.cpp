// The two cables between the program and the instrument, run by one worker thread of the
// driver: the program's output reaches the instrument byte by byte, and whatever the instrument
// sends reaches the program's input. With wire speed N, every byte takes 320 / N microseconds on
// each cable (N = 1 is a real cable at 31,250 baud); otherwise bytes pass at once, and in the
// wait-for-buffer mode the input holds them back while the program has no buffer queued. Output
// completions come from this thread too, as they do from a real port.
#include "tools/virtual-instrument/driver.h"

#include "tools/virtual-instrument/event_log.h"

#include <algorithm>

namespace vi {

namespace {

constexpr LONGLONG kNothingDue = 0;

LONGLONG Earlier(LONGLONG a, LONGLONG b) {
    if (a == kNothingDue) {
        return b;
    }
    return b == kNothingDue ? a : std::min(a, b);
}

// The time one byte takes on a cable at the chosen speed.
LONGLONG ByteTime() {
    const InstrumentDriver& d = instrumentDriver;
    return std::max<LONGLONG>(d.byteTicks / std::max(d.settings.wireSpeed, 1), 1);
}

std::uint8_t JobByte(const OutputJob& job, DWORD index) {
    return job.header ? static_cast<std::uint8_t>(job.header->lpData[index])
                      : job.shortBytes[index];
}

// The instrument takes one byte that arrived at `arrival`; whatever it sends goes on the cable
// to the program's input.
void InstrumentReceives(std::uint8_t byte, LONGLONG arrival) {
    InstrumentDriver& d = instrumentDriver;
    InstrumentOutput out;
    ReceiveByte(d.instrument, byte, out);
    for (const std::string& line : out.log) {
        WriteLog(line);
    }
    for (std::uint8_t sent : out.wire) {
        PutOnInputWire(sent, arrival);
    }
}

void CompleteJob(const OutputJob& job) {
    if (!job.header) {
        return;
    }
    job.header->dwFlags &= ~MHDR_INQUEUE;
    job.header->dwFlags |= MHDR_DONE;
    WriteLog("done " + std::to_string(job.sent));
    Notify(instrumentDriver.out, MOM_DONE, reinterpret_cast<DWORD_PTR>(job.header), 0);
}

// Moves the program's output on to the instrument as far as the clock allows; returns when the
// next output byte is due (kNothingDue when the queue is empty).
LONGLONG RunOutput(LONGLONG now) {
    InstrumentDriver& d = instrumentDriver;
    while (!d.outQueue.empty()) {
        OutputJob& job = d.outQueue.front();
        const bool timed = d.settings.wireSpeed > 0;
        const LONGLONG byteTime = ByteTime();
        const LONGLONG start = std::max(job.handedAt, d.outWireFreeAt);
        while (job.sent < job.length) {
            const LONGLONG arrival =
                timed ? start + static_cast<LONGLONG>(job.sent + 1) * byteTime : job.handedAt;
            if (arrival > now) {
                return arrival;
            }
            InstrumentReceives(JobByte(job, job.sent), arrival);
            ++job.sent;
        }
        d.outWireFreeAt = timed ? start + static_cast<LONGLONG>(job.length) * byteTime : now;
        const OutputJob finished = job;
        d.outQueue.pop_front();
        CompleteJob(finished);
    }
    return kNothingDue;
}

// In the wait-for-buffer mode the input takes nothing while the program has no buffer queued;
// queueing one wakes the worker again.
bool WaitingForBuffer() {
    const InstrumentDriver& d = instrumentDriver;
    return d.settings.waitForBuffer && d.input.started && d.input.queued.empty();
}

// Hands the bytes that have arrived to the program's input.
LONGLONG RunInput(LONGLONG now) {
    InstrumentDriver& d = instrumentDriver;
    std::vector<InputEvent> events;
    while (!d.inWire.empty() && d.inWire.front().due <= now) {
        if (WaitingForBuffer()) {
            return kNothingDue;
        }
        const std::uint8_t byte = d.inWire.front().byte;
        d.inWire.pop_front();
        DeliverByte(d.input, byte, events);
        HandleInputEvents(events);
        events.clear();
    }
    return d.inWire.empty() ? kNothingDue : d.inWire.front().due;
}

DWORD TimeoutUntil(LONGLONG due) {
    if (due == kNothingDue) {
        return INFINITE;
    }
    const LONGLONG left = due - Now();
    if (left <= 0) {
        return 0;
    }
    return static_cast<DWORD>((left * 1000 + instrumentDriver.frequency - 1) /
                              instrumentDriver.frequency);
}

DWORD WINAPI WorkerMain(void*) {
    InstrumentDriver& d = instrumentDriver;
    EnterCriticalSection(&d.lock);
    while (!d.stopping) {
        const LONGLONG now = Now();
        // Output first: what the instrument sends in answer may be due on the input at once.
        const LONGLONG nextOutput = RunOutput(now);
        const LONGLONG next = Earlier(nextOutput, RunInput(now));
        LeaveCriticalSection(&d.lock);
        WaitForSingleObject(d.wake, TimeoutUntil(next));
        EnterCriticalSection(&d.lock);
    }
    LeaveCriticalSection(&d.lock);
    return 0;
}

} // namespace

void PutOnInputWire(std::uint8_t byte, LONGLONG sentAt) {
    InstrumentDriver& d = instrumentDriver;
    LONGLONG due = sentAt;
    if (d.settings.wireSpeed > 0) {
        due = std::max(sentAt, d.inWireFreeAt) + ByteTime();
        d.inWireFreeAt = due;
    }
    d.inWire.push_back({byte, due});
}

void HandleInputEvents(const std::vector<InputEvent>& events) {
    InstrumentDriver& d = instrumentDriver;
    const DWORD stamp = static_cast<DWORD>((Now() - d.inputStartedAt) * 1000 / d.frequency);
    for (const InputEvent& event : events) {
        switch (event.kind) {
        case InputEventKind::BufferDone: {
            auto* header = static_cast<MIDIHDR*>(event.buffer.header);
            header->dwBytesRecorded = event.buffer.recorded;
            header->dwFlags &= ~MHDR_INQUEUE;
            header->dwFlags |= MHDR_DONE;
            Notify(d.in, MIM_LONGDATA, reinterpret_cast<DWORD_PTR>(header), stamp);
            break;
        }
        case InputEventKind::ShortMessage:
            Notify(d.in, MIM_DATA, event.shortMessage, stamp);
            break;
        case InputEventKind::Log:
            WriteLog(event.text);
            break;
        }
    }
}

void StartWorker() {
    InstrumentDriver& d = instrumentDriver;
    if (d.worker) {
        return;
    }
    d.stopping = false;
    if (!d.wake) {
        d.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    d.worker = CreateThread(nullptr, 0, WorkerMain, nullptr, 0, nullptr);
}

void StopWorker() {
    InstrumentDriver& d = instrumentDriver;
    EnterCriticalSection(&d.lock);
    HANDLE worker = d.worker;
    d.worker = nullptr;
    d.stopping = true;
    LeaveCriticalSection(&d.lock);
    if (worker) {
        SetEvent(d.wake);
        // When the process is ending the thread is gone already; a thread that cannot finish
        // (the loader lock held) is not waited for long.
        WaitForSingleObject(worker, 1000);
        CloseHandle(worker);
    }
}

void WakeWorker() {
    if (instrumentDriver.wake) {
        SetEvent(instrumentDriver.wake);
    }
}

} // namespace vi
