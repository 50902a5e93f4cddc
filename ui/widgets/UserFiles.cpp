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
#include <optional>
#include <sstream>

namespace prurez {

QString askSaveFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    // The suffix of the chosen filter ("Obrázek PNG (*.png)" → "png") is added by the
    // dialog itself, so that it asks before replacing the file that is then written.
    auto suffixOf = [](const QString& chosenFilter) {
        const QRegularExpressionMatch suffix = QRegularExpression(R"(\*\.(\w+))").match(chosenFilter);
        return suffix.hasMatch() ? suffix.captured(1) : QString();
    };
    QFileDialog dialog(parent, caption, QDir::currentPath(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& chosen) { dialog.setDefaultSuffix(suffixOf(chosen)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString askOpenFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, QDir::currentPath(), filter);
}

QString inputFileFilter() { return QString::fromUtf8("Zadání (*.txt *.input);;Všechny soubory (*)"); }

std::optional<std::string> readUserFile(QWidget* window, const std::string& fileName,
                                        std::string (*reader)(const std::string&, const std::atomic<bool>*))
{
    auto content = std::make_shared<std::string>();
    try {
        if (runAside(window, QString::fromUtf8("Čtení souboru „%1“…").arg(toQt(fileName)),
                     [fileName, content, reader](WorkProgress& progress) {
                         *content = reader(fileName, &progress.cancel);
                     }))
            return std::move(*content);
        inform(readingCancelledMessage(fileName));  // left behind, still waiting for the system
    } catch (const FileProblem& problem) {
        if (problem.kind() != FileProblem::Kind::cancelled)
            throw;
        inform(problem.message());
    }
    return std::nullopt;
}

bool readInputFile(QWidget* window, const QString& fileName, const std::function<void(const InputFile&)>& read)
{
    const std::optional<std::string> content = readUserFile(window, toStd(fileName), readFile);
    if (!content)
        return false;
    std::istringstream in(*content);
    try {
        // Numbers as the window's locale writes them, whatever the file's separator.
        read(InputFile::parse(in).withDecimalSeparator(localeDecimalSeparator()));
    } catch (const InputFileError& error) {
        throw Failure(inputFileMessage(error));
    }
    return true;
}

void saveBytes(const QString& fileName, const QByteArray& bytes)
{
    saveFile(toStd(fileName), std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

}  // namespace prurez
