#pragma once
#include <cstddef>
#include <string_view>

// What a box that is not a number reads as: it lies outside every range.
inline constexpr int notANumber = 16777215;

// An edit box's text as an optionally signed decimal integer that makes up the whole text;
// leading spaces are allowed. Anything else, the empty text included, reads as notANumber.
int ReadBoxNumber(std::string_view text);

// Rules that read the text itself look at this many characters at most.
inline constexpr std::size_t boxTextLimit = 9;
std::string_view BoxTextHead(std::string_view text);
