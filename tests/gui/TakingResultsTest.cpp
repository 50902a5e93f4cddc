// Taking results elsewhere and reading them: what a grid shows of a cut-off text,
// its tooltips, copying and CSV, widening a column; saving and zooming a chart.

#include "GuiTest.h"

#include "flows/TableExport.h"
#include "ui/widgets/Charts.h"
#include "ui/widgets/GridView.h"
#include "ui/widgets/Handlers.h"

#include <QChart>
#include <QClipboard>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QTemporaryDir>

#include <memory>

namespace {

using prurez::GridTable;
using prurez::GridView;

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A narrow column cuts a number only behind its whole part, marks the cut with "…"
// and keeps an exponent: what is left never reads as another number.
TEST(GridCells, ACutNumberNeverReadsAsAnotherNumber)
{
    const QFontMetrics metrics(QApplication::font());
    const QString ellipsis(QChar(0x2026));
    EXPECT_EQ(prurez::elidedCellText("1,5", metrics, 200), "1,5");
    const QString tiny = prurez::elidedCellText("1,00000001490116E-7", metrics, metrics.horizontalAdvance("1,0000000"));
    EXPECT_TRUE(tiny.endsWith(ellipsis + "E-7")) << tiny.toStdString();
    for (const QString& number : {QString("1,00000001490116E-7"), QString("-0,000299999992264202"),
                                  QString("12345,6789"), QString("  0,00208333333333333"), QString("-2,5E15")}) {
        for (int width = 4; width < 160; width += 3) {
            const QString shown = prurez::elidedCellText(number, metrics, width);
            const QString whole = number.trimmed();
            if (shown == number || shown == whole || shown == "###")
                continue;
            const qsizetype cut = shown.indexOf(ellipsis);
            ASSERT_GE(cut, 0) << shown.toStdString();
            const QString kept = shown.left(cut);
            EXPECT_TRUE(whole.startsWith(kept)) << shown.toStdString();
            EXPECT_TRUE(whole.endsWith(shown.mid(cut + 1))) << shown.toStdString();
            // The whole part is always there whole.
            const qsizetype wholePart = whole.indexOf(QRegularExpression("[,.Ee]"));
            EXPECT_GE(kept.size(), wholePart) << shown.toStdString();
            EXPECT_LE(metrics.horizontalAdvance(shown), width);
        }
    }
    // Texts lose their aligning blanks and their middle: two headers stay apart.
    const int narrow = metrics.horizontalAdvance("Beton s");
    EXPECT_NE(prurez::elidedCellText(" Beton sigh", metrics, narrow),
              prurez::elidedCellText(" Beton sigd", metrics, narrow));
}

class GridTaking : public ::testing::Test {
protected:
    void SetUp() override
    {
        guitest::clearFailures();
        table_.setCell(0, 0, "  Křivost");
        table_.setCell(1, 0, " Beton sigh");
        table_.setCell(2, 0, "text; \"x\"");
        for (int row = 1; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                table_.setCell(column, row, guitest::number(row == 1 ? "0,5" : "1,00000001490116E-7").toStdString());
        view_ = std::unique_ptr<GridView>(prurez::gridView("Grid", &table_, nullptr, QRect(0, 0, 200, 100), 40, 24));
        view_->syncFromTable();
        view_->show();
    }

    GridTable table_{3, 3};
    std::unique_ptr<GridView> view_;
};

TEST_F(GridTaking, TooltipsCopyAndCsvHoldTheWholeTexts)
{
    const QAbstractItemModel* model = view_->model();
    EXPECT_EQ(model->data(model->index(0, 1), Qt::ToolTipRole).toString(), "Beton sigh");
    EXPECT_EQ(model->data(model->index(2, 0), Qt::ToolTipRole).toString().toStdString(), table_.cell(0, 2));

    // Nothing selected: the whole table; the selection: its cells. Ctrl+C copies.
    const std::string whole = "Křivost\tBeton sigh\ttext; \"x\"\n" + table_.cell(0, 1) + '\t' + table_.cell(1, 1) +
                              '\t' + table_.cell(2, 1) + '\n' + table_.cell(0, 2) + '\t' + table_.cell(1, 2) + '\t' +
                              table_.cell(2, 2) + '\n';
    QTest::keyClick(view_.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), whole);
    view_->selectionModel()->select(QItemSelection(view_->model()->index(1, 1), view_->model()->index(2, 2)),
                                    QItemSelectionModel::Select);
    QTest::keyClick(view_.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              table_.cell(1, 1) + '\t' + table_.cell(2, 1) + '\n' + table_.cell(1, 2) + '\t' + table_.cell(2, 2) + '\n');

    // CSV: the whole table in the dialect of the locale's separator.
    QTemporaryDir directory;
    const QString name = directory.filePath("tabulka.csv");
    view_->saveCsv(name);
    EXPECT_EQ(contents(name).toStdString(), prurez::csvText(table_, prurez::localeDecimalSeparator()));
    // A file that cannot be written: a Czech message naming it, nothing left behind.
    const QString bad = directory.filePath("chybi/tabulka.csv");
    EXPECT_FALSE(prurez::guarded([&] { view_->saveCsv(bad); }));
    ASSERT_EQ(guitest::failures().size(), 1u);
    EXPECT_EQ(guitest::failures()[0],
              ("Soubor „" + bad + "“ se nepodařilo uložit: soubor nebo složka neexistuje.").toStdString());
}

// Row 0 is the header: in view while the rows scroll, not shown a second time, its
// tooltip the whole header with the column's unit.
TEST_F(GridTaking, TheHeaderRowStaysInViewWhileScrollingAndNamesItsUnit)
{
    table_.setRowCount(40);
    for (int row = 3; row < 40; ++row)
        table_.setCell(0, row, std::to_string(row));
    view_->syncFromTable();
    view_->setHeaderUnits({{"Křivost", "m-1"}, {"Beton sigh", "MPa"}});
    view_->scrollToBottom();
    guitest::settle();
    const QHeaderView* header = view_->horizontalHeader();
    EXPECT_TRUE(header->isVisible());
    EXPECT_EQ(header->height(), 24);
    EXPECT_GT(view_->rowAt(0), 20) << "scrolled to the end";
    EXPECT_EQ(view_->rowAt(view_->viewport()->height() - 1), 39) << "the last row in view";
    EXPECT_TRUE(view_->isRowHidden(0));
    EXPECT_FALSE(view_->isRowHidden(1));
    const QAbstractItemModel* model = view_->model();
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), " Beton sigh");
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(), QString::fromUtf8("Křivost [ m-1 ]"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(), "Beton sigh [ MPa ]");
    EXPECT_EQ(model->headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(), "text; \"x\"");

    // New counts keep the header row out of the rows.
    table_.setRowCount(5);
    view_->syncFromTable();
    EXPECT_TRUE(view_->isRowHidden(0));
    // Copying takes the header row as the table holds it.
    QTest::keyClick(view_.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QString::fromUtf8("Křivost\tBeton sigh")));
}

TEST_F(GridTaking, AColumnWidensByDraggingItsGridLineAndFitsItsTextsByADoubleClick)
{
    QWidget* viewport = view_->viewport();
    const int border = view_->columnViewportPosition(0) + view_->columnWidth(0);
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(border, 30));
    QTest::mouseMove(viewport, QPoint(border + 35, 30));
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(border + 35, 30));
    EXPECT_EQ(view_->columnWidth(0), 75);
    EXPECT_EQ(view_->columnWidth(1), 40);
    EXPECT_EQ(table_.cell(0, 1), guitest::number("0,5").toStdString());  // no cell edited or moved

    const int second = view_->columnViewportPosition(1) + view_->columnWidth(1);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(second, 30));
    EXPECT_GE(view_->columnWidth(1), QFontMetrics(view_->font()).horizontalAdvance(
                                        QString::fromStdString(table_.cell(1, 2))));
}

TEST(ChartTaking, SavesPngAndSvgZoomsByARectangleAndReturnsByADoubleClick)
{
    guitest::clearFailures();
    QChart* chart = prurez::curveChart("Graf", Qt::white, Qt::gray, "Moment [ kNm ]");
    prurez::ChartView view(chart, nullptr);
    view.resize(400, 300);
    prurez::LineSeries curve;
    for (int i = 0; i <= 10; ++i)
        curve.add(i * 0.1L, i * i * 1.0L, prurez::colourRed);
    prurez::showCurves(chart, {&curve});
    view.show();
    guitest::settle();

    // The legend under the plot: in the saved PNG (at twice the size shown) and SVG.
    const QRectF plotWithoutLegend = chart->plotArea();
    view.setLegend({{"----------   zkouška", QColor(0, 0, 255)}, {"----------   výpočet", QColor(0, 160, 0)}});
    guitest::settle();
    EXPECT_EQ(view.shownLegend(), QStringList({"----------   zkouška", "----------   výpočet"}));
    EXPECT_LT(chart->plotArea().height(), plotWithoutLegend.height() - 30);
    QTemporaryDir directory;
    view.savePicture(directory.filePath("graf.png"));
    QImage png(directory.filePath("graf.png"));
    EXPECT_EQ(png.size(), view.viewport()->size() * 2);
    const auto pixelsBelowPlot = [&](const QImage& image, QRgb colour) {
        int count = 0;
        const int plotBottom = static_cast<int>(chart->plotArea().bottom() * image.width() / view.viewport()->width());
        for (int y = plotBottom; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == colour;
        return count;
    };
    EXPECT_GT(pixelsBelowPlot(png, qRgb(0, 0, 255)), 50);
    EXPECT_GT(pixelsBelowPlot(png, qRgb(0, 160, 0)), 50);
    view.savePicture(directory.filePath("graf.svg"));
    const QByteArray svg = contents(directory.filePath("graf.svg"));
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
    EXPECT_TRUE(svg.contains(QString::fromUtf8(">----------   výpočet<").toUtf8())) << "the legend's text";
    // A hidden line leaves no room and no trace.
    view.setLegendLineShown(1, false);
    guitest::settle();
    EXPECT_EQ(view.shownLegend(), QStringList({"----------   zkouška"}));
    EXPECT_EQ(pixelsBelowPlot(view.picture(), qRgb(0, 160, 0)), 0);
    EXPECT_GT(pixelsBelowPlot(view.picture(), qRgb(0, 0, 255)), 20);
    EXPECT_FALSE(prurez::guarded([&] { view.savePicture(directory.filePath("chybi/graf.png")); }));
    ASSERT_EQ(guitest::failures().size(), 1u);
    EXPECT_TRUE(QString::fromStdString(guitest::failures()[0]).startsWith(QString::fromUtf8("Soubor „")));

    QWidget* viewport = view.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(120, 80));
    QTest::mouseMove(viewport, QPoint(220, 160));
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(220, 160));
    EXPECT_TRUE(chart->isZoomed());
    // The right button opens the menu and leaves the zoom as it is.
    QTest::mouseClick(viewport, Qt::RightButton, Qt::NoModifier, QPoint(150, 100));
    EXPECT_TRUE(chart->isZoomed());
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(150, 100));
    EXPECT_FALSE(chart->isZoomed());
}

}  // namespace
