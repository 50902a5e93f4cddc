// A test series in the windows: its files listed on the input window, fitted beside
// the windows, its tables as prurez-batch prints them, its chart, a failure naming its
// specimen, and the chosen values handed over to the section analysis.

#include "GuiTest.h"

#include "flows/InputFile.h"
#include "ui/Form2.h"
#include "ui/Form6.h"
#include "ui/SeriesWindow.h"
#include "ui/Windows.h"
#include "ui/widgets/Charts.h"
#include "ui/widgets/Handlers.h"

#include "../unit/TestSupport.h"

#include <QCheckBox>
#include <QChart>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include <sstream>

using namespace guitest;

namespace {

const QString seriesFolder = PRUREZ_EXAMPLES_DIR "/series";

QList<QLineSeries*> seriesCurves(QWidget* window)
{
    QList<QLineSeries*> result;
    for (QAbstractSeries* series : find<QChartView>(window, "SeriesChart")->chart()->series())
        result << qobject_cast<QLineSeries*>(series);
    return result;
}

// The rows of a grid from `first` on, cells joined by TAB, as the batch tool prints them.
std::vector<std::string> rowsOf(QWidget* window, const char* name, int first)
{
    std::vector<std::string> rows;
    const prurez::TextTable& table = grid(window, name);
    for (int row = first; row < table.rowCount(); ++row) {
        std::string line;
        for (int column = 0; column < table.columnCount(); ++column)
            line += (column == 0 ? "" : "\t") + table.cell(column, row);
        rows.push_back(line);
    }
    return rows;
}

std::vector<std::string> batchBlock(const std::string& out, const std::string& name)
{
    std::vector<std::string> lines;
    std::stringstream stream(out.substr(out.find("# " + name + "\n") + name.size() + 3));
    std::string line;
    while (std::getline(stream, line) && line.rfind("# ", 0) != 0)
        lines.push_back(line);
    return lines;
}

}  // namespace

TEST(SeriesRoad, TheFilesOfASeriesAreFittedShownChartedAndHandedOver)
{
    clearFailures();
    const QString previous = QDir::currentPath();
    prurez::Form2* form2 = prurez::windows().form2;
    prurez::SeriesWindow* results = prurez::windows().series;
    form2->show();
    form2->openInput(seriesFolder + "/series.input");
    auto* list = find<QListWidget>(form2, "SeriesList");
    ASSERT_EQ(list->count(), 5);
    EXPECT_EQ(list->item(0)->text(), "beam-1.txt");
    EXPECT_TRUE(find<QPushButton>(form2, "SeriesButton")->isEnabled());
    // A file taken out and the one chosen in the file list put back.
    list->item(4)->setSelected(true);
    click(form2, "RemoveSpecimenButton");
    EXPECT_EQ(list->count(), 4);
    type(form2, "Edit20", "beam-5.txt");
    click(form2, "AddSpecimenButton");
    click(form2, "AddSpecimenButton");  // once only
    ASSERT_EQ(list->count(), 5);
    EXPECT_EQ(list->item(4)->toolTip(), QDir(seriesFolder).absoluteFilePath("beam-5.txt"));

    // Saved, the series runs in prurez-batch and opens again.
    const QString saved = QDir::temp().filePath("prurez-saved-series.input");
    form2->saveInput(saved);
    const std::string savedText = fileText(saved.toStdString());
    EXPECT_NE(savedText.find("prurez-batch series"), std::string::npos);
    EXPECT_NE(savedText.find("test_file = " + list->item(4)->toolTip().toStdString() + "\n"), std::string::npos);
    list->clear();
    form2->openInput(saved);
    QFile::remove(saved);
    ASSERT_EQ(list->count(), 5);

    click(form2, "SeriesButton");
    ASSERT_TRUE(failures().empty()) << failures().front();
    EXPECT_TRUE(results->isVisible());
    EXPECT_FALSE(form2->isVisible());
    // The tables as prurez-batch prints them for the same input.
    // (The input with the numbers as the windows' locale writes them.)
    const char separator = prurez::localeDecimalSeparator();
    std::istringstream text(fileText(seriesFolder.toStdString() + "/series.input"));
    const std::string input = prurez::writeSeriesInput(
        prurez::readSeriesInput(prurez::InputFile::parse(text).withDecimalSeparator(separator)), separator);
    const BatchRun batch = runBatch(std::string("series - --decimal ") + separator, input, seriesFolder.toStdString());
    ASSERT_EQ(batch.status, 0) << batch.err;
    EXPECT_EQ(rowsOf(results, "SpecimenTable", 1), batchBlock(batch.out, "specimens"));
    EXPECT_EQ(rowsOf(results, "RefinedTable", 1), batchBlock(batch.out, "refined"));
    EXPECT_EQ(rowsOf(results, "StatisticsTable", 0), batchBlock(batch.out, "statistics"));
    const std::vector<std::string> joint = batchBlock(batch.out, "joint");
    EXPECT_EQ(rowsOf(results, "JointTable", 1), std::vector<std::string>{joint[0]});
    EXPECT_EQ(find<QLabel>(results, "JointNotes")->text().toStdString(), joint[1]);
    EXPECT_TRUE(find<QLabel>(results, "StatisticsNotes")->text().contains("kn = " + prurez::toQt(number("2,33").toStdString())));

    // Every test thin in its colour and the joint fit thick; each specimen's own fit on request.
    QList<QLineSeries*> curves = seriesCurves(results);
    ASSERT_EQ(curves.size(), 6);
    EXPECT_EQ(curves[0]->pen().width(), 1);
    EXPECT_NE(curves[0]->pen().color(), curves[1]->pen().color());
    EXPECT_EQ(curves[5]->pen().width(), 4);
    auto* chart = find<prurez::ChartView>(results, "SeriesChart");
    ASSERT_EQ(chart->shownLegend().size(), 6);
    EXPECT_EQ(chart->shownLegend()[1], "----------   beam-2.txt");
    find<QCheckBox>(results, "FittedCurvesBox")->setChecked(true);
    curves = seriesCurves(results);
    ASSERT_EQ(curves.size(), 11);
    EXPECT_EQ(curves[6]->pen().style(), Qt::DashLine);
    EXPECT_EQ(chart->shownLegend().size(), 7);
    find<QCheckBox>(results, "FittedCurvesBox")->setChecked(false);

    // A file that cannot be read: the message names it, the series stays as it was and
    // the input window with it.
    click(results, "BackButton");
    EXPECT_TRUE(form2->isVisible());
    const QString gone = QDir::temp().filePath("prurez-gone-specimen.txt");
    QFile::copy(seriesFolder + "/beam-1.txt", gone);
    type(form2, "Edit20", gone);
    click(form2, "AddSpecimenButton");
    QFile::remove(gone);
    click(form2, "SeriesButton");
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_EQ(failures()[0], "Zkouška „prurez-gone-specimen.txt“: File not found");
    EXPECT_FALSE(results->isVisible());
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(grid(results, "SpecimenTable").rowCount(), 6);
    clearFailures();

    // A specimen's values go on into the section analysis.
    results->show();
    find<QComboBox>(results, "CarriedFit")->setCurrentIndex(2);
    click(results, "ContinueButton");
    prurez::Form6* form6 = prurez::windows().form6;
    EXPECT_TRUE(form6->isVisible());
    EXPECT_EQ(find<QLineEdit>(form6, "Edit3")->text().toStdString(), grid(results, "RefinedTable").cell(1, 2));
    EXPECT_EQ(find<QLineEdit>(form6, "Edit2")->text().toStdString(), grid(results, "RefinedTable").cell(3, 2));

    form6->hide();
    for (const char* group : {"RadioGroup1", "RadioGroup3", "RadioGroup5"})
        find<prurez::RadioGroup>(form6, group)->setEnabled(true);
    list->selectAll();
    click(form2, "RemoveSpecimenButton");
    click(form2, "RadioButton1");
    form2->hide();
    QDir::setCurrent(previous);
    clearFailures();
}
