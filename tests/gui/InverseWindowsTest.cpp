// The windows of the inverse analysis driven offscreen: the test input page, the
// test moment–curvature, the combinations and the road to the section input window.
// The tests share the windows and run in the order written.

#include "GuiTest.h"

#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Form4.h"
#include "ui/Form5.h"
#include "ui/Form6.h"
#include "ui/Form7.h"
#include "ui/Windows.h"
#include "ui/widgets/Charts.h"
#include "ui/widgets/FileListControls.h"
#include "ui/widgets/Handlers.h"
#include "ui/widgets/UpDown.h"

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTemporaryDir>
#include <QToolButton>

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>

using namespace guitest;

namespace {

prurez::Form2* form2() { return prurez::windows().form2; }
prurez::Form3* form3() { return prurez::windows().form3; }
prurez::Form4* form4() { return prurez::windows().form4; }

std::string numberText(const char* text) { return number(text).toStdString(); }

// Shown on page 1 when that page is turned to.
bool shownOnTestPage(const char* name)
{
    QWidget* control = form2()->findChild<QWidget*>(name);
    return control != nullptr && control->isVisibleTo(form2()->findChild<QWidget*>("TabSheet1"));
}

bool labelShown(QWidget* window, const char* text)
{
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->text() == QString::fromUtf8(text))
            return !label->isHidden();
    ADD_FAILURE() << "no label " << text;
    return false;
}

void arrow(const char* upDown, bool up)
{
    auto* spinner = find<prurez::UpDown>(form2(), upDown);
    (up ? spinner->upButton() : spinner->downButton())->click();
}

// Turns to a page as a user would; a page already in front is left and taken again,
// so that the page change always happens.
void turnToPage(QWidget* window, int page)
{
    auto* pages = find<QTabWidget>(window, "PageControl1");
    if (pages->currentIndex() == page)
        pages->setCurrentIndex(page == 0 ? 1 : 0);
    pages->setCurrentIndex(page);
}

QList<QLineSeries*> curves(QWidget* window)
{
    QList<QLineSeries*> result;
    for (QAbstractSeries* series : find<QChartView>(window, "Chart1")->chart()->series())
        result << qobject_cast<QLineSeries*>(series);
    return result;
}

// Page 1 typed by hand: E, a, s and the points (force, deflection) as texts.
void typeTestPoints(const std::vector<std::pair<const char*, const char*>>& points)
{
    type(form2(), "Edit2", "30000");
    type(form2(), "Edit3", number("0,15"));
    type(form2(), "Edit4", number("0,15"));
    click(form2(), "RadioButton1");
    type(form2(), "Edit1", QString::number(points.size() - 1));
    arrow("UpDown2", true);
    prurez::GridTable& table = form2()->testPoints();
    for (std::size_t r = 0; r < points.size(); ++r) {
        table.setCell(0, static_cast<int>(r) + 1, numberText(points[r].first));
        table.setCell(1, static_cast<int>(r) + 1, numberText(points[r].second));
    }
}

void typeRanges(const char* n)
{
    const std::pair<const char*, const char*> fields[] = {
        {"Edit18", "0,15"}, {"Edit19", "0,15"}, {"Edit5", "40"},   {"Edit6", "0,35"},   {"Edit7", "25000"},
        {"Edit12", "35000"}, {"Edit8", "2,5"},  {"Edit13", "4,5"}, {"Edit9", "2"},     {"Edit14", "4"},
        {"Edit10", "0,2"},  {"Edit15", "0,6"},  {"Edit11", "0,2"}, {"Edit16", "0,6"}};
    for (const auto& [name, text] : fields)
        type(form2(), name, number(text));
    type(form2(), "Edit17", n);
}

// The bending test typed in, its moment–curvature computed, the ranges entered with n
// intermediate values and the combinations generated (Form3 shown).
void generateCombinationsFor(const std::vector<std::pair<const char*, const char*>>& points, const char* n)
{
    form2()->show();
    typeTestPoints(points);
    turnToPage(form2(), 1);
    click(form2(), "Button2");
    turnToPage(form2(), 2);
    typeRanges(n);
    click(form2(), "Button3");
}

}  // namespace

TEST(InverseInput, OpensOnTheRangePageWithOnlyTheScalarsModesAndPictureOnPageOne)
{
    auto* pages = find<QTabWidget>(form2(), "PageControl1");
    EXPECT_EQ(pages->currentIndex(), 2);
    EXPECT_EQ(pages->tabText(0).toStdString(), "Zadání hodnot ze zkoušek na trámcích  ");
    EXPECT_EQ(pages->tabText(1).toStdString(), "Výpočet křivosti a momentu ");
    EXPECT_EQ(pages->tabText(2).toStdString(), "Zadání parametrů inversní analýzy     ");
    for (const char* name : {"Edit2", "Edit3", "Edit4", "RadioButton1", "RadioButton2", "Image1"})
        EXPECT_TRUE(shown(form2(), name)) << name;
    for (const char* name : {"Edit1", "UpDown2", "StringGrid1", "Edit20", "DriveComboBox1", "DirectoryListBox1",
                             "FileListBox1", "FilterComboBox1"})
        EXPECT_FALSE(shownOnTestPage(name)) << name;
    EXPECT_FALSE(find<QRadioButton>(form2(), "RadioButton1")->isChecked());
    EXPECT_FALSE(find<QRadioButton>(form2(), "RadioButton2")->isChecked());
    EXPECT_EQ(find<QLineEdit>(form2(), "Edit1")->text(), "0");
    EXPECT_EQ(find<QLineEdit>(form2(), "Edit20")->text(), "*.*");
    EXPECT_EQ(find<QLineEdit>(form2(), "Edit17")->text(), "0");
    // Image2 … Image4 wait for a diagram choice.
    for (const char* name : {"Image2", "Image3", "Image4"})
        EXPECT_FALSE(shown(form2(), name)) << name;

    // Keyboard order of the range page, from the height to the count; the diagram
    // choice is reached through its items.
    QStringList order;
    QWidget* control = find<QLineEdit>(form2(), "Edit18");
    while (control != nullptr && order.size() < 30) {
        if ((control->focusPolicy() & Qt::TabFocus) != 0)
            order << (control->parentWidget()->objectName() == "RadioGroup1" ? "RadioGroup1." : "") +
                         control->objectName();
        if (control->objectName() == "Edit17")
            break;
        control = control->nextInFocusChain();
    }
    EXPECT_EQ(order.join(' ').toStdString(),
              "Edit18 Edit19 Edit5 Edit6 Edit7 Edit12 Edit8 Edit13 Edit9 Edit14 Edit10 Edit15 Edit11 Edit16 UpDown1 "
              "Button3 RadioGroup1.item0 RadioGroup1.item1 RadioGroup1.item2 Edit17");
}

TEST(InverseInput, EntryModesSwitchTheCountAndTheFileControlsButTheFileModeAloneHidesTheGrid)
{
    clearFailures();
    click(form2(), "RadioButton1");
    EXPECT_TRUE(shown(form2(), "Edit1"));
    EXPECT_TRUE(shown(form2(), "UpDown2"));
    EXPECT_TRUE(labelShown(form2(), "Počet posuzovaných hodnot diagramu "));
    EXPECT_FALSE(labelShown(form2(), "Vstupní soubor"));
    EXPECT_FALSE(shown(form2(), "Edit20"));

    arrow("UpDown2", true);  // shows the grid
    EXPECT_TRUE(shown(form2(), "StringGrid1"));
    click(form2(), "RadioButton2");
    EXPECT_FALSE(shown(form2(), "StringGrid1"));
    EXPECT_FALSE(labelShown(form2(), "Zadání velikosti sil a průhybů"));
    EXPECT_FALSE(shown(form2(), "Edit1"));
    EXPECT_TRUE(shown(form2(), "Edit20"));
    EXPECT_TRUE(labelShown(form2(), "Název souboru:"));
    EXPECT_TRUE(shownOnTestPage("FileListBox1"));

    // Back to the hand mode: the grid keeps the visibility the file mode gave it.
    click(form2(), "RadioButton1");
    EXPECT_FALSE(shown(form2(), "StringGrid1"));
    EXPECT_FALSE(shownOnTestPage("FileListBox1"));
    EXPECT_TRUE(failures().empty());
}

TEST(InverseInput, TheCountArrowSetsTheRowsAndRefusesACountThatIsNoInteger)
{
    clearFailures();
    click(form2(), "RadioButton1");
    type(form2(), "Edit1", "6");
    arrow("UpDown2", true);
    EXPECT_EQ(find<QLineEdit>(form2(), "Edit1")->text(), "7");
    const prurez::TextTable& points = grid(form2(), "StringGrid1");
    EXPECT_EQ(points.rowCount(), 8);
    EXPECT_EQ(points.cell(0, 0), "  Síla [kN]");
    EXPECT_EQ(points.cell(1, 0), "  Průhyb [m]");

    arrow("UpDown2", true);
    EXPECT_EQ(points.rowCount(), 9);

    // Typing alone changes nothing; no move at the lower limit keeps the typed text.
    type(form2(), "Edit1", "0");
    arrow("UpDown2", false);
    EXPECT_EQ(points.rowCount(), 1);
    type(form2(), "Edit1", number("1,5"));
    EXPECT_EQ(points.rowCount(), 1);
    arrow("UpDown2", false);
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_EQ(failures()[0], "'" + numberText("1,5") + "' is not a valid integer value");
    EXPECT_TRUE(shown(form2(), "StringGrid1"));

    // The arrows stop at 100 without wrapping, and take a typed count beyond the
    // limits as the limit, both alike.
    type(form2(), "Edit1", "100");
    arrow("UpDown2", true);
    EXPECT_EQ(find<QLineEdit>(form2(), "Edit1")->text(), "100");
    EXPECT_EQ(points.rowCount(), 101);
    clearFailures();
    type(form2(), "Edit1", "150");
    arrow("UpDown2", true);
    EXPECT_EQ(find<QLineEdit>(form2(), "Edit1")->text(), "100");
    EXPECT_EQ(points.rowCount(), 101);
    type(form2(), "Edit1", "150");
    arrow("UpDown2", false);
    EXPECT_EQ(find<QLineEdit>(form2(), "Edit1")->text(), "99");
    EXPECT_EQ(points.rowCount(), 100);
    EXPECT_TRUE(failures().empty());
}

TEST(InverseInput, TheGridsAreSizedToTheirRowsUpToSevenAndScrollBeyond)
{
    // The test points: p + 1 rows of 27 pixels and 2 up to 7 points, beyond that a
    // fixed height and room for the scroll bar. The moment–curvature table after the
    // page change: the same for its R = p + 1 rows up to 7 rows.
    clearFailures();
    click(form2(), "RadioButton1");
    auto* points = find<prurez::GridView>(form2(), "StringGrid1");
    auto* diagram = find<prurez::GridView>(form2(), "StringGrid2");
    for (int p : {0, 3, 6, 7, 8, 12}) {
        SCOPED_TRACE(p);
        type(form2(), "Edit1", QString::number(p + 1));
        arrow("UpDown2", false);
        ASSERT_EQ(points->table().rowCount(), p + 1);
        EXPECT_EQ(points->size(), p <= 7 ? QSize(136, 27 * (p + 1) + 2) : QSize(152, 218));
        turnToPage(form2(), 0);
        turnToPage(form2(), 1);
        const int rows = p + 1;
        ASSERT_EQ(diagram->table().rowCount(), rows);
        EXPECT_EQ(diagram->size(), rows <= 7 ? QSize(270, 27 * rows + 2) : QSize(286, 218));
    }
    EXPECT_TRUE(failures().empty());
}

TEST(InverseInput, FileNamesAreReadOnlyWhenTheyNameAFileAndAMissingOneIsReportedOnEnter)
{
    const QString previous = QDir::currentPath();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile file(QDir(folder.path()).filePath("zkouska.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("10 0.001\n20 0.002");
    file.close();
    QDir::setCurrent(folder.path());
    clearFailures();
    click(form2(), "RadioButton2");

    type(form2(), "Edit20", "*.*");
    type(form2(), "Edit20", "zkou");
    type(form2(), "Edit20", "chybi.txt");
    EXPECT_TRUE(failures().empty());
    auto* edit20 = find<QLineEdit>(form2(), "Edit20");
    QTest::keyClick(edit20, Qt::Key_Return);
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_EQ(failures()[0], "File not found");
    clearFailures();
    type(form2(), "Edit20", "*.*");
    QTest::keyClick(edit20, Qt::Key_Return);  // a mask is no file name
    EXPECT_TRUE(failures().empty());
    type(form2(), "Edit20", "");
    EXPECT_TRUE(failures().empty());
    QTest::keyClick(edit20, Qt::Key_Return);  // no name names no file
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_EQ(failures()[0], "File not found");
    clearFailures();

    type(form2(), "Edit20", "zkouska.txt");
    EXPECT_TRUE(failures().empty());
    EXPECT_EQ(find<QLineEdit>(form2(), "Edit1")->text(), "2");
    const prurez::TextTable& points = grid(form2(), "StringGrid1");
    EXPECT_EQ(points.rowCount(), 3);
    EXPECT_EQ(points.cell(0, 2), "20");
    EXPECT_EQ(points.cell(1, 2), numberText("0,002"));
    EXPECT_TRUE(shown(form2(), "StringGrid1"));
    EXPECT_EQ(find<prurez::GridView>(form2(), "StringGrid1")->size(), QSize(136, 83));

    // The file list writes the chosen name into Edit20, which reads it.
    QFile other(QDir(folder.path()).filePath("druha.txt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("5 0.0005");
    other.close();
    auto* list = find<QListWidget>(form2(), "FileListBox1");
    form2()->findChild<prurez::FileListControls*>()->refresh();
    const QList<QListWidgetItem*> named = list->findItems("druha.txt", Qt::MatchContains);
    ASSERT_FALSE(named.isEmpty());
    list->setCurrentItem(named.first());
    EXPECT_EQ(edit20->text(), "druha.txt");
    EXPECT_EQ(find<QLineEdit>(form2(), "Edit1")->text(), "1");
    EXPECT_TRUE(failures().empty());
    QDir::setCurrent(previous);
}

TEST(InverseInput, ThePageChangeCopiesThePointsAndTheButtonComputesTheDiagramAndFixesTheChoice)
{
    clearFailures();
    typeTestPoints({{"10", "0,001"}, {"10", "0,00001"}});
    turnToPage(form2(), 0);
    turnToPage(form2(), 1);
    const prurez::TextTable& diagram = grid(form2(), "StringGrid2");
    EXPECT_EQ(diagram.rowCount(), 3);
    EXPECT_EQ(diagram.cell(0, 0), "   Síla [kN]");
    EXPECT_EQ(diagram.cell(3, 0), "   Moment ");
    EXPECT_EQ(diagram.cell(1, 2), numberText("0,00001"));

    click(form2(), "Button2");
    EXPECT_TRUE(failures().empty()) << failures().front();
    EXPECT_EQ(diagram.cell(2, 1), numberText("0,0700239012345679"));
    EXPECT_EQ(diagram.cell(3, 1), numberText("1,5"));
    EXPECT_EQ(diagram.cell(2, 2), numberText("-0,000376098765432099"));

    // One red curve through the origin, ordered by curvature: the negative point first.
    QList<QLineSeries*> series = curves(form2());
    ASSERT_EQ(series.size(), 1);
    const QList<QPointF> points = series[0]->points();
    ASSERT_EQ(points.size(), 4);
    EXPECT_LT(points[0].x(), 0.0);
    EXPECT_EQ(points[1], QPointF(0, 0));
    EXPECT_EQ(points[2], QPointF(0, 0));
    EXPECT_NEAR(points[3].x(), 0.0700239012345679, 1e-15);
    EXPECT_EQ(series[0]->pen().color(), QColor(255, 0, 0));

    auto* choice = find<prurez::RadioGroup>(form2(), "RadioGroup1");
    EXPECT_EQ(choice->itemIndex(), 0);
    EXPECT_FALSE(choice->isEnabled());
    EXPECT_EQ(find<QLabel>(form2(), "Label12")->text(), "Bilineární pracovní diagram drátkobetonu");
    EXPECT_TRUE(shown(form2(), "Image2"));

    // A second press replaces the curve; new points show beside the old results.
    click(form2(), "Button2");
    EXPECT_EQ(curves(form2()).size(), 1);
    form2()->testPoints().setCell(0, 1, "20");
    turnToPage(form2(), 2);
    EXPECT_EQ(diagram.cell(0, 1), "20");
    EXPECT_EQ(diagram.cell(3, 1), numberText("1,5"));

    // a = 0: the division fails, the chart is left empty.
    type(form2(), "Edit3", "0");
    click(form2(), "Button2");
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_EQ(failures()[0], "Floating point division by zero");
    ASSERT_EQ(curves(form2()).size(), 1);
    EXPECT_TRUE(curves(form2())[0]->points().isEmpty());
    clearFailures();
}

TEST(InverseInput, ABadRangeKeepsTheInputWindowAndTheCombinationsReplaceItInTheTable)
{
    clearFailures();
    form2()->show();
    typeRanges("0");
    type(form2(), "Edit13", "abc");
    click(form2(), "Button3");
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_EQ(failures()[0], "'abc' is not a valid floating point value");
    EXPECT_TRUE(form2()->isVisible());
    EXPECT_FALSE(form3()->isVisible());
    EXPECT_EQ(cell(form3(), "StringGrid1", 0, 0), " kombinace");
    clearFailures();

    typeRanges("1");
    click(form2(), "Button3");
    EXPECT_TRUE(failures().empty()) << failures().front();
    EXPECT_FALSE(form2()->isVisible());
    EXPECT_TRUE(form3()->isVisible());
    const prurez::TextTable& combinations = grid(form3(), "StringGrid1");
    EXPECT_EQ(combinations.rowCount(), 244);
    EXPECT_EQ(find<prurez::GridView>(form3(), "StringGrid1")->model()->rowCount(), 244);
    EXPECT_EQ(combinations.cell(0, 243), "243");
    EXPECT_EQ(combinations.cell(1, 82), "30000");
    EXPECT_EQ(combinations.cell(4, 17), numberText("0,35"));
    EXPECT_FALSE(shown(form3(), "StringGrid2"));
    EXPECT_FALSE(shown(form3(), "ProgressBar1"));
    form3()->hide();
}

// The whole road of an inverse analysis, from typed test points to the section
// input window filled with the best-fitting parameters.
TEST(InverseRoad, FromTestPointsThroughCombinationsAndBestFitToTheSectionInput)
{
    clearFailures();
    form2()->show();
    typeTestPoints({{"5", "0,00001"}, {"10", "0,00002"}, {"14", "0,00004"}, {"15,5", "0,0001"}});
    turnToPage(form2(), 1);
    click(form2(), "Button2");
    turnToPage(form2(), 2);
    typeRanges("0");

    // A missing section height stops the moments before anything changes.
    click(form2(), "Button3");
    type(form2(), "Edit18", "");
    click(form3(), "Button1");
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_TRUE(form3()->isVisible());
    EXPECT_FALSE(form4()->isVisible());
    clearFailures();

    type(form2(), "Edit18", number("0,15"));
    click(form3(), "Button1");
    ASSERT_TRUE(failures().empty()) << failures().front();
    EXPECT_FALSE(form3()->isVisible());
    EXPECT_TRUE(form4()->isVisible());
    EXPECT_FALSE(shown(form3(), "ProgressBar1"));
    EXPECT_EQ(find<QProgressBar>(form3(), "ProgressBar1")->maximum(), 32);
    EXPECT_EQ(find<QTabWidget>(form4(), "PageControl1")->currentIndex(), 0);
    const prurez::TextTable& moments = grid(form4(), "StringGrid1");
    EXPECT_EQ(moments.columnCount(), 9);
    EXPECT_EQ(moments.rowCount(), 33);
    EXPECT_EQ(moments.cell(7, 32), cell(form2(), "StringGrid2", 2, 4));

    // Best fit before the deviations: the labels and the buttons show, nothing is found.
    turnToPage(form4(), 1);
    click(form4(), "Button1");
    EXPECT_EQ(failures().size(), 1u);
    EXPECT_TRUE(shown(form4(), "Label5"));
    EXPECT_TRUE(shown(form4(), "BitBtn3"));
    EXPECT_TRUE(curves(form4()).isEmpty());
    clearFailures();

    turnToPage(form4(), 0);
    click(form4(), "BitBtn2");
    turnToPage(form4(), 1);
    const prurez::TextTable& list = grid(form4(), "StringGrid2");
    EXPECT_EQ(list.rowCount(), 33);
    EXPECT_EQ(list.cell(0, 0), " kombinace");
    EXPECT_EQ(list.cell(1, 5), prurez::windows().form5->deviationTable().cell(5, 5));

    click(form4(), "Button1");
    click(form4(), "Button1");  // a second press shows the same, with one pair of curves
    ASSERT_TRUE(failures().empty()) << failures().front();
    const QString label5 = find<QLabel>(form4(), "Label5")->text();
    ASSERT_TRUE(label5.startsWith("kombinace číslo "));
    const int best = label5.mid(16).toInt();
    ASSERT_GE(best, 1);
    ASSERT_LE(best, 32);
    // The chosen row holds the smallest sum, the lowest row among equals.
    const prurez::TextTable& deviations = prurez::windows().form5->deviationTable();
    const auto sum = [&](int row) {
        return QString::fromStdString(deviations.cell(5, row))
            .replace(QChar(prurez::localeDecimalSeparator()), '.')
            .toDouble();
    };
    for (int row = 1; row <= 32; ++row)
        EXPECT_TRUE(row < best ? sum(row) > sum(best) : sum(row) >= sum(best)) << row;
    const prurez::TextTable& combinations = grid(form3(), "StringGrid1");
    EXPECT_EQ(find<QLabel>(form4(), "Label14")->text().toStdString(), combinations.cell(1, best) + "   [ MPa ]");
    EXPECT_EQ(find<QLabel>(form4(), "Label17")->text().toStdString(), combinations.cell(4, best) + "   [ % ]");
    EXPECT_EQ(find<QLabel>(form4(), "Label20")->text().toStdString(), combinations.cell(7, best));
    QList<QLineSeries*> series = curves(form4());
    ASSERT_EQ(series.size(), 2);
    for (QLineSeries* curve : series) {
        ASSERT_EQ(curve->count(), 5);
        EXPECT_EQ(curve->at(0), QPointF(0, 0));
    }
    EXPECT_EQ(series[0]->pen().color(), QColor(255, 0, 0));
    EXPECT_EQ(series[1]->pen().color(), QColor(0, 0, 255));

    click(form4(), "BitBtn3");
    EXPECT_FALSE(form4()->isVisible());
    auto* form6 = prurez::windows().form6;
    EXPECT_TRUE(form6->isVisible());
    const int columns[] = {2, 3, 1, 4, 5, 6, 7};  // fcp, fct, E, ecpm, ectm, a, b
    const char* fields[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(find<QLineEdit>(form6, fields[i])->text().toStdString(), combinations.cell(columns[i], best))
            << fields[i];
    EXPECT_EQ(find<prurez::RadioGroup>(form6, "RadioGroup1")->itemIndex(), 1);
    EXPECT_FALSE(find<prurez::RadioGroup>(form6, "RadioGroup1")->isEnabled());

    // The section analysis then runs as usual: a fibre-concrete table.
    choose(form6, "RadioGroup2", 0);
    type(form6, "Edit13", number("0,15"));
    type(form6, "Edit17", "0");
    typeCombo(form6, "ComboBox1", number("0,01"));
    click(form6, "BitBtn1");
    ASSERT_TRUE(failures().empty()) << failures().front();
    const prurez::TextTable& section = grid(prurez::windows().form7, "StringGrid1");
    EXPECT_EQ(section.columnCount(), 9);
    EXPECT_EQ(section.cell(2, 0), " Neut. osa");
    EXPECT_EQ(section.cell(0, 1), "0") << "the fibre analysis starts at curvature 0, without a zero row";
    const std::string end = section.cell(5, section.rowCount() - 1) + section.cell(6, section.rowCount() - 1);
    EXPECT_TRUE(end == "bet.roztržen" || end == "bet.rozdrcen") << end;
    prurez::windows().form7->hide();
    form6->hide();

    // "Ukonči výpočet" returns to the main window.
    form4()->show();
    click(form4(), "Button2");
    EXPECT_FALSE(form4()->isVisible());
    EXPECT_TRUE(prurez::windows().form1->isVisible());
    prurez::windows().form1->hide();

    // New moments: the deviations and the best fit of the earlier ones are gone, and
    // nothing of them can be handed over.
    form3()->show();
    click(form3(), "Button1");
    ASSERT_TRUE(form4()->isVisible());
    EXPECT_FALSE(shown(form4(), "Label5"));
    EXPECT_FALSE(shown(form4(), "BitBtn3"));
    EXPECT_TRUE(curves(form4()).isEmpty());
    turnToPage(form4(), 1);
    EXPECT_EQ(grid(form4(), "StringGrid2").cell(0, 5), "5");
    EXPECT_EQ(grid(form4(), "StringGrid2").cell(1, 5), "");
    click(form4(), "BitBtn3");
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_FALSE(form6->isVisible());
    clearFailures();
    form4()->hide();

    // Leave the section input as the other tests find it: the hand-over locks its
    // choices for the rest of a run.
    for (const char* group : {"RadioGroup1", "RadioGroup3", "RadioGroup5"})
        find<prurez::RadioGroup>(form6, group)->setEnabled(true);
    turnToPage(form4(), 0);
}

// The result window left on its best-fit page opens there again after new moments: it
// lists the new combinations without deviations and keeps nothing of the old best fit.
TEST(InverseRoad, NewMomentsShownOnTheBestFitPageListNoOldDeviationsNorTheOldFit)
{
    clearFailures();
    generateCombinationsFor({{"5", "0,00001"}, {"10", "0,00002"}}, "0");
    click(form3(), "Button1");
    click(form4(), "BitBtn2");
    turnToPage(form4(), 1);
    click(form4(), "Button1");
    ASSERT_TRUE(failures().empty()) << failures().front();
    ASSERT_TRUE(find<QLabel>(form4(), "Label5")->text().startsWith("kombinace"));
    click(form4(), "Button2");  // "Ukonči výpočet" on the best-fit page
    ASSERT_FALSE(form4()->isVisible());

    generateCombinationsFor({{"5", "0,00001"}, {"10", "0,00002"}}, "1");
    click(form3(), "Button1");
    ASSERT_TRUE(failures().empty()) << failures().front();
    ASSERT_TRUE(form4()->isVisible());
    EXPECT_EQ(find<QTabWidget>(form4(), "PageControl1")->currentIndex(), 1);
    // What the list shows, without a page change: 243 combinations, no deviation.
    auto* list = find<prurez::GridView>(form4(), "StringGrid2");
    ASSERT_EQ(list->model()->rowCount(), 244);
    EXPECT_EQ(list->model()->index(200, 0).data().toString(), "200");
    EXPECT_EQ(list->model()->index(5, 1).data().toString(), "");
    EXPECT_FALSE(shown(form4(), "Label5"));

    // A search now finds no deviations to compare, and shows nothing of the old fit.
    click(form4(), "Button1");
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_EQ(failures()[0], "'' is not a valid floating point value");
    EXPECT_EQ(find<QLabel>(form4(), "Label5")->text(), "");
    EXPECT_EQ(find<QLabel>(form4(), "Label14")->text(), "");
    EXPECT_TRUE(curves(form4()).isEmpty());
    EXPECT_FALSE(find<QPushButton>(form4(), "RefineButton")->isEnabled());
    clearFailures();
    form4()->hide();
    turnToPage(form4(), 0);
}

TEST(InverseRoad, ACombinationCellThatIsNoNumberKeepsTheTableWindowWithItsProgressBar)
{
    clearFailures();
    generateCombinationsFor({{"5", "0,00001"}, {"10", "0,00002"}}, "0");
    type(form2(), "Edit18", number("0,15"));
    ASSERT_TRUE(failures().empty()) << failures().front();
    ASSERT_TRUE(form3()->isVisible());
    form3()->combinationTable().setCell(1, 2, "x");
    click(form3(), "Button1");
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_EQ(failures()[0], "'x' is not a valid floating point value");
    EXPECT_TRUE(form3()->isVisible());
    EXPECT_FALSE(form4()->isVisible());
    EXPECT_TRUE(shown(form3(), "ProgressBar1"));
    EXPECT_TRUE(find<QPushButton>(form3(), "Button1")->isEnabled());
    form3()->hide();
    clearFailures();
}

TEST(InverseRoad, ABeamDimensionBeyondTheSingleRangeOverflowsBeforeAnyRow)
{
    clearFailures();
    generateCombinationsFor({{"5", "0,00001"}, {"10", "0,00002"}}, "0");
    ASSERT_TRUE(form3()->isVisible());
    const prurez::MomentTable before = form4()->momentTable();
    for (const char* field : {"Edit18", "Edit19"}) {
        type(form2(), "Edit18", number("0,15"));
        type(form2(), "Edit19", number("0,15"));
        type(form2(), field, "1E39");
        click(form3(), "Button1");
        ASSERT_EQ(failures().size(), 1u) << field;
        EXPECT_EQ(failures()[0], "Floating point overflow") << field;
        EXPECT_TRUE(form3()->isVisible());
        EXPECT_FALSE(form4()->isVisible());
        EXPECT_FALSE(shown(form3(), "ProgressBar1"));
        EXPECT_EQ(form4()->momentTable().toTsv(), before.toTsv());
        clearFailures();
    }
    type(form2(), "Edit18", number("0,15"));
    type(form2(), "Edit19", number("0,15"));
    form3()->hide();
}

TEST(InverseRoad, PressingPrerusitOrEscCancelsAndLeavesTheResultWindowUntouched)
{
    clearFailures();
    // 32 768 combinations: a run long enough to be stopped in the middle.
    generateCombinationsFor({{"5", "0,00001"}, {"10", "0,00002"}, {"14", "0,00004"}}, "6");
    click(form3(), "Button1");
    ASSERT_TRUE(failures().empty()) << failures().front();
    ASSERT_TRUE(form4()->isVisible());
    const std::string before = form4()->momentTable().toTsv();
    form4()->hide();
    form3()->show();

    const auto cancelWith = [](std::function<void()> cancel) {
        QTimer::singleShot(0, form3(), std::move(cancel));
        click(form3(), "Button1");
    };
    const std::string cancelled = "Výpočet momentů byl přerušen. Dosavadní výsledky zůstaly beze změny.";
    cancelWith([] {
        EXPECT_TRUE(shown(form3(), "CancelButton"));
        EXPECT_FALSE(find<QPushButton>(form3(), "Button1")->isEnabled()) << "no second start while computing";
        click(form3(), "CancelButton");
    });
    // Said as information, not as a failure.
    EXPECT_TRUE(failures().empty());
    ASSERT_EQ(informations().size(), 1u);
    EXPECT_EQ(informations()[0], cancelled);
    EXPECT_TRUE(form3()->isVisible());
    EXPECT_FALSE(form4()->isVisible());
    EXPECT_EQ(form4()->momentTable().toTsv(), before);
    EXPECT_FALSE(shown(form3(), "CancelButton"));
    EXPECT_TRUE(find<QPushButton>(form3(), "Button1")->isEnabled());

    clearFailures();
    cancelWith([] { QTest::keyClick(form3(), Qt::Key_Escape); });
    ASSERT_EQ(informations().size(), 1u);
    EXPECT_EQ(informations()[0], cancelled);
    EXPECT_EQ(form4()->momentTable().toTsv(), before);

    // A bad section field fails before the table is sized: the earlier table stays.
    clearFailures();
    type(form2(), "Edit19", "");
    click(form3(), "Button1");
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_EQ(failures()[0], "'' is not a valid floating point value");
    EXPECT_EQ(form4()->momentTable().toTsv(), before);
    type(form2(), "Edit19", number("0,15"));
    form3()->hide();
    clearFailures();
}

TEST(InverseRoad, AGridOfAQuarterOfAMillionCombinationsRunsEndToEndInTheWindowsWithin400MiB)
{
    clearFailures();
    form2()->show();
    // The bending test and the ranges of examples/inverse.input, with n = 10.
    typeTestPoints({{"5", "0,00001"}, {"10", "0,00002"}, {"14", "0,00004"}, {"15,5", "0,0001"}, {"14,2", "0,0003"},
                    {"12,8", "0,0006"}, {"11,9", "0,001"}, {"10,6", "0,0015"}, {"9,4", "0,002"}, {"8,3", "0,003"}});
    turnToPage(form2(), 1);
    click(form2(), "Button2");
    turnToPage(form2(), 2);
    typeRanges("10");
    click(form2(), "Button3");
    ASSERT_TRUE(failures().empty()) << failures().front();
    ASSERT_EQ(grid(form3(), "StringGrid1").rowCount(), 248833);

    click(form3(), "Button1");
    ASSERT_TRUE(failures().empty()) << failures().front();
    ASSERT_TRUE(form4()->isVisible());
    EXPECT_EQ(grid(form4(), "StringGrid1").columnCount(), 21);
    click(form4(), "BitBtn2");
    turnToPage(form4(), 1);
    click(form4(), "Button1");
    ASSERT_TRUE(failures().empty()) << failures().front();
    // The fit prurez-batch finds for the same input.
    EXPECT_EQ(find<QLabel>(form4(), "Label5")->text(), QString::fromUtf8("kombinace číslo 236869"));

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("[ memory   ] peak resident set %ld MiB\n", usage.ru_maxrss / 1024);
    EXPECT_LT(usage.ru_maxrss, 400L * 1024L) << "KiB";
    form4()->hide();
}

TEST(InverseRoad, NoSumBelowTenMillionIsSaidInsteadOfShowingEmptyResults)
{
    clearFailures();
    generateCombinationsFor({{"5", "0,00001"}, {"10", "0,00002"}}, "0");
    click(form3(), "Button1");
    click(form4(), "BitBtn2");
    ASSERT_TRUE(failures().empty()) << failures().front();
    // Every summed deviation at 10 000 000 or more.
    prurez::DeviationTable& deviations = prurez::windows().form5->deviationTable();
    for (int row = 1; row < deviations.rowCount(); ++row)
        deviations.setCell(3, row, "10000000");
    turnToPage(form4(), 1);
    click(form4(), "Button1");
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_EQ(failures()[0], "Žádná kombinace nemá součet odchylek menší než 10000000.");
    EXPECT_FALSE(shown(form4(), "Label5"));
    EXPECT_FALSE(shown(form4(), "BitBtn3"));
    EXPECT_TRUE(curves(form4()).isEmpty());
    form4()->hide();
    clearFailures();
}

// The synthetic bending test (examples/synthetic): the best grid combination refined
// beyond the grid, shown beside it, charted as a third curve and handed over.
TEST(InverseRoad, TheBestFitRefinedBeyondTheGridIsShownChartedAndHandedOver)
{
    clearFailures();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(PRUREZ_EXAMPLES_DIR "/synthetic");
    form2()->show();
    type(form2(), "Edit2", "32150");
    type(form2(), "Edit3", number("0,15"));
    type(form2(), "Edit4", number("0,15"));
    click(form2(), "RadioButton2");
    type(form2(), "Edit20", "synthetic-beam.txt");
    turnToPage(form2(), 1);
    click(form2(), "Button2");
    turnToPage(form2(), 2);
    const std::pair<const char*, const char*> ranges[] = {
        {"Edit18", "0,15"}, {"Edit19", "0,15"}, {"Edit5", "40"},   {"Edit6", "0,35"},   {"Edit7", "25000"},
        {"Edit12", "37000"}, {"Edit8", "2,5"},  {"Edit13", "4,5"}, {"Edit9", "2"},     {"Edit14", "4"},
        {"Edit10", "0,2"},  {"Edit15", "0,6"},  {"Edit11", "0,1"}, {"Edit16", "0,5"}};
    for (const auto& [name, text] : ranges)
        type(form2(), name, number(text));
    type(form2(), "Edit17", "2");
    click(form2(), "Button3");
    click(form3(), "Button1");
    EXPECT_FALSE(find<QPushButton>(form4(), "RefineButton")->isEnabled()) << "no best fit yet";
    click(form4(), "BitBtn2");
    turnToPage(form4(), 1);
    click(form4(), "Button1");
    ASSERT_TRUE(failures().empty()) << failures().front();
    ASSERT_TRUE(find<QPushButton>(form4(), "RefineButton")->isEnabled());
    EXPECT_EQ(curves(form4()).size(), 2);
    EXPECT_FALSE(shown(form4(), "Refined1"));

    click(form4(), "RefineButton");
    ASSERT_TRUE(failures().empty()) << failures().front();
    const auto value = [](const char* name) {
        return find<QLabel>(form4(), name)->text().replace(QChar(prurez::localeDecimalSeparator()), '.').toDouble();
    };
    EXPECT_NEAR(value("Refined1"), 32150, 32150 * 0.02);  // E
    EXPECT_EQ(find<QLabel>(form4(), "Refined2")->text(), "40");  // fcp held
    EXPECT_NEAR(value("Refined3"), 3.37, 3.37 * 0.02);     // fct
    EXPECT_NEAR(value("Refined6"), 0.43, 0.02);            // a
    // Both summed deviations whole: the refined one far below the grid's.
    EXPECT_LT(value("RefinedSum"), 1e-6);
    EXPECT_GT(value("GridSum"), 0.1);
    EXPECT_TRUE(find<QLabel>(form4(), "RefinedWarnings")->text().contains("ectm"));
    QList<QLineSeries*> series = curves(form4());
    ASSERT_EQ(series.size(), 3);
    EXPECT_EQ(series[2]->pen().color(), QColor(0, 160, 0));
    EXPECT_EQ(series[2]->count(), series[1]->count());
    const QStringList legend = find<prurez::ChartView>(form4(), "Chart1")->shownLegend();
    ASSERT_EQ(legend.size(), 3);
    EXPECT_EQ(legend[2], QString::fromUtf8(
                             "----------   Pracovní diagram průřezu pro zpřesněnou kombinaci vstupních parametrů"));

    // Every value whole, at the opening size and enlarged, each column clear of the
    // next, its whole text also its tooltip.
    const auto expectWholeValues = [](const char* when) {
        SCOPED_TRACE(when);
        settle();
        const QWidget* panel = find<QWidget>(form4(), "ResultsPanel");
        EXPECT_LE(panel->geometry().right(), panel->parentWidget()->width());
        const auto whole = [&](const QString& name) {
            const QLabel* label = find<QLabel>(form4(), name.toUtf8().constData());
            EXPECT_GE(label->width(), label->sizeHint().width()) << name.toStdString();
            EXPECT_LE(label->geometry().right(), panel->width()) << name.toStdString();
            return label;
        };
        for (int i = 0; i < 7; ++i) {
            const QLabel* name = whole(QString("Label%1").arg(7 + i));
            const QLabel* grid = whole(QString("Label%1").arg(14 + i));
            EXPECT_LT(name->geometry().right(), grid->x());
            EXPECT_EQ(grid->toolTip(), grid->text());
            const QLabel* refinedValue = whole(QString("Refined%1").arg(1 + i));
            EXPECT_LT(grid->geometry().right(), refinedValue->x()) << grid->text().toStdString();
            EXPECT_EQ(refinedValue->toolTip(), refinedValue->text());
        }
        EXPECT_LT(whole("GridSum")->geometry().right(), whole("RefinedSum")->x());
    };
    expectWholeValues("opening size");
    EXPECT_EQ(form4()->size(), form4()->minimumSize());
    form4()->resize(form4()->size() + QSize(300, 200));
    expectWholeValues("enlarged");
    form4()->resize(form4()->minimumSize());
    // A text longer than the window holds (the same b, typed with many zeros into the
    // combination table) widens it.
    const std::string held = form3()->combinationTable().cell(7, 787);
    const std::string longB = held + std::string(40, '0');
    form3()->combinationTable().setCell(7, 787, longB);
    click(form4(), "Button1");
    click(form4(), "RefineButton");
    ASSERT_TRUE(failures().empty()) << failures().front();
    EXPECT_EQ(find<QLabel>(form4(), "Label20")->text().toStdString(), longB);
    EXPECT_GT(form4()->width(), form4()->minimumWidth());
    expectWholeValues("long value");
    form3()->combinationTable().setCell(7, 787, held);
    click(form4(), "Button1");
    click(form4(), "RefineButton");
    form4()->resize(form4()->minimumSize());

    // The refined values go on into the section analysis.
    const QString refinedE = find<QLabel>(form4(), "Refined1")->text();
    click(form4(), "BitBtn3");
    auto* form6 = prurez::windows().form6;
    EXPECT_EQ(find<QLineEdit>(form6, "Edit3")->text(), refinedE);
    EXPECT_EQ(find<QLineEdit>(form6, "Edit6")->text(), find<QLabel>(form4(), "Refined6")->text());

    form6->hide();
    for (const char* group : {"RadioGroup1", "RadioGroup3", "RadioGroup5"})
        find<prurez::RadioGroup>(form6, group)->setEnabled(true);
    turnToPage(form4(), 0);
    click(form2(), "RadioButton1");
    form2()->hide();
    QDir::setCurrent(previous);
    clearFailures();
}
