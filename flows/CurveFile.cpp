#include "flows/CurveFile.h"

#include "common/Failure.h"
#include "common/FileErrors.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace prurez {

namespace {

// Writes the whole text; returns errno of a failed write, 0 on success.
int writeAll(int descriptor, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(descriptor, text.data() + done, text.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<size_t>(written);
    }
    return 0;
}

// The text into a new file beside `name`, made durable, then renamed over `name`;
// errno of the first failure (the new file is removed again), 0 on success. When no
// file can be made beside it (a folder that is not writable), the target itself is
// rewritten through `target`.
int replaceContent(const std::string& name, int target, const std::string& text, mode_t mode)
{
    const size_t slash = name.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    std::string temporary = folder + "." + base + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        if (::ftruncate(target, 0) != 0)
            return errno;
        return writeAll(target, text);
    }
    int error = ::fchmod(descriptor, mode) == 0 ? 0 : errno;
    if (error == 0)
        error = writeAll(descriptor, text);
    if (error == 0 && ::fsync(descriptor) != 0)
        error = errno;
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), name.c_str()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temporary.c_str());
    return error;
}

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
        throw fileFailure(EACCES, true);

    // Opened (created when missing) and locked, so that a file that another writer of
    // this program holds is never replaced; its content stays until the close.
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0)
        throw fileFailure(errno, true);
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !takesCurve(status.st_mode)) {
        ::close(descriptor);
        throw fileFailure(EACCES, true);
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(descriptor);
        throw fileFailure(error == EWOULDBLOCK ? EACCES : error, true);
    }

    descriptor_ = descriptor;
    device_ = S_ISCHR(status.st_mode);
    // A link is followed: the file it leads to gets the new content.
    char* resolved = ::realpath(name.c_str(), nullptr);
    name_ = resolved != nullptr ? resolved : name;
    std::free(resolved);
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
    int error = 0;
    if (device_) {
        error = writeAll(descriptor, pending_);
    } else {
        struct stat status {};
        const mode_t mode = ::fstat(descriptor, &status) == 0 ? (status.st_mode & 07777) : 0644;
        error = replaceContent(name_, descriptor, pending_, mode);
    }
    pending_.clear();
    ::flock(descriptor, LOCK_UN);
    const int closeError = ::close(descriptor) == 0 ? 0 : errno;
    if (error != 0)
        throw Failure(Reason::fileError, "I/O error " + std::to_string(error));
    if (closeError != 0)
        throw Failure(Reason::fileError, "I/O error " + std::to_string(closeError));
}

}  // namespace prurez
