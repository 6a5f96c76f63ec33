#include "TempOutputFile.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tonvera {

namespace {

// The temporary that a signal handler must remove; only async-signal-safe access from there.
char g_pendingPath[PATH_MAX + 1];
volatile sig_atomic_t g_havePending = 0;

void removePendingOnSignal(int sig)
{
    if (g_havePending)
        ::unlink(g_pendingPath);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

// Blocks the cleanup signals while the pending path changes, so a handler never sees half of it.
class SignalBlock
{
public:
    SignalBlock()
    {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGINT);
        sigaddset(&set, SIGTERM);
        sigaddset(&set, SIGHUP);
        sigprocmask(SIG_BLOCK, &set, &m_old);
    }
    ~SignalBlock() { sigprocmask(SIG_SETMASK, &m_old, nullptr); }

private:
    sigset_t m_old;
};

std::string errnoText(const std::string &what, const std::string &path)
{
    return what + " \"" + path + "\": " + std::strerror(errno);
}

} // namespace

TempOutputFile::TempOutputFile(const std::string &finalPath)
    : m_finalPath(finalPath)
{
    if (finalPath.empty() || finalPath.back() == '/')
        throw std::runtime_error("output path \"" + finalPath + "\" names no file");
    struct stat st;
    if (::stat(finalPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw std::runtime_error("output path \"" + finalPath + "\" is a folder");

    const std::size_t slash = finalPath.rfind('/');
    const std::string folder
        = slash == std::string::npos ? std::string() : finalPath.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? finalPath : finalPath.substr(slash + 1);
    if (base.size() > 100)
        base.resize(100);
    std::string pattern = folder + "." + base + ".part-XXXXXX";
    if (pattern.size() > PATH_MAX)
        throw std::runtime_error("output path \"" + finalPath + "\" is too long");

    const mode_t mask = ::umask(0);
    ::umask(mask);
    m_mode = 0666 & ~mask;

    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    SignalBlock block;
    m_fd = ::mkostemp(buf.data(), O_CLOEXEC);
    if (m_fd < 0)
        throw std::runtime_error(errnoText("cannot create", finalPath));
    m_tempPath = buf.data();
    std::memcpy(g_pendingPath, m_tempPath.c_str(), m_tempPath.size() + 1);
    g_havePending = 1;
}

TempOutputFile::~TempOutputFile()
{
    discard();
}

void TempOutputFile::commit()
{
    if (m_fd < 0)
        throw std::runtime_error("output \"" + m_finalPath + "\" was already closed");
    ::fchmod(m_fd, m_mode);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const std::string message = errnoText("cannot write", m_finalPath);
        discard();
        throw std::runtime_error(message);
    }
    if (::rename(m_tempPath.c_str(), m_finalPath.c_str()) != 0) {
        const std::string message = errnoText("cannot create", m_finalPath);
        discard();
        throw std::runtime_error(message);
    }
    SignalBlock block;
    g_havePending = 0;
    m_tempPath.clear();
}

void TempOutputFile::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempPath.empty()) {
        SignalBlock block;
        ::unlink(m_tempPath.c_str());
        g_havePending = 0;
        m_tempPath.clear();
    }
}

void TempOutputFile::installSignalCleanup()
{
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = removePendingOnSignal;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&sa.sa_mask, sig);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
    // A reader that went away must not kill us before we clean up; writes just fail then.
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace tonvera
