#pragma once
// Sections used by the tests of the section analyses.

#include "TestSupport.h"
#include "common/Failure.h"
#include "common/GridTable.h"
#include "common/NumberText.h"
#include "section/SectionAnalysis.h"

#include <functional>
#include <string>

namespace sectiontest {

using ::failureOf;

// 0,3 × 0,5 m, fcp 30, fct 2,9, E 32000, εcu 0,35 %, εtu 0,01 %, εc1 0,2 %, N 0.
inline prurez::SectionFields plainSection(int diagram, const std::string& step = "0,00005")
{
    prurez::SectionFields f;
    f.RadioGroup1 = 0;
    f.RadioGroup3 = diagram;
    f.RadioGroup5 = 0;
    f.RadioGroup2 = 1;
    f.Edit1 = "30";
    f.Edit2 = "2,9";
    f.Edit3 = "32000";
    f.Edit4 = "0,35";
    f.Edit5 = "0,01";
    f.Edit6 = "0,2";
    f.Edit13 = "0,3";
    f.Edit14 = "0,5";
    f.Edit17 = "0";
    f.ComboBox1 = step;
    return f;
}

// The plain section with fy 500, Es 200000, εsu 1 %, 1000 mm2 at 0,05 m from the
// bottom, 400 mm2 at 0,05 m from the top, step 0,001.
inline prurez::SectionFields reinforcedBeam(int diagram, int tension)
{
    prurez::SectionFields f = plainSection(diagram, "0,001");
    f.RadioGroup1 = 2;
    f.RadioGroup5 = tension;
    f.Edit8 = "500";
    f.Edit9 = "200000";
    f.Edit10 = "1";
    f.Edit11 = "1000";
    f.Edit12 = "0,05";
    f.Edit19 = "400";
    f.Edit20 = "0,05";
    return f;
}

// An expected table written by tests/reference/section_reference.py.
inline std::string referenceTable(const std::string& name)
{
    return fileText(std::string(PRUREZ_REFERENCE_DIR) + "/" + name + ".tsv");
}

// VÝPOČET on a results table as the results window starts it.
inline prurez::GridTable run(const prurez::SectionFields& fields, prurez::SectionOutcome* outcome = nullptr)
{
    prurez::GridTable table(13, 13);
    const prurez::SectionOutcome result = prurez::runSectionAnalysis(fields, ',', table);
    if (outcome != nullptr)
        *outcome = result;
    return table;
}

inline long double number(const prurez::GridTable& table, int column, int row)
{
    return prurez::parseNumber(table.cell(column, row), ',');
}

}  // namespace sectiontest
