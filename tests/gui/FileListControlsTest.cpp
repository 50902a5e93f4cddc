#include "GuiTest.h"

#include "ui/widgets/FileListControls.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QStorageInfo>
#include <QTemporaryDir>

namespace {

// A directory with files (one without an extension) and two subdirectories; the
// process's current directory is restored afterwards.
class FileListControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = QDir::currentPath();
        ASSERT_TRUE(root_.isValid());
        QDir dir(root_.path());
        dir.mkdir("beta");
        dir.mkdir("alfa");
        for (const char* name : {"vysledky.txt", "README", "zkouska.dat"}) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        QFile inner(dir.filePath("alfa/uvnitr.txt"));
        ASSERT_TRUE(inner.open(QIODevice::WriteOnly));
        QDir::setCurrent(root_.path());
        controls_ = new prurez::FileListControls(QString::fromUtf8("Všechny soubory|*.*"), &name_, &holder_);
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    QStringList texts(QListWidget* list) const
    {
        QStringList result;
        for (int i = 0; i < list->count(); ++i)
            result << list->item(i)->text().trimmed();
        return result;
    }
    QListWidgetItem* directoryEntry(const QString& name) const
    {
        for (int i = 0; i < controls_->directoryList()->count(); ++i)
            if (controls_->directoryList()->item(i)->text().trimmed() == name)
                return controls_->directoryList()->item(i);
        return nullptr;
    }

    QString previous_;
    QTemporaryDir root_;
    QWidget holder_;
    QLineEdit name_;
    prurez::FileListControls* controls_ = nullptr;
};

TEST_F(FileListControlsTest, ChildrenCarryTheirNamesAndTheFilterHasItsOneEntry)
{
    EXPECT_NE(holder_.findChild<QComboBox*>("DriveComboBox1"), nullptr);
    EXPECT_NE(holder_.findChild<QListWidget*>("DirectoryListBox1"), nullptr);
    EXPECT_NE(holder_.findChild<QListWidget*>("FileListBox1"), nullptr);
    ASSERT_NE(holder_.findChild<QComboBox*>("FilterComboBox1"), nullptr);
    EXPECT_EQ(controls_->filterBox()->count(), 1);
    EXPECT_EQ(controls_->filterBox()->currentText(), QString::fromUtf8("Všechny soubory"));
    EXPECT_EQ(controls_->mask(), "*.*");
    EXPECT_EQ(name_.text(), "*.*");
}

TEST_F(FileListControlsTest, ListsEveryFileOfTheCurrentDirectoryAndItsWayDown)
{
    // "*.*" takes files without an extension too; directories are not files.
    EXPECT_EQ(texts(controls_->fileList()), (QStringList{"README", "vysledky.txt", "zkouska.dat"}));
    const QStringList dirs = texts(controls_->directoryList());
    ASSERT_GE(dirs.size(), 3);
    EXPECT_EQ(dirs.mid(dirs.size() - 2), (QStringList{"alfa", "beta"}));
    EXPECT_EQ(dirs[dirs.size() - 3], QDir(root_.path()).dirName());
    EXPECT_EQ(controls_->directory(), QDir(root_.path()).canonicalPath());
    // The drive box offers the volume of the current directory, selected.
    EXPECT_EQ(controls_->driveBox()->currentData().toString(),
              QDir::cleanPath(QStorageInfo(root_.path()).rootPath()));
}

TEST_F(FileListControlsTest, SelectingAFileWritesItsBareNameAndADirectoryChangeWritesTheMask)
{
    controls_->fileList()->setCurrentRow(1);
    EXPECT_EQ(name_.text(), "vysledky.txt");

    // The user typed over the name; clicking the selected file writes it again.
    name_.setText("jiny.txt");
    emit controls_->fileList()->itemClicked(controls_->fileList()->item(1));
    EXPECT_EQ(name_.text(), "vysledky.txt");

    QListWidgetItem* alfa = directoryEntry("alfa");
    ASSERT_NE(alfa, nullptr);
    emit controls_->directoryList()->itemActivated(alfa);
    EXPECT_EQ(QDir::currentPath(), QDir(root_.path()).canonicalPath() + "/alfa");
    EXPECT_EQ(name_.text(), "*.*");
    EXPECT_EQ(texts(controls_->fileList()), QStringList{"uvnitr.txt"});
    EXPECT_EQ(controls_->fileList()->currentRow(), -1);

    // Back up through the entry of the parent on the way down.
    QListWidgetItem* parent = directoryEntry(QDir(root_.path()).dirName());
    ASSERT_NE(parent, nullptr);
    controls_->fileList()->setCurrentRow(0);
    emit controls_->directoryList()->itemActivated(parent);
    EXPECT_EQ(QDir::currentPath(), QDir(root_.path()).canonicalPath());
    EXPECT_EQ(name_.text(), "*.*");
}

TEST_F(FileListControlsTest, RefreshFollowsADirectoryChosenElsewhereAndKeepsTheName)
{
    controls_->fileList()->setCurrentRow(2);
    ASSERT_EQ(name_.text(), "zkouska.dat");
    QDir::setCurrent(root_.path() + "/beta");
    controls_->refresh();
    EXPECT_EQ(controls_->directory(), QDir(root_.path()).canonicalPath() + "/beta");
    EXPECT_TRUE(texts(controls_->fileList()).isEmpty());
    EXPECT_EQ(name_.text(), "zkouska.dat");
}

TEST_F(FileListControlsTest, ADirectoryThatIsGoneIsRefusedWithAMessage)
{
    guitest::clearFailures();
    QListWidgetItem* beta = directoryEntry("beta");
    ASSERT_NE(beta, nullptr);
    QDir(root_.path()).rmdir("beta");
    emit controls_->directoryList()->itemActivated(beta);
    ASSERT_EQ(guitest::failures().size(), 1u);
    EXPECT_NE(guitest::failures()[0].find("nelze otevřít"), std::string::npos);
    EXPECT_EQ(QDir::currentPath(), QDir(root_.path()).canonicalPath());
}

}  // namespace
