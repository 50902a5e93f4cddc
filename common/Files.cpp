#include "common/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

// What the system's error means for the user, in Czech.
std::string reason(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return "soubor nebo složka neexistuje";
    case ENOTDIR:
        return "část cesty není složka";
    case ENAMETOOLONG:
        return "název je příliš dlouhý";
    case EACCES:
    case EPERM:
        return "přístup odepřen";
    case EROFS:
        return "disk je jen pro čtení";
    case EISDIR:
        return "je to složka";
    case ENOSPC:
        return "na disku není dost místa";
    case EDQUOT:
        return "je vyčerpána disková kvóta";
    case EFBIG:
        return "soubor by byl větší, než systém dovoluje";
    case EMFILE:
    case ENFILE:
        return "je otevřeno příliš mnoho souborů";
    case ELOOP:
        return "příliš mnoho symbolických odkazů";
    case EIO:
        return "chyba čtení nebo zápisu na disku";
    default:
        return std::string("chyba systému ") + std::to_string(errorNumber) + " (" + std::strerror(errorNumber) + ")";
    }
}

std::string fileKind(mode_t mode)
{
    if (S_ISDIR(mode))
        return "je to složka";
    if (S_ISFIFO(mode))
        return "je to roura (FIFO)";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "je to zařízení";
    if (S_ISSOCK(mode))
        return "je to soket";
    return "není to obyčejný soubor";
}

std::string quoted(const std::string& name) { return "„" + name + "“"; }

}  // namespace

std::string readingCancelledMessage(const std::string& name)
{
    return "Čtení souboru " + quoted(name) + " bylo přerušeno.";
}

namespace {

FileProblem readProblem(FileProblem::Kind kind, const std::string& name, int errorNumber, mode_t mode = 0)
{
    using Kind = FileProblem::Kind;
    std::string message;
    switch (kind) {
    case Kind::cannotOpen:
        message = "Soubor " + quoted(name) + " nelze otevřít: " + reason(errorNumber) + ".";
        break;
    case Kind::notRegular:
        message = "Soubor " + quoted(name) + " nelze otevřít: " + fileKind(mode) + ", ne obyčejný soubor.";
        break;
    case Kind::tooLarge:
        message = "Soubor " + quoted(name) + " nelze otevřít: je větší než " +
                  std::to_string(maximumReadFileSize / (1024 * 1024)) + " MiB.";
        break;
    case Kind::cancelled:
        message = readingCancelledMessage(name);
        break;
    default:
        message = "Soubor " + quoted(name) + " nelze přečíst: " + reason(errorNumber) + ".";
        break;
    }
    return FileProblem(kind, name, errorNumber, message);
}

FileProblem saveProblem(FileProblem::Kind kind, const std::string& name, int errorNumber, bool existed,
                        mode_t mode = 0)
{
    std::string message = "Soubor " + quoted(name) + " se nepodařilo uložit: " +
                          (kind == FileProblem::Kind::notRegular ? fileKind(mode) + ", ne obyčejný soubor"
                                                                 : reason(errorNumber)) +
                          ".";
    if (existed)
        message += " Jeho dosavadní obsah zůstal beze změny.";
    return FileProblem(kind, name, errorNumber, message);
}

// Writes the whole text; errno of a failed write, 0 on success.
int writeAll(int descriptor, std::string_view text)
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

// The permissions of a new file: those that creating it would give. The process's mask
// is read from /proc, not by setting it and back, which other threads creating files
// meanwhile would see.
mode_t newFileMode()
{
    static const mode_t mask = [] {
        if (FILE* status = std::fopen("/proc/self/status", "re")) {
            char line[256];
            unsigned value = 0;
            bool found = false;
            while (!found && std::fgets(line, sizeof line, status) != nullptr)
                found = std::sscanf(line, "Umask: %o", &value) == 1;
            std::fclose(status);
            if (found)
                return static_cast<mode_t>(value);
        }
        const mode_t current = ::umask(022);
        ::umask(current);
        return current;
    }();
    return 0666 & ~mask;
}

// A character device takes the content directly (nothing to keep: it holds none).
void writeDevice(const std::string& name, std::string_view content)
{
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        throw saveProblem(FileProblem::Kind::cannotOpen, name, errno, false);
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISCHR(status.st_mode)) {
        ::close(descriptor);
        throw saveProblem(FileProblem::Kind::notRegular, name, 0, false, status.st_mode);
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    int error = writeAll(descriptor, content);
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    if (error != 0)
        throw saveProblem(FileProblem::Kind::cannotWrite, name, error, false);
}

}  // namespace

void saveFile(const std::string& name, std::string_view content, SaveTargets targets)
{
    if (name.empty())
        throw saveProblem(FileProblem::Kind::cannotOpen, name, ENOENT, false);
    struct stat existing {};
    const bool existed = ::stat(name.c_str(), &existing) == 0;
    if (existed && S_ISCHR(existing.st_mode) && targets == SaveTargets::regularFilesAndDevices) {
        writeDevice(name, content);
        return;
    }
    if (existed && !S_ISREG(existing.st_mode))
        throw saveProblem(FileProblem::Kind::notRegular, name, 0, false, existing.st_mode);
    // A file the user may not write is not replaced, though its folder would allow it.
    if (existed && ::access(name.c_str(), W_OK) != 0)
        throw saveProblem(FileProblem::Kind::cannotOpen, name, errno, true);

    // A link is followed: the file it leads to gets the new content.
    std::string target = name;
    if (existed) {
        if (char* resolved = ::realpath(name.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary = folder + "." + base + ".XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        throw saveProblem(FileProblem::Kind::cannotCreate, name, errno, existed);

    int error = 0;
    if (existed) {
        // Best effort: the owner may not be changeable; the permissions are.
        [[maybe_unused]] const int owned = ::fchown(descriptor, existing.st_uid, existing.st_gid);
        if (::fchmod(descriptor, existing.st_mode & 07777) != 0)
            error = errno;
    } else if (::fchmod(descriptor, newFileMode()) != 0) {
        error = errno;
    }
    if (error == 0)
        error = writeAll(descriptor, content);
    // The data reach the disk before the name does: a failure shows here, not later.
    if (error == 0 && ::fsync(descriptor) != 0)
        error = errno;
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        throw saveProblem(FileProblem::Kind::cannotWrite, name, error, existed);
    }
    // The rename itself is made durable with the folder.
    const int directory = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
}

std::string readDescriptor(int descriptor, const std::string& name, const std::atomic<bool>* cancel)
{
    std::string content;
    constexpr size_t piece = 1024 * 1024;
    for (;;) {
        if (cancel != nullptr && cancel->load())
            throw readProblem(FileProblem::Kind::cancelled, name, 0);
        const size_t had = content.size();
        content.resize(had + piece);
        const ssize_t got = ::read(descriptor, content.data() + had, piece);
        if (got < 0) {
            content.resize(had);
            if (errno == EINTR)
                continue;
            throw readProblem(FileProblem::Kind::cannotRead, name, errno);
        }
        content.resize(had + static_cast<size_t>(got));
        if (content.size() > maximumReadFileSize)
            throw readProblem(FileProblem::Kind::tooLarge, name, 0);
        if (got == 0)
            return content;
    }
}

std::string readFile(const std::string& name, const std::atomic<bool>* cancel)
{
    // Opening does not wait for a pipe's writer; only a regular file is then read.
    const int descriptor = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        throw readProblem(FileProblem::Kind::cannotOpen, name, errno);
    struct Closer {
        int descriptor;
        ~Closer() { ::close(descriptor); }
    } closer{descriptor};
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        throw readProblem(FileProblem::Kind::cannotRead, name, errno);
    if (!S_ISREG(status.st_mode))
        throw readProblem(FileProblem::Kind::notRegular, name, 0, status.st_mode);
    if (static_cast<unsigned long long>(status.st_size) > maximumReadFileSize)
        throw readProblem(FileProblem::Kind::tooLarge, name, 0);
    return readDescriptor(descriptor, name, cancel);
}

bool isSameFile(const std::string& one, const std::string& other)
{
    struct stat first {};
    struct stat second {};
    return ::stat(one.c_str(), &first) == 0 && ::stat(other.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

}  // namespace prurez
