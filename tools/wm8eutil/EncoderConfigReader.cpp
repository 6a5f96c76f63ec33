#include "EncoderConfigReader.h"

#include "EncoderProfiles.h"

#include <array>
#include <charconv>

namespace tonvera {

namespace {

// The options in the only order the program writes them. "-time" has two places: before and
// after "-profile"; it may appear in one of them.
enum Slot { Input, Output, TimeBefore, Profile, TimeAfter, Title, Author, Copyright, Description };

struct Option
{
    std::string_view keyword;
    std::string_view name;
};

constexpr std::array<Option, 9> options {{
    {"-input ", "-input"},
    {"-output ", "-output"},
    {"-time ", "-time"},
    {"-profile ", "-profile"},
    {"-time ", "-time"},
    {"-title ", "-title"},
    {"-author ", "-author"},
    {"-copyright ", "-copyright"},
    {"-description ", "-description"},
}};

[[noreturn]] void fail(int line, const std::string &what)
{
    throw ConfigError("configuration line " + std::to_string(line) + ": " + what);
}

bool isValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra;
        std::uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= s.size())
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values past the Unicode range.
        static constexpr std::uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

std::uint32_t parseMs(int line, std::string_view digits)
{
    if (digits.empty() || digits.size() > 10)
        fail(line, "-time needs two whole numbers of milliseconds");
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            fail(line, "-time needs two whole numbers of milliseconds");
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 0x7FFFFFFF)
        fail(line, "-time value out of range");
    return static_cast<std::uint32_t>(value);
}

EncoderSection parseSection(int line, std::string_view value)
{
    const std::size_t blank = value.find(' ');
    if (blank == std::string_view::npos)
        fail(line, "-time needs a start and an end");
    return {parseMs(line, value.substr(0, blank)), parseMs(line, value.substr(blank + 1))};
}

// Tag texts read from ID3 frames may keep the tagger's terminating zero, or hold padding or
// further values after one. Players show the text up to the first zero, and so do we: refusing
// it would fail the whole encoding over a tag detail.
std::string checkedText(int line, std::string_view name, std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    if (!isValidUtf8(text))
        fail(line, std::string(name) + " is not UTF-8 text");
    return std::string(text);
}

std::string quoted(int line, std::string_view name, std::string_view value)
{
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        fail(line, std::string(name) + " value must be between double quotes");
    return checkedText(line, name, value.substr(1, value.size() - 2));
}

bool onlyLineEnds(std::string_view rest)
{
    return rest.find_first_not_of("\r\n") == std::string_view::npos;
}

// The lines after the designed ones, in the only order the program writes them.
struct Field
{
    std::string_view keyword;
    std::string EncoderConfig::*member;
};

const std::array<Field, 7> fields {{
    {"-album ", &EncoderConfig::album},
    {"-track ", &EncoderConfig::track},
    {"-year ", &EncoderConfig::year},
    {"-genre ", &EncoderConfig::genre},
    {"-albumartist ", &EncoderConfig::albumArtist},
    {"-composer ", &EncoderConfig::composer},
    {"-picture ", &EncoderConfig::picture},
}};

int countLines(std::string_view text, std::string_view eol)
{
    int count = 0;
    for (std::size_t at = text.find(eol); at != std::string_view::npos;
         at = text.find(eol, at + eol.size()))
        ++count;
    return count;
}

// Takes the further fields' lines off the end of text and stores their values; returns the
// length of what is left, the designed lines.
std::size_t takeFieldLines(std::string_view text, std::string_view eol, EncoderConfig &config)
{
    const std::size_t last = text.find_last_not_of("\r\n");
    std::size_t end = last == std::string_view::npos ? 0 : last + 1;
    std::size_t nextField = fields.size();
    while (end > 0) {
        const std::size_t previousEol = text.rfind(eol, end - 1);
        const std::size_t lineStart
            = previousEol == std::string_view::npos ? 0 : previousEol + eol.size();
        const std::string_view line = text.substr(lineStart, end - lineStart);
        std::size_t field = nextField;
        for (std::size_t f = 0; f < nextField; ++f) {
            if (line.starts_with(fields[f].keyword)) {
                field = f;
                break;
            }
        }
        if (field == nextField)
            break;
        const std::string_view keyword = fields[field].keyword;
        const int lineNo = countLines(text.substr(0, lineStart), eol) + 1;
        config.*fields[field].member
            = quoted(lineNo, keyword.substr(0, keyword.size() - 1), line.substr(keyword.size()));
        if (previousEol != std::string_view::npos && previousEol > 0
            && (text[previousEol - 1] == '\n' || text[previousEol - 1] == '\r'))
            fail(lineNo - 1, "empty line");
        nextField = field;
        end = previousEol == std::string_view::npos ? 0 : previousEol;
    }
    return end;
}

} // namespace

EncoderConfig EncoderConfigReader::parse(std::string_view text)
{
    if (text.empty())
        throw ConfigError("the configuration file is empty");
    if (text.size() > maxFileSize)
        throw ConfigError("the configuration file is too large");

    // Line ends follow the first line: CR LF as the program writes them, or bare LF.
    const std::size_t firstLf = text.find('\n');
    const std::string_view eol
        = (firstLf != std::string_view::npos && firstLf > 0 && text[firstLf - 1] != '\r')
        ? std::string_view("\n")
        : std::string_view("\r\n");

    EncoderConfig config;
    text = text.substr(0, takeFieldLines(text, eol, config));
    int lastSlot = -1;
    bool seen[options.size()] = {};
    std::size_t pos = 0;
    int lineNo = 0;

    while (pos < text.size()) {
        std::string_view rest = text.substr(pos);
        if (onlyLineEnds(rest))
            break; // empty lines at the very end are harmless
        ++lineNo;
        const std::size_t lineStart = pos;
        std::size_t end = rest.find(eol);
        std::string_view line = rest.substr(0, end);
        pos = end == std::string_view::npos ? text.size() : pos + end + eol.size();
        if (line.empty())
            fail(lineNo, "empty line");

        int slot = -1;
        for (std::size_t s = 0; s < options.size(); ++s) {
            if (line.starts_with(options[s].keyword)) {
                slot = static_cast<int>(s);
                break;
            }
        }
        if (slot < 0) {
            std::string shown(line.substr(0, 40));
            fail(lineNo, "unknown line \"" + shown + (line.size() > 40 ? "...\"" : "\""));
        }
        if (slot == TimeBefore && seen[Profile])
            slot = TimeAfter;
        const std::string_view name = options[slot].name;
        if (seen[slot] || (slot == TimeAfter && seen[TimeBefore]))
            fail(lineNo, "repeated " + std::string(name));
        if (slot < lastSlot)
            fail(lineNo, std::string(name) + " out of place");
        seen[slot] = true;
        lastSlot = slot;

        std::string_view value = line.substr(options[slot].keyword.size());
        switch (slot) {
        case Input:
        case Output:
        case Profile:
            if (value.empty())
                fail(lineNo, std::string(name) + " has no value");
            if (value.find('\0') != std::string_view::npos)
                fail(lineNo, std::string(name) + " holds a NUL byte");
            if (slot == Input)
                config.input = value;
            else if (slot == Output)
                config.output = value;
            else if (!findEncoderProfile(value))
                fail(lineNo, "unknown profile \"" + std::string(value.substr(0, 40)) + "\"");
            else
                config.profile = value;
            break;
        case TimeBefore:
        case TimeAfter:
            config.section = parseSection(lineNo, value);
            break;
        case Title:
            config.title = quoted(lineNo, name, value);
            break;
        case Author:
            config.author = quoted(lineNo, name, value);
            break;
        case Copyright:
            config.copyright = quoted(lineNo, name, value);
            break;
        case Description: {
            // The description may hold line breaks: it runs to the last double quote of the
            // file, after which only line ends may follow.
            std::string_view tail = text.substr(lineStart + options[slot].keyword.size());
            const std::size_t close = tail.rfind('"');
            if (tail.empty() || tail.front() != '"' || close == 0 || close == std::string_view::npos
                || !onlyLineEnds(tail.substr(close + 1)))
                fail(lineNo, "-description value must be between double quotes and end the file");
            config.description = checkedText(lineNo, name, tail.substr(1, close - 1));
            pos = text.size();
            break;
        }
        }
    }

    if (!seen[Input])
        throw ConfigError("the configuration has no -input line");
    if (!seen[Output])
        throw ConfigError("the configuration has no -output line");
    if (!seen[Profile])
        throw ConfigError("the configuration has no -profile line");
    return config;
}

} // namespace tonvera
