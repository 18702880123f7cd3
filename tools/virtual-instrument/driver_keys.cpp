// The instrument's own keys and knobs, played from outside: a test writes short MIDI messages
// (a program change, a controller, a note) into the mailslot "\\.\mailslot\talvane-vi\<id>",
// <id> being the process that loaded the driver, and the instrument sends them to the program's
// input as if a player had used its keys. They go on the cable after whatever the instrument is
// sending already, with the wire's timing when wire speed is on.
#include "tools/virtual-instrument/driver.h"

#include "tools/virtual-instrument/event_log.h"

#include <string>

namespace vi {

namespace {

constexpr DWORD kReadTimeout = 100; // milliseconds: how soon the reader notices the end
constexpr DWORD kLongestPlay = 64;  // bytes in one mailslot message

HANDLE keysSlot = INVALID_HANDLE_VALUE;
HANDLE keysReader = nullptr;
volatile LONG keysStopping = 0;

void Play(const std::uint8_t* bytes, DWORD count) {
    InstrumentDriver& d = instrumentDriver;
    EnterCriticalSection(&d.lock);
    WriteLog(EventWithBytes("note keys played", bytes, count));
    const LONGLONG now = Now();
    for (DWORD i = 0; i < count; ++i) {
        PutOnInputWire(bytes[i], now);
    }
    LeaveCriticalSection(&d.lock);
    WakeWorker();
}

DWORD WINAPI ReaderMain(void*) {
    std::uint8_t bytes[kLongestPlay];
    while (!InterlockedCompareExchange(&keysStopping, 0, 0)) {
        DWORD count = 0;
        if (ReadFile(keysSlot, bytes, sizeof bytes, &count, nullptr) && count > 0) {
            Play(bytes, count);
        }
    }
    return 0;
}

} // namespace

void StartKeys() {
    if (keysReader) {
        return;
    }
    const std::string name =
        "\\\\.\\mailslot\\talvane-vi\\" + std::to_string(GetCurrentProcessId());
    keysSlot = CreateMailslotA(name.c_str(), kLongestPlay, kReadTimeout, nullptr);
    if (keysSlot == INVALID_HANDLE_VALUE) {
        WriteLog("note keys unavailable: the mailslot cannot be made");
        return;
    }
    InterlockedExchange(&keysStopping, 0);
    keysReader = CreateThread(nullptr, 0, ReaderMain, nullptr, 0, nullptr);
}

void StopKeys() {
    if (!keysReader) {
        return;
    }
    InterlockedExchange(&keysStopping, 1);
    WaitForSingleObject(keysReader, 1000);
    CloseHandle(keysReader);
    keysReader = nullptr;
    CloseHandle(keysSlot);
    keysSlot = INVALID_HANDLE_VALUE;
}

} // namespace vi
