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
class QListWidgetItem;

namespace prurez {

class FileListControls : public QWidget {
    Q_OBJECT
public:
    // `filter` is "Description|mask" (more pairs may follow: "A|*.txt|B|*.*"), e.g.
    // "Všechny soubory|*.*". The name field is owned by the window.
    FileListControls(const QString& filter, QLineEdit* nameField, QWidget* parent = nullptr);

    QComboBox* driveBox() const { return driveBox_; }
    QListWidget* directoryList() const { return directoryList_; }
    QListWidget* fileList() const { return fileList_; }
    QComboBox* filterBox() const { return filterBox_; }

    // The mask of the chosen filter ("*.*").
    QString mask() const;
    // The directory the lists show (absolute, clean).
    QString directory() const { return directory_; }
    // The full path a directory list entry stands for (empty for a foreign item).
    static QString entryPath(const QListWidgetItem* item);

    // Shows `path` and makes it the current directory; the name field gets the mask.
    // A directory that cannot be entered fails with a message (run inside guarded).
    void openDirectory(const QString& path);
    // Re-reads the current directory, which may have been changed elsewhere, without
    // touching the name field; the file named there is selected again if listed.
    void refresh();

signals:
    // The current directory changed through these controls.
    void directoryChanged(const QString& path);

private:
    void fillDrives();
    void showDirectory(const QString& path);
    void fillFiles();
    void selectDriveOf(const QString& path);
    void writeMask();

    QComboBox* driveBox_;
    QListWidget* directoryList_;
    QListWidget* fileList_;
    QComboBox* filterBox_;
    QLineEdit* nameField_;
    QString directory_;
    bool filling_ = false;  // lists being rebuilt: selection changes are not the user's
};

}  // namespace prurez
