#include "flows/CurveFile.h"

#include "common/Failure.h"
#include "common/FileErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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
        throw Failure("Invalid filename");

    // Opened without truncation, locked, and only then truncated, so that a file that
    // another writer of this program holds is never emptied.
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0)
        throw Failure(fileErrorMessage(errno, true));
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(descriptor);
        throw Failure(error == EWOULDBLOCK ? std::string("File access denied") : fileErrorMessage(error, true));
    }
    if (::ftruncate(descriptor, 0) != 0) {
        const int error = errno;
        ::close(descriptor);
        throw Failure(fileErrorMessage(error, true));
    }

    descriptor_ = descriptor;
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
    const int writeError = writeAll(descriptor, pending_);
    pending_.clear();
    ::flock(descriptor, LOCK_UN);
    const int closeError = ::close(descriptor) == 0 ? 0 : errno;
    if (writeError != 0)
        throw Failure("I/O error " + std::to_string(writeError));
    if (closeError != 0)
        throw Failure("I/O error " + std::to_string(closeError));
}

}  // namespace prurez
