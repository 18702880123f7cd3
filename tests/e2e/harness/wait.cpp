#include "harness/wait.h"

#include <thread>

namespace e2e {

long long Count(Milliseconds duration) {
    return static_cast<long long>(duration.count());
}

testing::AssertionResult WaitUntil(const std::function<bool()>& condition, std::string_view what,
                                   Milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return testing::AssertionSuccess();
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(kPollInterval);
    }
    // One last look: the condition may have become true while the deadline passed.
    if (condition())
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "timed out after " << Count(timeout) << " ms waiting until " << what;
}

testing::AssertionResult StaysTrue(const std::function<bool()>& condition, std::string_view what,
                                   Milliseconds duration) {
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + duration;
    for (;;) {
        if (!condition()) {
            auto after =
                std::chrono::duration_cast<Milliseconds>(std::chrono::steady_clock::now() - start);
            return testing::AssertionFailure()
                   << "no longer true after " << Count(after) << " ms: " << what;
        }
        if (std::chrono::steady_clock::now() >= end)
            return testing::AssertionSuccess();
        std::this_thread::sleep_for(kPollInterval);
    }
}

} // namespace e2e
