#include "ui/Form7.h"

#include "ui/Form1.h"
#include "ui/Windows.h"
#include "flows/CellText.h"
#include "flows/SectionFlow.h"
#include "ui/Form6.h"
#include "ui/Report.h"
#include "ui/widgets/Charts.h"
#include "ui/widgets/UserFiles.h"
#include "ui/widgets/DiagramCharts.h"
#include "common/NumberText.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/GridView.h"
#include "ui/widgets/Handlers.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QLineSeries>
#include <QLocale>
#include <QTabBar>
#include <QTabWidget>
#include <QValueAxis>


namespace prurez {

namespace {

const QColor titleColour(0, 0, 255);

}  // namespace

Form7::Form7(QWidget* parent) : Window(parent), table_(initialResultsTable())
{
    setObjectName("Form7");
    setWindowTitle(QString::fromUtf8("Vypočtené hodnoty, pracovní diagram průřezu"));
    setOpeningSize(QSize(580, 470));

    PageControl1 = pageControl(
        this, QRect(6, 6, 568, 458),
        {"                Přehled vypočtených hodnot                   ",
         "                          Pracovní diagram průřezu                         ",
         "Průběh napětí a přetvoření"});

    QWidget* tablePage = PageControl1->widget(0);
    StringGrid1 = gridView("StringGrid1", &table_, tablePage, QRect(7, 8, 531, 340), 38, 24);
    StringGrid1->setWideGridLines();
    // Strains are fractions, forces MN, moments MNm.
    StringGrid1->setHeaderUnits({{"Křivost", "m-1"},
                                 {"Moment", "MNm"},
                                 {"Neut. osa", "m"},
                                 {"Beton sigh", "MPa"},
                                 {"Beton sigd", "MPa"},
                                 {"Beton epsh", "-"},
                                 {"Beton epsd", "-"},
                                 {"FT", "MN"},
                                 {"FP", "MN"},
                                 {"Výztuž sigh", "MPa"},
                                 {"Výztuž sigd", "MPa"},
                                 {"Výztuž epsh", "-"},
                                 {"Výztuž epsd", "-"},
                                 {"Tlak. síla", "MN"},
                                 {"Tah. síla", "MN"}});
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont gridFont = StringGrid1->font();
    gridFont.setPointSize(7);
    gridFont.setStretch(QFont::Condensed);
    StringGrid1->setFont(gridFont);
    Button1 = new QPushButton(QString::fromUtf8("Zápis do souboru"), tablePage);
    Button1->setObjectName("Button1");
    Button1->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    Button1->setGeometry(372, 372, 170, 34);
    reportButton_ = new QPushButton(QString::fromUtf8("Uložit zprávu PDF…"), tablePage);
    reportButton_->setObjectName("SaveReportButton");
    reportButton_->setToolTip(
        QString::fromUtf8("Zpráva o výpočtu se zadáním, náčrtem průřezu, grafy a tabulkou (PDF, A4)"));
    reportButton_->setGeometry(190, 372, 170, 34);

    QWidget* chartPage = PageControl1->widget(1);
    chart_ = curveChart("PRACOVNÍ DIAGRAM PRŮŘEZU", QColor(255, 255, 204) /* light yellow */,
                        QColor(173, 216, 255) /* light blue */, "Moment [ MNm ]");
    QFont titleFont = chart_->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSize(11);
    chart_->setTitleFont(titleFont);
    chart_->setTitleBrush(titleColour);
    chart_->setDropShadowEnabled(false);
    chart_->setPlotAreaBackgroundBrush(QColor(192, 192, 192));  // grey back wall
    chart_->setPlotAreaBackgroundVisible(true);
    for (QAbstractAxis* axis : chart_->axes()) {
        auto* values = static_cast<QValueAxis*>(axis);
        values->setGridLineColor(QColor(232, 232, 232));
        values->setLabelFormat("%.3g");
    }
    auto* chartView = new FramedTitleChartView(chart_, titleColour, 1.5, chartPage);
    chartView->setTitleMargins(6.0, 1.0);
    Chart1 = chartView;
    Chart1->setObjectName("Chart1");
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setGeometry(4, 4, 554, 360);
    BitBtn1 = new QPushButton("OK", chartPage);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setGeometry(442, 376, 100, 34);

    QWidget* profilePage = PageControl1->widget(2);
    profileLabel_ = label(QString(), profilePage, QRect(8, 2, 550, 50), "ProfileLabel");
    profileLabel_->setWordWrap(true);
    strainChart_ = titledChart(QString::fromUtf8("PŘETVOŘENÍ"));
    stressChart_ = titledChart(QString::fromUtf8("NAPĚTÍ"));
    strainView_ = new ChartView(strainChart_, profilePage);
    strainView_->setObjectName("StrainChart");
    strainView_->setRenderHint(QPainter::Antialiasing);
    strainView_->setGeometry(4, 54, 276, 370);
    stressView_ = new ChartView(stressChart_, profilePage);
    stressView_->setObjectName("StressChart");
    stressView_->setRenderHint(QPainter::Antialiasing);
    stressView_->setGeometry(282, 54, 276, 370);
    // The page captions are long: the window is as wide as the two tabs need.
    const int tabsWidth = PageControl1->tabBar()->sizeHint().width() + 16;
    if (tabsWidth > PageControl1->width()) {
        setOpeningSize(QSize(tabsWidth + 12, height()));
        PageControl1->resize(tabsWidth, PageControl1->height());
        Chart1->resize(tabsWidth - 14, Chart1->height());
        BitBtn1->move(tabsWidth - 126, BitBtn1->y());
        Button1->move(tabsWidth - 196, Button1->y());
        reportButton_->move(tabsWidth - 376, reportButton_->y());
        const int half = (tabsWidth - 14) / 2;
        profileLabel_->resize(tabsWidth - 20, profileLabel_->height());
        strainView_->resize(half, strainView_->height());
        stressView_->setGeometry(6 + half, stressView_->y(), half, stressView_->height());
    }

    // Enlarged, the table (its columns too) and the chart grow.
    const Qt::Edges grow = Qt::RightEdge | Qt::BottomEdge;
    followGrowth(PageControl1, grow);
    followGrowth(StringGrid1, grow);
    StringGrid1->setColumnsShareGrowth(true);
    followGrowth(Chart1, grow);
    followGrowth(strainView_, Qt::BottomEdge);
    followGrowth(stressView_, grow);
    followGrowth(profileLabel_, Qt::RightEdge);
    followGrowth(Button1, grow | Qt::LeftEdge | Qt::TopEdge);
    followGrowth(reportButton_, grow | Qt::LeftEdge | Qt::TopEdge);
    followGrowth(BitBtn1, grow | Qt::LeftEdge | Qt::TopEdge);

    connect(PageControl1, &QTabWidget::currentChanged, this, &Form7::PageControl1Change);
    connect(Button1, &QPushButton::clicked, this, &Form7::Button1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Form7::BitBtn1Click);
    connect(reportButton_, &QPushButton::clicked, this, &Form7::SaveReportClick);

}

namespace {

// The nine-column tables of plain and fibre concrete and the thirteen-column table of
// reinforced concrete: column width and left position when the header is written; a
// table of up to 12 rows is then sized to its rows (28 pixels each and 2), a longer
// one is 340 pixels high and scrolls, wider and further left to make room for the
// scroll bar.
struct ResultsTableGeometry {
    int columnWidth;
    int left;
    int smallWidth;
    int largeWidth;
    int largeLeft;
};
constexpr ResultsTableGeometry nineColumns{55, 11, 515, 531, 3};
constexpr ResultsTableGeometry thirteenColumns{38, 7, 522, 538, 0};

}  // namespace

void Form7::syncTable(const SectionRunReport& report)
{
    run_ = report;
    StringGrid1->syncFromTable();
    const ResultsTableGeometry& geometry = table_.columnCount() == 13 ? thirteenColumns : nineColumns;
    if (report.tablePrepared) {
        StringGrid1->setDefaultColumnWidth(geometry.columnWidth);
        StringGrid1->moveLeft(geometry.left);
    }
    if (report.showResults) {
        const int rows = table_.rowCount();
        if (rows <= 12)
            StringGrid1->place(geometry.left, geometry.smallWidth, rows * 28 + 2);
        else
            StringGrid1->place(geometry.largeLeft, geometry.largeWidth, 340);
    }
}

void Form7::showResults()
{
    // The chart shows the new run, whichever page is in front.
    PageControl1Change(PageControl1->currentIndex());
    show();
    raise();
    activateWindow();
}

void Form7::PageControl1Change(int)
{
    guarded([&] {
        try {
            fillWorkingDiagram(table_, localeDecimalSeparator(), curve_);
        } catch (...) {
            showCurve();  // the points added so far stay
            throw;
        }
        showCurve();
    });
    if (PageControl1->currentIndex() == 2)
        guarded([&] { showProfile(); });
}

int Form7::profileRow() const
{
    const int selected = StringGrid1->currentIndex().isValid() ? StringGrid1->currentIndex().row() : -1;
    if (selected >= 1 && selected < table_.rowCount() && runRow(run_, selected))
        return selected;
    return lastComputedRow(run_);
}

void Form7::showProfile()
{
    const int row = profileRow();
    const std::optional<DepthProfile> profile = row > 0 ? rowProfile(run_, row) : std::nullopt;
    if (!profile) {
        profileLabel_->setText(QString::fromUtf8("Žádný spočtený řádek: nejprve proveďte výpočet."));
        strainChart_->removeAllSeries();
        stressChart_->removeAllSeries();
        return;
    }
    const char separator = localeDecimalSeparator();
    profileLabel_->setText(QString::fromUtf8("Řádek ") + QString::number(row) + QString::fromUtf8(" tabulky: ") +
                           profileCaption(toQt(formatNumber(runRow(run_, row)->kappa, separator)), *profile, separator) +
                           QString::fromUtf8(" Jiný řádek zvolte v tabulce."));
    drawProfile(strainChart_, stressChart_, *profile);
}

void Form7::showCurve()
{
    showCurves(chart_, {&curve_}, AxisRange::Tight).front()->setObjectName("Series1");
}

void Form7::Button1Click()
{
    guarded([&] { file_.write(toStd(windows().form6->outputFileName()), table_); });
}

void Form7::BitBtn1Click()
{
    guarded([&] {
        close();
        windows().form1->show();
        windows().form6->hide();
    });
}

void Form7::SaveReportClick()
{
    const QString name = askSaveFileName(this, QString::fromUtf8("Uložit zprávu PDF"),
                                         QString::fromUtf8("Dokument PDF (*.pdf)"));
    if (!name.isEmpty())
        guarded([&] { writeSectionReport(name, table_, run_, localeDecimalSeparator()); });
}

void Form7::FormClose()
{
    guarded([&] { file_.close(); });
}

void Form7::closeEvent(QCloseEvent* event)
{
    FormClose();
    Window::closeEvent(event);
}

}  // namespace prurez
