#include "SectionTestSupport.h"

#include "flows/SectionMessages.h"

#include <gtest/gtest.h>

using namespace prurez;
using namespace sectiontest;

TEST(SectionFrame, MissingChoicesAreRefusedBeforeAnythingIsRead)
{
    GridTable table = initialResultsTable();
    table.setCell(0, 0, "old");

    SectionTexts none = plainSection(0);
    none.material = -1;
    SectionRunReport report;
    report.ran = true;
    runSectionAnalysis(none, ',', table, report);
    EXPECT_FALSE(report.ran);

    struct Case {
        int material, diagram, tension, shape;
        const char* message;
    };
    const Case cases[] = {
        {0, -1, 0, 1, sectionMessages::noDiagram},
        {2, -1, 0, 1, sectionMessages::noDiagram},
        {0, 0, 0, -1, sectionMessages::noShape},
        {2, 0, 0, -1, sectionMessages::noShape},
        {2, 0, -1, 1, sectionMessages::noTensionChoice},
    };
    for (const Case& c : cases) {
        SectionTexts f = reinforcedBeam(c.diagram, c.tension);
        f.material = c.material;
        f.shape = c.shape;
        f.fcp = "not read";
        EXPECT_EQ(failureOf([&] { runSectionAnalysis(f, ',', table, report); }), c.message);
    }
    // Plain concrete never asks for the tension choice.
    SectionTexts plain = plainSection(0);
    plain.tension = -1;
    runSectionAnalysis(plain, ',', table, report);
    EXPECT_TRUE(report.ran);
    EXPECT_EQ(table.cell(0, 0), "  Křivost");
}

TEST(SectionFrame, MaterialFixesItsChoices)
{
    SectionTexts f;
    f.diagram = 2;
    f.tension = 1;
    f.material = 2;
    applyMaterialChoice(f);
    EXPECT_EQ(f.diagram, 2);
    EXPECT_EQ(f.tension, 1);
    f.material = 0;
    applyMaterialChoice(f);
    EXPECT_EQ(f.diagram, 2);
    EXPECT_EQ(f.tension, 0);
    f.tension = -1;
    f.material = 1;
    applyMaterialChoice(f);
    EXPECT_EQ(f.diagram, 0);
    EXPECT_EQ(f.tension, 0);
}

TEST(SectionFrame, SectionCharacteristics)
{
    SectionTexts f;
    f.width = "0,3";
    EXPECT_FALSE(sectionCharacteristics(f, ',').computed);
    f.shape = 0;
    SectionCharacteristics square = sectionCharacteristics(f, ',');
    EXPECT_TRUE(square.computed);
    EXPECT_EQ(square.area, "0,09");
    EXPECT_EQ(square.inertia, "0,000675");

    f.shape = 1;
    f.width = "0,2";
    f.height = "0,5";
    SectionCharacteristics rectangle = sectionCharacteristics(f, ',');
    EXPECT_EQ(rectangle.area, "0,1");
    EXPECT_EQ(rectangle.inertia, "0,00208333333333333");
    // Width times height cubed, not the other way round.
    f.width = "0,5";
    f.height = "0,2";
    EXPECT_EQ(sectionCharacteristics(f, ',').inertia, "0,000333333333333333");

    f.height = "0.2";
    EXPECT_EQ(failureOf([&] { sectionCharacteristics(f, ','); }), "'0.2' is not a valid floating point value");
}
