#include "store/settings.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "store/paths.h"

Settings settings;

namespace {

// UTF-8 to single-byte text: each code point as one byte, '?' above U+00FF
// and for malformed sequences.
std::string utf8ToSingleByte(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        int follow = 0;
        std::uint32_t code = 0;
        std::uint32_t least = 0;
        if ((lead & 0xE0) == 0xC0) {
            follow = 1;
            code = lead & 0x1F;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            follow = 2;
            code = lead & 0x0F;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            follow = 3;
            code = lead & 0x07;
            least = 0x10000;
        } else {
            out += '?';
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        int taken = 0;
        while (taken < follow && j < text.size() && (static_cast<unsigned char>(text[j]) & 0xC0) == 0x80) {
            code = (code << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
            ++j;
            ++taken;
        }
        if (taken < follow || code < least) {
            out += '?';
            i = j;
            continue;
        }
        out += code <= 0xFF ? static_cast<char>(code) : '?';
        i = j;
    }
    return out;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

std::string_view trimLeft(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view trimRight(std::string_view s)
{
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

enum class LineKind { Group, Key };

struct Line {
    LineKind kind;
    std::string_view name; // group name or key
    std::string_view value;
};

// Comments and lines without "=" carry nothing and are left out.
std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = trimLeft(text.substr(pos, end - pos));
        pos = text.find_first_not_of("\r\n", end);
        if (pos == std::string_view::npos)
            pos = text.size();
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            line.remove_prefix(1);
            lines.push_back({LineKind::Group, line.substr(0, line.find(']')), {}});
            continue;
        }
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        lines.push_back({LineKind::Key, trimRight(line.substr(0, equals)), trimLeft(line.substr(equals + 1))});
    }
    return lines;
}

std::optional<std::string_view> findKey(const std::vector<Line>& lines, std::string_view key)
{
    std::size_t i = 0;
    while (i < lines.size() && !(lines[i].kind == LineKind::Group && equalsIgnoringCase(lines[i].name, "General")))
        ++i;
    for (++i; i < lines.size() && lines[i].kind == LineKind::Key; ++i)
        if (equalsIgnoringCase(lines[i].name, key))
            return lines[i].value;
    return std::nullopt;
}

// Leading white space, a sign and digits; anything else ends the number.
// Values beyond 32 bits saturate.
std::int32_t readNumber(std::string_view value)
{
    std::size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t' || value[i] == '\v' || value[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (value[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace

Settings parseSettings(const std::string& bytes)
{
    std::string converted;
    std::string_view text = bytes;
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") {
        converted = utf8ToSingleByte(text.substr(3));
        text = converted;
    }
    const std::vector<Line> lines = splitLines(text);
    Settings s;
    if (auto value = findKey(lines, "programs"))
        s.programs = readNumber(*value);
    if (auto value = findKey(lines, "radius"))
        s.radius = readNumber(*value);
    if (auto value = findKey(lines, "skin"))
        s.skin = std::string(trimRight(trimLeft(*value)));
    if (s.programs < 0)
        s.programs = 0;
    if (s.radius < 64)
        s.radius = 64;
    return s;
}

std::string settingsBytes(const Settings& s)
{
    return "[General]\r\nprograms = " + std::to_string(s.programs) + "\r\nradius = " + std::to_string(s.radius) +
           "\r\nskin = " + s.skin + "\r\n";
}

void loadSettings()
{
    std::optional<std::string> bytes = readWholeFile(settingsFilePath());
    settings = bytes ? parseSettings(*bytes) : Settings{};
}

void saveSettings() { writeWholeFile(settingsFilePath(), settingsBytes(settings)); }
