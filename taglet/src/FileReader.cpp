#include "FileReader.h"

#include <taglet/Error.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace taglet {

namespace {
constexpr std::int64_t HeadSize = 64 * 1024;

[[noreturn]] void failOpen(const std::string &path, int err)
{
    if (err == ENOENT || err == ENOTDIR || path.empty())
        throw Error(errFileNotFound, "File not found: " + path);
    throw Error(errFileAccess, "Cannot open " + path + ": " + std::strerror(err));
}

// Reads exactly count bytes at offset, or fails.
void readAt(int fd, char *dst, std::int64_t offset, std::int64_t count)
{
    while (count > 0) {
        const ssize_t got = ::pread(fd, dst, static_cast<size_t>(count), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw Error(errFileAccess, std::string("Read error: ") + std::strerror(errno));
        if (got == 0)
            throw Error(errPastEnd, "Input past end of file");
        dst += got;
        offset += got;
        count -= got;
    }
}
} // namespace

FileReader::FileReader(const std::string &path)
{
    if (path.empty())
        failOpen(path, ENOENT);
    // Non-blocking so that a FIFO or device named by mistake cannot hang the open.
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0)
        failOpen(path, errno);
    struct stat st
    {
    };
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        throw Error(errFileAccess, "Not a regular file: " + path);
    }
    m_size = st.st_size;
    try {
        const auto headSize = static_cast<size_t>(std::min(m_size, HeadSize));
        m_headBytes = std::make_unique_for_overwrite<char[]>(headSize);
        readAt(m_fd, m_headBytes.get(), 0, static_cast<std::int64_t>(headSize));
        m_head = std::string_view(m_headBytes.get(), headSize);
    } catch (...) {
        ::close(m_fd);
        m_fd = -1;
        throw;
    }
}

FileReader::~FileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void FileReader::require(std::int64_t offset, std::int64_t count) const
{
    if (offset < 0 || count < 0 || offset > m_size || count > m_size - offset)
        throw Error(errPastEnd,
            "Input past end of file (" + std::to_string(count) + " bytes at offset "
                + std::to_string(offset) + " of " + std::to_string(m_size) + ")");
}

std::string FileReader::read(std::int64_t offset, std::int64_t count) const
{
    require(offset, count);
    const auto head = static_cast<std::int64_t>(m_head.size());
    if (offset + count <= head)
        return std::string(m_head.substr(static_cast<size_t>(offset), static_cast<size_t>(count)));
    std::string out(static_cast<size_t>(count), '\0');
    readAt(m_fd, out.data(), offset, count);
    return out;
}

std::string_view FileReader::view(
    std::int64_t offset, std::int64_t count, std::string &buffer) const
{
    require(offset, count);
    if (offset + count <= static_cast<std::int64_t>(m_head.size()))
        return m_head.substr(static_cast<size_t>(offset), static_cast<size_t>(count));
    buffer.resize(static_cast<size_t>(count));
    readAt(m_fd, buffer.data(), offset, count);
    return buffer;
}

std::uint8_t FileReader::byteAt(std::int64_t offset) const
{
    require(offset, 1);
    if (offset < static_cast<std::int64_t>(m_head.size()))
        return static_cast<std::uint8_t>(m_head[static_cast<size_t>(offset)]);
    return static_cast<std::uint8_t>(read(offset, 1)[0]);
}

} // namespace taglet
