#include "manager/message_store.h"

#include <algorithm>
#include <limits>
#include <utility>

MessageStore store;

namespace {

// Copies between files go through chunks of this size, so joining costs no more memory than
// one chunk whatever the size of the store. Larger than a file's own buffer, so the bytes pass
// straight through it.
constexpr std::size_t copyChunkSize = 512 * 1024;

void ReportLabel(LabelChange change, int index, const std::string& label) {
    if (store.labelHook != nullptr)
        store.labelHook(store.labelContext, change, index, label.c_str());
}

void ReportStoreFull() {
    if (store.fullHook != nullptr)
        store.fullHook(store.fullContext);
}

// A scratch file made anew: the old one is deleted rather than cut to nothing, which costs the
// file system far less than rewriting a truncated file.
ByteFile CreateAnew(const std::string& path, bool bulk = false) {
    RemoveFile(path);
    return ByteFile(path, ByteFile::Mode::create, bulk);
}

// Open for appending, the store files take messages piece by piece; open for reading, they are
// only ever copied in large chunks.
void OpenStoreFiles(ByteFile::Mode mode) {
    if (mode == ByteFile::Mode::create) {
        store.dataFile = CreateAnew(store.files.data);
        store.lengthFile = CreateAnew(store.files.lengths);
        return;
    }
    const bool bulk = mode == ByteFile::Mode::read;
    store.dataFile = ByteFile(store.files.data, mode, bulk);
    store.lengthFile = ByteFile(store.files.lengths, mode, bulk);
}

void CloseStoreFiles() {
    store.dataFile.Close();
    store.lengthFile.Close();
}

void DeleteSplitFiles() {
    RemoveFile(store.files.beforeData);
    RemoveFile(store.files.beforeLengths);
    RemoveFile(store.files.afterData);
    RemoveFile(store.files.afterLengths);
}

// Input that arrived while the store could not take it goes in now, in the order it came.
void ReplayHeldInput() {
    std::vector<HeldInput> pieces = std::move(store.held);
    store.held.clear();
    for (const HeldInput& piece : pieces) {
        if (piece.commit)
            CommitMessage(piece.length, piece.makerByte, piece.form);
        else
            AppendMessageBytes(piece.bytes.data(), static_cast<std::int64_t>(piece.bytes.size()));
    }
}

// The bytes of a message still arriving sit at the end of the data file behind the committed
// messages. Before the store files are closed for Save As or an edit they move into the held
// input, so the message stays whole when the rest of it arrives.
void MovePendingBytesToHeld() {
    if (store.pendingBytes <= 0)
        return;
    store.dataFile.Flush();
    HeldInput piece;
    ByteFile data(store.files.data, ByteFile::Mode::read, true);
    if (data.Seek(store.committedBytes)) {
        piece.bytes.resize(static_cast<std::size_t>(store.pendingBytes));
        piece.bytes.resize(data.Read(piece.bytes.data(), piece.bytes.size()));
    }
    data.Close();
    store.dataFile.Close();
    TruncateFile(store.files.data, store.committedBytes);
    store.dataFile = ByteFile(store.files.data, ByteFile::Mode::append);
    store.pendingBytes = 0;
    if (!piece.bytes.empty())
        store.held.push_back(std::move(piece));
}

// The stored lengths, read from the length file; a length file cut short (it lives in a folder
// anyone can write to) reads as zero-length messages, and negative lengths as zero.
std::vector<std::int32_t> ReadLengthTable() {
    std::vector<std::int32_t> lengths;
    ByteFile file(store.files.lengths, ByteFile::Mode::read, true);
    file.ReadInt32Array(lengths, static_cast<std::size_t>(store.count));
    lengths.resize(static_cast<std::size_t>(store.count), 0);
    for (std::int32_t& length : lengths)
        length = std::max<std::int32_t>(length, 0);
    return lengths;
}

std::int64_t SumOfLengths(const std::vector<std::int32_t>& lengths, std::size_t first,
                          std::size_t last) {
    std::int64_t sum = 0;
    for (std::size_t i = first; i < last; ++i)
        sum += lengths[i];
    return sum;
}

// Appends a whole split-off part (data and lengths) to the store files; returns its data size.
std::int64_t JoinPart(const std::string& dataName, const std::string& lengthName,
                      std::vector<unsigned char>& buffer) {
    ByteFile data(dataName, ByteFile::Mode::read, true);
    ByteFile lengths(lengthName, ByteFile::Mode::read, true);
    const std::int64_t copied =
        CopyFileBytes(data, store.dataFile, -1, buffer.data(), buffer.size());
    CopyFileBytes(lengths, store.lengthFile, -1, buffer.data(), buffer.size());
    return copied;
}

// Turns the store file `from` into the split file `to` holding its first `keep` bytes. Renaming
// and cutting spares copying the part in front of the edited message; should the rename fail,
// the part is copied.
void MoveToSplitFile(const std::string& from, const std::string& to, std::int64_t keep,
                     std::vector<unsigned char>& buffer) {
    if (RenameFile(from, to)) {
        if (TruncateFile(to, keep))
            return;
        RenameFile(to, from);
    }
    ByteFile source(from, ByteFile::Mode::read, true);
    ByteFile target = CreateAnew(to, true);
    CopyFileBytes(source, target, keep, buffer.data(), buffer.size());
}

// Makes the split file `from` the store file `to` again, by renaming or else by copying.
void RestoreStoreFile(const std::string& from, const std::string& to,
                      std::vector<unsigned char>& buffer) {
    RemoveFile(to);
    if (RenameFile(from, to))
        return;
    ByteFile source(from, ByteFile::Mode::read, true);
    ByteFile target = CreateAnew(to, true);
    CopyFileBytes(source, target, -1, buffer.data(), buffer.size());
}

// Joins the split store again with `message` at the edited position: the part in front of it
// becomes the store files again, then the message and the part behind it follow. A null
// `message` joins the two parts with nothing between them.
void Rejoin(const unsigned char* message, std::int32_t n) {
    const int index = store.editIndex;
    std::vector<unsigned char> buffer(copyChunkSize);
    std::int64_t total = 0;
    if (index > 0) {
        RestoreStoreFile(store.files.beforeData, store.files.data, buffer);
        RestoreStoreFile(store.files.beforeLengths, store.files.lengths, buffer);
        total = std::max<std::int64_t>(FileSizeOf(store.files.data), 0);
        OpenStoreFiles(ByteFile::Mode::append);
    } else {
        OpenStoreFiles(ByteFile::Mode::create);
    }
    if (message != nullptr) {
        store.dataFile.Write(message, static_cast<std::size_t>(n));
        store.lengthFile.WriteInt32(n);
        total += n;
    }
    if (index + 1 < store.count)
        total += JoinPart(store.files.afterData, store.files.afterLengths, buffer);
    DeleteSplitFiles();
    store.committedBytes = total;
    store.pendingBytes = 0;
    store.editMessage.clear();
    store.editMessage.shrink_to_fit();
    store.mode = StoreMode::writing;
}

} // namespace

void BuildScratchFileNames(const std::string& tempFolder) {
    store.files.lengths = tempFolder + "~temp.lst";
    store.files.beforeData = tempFolder + "~tempbefore.syx";
    store.files.beforeLengths = tempFolder + "~tempbefore.lst";
    store.files.afterData = tempFolder + "~tempafter.syx";
    store.files.afterLengths = tempFolder + "~tempafter.lst";
    store.files.data = tempFolder + "~temp.syx";
}

void ResetStore() {
    if (store.mode == StoreMode::split)
        DeleteSplitFiles();
    store.editMessage.clear();
    CloseStoreFiles();
    OpenStoreFiles(ByteFile::Mode::create);
    store.mode = StoreMode::writing;
    store.count = 0;
    store.committedBytes = 0;
    store.pendingBytes = 0;
    store.fullReported = false;
    ReportLabel(LabelChange::clear, 0, "");
    ReplayHeldInput();
}

void AppendMessageBytes(const unsigned char* bytes, std::int64_t n) {
    if (n <= 0)
        return;
    switch (store.mode) {
    case StoreMode::closed:
        return;
    case StoreMode::reading:
    case StoreMode::split: {
        HeldInput piece;
        piece.bytes.assign(bytes, bytes + n);
        store.held.push_back(std::move(piece));
        return;
    }
    case StoreMode::writing:
        break;
    }
    // A full store takes nothing more; CommitMessage tells the user. Nor can a message grow
    // past what its 32-bit length can say.
    if (store.count >= maxStoreMessages ||
        store.pendingBytes + n > std::numeric_limits<std::int32_t>::max())
        return;
    store.dataFile.Write(bytes, static_cast<std::size_t>(n));
    store.pendingBytes += n;
}

void CommitMessage(std::int32_t length, unsigned char makerByte, LabelForm form) {
    switch (store.mode) {
    case StoreMode::closed:
        return;
    case StoreMode::reading:
    case StoreMode::split: {
        HeldInput piece;
        piece.commit = true;
        piece.length = length;
        piece.makerByte = makerByte;
        piece.form = form;
        store.held.push_back(std::move(piece));
        return;
    }
    case StoreMode::writing:
        break;
    }
    if (store.count >= maxStoreMessages) {
        DiscardMessageInProgress();
        if (!store.fullReported) {
            store.fullReported = true;
            ReportStoreFull();
        }
        return;
    }
    // The message is the first `length` bytes appended since the last commit; bytes behind them
    // already belong to the next message. Fewer are here only when the store was emptied while
    // the message was still arriving; then the length recorded must say so, or the store files
    // would disagree.
    const std::int64_t wanted = std::max<std::int32_t>(length, 0);
    const auto recorded = static_cast<std::int32_t>(std::min(wanted, store.pendingBytes));
    store.lengthFile.WriteInt32(recorded);
    store.committedBytes += recorded;
    store.pendingBytes -= recorded;
    ++store.count;
    ReportLabel(LabelChange::append, store.count - 1, MessageLabel(recorded, makerByte, form));
}

int MessageCount() {
    return store.count;
}

void DiscardMessageInProgress() {
    // Held input ends with the pieces of the unfinished message, behind its last commit.
    while (!store.held.empty() && !store.held.back().commit)
        store.held.pop_back();
    if (store.mode != StoreMode::writing || store.pendingBytes <= 0)
        return;
    store.dataFile.Close();
    TruncateFile(store.files.data, store.committedBytes);
    store.dataFile = ByteFile(store.files.data, ByteFile::Mode::append);
    store.pendingBytes = 0;
}

void OpenStoreForReading() {
    if (store.mode == StoreMode::split)
        CancelEdit();
    MovePendingBytesToHeld();
    CloseStoreFiles();
    OpenStoreFiles(ByteFile::Mode::read);
    store.mode = StoreMode::reading;
}

void ReopenStoreForWriting() {
    CloseStoreFiles();
    OpenStoreFiles(ByteFile::Mode::append);
    store.mode = StoreMode::writing;
    ReplayHeldInput();
}

void CloseStore() {
    if (store.mode == StoreMode::split)
        DeleteSplitFiles();
    CloseStoreFiles();
    store.mode = StoreMode::closed;
    store.held.clear();
    store.pendingBytes = 0;
}

void DeleteStoreFiles() {
    CloseStoreFiles();
    RemoveFile(store.files.data);
    RemoveFile(store.files.lengths);
}

SplitOutcome SplitForEdit(int index, std::int32_t maxLength, std::vector<unsigned char>& message) {
    message.clear();
    if (store.mode == StoreMode::split)
        CancelEdit();
    else if (store.mode != StoreMode::writing)
        ReopenStoreForWriting();
    const int count = store.count;
    if (index < 0 || index > count)
        index = count;
    if (index == count && count >= maxStoreMessages) {
        ReportStoreFull();
        return SplitOutcome::storeFull;
    }
    store.dataFile.Flush();
    store.lengthFile.Flush();
    const std::vector<std::int32_t> lengths = ReadLengthTable();
    const auto edited = static_cast<std::size_t>(index);
    if (index < count && lengths[edited] > maxLength)
        return SplitOutcome::tooLong;

    MovePendingBytesToHeld();
    CloseStoreFiles();
    // Split files left behind by an earlier run must not be joined into this store.
    DeleteSplitFiles();
    std::vector<unsigned char> buffer(copyChunkSize);
    const std::int64_t beforeBytes = SumOfLengths(lengths, 0, edited);
    {
        ByteFile data(store.files.data, ByteFile::Mode::read, true);
        data.Seek(beforeBytes);
        if (index < count) {
            message.resize(static_cast<std::size_t>(lengths[edited]));
            message.resize(data.Read(message.data(), message.size()));
        }
        if (index + 1 < count) {
            ByteFile afterData = CreateAnew(store.files.afterData, true);
            ByteFile afterLengths = CreateAnew(store.files.afterLengths, true);
            const std::int64_t afterBytes = SumOfLengths(lengths, edited + 1, lengths.size());
            CopyFileBytes(data, afterData, afterBytes, buffer.data(), buffer.size());
            afterLengths.WriteInt32Array(lengths.data() + edited + 1, lengths.size() - edited - 1);
        }
    }
    if (index > 0) {
        MoveToSplitFile(store.files.data, store.files.beforeData, beforeBytes, buffer);
        MoveToSplitFile(store.files.lengths, store.files.beforeLengths, 4 * std::int64_t{index},
                        buffer);
    }
    store.editMessage = message;
    store.mode = StoreMode::split;
    store.editIndex = index;
    return SplitOutcome::split;
}

void CommitEdit(const unsigned char* bytes, std::int32_t n) {
    if (store.mode != StoreMode::split)
        return;
    n = std::max<std::int32_t>(n, 0);
    static const unsigned char nothing = 0;
    if (bytes == nullptr)
        bytes = &nothing;
    const int index = store.editIndex;
    const std::string label = MessageLabel(n, FindMakerByte(bytes, n), LabelForm::user);
    Rejoin(bytes, n);
    if (index == store.count) {
        ++store.count;
        ReportLabel(LabelChange::append, index, label);
    } else {
        ReportLabel(LabelChange::replace, index, label);
    }
    ReplayHeldInput();
}

void CancelEdit() {
    if (store.mode != StoreMode::split)
        return;
    const std::vector<unsigned char> message = std::move(store.editMessage);
    // A new message that was never made leaves no entry behind: a length of 0 written here would
    // stand in the length file without being counted, and become the next message's length.
    static const unsigned char empty = 0;
    const bool replacing = store.editIndex < store.count;
    const unsigned char* bytes = message.empty() ? &empty : message.data();
    Rejoin(replacing ? bytes : nullptr, static_cast<std::int32_t>(message.size()));
    ReplayHeldInput();
}
