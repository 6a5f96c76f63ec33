#pragma once
// A reader for the message text file and other INI-layout files, following the rules the
// program's texts were written for: section and key names compare without regard to ASCII
// case, values are trimmed, one pair of surrounding quotes is removed, and a value is cut to
// at most 299 characters. Files are UTF-8 (a byte-order mark is skipped). Standard C++ only,
// so it builds without Qt and can be fuzzed and run under sanitizers.

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class ProfileText
{
public:
    // Longest value handed out, in characters (code points); longer values are cut to it.
    static constexpr std::size_t MaxValueLength = 299;

    // Parses the bytes of an INI-layout file. Never fails: lines it does not understand are
    // skipped.
    static ProfileText parse(std::string_view content);

    // The parsed contents of a file, shared from a cache that is refreshed when the file's
    // modification time or size changes. Null when the file cannot be read.
    static std::shared_ptr<const ProfileText> load(const std::string &path);

    // Drops every cached file (for tests and after the program rewrites a file).
    static void clearCache();

    // The value of key in section, already trimmed, unquoted and cut to MaxValueLength;
    // std::nullopt when the section or the key is absent.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    std::size_t sectionCount() const { return m_sections.size(); }

    // Every key of a section (lower-cased) with its value; empty when the section is absent.
    const std::map<std::string, std::string> &section(std::string_view section) const;

private:
    // Lower-cased section name -> lower-cased key -> value. The first occurrence of a key wins.
    std::map<std::string, std::map<std::string, std::string>> m_sections;
};

// The value of key in section of file, or defaultText when the file, the section or the key
// is missing or the value is empty. Either way the result holds at most
// ProfileText::MaxValueLength characters.
std::string ReadProfileText(std::string_view section, std::string_view key,
    std::string_view defaultText, const std::string &file);
