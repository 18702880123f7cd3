#pragma once
#include "manager/byte_file.h"
#include "manager/maker_name.h"

#include <cstdint>
#include <string>
#include <vector>

// The Manager's message store: every message received, read from a file or typed, in order.
// The bytes live back to back in a scratch data file and the 32-bit lengths in a scratch length
// file, so a store of many long messages costs no memory beyond the message being handled. The
// Manager's label list (one line per message) is kept in step through `labelHook`.

// The count is 16 bits wide in memory and in the file formats.
inline constexpr int maxStoreMessages = 32767;

// The scratch files, all in the system's temporary folder. Built once at start-up.
struct ScratchFileNames {
    std::string data;          // "~temp.syx"
    std::string lengths;       // "~temp.lst"
    std::string beforeData;    // "~tempbefore.syx"
    std::string beforeLengths; // "~tempbefore.lst"
    std::string afterData;     // "~tempafter.syx"
    std::string afterLengths;  // "~tempafter.lst"
};

// What happens to the label list: cleared, a label added at the end, or the label at `index`
// replaced by a new one.
enum class LabelChange { clear, append, replace };
using LabelListHook = void (*)(void* context, LabelChange change, int index, const char* label);
// Tells the user that the store holds as many messages as it can.
using StoreFullHook = void (*)(void* context);

// Where the store files are: open for appending (the normal state), open or finished for
// reading by Save As, split around the message the hex editor works on, or closed.
enum class StoreMode { closed, writing, reading, split };

// Bytes that arrive while the store files are not open for writing (during Save As or while the
// hex editor has the store split). They are replayed, in order, as soon as the store can take
// them again, so no received message is lost or written into the middle of an edit.
struct HeldInput {
    std::vector<unsigned char> bytes;
    bool commit = false; // a CommitMessage rather than an AppendMessageBytes
    std::int32_t length = 0;
    unsigned char makerByte = 0;
    LabelForm form = LabelForm::received;
};

struct MessageStore {
    ScratchFileNames files;
    ByteFile dataFile;
    ByteFile lengthFile;
    StoreMode mode = StoreMode::closed;
    std::int16_t count = 0;
    std::int64_t committedBytes = 0; // sum of the stored lengths
    std::int64_t pendingBytes = 0;   // appended bytes of the message not yet committed
    int editIndex = 0;
    std::vector<unsigned char> editMessage; // the edited message as it was, for CancelEdit
    bool fullReported = false;
    std::vector<HeldInput> held;
    LabelListHook labelHook = nullptr;
    void* labelContext = nullptr;
    StoreFullHook fullHook = nullptr;
    void* fullContext = nullptr;
};

extern MessageStore store;

// Builds the six scratch file names from the temporary folder (with its trailing separator).
void BuildScratchFileNames(const std::string& tempFolder);

// Empties the store: both store files created anew and open for appending, count 0, no labels.
void ResetStore();
// Adds bytes to the message being built at the end of the store.
void AppendMessageBytes(const unsigned char* bytes, std::int64_t n);
// Ends the message whose bytes were just appended: records its length, adds its label. The
// message is the first `length` bytes appended since the last commit, so several messages may be
// appended at once and committed one by one. Should fewer bytes have reached the store (it was
// emptied while the message was arriving), the store records the bytes it really holds.
void CommitMessage(std::int32_t length, unsigned char makerByte, LabelForm form);
int MessageCount();
// Drops the bytes appended since the last commit: the message they began will not be completed.
void DiscardMessageInProgress();
// Store files reopened for reading from their beginnings (used by Save As).
void OpenStoreForReading();
// Back to appending at the ends after reading, without emptying the store.
void ReopenStoreForWriting();
void CloseStore();
// Deletes both store files (at the program's exit).
void DeleteStoreFiles();

// The hex editor's replacement of one message: the store is split around message `index`
// (index == count: a new message at the end) and joined again by CommitEdit or CancelEdit.
enum class SplitOutcome {
    split,    // the store is split; `message` holds the message (empty for a new one)
    tooLong,  // the message is longer than maxLength; the store is as it was
    storeFull // a new message cannot be added; the store is as it was and the user was told
};
SplitOutcome SplitForEdit(int index, std::int32_t maxLength, std::vector<unsigned char>& message);
void CommitEdit(const unsigned char* bytes, std::int32_t n);
void CancelEdit();
