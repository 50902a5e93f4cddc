#pragma once
// The output file of the results window: curvature and moment of every table row
// below the header, "col0 col1\r\n", held open (advisory lock) until closed.

#include "flows/GridTable.h"

#include <string>

namespace prurez {

class CurveFile {
public:
    CurveFile() = default;
    CurveFile(const CurveFile&) = delete;
    CurveFile& operator=(const CurveFile&) = delete;
    ~CurveFile();

    // Closes (and so completes) an open file first, then creates or truncates `name`
    // and writes rows 1 … rowCount − 1: column 0, one blank, column 1, CR LF.
    // A name that cannot be created throws Failure with the file message ("Invalid
    // filename" also for an empty name or one with '*' or '?'); nothing is created.
    void write(const std::string& name, const GridTable& table);

    bool isOpen() const { return descriptor_ >= 0; }
    // Flushes, unlocks and closes the file, if one is open.
    void close();

private:
    int descriptor_ = -1;
    std::string pending_;  // written to disk on close
};

}  // namespace prurez
