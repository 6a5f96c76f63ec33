// wm8eutil -config FILE: encodes the WAV or WMA a configuration file names into WMA v2 in ASF.

#include "EncoderConfigReader.h"
#include "TempOutputFile.h"
#include "WmaEncoder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavutil/log.h>
}

namespace {

std::string readConfigFile(const char *path)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error(
            std::string("cannot open the configuration \"") + path + "\": " + std::strerror(errno));
    std::string text;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            throw std::runtime_error(std::string("cannot read the configuration \"") + path
                + "\": " + std::strerror(err));
        }
        if (n == 0)
            break;
        text.append(buf, static_cast<std::size_t>(n));
        if (text.size() > tonvera::EncoderConfigReader::maxFileSize) {
            ::close(fd);
            throw std::runtime_error("the configuration file is too large");
        }
    }
    ::close(fd);
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3 || std::string_view(argv[1]) != "-config") {
        std::fputs("usage: wm8eutil -config FILE\n", stderr);
        return 2;
    }
    tonvera::TempOutputFile::installSignalCleanup();
    // Our own one-line messages say what went wrong; the library's chatter would only confuse.
    av_log_set_level(AV_LOG_QUIET);
    try {
        const tonvera::EncoderConfig config
            = tonvera::EncoderConfigReader::parse(readConfigFile(argv[2]));
        tonvera::WmaEncoder::encode(config, [](int percent) {
            std::printf("progress %d\n", percent);
            std::fflush(stdout);
        });
    } catch (const std::exception &e) {
        std::fprintf(stderr, "wm8eutil: %s\n", e.what());
        return 1;
    }
    return 0;
}
