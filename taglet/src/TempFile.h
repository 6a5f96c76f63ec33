#pragma once

#include <string>
#include <string_view>

namespace taglet {

// A uniquely named file in the system's temporary folder holding `data`, removed again when
// the object goes away. Only letters and digits of the prefix's first three characters are
// used, so a name taken from a file cannot lead outside the folder.
class TempFile
{
public:
    TempFile(std::string_view prefix, std::string_view data);
    ~TempFile();
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;

    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace taglet
