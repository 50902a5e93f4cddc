// prurez-batch section, run as the user runs it.

#include "SectionTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

std::string example(const std::string& name) { return std::string(PRUREZ_EXAMPLES_DIR) + "/" + name; }

const char* const plainInput =
    "material = 0\ndiagram = 0\nshape = 1\nfcp = 30\nfct = 2,9\nE = 32000\necu = 0,35\netu = 0,01\n"
    "ec1 = 0,2\nwidth = 0,3\nheight = 0,5\nN = 0\ndkappa = 0,00005\n";

}  // namespace

TEST(SectionBatch, ExamplesPrintTheirTables)
{
    for (const char* name : {"plain-bilinear.txt", "plain-parabolic.txt", "reinforced-beam.txt"}) {
        const BatchRun result = runBatch("section " + example(name) + " --decimal ,");
        EXPECT_EQ(result.status, 0) << name << result.err;
        EXPECT_EQ(result.err, "");
        std::istringstream lines(result.out);
        std::string line;
        int rows = 0;
        size_t tabs = 0;
        std::string last;
        while (std::getline(lines, line)) {
            const size_t count = static_cast<size_t>(std::count(line.begin(), line.end(), '\t'));
            if (rows == 0)
                tabs = count;
            EXPECT_EQ(count, tabs) << name << " row " << rows;
            last = line;
            ++rows;
        }
        EXPECT_GT(rows, 10) << name;
        EXPECT_EQ(result.out.substr(0, 11), "  Křivost\t");
        EXPECT_NE(last.find(name[0] == 'r' ? "Prvek" : "Beton"), std::string::npos) << last;
    }
    // The example is the plain section with the step 0,00002, worked out independently.
    EXPECT_EQ(runBatch("section " + example("plain-bilinear.txt") + " --decimal ,").out,
              sectiontest::referenceTable("plain-bilinear-softening"));

    // By path and by '-' the same.
    // The separator the INPUT's comment names is taken without the option.
    const BatchRun byPath = runBatch("section " + example("reinforced-beam.txt"));
    const BatchRun byStdin = runBatch("section - --decimal ,", fileText(example("reinforced-beam.txt")));
    EXPECT_EQ(byPath.out, byStdin.out);
    EXPECT_EQ(runBatch("section - --decimal , --exhaustive-scan", fileText(example("reinforced-beam.txt"))).out,
              byPath.out);
}

TEST(SectionBatch, FailuresAndUsageErrors)
{
    // Comma decimals read with the point: the program's own message for the first field
    // in reading order (E, then the ultimate compressive strain), nothing on out.
    BatchRun result = runBatch("section - --decimal .", plainInput);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "'0,35' is not a valid floating point value\n");

    result = runBatch("section - --decimal ,", std::string(plainInput) + "N = 2000\n");
    EXPECT_EQ(result.status, 2);  // repeated key

    std::string pulled = plainInput;
    pulled.replace(pulled.find("N = 0"), 5, "N = 2000");
    result = runBatch("section - --decimal ,", pulled);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("Při křivosti 4,99999987368938E-5 [m-1]", 0), 0u) << result.err;

    std::string noDiagram = plainInput;
    noDiagram.erase(noDiagram.find("diagram = 0\n"), 12);
    result = runBatch("section - --decimal ,", noDiagram);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Není zvolen pracovní diagram betonu.\n");

    for (const char* bad : {"colour = red\n", "ec1 = 0,2\n", "a = 0,5\n", "material = 3\n", "novalue\n"}) {
        std::string input = plainInput;
        if (std::string(bad) == "ec1 = 0,2\n")
            input += "ec1 = 0,3\n";
        else
            input += bad;
        EXPECT_EQ(runBatch("section - --decimal ,", input).status, 2) << bad;
    }

    // An INPUT is a regular file (a device may never end) or standard input; a line
    // has an end; control bytes are shown escaped.
    result = runBatch("section /dev/zero");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "prurez-batch: cannot read INPUT '/dev/zero': not a regular file (use '-' for a pipe)\n");
    result = runBatch("section -", std::string(70000, 'x'));
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "prurez-batch: line 1 is longer than 65536 characters\n");
    result = runBatch("section - --decimal ,", std::string(plainInput) + "E\x01x = 1\n");
    EXPECT_EQ(result.err, "prurez-batch: line 14: unknown key 'E\\x01x'\n");

    // The curve file may not be the INPUT itself.
    const std::string self = "/tmp/prurez-self-" + std::to_string(::getpid()) + ".txt";
    const std::string selfInput = std::string(plainInput) + "file = " + self + "\n";
    std::ofstream(self, std::ios::binary) << selfInput;
    result = runBatch("section " + self + " --decimal ,");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(fileText(self), selfInput);
    std::remove(self.c_str());
}

TEST(SectionBatch, ChoicesActAsClicks)
{
    // Plain concrete ignores a tension choice, as a click on the disabled group would.
    const BatchRun plain = runBatch("section - --decimal ,", plainInput);
    ASSERT_EQ(plain.status, 0);
    EXPECT_EQ(runBatch("section - --decimal ,", std::string(plainInput) + "tension = 1\n").out, plain.out);

    // A file key writes the curve file after the run.
    const std::string name = "/tmp/prurez-batch-curve-" + std::to_string(::getpid()) + ".txt";
    const BatchRun written = runBatch("section - --decimal ,", std::string(plainInput) + "file = " + name + "\n");
    EXPECT_EQ(written.status, 0);
    EXPECT_EQ(written.out, plain.out);
    const std::string text = fileText(name);
    EXPECT_EQ(text.substr(0, 9), "  0   0\r\n");
    EXPECT_EQ(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')),
              static_cast<size_t>(std::count(plain.out.begin(), plain.out.end(), '\n')) - 1);
    std::remove(name.c_str());

    const BatchRun invalid = runBatch("section - --decimal ,", std::string(plainInput) + "file = *.*\n");
    EXPECT_EQ(invalid.status, 1);
    EXPECT_EQ(invalid.err, "Invalid filename\n");
    EXPECT_EQ(invalid.out, "");
}

// Exact equilibrium by the option or by the key of INPUT: the small square of the
// scan's hump lies at mid-height in its first rows; the inverse moments change too.
TEST(SectionBatch, ExactEquilibriumByOptionOrKey)
{
    const std::string square = "material = 0\ndiagram = 0\nshape = 0\nfcp = 30\nfct = 2,9\nE = 32000\n"
                               "ecu = 0,35\netu = 0,01\nec1 = 0,2\nwidth = 0,15\nN = 0\ndkappa = 0,00001\n";
    const BatchRun scan = runBatch("section - --decimal ,", square);
    const BatchRun exact = runBatch("section - --decimal , --exact-equilibrium", square);
    ASSERT_EQ(exact.status, 0) << exact.err;
    EXPECT_EQ(runBatch("section - --decimal ,", square + "exact_equilibrium = 1\n").out, exact.out);
    EXPECT_EQ(runBatch("section - --decimal , --exact-equilibrium", square + "exact_equilibrium = 0\n").out,
              exact.out);
    std::istringstream lines(exact.out);
    std::string line;
    for (int row = 0; row < 4 && std::getline(lines, line); ++row) {
        if (row >= 2) {
            EXPECT_EQ(line.substr(line.find('\t', line.find('\t') + 1) + 1, 6), "0,075\t") << line;
        }
    }
    EXPECT_NE(scan.out, exact.out);

    const std::string folder = example("");
    const BatchRun moments = runBatch("inverse inverse.input --decimal , --blocks moments", "", folder);
    const BatchRun exactMoments =
        runBatch("inverse inverse.input --decimal , --blocks moments --exact-equilibrium", "", folder);
    ASSERT_EQ(exactMoments.status, 0) << exactMoments.err;
    EXPECT_NE(moments.out, exactMoments.out);
    EXPECT_EQ(runBatch("inverse - --decimal , --blocks moments",
                       fileText(example("inverse.input")) + "exact_equilibrium = 1\n", folder).out,
              exactMoments.out);
}

// prurez-batch interaction: one header line, the forces ascending from the compressive
// capacity to the tensile one, the negative branch after its line when the bars differ.
TEST(SectionBatch, InteractionPrintsBothBranchesOfAnUnsymmetricSection)
{
    const BatchRun run = runBatch("interaction " + example("reinforced-beam.txt") + " --decimal , --points 7");
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "N [kN]\tM [kNm]\tkappa [1/m]\tend");
    for (int branch = 0; branch < 2; ++branch) {
        if (branch == 1) {
            std::getline(lines, line);
            EXPECT_EQ(line, "# negative bending");
        }
        long double previous = -1e30L;
        for (int k = 0; k < 7 && std::getline(lines, line); ++k) {
            const long double N = prurez::parseNumber(line.substr(0, line.find('\t')), ',');
            EXPECT_GT(N, previous) << line;
            previous = N;
            const std::string end = line.substr(line.rfind('\t') + 1);
            EXPECT_EQ(end == "capacity", k == 0 || k == 6) << line;
            EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 3) << line;
        }
        EXPECT_NEAR(previous, 700.0L, 1e-3L);  // the bars' yield force: 1400 mm2 × 500 MPa
    }
    EXPECT_FALSE(std::getline(lines, line)) << line;

    // A plain section bends alike both ways; --points is checked.
    const BatchRun plain = runBatch("interaction " + example("plain-bilinear.txt") + " --decimal , --points 3");
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(std::count(plain.out.begin(), plain.out.end(), '\n'), 4);
    EXPECT_EQ(plain.out.find("#"), std::string::npos);
    EXPECT_EQ(runBatch("interaction " + example("plain-bilinear.txt") + " --points 1").status, 2);
    EXPECT_EQ(runBatch("interaction " + example("plain-bilinear.txt") + " --exact-equilibrium").status, 2);

    // More threads than the address space allows: those that start do the work.
    const std::string forces = "interaction " + example("plain-bilinear.txt") + " --decimal , --points 302";
    const BatchRun two = runBatch(forces + " --threads 2");
    const BatchRun many = runBatch(forces + " --threads 300", "", ".", "ulimit -v 2000000; ");
    ASSERT_EQ(two.status, 0) << two.err;
    EXPECT_EQ(many.status, 0) << many.err;
    EXPECT_EQ(many.out, two.out);
}
