// The main window: caption, picture and the menu's moves.

#include "GuiTest.h"

#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Windows.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>

namespace {

TEST(MainWindow, CaptionNavyBackgroundAndAPictureOfTheBridgeWithTheTitleInRed)
{
    prurez::Form1* form = prurez::windows().form1;
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Nelineární modelování betonového průřezu"));
    EXPECT_EQ(form->centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 128));
    auto* image = guitest::find<QLabel>(form, "Image1");
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->hasScaledContents());
    EXPECT_NE(image->frameShape(), QFrame::NoFrame);

    const QImage picture = prurez::Form1::bridgePicture();
    EXPECT_EQ(picture.size(), QSize(640, 480));
    // The title band holds strong red; the lower half (bridge and valley) none.
    int redTop = 0;
    int redBottom = 0;
    for (int y = 0; y < 480; y += 2)
        for (int x = 0; x < 640; x += 2) {
            const QColor c = picture.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 60 && c.blue() < 60)
                ++(y < 130 ? redTop : redBottom);
        }
    EXPECT_GT(redTop, 1000);
    EXPECT_EQ(redBottom, 0);
}

TEST(MainWindow, TheInverseAnalysisItemShowsItsWindowAndClosingThatBringsTheMainWindowBack)
{
    prurez::Form1* form = prurez::windows().form1;
    QWidget* inverse = prurez::windows().form2;
    const QList<QAction*> items = form->menuBar()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->objectName(), "Inversnanalzadrtkobetonu1");
    EXPECT_EQ(items[1]->objectName(), "Pracovndiagramprezu1");
    EXPECT_EQ(items[2]->objectName(), "Ukonitprogram1");

    form->show();
    items[0]->trigger();
    EXPECT_TRUE(inverse->isVisible());
    EXPECT_FALSE(form->isVisible());
    inverse->close();  // by its title bar, nothing else on screen
    EXPECT_FALSE(inverse->isVisible());
    EXPECT_TRUE(form->isVisible());
    form->hide();
}

}  // namespace
