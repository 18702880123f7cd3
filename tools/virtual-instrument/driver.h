#pragma once
// The driver's process-wide record and the functions its parts share. One output and one input
// device; everything in the record is guarded by `lock`, and notices to the program are sent
// while it is held so that they arrive in the order things happened.
#include "tools/virtual-instrument/input_port.h"
#include "tools/virtual-instrument/instrument.h"
#include "tools/virtual-instrument/settings.h"

#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace vi {

// A device as winmm opened it: where its notices go.
struct DriverPort {
    bool open = false;
    MIDIOPENDESC desc{};
    DWORD flags = 0;
};

// A message the program handed to the output, on its way to the instrument.
struct OutputJob {
    MIDIHDR* header = nullptr; // null for a short message
    std::uint8_t shortBytes[3] = {};
    DWORD length = 0;
    DWORD sent = 0;        // bytes the instrument has received
    LONGLONG handedAt = 0; // when the program handed it over
};

// A byte on the cable from the instrument to the program's input, and when it arrives.
struct WireByte {
    std::uint8_t byte;
    LONGLONG due;
};

struct InstrumentDriver {
    CRITICAL_SECTION lock;
    HMODULE module = nullptr;
    LONGLONG frequency = 1; // clock ticks a second
    LONGLONG byteTicks = 0; // 320 microseconds: one byte at 31,250 baud
    Settings settings;
    Instrument instrument;
    InputPort input;
    DriverPort out;
    DriverPort in;
    std::uint8_t outRunningStatus = 0;
    std::deque<OutputJob> outQueue;
    LONGLONG outWireFreeAt = 0;
    std::deque<WireByte> inWire;
    LONGLONG inWireFreeAt = 0;
    LONGLONG inputStartedAt = 0;
    HANDLE worker = nullptr;
    HANDLE wake = nullptr;
    bool stopping = false;
    HANDLE log = INVALID_HANDLE_VALUE;
    std::string logPath;
};

extern InstrumentDriver instrumentDriver;

LONGLONG Now();

// Settings and log (driver_settings.cpp). ReadCurrentSettings does file I/O and takes no lock.
Settings ReadCurrentSettings();
void ApplySettings(const Settings& settings);
void WriteLog(std::string_view eventText);
void CloseLog();

// The wire and the worker thread that runs it (driver_wire.cpp).
void StartWorker();
void StopWorker();
void WakeWorker();
void HandleInputEvents(const std::vector<InputEvent>& events);
// Puts a byte the instrument sends at `sentAt` on the cable to the program's input, behind the
// bytes already on it when the wire is timed. The caller holds the driver's lock.
void PutOnInputWire(std::uint8_t byte, LONGLONG sentAt);

// The instrument's keys played from outside (driver_keys.cpp): a mailslot per process.
void StartKeys();
void StopKeys();

// Sends a notice (MOM_*, MIM_*) to the program through winmm.
void Notify(const DriverPort& port, UINT message, DWORD_PTR param1, DWORD_PTR param2);

} // namespace vi
