#pragma once
// Files the user saves from a window: the name asked for in a dialog, the bytes
// written whole or not at all, a failure told in Czech.

#include <QByteArray>
#include <QString>

class QWidget;

namespace prurez {

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
