#include "common/FileErrors.h"

#include <cerrno>

namespace prurez {

std::string fileErrorMessage(int errorNumber, bool creating)
{
    switch (errorNumber) {
    case ENOENT:
        return creating ? "Invalid filename" : "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return "Invalid filename";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "File access denied";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    default:
        return "I/O error " + std::to_string(errorNumber);
    }
}

}  // namespace prurez
