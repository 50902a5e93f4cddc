// prurez-batch inverse: the road of the inverse analysis through one session, as its
// windows take it.

#include "batch/Commands.h"

#include "common/Failure.h"
#include "common/NumberText.h"
#include "flows/InputRuns.h"
#include "prurez/InverseAnalysis.h"

#include <algorithm>
#include <array>

namespace prurez::batch {

namespace {

enum Block { testBlock, combinationsBlock, momentsBlock, deviationsBlock, bestBlock, refinedBlock, blockCount };

}  // namespace

const std::vector<std::string>& inverseBlockNames()
{
    static const std::vector<std::string> names{"test", "combinations", "moments", "deviations", "best", "refined"};
    return names;
}

int runInverseCommand(const InputFile& input, const BatchOptions& options, std::ostream& out, std::ostream& err)
{
    const std::vector<std::string>& blockNames = inverseBlockNames();
    std::array<bool, blockCount> wanted{};
    if (options.blocks.empty()) {
        wanted.fill(true);
        wanted[refinedBlock] = options.refine;
    }
    for (const auto& name : options.blocks)
        for (size_t block = 0; block < blockCount; ++block)
            wanted[block] = wanted[block] || name == blockNames[block];
    if (wanted[refinedBlock] && !options.refine)
        throw UsageError("the block 'refined' needs --refine");
    const InverseInput in = inverseInputOf(input, options.inputName);
    int lastBlock = 0;
    for (int block = 0; block < blockCount; ++block)
        if (wanted[static_cast<size_t>(block)])
            lastBlock = block;

    // The road of the windows, up to the last step a wanted block needs.
    constexpr std::array<InverseAnalysis::Step, blockCount> lastSteps{
        InverseAnalysis::Step::testDiagram, InverseAnalysis::Step::combinations, InverseAnalysis::Step::moments,
        InverseAnalysis::Step::deviations,  InverseAnalysis::Step::bestFit,      InverseAnalysis::Step::refinement};
    InverseAnalysis session(options.decimalSeparator);
    RunOptions run;
    run.threads = options.threads;
    run.exhaustiveScan = options.exhaustiveScan;
    run.exactEquilibrium = options.exactEquilibrium;
    std::string message;
    if (!runHandler([&](const std::string& text) { message = text; },
                    [&] {
                        // Only the best (and its refinement) wanted: no table of moments is kept.
                        const bool tablesWanted = wanted[momentsBlock] || wanted[deviationsBlock];
                        session.run(in, lastSteps[static_cast<size_t>(lastBlock)], run,
                                    tablesWanted ? InverseAnalysis::Tables::kept : InverseAnalysis::Tables::notKept);
                    })) {
        err << message << '\n';
        return 1;
    }
    // Every step up to the last wanted block has succeeded; the tables are final.
    const std::array<const TableTexts*, bestBlock> printed{&session.testDiagram(), &session.combinations(),
                                                           &session.moments(), &session.deviationList()};
    for (size_t block = 0; block < blockCount; ++block) {
        if (!wanted[block])
            continue;
        out << "# " << blockNames[block] << '\n';
        if (block == bestBlock) {
            const BestFit& best = *session.bestFit();
            out << formatInteger(best.combination);
            for (const auto& text : best.texts)
                out << '\t' << text;
            out << '\n';
        } else if (block == refinedBlock) {
            const RefinedFit& refined = *session.refinedFit();
            for (size_t i = 0; i < refined.texts.size(); ++i)
                out << (i == 0 ? "" : "\t") << refined.texts[i];
            out << '\n' << refined.gridSum << '\t' << refined.refinedSum << '\n';
            for (const auto& line : refined.warnings)
                out << line << '\n';
        } else {
            printed[block]->writeTsv(out);
        }
    }
    return 0;
}

}  // namespace prurez::batch
