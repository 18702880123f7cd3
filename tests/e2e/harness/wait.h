#pragma once
// Waiting for something to happen in the program under test: poll a condition every
// kPollInterval until it holds or a timeout passes. Tests never sleep for a fixed time to let
// the program catch up; they wait for what they expect to see.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string_view>

namespace e2e {

using Milliseconds = std::chrono::milliseconds;

// How long a wait lasts unless the caller says otherwise. Generous, because a Wine process on a
// busy two-core machine can take a few seconds to start; a passing test never waits this long.
inline constexpr Milliseconds kDefaultTimeout{15000};
inline constexpr Milliseconds kPollInterval{25};

// Polls `condition` until it returns true. The result is a failure naming `what` when the
// timeout passes first, so `ASSERT_TRUE(WaitUntil(...))` reports what never happened.
[[nodiscard]] testing::AssertionResult WaitUntil(const std::function<bool()>& condition,
                                                 std::string_view what,
                                                 Milliseconds timeout = kDefaultTimeout);

// Polls `condition` for the whole `duration` and fails as soon as it is false: for checking that
// something does NOT happen (no message box appears, a list keeps its entries).
[[nodiscard]] testing::AssertionResult StaysTrue(const std::function<bool()>& condition,
                                                 std::string_view what, Milliseconds duration);

// Milliseconds as a readable number for failure messages.
long long Count(Milliseconds duration);

} // namespace e2e
