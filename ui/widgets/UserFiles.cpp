#include "ui/widgets/UserFiles.h"

#include "common/Failure.h"
#include "common/Files.h"
#include "flows/InputFile.h"
#include "ui/widgets/BackgroundWork.h"
#include "ui/widgets/Handlers.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include <memory>
#include <sstream>

namespace prurez {

QString askSaveFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    QString chosenFilter;
    QString name = QFileDialog::getSaveFileName(parent, caption, QDir::currentPath(), filter, &chosenFilter);
    if (name.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return name;
    // "Obrázek PNG (*.png)" → ".png"
    const QRegularExpressionMatch suffix = QRegularExpression(R"(\*(\.\w+))").match(chosenFilter);
    if (suffix.hasMatch())
        name += suffix.captured(1);
    return name;
}

QString askOpenFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, QDir::currentPath(), filter);
}

QString inputFileFilter() { return QString::fromUtf8("Zadání (*.txt *.input);;Všechny soubory (*)"); }

std::string readUserFile(QWidget* window, const std::string& fileName,
                         std::string (*reader)(const std::string&, const std::atomic<bool>*))
{
    auto content = std::make_shared<std::string>();
    runAside(window, QString::fromUtf8("Čtení souboru „%1“…").arg(toQt(fileName)),
             toQt(readingCancelledMessage(fileName)),
             [fileName, content, reader](WorkProgress& progress) { *content = reader(fileName, &progress.cancel); });
    return std::move(*content);
}

void readInputFile(QWidget* window, const QString& fileName, const std::function<void(const InputFile&)>& read)
{
    std::istringstream in(readUserFile(window, toStd(fileName), readFile));
    try {
        // Numbers as the window's locale writes them, whatever the file's separator.
        read(InputFile::parse(in).withDecimalSeparator(localeDecimalSeparator()));
    } catch (const InputFileError& error) {
        throw Failure(inputFileMessage(error));
    }
}

void saveBytes(const QString& fileName, const QByteArray& bytes)
{
    saveFile(toStd(fileName), std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

}  // namespace prurez
