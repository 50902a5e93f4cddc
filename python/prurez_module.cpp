// The Python module `prurez`: the library's interface (include/prurez/) for Python, a
// thin binding with no rule of its own. Its inputs are those of prurez-batch, an INPUT
// file or a dict of its keys; its results are the tables the program shows, as texts,
// and numpy arrays of their values.

#include "common/Files.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "flows/InputRuns.h"
#include "flows/InteractionFlow.h"
#include "flows/SectionAnalysis.h"
#include "prurez/prurez.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <chrono>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

using prurez::InputFile;
using prurez::InputFileError;

// ---- sources: an INPUT file or a dict of its keys

struct Source {
    InputFile input;
    std::string inputName = "-";  // a path: relative files are taken beside it
    char separator = '.';
    bool isPath = false;
};

// ',' or '.', 0 for None.
char separatorOption(const py::object& decimal)
{
    if (decimal.is_none())
        return 0;
    if (!py::isinstance<py::str>(decimal))
        throw py::type_error("decimal must be ',' or '.' (or None)");
    const std::string text = decimal.cast<std::string>();
    if (text != "," && text != ".")
        throw py::value_error("decimal must be ',' or '.', not '" + text + "'");
    return text[0];
}

// A value of a dict as the text typed into its field: a text as it is, a number as
// Python writes it (with the decimal separator of the analysis), True and False as 1 and 0.
std::string valueText(const py::handle& value, char separator, const std::string& key)
{
    if (py::isinstance<py::str>(value))
        return value.cast<std::string>();
    if (py::isinstance<py::bool_>(value))
        return value.cast<bool>() ? "1" : "0";
    if (py::hasattr(value, "__index__"))
        return py::str(py::int_(py::reinterpret_borrow<py::object>(value))).cast<std::string>();
    if (py::hasattr(value, "__float__")) {
        std::string text = py::repr(py::float_(py::reinterpret_borrow<py::object>(value))).cast<std::string>();
        for (char& c : text)
            if (c == '.')
                c = separator;
        return text;
    }
    throw py::type_error("the value of '" + key + "' must be a text or a number, not " +
                         std::string(py::str(py::type::of(value).attr("__name__"))));
}

// "force ; deflection" of a test point: a text, or a pair of texts or numbers.
std::string pointText(const py::handle& point, char separator)
{
    if (py::isinstance<py::str>(point))
        return point.cast<std::string>();
    const py::sequence pair = py::reinterpret_borrow<py::sequence>(point);
    if (!py::isinstance<py::sequence>(point) || py::len(pair) != 2)
        throw py::type_error("a 'point' is a text 'force ; deflection' or a pair (force, deflection)");
    return valueText(pair[0], separator, "point") + " ; " + valueText(pair[1], separator, "point");
}

Source dictSource(const py::dict& entries, char separator)
{
    Source source;
    source.separator = separator != 0 ? separator : '.';
    std::ostringstream text;
    for (const auto& [keyObject, value] : entries) {
        if (!py::isinstance<py::str>(keyObject))
            throw py::type_error("the keys of an input are texts");
        const std::string key = keyObject.cast<std::string>();
        if (key.empty() || key.find_first_of("=\r\n#") != std::string::npos)
            throw py::value_error("'" + key + "' is not a key of an input");
        std::vector<std::string> lines;
        const bool many = py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value);
        if (key == "point" && !py::isinstance<py::str>(value) && many) {
            for (const py::handle& point : value)
                lines.push_back(pointText(point, source.separator));
        } else if (many && key != "point") {
            for (const py::handle& item : value)
                lines.push_back(valueText(item, source.separator, key));
        } else {
            lines.push_back(key == "point" ? pointText(value, source.separator)
                                           : valueText(value, source.separator, key));
        }
        for (const std::string& line : lines) {
            if (line.find_first_of("\r\n") != std::string::npos)
                throw py::value_error("the value of '" + key + "' holds a line break");
            text << key << " = " << line << '\n';
        }
    }
    std::istringstream in(text.str());
    source.input = InputFile::parse(in);
    return source;
}

std::string pathOf(const py::handle& path)
{
    const py::object name = py::module_::import("os").attr("fsdecode")(path);
    return name.cast<std::string>();
}

// The INPUT file's lines, read as prurez-batch reads it.
InputFile readInputFile(const std::string& path)
{
    std::string content;
    try {
        content = prurez::readFile(path);
    } catch (const prurez::FileProblem& problem) {
        if (problem.kind() == prurez::FileProblem::Kind::cannotOpen ||
            problem.kind() == prurez::FileProblem::Kind::cannotRead) {
            errno = problem.errorNumber();
            PyErr_SetFromErrnoWithFilename(PyExc_OSError, path.c_str());
            throw py::error_already_set();
        }
        throw py::value_error(prurez::inputReadFailure(problem, path));
    }
    std::istringstream in(content);
    try {
        return InputFile::parse(in);
    } catch (const InputFileError& error) {
        throw py::value_error(error.what());
    }
}

Source sourceOf(const py::object& source, const py::object& decimal)
{
    const char separator = separatorOption(decimal);
    if (py::isinstance<py::dict>(source)) {
        try {
            return dictSource(source.cast<py::dict>(), separator);
        } catch (const InputFileError& error) {
            throw py::value_error(error.what());
        }
    }
    if (!py::isinstance<py::str>(source) && !py::hasattr(source, "__fspath__") && !py::isinstance<py::bytes>(source))
        throw py::type_error("the source is the path of an INPUT file or a dict of its keys");
    Source result;
    result.inputName = pathOf(source);
    result.input = readInputFile(result.inputName);
    result.separator = prurez::inputDecimalSeparator(result.input, separator);
    result.isPath = true;
    return result;
}

// A malformed input as Python says it: a value error with prurez-batch's explanation
// (the lines of a dict are no lines of a file: not named).
py::value_error inputError(const InputFileError& error, const Source& source)
{
    std::string message = error.what();
    if (!source.isPath && message.rfind("line ", 0) == 0) {
        const size_t colon = message.find(": ");
        if (colon != std::string::npos)
            message = message.substr(colon + 2);
    }
    return py::value_error(message);
}

// What `read` makes of the source's input; a malformed input raises ValueError.
template <class Read>
auto parsed(const Source& source, Read&& read)
{
    try {
        return read(source.input);
    } catch (const InputFileError& error) {
        throw inputError(error, source);
    }
}

// The worker threads asked for: None (all), or a whole number from 1 to 1024.
int threadCountOf(const py::object& threads)
{
    if (threads.is_none())
        return 0;
    if (py::isinstance<py::bool_>(threads) || !py::hasattr(threads, "__index__"))
        throw py::type_error("threads must be a whole number (or None)");
    const long long count = py::int_(threads).cast<long long>();
    if (count < 1 || count > 1024)
        throw py::value_error("threads must be from 1 to 1024, not " + std::to_string(count));
    return static_cast<int>(count);
}

// The progress callable: None, or one that is called.
const py::object& progressOf(const py::object& progress)
{
    if (!progress.is_none() && !PyCallable_Check(progress.ptr()))
        throw py::type_error("progress must be callable (or None)");
    return progress;
}

// ---- watching the work from the calling thread: Ctrl+C and the progress callable

class Watch {
public:
    explicit Watch(py::object progress) : progress_(std::move(progress)) {}

    prurez::ProgressCallback callback()
    {
        return [this](long long done, long long total) { return tell(done, total); };
    }
    // The Python exception that stopped the work (KeyboardInterrupt, or one the
    // progress callable raised), raised again.
    void raiseStop()
    {
        if (stop_) {
            stop_->restore();
            stop_.reset();
            throw py::error_already_set();
        }
    }

private:
    // Called by the library on the calling thread, without the GIL.
    bool tell(long long done, long long total)
    {
        const auto now = std::chrono::steady_clock::now();
        const bool end = total > 0 && done >= total;
        if (told_ && !end && now - lastTold_ < std::chrono::milliseconds(20))
            return true;
        told_ = true;
        lastTold_ = now;
        py::gil_scoped_acquire gil;
        if (PyErr_CheckSignals() != 0) {
            stop_.emplace();
            return false;
        }
        if (!progress_.is_none()) {
            try {
                progress_(done, total);
            } catch (py::error_already_set& error) {
                error.restore();
                stop_.emplace();
                return false;
            }
        }
        return true;
    }

    py::object progress_;
    std::optional<py::error_already_set> stop_;
    bool told_ = false;
    std::chrono::steady_clock::time_point lastTold_;
};

// Runs `work(options)` without the GIL, its progress told to `progress` on this thread;
// Ctrl+C or an exception of `progress` stops it and is raised here.
template <class Work>
void runWatched(const py::object& progress, prurez::RunOptions options, Work&& work)
{
    Watch watch(progress);
    options.progress = watch.callback();
    prurez::Completion completion = prurez::Completion::finished;
    {
        py::gil_scoped_release released;
        completion = work(options);
    }
    watch.raiseStop();
    if (completion == prurez::Completion::cancelled) {  // stopped, but not from here
        PyErr_SetNone(PyExc_KeyboardInterrupt);
        throw py::error_already_set();
    }
}

py::array_t<double> array(const std::vector<double>& values)
{
    py::array_t<double> result(static_cast<py::ssize_t>(values.size()));
    std::copy(values.begin(), values.end(), result.mutable_data());
    return result;
}

std::vector<std::vector<std::string>> rowsOf(const prurez::TableTexts& table)
{
    std::vector<std::vector<std::string>> rows(static_cast<size_t>(table.rowCount()));
    for (int row = 0; row < table.rowCount(); ++row)
        for (int column = 0; column < table.columnCount(); ++column)
            rows[static_cast<size_t>(row)].push_back(table.cell(column, row));
    return rows;
}

// A number text of the results as a float.
double numberOf(const std::string& text, char separator)
{
    const prurez::CallerFloatingPoint caller;
    return static_cast<double>(prurez::parseNumber(text, separator));
}

// E, fcp, fct, ecpm, ectm, a, b of a fit's texts.
py::dict parametersOf(const std::array<std::string, 7>& texts, char separator)
{
    static const char* const names[] = {"E", "fcp", "fct", "ecpm", "ectm", "a", "b"};
    py::dict result;
    for (size_t i = 0; i < texts.size(); ++i)
        result[names[i]] = numberOf(texts[i], separator);
    return result;
}

// The grid's best combination: its number, then its seven values.
py::dict bestOf(const prurez::BestFit& fit, char separator)
{
    py::dict result;
    result["combination"] = fit.combination;
    for (const auto& item : parametersOf(fit.texts, separator))
        result[item.first] = item.second;
    return result;
}

// A test diagram's curvatures and moments (its third and fourth columns).
py::tuple testCurveOf(const prurez::TableTexts& diagram, char separator)
{
    std::vector<double> kappa, moment;
    for (int row = 1; row < diagram.rowCount(); ++row) {
        kappa.push_back(numberOf(diagram.cell(2, row), separator));
        moment.push_back(numberOf(diagram.cell(3, row), separator));
    }
    return py::make_tuple(array(kappa), array(moment));
}

// ---- the section analysis

struct Diagram {
    std::vector<std::vector<std::string>> table;
    py::array_t<double> curvature;
    py::array_t<double> moment;
    py::array_t<double> neutralAxis;
    std::string end;
    std::string endText;
    std::shared_ptr<const prurez::SectionRunReport> run;  // its inputs and rows, for profile

    // Strains and stresses across the depth at row `row` of the arrays.
    py::tuple profile(py::ssize_t row, int points) const
    {
        const py::ssize_t count = curvature.size();
        if (row < -count || row >= count)
            throw py::index_error("row " + std::to_string(row) + " outside the " + std::to_string(count) +
                                  " rows of the diagram");
        if (points < 2)
            throw py::value_error("points must be 2 or more, not " + std::to_string(points));
        const int tableRow = static_cast<int>((row < 0 ? row + count : row) + 1);
        const prurez::SectionRow values = *prurez::runRow(*run, tableRow);
        const prurez::DepthProfile profile =
            prurez::heldSectionAnalysis(run->input).depthProfile(values, points);
        auto values_of = [](const std::vector<long double>& from) {
            return std::vector<double>(from.begin(), from.end());
        };
        return py::make_tuple(array(values_of(profile.depth)), array(values_of(profile.strain)),
                              array(values_of(profile.stress)));
    }
};

const char* endName(prurez::RunEnd end)
{
    switch (end) {
    case prurez::RunEnd::crushed:
        return "crushed";
    case prurez::RunEnd::torn:
        return "torn";
    case prurez::RunEnd::steelTorn:
        return "steel_torn";
    case prurez::RunEnd::noEquilibrium:
        return "no_equilibrium";
    case prurez::RunEnd::tooManySteps:
        return "too_many_steps";
    case prurez::RunEnd::cancelled:
        break;
    }
    return "cancelled";
}

Diagram momentCurvature(const py::object& sourceObject, const py::object& decimal, bool exhaustiveScan,
                        bool exactEquilibrium)
{
    const Source source = sourceOf(sourceObject, decimal);
    prurez::RunOptions options;
    options.exhaustiveScan = exhaustiveScan;
    options.exactEquilibrium = exactEquilibrium;
    prurez::SectionInputRun run;
    try {
        runWatched(py::none(), options, [&](const prurez::RunOptions& watched) {
            prurez::runSectionInput(source.input, source.inputName, source.separator, watched, run);
            return prurez::Completion::finished;  // a stop is the run's end
        });
    } catch (const InputFileError& error) {
        throw inputError(error, source);
    }

    Diagram diagram;
    diagram.table = rowsOf(run.table);
    const prurez::RunOutcome& outcome = run.report.outcome;
    diagram.end = endName(outcome.end);
    diagram.endText = run.report.endText;
    // The rows whose values the table shows: the zero state (plain and reinforced
    // concrete), then every computed row but the one past a limit, which the end row
    // replaced.
    std::vector<double> kappa, moment, x;
    for (int row = 1; row <= prurez::lastComputedRow(run.report); ++row) {
        const prurez::SectionRow values = *prurez::runRow(run.report, row);
        kappa.push_back(static_cast<double>(values.kappa));
        moment.push_back(static_cast<double>(values.moment));
        x.push_back(static_cast<double>(values.x));
    }
    diagram.curvature = array(kappa);
    diagram.moment = array(moment);
    diagram.neutralAxis = array(x);
    diagram.run = std::make_shared<const prurez::SectionRunReport>(run.report);
    return diagram;
}

// ---- the interaction diagram

struct InteractionBranch {
    py::array_t<double> N;      // [kN]
    py::array_t<double> M;      // [kNm], NaN where no curvature balances the force
    py::array_t<double> kappa;  // [1/m], NaN there too
    std::vector<std::string> end;
};

struct Interaction {
    InteractionBranch positive;
    std::optional<InteractionBranch> negative;
    std::vector<std::vector<std::string>> table;
};

InteractionBranch branchOf(const std::vector<prurez::InteractionPoint>& points)
{
    std::vector<double> N, M, kappa;
    InteractionBranch branch;
    const double none = std::numeric_limits<double>::quiet_NaN();
    for (const prurez::InteractionPoint& point : points) {
        N.push_back(static_cast<double>(point.N * 1000.0L));
        M.push_back(point.hasMoment ? static_cast<double>(point.moment * 1000.0L) : none);
        kappa.push_back(point.hasMoment ? static_cast<double>(point.kappa) : none);
        branch.end.push_back(prurez::interactionEndKeyword(point.end));
    }
    branch.N = array(N);
    branch.M = array(M);
    branch.kappa = array(kappa);
    return branch;
}

Interaction interaction(const py::object& sourceObject, int points, const py::object& decimal,
                        const py::object& threads)
{
    const Source source = sourceOf(sourceObject, decimal);
    if (points < prurez::minimumInteractionPoints || points > prurez::maximumInteractionPoints)
        throw py::value_error("points must be from 2 to 1001, not " + std::to_string(points));
    prurez::RunOptions options;
    options.threads = threadCountOf(threads);
    const prurez::SectionTexts texts = parsed(source, prurez::sectionTextsOf);
    prurez::InteractionDiagram diagram;
    runWatched(py::none(), options, [&](const prurez::RunOptions& watched) {
        const prurez::CallerFloatingPoint caller;
        diagram = prurez::computeInteraction(texts, source.separator, points, watched);
        return diagram.completion;
    });
    Interaction result;
    result.positive = branchOf(diagram.positive);
    if (!diagram.negative.empty())
        result.negative = branchOf(diagram.negative);
    std::ostringstream tsv;
    prurez::writeInteractionTsv(diagram, source.separator, tsv);
    std::istringstream lines(tsv.str());
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> cells;
        std::istringstream cellsOf(line);
        for (std::string cell; std::getline(cellsOf, cell, '\t');)
            cells.push_back(cell);
        if (!line.empty() && line.back() == '\t')
            cells.push_back("");
        result.table.push_back(cells);
    }
    return result;
}

// ---- the inverse analysis

class InverseResult {
public:
    explicit InverseResult(std::shared_ptr<prurez::InverseAnalysis> session) : session_(std::move(session)) {}

    py::tuple testCurve() const { return testCurveOf(session_->testDiagram(), session_->decimalSeparator()); }
    int combinationCount() const { return session_->combinations().rowCount() - 1; }
    py::dict best() const { return bestOf(*session_->bestFit(), session_->decimalSeparator()); }
    double bestSum() const { return number(session_->bestFit()->sum); }
    py::object refined() const
    {
        if (!session_->refinedFit())
            return py::none();
        return parametersOf(session_->refinedFit()->texts, session_->decimalSeparator());
    }
    py::object refinedSum() const
    {
        if (!session_->refinedFit())
            return py::none();
        return py::float_(number(session_->refinedFit()->refinedSum));
    }
    std::vector<std::string> notes() const
    {
        if (!session_->refinedFit())
            return {};
        return session_->refinedFit()->warnings;
    }
    // Read from the moment table when asked for (its rows computed again as they are read,
    // without the GIL, one reader at a time).
    py::array_t<double> moments() const
    {
        const prurez::TableTexts& table = session_->moments();
        const py::ssize_t rows = table.rowCount() - 1;
        const py::ssize_t points = (table.columnCount() - 1) / 2;
        py::array_t<double> result({rows, points});
        double* values = result.mutable_data();
        {
            py::gil_scoped_release released;
            const std::lock_guard<std::mutex> reading(*reading_);
            for (py::ssize_t row = 0; row < rows; ++row)
                for (py::ssize_t k = 0; k < points; ++k)
                    values[row * points + k] =
                        number(table.cell(static_cast<int>(2 * k + 2), static_cast<int>(row + 1)));
        }
        return result;
    }

private:
    double number(const std::string& text) const { return numberOf(text, session_->decimalSeparator()); }

    std::shared_ptr<prurez::InverseAnalysis> session_;
    std::shared_ptr<std::mutex> reading_ = std::make_shared<std::mutex>();
};

InverseResult inverseAnalysis(const py::object& sourceObject, const py::object& decimal, const py::object& threads,
                              bool refine, const py::object& progress, bool exactEquilibrium)
{
    const Source source = sourceOf(sourceObject, decimal);
    prurez::RunOptions options;
    options.threads = threadCountOf(threads);
    options.exactEquilibrium = exactEquilibrium;
    const py::object& told = progressOf(progress);
    const prurez::InverseInput input = parsed(source, [&](const prurez::InputFile& file) {
        return prurez::inverseInputOf(file, source.inputName);
    });
    auto session = std::make_shared<prurez::InverseAnalysis>(source.separator);
    const auto step = refine ? prurez::InverseAnalysis::Step::refinement : prurez::InverseAnalysis::Step::bestFit;
    // No moment is kept: .moments computes them when it is read.
    runWatched(told, options, [&](const prurez::RunOptions& watched) {
        return session->run(input, step, watched, prurez::InverseAnalysis::Tables::notKept);
    });
    return InverseResult(session);
}

// ---- a test series

class SeriesResult {
public:
    explicit SeriesResult(std::shared_ptr<prurez::TestSeries> series) : series_(std::move(series)) {}

    py::list specimens() const
    {
        py::list result;
        for (int i = 0; i < series_->specimenCount(); ++i) {
            const prurez::SpecimenFit& fit = series_->specimen(i);
            py::dict specimen = fitOf(fit.best, fit.refined);
            specimen["name"] = fit.name;
            specimen["test_curve"] = testCurveOf(series_->testDiagram(i), series_->decimalSeparator());
            result.append(specimen);
        }
        return result;
    }
    py::dict joint() const { return fitOf(*series_->jointBest(), *series_->jointRefined()); }
    py::dict statistics() const
    {
        py::dict result;
        for (const prurez::QuantityStatistics& quantity : series_->statistics().quantities) {
            py::dict values;
            values["mean"] = optionalNumber(quantity.mean);
            values["standard_deviation"] = optionalNumber(quantity.standardDeviation);
            values["variation"] = optionalNumber(quantity.variation);
            values["characteristic"] = optionalNumber(quantity.characteristic);
            result[py::str(quantity.name)] = values;
        }
        return result;
    }
    py::object fractileFactor() const { return optionalNumber(series_->statistics().fractileFactor); }
    std::vector<std::string> notes() const
    {
        std::vector<std::string> lines{series_->statistics().method};
        const std::vector<std::string>& more = series_->statistics().notes;
        lines.insert(lines.end(), more.begin(), more.end());
        return lines;
    }
    py::dict tables() const
    {
        py::dict result;
        result["specimens"] = rowsOf(series_->specimenTable());
        result["refined"] = rowsOf(series_->refinedTable());
        result["joint"] = rowsOf(series_->jointTable());
        result["statistics"] = rowsOf(series_->statisticsTable());
        return result;
    }
    int specimenCount() const { return series_->specimenCount(); }

private:
    py::object optionalNumber(const std::string& text) const
    {
        return text.empty() ? py::object(py::none()) : py::object(py::float_(numberOf(text, series_->decimalSeparator())));
    }
    py::dict fitOf(const prurez::BestFit& best, const prurez::RefinedFit& refined) const
    {
        const char separator = series_->decimalSeparator();
        py::dict result;
        result["best"] = bestOf(best, separator);
        result["best_sum"] = numberOf(best.sum, separator);
        result["refined"] = parametersOf(refined.texts, separator);
        result["refined_sum"] = numberOf(refined.refinedSum, separator);
        result["notes"] = refined.warnings;
        return result;
    }

    std::shared_ptr<prurez::TestSeries> series_;
};

SeriesResult series(const py::object& sourceObject, const py::object& decimal, const py::object& threads,
                    const py::object& progress, bool exactEquilibrium)
{
    const Source source = sourceOf(sourceObject, decimal);
    prurez::RunOptions options;
    options.threads = threadCountOf(threads);
    options.exactEquilibrium = exactEquilibrium;
    const py::object& told = progressOf(progress);
    const prurez::SeriesInput input = parsed(source, [&](const prurez::InputFile& file) {
        return prurez::seriesInputOf(file, source.inputName);
    });
    auto fitted = std::make_shared<prurez::TestSeries>(source.separator);
    runWatched(told, options, [&](const prurez::RunOptions& watched) { return fitted->run(input, watched); });
    return SeriesResult(fitted);
}

py::dict readInput(const py::object& path)
{
    InputFile input = readInputFile(pathOf(path));
    if (input.decimalSeparator() == ',')
        input = input.withDecimalSeparator('.');
    py::dict result;
    for (const std::string& key : input.keys()) {
        const std::vector<std::string> values = input.values(key);
        if (key == "point" || values.size() > 1)
            result[py::str(key)] = py::cast(values);
        else
            result[py::str(key)] = py::str(values.front());
    }
    return result;
}

}  // namespace

PYBIND11_MODULE(prurez, module)
{
    // The docstrings give the signatures as a Python user reads them.
    py::options options;
    options.disable_function_signatures();
    module.doc() =
        "Nonlinear modelling of concrete cross-sections, as the program prurez computes it.\n"
        "\n"
        "moment_curvature(source)   the working diagram (moment-curvature) of a section of\n"
        "                           plain, fibre or reinforced concrete; .profile(row): strains\n"
        "                           and stresses across its depth\n"
        "interaction(source)        the N-M interaction diagram of a section\n"
        "inverse_analysis(source)   the inverse analysis of fibre concrete from a four-point\n"
        "                           bending test: the best combination of the grid, refined\n"
        "series(source)             a series of bending tests: each specimen fitted, one joint\n"
        "                           fit for all, the statistics and characteristic values\n"
        "read_input(path)           an INPUT file of prurez-batch as a dict\n"
        "\n"
        "A source is the path of an INPUT file of prurez-batch (key = value lines, e.g.\n"
        "examples/reinforced-beam.txt) or a dict of its keys, whose values are texts as typed\n"
        "into the program's fields or numbers: {'material': 2, 'fcp': 30, 'ecu': 0.35, ...}.\n"
        "Units are those of the fields and tables: MPa, m, mm2 of bars, kN, per cent of\n"
        "strains; the section's moments in MNm, the inverse analysis's in kNm. Every table\n"
        "and value equals what prurez-batch prints for the same input.\n"
        "\n"
        "Failures of the computation raise prurez.Error, whose text is the program's\n"
        "message; a malformed input raises ValueError. Ctrl+C stops a running computation.";
    module.attr("__version__") = prurez::version();

    static py::exception<prurez::Failure> error(module, "Error");
    error.doc() = "A failure of the computation; str() is the message the program shows (as prurez-batch prints it).";
    py::register_exception_translator([](std::exception_ptr failure) {
        try {
            if (failure)
                std::rethrow_exception(failure);
        } catch (const prurez::Failure& caught) {
            error(caught.what());
        }
    });

    py::class_<Diagram>(module, "Diagram",
                        "The moment-curvature diagram of a section (moment_curvature's result).")
        .def_readonly("table", &Diagram::table,
                      "The results table: a list of rows, the header row first, each a list of cell texts;\n"
                      "the lines prurez-batch section prints, split at tabs.")
        .def_readonly("curvature", &Diagram::curvature,
                      "The curvature of every row the table shows with its values [1/m] (numpy array).")
        .def_readonly("moment", &Diagram::moment, "The moment of those rows [MNm] (numpy array).")
        .def_readonly("neutral_axis", &Diagram::neutralAxis,
                      "The depth of the compression zone of those rows [m] (numpy array).")
        .def_readonly("end", &Diagram::end,
                      "How the run ended: 'crushed', 'torn', 'steel_torn', 'no_equilibrium',\n"
                      "'too_many_steps' or 'cancelled'.")
        .def_readonly("end_text", &Diagram::endText,
                      "The table's end text ('Prvek rozdrcen', ...), or the program's message when the run\n"
                      "stopped before a limit.")
        .def("profile", &Diagram::profile, py::arg("row"), py::arg("points") = 101,
             "profile(row, points=101) -> (depth, strain, stress)\n"
             "\n"
             "Strains and stresses across the depth at row `row` of the arrays (negative counts\n"
             "from the end), as the page 'Průběh napětí a přetvoření' draws them: numpy arrays of\n"
             "the depth from the top edge [m] at `points` depths evenly from 0 to h, the strain\n"
             "and the concrete's stress [MPa] from its laws, tension positive.")
        .def("__repr__", [](const Diagram& d) {
            return "<prurez.Diagram: " + std::to_string(d.curvature.size()) + " rows, " + d.end + ">";
        });

    py::class_<InteractionBranch>(module, "InteractionBranch",
                                  "One sense of bending of an interaction diagram: numpy arrays, forces ascending.")
        .def_readonly("N", &InteractionBranch::N, "The axial forces [kN], tension positive.")
        .def_readonly("M", &InteractionBranch::M,
                      "The peak moments about mid-height [kNm] (negative bending: below 0); NaN where no\n"
                      "curvature balances the force.")
        .def_readonly("kappa", &InteractionBranch::kappa, "The curvatures at the peaks [1/m]; NaN there too.")
        .def_readonly("end", &InteractionBranch::end,
                      "What limits each peak: 'crushed', 'torn', 'steel_torn', 'no_equilibrium' or\n"
                      "'capacity' (an end of the diagram).");

    py::class_<Interaction>(module, "Interaction", "The N-M interaction diagram of a section (interaction's result).")
        .def_property_readonly("N", [](const Interaction& i) { return i.positive.N; },
                               "The axial forces of the positive bending [kN], ascending.")
        .def_property_readonly("M", [](const Interaction& i) { return i.positive.M; },
                               "Its peak moments about mid-height [kNm] (NaN where none).")
        .def_property_readonly("kappa", [](const Interaction& i) { return i.positive.kappa; },
                               "Its curvatures at the peaks [1/m].")
        .def_property_readonly("end", [](const Interaction& i) { return i.positive.end; },
                               "What limits its peaks.")
        .def_readonly("positive", &Interaction::positive, "The positive bending (top edge compressed).")
        .def_readonly("negative", &Interaction::negative,
                      "The negative bending, or None for a section that bends alike both ways.")
        .def_readonly("table", &Interaction::table,
                      "The lines prurez-batch interaction prints, split at tabs (the header first).")
        .def("__repr__", [](const Interaction& i) {
            return "<prurez.Interaction: " + std::to_string(i.positive.N.size()) + " forces" +
                   (i.negative ? ", both senses>" : ">");
        });

    py::class_<InverseResult>(module, "InverseResult", "The result of inverse_analysis.")
        .def_property_readonly("test_curve", &InverseResult::testCurve,
                               "The test's moment-curvature: (curvature [1/m], moment [kNm]), numpy arrays.")
        .def_property_readonly("combination_count", &InverseResult::combinationCount,
                               "The number of parameter combinations of the grid.")
        .def_property_readonly("best", &InverseResult::best,
                               "The best-fitting combination: {'combination': its number, 'E', 'fcp', 'fct',\n"
                               "'ecpm', 'ectm', 'a', 'b'} (MPa, strains in per cent), the values of the cells\n"
                               "prurez-batch prints under '# best'.")
        .def_property_readonly("best_sum", &InverseResult::bestSum,
                               "Its summed squared moment deviation from the test [kNm2].")
        .def_property_readonly("refined", &InverseResult::refined,
                               "The refined values {'E', 'fcp', 'fct', 'ecpm', 'ectm', 'a', 'b'}, or None without\n"
                               "refine.")
        .def_property_readonly("refined_sum", &InverseResult::refinedSum,
                               "The refined values' summed deviation [kNm2], or None without refine.")
        .def_property_readonly("notes", &InverseResult::notes,
                               "The refinement's notes: each parameter its range holds back, and what the test\n"
                               "leaves undetermined of b and ectm, as prurez-batch prints them.")
        .def_property_readonly("moments", &InverseResult::moments,
                               "The moment of every combination at every test curvature [kNm]: a numpy array,\n"
                               "combinations x test points, read from the moment table when asked for.")
        .def("__repr__", [](const InverseResult& r) {
            return "<prurez.InverseResult: " + std::to_string(r.combinationCount()) + " combinations>";
        });

    py::class_<SeriesResult>(module, "SeriesResult", "The result of series.")
        .def_property_readonly(
            "specimens", &SeriesResult::specimens,
            "Each specimen's fit, in the order of the input's test_file lines: a dict with 'name' (the\n"
            "file name as written), 'test_curve' ((curvature [1/m], moment [kNm]), numpy arrays),\n"
            "'best' ({'combination', 'E', 'fcp', 'fct', 'ecpm', 'ectm', 'a', 'b'}: the grid's best\n"
            "combination), 'best_sum', 'refined' (the refined values), 'refined_sum' and 'notes' (the\n"
            "refinement's lines); the values of the cells prurez-batch series prints.")
        .def_property_readonly(
            "joint", &SeriesResult::joint,
            "The joint fit of all specimens: 'best' (the combination whose sum of the specimens'\n"
            "summed deviations is the smallest) and 'best_sum' (that sum), 'refined' and\n"
            "'refined_sum' (refined against every specimen at once), 'notes' (as under '# joint').")
        .def_property_readonly(
            "statistics", &SeriesResult::statistics,
            "The statistics of the specimens' refined values: {'E', 'fct', 'ectm', 'a', 'b', 'S'},\n"
            "each {'mean', 'standard_deviation' (n - 1), 'variation' (s / mean), 'characteristic'\n"
            "(mean (1 - kn V), the 5 % fractile with V unknown)}; None where not defined (one\n"
            "specimen: no deviation; fewer than three: no characteristic value). S is the slope\n"
            "of the gentle branch (1 - a - b) fct / (ectm/100 - et1) [MPa]; ectm in per cent.")
        .def_property_readonly("kn", &SeriesResult::fractileFactor,
                               "The factor kn of the characteristic values, or None below three specimens.")
        .def_property_readonly("notes", &SeriesResult::notes,
                               "How the characteristic values are formed (kn, its table, interpolated\n"
                               "linearly in 1/n), then why they are missing when there are too few specimens.")
        .def_property_readonly("tables", &SeriesResult::tables,
                               "The tables the program shows: {'specimens', 'refined', 'joint', 'statistics'},\n"
                               "each a list of rows of cell texts, the header row first; below it the lines\n"
                               "prurez-batch series prints, split at tabs.")
        .def("__repr__", [](const SeriesResult& r) {
            return "<prurez.SeriesResult: " + std::to_string(r.specimenCount()) + " specimens>";
        });

    module.def("series", &series, py::arg("source"), py::arg("decimal") = py::none(),
               py::arg("threads") = py::none(), py::arg("progress") = py::none(),
               py::arg("exact_equilibrium") = false,
               "series(source, decimal=None, threads=None, progress=None, exact_equilibrium=False)\n"
               "    -> SeriesResult\n"
               "\n"
               "A series of four-point bending tests of one fibre concrete, as prurez-batch series\n"
               "computes it: each specimen's inverse analysis on the same grid (its best combination,\n"
               "refined), one joint fit for all specimens, and the statistics of their refined values\n"
               "with the characteristic values.\n"
               "\n"
               "source    the path of an inverse INPUT file with one test_file line per specimen, or a\n"
               "          dict of its keys whose 'test_file' is a list of paths\n"
               "decimal, threads, progress, exact_equilibrium   as for inverse_analysis\n"
               "\n"
               "The work runs without the GIL; Ctrl+C stops it (KeyboardInterrupt). Raises\n"
               "prurez.Error with the program's message (naming the specimen when there are several),\n"
               "ValueError for a malformed input.");

    module.def("read_input", &readInput, py::arg("path"),
               "read_input(path) -> dict\n"
               "\n"
               "The keys and value texts of an INPUT file of prurez-batch. Numbers written with the\n"
               "decimal comma that the file's comment names ('--decimal ,', as the program saves\n"
               "inputs) come with the decimal point, as Python writes them; file names stay as\n"
               "written. A key given on several lines (every 'point') has the list of its texts.");
    module.def("moment_curvature", &momentCurvature, py::arg("source"), py::arg("decimal") = py::none(),
               py::arg("exhaustive_scan") = false, py::arg("exact_equilibrium") = false,
               "moment_curvature(source, decimal=None, exhaustive_scan=False, exact_equilibrium=False)\n"
               "    -> Diagram\n"
               "\n"
               "The moment-curvature diagram of a section, as prurez-batch section computes it.\n"
               "\n"
               "source           the path of a section INPUT file, or a dict of its keys (material,\n"
               "                 diagram, tension, shape, fcp, fct, E, ecu, etu, ec1 or a, b, fy, Es,\n"
               "                 esu, As_bottom, d_bottom, As_top, d_top, width, height, N, dkappa,\n"
               "                 file, exact_equilibrium); a relative 'file' is written beside a\n"
               "                 path, in the current folder for a dict\n"
               "decimal          the decimal separator of the texts, ',' or '.'; None: for a path the\n"
               "                 one its comment names, else the system's; for a dict '.'\n"
               "exhaustive_scan  the plain fixed-step scans (the same results, slower)\n"
               "exact_equilibrium  the neutral axis where the forces balance the axial force exactly\n"
               "                 (as prurez-batch section --exact-equilibrium), not the first scan\n"
               "                 position within 1 kN\n"
               "\n"
               "A run that stops before a limit (no equilibrium, too many steps) is no failure: its\n"
               "end says so. Raises prurez.Error with the program's message, ValueError for a\n"
               "malformed input.");
    module.def("interaction", &interaction, py::arg("source"), py::arg("points") = prurez::defaultInteractionPoints,
               py::arg("decimal") = py::none(), py::arg("threads") = py::none(),
               "interaction(source, points=41, decimal=None, threads=None) -> Interaction\n"
               "\n"
               "The N-M interaction diagram of a section, as prurez-batch interaction computes it: for\n"
               "`points` axial forces from the largest compression the section carries to the largest\n"
               "tension (both ends included), the peak moment about mid-height of the moment-curvature\n"
               "run in exact equilibrium. Its arrays .N [kN], .M [kNm], .kappa [1/m] and .end are those\n"
               "of the positive bending; .negative holds the negative bending when the top and bottom\n"
               "bars differ (None otherwise); .table the lines prurez-batch prints.\n"
               "\n"
               "source    a section INPUT file or a dict of its keys, as for moment_curvature (its N\n"
               "          and dkappa are not used)\n"
               "decimal   as for moment_curvature\n"
               "threads   threads of the forces (None: all); the diagram is the same for every count\n"
               "\n"
               "The work runs without the GIL; Ctrl+C stops it (KeyboardInterrupt). Raises\n"
               "prurez.Error with the program's message, ValueError for a malformed input.");
    module.def("inverse_analysis", &inverseAnalysis, py::arg("source"), py::arg("decimal") = py::none(),
               py::arg("threads") = py::none(), py::arg("refine") = false, py::arg("progress") = py::none(),
               py::arg("exact_equilibrium") = false,
               "inverse_analysis(source, decimal=None, threads=None, refine=False, progress=None,\n"
               "                 exact_equilibrium=False) -> InverseResult\n"
               "\n"
               "The inverse analysis of fibre concrete, as prurez-batch inverse computes it: the\n"
               "test's moment-curvature, every combination of the parameter grid, their moments and\n"
               "deviations, the best fit and, with refine, its refinement beyond the grid.\n"
               "\n"
               "source    the path of an inverse INPUT file, or a dict of its keys (test_file or\n"
               "          point, E_test, load_a, s, h, w, fcp, ecpm, E_min, E_max, fct_min, fct_max,\n"
               "          ectm_min, ectm_max, a_min, a_max, b_min, b_max, n, exact_equilibrium);\n"
               "          'point' is a list of (force, deflection) pairs or 'force ; deflection'\n"
               "          texts; a relative test_file is taken beside a path, from the current\n"
               "          folder for a dict\n"
               "decimal   as for moment_curvature\n"
               "threads   worker threads of the moments and deviations (None: all); the results are\n"
               "          the same for every count\n"
               "refine    refine the best combination beyond the grid\n"
               "progress  progress(done, total), called from this thread as the work advances;\n"
               "          an exception it raises stops the work and is raised here\n"
               "exact_equilibrium  the moments (and the refinement) in exact equilibrium\n"
               "\n"
               "The work runs without the GIL; Ctrl+C stops it (KeyboardInterrupt). Raises\n"
               "prurez.Error with the program's message, ValueError for a malformed input.");
}
