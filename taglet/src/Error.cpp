#include <taglet/Error.h>

namespace taglet {

Error::Error(int number, const std::string &message)
    : std::runtime_error(message)
    , m_number(number)
{
}

std::string Error::describe(int number)
{
    switch (number) {
    case errInvalidArgument:
        return "Invalid procedure call or argument";
    case errOverflow:
        return "Overflow";
    case errSubscript:
        return "Subscript out of range";
    case errTypeMismatch:
        return "Type mismatch";
    case errFileNotFound:
        return "File not found";
    case errPastEnd:
        return "Input past end of file";
    case errBadPosition:
        return "Bad file position";
    case errFileAccess:
        return "Path/File access error";
    case errNoSuchSlot:
        return "No such picture slot";
    case errSetAtDesignTime:
        return "Property cannot be set at design time";
    case errReadOnly:
        return "Property is read-only";
    case errInvalidPicture:
        return "Invalid picture";
    default:
        return "Error " + std::to_string(number);
    }
}

} // namespace taglet
