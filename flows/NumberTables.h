#pragma once
// The large tables of the inverse analysis, held as what their texts are made of: the
// combination table as the value table's texts and the rule that combines them, the
// moment table as the extended numbers its texts are formatted from, the deviation table
// and the deviation list as functions of the moments and the test moments. A text is
// made when a cell is shown, copied or printed, by the same formatter that wrote it
// before (formatNumber); a value that a step reads back from a cell is the exact
// parser's value of that text (readBackNumber). So every cell reads as the text the
// table of texts held, also after a failure (the cells written before it) and where an
// earlier computation left cells that this one did not write.
//
// A text written into a cell (an edit in the window) is kept as written over what the
// table computes. Copies are cheap: they share what was computed.

#include "common/NumberText.h"
#include "flows/GridTable.h"
#include "mechanics/Deviations.h"

#include <array>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace prurez {

// A table whose cells are computed, with the texts written into cells over them.
class ComputedTable : public TextTable {
public:
    std::string_view cellText(int column, int row, std::string& scratch) const final;
    long double number(int column, int row, char decimalSeparator) const final;
    void setCell(int column, int row, std::string_view text) final;
    CellExtent extent() const final;

    // True when a text has been written into a cell.
    bool hasWrittenCells() const { return !written_.empty(); }
    // Forgets the written texts of the cells for which `rewritten(column, row)` holds
    // (of all cells): the table shows what it computes there again.
    void forgetWrittenCells(const std::function<bool(int column, int row)>& rewritten);
    void forgetAllWrittenCells() { written_.clear(); }

    // (In the default floating-point environment once for all its cells.)
    void writeTsv(std::ostream& out) const override;

protected:
    using TextTable::TextTable;

    // The cell as computed (column and row not negative).
    virtual std::string_view computedText(int column, int row, std::string& scratch) const = 0;
    // The value read back from a computed cell that holds a number formatted with this
    // separator; false leaves it to the text.
    virtual bool computedNumber(int column, int row, char decimalSeparator, long double& value) const;
    virtual CellExtent computedExtent() const = 0;
    // The written texts, by (row, column).
    const std::map<std::pair<int, int>, std::string>& writtenCells() const { return written_; }

private:
    std::map<std::pair<int, int>, std::string> written_;  // by (row, column)
};

// The texts of column 0 of rows 1 … rows − 1: each row's own number ("1", "2", …) but
// for the rows listed.
struct RowNumbers {
    int rows = 1;
    std::map<int, std::string> others;

    std::string_view text(int row, std::string& scratch) const;
};
// Column 0 of a table as it now stands, rows 1 … rows − 1.
RowNumbers rowNumbersOf(const TextTable& table, int rows);

// ---- the combination table

// Every combination of the five varied parameters, row r being combination r: its
// number, the fcp and ecpm texts and the value table's texts of its five values
// (E varying slowest, b fastest). A generation writes the rows 1 … N; an earlier one
// that held more rows keeps those beyond (hidden behind the row count).
class CombinationTable final : public ComputedTable {
public:
    explicit CombinationTable(int columnCount = 8, int rowCount = 20);

    // Columns 0, 2 and 4 of rows 1 … count: the row's number, fcp and ecpm.
    void writeFixedColumns(int count, std::string fcpText, std::string ecpmText);
    // Columns 1, 3, 5, 6, 7 of rows 1 … m^5: the texts of the values of E, fct, ectm, a
    // and b (each m texts, in the value table's order).
    void writeParameterColumns(int m, const std::array<std::vector<std::string>, 5>& values);

    std::shared_ptr<const TextTable> snapshot() const override;
    RowNumbers numbers(int rows) const;

protected:
    std::string_view computedText(int column, int row, std::string& scratch) const override;
    CellExtent computedExtent() const override;

private:
    struct FixedColumns {
        int count = 0;
        std::string fcp;
        std::string ecpm;
    };
    struct ParameterColumns {
        int m = 0;
        int count = 0;
        std::array<std::vector<std::string>, 5> values;
    };
    // Newest last; an older one only where the newer ones hold fewer rows.
    std::vector<std::shared_ptr<const FixedColumns>> fixed_;
    std::vector<std::shared_ptr<const ParameterColumns>> parameters_;
};

// ---- the moment table

// The rows of the moment table computed again when they are read (MomentTable
// without kept values): what one row's moments are computed from.
class MomentRowSource {
public:
    virtual ~MomentRowSource() = default;
    // The moments of the row [kNm], as many as were computed when the table was filled.
    virtual void moments(int row, std::vector<long double>& values) const = 0;
};

// The squared deviations of a moment table's rows from the test moments as they were
// when the moments were computed, found on the way: what a press of "Spočítej odchylky"
// writes, as long as the test moments and the point count are still those.
struct PreparedDeviations {
    int points = 0;
    std::vector<std::string> testMomentTexts;  // of test points 1 … p
    int fullRows = 0;            // rows 1 … fullRows hold every squared deviation
    int partialDeviations = -1;  // of row fullRows + 1 when it fails (−1: no failure)
    std::exception_ptr failure;  // of a squared deviation, the first in row order
    int summedRows = 0;          // with no failure: rows 1 … summedRows hold their sum
    std::exception_ptr sumFailure;  // the first sum beyond the range
    std::vector<long double> sums;  // of the summed rows, beside kept moments
    BestFitSearch best;             // over the sums read back, when every row is summed
};

// The moment of each combination at each test curvature: column 0 the combination's
// number, then per test point its curvature's text and the moment.
class MomentTable final : public ComputedTable {
public:
    MomentTable(int columnCount = 5, int rowCount = 5);

    struct Content {
        int points = 0;
        char separator = ',';
        std::vector<std::string> curvatures;  // the texts of the test curvatures
        RowNumbers numbers;
        int fullRows = 0;      // rows 1 … fullRows hold every cell
        int partialCells = 0;  // the cells written of row fullRows + 1 (0: none)
        // The moments of rows 1 … fullRows (and of the partial row), `points` a row;
        // empty when the rows are computed again as they are read.
        std::vector<long double> values;
        std::shared_ptr<const MomentRowSource> source;
        // Found with the moments, when every row is written.
        std::shared_ptr<const PreparedDeviations> deviations;
    };
    // The table of a computation: its counts, headers and cells.
    void setContent(std::shared_ptr<const Content> content);
    const Content* content() const { return content_.get(); }

    // The moments of a row as far as they are written (none for a row not computed), for
    // a reader on any thread.
    void rowMoments(int row, std::vector<long double>& values) const;

    std::shared_ptr<const TextTable> snapshot() const override;

protected:
    std::string_view computedText(int column, int row, std::string& scratch) const override;
    bool computedNumber(int column, int row, char decimalSeparator, long double& value) const override;
    CellExtent computedExtent() const override;

private:
    int cellsOf(int row) const;
    // The moment of point k of a written row, through a one-row cache when the rows are
    // computed again.
    long double momentAt(int row, int k) const;

    std::shared_ptr<const Content> content_;
    struct Cache {
        std::mutex mutex;
        int row = 0;
        std::vector<long double> values;
    };
    std::shared_ptr<Cache> cache_ = std::make_shared<Cache>();
};

// ---- the deviation table and the deviation list

// The squared deviation of each test point and their sum, per combination: what one
// press of "Spočítej odchylky" wrote, over what the table held before.
class DeviationTable final : public ComputedTable {
public:
    DeviationTable(int columnCount = 2, int rowCount = 1);

    struct Content {
        std::shared_ptr<const TextTable> previous;  // the cells this press did not write
        int points = 0;
        int rows = 1;  // the table's row count R: rows 1 … R − 1 are combinations
        char separator = ',';
        std::shared_ptr<const TextTable> moments;  // as they were read
        std::vector<long double> testMoments;      // as they were read
        int fullRows = 0;             // rows 1 … fullRows hold every squared deviation
        int partialDeviations = -1;   // of row fullRows + 1 (−1: the row is not written)
        int summedRows = 0;           // rows 1 … summedRows hold their sum
        std::vector<long double> sums;  // of rows 1 … summedRows (none: formed again)
        // Over the sums read back, when every row holds its sum.
        BestFitSearch best;
    };
    void setContent(std::shared_ptr<const Content> content);
    const Content* content() const { return content_.get(); }

    // The squared deviation of point k of a written row, and the sum of a summed row.
    long double deviation(int row, int k) const;
    long double sum(int row) const;

    std::shared_ptr<const TextTable> snapshot() const override;

protected:
    std::string_view computedText(int column, int row, std::string& scratch) const override;
    bool computedNumber(int column, int row, char decimalSeparator, long double& value) const override;
    CellExtent computedExtent() const override;

private:
    // Whether this press wrote a squared deviation, or a sum, into a cell of rows
    // 1 … rows − 1.
    bool holdsDeviation(int column, int row) const;
    bool holdsSum(int column, int row) const;

    std::shared_ptr<const Content> content_;
};

// The combination numbers and the summed deviations, as a page change copies them.
class DeviationList final : public ComputedTable {
public:
    DeviationList(int columnCount = 2, int rowCount = 5);

    struct Content {
        int rows = 1;
        RowNumbers numbers;
        std::shared_ptr<const TextTable> deviations;
        int sumColumn = 1;
    };
    void setContent(std::shared_ptr<const Content> content);
    const Content* content() const { return content_.get(); }

    // The deviation table the sums come from, when they are all its own, written by one
    // complete press over these rows and untouched since.
    const DeviationTable* completeDeviations() const;

    std::shared_ptr<const TextTable> snapshot() const override;

protected:
    std::string_view computedText(int column, int row, std::string& scratch) const override;
    bool computedNumber(int column, int row, char decimalSeparator, long double& value) const override;
    CellExtent computedExtent() const override;

private:
    std::shared_ptr<const Content> content_;
};

}  // namespace prurez
