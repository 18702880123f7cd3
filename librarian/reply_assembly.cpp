#include "librarian/reply_assembly.h"

#include "librarian/instrument_definition.h"
#include "librarian/string_language.h"

ReplyAssembly replyAssembly;

bool AssembleReply(ReplyAssembly& assembly, const std::uint8_t* data, std::uint32_t recorded,
                   std::uint32_t bufferLength, std::int32_t expectedSize) {
    if (assembly.fullBuffers == 0)
        assembly.bytes.clear();
    std::int64_t total = static_cast<std::int64_t>(assembly.fullBuffers) * bufferLength + recorded;
    bool canBeReply = total <= expectedSize;
    if (canBeReply)
        assembly.bytes.insert(assembly.bytes.end(), data, data + recorded);
    else
        assembly.bytes.clear();
    if (recorded >= bufferLength) {
        ++assembly.fullBuffers;
        return false;
    }
    assembly.fullBuffers = 0;
    if (total == expectedSize)
        return true;
    assembly.bytes.clear();
    return false;
}

const std::uint8_t* ProgramDataInReply(const std::uint8_t* reply, std::int32_t replyLength) {
    std::int64_t end =
        static_cast<std::int64_t>(replyValues.replyDataOffset) + instrument.definition.programSize;
    if (replyValues.replyDataOffset < 0 || end > replyLength)
        return nullptr;
    return reply + replyValues.replyDataOffset;
}
