#include "tools/virtual-instrument/settings.h"

#include <cctype>
#include <charconv>

namespace vi {

namespace {

// A thousand times a MIDI cable: 0.32 microseconds a byte, about what the clock can still time.
constexpr int kFastestWire = 1000;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

struct Reader {
    const SettingSource& environment;
    std::string_view iniText;
    Settings& settings;

    std::optional<std::string> Value(const std::string& name) const {
        if (auto value = environment(name); value && !Trim(*value).empty()) {
            return std::string(Trim(*value));
        }
        if (auto value = IniValue(iniText, name); value && !value->empty()) {
            return value;
        }
        return std::nullopt;
    }

    void Problem(const std::string& name, const std::string& value) const {
        settings.problems.push_back("ignored " + name + "=" + value);
    }
};

void ReadMode(const Reader& reader) {
    const std::string name = "TALVANE_VI_MODE";
    const auto value = reader.Value(name);
    if (!value) {
        return;
    }
    for (const auto& [text, mode] : instrumentModeNames) {
        if (SameLetters(*value, text)) {
            reader.settings.mode = mode;
            return;
        }
    }
    reader.Problem(name, *value);
}

void ReadNumber(const Reader& reader, const std::string& name, int low, int high, int& target) {
    const auto value = reader.Value(name);
    if (!value) {
        return;
    }
    const auto number = Number(*value);
    if (number && *number >= low && *number <= high) {
        target = *number;
    } else {
        reader.Problem(name, *value);
    }
}

void ReadFailOpen(const Reader& reader) {
    const std::string name = "TALVANE_VI_FAIL_OPEN";
    const auto value = reader.Value(name);
    if (!value) {
        return;
    }
    Settings& settings = reader.settings;
    if (SameLetters(*value, "in")) {
        settings.failOpenIn = true;
    } else if (SameLetters(*value, "out")) {
        settings.failOpenOut = true;
    } else if (SameLetters(*value, "both")) {
        settings.failOpenIn = settings.failOpenOut = true;
    } else if (!SameLetters(*value, "none")) {
        reader.Problem(name, *value);
    }
}

void ReadWireSpeed(const Reader& reader) {
    const std::string name = "TALVANE_VI_WIRE_SPEED";
    if (const auto value = reader.Value(name); value && SameLetters(*value, "buffer")) {
        reader.settings.waitForBuffer = true;
        return;
    }
    ReadNumber(reader, name, 0, kFastestWire, reader.settings.wireSpeed);
}

} // namespace

std::optional<std::string> IniValue(std::string_view iniText, std::string_view name) {
    while (!iniText.empty()) {
        const std::size_t end = iniText.find('\n');
        std::string_view line = Trim(iniText.substr(0, end));
        iniText = end == std::string_view::npos ? std::string_view{} : iniText.substr(end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && SameLetters(Trim(line.substr(0, equals)), name)) {
            return std::string(Trim(line.substr(equals + 1)));
        }
    }
    return std::nullopt;
}

Settings ReadSettings(const SettingSource& environment, std::string_view iniText) {
    Settings settings;
    const Reader reader{environment, iniText, settings};
    ReadMode(reader);
    ReadNumber(reader, "TALVANE_VI_CHANNEL", 1, 16, settings.channel);
    ReadWireSpeed(reader);
    ReadNumber(reader, "TALVANE_VI_DROP_EVERY", 0, 1'000'000, settings.dropEvery);
    ReadFailOpen(reader);
    if (auto log = reader.Value("TALVANE_VI_LOG")) {
        settings.logPath = *log;
    }
    return settings;
}

} // namespace vi
