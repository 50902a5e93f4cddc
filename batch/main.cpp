// prurez-batch: the computations of prurez without windows.

#include "batch/Commands.h"
#include "common/Failure.h"
#include "flows/InputRuns.h"
#include "prurez/prurez.h"

#include <algorithm>
#include <iostream>
#include <sstream>

using namespace prurez::batch;
using prurez::InputFile;
using prurez::InputFileError;

namespace {

const char* const helpText =
    "Usage:\n"
    "  prurez-batch section INPUT [--decimal SEP] [--exhaustive-scan] [--exact-equilibrium]\n"
    "  prurez-batch inverse INPUT [--decimal SEP] [--blocks LIST] [--threads N] [--exhaustive-scan]\n"
    "                       [--refine] [--exact-equilibrium]\n"
    "  prurez-batch interaction INPUT [--decimal SEP] [--points K] [--threads N]\n"
    "  prurez-batch series INPUT [--decimal SEP] [--threads N] [--exact-equilibrium]\n"
    "  prurez-batch --help\n"
    "  prurez-batch --version\n"
    "\n"
    "Runs the section working diagram, the inverse analysis of fibre concrete or\n"
    "a series of such tests exactly as the windows of prurez do, and prints the\n"
    "resulting tables as TSV.\n"
    "'interaction' prints the N-M interaction diagram of a section INPUT: for K axial\n"
    "forces from the largest compression the section carries to the largest tension\n"
    "(both ends included) the peak moment about mid-height of the moment-curvature run\n"
    "in exact equilibrium, as 'N [kN]<TAB>M [kNm]<TAB>kappa [1/m]<TAB>end' lines, forces\n"
    "ascending, after one header line; when the top and bottom bars differ, a line\n"
    "'# negative bending' and that branch follow. 'end' is crushed, torn, steel_torn,\n"
    "no_equilibrium (M and kappa then empty) or capacity (an end of the diagram).\n"
    "\n"
    "  INPUT              a file of 'key = value' lines ('-' for standard input),\n"
    "                     each at most 65536 characters; blank lines and lines\n"
    "                     whose first non-blank character is '#' are ignored;\n"
    "                     a relative 'test_file' or 'file' is taken from the\n"
    "                     INPUT's folder\n"
    "  --decimal SEP      decimal separator of the number texts, ',' or '.'\n"
    "                     (default: the one the INPUT's comment names, as a saved\n"
    "                     input's '--decimal ,' does; otherwise that of the system\n"
    "                     locale)\n"
    "  --exhaustive-scan  use the plain fixed-step neutral-axis scans\n"
    "  --exact-equilibrium  find the neutral axis where the section forces balance\n"
    "                     the axial force exactly (to 1E-9 MN and better), not the\n"
    "                     first scan position within 1 kN; as the key\n"
    "                     'exact_equilibrium = 1' of INPUT\n"
    "  --blocks LIST      inverse: comma-separated blocks to print, from\n"
    "                     test, combinations, moments, deviations, best (default: all)\n"
    "                     and refined (with --refine)\n"
    "  --threads N        inverse, series, interaction: worker threads (default: all\n"
    "                     hardware threads)\n"
    "  --points K         interaction: forces of the diagram, 2 to 1001 (default 41)\n"
    "  --refine           inverse: refine the best combination beyond the grid and\n"
    "                     print the block 'refined' after 'best': the refined E, fcp,\n"
    "                     fct, ecpm, ectm, a, b; the summed deviations of the best\n"
    "                     combination and of the refined one; a line for each\n"
    "                     parameter held back by its range; what the test leaves\n"
    "                     undetermined of b and ectm\n"
    "\n"
    "series: an INPUT of the inverse analysis with one 'test_file' line per\n"
    "specimen. Each specimen is fitted on the grid and refined, then one joint fit\n"
    "for all of them; printed are the blocks 'specimens' (file name as written,\n"
    "the best combination and its E, fcp, fct, ecpm, ectm, a, b and summed\n"
    "deviation), 'refined' (file name, the refined values and their sum), 'joint'\n"
    "(the refined joint values, the sum of the specimens' sums, then the notes of\n"
    "the refinement) and 'statistics' (a header line, then for E, fct, ectm, a, b\n"
    "and the slope S of the gentle branch: mean, standard deviation, coefficient\n"
    "of variation and characteristic value Xk = mean (1 - kn V), kn interpolated\n"
    "linearly in 1/n; an empty cell where a value is not defined).\n"
    "\n"
    "Exit status: 0 success; 1 the computation stopped with a message (on standard\n"
    "error); 2 a usage error or a malformed INPUT.\n"
    "The examples/ folder of the source holds inputs to start from.\n";

std::vector<std::string> splitList(const std::string& text)
{
    std::vector<std::string> items;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ','))
        items.push_back(item);
    return items;
}

int run(int argc, char** argv)
{
    if (argc < 2)
        throw UsageError("missing subcommand (try --help)");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        std::cout << helpText;
        return 0;
    }
    if (command == "--version") {
        std::cout << "prurez-batch " << prurez::version() << '\n';
        return 0;
    }
    if (command != "section" && command != "inverse" && command != "interaction" && command != "series")
        throw UsageError("unknown subcommand '" + command + "' (try --help)");

    BatchOptions options;
    options.decimalSeparator = 0;  // not given
    std::string inputName;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&](const char* what) -> std::string {
            if (i + 1 >= argc)
                throw UsageError(arg + " needs " + what);
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::cout << helpText;
            return 0;
        } else if (arg == "--decimal") {
            const std::string separator = next("a separator");
            if (separator != "," && separator != ".")
                throw UsageError("--decimal takes ',' or '.', not '" + separator + "'");
            options.decimalSeparator = separator[0];
        } else if (arg == "--exhaustive-scan" && command != "series") {
            options.exhaustiveScan = true;
        } else if (arg == "--exact-equilibrium" && command != "interaction") {
            options.exactEquilibrium = true;
        } else if (arg == "--refine" && command == "inverse") {
            options.refine = true;
        } else if (arg == "--points" && command == "interaction") {
            const std::string count = next("a number");
            if (count.empty() || count.size() > 4 || count.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(count) < 2 || std::stoi(count) > 1001)
                throw UsageError("--points takes a number from 2 to 1001, not '" + count + "'");
            options.points = std::stoi(count);
        } else if (arg == "--threads" && command != "section") {
            const std::string count = next("a number");
            if (count.empty() || count.size() > 4 || count.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(count) < 1)
                throw UsageError("--threads takes a positive number, not '" + count + "'");
            options.threads = std::stoi(count);
        } else if (arg == "--blocks" && command == "inverse") {
            options.blocks = splitList(next("a list"));
            if (options.blocks.empty())
                throw UsageError("--blocks needs at least one block name");
            const std::vector<std::string>& known = inverseBlockNames();
            for (const auto& block : options.blocks) {
                if (std::find(known.begin(), known.end(), block) != known.end())
                    continue;
                std::string names;
                for (const auto& name : known)
                    names += (names.empty() ? "" : ", ") + name;
                throw UsageError("unknown block '" + block + "' (known: " + names + ")");
            }
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            throw UsageError("unknown option '" + arg + "' for '" + command + "'");
        } else if (inputName.empty()) {
            inputName = arg;
        } else {
            throw UsageError("more than one INPUT given");
        }
    }
    if (inputName.empty())
        throw UsageError("missing INPUT file (or '-' for standard input)");
    options.inputName = inputName;

    // The INPUT is read as every file of the program is: a regular file (or standard
    // input) of at most maximumReadFileSize bytes.
    const InputFile input = prurez::readInput(inputName);
    // Numbers as the option says, otherwise as the INPUT's comment names them (a saved
    // input), otherwise as the system writes them.
    options.decimalSeparator = prurez::inputDecimalSeparator(input, options.decimalSeparator);
    // A command prints nothing to standard output unless it succeeds.
    const int status = command == "section"       ? runSectionCommand(input, options, std::cout, std::cerr)
                       : command == "interaction" ? runInteractionCommand(input, options, std::cout, std::cerr)
                       : command == "series"      ? runSeriesCommand(input, options, std::cout, std::cerr)
                                                  : runInverseCommand(input, options, std::cout, std::cerr);
    std::cout << std::flush;
    if (status == 0 && !std::cout) {
        // The tables did not all arrive: that is no success.
        std::cerr << "prurez-batch: cannot write the tables to standard output\n";
        return 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << "prurez-batch: " << error.what() << '\n';
        return 2;
    } catch (const InputFileError& error) {
        std::cerr << "prurez-batch: " << error.what() << '\n';
        return 2;
    } catch (const std::exception& error) {
        // What a window would show in its message box (out of memory, …).
        prurez::runHandler([](const std::string& message) { std::cerr << message << '\n'; },
                           [&] { throw; });
        return 1;
    }
}
