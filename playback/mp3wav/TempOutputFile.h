#pragma once

#include <string>

namespace tonvera {

// An output written under a hidden temporary name beside its final path and renamed into place
// only when complete, so no half-written file ever carries the final name. Until commit() the
// temporary is removed by the destructor, and by SIGINT, SIGTERM or SIGHUP once
// installSignalCleanup() has run.
class TempOutputFile
{
public:
    explicit TempOutputFile(const std::string &finalPath); // throws std::runtime_error
    ~TempOutputFile();
    TempOutputFile(const TempOutputFile &) = delete;
    TempOutputFile &operator=(const TempOutputFile &) = delete;

    int fd() const { return m_fd; }
    const std::string &tempPath() const { return m_tempPath; }

    // Closes the file and renames it to the final path; throws std::runtime_error on failure
    // (the temporary is removed then).
    void commit();
    void discard();

    static void installSignalCleanup();

private:
    std::string m_finalPath;
    std::string m_tempPath;
    int m_fd = -1;
    unsigned m_mode = 0644;
};

} // namespace tonvera
