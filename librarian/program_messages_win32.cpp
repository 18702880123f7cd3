#include "librarian/program_messages.h"

#include <iterator>

#include "librarian/instrument_definition.h"
#include "librarian/reply_assembly.h"
#include "librarian/string_language.h"
#include "midi/midi_errors.h"
#include "midi/midi_state.h"
#include "shell/message_box.h"
#include "shell/shell_state.h"

OutgoingMessages outgoing;

namespace {

void ShowStringErrors(const std::vector<int>& errors) {
    for (int error : errors)
        ShowMessageBox(shell.currentModuleWindow, StringErrorText(error), stringErrorCaption,
                       MB_OK | MB_ICONEXCLAMATION);
}

void SendBuiltMessage(std::vector<std::uint8_t> bytes) {
    ReleaseSentMessages();
    auto message = outgoing.inFlight.emplace(outgoing.inFlight.end());
    message->bytes = std::move(bytes);
    message->bytes.reserve(1); // the empty message too is handed over with a valid pointer
    message->port = midi.output;
    message->header.lpData = reinterpret_cast<LPSTR>(message->bytes.data());
    message->header.dwBufferLength = static_cast<DWORD>(message->bytes.size());
    // The error boxes below let other window messages in, which may send messages of their own;
    // the list keeps this one where it is.
    MMRESULT result = midiOutPrepareHeader(message->port, &message->header, sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR)
        ReportMidiOutError("QX/OutPrepareHeader Error", result);
    result = midiOutLongMsg(message->port, &message->header, sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR) {
        ReportMidiOutError("QX/OutLongMsg Error", result);
        // Never queued, so never reported done: it goes now.
        if (message->header.dwFlags & MHDR_PREPARED)
            midiOutUnprepareHeader(message->port, &message->header, sizeof(MIDIHDR));
        outgoing.inFlight.erase(message);
    }
}

} // namespace

void ReleaseSentMessages() {
    for (auto message = outgoing.inFlight.begin(); message != outgoing.inFlight.end();) {
        if (message->header.dwFlags & MHDR_DONE) {
            // A port closed meanwhile has let go of its headers already.
            midiOutUnprepareHeader(message->port, &message->header, sizeof(MIDIHDR));
            message = outgoing.inFlight.erase(message);
        } else {
            ++message;
        }
    }
}

std::int32_t RequestProgram(std::int32_t program, bool sendIt) {
    BuiltMessage built = BuildRequestMessage(instrument.definition, program);
    ShowStringErrors(built.errors);
    const auto length = static_cast<std::int32_t>(built.bytes.size());
    if (sendIt)
        SendBuiltMessage(std::move(built.bytes));
    return length;
}

void SendProgram(std::int32_t program, const std::uint8_t* data) {
    BuiltMessage built = BuildSendMessage(instrument.definition, program, data);
    ShowStringErrors(built.errors);
    SendBuiltMessage(std::move(built.bytes));
}

void SendRawMessage(const std::uint8_t* bytes, std::int32_t length) {
    SendBuiltMessage(std::vector<std::uint8_t>(bytes, bytes + (length > 0 ? length : 0)));
}

void AcceptReplyBuffer(HWND window, MIDIHDR* header, std::int32_t expectedSize) {
    if (!TakeReturnedBuffer(header))
        return;
    bool complete =
        AssembleReply(replyAssembly, reinterpret_cast<const std::uint8_t*>(header->lpData),
                      header->dwBytesRecorded, header->dwBufferLength, expectedSize);
    if (complete) {
        // The reply gets bytes of its own: the handler may show dialogs, during which further
        // buffers arrive and the assembly moves on.
        std::vector<std::uint8_t> reply = std::move(replyAssembly.bytes);
        replyAssembly.bytes.clear();
        SendMessageA(window, replyMessage, reply.size(), reinterpret_cast<LPARAM>(reply.data()));
    }
    RequeueInputBuffer(header);
}
