#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace taglet {

// Read-only access to one file for the length of a Read. The first bytes (where the ID3v2 tag
// and the audio header live) are fetched in one go; anything further is read where it lies.
// A read that reaches beyond the end of the file fails with error 62.
class FileReader
{
public:
    explicit FileReader(const std::string &path);
    ~FileReader();
    FileReader(const FileReader &) = delete;
    FileReader &operator=(const FileReader &) = delete;

    std::int64_t size() const { return m_size; }
    // How many of the first bytes were fetched at the open.
    std::int64_t cached() const { return static_cast<std::int64_t>(m_head.size()); }
    // Fails with 62 unless [offset, offset + count) lies inside the file.
    void require(std::int64_t offset, std::int64_t count) const;
    std::string read(std::int64_t offset, std::int64_t count) const;
    // The same bytes without a copy when they lie in the first bytes fetched at the open;
    // otherwise they are read into `buffer` and viewed there.
    std::string_view view(std::int64_t offset, std::int64_t count, std::string &buffer) const;
    std::uint8_t byteAt(std::int64_t offset) const;

private:
    int m_fd = -1;
    std::int64_t m_size = 0;
    // Not a std::string: one is zeroed before it is read into, for every file read.
    std::unique_ptr<char[]> m_headBytes;
    std::string_view m_head;
};

} // namespace taglet
