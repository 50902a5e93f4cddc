#include "widgets/FileListControls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

namespace prurez {

// A first, minimal version; the coupling comes with the section input window.
FileListControls::FileListControls(const QString& filter, QLineEdit* nameField, QWidget* parent)
    : QWidget(parent),
      driveBox_(new QComboBox(this)),
      directoryList_(new QListWidget(this)),
      fileList_(new QListWidget(this)),
      filterBox_(new QComboBox(this)),
      nameField_(nameField)
{
    driveBox_->setObjectName("DriveComboBox1");
    directoryList_->setObjectName("DirectoryListBox1");
    fileList_->setObjectName("FileListBox1");
    filterBox_->setObjectName("FilterComboBox1");
    filterBox_->addItem(filter.section('|', 0, 0), filter.section('|', 1, 1));
}

QString FileListControls::mask() const { return filterBox_->currentData().toString(); }

void FileListControls::openDirectory(const QString&) {}

void FileListControls::refresh() {}

}  // namespace prurez
