#pragma once

#include <taglet/taglet_export.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace taglet {

// Error numbers a caller may look at (the automation numbers of the control).
enum ErrorNumber : int {
    errInvalidArgument = 5,
    errOverflow = 6,
    errSubscript = 9,
    errTypeMismatch = 13,
    errFileNotFound = 53,
    errPastEnd = 62,
    errBadPosition = 63,
    errFileAccess = 75,
    errNoSuchSlot = 340,
    errSetAtDesignTime = 382,
    errReadOnly = 393,
    errInvalidPicture = 481,
};

// Every failure of the library: a number a caller can switch on and a readable message.
class TAGLET_EXPORT Error : public std::runtime_error
{
public:
    Error(int number, const std::string &message);
    int number() const noexcept { return m_number; }

    // The standard wording for an error number ("File not found", "Overflow", ...).
    static std::string describe(int number);

private:
    int m_number;
};

} // namespace taglet
