#include "ui/widgets/UserFiles.h"

#include "common/Failure.h"
#include "flows/InputFile.h"
#include "ui/widgets/Handlers.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

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

void readInputFile(const QString& fileName, const std::function<void(const InputFile&)>& read)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QString::fromUtf8("Soubor „%1“ nelze otevřít.").arg(QDir::toNativeSeparators(fileName)).toStdString());
    std::istringstream in(file.readAll().toStdString());
    try {
        // Numbers as the window's locale writes them, whatever the file's separator.
        read(InputFile::parse(in).withDecimalSeparator(localeDecimalSeparator()));
    } catch (const InputFileError& error) {
        throw Failure(inputFileMessage(error));
    }
}

QString cannotSaveMessage(const QString& fileName)
{
    return QString::fromUtf8("Soubor „%1“ se nepodařilo uložit.").arg(QDir::toNativeSeparators(fileName));
}

void saveBytes(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Failure(cannotSaveMessage(fileName).toStdString());
}

}  // namespace prurez
