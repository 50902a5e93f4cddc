#include "flows/CurveFile.h"

#include "common/Failure.h"
#include "common/Files.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace prurez {

namespace {

// A regular file or a device (/dev/null) takes the curve; a pipe, a folder or a socket
// does not.
bool takesCurve(mode_t mode)
{
    return S_ISREG(mode) || S_ISCHR(mode);
}

}  // namespace

CurveFile::~CurveFile()
{
    try {
        close();
    } catch (...) {
        // A destructor reports nothing; close() reports a failed write when called.
    }
}

void CurveFile::write(const std::string& name, const GridTable& table)
{
    close();

    // On this system '*' and '?' are legal in names; here they are never meant so.
    if (name.empty() || name.find_first_of("*?") != std::string::npos)
        throw Failure(Reason::fileError, "Invalid filename");

    // Checked before opening too: opening a pipe that no one reads fails otherwise.
    struct stat existing {};
    if (::stat(name.c_str(), &existing) == 0 && !takesCurve(existing.st_mode))
        throw Failure(Reason::fileError, fileErrorMessage(EACCES, true));

    // Opened (created when missing) and locked, so that a file that another writer of
    // this program holds is never replaced; its content stays until the close.
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0)
        throw Failure(Reason::fileError, fileErrorMessage(errno, true));
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !takesCurve(status.st_mode)) {
        ::close(descriptor);
        throw Failure(Reason::fileError, fileErrorMessage(EACCES, true));
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(descriptor);
        throw Failure(Reason::fileError, error == EWOULDBLOCK ? std::string("File access denied") : fileErrorMessage(error, true));
    }

    // A link is followed: the file it leads to gets the new content, which is made
    // beside it: a folder that takes no new file refuses it now, not on the close.
    char* resolved = ::realpath(name.c_str(), nullptr);
    const std::string target = resolved != nullptr ? resolved : name;
    std::free(resolved);
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    if (S_ISREG(status.st_mode) && ::access(folder.c_str(), W_OK) != 0) {
        ::close(descriptor);
        throw Failure(Reason::fileError, fileErrorMessage(EACCES, true));
    }
    descriptor_ = descriptor;
    name_ = target;
    pending_.clear();
    for (int row = 1; row < table.rowCount(); ++row) {
        pending_ += table.cell(0, row);
        pending_ += ' ';
        pending_ += table.cell(1, row);
        pending_ += "\r\n";
    }
}

void CurveFile::close()
{
    if (descriptor_ < 0)
        return;
    const int descriptor = descriptor_;
    descriptor_ = -1;
    std::string failure;
    try {
        saveFile(name_, pending_, SaveTargets::regularFilesAndDevices);
    } catch (const FileProblem& problem) {
        failure = problem.kind() == FileProblem::Kind::notRegular ? fileErrorMessage(EACCES, true)
                                                                  : "I/O error " + std::to_string(problem.errorNumber());
    }
    pending_.clear();
    ::flock(descriptor, LOCK_UN);
    const int closeError = ::close(descriptor) == 0 ? 0 : errno;
    if (!failure.empty())
        throw Failure(Reason::fileError, failure);
    if (closeError != 0)
        throw Failure(Reason::fileError, "I/O error " + std::to_string(closeError));
}

}  // namespace prurez
