#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tonvera {

// A section of the input in milliseconds. An end at or before the start means "to the end of
// the input", as the program's own section rules have it.
struct EncoderSection
{
    std::uint32_t startMs = 0;
    std::uint32_t endMs = 0;
};

// One encoding job as the program describes it in its configuration file.
struct EncoderConfig
{
    std::string input;
    std::string output;
    std::string profile;
    std::optional<EncoderSection> section;
    // Empty when the line is absent.
    std::string title;
    std::string author;
    std::string copyright;
    std::string description;
    // The fields that follow the designed lines, each on a line of its own; empty when absent.
    std::string album;
    std::string track; // as the source has it: "5" or "5/12"
    std::string year;
    std::string genre;
    std::string albumArtist;
    std::string composer;
    std::string picture; // the MP3 or WMA whose front cover the output carries
};

class ConfigError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads the configuration file byte for byte as the program writes it: one option per line in
// a fixed order, CR LF line ends (bare LF files are read too), tag values between double quotes
// with no escaping (a text ends at its first NUL), and a description that may span lines up to
// its closing quote. The description was once the last line; the lines of the further fields
// (-album to -picture) come after it, one line each, so they are taken off the end of the file
// first and the description runs to the last quote before them.
// Anything else is refused with a ConfigError naming the line.
class EncoderConfigReader
{
public:
    // Largest configuration file worth reading; the real ones are a few hundred bytes.
    static constexpr std::size_t maxFileSize = 1 << 20;

    static EncoderConfig parse(std::string_view text);
};

} // namespace tonvera
