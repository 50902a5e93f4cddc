#include "ui/widgets/Handlers.h"

#include "common/FloatingPoint.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>

namespace prurez {

namespace {

void showMessageBox(const std::string& message)
{
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(applicationTitle),
                    QString::fromStdString(message), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

FailureSink& windowSink()
{
    static FailureSink sink = showMessageBox;
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

char localeDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? ',' : point.at(0).toLatin1();
}

void systemBeep() { QApplication::beep(); }

}  // namespace prurez
