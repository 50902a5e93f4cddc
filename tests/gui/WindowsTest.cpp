#include "GuiTest.h"

#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Form4.h"
#include "ui/Form5.h"
#include "ui/Form6.h"
#include "ui/Form7.h"
#include "ui/Windows.h"

#include <QApplication>
#include <QStringList>

#include <vector>

TEST(Windows, AllSevenExistAndOnlyTheMainOneIsShownAtStart)
{
    const prurez::Windows& w = prurez::windows();
    const std::vector<QWidget*> forms{w.form1, w.form2, w.form3, w.form4, w.form5, w.form6, w.form7};
    std::vector<bool> visible;
    for (size_t i = 0; i < forms.size(); ++i) {
        ASSERT_NE(forms[i], nullptr);
        EXPECT_EQ(forms[i]->objectName(), QString("Form%1").arg(i + 1));
        EXPECT_TRUE(forms[i]->isWindow());
        visible.push_back(forms[i]->isVisible());
        forms[i]->hide();
    }
    // Created once: asked again, the same windows.
    const prurez::Form4* const created = w.form4;
    prurez::createWindows();
    EXPECT_EQ(prurez::windows().form4, created);

    prurez::showMainWindowAtStart();
    QStringList shown;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            shown << window->objectName();
    EXPECT_EQ(shown, QStringList{"Form1"});
    EXPECT_EQ(w.form1->windowTitle(), QString::fromUtf8("Nelineární modelování betonového průřezu"));

    for (size_t i = 0; i < forms.size(); ++i)
        forms[i]->setVisible(visible[i]);
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
