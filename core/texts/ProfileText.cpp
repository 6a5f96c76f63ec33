#include "core/texts/ProfileText.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <system_error>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Section and key names compare ignoring ASCII case only: they are plain names and numbers.
std::string folded(std::string_view text)
{
    std::string result(trimmed(text));
    for (char &c : result) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

// Cuts UTF-8 text to at most `limit` code points without splitting a multi-byte sequence.
// A stray continuation byte (invalid UTF-8) counts as a character of its own, so no input can
// hide an unbounded run of bytes inside one "character".
std::string cutToCharacters(std::string_view text, std::size_t limit)
{
    std::size_t characters = 0;
    int continuationsLeft = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80 && continuationsLeft > 0) {
            --continuationsLeft;
            continue;
        }
        if (characters == limit)
            return std::string(text.substr(0, i));
        ++characters;
        continuationsLeft = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    }
    return std::string(text);
}

std::string cleanValue(std::string_view raw)
{
    std::string_view value = trimmed(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return cutToCharacters(value, ProfileText::MaxValueLength);
}

// A message file is a few kilobytes; anything this large is not one and is not read into memory.
constexpr std::uintmax_t MaxFileSize = 16 * 1024 * 1024;

struct CacheEntry
{
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;
    std::shared_ptr<const ProfileText> text;
};

std::mutex cacheMutex;
std::map<std::string, CacheEntry> cache;

} // namespace

ProfileText ProfileText::parse(std::string_view content)
{
    ProfileText result;
    if (content.starts_with("\xEF\xBB\xBF"))
        content.remove_prefix(3);

    std::map<std::string, std::string> *current = nullptr;
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content = end == std::string_view::npos ? std::string_view() : content.substr(end + 1);

        line = trimmed(line);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos) {
                // A broken header must not let its keys land in the previous section.
                current = nullptr;
                continue;
            }
            current = &result.m_sections[folded(line.substr(1, close - 1))];
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos)
            continue;
        std::string key = folded(line.substr(0, equals));
        if (key.empty())
            continue;
        current->try_emplace(std::move(key), cleanValue(line.substr(equals + 1)));
    }
    return result;
}

std::shared_ptr<const ProfileText> ProfileText::load(const std::string &path)
{
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error)
        return nullptr;
    // file_size also refuses folders and pipes, which could not be read sensibly (or at all).
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > MaxFileSize)
        return nullptr;

    {
        std::lock_guard lock(cacheMutex);
        const auto found = cache.find(path);
        if (found != cache.end() && found->second.modified == modified
            && found->second.size == size) {
            return found->second.text;
        }
    }

    std::ifstream file(path, std::ios::binary);
    if (!file)
        return nullptr;
    const std::string content {
        std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        return nullptr;
    auto text = std::make_shared<const ProfileText>(parse(content));

    std::lock_guard lock(cacheMutex);
    cache[path] = CacheEntry {modified, size, text};
    return text;
}

void ProfileText::clearCache()
{
    std::lock_guard lock(cacheMutex);
    cache.clear();
}

std::optional<std::string> ProfileText::value(std::string_view section, std::string_view key) const
{
    const auto foundSection = m_sections.find(folded(section));
    if (foundSection == m_sections.end())
        return std::nullopt;
    const auto foundKey = foundSection->second.find(folded(key));
    if (foundKey == foundSection->second.end())
        return std::nullopt;
    return foundKey->second;
}

const std::map<std::string, std::string> &ProfileText::section(std::string_view section) const
{
    static const std::map<std::string, std::string> empty;
    const auto found = m_sections.find(folded(section));
    return found == m_sections.end() ? empty : found->second;
}

std::string ReadProfileText(std::string_view section, std::string_view key,
    std::string_view defaultText, const std::string &file)
{
    if (const auto text = ProfileText::load(file)) {
        if (auto value = text->value(section, key); value && !value->empty())
            return *value;
    }
    return cutToCharacters(defaultText, ProfileText::MaxValueLength);
}
