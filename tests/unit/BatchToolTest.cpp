// The batch tool's INPUT reader and command line.

#include "TestSupport.h"
#include "batch/BatchInput.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using prurez::batch::BatchInput;
using prurez::batch::UsageError;

namespace {

BatchInput parse(const std::string& text)
{
    std::istringstream in(text);
    return BatchInput::parse(in);
}

}  // namespace

TEST(BatchInput, SkipsCommentsAndBlankLinesAndTrimsKeyAndValue)
{
    const BatchInput input = parse("# a comment\n\n   # indented comment\n  fcp =  30  \r\nfile = a b = c\nempty=\n");
    EXPECT_EQ(input.value("fcp"), "30");
    EXPECT_EQ(input.value("file"), "a b = c") << "the value is everything after the first '='";
    EXPECT_TRUE(input.has("empty"));
    EXPECT_EQ(input.value("empty"), "");
    EXPECT_FALSE(input.has("E"));
    EXPECT_EQ(input.value("E", "fallback"), "fallback");
}

TEST(BatchInput, MalformedLinesAndKeysAreUsageErrors)
{
    EXPECT_THROW(parse("fcp 30\n"), UsageError);
    EXPECT_THROW(parse(" = 30\n"), UsageError);
    const BatchInput input = parse("fcp = 30\nfcp = 31\npoint = 1;2\npoint = 3;4\n");
    EXPECT_THROW(input.validate({"fcp", "point"}, {"point"}), UsageError) << "fcp repeated";
    const BatchInput unknown = parse("fpc = 30\n");
    EXPECT_THROW(unknown.validate({"fcp"}, {}), UsageError);
    const BatchInput points = parse("point = 1;2\npoint = 3;4\n");
    EXPECT_NO_THROW(points.validate({"point"}, {"point"}));
    EXPECT_EQ(points.values("point"), (std::vector<std::string>{"1;2", "3;4"}));
}

TEST(BatchInput, ChoicesAreItemIndices)
{
    const BatchInput input = parse("material = 2\nshape = x\n");
    EXPECT_EQ(input.choice("material"), 2);
    EXPECT_EQ(input.choice("diagram"), -1);
    EXPECT_THROW(input.choice("shape"), UsageError);
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
