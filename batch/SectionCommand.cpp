// prurez-batch section: the section input window without windows.

#include "batch/Commands.h"

#include "common/Failure.h"
#include "common/GridTable.h"
#include "section/CurveFile.h"
#include "section/SectionAnalysis.h"

#include <map>

namespace prurez::batch {

namespace {

// The text keys and the fields they fill.
const std::map<std::string, std::string SectionFields::*>& textKeys()
{
    static const std::map<std::string, std::string SectionFields::*> keys{
        {"fcp", &SectionFields::Edit1},       {"fct", &SectionFields::Edit2},
        {"E", &SectionFields::Edit3},         {"ecu", &SectionFields::Edit4},
        {"etu", &SectionFields::Edit5},       {"ec1", &SectionFields::Edit6},
        {"a", &SectionFields::Edit6},         {"b", &SectionFields::Edit7},
        {"fy", &SectionFields::Edit8},        {"Es", &SectionFields::Edit9},
        {"esu", &SectionFields::Edit10},      {"As_bottom", &SectionFields::Edit11},
        {"d_bottom", &SectionFields::Edit12}, {"As_top", &SectionFields::Edit19},
        {"d_top", &SectionFields::Edit20},    {"width", &SectionFields::Edit13},
        {"height", &SectionFields::Edit14},   {"N", &SectionFields::Edit17},
        {"dkappa", &SectionFields::ComboBox1}, {"file", &SectionFields::Edit18},
    };
    return keys;
}

// A choice key as an item index of its group (items 0 … count − 1), -1 when not given.
int choiceOf(const BatchInput& input, const std::string& key, int count)
{
    const int index = input.choice(key);
    if (index >= count)
        throw UsageError("key '" + key + "': item index " + std::to_string(index) + " does not exist (0 to " +
                         std::to_string(count - 1) + ")");
    return index;
}

}  // namespace

int runSectionCommand(const BatchInput& input, const BatchOptions& options, std::ostream& out, std::ostream& err)
{
    std::set<std::string> known{"material", "diagram", "tension", "shape"};
    for (const auto& entry : textKeys())
        known.insert(entry.first);
    input.validate(known, {});
    if (input.has("ec1") && input.has("a"))
        throw UsageError("keys 'ec1' and 'a' both fill the same field; give one of them");

    const int material = choiceOf(input, "material", 3);
    if (material < 0)
        throw UsageError("key 'material' missing: without a material nothing is computed");
    const int diagram = choiceOf(input, "diagram", 3);
    const int tension = choiceOf(input, "tension", 2);
    const int shape = choiceOf(input, "shape", 2);

    // The choices as clicks: the material fixes what it fixes, and a click on a group
    // that the material disables does nothing.
    SectionFields fields;
    fields.RadioGroup1 = material;
    applyMaterialChoice(fields);
    if (diagram >= 0 && material != 1)
        fields.RadioGroup3 = diagram;
    if (tension >= 0 && material != 0 && material != 1)
        fields.RadioGroup5 = tension;
    if (shape >= 0)
        fields.RadioGroup2 = shape;
    for (const auto& entry : textKeys())
        if (input.has(entry.first))
            fields.*(entry.second) = input.value(entry.first);

    SectionRunOptions runOptions;
    runOptions.exhaustiveScan = options.exhaustiveScan;
    GridTable table(13, 13);
    try {
        const SectionOutcome outcome = runSectionAnalysis(fields, options.decimalSeparator, table, runOptions);
        if (!outcome.stopMessage.empty()) {
            err << outcome.stopMessage << '\n';
            return 1;
        }
        if (input.has("file")) {
            CurveFile file;
            file.write(fields.Edit18, table);
            file.close();
        }
    } catch (const Failure& failure) {
        err << failure.message() << '\n';
        return 1;
    }
    table.writeTsv(out);
    return 0;
}

}  // namespace prurez::batch
