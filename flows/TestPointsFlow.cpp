// The test points of a bending test: the grid typed by hand and the test data file.

#include "flows/InverseFlow.h"

#include "common/Failure.h"
#include "common/FileErrors.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "flows/CellText.h"
#include "flows/InverseMessages.h"
#include "flows/Refusals.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace prurez {

namespace {

const char* const forceHeader = "  Síla [kN]";
const char* const deflectionHeader = "  Průhyb [m]";

void writePointHeaders(GridTable& points)
{
    points.setCell(0, 0, forceHeader);
    points.setCell(1, 0, deflectionHeader);
}

// A number text of the file is at most this long; a longer run is split.
constexpr std::size_t maximumNumberTextLength = 64;
constexpr int endOfFileCharacter = 26;  // Ctrl-Z

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<int> setTestPointCount(const std::string& countText, GridTable& points)
{
    points.setColumnCount(2);
    if (countText.empty())
        return std::nullopt;
    const long long count = readInteger(countText);
    // The up-down counts to 100; a larger count typed into the field would make a grid
    // of millions of empty rows.
    if (count > maximumTestPointCount)
        throw refusal(Reason::tooManyTestPoints);
    // The grid never has fewer than one row; a negative count sizes it as none.
    const int pointCount = static_cast<int>(count < 0 ? 0 : count);
    points.setRowCount(pointCount + 1);
    writePointHeaders(points);
    return pointCount;
}

bool isFileMask(const std::string& name)
{
    return name.find_first_of("*?") != std::string::npos;
}

int readTestDataFile(const std::string& fileName, GridTable& points, char decimalSeparator)
{
    clearFloatingPointFaults();
    errno = 0;
    // Only a regular file: a device or a pipe may never end (or never start).
    const int descriptor = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        throw fileFailure(errno, false);
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        throw fileFailure(EACCES, false);
    }
    std::unique_ptr<std::FILE, FileCloser> file(::fdopen(descriptor, "rb"));
    if (!file) {
        const int error = errno;
        ::close(descriptor);
        throw fileFailure(error, false);
    }

    long long valueCount = 0;
    std::string text;
    auto takeNumber = [&] {
        if (text.empty())
            return;
        if (!isNumberText(text, '.'))
            throw refusal(Reason::invalidNumericInput);
        const long double value = decimalToLongDouble(text, '.');
        if (std::isinf(value)) {
            clearFloatingPointFaults();
            throw Failure(Reason::overflow, "Floating point overflow");
        }
        ++valueCount;
        const int row = static_cast<int>((valueCount + 1) / 2);
        writeNumber(points, valueCount % 2 == 1 ? 0 : 1, row, value, decimalSeparator);
        text.clear();
    };

    char buffer[65536];
    bool ended = false;
    while (!ended) {
        const std::size_t length = std::fread(buffer, 1, sizeof buffer, file.get());
        if (length == 0) {
            if (std::ferror(file.get()))
                throw fileFailure(errno, false);
            break;
        }
        for (std::size_t i = 0; i < length && !ended; ++i) {
            const unsigned char c = static_cast<unsigned char>(buffer[i]);
            if (c == endOfFileCharacter) {
                ended = true;
            } else if (c <= 32) {
                takeNumber();
            } else {
                text += static_cast<char>(c);
                if (text.size() == maximumNumberTextLength)
                    takeNumber();
            }
        }
    }
    takeNumber();

    writePointHeaders(points);
    const int pointCount = static_cast<int>(valueCount / 2);
    points.setRowCount(pointCount + 1);
    return pointCount;
}

}  // namespace prurez
