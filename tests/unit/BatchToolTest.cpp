// The input file reader and the batch tool's command line.

#include "TestSupport.h"
#include "flows/InputFile.h"
#include "flows/TableExport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using prurez::InputFile;
using prurez::InputFileError;

namespace {

InputFile parse(const std::string& text)
{
    std::istringstream in(text);
    return InputFile::parse(in);
}

}  // namespace

TEST(InputFile, SkipsCommentsAndBlankLinesAndTrimsKeyAndValue)
{
    const InputFile input = parse("# a comment\n\n   # indented comment\n  fcp =  30  \r\nfile = a b = c\nempty=\n");
    EXPECT_EQ(input.value("fcp"), "30");
    EXPECT_EQ(input.value("file"), "a b = c") << "the value is everything after the first '='";
    EXPECT_TRUE(input.has("empty"));
    EXPECT_EQ(input.value("empty"), "");
    EXPECT_FALSE(input.has("E"));
    EXPECT_EQ(input.value("E", "fallback"), "fallback");
}

TEST(InputFile, MalformedLinesAndKeysAreInputFileErrors)
{
    EXPECT_THROW(parse("fcp 30\n"), InputFileError);
    EXPECT_THROW(parse(" = 30\n"), InputFileError);
    const InputFile input = parse("fcp = 30\nfcp = 31\npoint = 1;2\npoint = 3;4\n");
    EXPECT_THROW(input.validate({"fcp", "point"}, {"point"}), InputFileError) << "fcp repeated";
    const InputFile unknown = parse("fpc = 30\n");
    EXPECT_THROW(unknown.validate({"fcp"}, {}), InputFileError);
    const InputFile points = parse("point = 1;2\npoint = 3;4\n");
    EXPECT_NO_THROW(points.validate({"point"}, {"point"}));
    EXPECT_EQ(points.values("point"), (std::vector<std::string>{"1;2", "3;4"}));
}

TEST(InputFile, ChoicesAreItemIndices)
{
    const InputFile input = parse("material = 2\nshape = x\n");
    EXPECT_EQ(input.choice("material", 3), 2);
    EXPECT_EQ(input.choice("diagram", 3), -1);
    EXPECT_THROW(input.choice("shape", 2), InputFileError);
}

TEST(BatchCommandLine, HelpUsageErrorsAndExitStatus)
{
    const BatchRun help = runBatch("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("prurez-batch section INPUT"), std::string::npos);
    EXPECT_EQ(runBatch("").status, 2);
    EXPECT_EQ(runBatch("plot x").status, 2);
    EXPECT_EQ(runBatch("section").status, 2) << "missing INPUT";
    EXPECT_EQ(runBatch("section /nonexistent/input.txt").status, 2);
    const BatchRun directory = runBatch("inverse /tmp --blocks test");
    EXPECT_EQ(directory.status, 2) << "a directory is no INPUT, not an empty one";
    EXPECT_NE(directory.err.find("cannot read INPUT '/tmp'"), std::string::npos) << directory.err;
    EXPECT_EQ(runBatch("section - --decimal x").status, 2);
    EXPECT_EQ(runBatch("section - --threads 2").status, 2) << "--threads is for inverse only";
    EXPECT_EQ(runBatch("inverse - --blocks test,plot").status, 2);
    EXPECT_EQ(runBatch("inverse - --blocks ''").status, 2) << "an empty list is not the default of all blocks";
    const BatchRun malformed = runBatch("section -", "fcp 30\n");
    EXPECT_EQ(malformed.status, 2);
    EXPECT_TRUE(malformed.out.empty());
}

TEST(TableExport, TabSeparatedSelectionAndCsvInTheLocalesDialect)
{
    using namespace prurez;
    GridTable table(3, 2);
    table.setCell(0, 0, "  Síla [kN]");
    table.setCell(1, 0, "a;b");
    table.setCell(2, 0, "say \"x\"");
    table.setCell(0, 1, "1,5");
    table.setCell(1, 1, " 0");
    table.setCell(2, 1, "2,5E-7");
    EXPECT_EQ(tabSeparatedText(table, wholeTable(table)), "Síla [kN]\ta;b\tsay \"x\"\n1,5\t0\t2,5E-7\n");
    EXPECT_EQ(tabSeparatedText(table, CellRange{1, 0, 2, 1}, [](int column, int row) { return column == row + 1; }),
              "a;b\t\n\t2,5E-7\n");
    // Decimal comma: ';' between fields, the field holding ';' or a quote quoted.
    EXPECT_EQ(csvText(table, ','), "\xEF\xBB\xBFSíla [kN];\"a;b\";\"say \"\"x\"\"\"\r\n1,5;0;2,5E-7\r\n");
    table.setCell(0, 1, "1.5");
    table.setCell(2, 1, "2.5E-7");
    EXPECT_EQ(csvText(table, '.'), "\xEF\xBB\xBFSíla [kN],a;b,\"say \"\"x\"\"\"\r\n1.5,0,2.5E-7\r\n");
}
