#pragma once
// Charts of curves over curvature and moment: the chart itself, a view that frames
// the chart's title, and the curves shown on it.

#include "flows/LineSeries.h"

#include <QBrush>
#include <QChartView>
#include <QColor>
#include <QList>
#include <QMargins>
#include <QStringList>

#include <initializer_list>
#include <vector>

class QAction;
class QChart;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QImage;
class QLineSeries;
class QValueAxis;

namespace prurez {

// A chart titled `title` over a curvature axis (bottom) and a moment axis (left,
// titled `momentTitle`), without legend, on a vertical gradient from `top` to
// `bottom`, the plot area without a background of its own.
QChart* curveChart(const QString& title, const QColor& top, const QColor& bottom, const QString& momentTitle);

// The smallest and the largest of the finite values an axis shows.
struct Extent {
    double low = 0.0;
    double high = 0.0;
    bool empty = true;

    void include(double value);
};

// How an axis's range is set from the values it shows.
enum class AxisRange {
    // From the origin (or below it) to the largest value, with a margin, six ticks.
    WithOrigin,
    // From the smallest value of the curves to the largest.
    Tight,
    // From the smallest to the largest, widened by 5 % of the span each way.
    Padded,
};

// The axis's range for the values of `extent`, never empty, in nice numbers.
void setAxisRange(QValueAxis* axis, const Extent& extent, AxisRange range);

// Shows line series on a chart over its two value axes (replacing what it showed),
// each curve in the colour of its points; returns the series, one a curve.
QList<QLineSeries*> showCurves(QChart* chart, std::initializer_list<const LineSeries*> curves,
                               AxisRange range = AxisRange::WithOrigin);
QList<QLineSeries*> showCurves(QChart* chart, const std::vector<const LineSeries*>& curves,
                               AxisRange range = AxisRange::WithOrigin);

// A line of a chart's legend: its text, drawn bold in the colour of its curve.
struct LegendLine {
    QString text;
    QColor colour;
};

// A chart view the user can take the chart from and look closer into: its context
// menu saves the picture (PNG or SVG) or copies it to the clipboard; dragging a
// rectangle zooms into it, a double click returns to the whole chart.
class ChartView : public QChartView {
    Q_OBJECT
public:
    ChartView(QChart* chart, QWidget* parent);

    // The legend: lines under the plot area, inside the chart, so that every picture
    // of it says which curve is which. All lines are shown until hidden.
    void setLegend(const QList<LegendLine>& lines);
    // Shows or hides a line of the legend; a hidden line leaves no room.
    void setLegendLineShown(int index, bool shown);
    // The lines side by side as far as the chart is wide, then on the next row (many
    // short lines); one under another unless set.
    void setLegendInRows(bool inRows);
    // The texts of the legend's lines shown, from the top.
    QStringList shownLegend() const;

    // The chart as the view shows it, `scale` times as large in each direction.
    QImage picture(int scale = 1) const;
    // Saves the picture: SVG when the name ends with ".svg", otherwise PNG at twice
    // the size the view shows. Fails with a Czech message when the file cannot be
    // written.
    void savePicture(const QString& fileName);
    // Copies the picture at the size the view shows.
    void copyPicture() const;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void askAndSavePicture();
    // Makes room for the lines shown under the plot area and places them there.
    void placeLegend();

    QList<QGraphicsSimpleTextItem*> legend_;
    bool legendInRows_ = false;
    QMargins marginsWithoutLegend_;
    QAction* saveAction_;
    QAction* copyAction_;
    QAction* wholeChartAction_;
};

// A chart view that draws a frame around the chart's title once the chart has laid
// the title out.
class FramedTitleChartView : public ChartView {
public:
    FramedTitleChartView(QChart* chart, const QColor& frameColour, qreal frameWidth, QWidget* parent);

    // What the frame holds behind the title (nothing unless set).
    void setTitleFill(const QBrush& fill) { fill_ = fill; }
    // The space between the title's text and the frame (6 × 0 unless set).
    void setTitleMargins(qreal horizontal, qreal vertical);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void frameTitle();

    QColor colour_;
    qreal width_;
    QBrush fill_ = Qt::NoBrush;
    qreal horizontalMargin_ = 6.0;
    qreal verticalMargin_ = 0.0;
    QGraphicsRectItem* frame_ = nullptr;
};

}  // namespace prurez
