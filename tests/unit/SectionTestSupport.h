#pragma once
// Sections used by the tests of the section analyses.

#include "TestSupport.h"
#include "common/Failure.h"
#include "common/NumberText.h"
#include "flows/GridTable.h"
#include "flows/SectionFlow.h"

#include <functional>
#include <string>

namespace sectiontest {

using ::failureOf;

// 0,3 × 0,5 m, fcp 30, fct 2,9, E 32000, εcu 0,35 %, εtu 0,01 %, εc1 0,2 %, N 0.
inline prurez::SectionTexts plainSection(int diagram, const std::string& step = "0,00005")
{
    prurez::SectionTexts f;
    f.material = 0;
    f.diagram = diagram;
    f.tension = 0;
    f.shape = 1;
    f.fcp = "30";
    f.fct = "2,9";
    f.E = "32000";
    f.ecu = "0,35";
    f.etu = "0,01";
    f.ec1OrA = "0,2";
    f.width = "0,3";
    f.height = "0,5";
    f.N = "0";
    f.kappaStep = step;
    return f;
}

// The plain section with fy 500, Es 200000, εsu 1 %, 1000 mm2 at 0,05 m from the
// bottom, 400 mm2 at 0,05 m from the top, step 0,001.
inline prurez::SectionTexts reinforcedBeam(int diagram, int tension)
{
    prurez::SectionTexts f = plainSection(diagram, "0,001");
    f.material = 2;
    f.tension = tension;
    f.fy = "500";
    f.Es = "200000";
    f.esu = "1";
    f.bottomArea = "1000";
    f.bottomDistance = "0,05";
    f.topArea = "400";
    f.topDistance = "0,05";
    return f;
}

// An expected table written by tests/reference/section_reference.py.
inline std::string referenceTable(const std::string& name)
{
    return fileText(std::string(PRUREZ_REFERENCE_DIR) + "/" + name + ".tsv");
}

// VÝPOČET on a results table as the results window starts it.
inline prurez::GridTable run(const prurez::SectionTexts& texts, prurez::SectionRunReport* report = nullptr)
{
    prurez::GridTable table = prurez::initialResultsTable();
    prurez::SectionRunReport result;
    prurez::runSectionAnalysis(texts, ',', table, result);
    if (report != nullptr)
        *report = result;
    return table;
}

inline long double number(const prurez::GridTable& table, int column, int row)
{
    return prurez::parseNumber(table.cell(column, row), ',');
}

}  // namespace sectiontest
