// The virtual instrument as a Windows MIDI driver: winmm loads it in place of the MIDI mapper
// (device -1) and calls DriverProc, modMessage (output) and midMessage (input). One output and
// one input device; each can be open once.
#include "tools/virtual-instrument/driver.h"

#include "tools/virtual-instrument/event_log.h"

#include <algorithm>
#include <cstddef>

// winmm's notice function for installable drivers (not declared by the mingw headers).
extern "C" BOOL WINAPI DriverCallback(DWORD_PTR callback, DWORD flags, HDRVR device, DWORD message,
                                      DWORD_PTR user, DWORD_PTR param1, DWORD_PTR param2);

namespace vi {

InstrumentDriver instrumentDriver;

LONGLONG Now() {
    LARGE_INTEGER ticks;
    QueryPerformanceCounter(&ticks);
    return ticks.QuadPart;
}

void Notify(const DriverPort& port, UINT message, DWORD_PTR param1, DWORD_PTR param2) {
    DriverCallback(port.desc.dwCallback, HIWORD(port.flags),
                   reinterpret_cast<HDRVR>(port.desc.hMidi), message, port.desc.dwInstance, param1,
                   param2);
}

namespace {

constexpr wchar_t kDeviceName[] = L"Talvane Virtual Instrument";

// Holds the driver's lock for one entry point.
struct Locked {
    Locked() { EnterCriticalSection(&instrumentDriver.lock); }
    ~Locked() { LeaveCriticalSection(&instrumentDriver.lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

template <typename Caps>
DWORD GetCaps(Caps* caps, DWORD_PTR size, WORD technology) {
    if (!caps) {
        return MMSYSERR_INVALPARAM;
    }
    Caps full{};
    full.wMid = 0xFFFF; // no registered maker
    full.wPid = 0xFFFF;
    full.vDriverVersion = 0x0100;
    static_assert(sizeof kDeviceName <= sizeof full.szPname);
    CopyMemory(full.szPname, kDeviceName, sizeof kDeviceName);
    if constexpr (requires { full.wTechnology; }) {
        full.wTechnology = technology;
        full.wChannelMask = 0xFFFF;
    }
    CopyMemory(caps, &full, std::min<DWORD_PTR>(size, sizeof full));
    return MMSYSERR_NOERROR;
}

// Both opens read the settings afresh, so that a test can change the instrument between runs.
DWORD OpenPort(DriverPort& port, const MIDIOPENDESC* desc, DWORD flags, bool Settings::*refuseOpen,
               const char* event, UINT openNotice) {
    if (!desc) {
        return MMSYSERR_INVALPARAM;
    }
    const Settings settings = ReadCurrentSettings();
    Locked locked;
    ApplySettings(settings);
    if (port.open) {
        WriteLog(std::string("note ") + event + " refused: already open");
        return MMSYSERR_ALLOCATED;
    }
    if (settings.*refuseOpen) {
        WriteLog(std::string("note ") + event + " refused: TALVANE_VI_FAIL_OPEN");
        return MMSYSERR_ALLOCATED;
    }
    port.open = true;
    port.desc = *desc;
    port.flags = flags;
    WriteLog(event);
    StartWorker();
    StartKeys();
    Notify(port, openNotice, 0, 0);
    return MMSYSERR_NOERROR;
}

// Preparing a header only marks it: the driver reads and writes the program's memory directly.
// winmm leaves input headers to the driver (and may do output headers itself).
DWORD PrepareHeader(MIDIHDR* header, DWORD_PTR size) {
    if (!header || size < offsetof(MIDIHDR, dwOffset) || !header->lpData) {
        return MMSYSERR_INVALPARAM;
    }
    if (header->dwFlags & MHDR_INQUEUE) {
        return MIDIERR_STILLPLAYING;
    }
    header->dwFlags |= MHDR_PREPARED;
    header->dwFlags &= ~MHDR_DONE;
    return MMSYSERR_NOERROR;
}

DWORD UnprepareHeader(MIDIHDR* header) {
    if (!header) {
        return MMSYSERR_INVALPARAM;
    }
    Locked locked; // the worker may be returning this very header
    if (header->dwFlags & MHDR_INQUEUE) {
        return MIDIERR_STILLPLAYING;
    }
    header->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

// --- Output -------------------------------------------------------------------------------

DWORD OpenOutput(const MIDIOPENDESC* desc, DWORD flags) {
    InstrumentDriver& d = instrumentDriver;
    const DWORD result = OpenPort(d.out, desc, flags, &Settings::failOpenOut, "open-out", MOM_OPEN);
    if (result == MMSYSERR_NOERROR) {
        Locked locked;
        d.outRunningStatus = 0;
    }
    return result;
}

bool LongMessagePending() {
    for (const OutputJob& job : instrumentDriver.outQueue) {
        if (job.header) {
            return true;
        }
    }
    return false;
}

// Closing with a long message still on its way fails, as on a real port. winmm under Wine lets
// go of its handle whatever the driver answers, so the driver lets go too: the message is
// dropped unfinished and the port can be opened again.
DWORD CloseOutput() {
    InstrumentDriver& d = instrumentDriver;
    Locked locked;
    if (!d.out.open) {
        return MMSYSERR_INVALHANDLE;
    }
    DWORD result = MMSYSERR_NOERROR;
    if (LongMessagePending()) {
        WriteLog("note close-out refused: a long message is still on its way; it is dropped");
        std::erase_if(d.outQueue, [](const OutputJob& job) { return job.header != nullptr; });
        result = MIDIERR_STILLPLAYING;
    } else {
        WriteLog("close-out");
        Notify(d.out, MOM_CLOSE, 0, 0);
    }
    d.out.open = false;
    return result;
}

// A short message: status in the low byte; without a status byte, running status applies.
DWORD ShortData(DWORD_PTR packed) {
    InstrumentDriver& d = instrumentDriver;
    Locked locked;
    if (!d.out.open) {
        return MMSYSERR_INVALHANDLE;
    }
    OutputJob job;
    job.handedAt = Now();
    const auto first = static_cast<std::uint8_t>(packed & 0xFF);
    int length = 1;
    if (first >= 0x80) {
        length = std::max(ShortMessageLength(first), 1);
        if (first < 0xF0) {
            d.outRunningStatus = first;
        } else if (first < 0xF8) {
            d.outRunningStatus = 0;
        }
    } else if (d.outRunningStatus != 0) {
        length = ShortMessageLength(d.outRunningStatus) - 1;
    }
    for (int i = 0; i < length; ++i) {
        job.shortBytes[i] = static_cast<std::uint8_t>((packed >> (8 * i)) & 0xFF);
    }
    job.length = static_cast<DWORD>(length);
    WriteLog(EventWithBytes("recv", job.shortBytes, job.length));
    d.outQueue.push_back(job);
    WakeWorker();
    return MMSYSERR_NOERROR;
}

DWORD LongData(MIDIHDR* header) {
    InstrumentDriver& d = instrumentDriver;
    if (!header) {
        return MMSYSERR_INVALPARAM;
    }
    Locked locked;
    if (!d.out.open) {
        return MMSYSERR_INVALHANDLE;
    }
    if (!(header->dwFlags & MHDR_PREPARED)) {
        return MIDIERR_UNPREPARED;
    }
    if (header->dwFlags & MHDR_INQUEUE) {
        return MIDIERR_STILLPLAYING;
    }
    if (!header->lpData && header->dwBufferLength > 0) {
        return MMSYSERR_INVALPARAM;
    }
    header->dwFlags &= ~MHDR_DONE;
    header->dwFlags |= MHDR_INQUEUE;
    OutputJob job;
    job.header = header;
    job.length = header->dwBufferLength;
    job.handedAt = Now();
    WriteLog(
        EventWithBytes("recv", reinterpret_cast<const std::uint8_t*>(header->lpData), job.length));
    d.outQueue.push_back(job);
    WakeWorker();
    return MMSYSERR_NOERROR;
}

// Stops the output: messages not yet sent (or not sent to the end) are reported done.
DWORD ResetOutput() {
    InstrumentDriver& d = instrumentDriver;
    Locked locked;
    if (!d.out.open) {
        return MMSYSERR_INVALHANDLE;
    }
    WriteLog("reset-out");
    std::deque<OutputJob> pending;
    pending.swap(d.outQueue);
    d.outWireFreeAt = Now();
    for (const OutputJob& job : pending) {
        if (job.header) {
            job.header->dwFlags &= ~MHDR_INQUEUE;
            job.header->dwFlags |= MHDR_DONE;
            WriteLog("done " + std::to_string(job.sent));
            Notify(d.out, MOM_DONE, reinterpret_cast<DWORD_PTR>(job.header), 0);
        }
    }
    return MMSYSERR_NOERROR;
}

// --- Input --------------------------------------------------------------------------------

DWORD OpenInput(const MIDIOPENDESC* desc, DWORD flags) {
    InstrumentDriver& d = instrumentDriver;
    {
        Locked locked;
        if (!d.in.open) {
            d.input = InputPort{};
        }
    }
    return OpenPort(d.in, desc, flags, &Settings::failOpenIn, "open-in", MIM_OPEN);
}

// Closing with buffers still queued fails, as on a real port; the driver lets go of the port
// and of the buffers (without returning them) because winmm under Wine frees its handle anyway.
DWORD CloseInput() {
    InstrumentDriver& d = instrumentDriver;
    Locked locked;
    if (!d.in.open) {
        return MMSYSERR_INVALHANDLE;
    }
    DWORD result = MMSYSERR_NOERROR;
    if (!d.input.queued.empty()) {
        WriteLog("note close-in refused: " + std::to_string(d.input.queued.size()) +
                 " buffers still queued; they are dropped");
        result = MIDIERR_STILLPLAYING;
    } else {
        WriteLog("close-in");
        Notify(d.in, MIM_CLOSE, 0, 0);
    }
    d.input = InputPort{};
    d.in.open = false;
    return result;
}

DWORD AddBuffer(MIDIHDR* header) {
    InstrumentDriver& d = instrumentDriver;
    if (!header || !header->lpData || header->dwBufferLength == 0) {
        return MMSYSERR_INVALPARAM;
    }
    Locked locked;
    if (!d.in.open) {
        return MMSYSERR_INVALHANDLE;
    }
    if (!(header->dwFlags & MHDR_PREPARED)) {
        return MIDIERR_UNPREPARED;
    }
    if (header->dwFlags & MHDR_INQUEUE) {
        return MIDIERR_STILLPLAYING;
    }
    header->dwFlags &= ~MHDR_DONE;
    header->dwFlags |= MHDR_INQUEUE;
    header->dwBytesRecorded = 0;
    InputBuffer buffer;
    buffer.header = header;
    buffer.data = reinterpret_cast<std::uint8_t*>(header->lpData);
    buffer.length = header->dwBufferLength;
    QueueBuffer(d.input, buffer);
    // Input held back for want of a buffer may go on now.
    WakeWorker();
    return MMSYSERR_NOERROR;
}

DWORD StartInputPort() {
    InstrumentDriver& d = instrumentDriver;
    Locked locked;
    if (!d.in.open) {
        return MMSYSERR_INVALHANDLE;
    }
    if (!d.input.started) {
        d.inputStartedAt = Now();
        StartInput(d.input);
        WriteLog("start-in");
    }
    WakeWorker();
    return MMSYSERR_NOERROR;
}

DWORD StopInputPort(bool reset) {
    InstrumentDriver& d = instrumentDriver;
    Locked locked;
    if (!d.in.open) {
        return MMSYSERR_INVALHANDLE;
    }
    WriteLog(reset ? "reset-in" : "stop-in");
    std::vector<InputEvent> events;
    if (reset) {
        ResetInput(d.input, events);
    } else {
        StopInput(d.input, events);
    }
    HandleInputEvents(events);
    return MMSYSERR_NOERROR;
}

} // namespace

} // namespace vi

// --- Entry points ---------------------------------------------------------------------------

using namespace vi;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        InstrumentDriver& d = instrumentDriver;
        InitializeCriticalSection(&d.lock);
        d.module = instance;
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        d.frequency = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
        d.byteTicks = d.frequency * 320 / 1'000'000;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" __declspec(dllexport) LRESULT WINAPI
    DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM param1, LPARAM param2) {
    switch (message) {
    case DRV_FREE:
        StopKeys();
        StopWorker();
        {
            Locked locked;
            CloseLog();
        }
        return 1;
    case DRV_LOAD:
    case DRV_ENABLE:
    case DRV_OPEN:
    case DRV_CLOSE:
    case DRV_DISABLE:
        return 1;
    case DRV_QUERYCONFIGURE:
        return 0;
    default:
        return DefDriverProc(id, driver, message, param1, param2);
    }
}

extern "C" __declspec(dllexport) DWORD WINAPI
    modMessage(UINT, UINT message, DWORD_PTR, DWORD_PTR param1, DWORD_PTR param2) {
    switch (message) {
    case DRVM_INIT:
    case DRVM_EXIT:
    case DRVM_ENABLE:
    case DRVM_DISABLE:
        return 0;
    case MODM_GETNUMDEVS:
        return 1;
    case MODM_GETDEVCAPS:
        return GetCaps(reinterpret_cast<MIDIOUTCAPSW*>(param1), param2, MOD_MIDIPORT);
    case MODM_OPEN:
        return OpenOutput(reinterpret_cast<const MIDIOPENDESC*>(param1),
                          static_cast<DWORD>(param2));
    case MODM_CLOSE:
        return CloseOutput();
    case MODM_DATA:
        return ShortData(param1);
    case MODM_LONGDATA:
        return LongData(reinterpret_cast<MIDIHDR*>(param1));
    case MODM_RESET:
        return ResetOutput();
    case MODM_PREPARE:
        return PrepareHeader(reinterpret_cast<MIDIHDR*>(param1), param2);
    case MODM_UNPREPARE:
        return UnprepareHeader(reinterpret_cast<MIDIHDR*>(param1));
    default:
        return MMSYSERR_NOTSUPPORTED;
    }
}

extern "C" __declspec(dllexport) DWORD WINAPI
    midMessage(UINT, UINT message, DWORD_PTR, DWORD_PTR param1, DWORD_PTR param2) {
    switch (message) {
    case DRVM_INIT:
    case DRVM_EXIT:
    case DRVM_ENABLE:
    case DRVM_DISABLE:
        return 0;
    case MIDM_GETNUMDEVS:
        return 1;
    case MIDM_GETDEVCAPS:
        return GetCaps(reinterpret_cast<MIDIINCAPSW*>(param1), param2, 0);
    case MIDM_OPEN:
        return OpenInput(reinterpret_cast<const MIDIOPENDESC*>(param1), static_cast<DWORD>(param2));
    case MIDM_CLOSE:
        return CloseInput();
    case MIDM_ADDBUFFER:
        return AddBuffer(reinterpret_cast<MIDIHDR*>(param1));
    case MIDM_START:
        return StartInputPort();
    case MIDM_STOP:
        return StopInputPort(false);
    case MIDM_RESET:
        return StopInputPort(true);
    case MIDM_PREPARE:
        return PrepareHeader(reinterpret_cast<MIDIHDR*>(param1), param2);
    case MIDM_UNPREPARE:
        return UnprepareHeader(reinterpret_cast<MIDIHDR*>(param1));
    default:
        return MMSYSERR_NOTSUPPORTED;
    }
}
