// The virtual instrument's settings (environment and midimap.ini) and the text of its log.
#include "tools/virtual-instrument/event_log.h"
#include "tools/virtual-instrument/settings.h"

#include <gtest/gtest.h>

#include <map>

namespace {

vi::SettingSource From(std::map<std::string, std::string> values) {
    return [values](const std::string& name) -> std::optional<std::string> {
        const auto found = values.find(name);
        if (found == values.end()) {
            return std::nullopt;
        }
        return found->second;
    };
}

TEST(ViSettings, DefaultsAreAnM1OnChannelOneWithoutLog) {
    const vi::Settings s = vi::ReadSettings(From({}), "");
    EXPECT_EQ(s.mode, vi::InstrumentMode::M1);
    EXPECT_EQ(s.channel, 1);
    EXPECT_FALSE(s.wireSpeed);
    EXPECT_EQ(s.dropEvery, 0);
    EXPECT_FALSE(s.failOpenIn);
    EXPECT_FALSE(s.failOpenOut);
    EXPECT_TRUE(s.logPath.empty());
    EXPECT_TRUE(s.problems.empty());
}

TEST(ViSettings, EnvironmentComesBeforeTheFile) {
    const std::string ini = "; the instrument beside the programs\r\n"
                            "TALVANE_VI_MODE = silent\r\n"
                            "talvane_vi_channel=12\r\n"
                            "\r\n"
                            "# comment=ignored\n"
                            "TALVANE_VI_LOG=Z:\\tmp\\vi.log\n";
    const vi::Settings s =
        vi::ReadSettings(From({{"TALVANE_VI_MODE", "Loopback"}, {"TALVANE_VI_CHANNEL", ""}}), ini);
    EXPECT_EQ(s.mode, vi::InstrumentMode::Loopback);
    // An empty variable counts as not set: the file's value holds.
    EXPECT_EQ(s.channel, 12);
    EXPECT_EQ(s.logPath, "Z:\\tmp\\vi.log");
    EXPECT_TRUE(s.problems.empty());
}

TEST(ViSettings, EveryValueIsRead) {
    const vi::Settings s = vi::ReadSettings(From({{"TALVANE_VI_MODE", "M1"},
                                                  {"TALVANE_VI_CHANNEL", "16"},
                                                  {"TALVANE_VI_WIRE_SPEED", "1"},
                                                  {"TALVANE_VI_DROP_EVERY", "3"},
                                                  {"TALVANE_VI_FAIL_OPEN", "both"}}),
                                            "");
    EXPECT_EQ(s.channel, 16);
    EXPECT_TRUE(s.wireSpeed);
    EXPECT_EQ(s.dropEvery, 3);
    EXPECT_TRUE(s.failOpenIn);
    EXPECT_TRUE(s.failOpenOut);
    const vi::Settings in = vi::ReadSettings(From({{"TALVANE_VI_FAIL_OPEN", "in"}}), "");
    EXPECT_TRUE(in.failOpenIn);
    EXPECT_FALSE(in.failOpenOut);
}

TEST(ViSettings, WireSpeedIsAFactorOfTheCableOrWaitsForBuffers) {
    const struct {
        const char* value;
        int factor;
        bool waitForBuffer;
        bool problem;
    } cases[] = {{"0", 0, false, false},     {"10", 10, false, false}, {"1000", 1000, false, false},
                 {"Buffer", 0, true, false}, {"1001", 0, false, true}, {"-1", 0, false, true},
                 {"buffers", 0, false, true}};
    for (const auto& c : cases) {
        const vi::Settings s = vi::ReadSettings(From({{"TALVANE_VI_WIRE_SPEED", c.value}}), "");
        EXPECT_EQ(s.wireSpeed, c.factor) << c.value;
        EXPECT_EQ(s.waitForBuffer, c.waitForBuffer) << c.value;
        EXPECT_EQ(s.problems.size(), c.problem ? 1u : 0u) << c.value;
    }
}

TEST(ViSettings, BadValuesKeepTheDefaultAndAreReported) {
    const vi::Settings s = vi::ReadSettings(From({{"TALVANE_VI_MODE", "korg"},
                                                  {"TALVANE_VI_CHANNEL", "17"},
                                                  {"TALVANE_VI_WIRE_SPEED", "yes"},
                                                  {"TALVANE_VI_DROP_EVERY", "-1"},
                                                  {"TALVANE_VI_FAIL_OPEN", "sideways"}}),
                                            "TALVANE_VI_CHANNEL=0\n");
    EXPECT_EQ(s.mode, vi::InstrumentMode::M1);
    EXPECT_EQ(s.channel, 1);
    EXPECT_FALSE(s.wireSpeed);
    EXPECT_EQ(s.dropEvery, 0);
    EXPECT_FALSE(s.failOpenIn || s.failOpenOut);
    ASSERT_EQ(s.problems.size(), 5u);
    EXPECT_EQ(s.problems[1], "ignored TALVANE_VI_CHANNEL=17");
    const vi::Settings zero = vi::ReadSettings(From({}), "TALVANE_VI_CHANNEL=0x3\n");
    EXPECT_EQ(zero.channel, 1);
    EXPECT_EQ(zero.problems.size(), 1u);
}

TEST(ViSettings, IniValueFindsTheFirstMatchingName) {
    EXPECT_EQ(vi::IniValue("A=1\nB = two words \nB=3", "b"), "two words");
    EXPECT_EQ(vi::IniValue("AB=1", "A"), std::nullopt);
    EXPECT_EQ(vi::IniValue("no equals sign\n=5", ""), "5");
    EXPECT_EQ(vi::IniValue("", "A"), std::nullopt);
}

TEST(ViEventLog, LinesCarryMillisecondsWithThreeDecimalsAndUpperCaseHex) {
    const std::uint8_t bytes[] = {0xF0, 0x0A, 0x7F, 0xF7};
    EXPECT_EQ(vi::HexBytes(bytes, 4), "F0 0A 7F F7");
    EXPECT_EQ(vi::EventWithBytes("recv", bytes, 4), "recv 4 F0 0A 7F F7");
    EXPECT_EQ(vi::EventWithBytes("done", bytes, 0), "done 0");
    EXPECT_EQ(vi::LogLine(1234567, "open-out"), "1234.567 open-out\n");
    EXPECT_EQ(vi::LogLine(5, "close-in"), "0.005 close-in\n");
}

TEST(ViEventLog, TicksConvertWithoutOverflowForLongUptimes) {
    EXPECT_EQ(vi::TicksToMicroseconds(10'000'000, 10'000'000), 1'000'000);
    EXPECT_EQ(vi::TicksToMicroseconds(3, 1000), 3000);
    // Thirty days of a 10 MHz counter.
    const std::int64_t ticks = 30LL * 24 * 3600 * 10'000'000 + 12345;
    EXPECT_EQ(vi::TicksToMicroseconds(ticks, 10'000'000), 30LL * 24 * 3600 * 1'000'000 + 1234);
    EXPECT_EQ(vi::TicksToMicroseconds(100, 0), 0);
}

} // namespace
