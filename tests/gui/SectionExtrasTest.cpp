// What the section windows show beyond the working diagram: the N–M interaction diagram
// and the stresses across the depth at a row.

#include "GuiTest.h"

#include "ui/Form6.h"
#include "ui/Form7.h"
#include "ui/InteractionWindow.h"
#include "ui/Windows.h"
#include "ui/widgets/Handlers.h"

#include <QAbstractSeries>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QProcess>
#include <QTabWidget>
#include <QValueAxis>

#include <algorithm>
#include <sstream>

namespace {

using guitest::click;
using guitest::find;

// prurez-batch's standard output with the locale's decimal separator.
std::string batchOutput(const QStringList& arguments)
{
    QProcess batch;
    batch.start(PRUREZ_BATCH_EXE, arguments);
    batch.waitForFinished(60000);
    std::string out = batch.readAllStandardOutput().toStdString();
    std::replace(out.begin(), out.end(), ',', prurez::localeDecimalSeparator());
    return out;
}

QStringList seriesNames(QChart* chart)
{
    QStringList names;
    for (QAbstractSeries* series : chart->series())
        names << series->name();
    return names;
}

}  // namespace

// The example beam (unequal bars): both branches in the window's table, the same forces
// and moments as prurez-batch interaction prints, and both on the chart.
TEST(SectionExtras, TheInteractionWindowShowsBothBranchesAsTheBatchToolPrintsThem)
{
    guitest::clearFailures();
    prurez::Form6* form = prurez::windows().form6;
    ASSERT_TRUE(prurez::guarded([&] { form->openInput(PRUREZ_EXAMPLES_DIR "/reinforced-beam.txt"); }));
    prurez::InteractionWindow* window = prurez::windows().interaction;
    guitest::type(window, "PointsEdit", "9");
    click(form, "InteractionButton");
    ASSERT_TRUE(guitest::failures().empty()) << guitest::failures().front();
    EXPECT_TRUE(window->isVisible());

    const prurez::GridTable& table = window->table();
    ASSERT_EQ(table.rowCount(), 1 + 9 + 1 + 9);
    EXPECT_EQ(table.cell(0, 0), "N [kN]");
    EXPECT_EQ(table.cell(3, 1), "únosnost v tlaku");
    EXPECT_EQ(table.cell(3, 9), "únosnost v tahu");
    EXPECT_EQ(table.cell(0, 10), "Záporný ohyb");
    std::istringstream printed(batchOutput(
        {"interaction", PRUREZ_EXAMPLES_DIR "/reinforced-beam.txt", "--decimal", ",", "--points", "9"}));
    std::string line;
    std::getline(printed, line);  // the header
    for (int row = 1; row < table.rowCount() && std::getline(printed, line); ++row) {
        if (row == 10) {
            EXPECT_EQ(line, "# negative bending");
            continue;
        }
        EXPECT_EQ(line.substr(0, line.rfind('\t')),
                  table.cell(0, row) + '\t' + table.cell(1, row) + '\t' + table.cell(2, row));
    }
    EXPECT_EQ(seriesNames(window->chart()), QStringList({"kladný ohyb", "záporný ohyb"}));
    // Every point inside the axes, compression (N below 0) upwards.
    auto* across = qobject_cast<QValueAxis*>(window->chart()->axes(Qt::Horizontal).value(0));
    auto* upwards = qobject_cast<QValueAxis*>(window->chart()->axes(Qt::Vertical).value(0));
    ASSERT_TRUE(across != nullptr && upwards != nullptr);
    EXPECT_TRUE(upwards->isReverse());
    for (const auto* branch : {&window->diagram().positive, &window->diagram().negative})
        for (const prurez::InteractionPoint& point : *branch) {
            const double M = static_cast<double>(point.moment * 1000.0L);
            const double N = static_cast<double>(point.N * 1000.0L);
            EXPECT_TRUE(!point.hasMoment || (M > across->min() && M < across->max())) << M;
            EXPECT_TRUE(!point.hasMoment || (N > upwards->min() && N < upwards->max())) << N;
        }

    // Too few forces: refused in Czech, the diagram shown stays.
    guitest::type(window, "PointsEdit", "1");
    click(window, "ComputeButton");
    ASSERT_EQ(guitest::failures().size(), 1u);
    EXPECT_EQ(guitest::failures()[0], "Počet sil interakčního diagramu musí být celé číslo od 2 do 1001.");
    EXPECT_EQ(window->table().rowCount(), 20);
    guitest::type(window, "PointsEdit", "41");
    guitest::clearFailures();
    window->hide();
}

// The page "Průběh napětí a přetvoření" shows the row selected in the table, the last
// computed one when none with values is.
TEST(SectionExtras, TheStressPageShowsTheSelectedRowOrTheLastComputedOne)
{
    guitest::clearFailures();
    prurez::Form6* form = prurez::windows().form6;
    ASSERT_TRUE(prurez::guarded([&] { form->openInput(PRUREZ_EXAMPLES_DIR "/reinforced-beam.txt"); }));
    click(form, "BitBtn1");
    ASSERT_TRUE(guitest::failures().empty()) << guitest::failures().front();
    prurez::Form7* results = prurez::windows().form7;
    auto* pages = find<QTabWidget>(results, "PageControl1");
    auto* grid = find<prurez::GridView>(results, "StringGrid1");
    auto* label = find<QLabel>(results, "ProfileLabel");
    const int rows = results->table().rowCount();

    grid->selectCell(0, 0);  // the header: no values
    pages->setCurrentIndex(2);
    EXPECT_TRUE(label->text().startsWith(QString::fromUtf8("Řádek ") + QString::number(rows - 2) + " ")) << label->text().toStdString();
    pages->setCurrentIndex(0);
    grid->selectCell(1, 5);
    pages->setCurrentIndex(2);
    EXPECT_TRUE(label->text().startsWith(QString::fromUtf8("Řádek 5 tabulky: křivost ") +
                                         QString::fromStdString(results->table().cell(0, 5))))
        << label->text().toStdString();
    EXPECT_TRUE(label->text().contains(QString::fromUtf8("Výztuž u horního okraje: σ = ")));
    for (const char* name : {"StrainChart", "StressChart"}) {
        auto* view = find<QChartView>(results, name);
        EXPECT_TRUE(seriesNames(view->chart()).contains(QString::fromUtf8("neutrální osa"))) << name;
    }
    EXPECT_TRUE(guitest::failures().empty());
    pages->setCurrentIndex(0);
    results->hide();
}
