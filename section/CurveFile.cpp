#include "section/CurveFile.h"

#include "common/Failure.h"

namespace prurez {

// Placeholder until the output file is in place.
CurveFile::~CurveFile() { close(); }

void CurveFile::write(const std::string&, const GridTable&) { throw Failure("not available yet"); }

void CurveFile::close() {}

}  // namespace prurez
