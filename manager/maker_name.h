#pragma once
#include <cstdint>
#include <string>

// The manufacturer byte of a SysEx message and the maker name shown in its label.

// The byte that follows the first F0 among the message's first ten bytes; 0 when there is no F0
// there or the F0 is the message's last byte.
unsigned char FindMakerByte(const unsigned char* bytes, std::int64_t length);

// The maker's name for the well-known manufacturer bytes, otherwise the byte in lower-case
// hexadecimal without leading zeros.
std::string MakerName(unsigned char makerByte);

// How a message came into the store decides its label form.
enum class LabelForm { received, user };

// "%li bytes [%s]" for a received (or file) message, "%li user [%s]" for a typed one.
std::string MessageLabel(std::int32_t length, unsigned char makerByte, LabelForm form);
