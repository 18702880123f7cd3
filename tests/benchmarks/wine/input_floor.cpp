// The least a program can do with SysEx input under this system: a window that queues every
// returned buffer again at once and does nothing else. Started with a .syx file and a message
// count, it sends the file whole through the MIDI mapper (the loopback instrument returns it
// message by message) and ends when `count` buffers have come back. Its pace is the floor the
// Manager's is measured against.
//
//   InputFloor.exe FILE COUNT
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int bufferCount = 30;
constexpr DWORD bufferSize = 32000;
constexpr UINT mapper = static_cast<UINT>(-1);

struct FloorState {
    HMIDIIN input = nullptr;
    HMIDIOUT output = nullptr;
    MIDIHDR headers[bufferCount] = {};
    std::vector<char> data = std::vector<char>(bufferCount * bufferSize);
    MIDIHDR outHeader = {};
    std::vector<char> file;
    long wanted = 0;
    long received = 0;
};

FloorState state;

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case MM_MIM_LONGDATA: {
        auto* header = reinterpret_cast<MIDIHDR*>(lParam);
        if (header->dwBytesRecorded == 0)
            return 0;
        ++state.received;
        header->dwBytesRecorded = 0;
        midiInAddBuffer(state.input, header, sizeof(MIDIHDR));
        if (state.received >= state.wanted)
            PostQuitMessage(0);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool ReadWholeFile(const char* path, std::vector<char>& bytes) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return false;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
    return !bytes.empty();
}

bool OpenPorts(HWND window) {
    if (midiInOpen(&state.input, mapper, reinterpret_cast<DWORD_PTR>(window), 0, CALLBACK_WINDOW) !=
        MMSYSERR_NOERROR)
        return false;
    for (int i = 0; i < bufferCount; ++i) {
        MIDIHDR& header = state.headers[i];
        header.lpData = state.data.data() + static_cast<std::size_t>(i) * bufferSize;
        header.dwBufferLength = bufferSize;
        midiInPrepareHeader(state.input, &header, sizeof header);
        midiInAddBuffer(state.input, &header, sizeof header);
    }
    midiInStart(state.input);
    return midiOutOpen(&state.output, mapper, reinterpret_cast<DWORD_PTR>(window), 0,
                       CALLBACK_WINDOW) == MMSYSERR_NOERROR;
}

void ClosePorts() {
    midiOutReset(state.output);
    midiOutUnprepareHeader(state.output, &state.outHeader, sizeof state.outHeader);
    midiOutClose(state.output);
    midiInReset(state.input);
    MSG message;
    while (PeekMessageA(&message, nullptr, MM_MIM_LONGDATA, MM_MIM_LONGDATA, PM_REMOVE)) {
    }
    for (MIDIHDR& header : state.headers)
        midiInUnprepareHeader(state.input, &header, sizeof header);
    midiInClose(state.input);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 3 || !ReadWholeFile(__argv[1], state.file))
        return 2;
    state.wanted = std::strtol(__argv[2], nullptr, 10);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "TalvaneInputFloor";
    RegisterClassA(&windowClass);
    const HWND window =
        CreateWindowA("TalvaneInputFloor", "Input floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 200, 100, nullptr, nullptr, instance, nullptr);
    if (window == nullptr || !OpenPorts(window))
        return 3;
    state.outHeader.lpData = state.file.data();
    state.outHeader.dwBufferLength = static_cast<DWORD>(state.file.size());
    midiOutPrepareHeader(state.output, &state.outHeader, sizeof state.outHeader);
    midiOutLongMsg(state.output, &state.outHeader, sizeof state.outHeader);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    ClosePorts();
    DestroyWindow(window);
    return state.received >= state.wanted ? 0 : 1;
}
