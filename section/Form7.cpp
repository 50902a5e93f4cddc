#include "section/Form7.h"

#include "app/Form1.h"
#include "app/Windows.h"
#include "common/CellText.h"
#include "section/Form6.h"
#include "widgets/GridView.h"
#include "widgets/Handlers.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace prurez {

namespace {

const char* const chartTitle = "PRACOVNÍ DIAGRAM PRŮŘEZU";
const QColor gridLineColour(160, 160, 160);
const QColor titleColour(0, 0, 255);

// Grid lines two pixels wide: the view draws one, the cell adds the second.
class WideGridLines : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(gridLineColour);
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

// A chart view that frames the chart's title.
class FramedTitleChartView : public QChartView {
public:
    FramedTitleChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {}

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override
    {
        QChartView::drawForeground(painter, rect);
        const QGraphicsTextItem* title = findTitle(chart());
        if (title == nullptr)
            return;
        const QRectF frame = title->mapRectToScene(title->boundingRect()).adjusted(-6.0, -1.0, 6.0, 1.0);
        painter->save();
        painter->setPen(QPen(titleColour, 1.5));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(frame);
        painter->restore();
    }

private:
    static const QGraphicsTextItem* findTitle(const QGraphicsItem* parent)
    {
        for (const QGraphicsItem* child : parent->childItems()) {
            const auto* text = dynamic_cast<const QGraphicsTextItem*>(child);
            if (text != nullptr && text->isVisible() && text->toPlainText() == QString::fromUtf8(chartTitle))
                return text;
            if (const QGraphicsTextItem* found = findTitle(child))
                return found;
        }
        return nullptr;
    }
};

// A range that shows every value, never an empty one.
void fitAxis(QValueAxis* axis, long double low, long double high)
{
    double from = static_cast<double>(low);
    double to = static_cast<double>(high);
    if (!(from < to)) {
        const double pad = from == 0.0 ? 1.0 : std::abs(from) * 0.1;
        from -= pad;
        to += pad;
    }
    axis->setRange(from, to);
    axis->applyNiceNumbers();
}

}  // namespace

Form7::Form7(QWidget* parent) : Window(parent), table_(13, 13)
{
    setObjectName("Form7");
    setWindowTitle(QString::fromUtf8("Vypočtené hodnoty, pracovní diagram průřezu"));
    setFixedSize(580, 470);

    table_.setDefaultColumnWidth(38);
    table_.setLeft(7);
    table_.setTop(8);
    table_.setWidth(531);
    table_.setHeight(340);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(6, 6, 568, 458);

    auto* tablePage = new QWidget;
    tablePage->setObjectName("TabSheet1");
    StringGrid1 = new GridView(&table_, tablePage);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setShowGrid(true);
    StringGrid1->setItemDelegate(new WideGridLines(StringGrid1));
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont gridFont = StringGrid1->font();
    gridFont.setPointSize(7);
    StringGrid1->setFont(gridFont);
    StringGrid1->move(table_.left(), table_.top());
    StringGrid1->syncFromTable();
    Button1 = new QPushButton(QString::fromUtf8("Zápis do souboru"), tablePage);
    Button1->setObjectName("Button1");
    Button1->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    Button1->setGeometry(372, 372, 170, 34);

    auto* chartPage = new QWidget;
    chartPage->setObjectName("TabSheet2");
    chart_ = new QChart;
    chart_->setTitle(QString::fromUtf8(chartTitle));
    QFont titleFont = chart_->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSize(11);
    chart_->setTitleFont(titleFont);
    chart_->setTitleBrush(titleColour);
    chart_->legend()->hide();
    chart_->setBackgroundRoundness(0.0);
    chart_->setDropShadowEnabled(false);
    QLinearGradient background(0.0, 0.0, 0.0, 1.0);
    background.setCoordinateMode(QGradient::ObjectBoundingMode);
    background.setColorAt(0.0, QColor(255, 255, 204));  // light yellow
    background.setColorAt(1.0, QColor(173, 216, 255));  // light blue
    chart_->setBackgroundBrush(background);
    chart_->setPlotAreaBackgroundBrush(QColor(192, 192, 192));  // grey back wall
    chart_->setPlotAreaBackgroundVisible(true);
    curvatureAxis_ = new QValueAxis;
    curvatureAxis_->setTitleText(QString::fromUtf8("Křivost [ m-1 ]"));
    momentAxis_ = new QValueAxis;
    momentAxis_->setTitleText(QString::fromUtf8("Moment [ MNm ]"));
    for (QValueAxis* axis : {curvatureAxis_, momentAxis_}) {
        axis->setGridLineColor(QColor(232, 232, 232));
        axis->setLabelFormat("%g");
    }
    chart_->addAxis(curvatureAxis_, Qt::AlignBottom);
    chart_->addAxis(momentAxis_, Qt::AlignLeft);
    Chart1 = new FramedTitleChartView(chart_, chartPage);
    Chart1->setObjectName("Chart1");
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setGeometry(4, 4, 554, 360);
    BitBtn1 = new QPushButton("OK", chartPage);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setGeometry(442, 376, 100, 34);

    PageControl1->addTab(tablePage, QString::fromUtf8("                Přehled vypočtených hodnot                   "));
    PageControl1->addTab(chartPage,
                         QString::fromUtf8("                          Pracovní diagram průřezu                         "));
    PageControl1->setCurrentIndex(0);

    connect(PageControl1, &QTabWidget::currentChanged, this, &Form7::PageControl1Change);
    connect(Button1, &QPushButton::clicked, this, &Form7::Button1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Form7::BitBtn1Click);
}

void Form7::syncTable()
{
    StringGrid1->syncFromTable();
}

void Form7::showResults()
{
    syncTable();
    show();
    raise();
    activateWindow();
}

void Form7::PageControl1Change(int)
{
    guarded([&] {
        if (series_ != nullptr) {
            chart_->removeSeries(series_);
            delete series_;
        }
        series_ = new QLineSeries;
        series_->setObjectName("Series1");
        series_->setPen(QPen(Qt::red, 2.0));
        chart_->addSeries(series_);
        series_->attachAxis(curvatureAxis_);
        series_->attachAxis(momentAxis_);

        curve_.clear();
        const char separator = localeDecimalSeparator();
        try {
            for (int row = 1; row <= table_.rowCount() - 2; ++row) {
                const long double x = readNumber(table_, 0, row, separator);
                const long double y = readNumber(table_, 1, row, separator);
                curve_.add(x, y, colourRed);
            }
        } catch (...) {
            showCurve();  // the points added so far stay
            throw;
        }
        showCurve();
    });
}

void Form7::showCurve()
{
    QList<QPointF> points;
    long double xLow = 0.0L, xHigh = 0.0L, yLow = 0.0L, yHigh = 0.0L;
    for (const SeriesPoint& point : curve_.points()) {
        points << QPointF(static_cast<double>(point.x), static_cast<double>(point.y));
        if (points.size() == 1) {
            xLow = xHigh = point.x;
            yLow = yHigh = point.y;
        }
        xLow = std::min(xLow, point.x);
        xHigh = std::max(xHigh, point.x);
        yLow = std::min(yLow, point.y);
        yHigh = std::max(yHigh, point.y);
    }
    series_->replace(points);
    fitAxis(curvatureAxis_, xLow, xHigh);
    fitAxis(momentAxis_, yLow, yHigh);
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
