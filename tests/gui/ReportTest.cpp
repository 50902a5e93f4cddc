// The PDF reports: what a reader finds in them (their text as pdftotext reads it), a
// long table thinned out and saying so, and `prurez --report` from a shell.

#include "GuiTest.h"

#include "common/NumberText.h"
#include "flows/InputFile.h"
#include "flows/SectionFlow.h"
#include "ui/Report.h"
#include "ui/widgets/Handlers.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

// The text of a PDF file as pdftotext reads it (layout kept), "" when it cannot.
QString pdfText(const QString& fileName)
{
    QProcess reader;
    reader.start("pdftotext", {"-layout", fileName, "-"});
    reader.waitForFinished(30000);
    return QString::fromUtf8(reader.readAllStandardOutput());
}

struct ReportRun {
    int status = -1;
    QString errors;
};

ReportRun report(const QStringList& arguments)
{
    QProcess program;
    program.start(PRUREZ_EXE, QStringList{"--report"} + arguments);
    program.waitForFinished(120000);
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardError())};
}

prurez::SectionTexts exampleTexts(const char* name)
{
    std::ifstream file(std::string(PRUREZ_EXAMPLES_DIR) + "/" + name);
    prurez::SectionTexts texts;
    prurez::readSectionInput(prurez::InputFile::parse(file), texts);
    return texts;
}

}  // namespace

// The section report of the example beam: its inputs with units, how it ended, the
// charts' legends, the table, the date and the version.
TEST(Report, TheSectionReportHoldsTheInputsTheEndTheChartsAndTheTable)
{
    QTemporaryDir directory;
    const QString name = directory.filePath("zprava.pdf");
    const ReportRun run = report({PRUREZ_EXAMPLES_DIR "/reinforced-beam.txt", name});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    const QString text = pdfText(name);
    for (const char* expected :
         {"Pracovní diagram průřezu", "Zadání", "Železobeton", "Parabolicko - rektangulární", "Ocel: mez kluzu fy",
          "Přírůstek křivosti", "Konec výpočtu", "Prvek roztržen při křivosti 0,0270000012824312 m-1.",
          "moment – křivost", "výztuž horní", "neutrální osa", "Tabulka vypočtených hodnot", "Výztuž sigh",
          "Prvek roztržen", "prurez 1.0"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_TRUE(text.contains(QDate::currentDate().toString("d. M. yyyy")));
    EXPECT_FALSE(text.contains(QString::fromUtf8("každý")));  // 28 rows: all of them

    // The table of a run with thousands of rows: every k-th row, the peak and the last,
    // said in the report.
    prurez::SectionTexts texts = exampleTexts("plain-bilinear.txt");
    texts.kappaStep = "0,0000006";
    prurez::GridTable table = prurez::initialResultsTable();
    prurez::SectionRunReport run2;
    prurez::runSectionAnalysis(texts, ',', table, run2);
    ASSERT_GT(table.rowCount(), 2 * prurez::reportFullTableRows);  // 651 rows, the peak off every 4th
    int step = 0;
    const std::vector<int> rows = prurez::reportRows(table, 1, ',', step);
    EXPECT_GT(step, 1);
    EXPECT_LE(static_cast<int>(rows.size()), prurez::reportFullTableRows);
    EXPECT_EQ(rows.back(), table.rowCount() - 1);
    int peak = 1;
    for (int row = 1; row + 1 < table.rowCount(); ++row)
        if (prurez::parseNumber(table.cell(1, row), ',') > prurez::parseNumber(table.cell(1, peak), ','))
            peak = row;
    EXPECT_NE(std::find(rows.begin(), rows.end(), peak), rows.end());
    const QString longName = directory.filePath("dlouha.pdf");
    ASSERT_TRUE(prurez::guarded([&] { prurez::writeSectionReport(longName, table, run2, ','); }));
    EXPECT_TRUE(pdfText(longName).contains(QString::fromUtf8("uveden je každý ") + QString::number(step) + "."));
}

// The inverse analysis's report from a shell, and what --report refuses.
TEST(Report, TheInverseReportAndWhatTheCommandRefuses)
{
    QTemporaryDir directory;
    const QString name = directory.filePath("inverse.pdf");
    const ReportRun run = report({PRUREZ_EXAMPLES_DIR "/inverse.input", name});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    const QString text = pdfText(name);
    for (const char* expected : {"Inversní analýza drátkobetonu", "soubor beam-150.txt, 10 bodů",
                                 "Nejvýstižnější kombinace číslo", "zkouška", "nejvýstižnější kombinace",
                                 "Moment a křivost ze zkoušky"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }

    EXPECT_EQ(report({name}).status, 2);                                    // no OUTPUT
    EXPECT_EQ(report({PRUREZ_EXAMPLES_DIR "/beam-150.txt", name}).status, 2);  // not an input
    QFile example(PRUREZ_EXAMPLES_DIR "/plain-bilinear.txt");
    ASSERT_TRUE(example.open(QIODevice::ReadOnly));
    QFile bad(directory.filePath("spatne.txt"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(example.readAll().replace("fcp = 30", "fcp = x"));
    bad.close();
    const ReportRun failed = report({bad.fileName(), directory.filePath("nic.pdf")});
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(failed.errors.contains("'x' is not a valid floating point value")) << failed.errors.toStdString();
    EXPECT_FALSE(QFile::exists(directory.filePath("nic.pdf")));

    // The report never replaces its own input.
    const QString own = directory.filePath("vlastni.txt");
    ASSERT_TRUE(QFile::copy(PRUREZ_EXAMPLES_DIR "/plain-bilinear.txt", own));
    const ReportRun itself = report({own, own});
    EXPECT_EQ(itself.status, 2);
    EXPECT_TRUE(itself.errors.contains("is the INPUT itself")) << itself.errors.toStdString();
    QFile kept(own);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().startsWith("# Plain concrete")) << "the input kept";
}
