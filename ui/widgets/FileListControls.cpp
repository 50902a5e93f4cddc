#include "ui/widgets/FileListControls.h"

#include "common/Failure.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/Handlers.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QStorageInfo>
#include <QStyle>

#include <algorithm>

namespace prurez {

namespace {

constexpr int pathRole = Qt::UserRole;

// The name patterns of a mask: "*.txt;*.dat" → {"*.txt", "*.dat"}. "*.*" means every
// file, also one without an extension.
QStringList namePatterns(const QString& mask)
{
    QStringList patterns;
    for (const QString& part : mask.split(';', Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    }
    if (patterns.isEmpty())
        patterns << QStringLiteral("*");
    return patterns;
}

QString cleanAbsolute(const QString& path) { return QDir::cleanPath(QDir(path).absolutePath()); }

}  // namespace

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

    const QStringList parts = filter.split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filterBox_->addItem(parts[i], parts[i + 1]);
    if (filterBox_->count() == 0)
        filterBox_->addItem(filter, QStringLiteral("*.*"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(6);
    layout->addWidget(fileList_, 0, 0);
    layout->addWidget(directoryList_, 0, 1);
    layout->addWidget(filterBox_, 1, 0);
    layout->addWidget(driveBox_, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    fillDrives();
    showDirectory(QDir::currentPath());
    writeMask();

    connect(driveBox_, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        const QString root = driveBox_->itemData(index).toString();
        guarded([&] { openDirectory(root); });
        selectDriveOf(directory_);  // back to the shown drive when it could not be entered
    });
    connect(directoryList_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QString path = entryPath(item);
        if (!path.isEmpty())
            guarded([&] { openDirectory(path); });
    });
    connect(fileList_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item, QListWidgetItem*) {
        if (!filling_ && item != nullptr && nameField_ != nullptr)
            setFieldText(nameField_, item->text());
    });
    connect(fileList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (item != nullptr && nameField_ != nullptr)
            setFieldText(nameField_, item->text());
    });
    connect(filterBox_, QOverload<int>::of(&QComboBox::activated), this, [this](int) {
        fillFiles();
        writeMask();
    });
}

QString FileListControls::mask() const { return filterBox_->currentData().toString(); }

QString FileListControls::entryPath(const QListWidgetItem* item)
{
    return item != nullptr ? item->data(pathRole).toString() : QString();
}

void FileListControls::openDirectory(const QString& path)
{
    const QString target = cleanAbsolute(path);
    if (!QDir(target).exists() || !QDir::setCurrent(target))
        throw Failure("Adresář " + QDir::toNativeSeparators(target).toStdString() + " nelze otevřít.");
    showDirectory(QDir::currentPath());
    writeMask();
    emit directoryChanged(directory_);
}

void FileListControls::refresh()
{
    const QString current = cleanAbsolute(QDir::currentPath());
    if (current != directory_)
        fillDrives();
    showDirectory(current);
    if (nameField_ == nullptr)
        return;
    const QList<QListWidgetItem*> named = fileList_->findItems(nameField_->text(), Qt::MatchExactly);
    if (!named.isEmpty()) {
        filling_ = true;
        fileList_->setCurrentItem(named.first());
        filling_ = false;
    }
}

void FileListControls::fillDrives()
{
    QStringList roots;
    QStringList labels;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = cleanAbsolute(volume.rootPath());
        if (roots.contains(root))
            continue;
        roots << root;
        const QString name = volume.name();
        labels << (name.isEmpty() || name == root ? QDir::toNativeSeparators(root)
                                                  : QDir::toNativeSeparators(root) + "  [" + name + "]");
    }
    // The volume of the current directory is always offered.
    const QString currentRoot = cleanAbsolute(QStorageInfo(QDir::currentPath()).rootPath());
    if (!currentRoot.isEmpty() && !roots.contains(currentRoot)) {
        roots << currentRoot;
        labels << QDir::toNativeSeparators(currentRoot);
    }
    std::vector<int> order(static_cast<std::size_t>(roots.size()));
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return roots[a] < roots[b]; });

    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    driveBox_->clear();
    for (int i : order)
        driveBox_->addItem(icon, labels[i], roots[i]);
}

void FileListControls::selectDriveOf(const QString& path)
{
    // The volume with the longest root that contains the path.
    int best = -1;
    int bestLength = -1;
    for (int i = 0; i < driveBox_->count(); ++i) {
        const QString root = driveBox_->itemData(i).toString();
        const bool contains = path == root || root == QLatin1String("/") || path.startsWith(root + '/');
        if (contains && root.size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(root.size());
        }
    }
    if (best >= 0)
        driveBox_->setCurrentIndex(best);
}

void FileListControls::showDirectory(const QString& path)
{
    directory_ = cleanAbsolute(path);
    selectDriveOf(directory_);
    const QString root = driveBox_->currentIndex() >= 0 ? driveBox_->currentData().toString() : QStringLiteral("/");

    // The way from the volume's root down to the directory, one indented entry each,
    // then the subdirectories one step further in.
    QStringList chain;
    for (QDir dir(directory_);;) {
        chain.prepend(dir.absolutePath());
        if (dir.absolutePath() == root || dir.isRoot() || !dir.cdUp())
            break;
    }
    filling_ = true;
    directoryList_->clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    int depth = 0;
    for (const QString& step : chain) {
        const QString name = depth == 0 ? QDir::toNativeSeparators(step) : QDir(step).dirName();
        auto* item = new QListWidgetItem(openIcon, QString(depth * 2, ' ') + name, directoryList_);
        item->setData(pathRole, step);
        ++depth;
    }
    directoryList_->setCurrentRow(directoryList_->count() - 1);
    const QStringList subdirectories =
        QDir(directory_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : subdirectories) {
        auto* item = new QListWidgetItem(closedIcon, QString(depth * 2, ' ') + name, directoryList_);
        item->setData(pathRole, QDir(directory_).filePath(name));
    }
    filling_ = false;
    fillFiles();
}

void FileListControls::fillFiles()
{
    filling_ = true;
    fileList_->clear();
    QDir dir(directory_);
    dir.setNameFilters(namePatterns(mask()));
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    fileList_->addItems(dir.entryList());
    fileList_->setCurrentRow(-1);
    filling_ = false;
}

void FileListControls::writeMask()
{
    if (nameField_ != nullptr)
        setFieldText(nameField_, mask());
}

}  // namespace prurez
