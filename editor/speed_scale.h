#pragma once
#include <optional>
#include <string>
#include <string_view>

// Effect speeds: a byte 0..216 on three scales, 0.03 .. 3.00 Hz in steps of 0.03 (b 0..99),
// 3.1 .. 13.0 Hz in steps of 0.1 (b 100..199) and 14 .. 30 Hz in whole numbers (b 200..216).
inline constexpr int speedTop = 216;

std::string SpeedText(int b);

// Typed speed text as a byte; no value when the text is not a speed on one of the scales.
// Text between the scales' steps, which would show as another number than the one typed, is
// refused too; on the first scale a value is taken down to the step below it.
std::optional<int> ParseSpeedText(std::string_view text);
