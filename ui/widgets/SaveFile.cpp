#include "ui/widgets/SaveFile.h"

#include "common/Failure.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

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
