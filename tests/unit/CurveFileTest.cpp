#include "flows/CurveFile.h"

#include "SectionTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace prurez;
using namespace sectiontest;
namespace fs = std::filesystem;

namespace {

class CurveFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory_ = fs::temp_directory_path() / ("prurez-curve-" + std::to_string(::getpid()) + "-" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override
    {
        fs::permissions(directory_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(directory_);
    }
    std::string path(const std::string& name) const { return (directory_ / name).string(); }
    static std::string contents(const std::string& name)
    {
        std::ifstream file(name, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    static GridTable smallTable()
    {
        GridTable table(9, 4);
        table.setCell(0, 0, "  Křivost");
        table.setCell(1, 0, "  Moment");
        table.setCell(0, 1, "  0");
        table.setCell(1, 1, "  0");
        table.setCell(0, 2, "0,1");
        table.setCell(1, 2, "0,005");
        table.setCell(0, 3, "0,2");
        table.setCell(5, 3, "Beton rozdrcen");
        table.setCell(0, 4, "hidden row");
        return table;
    }
    fs::path directory_;
};

}  // namespace

TEST_F(CurveFileTest, OneLinePerRowBelowTheHeaderOnClose)
{
    const std::string name = path("curve.txt");
    {
        std::ofstream old(name);
        old << "an older and longer content that must disappear\n";
    }
    CurveFile file;
    file.write(name, smallTable());
    EXPECT_TRUE(file.isOpen());
    // The previous content stays until the new one is complete, on close.
    EXPECT_EQ(contents(name), "an older and longer content that must disappear\n");
    file.close();
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(contents(name), "  0   0\r\n0,1 0,005\r\n0,2 \r\n");

    // A real run: row count − 1 lines, the end row as "curvature + blank".
    const GridTable table = sectiontest::run(plainSection(0));
    {
        CurveFile run;
        run.write(name, table);
    }  // the destructor completes it
    const std::string text = contents(name);
    size_t lines = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, static_cast<size_t>(table.rowCount() - 1));
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_NE(text.find("\r\n" + table.cell(0, table.rowCount() - 1) + " \r\n"), std::string::npos);
}

// A write that fails (here: a file size limit, as a full disk would) leaves the
// previous content and no other file, and is reported.
TEST_F(CurveFileTest, AFailedWriteKeepsThePreviousContent)
{
    const std::string name = path("curve.txt");
    std::ofstream(name, std::ios::binary) << "stará data\r\n";
    std::string input = fileText(std::string(PRUREZ_EXAMPLES_DIR) + "/reinforced-beam.txt");
    input += "dkappa = 0,0001\nfile = " + name + "\n";
    input.replace(input.find("dkappa = 0,001\n"), 15, "");
    const BatchRun limited = runBatch("section - --decimal ,", input, ".", "trap '' XFSZ; ulimit -f 1; ");
    EXPECT_EQ(limited.status, 1);
    EXPECT_EQ(limited.err, "I/O error 27\n");
    EXPECT_EQ(contents(name), "stará data\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 1);

    const BatchRun written = runBatch("section - --decimal ,", input);
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(contents(name).substr(0, 9), "  0   0\r\n");

    // A device is written as it is; a pipe is no file for the curve.
    CurveFile device;
    device.write("/dev/null", smallTable());
    device.close();
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
    EXPECT_EQ(failureOf([&] { device.write(path("pipe"), smallTable()); }), "File access denied");
}

TEST_F(CurveFileTest, InvalidNamesCreateNothing)
{
    const fs::path here = fs::current_path();
    fs::current_path(directory_);
    for (const char* name : {"*.*", "", "a?b.txt", "curve*.txt"}) {
        CurveFile file;
        EXPECT_EQ(failureOf([&] { file.write(name, smallTable()); }), "Invalid filename") << name;
        EXPECT_FALSE(file.isOpen());
    }
    fs::current_path(here);
    EXPECT_TRUE(fs::is_empty(directory_));

    CurveFile file;
    EXPECT_EQ(failureOf([&] { file.write(path("missing/curve.txt"), smallTable()); }), "Invalid filename");
    EXPECT_EQ(failureOf([&] { file.write(directory_.string(), smallTable()); }), "File access denied");
}

TEST_F(CurveFileTest, ReadOnlyDirectoryIsAccessDenied)
{
    fs::permissions(directory_, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(directory_.c_str(), W_OK) == 0)
        GTEST_SKIP() << "running with rights that make the directory writable";
    CurveFile file;
    EXPECT_EQ(failureOf([&] { file.write(path("curve.txt"), smallTable()); }), "File access denied");
}

TEST_F(CurveFileTest, SecondWriteCompletesTheFirstAndLocksHold)
{
    const std::string first = path("first.txt");
    const std::string second = path("second.txt");
    CurveFile file;
    file.write(first, smallTable());

    // Another writer cannot take the file and does not empty it.
    CurveFile other;
    EXPECT_EQ(failureOf([&] { other.write(first, GridTable(2, 2)); }), "File access denied");

    file.write(second, smallTable());
    EXPECT_EQ(contents(first), "  0   0\r\n0,1 0,005\r\n0,2 \r\n");
    EXPECT_EQ(contents(second), "");  // created, completed on close
    // The first file is free again.
    other.write(first, GridTable(2, 1));
    other.close();
    EXPECT_EQ(contents(first), "");
    // The same name again: the open file is completed and rewritten.
    file.write(second, smallTable());
    file.close();
    EXPECT_EQ(contents(second), "  0   0\r\n0,1 0,005\r\n0,2 \r\n");
}
