#pragma once
// The files the program writes and reads: one save and one bounded read serve them all.
//
// A save writes the new content into a temporary file beside the target, checks every
// write and makes it durable, and only then renames it over the target: a full disk,
// a file-size limit or any other failure leaves the target as it was. A read takes
// regular files only (a pipe, a device or a folder could wait or run for ever) and no
// more than maximumReadFileSize bytes.

#include "common/Failure.h"

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

namespace prurez {

// errno of a failed open → the runtime's messages of the test data and curve files:
// "File not found", "Invalid filename", "File access denied", "Too many open files" or
// "I/O error <n>". When creating, a missing directory is an invalid name.
std::string fileErrorMessage(int errorNumber, bool creating);

// A file that could not be saved or read. The message says in Czech what failed and
// where; the kind and the system's error number let a caller say it otherwise.
class FileProblem : public Failure {
public:
    enum class Kind {
        cannotOpen,    // the file cannot be opened (errorNumber)
        notRegular,    // a folder, a pipe, a device or a socket (errorNumber 0)
        tooLarge,      // larger than maximumReadFileSize
        cannotRead,    // a read failed (errorNumber)
        cancelled,     // the reading was stopped
        cannotCreate,  // the new content has no place beside the target (errorNumber)
        cannotWrite,   // writing, completing or renaming failed (errorNumber)
    };
    FileProblem(Kind kind, const std::string& fileName, int errorNumber, const std::string& message)
        : Failure(Reason::fileError, message), kind_(kind), errorNumber_(errorNumber), fileName_(fileName)
    {
    }
    Kind kind() const { return kind_; }
    int errorNumber() const { return errorNumber_; }
    const std::string& fileName() const { return fileName_; }

private:
    Kind kind_;
    int errorNumber_;
    std::string fileName_;
};

// Which targets a save may write besides regular files.
enum class SaveTargets {
    regularFiles,            // anything else is refused (notRegular)
    regularFilesAndDevices,  // a character device (/dev/null) is written as it is
};

// Puts `content` in place of the file `name` (created when missing; a link is followed
// and stays a link; an existing file keeps its permissions). Throws FileProblem; the
// target is then as it was before.
void saveFile(const std::string& name, std::string_view content, SaveTargets targets = SaveTargets::regularFiles);

// The largest file the program reads: an input holds a few hundred short lines and a
// test data file at most maximumTestFilePointCount points of 64-character numbers.
inline constexpr std::size_t maximumReadFileSize = std::size_t(16) * 1024 * 1024;

// The whole content of the regular file `name`, read in pieces; `cancel`, when given
// and set, stops it. Throws FileProblem.
std::string readFile(const std::string& name, const std::atomic<bool>* cancel = nullptr);

// The message of a reading that was stopped.
std::string readingCancelledMessage(const std::string& name);

// The same for an open descriptor (standard input) that needs not be a regular file;
// `name` names it in messages.
std::string readDescriptor(int descriptor, const std::string& name, const std::atomic<bool>* cancel = nullptr);

// Whether the names lead to one existing file (links followed): a file written to the
// one would replace the other.
bool isSameFile(const std::string& one, const std::string& other);

}  // namespace prurez
