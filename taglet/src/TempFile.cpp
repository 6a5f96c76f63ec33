#include "TempFile.h"

#include <taglet/Error.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace taglet {

TempFile::TempFile(std::string_view prefix, std::string_view data)
{
    std::string safe;
    for (char c : prefix.substr(0, 3)) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            safe += c;
    }
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec)
        folder = "/tmp";
    std::string pattern = (folder / (safe + "XXXXXX.tmp")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemps(name.data(), 4);
    if (fd < 0)
        throw Error(errFileAccess,
            std::string("Cannot create a temporary picture file: ") + std::strerror(errno));
    m_path = name.data();
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int err = errno;
            ::close(fd);
            ::unlink(m_path.c_str());
            throw Error(errFileAccess,
                "Cannot write the temporary picture file: " + std::string(std::strerror(err)));
        }
        done += static_cast<size_t>(n);
    }
    ::close(fd);
}

TempFile::~TempFile()
{
    ::unlink(m_path.c_str());
}

} // namespace taglet
