#include "ui/widgets/Handlers.h"

#include "common/FloatingPoint.h"

#include <QApplication>
#include <QGridLayout>
#include <QSpacerItem>
#include <QLocale>
#include <QMessageBox>

namespace prurez {

namespace {

// A message box wide enough for its title to be read whole.
void showMessageBox(QMessageBox::Icon icon, const std::string& message)
{
    QMessageBox box(icon, QString::fromUtf8(applicationTitle), QString::fromStdString(message), QMessageBox::Ok,
                    QApplication::activeWindow());
    const int titleWidth = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 160;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(),
                      0, 1, grid->columnCount());
    box.exec();
}

FailureSink& windowSink()
{
    static FailureSink sink = [](const std::string& message) { showMessageBox(QMessageBox::Critical, message); };
    return sink;
}

FailureSink& informationSink()
{
    static FailureSink sink = [](const std::string& message) { showMessageBox(QMessageBox::Information, message); };
    return sink;
}

}  // namespace

bool guarded(const std::function<void()>& handler)
{
    return runHandler(windowSink(), [&] {
        clearFloatingPointFaults();
        handler();
    });
}

void setWindowFailureSink(FailureSink sink) { windowSink() = std::move(sink); }

void inform(const std::string& message) { informationSink()(message); }

void setWindowInformationSink(FailureSink sink) { informationSink() = std::move(sink); }

char localeDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? ',' : point.at(0).toLatin1();
}

void systemBeep() { QApplication::beep(); }

}  // namespace prurez
