#include "ui/widgets/Charts.h"

#include "ui/widgets/Handlers.h"
#include "ui/widgets/UserFiles.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgGenerator>

#include <QChart>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace prurez {

QChart* curveChart(const QString& title, const QColor& top, const QColor& bottom, const QString& momentTitle)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->hide();
    QLinearGradient background(0.0, 0.0, 0.0, 1.0);
    background.setCoordinateMode(QGradient::ObjectBoundingMode);
    background.setColorAt(0.0, top);
    background.setColorAt(1.0, bottom);
    chart->setBackgroundBrush(background);
    chart->setBackgroundRoundness(0.0);
    chart->setPlotAreaBackgroundVisible(false);
    // Axis numbers with the decimal separator of the locale, like every number shown.
    chart->setLocale(QLocale::system());
    chart->setLocalizeNumbers(true);
    auto* curvature = new QValueAxis;
    curvature->setTitleText("Křivost [ m-1 ]");
    auto* moment = new QValueAxis;
    moment->setTitleText(momentTitle);
    chart->addAxis(curvature, Qt::AlignBottom);
    chart->addAxis(moment, Qt::AlignLeft);
    return chart;
}

void Extent::include(double value)
{
    if (!std::isfinite(value))
        return;
    low = empty ? value : std::min(low, value);
    high = empty ? value : std::max(high, value);
    empty = false;
}

void setAxisRange(QValueAxis* axis, const Extent& extent, AxisRange range)
{
    if (axis == nullptr)
        return;
    double low = extent.low;
    double high = extent.high;
    // A single value (or none) gets room around it.
    const double pad = low == 0.0 ? 1.0 : std::abs(low) * 0.1;
    switch (range) {
    case AxisRange::WithOrigin: {
        if (high <= low)
            high = low + 1.0;
        const double margin = (high - low) * 0.05;
        axis->setRange(low == 0.0 ? 0.0 : low - margin, high + margin);
        axis->setTickCount(6);
        break;
    }
    case AxisRange::Tight:
        if (!(low < high)) {
            low -= pad;
            high += pad;
        }
        axis->setRange(low, high);
        break;
    case AxisRange::Padded: {
        const double margin = high > low ? (high - low) * 0.05 : pad;
        axis->setRange(low - margin, high + margin);
        break;
    }
    }
    axis->applyNiceNumbers();
}

QList<QLineSeries*> showCurves(QChart* chart, std::initializer_list<const LineSeries*> curves, AxisRange range)
{
    return showCurves(chart, std::vector<const LineSeries*>(curves), range);
}

QList<QLineSeries*> showCurves(QChart* chart, const std::vector<const LineSeries*>& curves, AxisRange range)
{
    chart->zoomReset();  // new curves are shown whole
    chart->removeAllSeries();
    auto* xAxis = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).value(0));
    auto* yAxis = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    Extent xExtent, yExtent;
    if (range == AxisRange::WithOrigin) {
        xExtent.include(0.0);
        yExtent.include(0.0);
    }
    QList<QLineSeries*> shown;
    for (const LineSeries* curve : curves) {
        auto* series = new QLineSeries;
        std::uint32_t colour = colourRed;
        for (const SeriesPoint& point : curve->points()) {
            const double x = static_cast<double>(point.x);
            const double y = static_cast<double>(point.y);
            series->append(x, y);
            colour = point.colour;
            xExtent.include(x);
            yExtent.include(y);
        }
        QPen pen(QColor::fromRgb(colour));
        pen.setWidth(2);
        series->setPen(pen);
        chart->addSeries(series);
        if (xAxis != nullptr)
            series->attachAxis(xAxis);
        if (yAxis != nullptr)
            series->attachAxis(yAxis);
        shown << series;
    }
    setAxisRange(xAxis, xExtent, range);
    setAxisRange(yAxis, yExtent, range);
    return shown;
}

ChartView::ChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent)
{
    setRubberBand(QChartView::RectangleRubberBand);
    saveAction_ = new QAction(QString::fromUtf8("Uložit obrázek…"), this);
    saveAction_->setObjectName("SavePictureAction");
    connect(saveAction_, &QAction::triggered, this, &ChartView::askAndSavePicture);
    copyAction_ = new QAction(QString::fromUtf8("Kopírovat obrázek"), this);
    copyAction_->setObjectName("CopyPictureAction");
    connect(copyAction_, &QAction::triggered, this, &ChartView::copyPicture);
    wholeChartAction_ = new QAction(QString::fromUtf8("Zobrazit celý graf"), this);
    wholeChartAction_->setObjectName("WholeChartAction");
    connect(wholeChartAction_, &QAction::triggered, this, [this] { this->chart()->zoomReset(); });
}

namespace {

// The space between the chart's axis title and the legend, and the legend's left edge
// [pixels].
constexpr qreal legendGap = 6.0;
constexpr qreal legendLeft = 12.0;

}  // namespace

void ChartView::setLegend(const QList<LegendLine>& lines)
{
    if (legend_.isEmpty()) {
        marginsWithoutLegend_ = chart()->margins();
        connect(chart(), &QChart::geometryChanged, this, &ChartView::placeLegend);
    }
    qDeleteAll(legend_);
    legend_.clear();
    QFont font = this->font();
    font.setBold(true);
    for (const LegendLine& line : lines) {
        auto* item = new QGraphicsSimpleTextItem(line.text, chart());
        item->setFont(font);
        item->setBrush(line.colour);
        legend_ << item;
    }
    placeLegend();
}

void ChartView::setLegendInRows(bool inRows)
{
    legendInRows_ = inRows;
    if (!legend_.isEmpty())
        placeLegend();
}

void ChartView::setLegendLineShown(int index, bool shown)
{
    if (index < 0 || index >= legend_.size())
        return;
    legend_[index]->setVisible(shown);
    placeLegend();
}

QStringList ChartView::shownLegend() const
{
    QStringList texts;
    for (const QGraphicsSimpleTextItem* item : legend_)
        if (item->isVisible())
            texts << item->text();
    return texts;
}

void ChartView::placeLegend()
{
    QList<QGraphicsSimpleTextItem*> shown;
    for (QGraphicsSimpleTextItem* item : legend_)
        if (item->isVisible())
            shown << item;
    const qreal lineHeight = QFontMetricsF(shown.isEmpty() ? font() : shown.front()->font()).lineSpacing() + 2.0;
    // Where each line goes, counted in rows from the legend's top.
    const qreal width = chart()->size().width() - 2.0 * legendLeft;
    const qreal gap = 3.0 * lineHeight;
    QList<QPointF> places;
    qreal x = 0.0;
    int row = 0;
    for (QGraphicsSimpleTextItem* item : shown) {
        const qreal itemWidth = item->boundingRect().width();
        if (!places.isEmpty() && (!legendInRows_ || x + itemWidth > width)) {
            ++row;
            x = 0.0;
        }
        places << QPointF(x, row);
        x += itemWidth + gap;
    }
    const int rows = shown.isEmpty() ? 0 : row + 1;
    const int room = shown.isEmpty() ? 0 : static_cast<int>(std::ceil(legendGap + rows * lineHeight));
    QMargins margins = marginsWithoutLegend_;
    margins.setBottom(margins.bottom() + room);
    if (chart()->margins() != margins)
        chart()->setMargins(margins);
    const qreal top = chart()->size().height() - marginsWithoutLegend_.bottom() - room + legendGap;
    for (int i = 0; i < shown.size(); ++i)
        shown[i]->setPos(legendLeft + places[i].x(), top + places[i].y() * lineHeight);
}

QImage ChartView::picture(int scale) const
{
    const QSize shown = viewport()->size();
    QImage image(shown * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    // Marked with the resolution that shows it at the size of the view.
    const int screenDotsPerMeter = static_cast<int>(std::lround(logicalDpiX() / 0.0254));
    image.setDotsPerMeterX(screenDotsPerMeter * scale);
    image.setDotsPerMeterY(screenDotsPerMeter * scale);
    QPainter painter(&image);
    painter.setRenderHints(renderHints());
    const_cast<ChartView*>(this)->render(&painter, QRectF(image.rect()), QRect(QPoint(0, 0), shown));
    return image;
}

void ChartView::savePicture(const QString& fileName)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (QFileInfo(fileName).suffix().compare("svg", Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size());
        svg.setViewBox(rect());
        svg.setTitle(chart()->title());
        QPainter painter(&svg);
        render(&painter);
    } else if (!picture(2).save(&buffer, "PNG")) {
        throw Failure(QString::fromUtf8("Soubor „%1“ se nepodařilo uložit: obrázek nelze vytvořit.")
                          .arg(fileName)
                          .toStdString());
    }
    saveBytes(fileName, bytes);
}

void ChartView::copyPicture() const { QApplication::clipboard()->setImage(picture()); }

void ChartView::askAndSavePicture()
{
    const QString name = askSaveFileName(this, QString::fromUtf8("Uložit obrázek grafu"),
                                         QString::fromUtf8("Obrázek PNG (*.png);;Obrázek SVG (*.svg)"));
    if (!name.isEmpty())
        guarded([&] { savePicture(name); });
}

void ChartView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(saveAction_);
    menu.addAction(copyAction_);
    if (chart()->isZoomed()) {
        menu.addSeparator();
        menu.addAction(wholeChartAction_);
    }
    menu.exec(event->globalPos());
}

// The right button opens the menu; it does not zoom out as in a plain chart view.
void ChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void ChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        chart()->zoomReset();
        event->accept();
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}

FramedTitleChartView::FramedTitleChartView(QChart* chart, const QColor& frameColour, qreal frameWidth,
                                           QWidget* parent)
    : ChartView(chart, parent), colour_(frameColour), width_(frameWidth)
{
}

void FramedTitleChartView::setTitleMargins(qreal horizontal, qreal vertical)
{
    horizontalMargin_ = horizontal;
    verticalMargin_ = vertical;
}

// The chart lays its title out when first shown; the frame then follows it.
void FramedTitleChartView::paintEvent(QPaintEvent* event)
{
    if (frame_ == nullptr)
        frameTitle();
    ChartView::paintEvent(event);
}

void FramedTitleChartView::frameTitle()
{
    for (QGraphicsItem* item : scene()->items()) {
        auto* text = dynamic_cast<QGraphicsTextItem*>(item);
        if (text == nullptr || !text->isVisible() || text->toPlainText() != chart()->title())
            continue;
        const QRectF place =
            text->boundingRect().adjusted(-horizontalMargin_, -verticalMargin_, horizontalMargin_, verticalMargin_);
        frame_ = new QGraphicsRectItem(place, text);
        frame_->setFlag(QGraphicsItem::ItemStacksBehindParent);
        frame_->setBrush(fill_);
        frame_->setPen(QPen(colour_, width_));
        return;
    }
}

}  // namespace prurez
