#pragma once
// The output file of the results window: curvature and moment of every table row
// below the header, "col0 col1\r\n", held (with an advisory lock) from the press of
// the button until it is closed, and only then completed.
//
// The content is saved as every file of the program is (saveFile): a full disk or any
// other failure leaves the previous content of the target as it was, and the failure
// is reported.

#include "flows/GridTable.h"

#include <string>

namespace prurez {

class CurveFile {
public:
    CurveFile() = default;
    CurveFile(const CurveFile&) = delete;
    CurveFile& operator=(const CurveFile&) = delete;
    ~CurveFile();

    // Closes (and so completes) an open file first, then opens `name` for writing,
    // creating it when it does not exist, and keeps rows 1 … rowCount − 1: column 0,
    // one blank, column 1, CR LF. A name that cannot be created throws Failure with the
    // file message ("Invalid filename" also for an empty name or one with '*' or '?').
    // A device such as /dev/null is written directly; another file that is not a
    // regular file is "File access denied".
    void write(const std::string& name, const GridTable& table);

    bool isOpen() const { return descriptor_ >= 0; }
    // Writes the rows, puts them in place of the target, unlocks and closes it. A
    // failure ("I/O error <n>") leaves the target as it was before.
    void close();

private:
    int descriptor_ = -1;   // the target, locked
    std::string name_;
    std::string pending_;   // written on close
};

}  // namespace prurez
