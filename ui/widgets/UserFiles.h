#pragma once
// Files the user saves from a window or opens in it: the name asked for in a dialog,
// the bytes written whole or not at all, a failure told in Czech.

#include <QByteArray>
#include <QString>

#include <functional>

class QWidget;

namespace prurez {

class InputFile;

// Asks for the name of a file to open; empty when the user cancelled.
QString askOpenFileName(QWidget* parent, const QString& caption, const QString& filter);

// Reads an input file ("key = value" lines) and hands it to `read`, which fills the
// window from it. A file that cannot be read, or a malformed one (InputFileError, also
// from `read`), fails with a Czech message naming the line.
void readInputFile(const QString& fileName, const std::function<void(const InputFile&)>& read);

// The filter of the input files in the dialogs.
QString inputFileFilter();

// Asks for the name of a file to save; `filter` as QFileDialog takes it
// ("Tabulka CSV (*.csv)"), the suffix of the chosen filter added when the name has
// none. Empty when the user cancelled.
QString askSaveFileName(QWidget* parent, const QString& caption, const QString& filter);

// Writes the bytes to the file, replacing it only once all are written. A file that
// cannot be written fails (Failure) with a Czech message naming it.
void saveBytes(const QString& fileName, const QByteArray& bytes);

// The message of a file that could not be saved.
QString cannotSaveMessage(const QString& fileName);

}  // namespace prurez
