#pragma once
// Files the user saves from a window or opens in it: the name asked for in a dialog,
// the bytes written whole or not at all (saveFile), a file read as every file is
// (readFile) off the window's thread, a failure told in Czech.

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace prurez {

class InputFile;

// Asks for the name of a file to open; empty when the user cancelled.
QString askOpenFileName(QWidget* parent, const QString& caption, const QString& filter);

// The content of a file, read by `reader` (readFile or one built on it) off the
// window's thread when it takes long (runAside); its failures are thrown here. A read
// the user stopped is told (inform) and gives no content.
std::optional<std::string> readUserFile(QWidget* window, const std::string& fileName,
                                        std::string (*reader)(const std::string&, const std::atomic<bool>*));

// Reads an input file ("key = value" lines) and hands it to `read`, which fills the
// window from it; false when the user stopped the reading (nothing is read). A file that cannot be read,
// or a malformed one (InputFileError, also from `read`), fails with a Czech message
// naming the line.
bool readInputFile(QWidget* window, const QString& fileName, const std::function<void(const InputFile&)>& read);

// The filter of the input files in the dialogs.
QString inputFileFilter();

// Asks for the name of a file to save; `filter` as QFileDialog takes it
// ("Tabulka CSV (*.csv)"), the suffix of the chosen filter added by the dialog when the
// name has none (so that it asks before replacing the very file written). Empty when
// the user cancelled.
QString askSaveFileName(QWidget* parent, const QString& caption, const QString& filter);

// Writes the bytes to the file as every file is saved (saveFile): replaced only once
// all are written, a regular file only. A file that cannot be written fails
// (FileProblem) with a Czech message naming it and what failed.
void saveBytes(const QString& fileName, const QByteArray& bytes);

}  // namespace prurez
