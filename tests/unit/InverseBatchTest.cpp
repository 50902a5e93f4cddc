// prurez-batch inverse, run as a program.

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Runs prurez-batch inverse on the given INPUT text in the given directory.
BatchRun runInverse(const std::string& input, const std::string& options, const std::string& directory = "/tmp")
{
    return runBatch("inverse - " + options, input, directory);
}

const std::string beamTest = "E_test = 30000\nload_a = 0,15\ns = 0,15\n";

}  // namespace

TEST(InverseBatch, TestBlockFromTypedPoints)
{
    const BatchRun run = runInverse(beamTest + "point = 10 ; 0,001\npoint=10;0,00001\n", "--decimal , --blocks test");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "# test\n"
                       "   Síla [kN]\t   Průhyb [m]\t Křivost [m-1]\t   Moment \n"
                       "10\t0,001\t0,0700239012345679\t1,5\n"
                       "10\t0,00001\t-0,000376098765432099\t1,5\n");
}

TEST(InverseBatch, OutputThatCannotBeWrittenIsNoSuccess)
{
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full";
    const std::string command = std::string("printf 'point = 10;0,001\\nE_test = 30000\\nload_a = 0,15\\ns = 0,15\\n' | '") +
                                PRUREZ_BATCH_EXE + "' inverse - --decimal , --blocks test >/dev/full 2>/dev/null";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
}

TEST(InverseBatch, MalformedPointsAndKeysAreUsageErrors)
{
    for (const char* input : {"point = 10 0,001\n", "point = 10;0,001;2\n", "point = 1;2\ntest_file = x.txt\n",
                              "pont = 1;2\n", "n = 1\nn = 2\n"}) {
        SCOPED_TRACE(input);
        const BatchRun run = runInverse(beamTest + input, "--decimal ,");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
}

TEST(InverseBatch, AFailurePrintsOnlyItsMessage)
{
    // The combinations fail; the test block before them is not printed.
    BatchRun run = runInverse(beamTest + "point = 10;0,001\nfcp = x\n", "--decimal , --blocks test,combinations");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "'x' is not a valid floating point value\n");

    // A step after the last wanted block is not reached.
    run = runInverse(beamTest + "point = 10;0,001\nfcp = x\n", "--decimal , --blocks test");
    EXPECT_EQ(run.status, 0);

    run = runInverse(beamTest + "test_file = /tmp/prurez-no-such-file.txt\n", "--decimal ,");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "File not found\n");
    // An empty name is opened as the window opens an empty file-name field: no file of
    // that name, whether the INPUT comes from standard input or from a folder.
    run = runInverse(beamTest + "test_file =\n", "--decimal ,");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "File not found\n");
    const std::string inFolder = "/tmp/prurez-empty-test-file.input";
    std::ofstream(inFolder) << beamTest << "test_file = \n";
    run = runBatch("inverse '" + inFolder + "' --decimal , --blocks test", "", "/");
    std::remove(inFolder.c_str());
    EXPECT_EQ(run.err, "File not found\n");
    // Only a regular file: a device that never ends is refused at once.
    run = runInverse(beamTest + "test_file = /dev/zero\n", "--decimal , --blocks test");
    EXPECT_EQ(run.err, "File access denied\n");

    run = runInverse(beamTest + "point = 10;0,001\nfcp=30\necpm=0,35\nE_min=1\nE_max=2\nfct_min=1\nfct_max=2\n"
                                "ectm_min=1\nectm_max=2\na_min=0\na_max=0\nb_min=0\nb_max=0\nn = 25\n",
                     "--decimal , --blocks combinations");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Počet mezihodnot parametrů musí být celé číslo od 0 do 24.\n");
}

TEST(InverseBatch, TheWholeRoadOfTheExampleInBlockOrderForAnyThreadCount)
{
    const std::string examples = PRUREZ_EXAMPLES_DIR;
    const std::string input = fileText(examples + "/inverse.input");
    ASSERT_FALSE(input.empty());
    const BatchRun one = runInverse(input, "--decimal , --threads 1 --blocks best,test,deviations", examples);
    EXPECT_EQ(one.status, 0) << one.err;
    const size_t test = one.out.find("# test\n");
    const size_t deviations = one.out.find("# deviations\n");
    const size_t best = one.out.find("# best\n");
    EXPECT_EQ(test, 0u);
    EXPECT_LT(test, deviations);
    EXPECT_LT(deviations, best);
    EXPECT_EQ(one.out.find("# combinations"), std::string::npos);
    EXPECT_NE(one.out.find("\n11,9\t0,001\t"), std::string::npos);
    EXPECT_NE(one.out.find(" kombinace\t  odchylka\n1\t"), std::string::npos);
    // The best row: number and the seven parameter texts.
    const std::string bestRow = one.out.substr(best + 7);
    int tabs = 0;
    for (char c : bestRow)
        tabs += c == '\t';
    EXPECT_EQ(tabs, 7);
    EXPECT_EQ(bestRow.back(), '\n');
    EXPECT_EQ(bestRow.substr(0, 4), "196\t");
    // Combination 1 at the first two test points, computed independently.
    const BatchRun moments = runInverse(input, "--decimal , --blocks moments", examples);
    EXPECT_NE(moments.out.find("\n1\t0,000167506172839506\t0,176666701690684\t0,000335012345679012\t0,353333403381368\t"),
              std::string::npos);

    const BatchRun two = runInverse(input, "--decimal , --threads 2 --blocks test,deviations,best", examples);
    EXPECT_EQ(two.out, one.out);
    // Run by its path from elsewhere: the test file is beside it, the separator the one
    // its comment names.
    const BatchRun elsewhere = runBatch("inverse " + examples + "/inverse.input --blocks test,deviations,best", "", "/");
    EXPECT_EQ(elsewhere.out, one.out) << elsewhere.err;
    // More threads than the address space allows: those that start do the work.
    const BatchRun many = runBatch("inverse - --decimal , --threads 300 --blocks test,deviations,best", input,
                                   examples, "ulimit -v 2000000; ");
    EXPECT_EQ(many.status, 0) << many.err;
    EXPECT_EQ(many.out, one.out);
}

TEST(InverseBatch, RefineOnlyAddsTheRefinedBlockAndTheBlockNeedsIt)
{
    const std::string examples = PRUREZ_EXAMPLES_DIR;
    const std::string input = fileText(examples + "/inverse.input");
    const BatchRun plain = runInverse(input, "--decimal ,", examples);
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out.find("# refined"), std::string::npos);
    const BatchRun refined = runInverse(input, "--decimal , --refine", examples);
    ASSERT_EQ(refined.status, 0) << refined.err;
    EXPECT_EQ(refined.out.substr(0, plain.out.size()), plain.out);
    EXPECT_EQ(refined.out.find("# refined\n"), plain.out.size());

    const BatchRun unasked = runInverse(input, "--decimal , --blocks best,refined", examples);
    EXPECT_EQ(unasked.status, 2);
    EXPECT_EQ(unasked.out, "");
    EXPECT_EQ(unasked.err, "prurez-batch: the block 'refined' needs --refine\n");
}
