// prurez-batch series: a test series, each specimen fitted and all of them together,
// with the statistics of the specimens' fits.

#include "batch/Commands.h"

#include "common/Failure.h"
#include "flows/InputRuns.h"
#include "prurez/Series.h"

namespace prurez::batch {

namespace {

// Rows from `first` on, each row's cells joined by TAB.
void writeRows(std::ostream& out, const TableTexts& table, int first)
{
    for (int row = first; row < table.rowCount(); ++row) {
        for (int column = 0; column < table.columnCount(); ++column)
            out << (column == 0 ? "" : "\t") << table.cell(column, row);
        out << '\n';
    }
}

}  // namespace

int runSeriesCommand(const InputFile& input, const BatchOptions& options, std::ostream& out, std::ostream& err)
{
    const SeriesInput in = seriesInputOf(input, options.inputName);

    TestSeries series(options.decimalSeparator);
    RunOptions run;
    run.threads = options.threads;
    run.exactEquilibrium = options.exactEquilibrium;
    std::string message;
    if (!runHandler([&](const std::string& text) { message = text; }, [&] { series.run(in, run); })) {
        err << message << '\n';
        return 1;
    }
    out << "# specimens\n";
    writeRows(out, series.specimenTable(), 1);
    out << "# refined\n";
    writeRows(out, series.refinedTable(), 1);
    out << "# joint\n";
    writeRows(out, series.jointTable(), 1);
    for (const std::string& line : series.jointRefined()->warnings)
        out << line << '\n';
    out << "# statistics\n";
    writeRows(out, series.statisticsTable(), 0);
    for (const std::string& line : series.statistics().notes)
        out << line << '\n';
    return 0;
}

}  // namespace prurez::batch
