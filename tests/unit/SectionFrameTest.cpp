#include "SectionTestSupport.h"

#include "section/SectionMessages.h"

#include <gtest/gtest.h>

using namespace prurez;
using namespace sectiontest;

TEST(SectionFrame, MissingChoicesAreRefusedBeforeAnythingIsRead)
{
    GridTable table(13, 13);
    table.setCell(0, 0, "old");

    SectionFields none = plainSection(0);
    none.RadioGroup1 = -1;
    EXPECT_FALSE(runSectionAnalysis(none, ',', table).ran);

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
        SectionFields f = reinforcedBeam(c.diagram, c.tension);
        f.RadioGroup1 = c.material;
        f.RadioGroup2 = c.shape;
        f.Edit1 = "not read";
        EXPECT_EQ(failureOf([&] { runSectionAnalysis(f, ',', table); }), c.message);
    }
    // Plain concrete never asks for the tension choice.
    SectionFields plain = plainSection(0);
    plain.RadioGroup5 = -1;
    EXPECT_TRUE(runSectionAnalysis(plain, ',', table).ran);
    EXPECT_EQ(table.cell(0, 0), "  Křivost");
}

TEST(SectionFrame, MaterialFixesItsChoices)
{
    SectionFields f;
    f.RadioGroup3 = 2;
    f.RadioGroup5 = 1;
    f.RadioGroup1 = 2;
    applyMaterialChoice(f);
    EXPECT_EQ(f.RadioGroup3, 2);
    EXPECT_EQ(f.RadioGroup5, 1);
    f.RadioGroup1 = 0;
    applyMaterialChoice(f);
    EXPECT_EQ(f.RadioGroup3, 2);
    EXPECT_EQ(f.RadioGroup5, 0);
    f.RadioGroup5 = -1;
    f.RadioGroup1 = 1;
    applyMaterialChoice(f);
    EXPECT_EQ(f.RadioGroup3, 0);
    EXPECT_EQ(f.RadioGroup5, 0);
}

TEST(SectionFrame, SectionCharacteristics)
{
    SectionFields f;
    f.Edit13 = "0,3";
    EXPECT_FALSE(sectionCharacteristics(f, ',').computed);
    f.RadioGroup2 = 0;
    SectionCharacteristics square = sectionCharacteristics(f, ',');
    EXPECT_TRUE(square.computed);
    EXPECT_EQ(square.area, "0,09");
    EXPECT_EQ(square.inertia, "0,000675");

    f.RadioGroup2 = 1;
    f.Edit13 = "0,2";
    f.Edit14 = "0,5";
    SectionCharacteristics rectangle = sectionCharacteristics(f, ',');
    EXPECT_EQ(rectangle.area, "0,1");
    EXPECT_EQ(rectangle.inertia, "0,00208333333333333");
    // Width times height cubed, not the other way round.
    f.Edit13 = "0,5";
    f.Edit14 = "0,2";
    EXPECT_EQ(sectionCharacteristics(f, ',').inertia, "0,000333333333333333");

    f.Edit14 = "0.2";
    EXPECT_EQ(failureOf([&] { sectionCharacteristics(f, ','); }), "'0.2' is not a valid floating point value");
}
