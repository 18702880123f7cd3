#include "manager/syx_format.h"

#include "manager/maker_name.h"
#include "manager/message_store.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t readChunkSize = 64000;
// Larger than the store file's own buffer, so streamed bytes pass straight through it.
constexpr std::size_t streamChunkSize = 512 * 1024;
constexpr std::size_t dataCopyChunkSize = 32000;
// The field Save As fills: the file dialog's 256-byte name buffer, filled with CD beforehand.
constexpr std::size_t nameBufferSize = 256;
constexpr unsigned char nameBufferFill = 0xCD;

bool ReadLengthTable(SyxFile& syx) {
    std::int16_t count = 0;
    if (!syx.file.Skip(syxDescriptionSize) || !syx.file.ReadInt16(count) || count < 0)
        return false;
    const std::int64_t tableEnd = syxHeaderSize + 4 * static_cast<std::int64_t>(count);
    if (tableEnd > syx.size)
        return false;
    if (!syx.file.ReadInt32Array(syx.lengths, static_cast<std::size_t>(count)))
        return false;
    std::int64_t total = tableEnd;
    for (const std::int32_t length : syx.lengths) {
        if (length < 0)
            return false;
        total += length;
    }
    syx.count = count;
    return total <= syx.size;
}

// The first bytes of a message that decide its maker: ten searched for F0, and the one after.
constexpr std::size_t makerHeadSize = 11;

// Streams the messages of a checked tagged file into the store through one chunk, whatever
// their sizes: each chunk is appended whole and the messages in it are committed one by one.
// False when the file ends early after all (it changed while it was read); the message it ended
// in is not kept.
bool StreamMessagesIntoStore(SyxFile& syx) {
    std::vector<unsigned char> chunk(streamChunkSize);
    std::size_t filled = 0;
    std::size_t used = 0;
    for (const std::int32_t length : syx.lengths) {
        unsigned char head[makerHeadSize];
        std::size_t headLength = 0;
        std::int64_t left = length;
        while (left > 0) {
            if (used == filled) {
                filled = syx.file.Read(chunk.data(), chunk.size());
                used = 0;
                if (filled == 0) {
                    DiscardMessageInProgress();
                    return false;
                }
                AppendMessageBytes(chunk.data(), static_cast<std::int64_t>(filled));
            }
            const auto take = static_cast<std::size_t>(
                std::min<std::int64_t>(left, static_cast<std::int64_t>(filled - used)));
            const std::size_t toHead = std::min(take, makerHeadSize - headLength);
            std::memcpy(head + headLength, chunk.data() + used, toHead);
            headLength += toHead;
            used += take;
            left -= static_cast<std::int64_t>(take);
        }
        CommitMessage(length, FindMakerByte(head, static_cast<std::int64_t>(headLength)),
                      LabelForm::received);
    }
    // Bytes behind the last message are not part of the file's contents.
    DiscardMessageInProgress();
    return true;
}

// Appends one message to the store as a received message.
void StoreMessage(const std::vector<unsigned char>& message) {
    const auto length = static_cast<std::int64_t>(message.size());
    AppendMessageBytes(message.data(), length);
    CommitMessage(static_cast<std::int32_t>(length), FindMakerByte(message.data(), length),
                  LabelForm::received);
}

const char* TagOf(SyxFormat format) {
    return format == SyxFormat::brevikorlando10 ? brevikorlando10Tag : brevikorlandoTag;
}

bool WriteHeader(ByteFile& target, SyxFormat format,
                 const std::array<unsigned char, syxDescriptionSize>& description) {
    return target.Write(TagOf(format), syxTagSize) &&
           target.Write(description.data(), description.size()) &&
           target.WriteInt16(static_cast<std::int16_t>(store.count));
}

} // namespace

SyxFormat FormatOfTag(const unsigned char* bytes, std::size_t n) {
    if (n < syxTagSize)
        return SyxFormat::standard;
    if (std::memcmp(bytes, brevikorlandoTag, syxTagSize) == 0)
        return SyxFormat::brevikorlando;
    if (std::memcmp(bytes, brevikorlando10Tag, syxTagSize) == 0)
        return SyxFormat::brevikorlando10;
    return SyxFormat::standard;
}

SyxOpenResult OpenSyxFile(const std::string& path, SyxFile& syx) {
    syx = SyxFile{};
    syx.size = FileSizeOf(path);
    syx.file = ByteFile(path, ByteFile::Mode::read, true);
    if (!syx.file.IsOpen() || syx.size < 0)
        return SyxOpenResult::cannotOpen;
    unsigned char tag[syxTagSize];
    const std::size_t got = syx.file.Read(tag, sizeof tag);
    syx.format = FormatOfTag(tag, got);
    if (syx.format != SyxFormat::standard)
        return ReadLengthTable(syx) ? SyxOpenResult::opened : SyxOpenResult::damaged;
    if (syx.size > std::numeric_limits<std::int32_t>::max())
        return SyxOpenResult::cannotOpen;
    // The standard format is one message: the whole file, tag bytes included.
    syx.file = ByteFile(path, ByteFile::Mode::read, true);
    if (syx.size > 0) {
        syx.count = 1;
        syx.lengths.assign(1, static_cast<std::int32_t>(syx.size));
    }
    return SyxOpenResult::opened;
}

bool ReadSyxBytes(SyxFile& syx, unsigned char* into, std::int32_t length) {
    const auto wanted = static_cast<std::size_t>(std::max<std::int32_t>(length, 0));
    std::size_t done = 0;
    while (done < wanted) {
        const std::size_t step = std::min(readChunkSize, wanted - done);
        const std::size_t got = syx.file.Read(into + done, step);
        done += got;
        if (got < step)
            break;
    }
    ++syx.position;
    return done == wanted;
}

bool ReadSyxMessage(SyxFile& syx, std::int32_t length, std::vector<unsigned char>& message) {
    message.resize(static_cast<std::size_t>(std::max<std::int32_t>(length, 0)));
    return ReadSyxBytes(syx, message.data(), length);
}

SyxReadResult ReadSyxFileIntoStore(const std::string& path) {
    SyxFile syx;
    switch (OpenSyxFile(path, syx)) {
    case SyxOpenResult::cannotOpen:
        return SyxReadResult::cannotOpen;
    case SyxOpenResult::damaged:
        return SyxReadResult::damaged;
    case SyxOpenResult::opened:
        break;
    }
    std::vector<unsigned char> message;
    if (syx.format == SyxFormat::standard) {
        if (syx.count == 0)
            return SyxReadResult::read;
        const std::int64_t take = std::min(syx.size, standardReadLimit);
        if (!ReadSyxMessage(syx, static_cast<std::int32_t>(take), message))
            return SyxReadResult::damaged;
        StoreMessage(message);
        return syx.size >= standardWarningSize ? SyxReadResult::cutShort : SyxReadResult::read;
    }
    // The layout was checked against the file's size, so every message is there; should the file
    // change while it is read, the messages already complete stay in the store.
    return StreamMessagesIntoStore(syx) ? SyxReadResult::read : SyxReadResult::damaged;
}

std::array<unsigned char, syxDescriptionSize> MakeDescription(const char* bareName) {
    unsigned char name[nameBufferSize];
    std::memset(name, nameBufferFill, sizeof name);
    const std::size_t length = std::min(std::strlen(bareName), nameBufferSize - 1);
    std::memcpy(name, bareName, length);
    name[length] = 0;
    if (length >= 4 && name[length - 4] == '.')
        name[length - 4] = 0;
    std::array<unsigned char, syxDescriptionSize> description{};
    std::memcpy(description.data(), name, description.size());
    return description;
}

bool WriteStoreToFile(const std::string& path, SyxFormat format,
                      const std::array<unsigned char, syxDescriptionSize>& description,
                      unsigned char* block, std::size_t blockSize) {
    OpenStoreForReading();
    ByteFile target(path, ByteFile::Mode::create, true);
    bool written = target.IsOpen();
    if (written && format != SyxFormat::standard) {
        const std::int64_t tableSize = 4 * static_cast<std::int64_t>(store.count);
        written = WriteHeader(target, format, description) &&
                  CopyFileBytes(store.lengthFile, target, tableSize, block, blockSize) == tableSize;
    }
    if (written) {
        const std::size_t chunk = std::min(blockSize, dataCopyChunkSize);
        written = CopyFileBytes(store.dataFile, target, store.committedBytes, block, chunk) ==
                  store.committedBytes;
    }
    written = target.Close() && written;
    store.dataFile.Close();
    store.lengthFile.Close();
    if (!written)
        RemoveFile(path);
    return written;
}
