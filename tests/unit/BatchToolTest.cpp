// The input file reader and the batch tool's command line.

#include "TestSupport.h"
#include "flows/InputFile.h"
#include "flows/InputRuns.h"
#include "flows/TableExport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#include <locale.h>

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

TEST(InputFile, WrittenInputsReadBackToTheSameTextsAndChoices)
{
    using namespace prurez;
    SectionTexts section;
    section.material = 1;
    applyMaterialChoice(section);
    section.shape = 1;
    section.fcp = "40,5";
    section.ec1OrA = "0,4";  // a of fibre concrete
    section.b = "0,3";
    section.fy = "ignored; kept";
    section.N = "line\nend";
    section.kappaStep = "0,001";
    section.outputFile = "*.*";
    section.exactEquilibrium = true;
    const std::string written = writeSectionInput(section, ',');
    EXPECT_EQ(written.rfind("# ", 0), 0u) << written;
    EXPECT_NE(written.find("prurez-batch section SOUBOR --decimal ,"), std::string::npos) << written;
    EXPECT_NE(written.find("\na = 0,4\n"), std::string::npos) << written;
    EXPECT_NE(written.find("\nexact_equilibrium = 1\n"), std::string::npos) << written;
    EXPECT_EQ(written.find("file ="), std::string::npos) << "a mask is no output file";
    SectionTexts read;
    readSectionInput(parse(written), read);
    EXPECT_EQ(read.material, 1);
    EXPECT_EQ(read.diagram, 0);
    EXPECT_EQ(read.shape, 1);
    EXPECT_EQ(read.N, "line end");
    EXPECT_TRUE(read.exactEquilibrium);
    section.N = "line end";
    EXPECT_EQ(writeSectionInput(read, ','), writeSectionInput(section, ','));
    section.material = 0;
    section.outputFile = "krivka.txt";
    EXPECT_NE(writeSectionInput(section, '.').find("\nec1 = 0,4\n"), std::string::npos);
    EXPECT_NE(writeSectionInput(section, '.').find("\nfile = krivka.txt\n"), std::string::npos);

    InverseInput inverse;
    inverse.points = {{"1,5", "0,0002"}, {"3", "0,001"}};
    inverse.test = {"30000", "0,15", "0,15"};
    inverse.combinations.E = {"30000", "40000"};
    inverse.combinations.intermediateCount = "2";
    inverse.height = "0,15";
    inverse.exactEquilibrium = true;
    const std::string inverseText = writeInverseInput(inverse, ',');
    EXPECT_NE(inverseText.find("\npoint = 1,5 ; 0,0002\npoint = 3 ; 0,001\n"), std::string::npos) << inverseText;
    EXPECT_EQ(writeInverseInput(readInverseInput(parse(inverseText)), ','), inverseText);
    inverse.testFile = "/data/beam.txt";
    const InverseInput fromFile = readInverseInput(parse(writeInverseInput(inverse, ',')));
    EXPECT_EQ(fromFile.testFile, "/data/beam.txt");
    EXPECT_TRUE(fromFile.exactEquilibrium);
    EXPECT_TRUE(fromFile.points.empty());
}

// Files from other systems and editors read alike; a file the program saves always
// opens again; many point lines are read in one pass.
TEST(InputFile, EveryLineEndAndAByteOrderMarkReadAlikeAndASavedFileAlwaysOpens)
{
    using namespace prurez;
    const InputFile input = parse("\xEF\xBB\xBF# --decimal .\rfcp = 30\rE = 1\r\nfct = 2\n\nb = 3");
    EXPECT_EQ(input.decimalSeparator(), '.');
    EXPECT_EQ(input.value("fcp"), "30");
    EXPECT_EQ(input.value("E"), "1");
    EXPECT_EQ(input.line("fct"), 4);
    EXPECT_EQ(input.line("b"), 6);
    EXPECT_EQ(parse("\xEF\xBB\xBF" "fcp = 30\n").value("fcp"), "30");

    InverseInput inverse;
    inverse.points = {{"1", "0,001"}, {"2;5", "0,002"}};
    EXPECT_EQ(failureOf([&] { writeInverseInput(inverse, ','); }),
              "Bod zkoušky 2 nelze uložit: síla ani průhyb nesmí obsahovat znak „;“.");
    inverse.points.pop_back();
    inverse.test.E = std::string(maximumInputLineLength, '1');
    EXPECT_EQ(failureOf([&] { writeInverseInput(inverse, ','); }),
              "Hodnotu „E_test“ nelze uložit: je delší, než soubor zadání dovoluje (65536 znaků na řádek).");

    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "point = " + std::to_string(i) + " ; 0,001\n";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(readInverseInput(parse(many)).points.back().force, "99999");
    try {
        readInverseInput(parse(many + "point = 1\n"));
        ADD_FAILURE() << "a point without ';' was read";
    } catch (const InputFileError& error) {
        EXPECT_EQ(error.detail().line, 100001);
    }
    // As many keys, each given once, listed with their values (as Python's read_input
    // lists them).
    std::string keys;
    for (int i = 0; i < 100000; ++i)
        keys += "k" + std::to_string(i) + " = " + std::to_string(i) + "\n";
    const InputFile distinct = parse(keys);
    size_t listed = 0;
    for (const std::string& key : distinct.keys())
        listed += distinct.values(key).size();
    EXPECT_EQ(listed, 100000u);
    EXPECT_EQ(distinct.keys()[70000], "k70000");
    EXPECT_EQ(distinct.line("k99999"), 100000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(InputFile, TheWindowsMessageNamesTheLineInCzechTheBatchToolsStaysEnglish)
{
    using namespace prurez;
    auto failure = [](const std::string& text, bool section) {
        try {
            const InputFile input = parse(text);
            SectionTexts texts;
            if (section)
                readSectionInput(input, texts);
            else
                readInverseInput(input);
        } catch (const InputFileError& error) {
            return std::make_pair(std::string(error.what()), inputFileMessage(error));
        }
        return std::make_pair(std::string(), std::string());
    };
    EXPECT_EQ(failure("# x\nfcp = 30\nfpc = 31\n", true),
              std::make_pair(std::string("line 3: unknown key 'fpc'"),
                             std::string("Chyba v zadání na řádku 3: neznámý název hodnoty „fpc“.")));
    EXPECT_EQ(failure("fcp = 30\n\nfcp 31\n", true).second,
              "Chyba v zadání na řádku 3: chybí znak '=' mezi názvem a hodnotou („fcp 31“).");
    EXPECT_EQ(failure("fcp = 30\nmaterial = 5\n", true),
              std::make_pair(std::string("key 'material': item index 5 does not exist (0 to 2)"),
                             std::string("Chyba v zadání na řádku 2: volba „material“ nemá položku 5 (jen 0 až 2).")));
    EXPECT_EQ(failure("fcp = 30\nfcp = 31\n", true).second,
              "Chyba v zadání na řádku 2: hodnota „fcp“ je zadána podruhé (poprvé na řádku 1).");
    EXPECT_EQ(failure("point = 1;2\npoint = 3\n", false).second,
              "Chyba v zadání na řádku 2: bod zkoušky se zadává jako „síla ; průhyb“, ne „3“.");
}

// The separator of the environment's locale is found without switching the process's
// locale, which every other thread reads meanwhile (a library's caller, Python's).
TEST(InputRuns, TheSystemsSeparatorLeavesTheProcesssLocaleAsItIs)
{
    const char* const given = std::getenv("LC_ALL");
    const std::string saved = given != nullptr ? given : "";
    auto restore = [&] {
        if (given != nullptr)
            setenv("LC_ALL", saved.c_str(), 1);
        else
            unsetenv("LC_ALL");
    };
    setenv("LC_ALL", "cs_CZ.UTF-8", 1);
    const locale_t czech = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
    if (czech == static_cast<locale_t>(nullptr)) {
        restore();
        GTEST_SKIP() << "the Czech locale is not installed";
    }
    freelocale(czech);
    const char processPoint = std::localeconv()->decimal_point[0];
    std::atomic<bool> watching{false};
    std::atomic<bool> stop{false};
    std::atomic<int> switched{0};
    std::thread watcher([&] {
        watching = true;
        while (!stop)
            if (std::localeconv()->decimal_point[0] != processPoint)
                ++switched;
    });
    while (!watching)
        std::this_thread::yield();
    for (int i = 0; i < 2000; ++i)
        EXPECT_EQ(prurez::systemDecimalSeparator(), ',');
    stop = true;
    watcher.join();
    restore();
    EXPECT_EQ(switched.load(), 0);
    EXPECT_EQ(std::localeconv()->decimal_point[0], processPoint);
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
