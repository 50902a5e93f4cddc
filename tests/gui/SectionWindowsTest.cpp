// The section input window, the results window and the way between them and the
// main window.

#include "GuiTest.h"

#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form6.h"
#include "ui/Form7.h"
#include "ui/Windows.h"
#include "ui/widgets/Handlers.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

using guitest::choose;
using guitest::click;
using guitest::find;
using guitest::number;
using guitest::shown;
using guitest::type;


bool enabled(QWidget* window, const char* name)
{
    QWidget* control = find<QWidget>(window, name);
    return control != nullptr && control->isEnabled();
}

int itemIndex(QWidget* window, const char* name)
{
    auto* group = find<prurez::RadioGroup>(window, name);
    return group != nullptr ? group->itemIndex() : -2;
}

QString text(QWidget* window, const char* name)
{
    if (auto* edit = window->findChild<QLineEdit*>(name))
        return edit->text();
    if (auto* label = window->findChild<QLabel*>(name))
        return label->text();
    ADD_FAILURE() << "no text control " << name;
    return QString();
}

// ---- the rules of the input window, each on a window fresh from the start

TEST(SectionInputWindow, StartsWithItsCaptionsItemsAndEmptyChoices)
{
    prurez::Form6 form;
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Zadání vstupních hodnot pro určení pracovního diagramu průřezu"));
    auto* pages = find<QTabWidget>(&form, "PageControl1");
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 3);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(pages->tabText(2), QString::fromUtf8("Zatížení, parametry výpočtu, výstupní soubor  "));
    for (const char* group : {"RadioGroup1", "RadioGroup3", "RadioGroup5", "RadioGroup2"})
        EXPECT_EQ(itemIndex(&form, group), -1) << group;
    auto* step = find<QComboBox>(&form, "ComboBox1");
    ASSERT_NE(step, nullptr);
    EXPECT_TRUE(step->isEditable());
    EXPECT_EQ(step->currentText(), "");
    ASSERT_EQ(step->count(), 7);
    EXPECT_EQ(step->itemText(0), "0,1");
    EXPECT_EQ(step->itemText(6), "0,0000001");
    EXPECT_EQ(text(&form, "Edit18"), "*.*");
    EXPECT_EQ(find<QAbstractButton>(&form, "BitBtn1")->text(), QString::fromUtf8("   VÝPOČET"));
    // Until a material is chosen only the fixed concrete rows are shown.
    EXPECT_FALSE(shown(&form, "Edit6"));
    EXPECT_FALSE(shown(&form, "Edit7"));
    EXPECT_FALSE(shown(&form, "Edit8"));
    EXPECT_FALSE(shown(&form, "Edit13"));
    EXPECT_FALSE(shown(&form, "Edit15"));
}

TEST(SectionInputWindow, FibreThenPlainConcreteKeepsTheBilinearDiagramButFreesIt)
{
    prurez::Form6 form;
    choose(&form, "RadioGroup1", 1);
    EXPECT_EQ(itemIndex(&form, "RadioGroup3"), 0);
    EXPECT_FALSE(enabled(&form, "RadioGroup3"));
    EXPECT_EQ(itemIndex(&form, "RadioGroup5"), 0);
    EXPECT_FALSE(enabled(&form, "RadioGroup5"));
    EXPECT_EQ(text(&form, "Label9"), QString::fromUtf8("Součinitel úbytku pevnosti a"));
    EXPECT_TRUE(shown(&form, "Edit7"));
    EXPECT_TRUE(shown(&form, "Label8"));
    EXPECT_FALSE(shown(&form, "Edit6Unit"));

    choose(&form, "RadioGroup1", 0);
    EXPECT_EQ(itemIndex(&form, "RadioGroup3"), 0);
    EXPECT_TRUE(enabled(&form, "RadioGroup3"));
    EXPECT_EQ(itemIndex(&form, "RadioGroup5"), 0);
    EXPECT_FALSE(enabled(&form, "RadioGroup5"));
    EXPECT_FALSE(shown(&form, "Edit7"));
    EXPECT_FALSE(shown(&form, "Label8"));
    EXPECT_TRUE(shown(&form, "Edit6"));
    EXPECT_TRUE(shown(&form, "Edit6Unit"));
    EXPECT_EQ(text(&form, "Label9"), QString::fromUtf8("Přetvoření na mezi pevnosti v tlaku"));
}

TEST(SectionInputWindow, ReinforcedConcreteFirstLeavesTensionUnchosenAndFree)
{
    prurez::Form6 form;
    choose(&form, "RadioGroup1", 2);
    EXPECT_EQ(itemIndex(&form, "RadioGroup5"), -1);
    EXPECT_TRUE(enabled(&form, "RadioGroup5"));
    EXPECT_EQ(itemIndex(&form, "RadioGroup3"), -1);
    EXPECT_TRUE(enabled(&form, "RadioGroup3"));
    // Only here can tension be switched off, and it stays off when chosen.
    choose(&form, "RadioGroup5", 1);
    choose(&form, "RadioGroup1", 2);
    EXPECT_EQ(itemIndex(&form, "RadioGroup5"), 1);
}

TEST(SectionInputWindow, SteelAndReinforcementShowForReinforcedConcreteOnly)
{
    prurez::Form6 form;
    const char* steel[] = {"Edit8", "Edit9", "Edit10", "Edit11", "Edit12", "Edit19", "Edit20", "SteelHeading"};
    for (int material : {0, 2, 1, 2, 0}) {
        choose(&form, "RadioGroup1", material);
        for (const char* name : steel)
            EXPECT_EQ(shown(&form, name), material == 2) << name << " with material " << material;
        EXPECT_TRUE(shown(&form, "Edit6"));
        EXPECT_EQ(shown(&form, "Edit7"), material == 1);
    }
}

TEST(SectionInputWindow, ShapeChoosesTheEdgeOrWidthAndHeightRows)
{
    prurez::Form6 form;
    choose(&form, "RadioGroup2", 1);
    EXPECT_EQ(text(&form, "Label27"), QString::fromUtf8("Šířka b"));
    EXPECT_TRUE(shown(&form, "Edit13"));
    EXPECT_TRUE(shown(&form, "Edit14"));
    EXPECT_TRUE(shown(&form, "HeightLabel"));
    choose(&form, "RadioGroup2", 0);
    EXPECT_EQ(text(&form, "Label27"), "Hrana a");
    EXPECT_TRUE(shown(&form, "Edit13"));
    EXPECT_TRUE(shown(&form, "Edit13Unit"));
    EXPECT_FALSE(shown(&form, "Edit14"));
    EXPECT_FALSE(shown(&form, "Edit14Unit"));
    EXPECT_FALSE(shown(&form, "HeightLabel"));
}

TEST(SectionInputWindow, CharacteristicsOfASquareAndARectangle)
{
    prurez::Form6 form;
    // No shape yet: the rows appear, nothing is computed.
    click(&form, "Button2");
    EXPECT_TRUE(shown(&form, "Edit15"));
    EXPECT_TRUE(shown(&form, "Edit16"));
    EXPECT_EQ(text(&form, "Edit15"), "");

    choose(&form, "RadioGroup2", 0);
    type(&form, "Edit13", number("0,3"));
    click(&form, "Button2");
    EXPECT_EQ(text(&form, "Edit15"), number("0,09"));
    EXPECT_EQ(text(&form, "Edit16"), number("0,000675"));

    choose(&form, "RadioGroup2", 1);
    type(&form, "Edit13", number("0,2"));
    type(&form, "Edit14", number("0,5"));
    click(&form, "Button2");
    EXPECT_EQ(text(&form, "Edit15"), number("0,1"));
    // b·h³/12, not h·b³/12.
    EXPECT_EQ(text(&form, "Edit16"), number("0,00208333333333333"));
    // Shown from its beginning, as a typed field after leaving it.
    EXPECT_EQ(find<QLineEdit>(&form, "Edit16")->cursorPosition(), 0);
}

TEST(SectionInputWindow, ATextThatIsNotANumberBringsItsPageForwardAndItsFieldSelected)
{
    guitest::clearFailures();
    prurez::Form6 form;
    form.show();
    choose(&form, "RadioGroup1", 0);
    choose(&form, "RadioGroup3", 0);
    choose(&form, "RadioGroup2", 1);
    const std::pair<const char*, const char*> texts[] = {
        {"Edit1", "30"},  {"Edit2", "2,9"},    {"Edit3", "32x"}, {"Edit4", "0,35"}, {"Edit5", "0,01"},
        {"Edit6", "0,2"}, {"Edit13", "0,3"}, {"Edit14", "0,5"}, {"Edit17", "0"}};
    for (const auto& [name, value] : texts)
        type(&form, name, number(value));
    guitest::typeCombo(&form, "ComboBox1", number("0,0a"));
    auto* pages = find<QTabWidget>(&form, "PageControl1");
    pages->setCurrentIndex(2);
    click(&form, "BitBtn1");
    ASSERT_EQ(guitest::failures().size(), 1u);
    EXPECT_EQ(guitest::failures()[0], "'32x' is not a valid floating point value");  // as it was
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(form.focusWidget(), find<QWidget>(&form, "Edit3"));
    EXPECT_EQ(find<QLineEdit>(&form, "Edit3")->selectedText(), "32x");

    // The curvature step is read last, from page 3's combo box.
    type(&form, "Edit3", "32000");
    click(&form, "BitBtn1");
    ASSERT_EQ(guitest::failures().size(), 2u);
    EXPECT_EQ(pages->currentIndex(), 2);
    auto* step = find<QComboBox>(&form, "ComboBox1");
    EXPECT_TRUE(form.focusWidget() == step || form.focusWidget() == step->lineEdit());
    EXPECT_EQ(step->lineEdit()->selectedText(), number("0,0a"));
    prurez::windows().form7->hide();

    // The characteristics: the height on page 2.
    type(&form, "Edit14", "h");
    pages->setCurrentIndex(0);
    click(&form, "Button2");
    ASSERT_EQ(guitest::failures().size(), 3u);
    EXPECT_EQ(guitest::failures()[2], "'h' is not a valid floating point value");
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(form.focusWidget(), find<QWidget>(&form, "Edit14"));

    // A choice the run needs and has not got: its page in front, its group in focus.
    prurez::Form6 unchosen;
    unchosen.show();
    choose(&unchosen, "RadioGroup1", 0);
    auto* unchosenPages = find<QTabWidget>(&unchosen, "PageControl1");
    unchosenPages->setCurrentIndex(2);
    click(&unchosen, "BitBtn1");
    ASSERT_EQ(guitest::failures().size(), 4u);
    EXPECT_EQ(guitest::failures()[3], "Není zvolen pracovní diagram betonu.");
    EXPECT_EQ(unchosenPages->currentIndex(), 0);
    EXPECT_EQ(unchosen.focusWidget(), find<prurez::RadioGroup>(&unchosen, "RadioGroup3")->button(0));
    choose(&unchosen, "RadioGroup3", 0);
    unchosenPages->setCurrentIndex(2);
    click(&unchosen, "BitBtn1");
    ASSERT_EQ(guitest::failures().size(), 5u);
    EXPECT_EQ(guitest::failures()[4], "Není zvolen typ průřezu.");
    EXPECT_EQ(unchosenPages->currentIndex(), 1);
    EXPECT_EQ(unchosen.focusWidget(), find<prurez::RadioGroup>(&unchosen, "RadioGroup2")->button(0));
    guitest::clearFailures();
}

TEST(SectionInputWindow, HandOverFromTheInverseAnalysisLocksTheChoices)
{
    prurez::Form6 form;
    choose(&form, "RadioGroup1", 2);
    choose(&form, "RadioGroup5", 1);
    choose(&form, "RadioGroup3", 2);
    form.continueFromInverseAnalysis({"31,5", "3,16666666666667", "33000", "0,35", "0,02", "0,4", "0,3"});
    EXPECT_EQ(find<QLineEdit>(&form, "Edit2")->cursorPosition(), 0);
    EXPECT_EQ(itemIndex(&form, "RadioGroup1"), 1);
    EXPECT_EQ(itemIndex(&form, "RadioGroup3"), 0);
    EXPECT_EQ(itemIndex(&form, "RadioGroup5"), 0);
    for (const char* group : {"RadioGroup1", "RadioGroup3", "RadioGroup5"})
        EXPECT_FALSE(enabled(&form, group)) << group;
    EXPECT_FALSE(shown(&form, "Edit8"));  // the material's click ran
    EXPECT_TRUE(shown(&form, "Edit7"));
    EXPECT_EQ(text(&form, "Edit1"), "31,5");
    EXPECT_EQ(text(&form, "Edit3"), "33000");
    EXPECT_EQ(text(&form, "Edit7"), "0,3");
}

// ---- the section tool end to end, on the program's own windows

class SectionRoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        guitest::clearFailures();
        previousDirectory_ = QDir::currentPath();
        ASSERT_TRUE(directory_.isValid());
        QDir::setCurrent(directory_.path());
    }
    void TearDown() override
    {
        w().form7->hide();
        w().form6->hide();
        w().form1->hide();
        QDir::setCurrent(previousDirectory_);
    }
    static const prurez::Windows& w() { return prurez::windows(); }

    // A plain-concrete rectangle 0,3 × 0,5 m: fcp 30, fct 2,9, E 32000 MPa, εcu 0,35 %,
    // εtu 0,01 %, εc1 0,2 %, no axial force.
    void fillPlainConcrete(const char* step)
    {
        QWidget* form = w().form6;
        choose(form, "RadioGroup1", 0);
        choose(form, "RadioGroup3", 0);
        type(form, "Edit1", "30");
        type(form, "Edit2", number("2,9"));
        type(form, "Edit3", "32000");
        type(form, "Edit4", number("0,35"));
        type(form, "Edit5", number("0,01"));
        type(form, "Edit6", number("0,2"));
        choose(form, "RadioGroup2", 1);
        type(form, "Edit13", number("0,3"));
        type(form, "Edit14", number("0,5"));
        type(form, "Edit17", "0");
        guitest::typeCombo(form, "ComboBox1", number(step));
    }
    void run()
    {
        w().form6->show();
        click(w().form6, "BitBtn1");
    }
    QTabWidget* resultPages() { return find<QTabWidget>(w().form7, "PageControl1"); }
    void turnToChart()
    {
        resultPages()->setCurrentIndex(0);
        resultPages()->setCurrentIndex(1);
    }
    QChart* chart() { return find<QChartView>(w().form7, "Chart1")->chart(); }
    QByteArray fileText(const QString& name)
    {
        QFile file(QDir(directory_.path()).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // The lines the file must hold: rows 1 … rowCount − 1, curvature, blank, moment.
    QByteArray expectedFile()
    {
        const prurez::GridTable& table = w().form7->table();
        QByteArray expected;
        for (int row = 1; row < table.rowCount(); ++row)
            expected += QByteArray::fromStdString(table.cell(0, row) + " " + table.cell(1, row) + "\r\n");
        return expected;
    }

    QTemporaryDir directory_;
    QString previousDirectory_;
};

TEST_F(SectionRoad, MenuInputRunResultsOkAndBackWithTheInputsInPlace)
{
    w().form1->show();
    auto* menuItem = w().form1->findChild<QAction*>("Pracovndiagramprezu1");
    ASSERT_NE(menuItem, nullptr);
    EXPECT_EQ(menuItem->text(), QString::fromUtf8("    Pracovní diagram průřezu    "));
    menuItem->trigger();
    EXPECT_FALSE(w().form1->isVisible());
    EXPECT_TRUE(w().form6->isVisible());

    fillPlainConcrete("0,00005");
    run();
    EXPECT_TRUE(guitest::failures().empty()) << guitest::failures().front();
    EXPECT_TRUE(w().form7->isVisible());
    EXPECT_TRUE(w().form6->isVisible());
    const prurez::GridTable& table = w().form7->table();
    EXPECT_EQ(table.cell(0, 0), "  Křivost");
    EXPECT_EQ(table.cell(6, table.rowCount() - 1), "Beton roztržen");
    // What the view shows is the table, cell for cell the independently computed one.
    EXPECT_EQ(guitest::grid(w().form7, "StringGrid1").rowCount(), table.rowCount());
    QFile reference(PRUREZ_REFERENCE_DIR "/plain-bilinear.tsv");
    ASSERT_TRUE(reference.open(QIODevice::ReadOnly));
    std::string expected = reference.readAll().toStdString();
    std::replace(expected.begin(), expected.end(), ',', prurez::localeDecimalSeparator());
    EXPECT_EQ(table.toTsv(), expected);

    turnToChart();
    click(w().form7, "BitBtn1");
    EXPECT_FALSE(w().form7->isVisible());
    EXPECT_TRUE(w().form1->isVisible());
    EXPECT_FALSE(w().form6->isVisible());

    menuItem->trigger();
    EXPECT_TRUE(w().form6->isVisible());
    EXPECT_EQ(text(w().form6, "Edit3"), "32000");
    EXPECT_EQ(text(w().form6, "Edit14"), number("0,5"));
    EXPECT_EQ(itemIndex(w().form6, "RadioGroup1"), 0);
    EXPECT_EQ(itemIndex(w().form6, "RadioGroup2"), 1);
    EXPECT_EQ(find<QComboBox>(w().form6, "ComboBox1")->currentText(), number("0,00005"));
}

TEST_F(SectionRoad, TheOtherMenuItemsAndATextThatIsNotANumber)
{
    w().form1->show();
    auto* inverse = w().form1->findChild<QAction*>("Inversnanalzadrtkobetonu1");
    ASSERT_NE(inverse, nullptr);
    EXPECT_EQ(inverse->text(), QString::fromUtf8("    Inversní analýza drátkobetonu  "));
    EXPECT_EQ(w().form1->findChild<QAction*>("Ukonitprogram1")->text(), QString::fromUtf8("    Ukončit program  "));
    inverse->trigger();
    EXPECT_TRUE(static_cast<QWidget*>(w().form2)->isVisible());
    EXPECT_FALSE(w().form1->isVisible());
    static_cast<QWidget*>(w().form2)->hide();

    fillPlainConcrete("0,00005");
    type(w().form6, "Edit3", "32x");
    run();
    ASSERT_EQ(guitest::failures().size(), 1u);
    EXPECT_EQ(guitest::failures()[0], "'32x' is not a valid floating point value");
    EXPECT_FALSE(w().form7->isVisible());
}

TEST_F(SectionRoad, ChartFollowsTheTableRowsInOrderAsOneSeries)
{
    fillPlainConcrete("0,00005");
    run();
    turnToChart();
    const prurez::GridTable& table = w().form7->table();
    const auto& points = w().form7->curve().points();
    ASSERT_EQ(static_cast<int>(points.size()), table.rowCount() - 2);
    ASSERT_GE(points.size(), 3u);
    EXPECT_EQ(points[0].x, 0.0L);
    EXPECT_EQ(points[0].y, 0.0L);
    EXPECT_EQ(points[0].colour, prurez::colourRed);
    // The first step is the step held in single precision (5e-5 → 4,999999873689376e-5);
    // its moment is the uncracked
    // E·κ·b·h³/12 = 32000 · 5e-5 · 0,3 · 0,125 / 12 = 0,005 MNm.
    EXPECT_NEAR(static_cast<double>(points[1].x), 4.999999873689376e-05, 1e-19);
    EXPECT_NEAR(static_cast<double>(points[1].y), 0.005, 0.005 * 0.001);
    for (std::size_t i = 1; i < points.size(); ++i)
        EXPECT_GT(points[i].x, points[i - 1].x);

    ASSERT_EQ(chart()->series().size(), 1);
    auto* series = qobject_cast<QLineSeries*>(chart()->series().front());
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->count(), static_cast<int>(points.size()));
    EXPECT_EQ(series->color(), QColor(Qt::red));

    resultPages()->setCurrentIndex(0);
    resultPages()->setCurrentIndex(1);
    EXPECT_EQ(chart()->series().size(), 1);
    EXPECT_EQ(chart()->title(), QString::fromUtf8("PRACOVNÍ DIAGRAM PRŮŘEZU"));
    EXPECT_FALSE(chart()->legend()->isVisible());
}

// The results window left on its chart page shows the next run's curve as it opens,
// not the previous one.
TEST_F(SectionRoad, ANewRunShownOnTheChartPageDrawsItsOwnCurve)
{
    fillPlainConcrete("0,00005");
    run();
    turnToChart();
    click(w().form7, "BitBtn1");  // OK: the window closes on its chart page
    ASSERT_FALSE(w().form7->isVisible());
    const std::size_t plainPoints = w().form7->curve().points().size();

    QWidget* form = w().form6;
    choose(form, "RadioGroup1", 1);
    choose(form, "RadioGroup2", 0);
    const std::pair<const char*, const char*> fibre[] = {{"Edit1", "40"},   {"Edit2", "3"},     {"Edit3", "34000"},
                                                         {"Edit4", "0,35"}, {"Edit5", "2"},     {"Edit6", "0,4"},
                                                         {"Edit7", "0,3"},  {"Edit13", "0,15"}, {"Edit17", "0"}};
    for (const auto& [name, value] : fibre)
        type(form, name, number(value));
    guitest::typeCombo(form, "ComboBox1", number("0,01"));
    run();
    ASSERT_TRUE(guitest::failures().empty()) << guitest::failures().front();
    ASSERT_TRUE(w().form7->isVisible());
    EXPECT_EQ(resultPages()->currentIndex(), 1);
    EXPECT_NE(w().form7->curve().points().size(), plainPoints);
    // The curve drawn is the table's: curvature and moment of rows 1 … rowCount − 2.
    const prurez::GridTable& table = w().form7->table();
    ASSERT_EQ(chart()->series().size(), 1);
    auto* series = qobject_cast<QLineSeries*>(chart()->series().front());
    ASSERT_EQ(series->count(), table.rowCount() - 2);
    for (int row = 1; row <= table.rowCount() - 2; ++row) {
        const QString x = QString::fromStdString(table.cell(0, row)).replace(',', '.');
        const QString y = QString::fromStdString(table.cell(1, row)).replace(',', '.');
        ASSERT_EQ(series->at(row - 1), QPointF(x.toDouble(), y.toDouble())) << row;
    }
}

// A long run goes on beside the windows: "Přerušit" stops it, the rows computed so far
// are shown and the user is told so, as information.
TEST_F(SectionRoad, ALongRunCanBeCancelledKeepingItsRows)
{
    fillPlainConcrete("0,0000001");
    type(w().form6, "Edit4", "10");  // far limits: 65 535 steps of seconds
    type(w().form6, "Edit5", "10");
    w().form6->show();
    QTimer::singleShot(50, w().form6, [&] {
        EXPECT_TRUE(guitest::shown(w().form6, "CancelButton"));
        EXPECT_FALSE(find<QPushButton>(w().form6, "BitBtn1")->isEnabled()) << "no second start while computing";
        click(w().form6, "CancelButton");
    });
    click(w().form6, "BitBtn1");
    EXPECT_TRUE(guitest::failures().empty());
    ASSERT_EQ(guitest::informations().size(), 1u);
    const std::string& message = guitest::informations()[0];
    EXPECT_EQ(message.rfind("Výpočet byl přerušen. Tabulka obsahuje dosud spočtené kroky křivosti (", 0), 0u) << message;
    const prurez::GridTable& table = w().form7->table();
    EXPECT_TRUE(w().form7->isVisible());
    EXPECT_GT(table.rowCount(), 2);
    EXPECT_LT(table.rowCount(), 65537);
    EXPECT_EQ(message, "Výpočet byl přerušen. Tabulka obsahuje dosud spočtené kroky křivosti (" +
                           std::to_string(table.rowCount() - 2) + ").");
    EXPECT_EQ(table.cell(0, table.rowCount() - 1).empty(), false);
    EXPECT_FALSE(guitest::shown(w().form6, "CancelButton"));
    EXPECT_TRUE(find<QPushButton>(w().form6, "BitBtn1")->isEnabled());
}

TEST_F(SectionRoad, ASingleComputedStepPlotsTheOriginAndWritesTwoLines)
{
    fillPlainConcrete("0,001");  // the bottom fibre tears at the first curvature
    type(w().form6, "Edit18", "kratky.txt");
    run();
    ASSERT_EQ(w().form7->table().rowCount(), 3);
    turnToChart();
    ASSERT_EQ(w().form7->curve().points().size(), 1u);
    EXPECT_EQ(w().form7->curve().points()[0].x, 0.0L);
    click(w().form7, "Button1");
    w().form7->close();
    const QByteArray written = fileText("kratky.txt");
    EXPECT_EQ(written.count("\r\n"), 2);
    EXPECT_TRUE(written.startsWith("  0   0\r\n")) << written.toStdString();
}

TEST_F(SectionRoad, ACellThatIsNotANumberStopsTheChartKeepingEarlierPoints)
{
    fillPlainConcrete("0,00005");
    run();
    resultPages()->setCurrentIndex(0);
    guitest::clearFailures();
    const std::string kept = w().form7->table().cell(0, 3);
    w().form7->table().setCell(0, 3, "x1");
    resultPages()->setCurrentIndex(1);
    ASSERT_EQ(guitest::failures().size(), 1u);
    EXPECT_EQ(guitest::failures()[0], "'x1' is not a valid floating point value");
    EXPECT_EQ(w().form7->curve().points().size(), 2u);
    EXPECT_EQ(chart()->series().size(), 1);
    w().form7->table().setCell(0, 3, kept);
}

TEST_F(SectionRoad, OutputFileHoldsOneLinePerRowAndIsCompletedOnClose)
{
    fillPlainConcrete("0,00005");
    type(w().form6, "Edit18", "krivka.txt");
    run();
    click(w().form7, "Button1");
    EXPECT_TRUE(guitest::failures().empty());
    EXPECT_TRUE(w().form7->outputFileOpen());
    w().form7->close();  // by its title bar
    EXPECT_FALSE(w().form7->outputFileOpen());
    const QByteArray written = fileText("krivka.txt");
    EXPECT_EQ(written, expectedFile());
    EXPECT_EQ(written.count("\r\n"), w().form7->table().rowCount() - 1);
    // The end row: the curvature followed by one blank.
    const prurez::GridTable& table = w().form7->table();
    EXPECT_TRUE(written.endsWith(QByteArray::fromStdString(table.cell(0, table.rowCount() - 1) + " \r\n")));
}

TEST_F(SectionRoad, ClosingWithoutWritingTouchesNoFileAndAMaskIsNoName)
{
    fillPlainConcrete("0,00005");
    type(w().form6, "Edit18", "nezapsano.txt");
    run();
    w().form7->close();
    EXPECT_FALSE(QFile::exists(QDir(directory_.path()).filePath("nezapsano.txt")));

    type(w().form6, "Edit18", "*.*");
    w().form7->show();
    click(w().form7, "Button1");
    ASSERT_EQ(guitest::failures().size(), 1u);
    EXPECT_EQ(guitest::failures()[0], "Invalid filename");
    EXPECT_TRUE(QDir(directory_.path()).entryList(QDir::Files).isEmpty());
    w().form7->close();
}

TEST_F(SectionRoad, ASecondWriteCompletesTheFirstFile)
{
    fillPlainConcrete("0,00005");
    run();
    type(w().form6, "Edit18", "prvni.txt");
    click(w().form7, "Button1");
    type(w().form6, "Edit18", "druhy.txt");
    click(w().form7, "Button1");
    EXPECT_TRUE(guitest::failures().empty());
    EXPECT_EQ(fileText("prvni.txt"), expectedFile());
    click(w().form7, "BitBtn1");
    EXPECT_EQ(fileText("druhy.txt"), expectedFile());
}

// ---- the results table as a run leaves it

// Left edge, width, height and column width of the results table.
std::tuple<int, int, int, int> resultsTablePlace()
{
    auto* view = find<prurez::GridView>(prurez::windows().form7, "StringGrid1");
    return {view->x(), view->width(), view->height(), view->horizontalHeader()->defaultSectionSize()};
}

TEST(ResultsTable, TakesTheColumnsOfItsKindAndTheHeightOfItsRows)
{
    // Sections whose strain limit falls between the steps 9 and 10 (12 rows) or 10 and
    // 11 (13 rows): 1 × 1 mm of plain or reinforced concrete, the fibre square elastic.
    // Up to 12 rows a table is 28 pixels a row and 2 high, the nine-column one 515 wide
    // at 11, the thirteen-column one 522 wide at 7; beyond, 340 high and scrolling:
    // 531 wide at 3, 538 wide at 0.
    guitest::clearFailures();
    prurez::Form6 form;  // its own input window: no choice locked by an earlier hand-over
    choose(&form, "RadioGroup1", 0);
    choose(&form, "RadioGroup3", 0);
    choose(&form, "RadioGroup2", 1);
    const std::pair<const char*, const char*> texts[] = {
        {"Edit1", "30"},  {"Edit2", "2,9"},    {"Edit3", "32000"}, {"Edit4", "100"},   {"Edit6", "0,2"},
        {"Edit8", "500"}, {"Edit9", "200000"}, {"Edit11", "0"},    {"Edit12", "0"},    {"Edit19", "0"},
        {"Edit20", "0"},  {"Edit13", "0,001"}, {"Edit14", "0,001"}, {"Edit17", "0"}};
    for (const auto& [name, value] : texts)
        type(&form, name, number(value));
    guitest::typeCombo(&form, "ComboBox1", number("0,01"));
    auto runWith = [&](const char* name, const char* limit) {
        type(&form, name, number(limit));
        click(&form, "BitBtn1");
        return prurez::windows().form7->table().rowCount();
    };
    using Place = std::tuple<int, int, int, int>;
    // Plain concrete, the ultimate tensile strain.
    EXPECT_EQ(runWith("Edit5", "0,0095"), 12);
    EXPECT_EQ(resultsTablePlace(), Place(11, 515, 338, 55));
    EXPECT_EQ(runWith("Edit5", "0,0105"), 13);
    EXPECT_EQ(resultsTablePlace(), Place(3, 531, 340, 55));

    // Reinforced concrete without bars, the steel's ultimate strain.
    choose(&form, "RadioGroup1", 2);
    choose(&form, "RadioGroup5", 0);
    type(&form, "Edit5", number("0,01"));
    EXPECT_EQ(runWith("Edit10", "0,0095"), 12);
    EXPECT_EQ(resultsTablePlace(), Place(7, 522, 338, 38));
    EXPECT_EQ(runWith("Edit10", "0,0105"), 13);
    EXPECT_EQ(resultsTablePlace(), Place(0, 538, 340, 38));

    // Fibre concrete, a square 0,2 m that stays elastic.
    choose(&form, "RadioGroup1", 1);
    choose(&form, "RadioGroup2", 0);
    const std::pair<const char*, const char*> elastic[] = {
        {"Edit1", "1000"}, {"Edit2", "1000"}, {"Edit3", "30000"}, {"Edit4", "10"},
        {"Edit6", "0,4"},  {"Edit7", "0,3"},  {"Edit13", "0,2"}};
    for (const auto& [name, value] : elastic)
        type(&form, name, number(value));
    EXPECT_EQ(runWith("Edit5", "1,05"), 13);
    EXPECT_EQ(resultsTablePlace(), Place(3, 531, 340, 55));
    EXPECT_EQ(runWith("Edit5", "0,95"), 12);
    EXPECT_EQ(resultsTablePlace(), Place(11, 515, 338, 55));
    EXPECT_TRUE(guitest::failures().empty()) << guitest::failures().front();

    // A run that fails after the header row: the columns and left edge of its kind,
    // the width and height the table had.
    choose(&form, "RadioGroup1", 2);
    choose(&form, "RadioGroup2", 1);
    guitest::typeCombo(&form, "ComboBox1", "0");
    click(&form, "BitBtn1");
    ASSERT_EQ(guitest::failures().size(), 1u);
    EXPECT_EQ(guitest::failures()[0], "Přírůstek křivosti musí být kladné číslo.");
    EXPECT_EQ(prurez::windows().form7->table().cell(12, 0), "Tah. síla");
    EXPECT_EQ(resultsTablePlace(), Place(7, 515, 338, 38));
    prurez::windows().form7->hide();
    guitest::clearFailures();
}

}  // namespace

namespace {

TEST(ResultsTable, GrowsWithItsWindowAndKeepsThePlacesOfTheOpeningSize)
{
    guitest::clearFailures();
    prurez::Form6 form;
    choose(&form, "RadioGroup1", 0);
    choose(&form, "RadioGroup3", 0);
    choose(&form, "RadioGroup2", 1);
    const std::pair<const char*, const char*> texts[] = {
        {"Edit1", "30"},  {"Edit2", "2,9"},   {"Edit3", "32000"}, {"Edit4", "0,35"}, {"Edit5", "0,01"},
        {"Edit6", "0,2"}, {"Edit13", "0,3"}, {"Edit14", "0,5"},  {"Edit17", "0"}};
    for (const auto& [name, value] : texts)
        type(&form, name, number(value));
    guitest::typeCombo(&form, "ComboBox1", number("0,00001"));
    click(&form, "BitBtn1");
    ASSERT_TRUE(guitest::failures().empty()) << guitest::failures().front();
    using Place = std::tuple<int, int, int, int>;
    ASSERT_EQ(resultsTablePlace(), Place(3, 531, 340, 55));

    // Maximised or dragged larger: the table, its columns and the chart grow with it.
    prurez::Form7* results = prurez::windows().form7;
    const QSize opening = results->size();
    EXPECT_EQ(results->minimumSize(), opening);
    results->resize(opening + QSize(270, 200));
    guitest::settle();
    EXPECT_EQ(resultsTablePlace(), Place(3, 531 + 270, 340 + 200, 55 + 270 / 9));
    EXPECT_EQ(find<QWidget>(results, "Chart1")->size(), QSize(opening.width() - 26 + 270, 360 + 200));
    // A run while enlarged places the table as at the opening size, enlarged.
    click(&form, "BitBtn1");
    EXPECT_EQ(resultsTablePlace(), Place(3, 531 + 270, 340 + 200, 55 + 270 / 9));
    // So does one that fails after its table was started (a step that is no number).
    guitest::typeCombo(&form, "ComboBox1", "x");
    click(&form, "BitBtn1");
    EXPECT_EQ(guitest::failures().size(), 1u);
    guitest::clearFailures();
    EXPECT_EQ(resultsTablePlace(), Place(11, 531 + 270, 340 + 200, 55 + 270 / 9));
    guitest::typeCombo(&form, "ComboBox1", number("0,00001"));
    click(&form, "BitBtn1");
    results->resize(opening);
    guitest::settle();
    EXPECT_EQ(resultsTablePlace(), Place(3, 531, 340, 55));
    results->hide();

    // The input window is no longer of a fixed size.
    form.resize(1000, 700);
    EXPECT_EQ(form.size(), QSize(1000, 700));
    EXPECT_EQ(form.minimumSize(), QSize(800, 576));
}

}  // namespace
