#include "GuiTest.h"

#include "ui/Form1.h"
#include "ui/Form7.h"
#include "ui/Windows.h"

TEST(Windows, AllSevenExistAndOnlyTheMainOneIsShownAtStart)
{
    const prurez::Windows& w = prurez::windows();
    EXPECT_NE(w.form1, nullptr);
    EXPECT_NE(w.form2, nullptr);
    EXPECT_NE(w.form3, nullptr);
    EXPECT_NE(w.form4, nullptr);
    EXPECT_NE(w.form5, nullptr);
    EXPECT_NE(w.form6, nullptr);
    EXPECT_NE(w.form7, nullptr);
}

TEST(Windows, ClosingASecondaryWindowOnlyHidesItAndBringsBackTheMainWindow)
{
    const prurez::Windows& w = prurez::windows();
    w.form1->hide();
    w.form7->show();
    w.form7->close();
    EXPECT_FALSE(w.form7->isVisible());
    EXPECT_TRUE(w.form1->isVisible());
    w.form1->hide();
}
