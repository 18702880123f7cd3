#pragma once
// The virtual instrument's own keys and knobs: a test makes the instrument send short messages
// (program change, controller, note) to the program, as a player at the instrument would.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

namespace e2e {

// Sends `bytes` (one or more short messages, status bytes included, at most 64 bytes) through
// the instrument loaded by the process that owns `window`; they reach that program's input after
// whatever the instrument is sending already. The instrument logs them as "note keys played".
[[nodiscard]] testing::AssertionResult PlayOnInstrument(HWND window,
                                                        const std::vector<std::uint8_t>& bytes);

} // namespace e2e
