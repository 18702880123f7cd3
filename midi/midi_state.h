#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <cstdint>
#include <vector>

// The process's one MIDI input and one MIDI output port. The device numbers themselves are the
// InputPort and OutputPort settings (-1 is the MIDI mapper).

inline constexpr int inputBufferCount = 30;
inline constexpr DWORD inputBufferSize = 32000;

struct InputBuffer {
    HGLOBAL headerBlock = nullptr;
    MIDIHDR* header = nullptr;
    HGLOBAL dataBlock = nullptr;
    char* data = nullptr;
};

struct MidiState {
    UINT inputDeviceCount = 0;
    UINT outputDeviceCount = 0;
    HMIDIIN input = nullptr;
    HMIDIOUT output = nullptr;
    bool inputOpen = false;
    bool outputOpen = false;
    InputBuffer inputBuffers[inputBufferCount];
    std::int32_t continuationCount = 0;
    unsigned char makerByte = 0;
    // The window the input reports to, and whether the input is being closed (buffers handed back
    // then are not queued again).
    HWND inputWindow = nullptr;
    bool inputClosing = false;
    // Device number of each port list entry, so list positions and devices stay in step even
    // when a device's capabilities cannot be read and it gets no entry.
    std::vector<int> inputListDevices;
    std::vector<int> outputListDevices;
};

extern MidiState midi;

void FillPortLists(HWND window);
void AllocateInputBuffers();
void FreeInputBuffers();
void OpenInput(HWND window);
void CloseInput();
// A null window sends the output's completions to OutputCompletion (the command-line send).
void OpenOutput(HWND window);
void CloseOutput();
void ChangeInputDevice(HWND window, int device);
void ChangeOutputDevice(HWND window, int device);
// The return protocol every module follows for a buffer the input hands back. TakeReturnedBuffer
// is false for a buffer that must be left alone: one that came back empty (the input was reset),
// is not one of the 30 input buffers, or has been queued again already. Otherwise the buffer is
// unprepared and its dwBytesRecorded bytes at lpData are the caller's to use; the caller then
// hands it to RequeueInputBuffer, which queues it again while the input is open.
bool TakeReturnedBuffer(MIDIHDR* header);
void RequeueInputBuffer(MIDIHDR* header);

// The device number behind a position of the port lists filled last (combo boxes 105 and 106);
// a position outside the list gives the current device, so nothing changes.
int InputDeviceAtPosition(int position);
int OutputDeviceAtPosition(int position);
