// The window tests: a QApplication offscreen, the windows created once, failure
// messages recorded.

#include "GuiTest.h"

#include "ui/Windows.h"
#include "ui/widgets/Handlers.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    prurez::setWindowFailureSink([](const std::string& message) { guitest::failures().push_back(message); });
    prurez::setWindowInformationSink([](const std::string& message) { guitest::informations().push_back(message); });
    prurez::createWindows();
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    prurez::destroyWindows();
    return status;
}
