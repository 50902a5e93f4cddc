// The test points of a bending test: the grid typed by hand and the test data file.

#include "flows/InverseFlow.h"

#include "common/Failure.h"
#include "common/Files.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "flows/CellText.h"
#include "flows/InverseMessages.h"
#include "flows/Refusals.h"

#include <cerrno>
#include <cmath>

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

std::string testDataFileContent(const std::string& fileName, const std::atomic<bool>* cancel)
{
    try {
        return readFile(fileName, cancel);
    } catch (const FileProblem& problem) {
        switch (problem.kind()) {
        case FileProblem::Kind::cannotOpen:
            throw Failure(Reason::fileError, fileErrorMessage(problem.errorNumber(), false));
        case FileProblem::Kind::notRegular:  // a device or a pipe may never end (or never start)
            throw Failure(Reason::fileError, fileErrorMessage(EACCES, false));
        case FileProblem::Kind::cannotRead:
            throw Failure(Reason::fileError, "I/O error " + std::to_string(problem.errorNumber()));
        default:  // too large, stopped: the program's own messages
            throw;
        }
    }
}

int readTestData(const std::string& content, GridTable& points, char decimalSeparator)
{
    clearFloatingPointFaults();
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
        // The deflection of one point more than a test may have.
        if (valueCount == 2LL * maximumTestFilePointCount + 1)
            throw refusal(Reason::tooManyTestFilePoints);
        ++valueCount;
        const int row = static_cast<int>((valueCount + 1) / 2);
        writeNumber(points, valueCount % 2 == 1 ? 0 : 1, row, value, decimalSeparator);
        text.clear();
    };

    for (const char character : content) {
        const unsigned char c = static_cast<unsigned char>(character);
        if (c == endOfFileCharacter)
            break;
        if (c <= 32) {
            takeNumber();
        } else {
            text += static_cast<char>(c);
            if (text.size() == maximumNumberTextLength)
                takeNumber();
        }
    }
    takeNumber();

    writePointHeaders(points);
    const int pointCount = static_cast<int>(valueCount / 2);
    points.setRowCount(pointCount + 1);
    return pointCount;
}

int readTestDataFile(const std::string& fileName, GridTable& points, char decimalSeparator)
{
    return readTestData(testDataFileContent(fileName), points, decimalSeparator);
}

}  // namespace prurez
