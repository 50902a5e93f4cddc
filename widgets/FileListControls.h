#pragma once
// The coupled file choice: a drive box (the mounted file systems), a directory list,
// a file list and a filter box. Choosing a directory makes it the process's current
// directory; selecting a file writes its bare name into the name field, and with no
// file selected (after every change of drive, directory or filter) the field shows
// the filter's mask.
//
// Child objectNames: DriveComboBox1, DirectoryListBox1, FileListBox1, FilterComboBox1.

#include <QWidget>

class QComboBox;
class QLineEdit;
class QListWidget;

namespace prurez {

class FileListControls : public QWidget {
    Q_OBJECT
public:
    // `filter` is "Description|mask", e.g. "Všechny soubory|*.*". The name field is
    // owned by the window.
    FileListControls(const QString& filter, QLineEdit* nameField, QWidget* parent = nullptr);

    QComboBox* driveBox() const { return driveBox_; }
    QListWidget* directoryList() const { return directoryList_; }
    QListWidget* fileList() const { return fileList_; }
    QComboBox* filterBox() const { return filterBox_; }

    // The mask of the chosen filter ("*.*").
    QString mask() const;
    // Shows `path` (and makes it the current directory).
    void openDirectory(const QString& path);
    // Re-reads the current directory (it may have been changed elsewhere).
    void refresh();

signals:
    // The current directory changed through these controls.
    void directoryChanged(const QString& path);

private:
    QComboBox* driveBox_;
    QListWidget* directoryList_;
    QListWidget* fileList_;
    QComboBox* filterBox_;
    QLineEdit* nameField_;
};

}  // namespace prurez
