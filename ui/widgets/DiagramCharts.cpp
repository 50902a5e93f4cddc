#include "ui/widgets/DiagramCharts.h"

#include "common/FixedPoint.h"
#include "common/NumberText.h"
#include "ui/widgets/Charts.h"
#include "ui/widgets/Handlers.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace prurez {

namespace {

// The chart's value axes across (bottom) and upwards (left), made at its first drawing
// and kept (a chart does not forget axes it has laid out reliably), its series removed.
std::pair<QValueAxis*, QValueAxis*> clearedAxes(QChart* chart)
{
    chart->removeAllSeries();
    auto* across = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).value(0));
    auto* upwards = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    if (across == nullptr) {
        across = new QValueAxis;
        chart->addAxis(across, Qt::AlignBottom);
    }
    if (upwards == nullptr) {
        upwards = new QValueAxis;
        chart->addAxis(upwards, Qt::AlignLeft);
    }
    return {across, upwards};
}

void attach(QChart* chart, QAbstractSeries* series)
{
    chart->addSeries(series);
    for (QAbstractAxis* axis : chart->axes())
        series->attachAxis(axis);
}

QLineSeries* line(const QString& name, const QColor& colour, Qt::PenStyle style = Qt::SolidLine)
{
    auto* series = new QLineSeries;
    series->setName(name);
    QPen pen(colour);
    pen.setWidth(2);
    pen.setStyle(style);
    series->setPen(pen);
    return series;
}

QLineSeries* branchSeries(const std::vector<InteractionPoint>& points, double sign, const QString& name,
                          const QColor& colour, Qt::PenStyle style, Extent& across, Extent& upwards)
{
    QLineSeries* series = line(name, colour, style);
    for (const InteractionPoint& point : points)
        if (point.hasMoment) {
            const double M = sign * static_cast<double>(point.moment * 1000.0L);
            const double N = static_cast<double>(point.N * 1000.0L);
            series->append(M, N);
            across.include(M);
            upwards.include(N);
        }
    series->setPointsVisible(true);
    return series;
}

}  // namespace

QChart* titledChart(const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    QFont font = chart->titleFont();
    font.setBold(true);
    font.setPointSize(10);
    chart->setTitleFont(font);
    chart->setTitleBrush(QColor(0, 0, 255));
    chart->setLocale(QLocale::system());
    chart->setLocalizeNumbers(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

void drawInteraction(QChart* chart, const InteractionDiagram& diagram)
{
    const auto [moment, force] = clearedAxes(chart);
    moment->setTitleText(QString::fromUtf8("Moment M [ kNm ]"));
    force->setTitleText(QString::fromUtf8("Normálová síla N [ kN ] (tlak nahoru)"));
    force->setReverse(true);  // compression, negative, upwards
    Extent across, upwards;
    attach(chart, branchSeries(diagram.positive, 1.0, QString::fromUtf8("kladný ohyb"), QColor(200, 0, 0),
                               Qt::SolidLine, across, upwards));
    if (!diagram.negative.empty())
        attach(chart, branchSeries(diagram.negative, 1.0, QString::fromUtf8("záporný ohyb"), QColor(0, 0, 200),
                                   Qt::SolidLine, across, upwards));
    else
        attach(chart, branchSeries(diagram.positive, -1.0, QString::fromUtf8("záporný ohyb (souměrný průřez)"),
                                   QColor(0, 0, 200), Qt::DashLine, across, upwards));
    setAxisRange(moment, across, AxisRange::Padded);
    setAxisRange(force, upwards, AxisRange::Padded);
    chart->legend()->setVisible(true);
}

void drawProfile(QChart* strainChart, QChart* stressChart, const DepthProfile& profile)
{
    Extent depth;
    for (long double y : profile.depth)
        depth.include(static_cast<double>(y));
    for (QChart* chart : {strainChart, stressChart}) {
        const bool strain = chart == strainChart;
        const auto [across, down] = clearedAxes(chart);
        across->setTitleText(QString::fromUtf8(strain ? "Přetvoření [ ‰ ]" : "Napětí [ MPa ]"));
        down->setTitleText(QString::fromUtf8("Hloubka [ m ]"));
        down->setReverse(true);
        Extent values;
        values.include(0.0);
        QLineSeries* concrete = line(QString::fromUtf8("beton"), QColor(200, 0, 0));
        for (size_t i = 0; i < profile.depth.size(); ++i) {
            const double v = static_cast<double>(strain ? profile.strain[i] * 1000.0L : profile.stress[i]);
            concrete->append(v, static_cast<double>(profile.depth[i]));
            values.include(v);
        }
        attach(chart, concrete);
        // The line of zero, and the bars.
        QLineSeries* zero = line(QString(), QColor(120, 120, 120));
        zero->append(0.0, depth.low);
        zero->append(0.0, depth.high);
        attach(chart, zero);
        chart->legend()->markers(zero).value(0)->setVisible(false);
        // The bars on the strain chart, on the line of the strain; their stresses are
        // of another scale than the concrete's (barsText tells them).
        const char* const names[] = {"výztuž horní", "výztuž dolní"};
        for (size_t b = 0; strain && b < profile.bars.size() && b < 2; ++b) {
            const BarInProfile& bar = profile.bars[b];
            auto* point = new QScatterSeries;
            const double v = static_cast<double>(bar.strain * 1000.0L);
            point->setName(QString::fromUtf8(names[b]));
            point->setMarkerSize(10.0);
            point->setColor(b == 0 ? QColor(0, 130, 0) : QColor(0, 0, 200));
            point->append(v, static_cast<double>(bar.depth));
            values.include(v);
            attach(chart, point);
        }
        setAxisRange(across, values, AxisRange::Padded);
        down->setRange(depth.low, depth.high);
        down->setTickCount(6);
        // The neutral axis where it lies in the section.
        const double x = static_cast<double>(profile.neutralAxis);
        if (x >= depth.low && x <= depth.high) {
            QLineSeries* axis = line(QString::fromUtf8("neutrální osa"), QColor(0, 0, 0), Qt::DashLine);
            axis->append(across->min(), x);
            axis->append(across->max(), x);
            attach(chart, axis);
        }
        chart->legend()->setVisible(true);
    }
}

QString barsText(const DepthProfile& profile, char decimalSeparator)
{
    QString text;
    const char* const names[] = {"Výztuž u horního okraje", "výztuž u dolního okraje"};
    for (size_t b = 0; b < profile.bars.size() && b < 2; ++b) {
        const BarInProfile& bar = profile.bars[b];
        text += QString::fromUtf8(b == 0 ? "" : "; ") + QString::fromUtf8(names[b]) + QString::fromUtf8(": σ = ") +
                toQt(formatNumber(std::round(bar.stress * 10.0L) / 10.0L, decimalSeparator)) +
                QString::fromUtf8(" MPa, F = ") +
                toQt(formatNumber(std::round(bar.force * 10000.0L) / 10.0L, decimalSeparator)) +
                QString::fromUtf8(" kN");
    }
    return text.isEmpty() ? text : text + ".";
}

QString profileCaption(const QString& kappa, const DepthProfile& profile, char decimalSeparator)
{
    const QString bars = barsText(profile, decimalSeparator);
    return QString::fromUtf8("křivost ") + kappa + QString::fromUtf8(" m-1, neutrální osa ") +
           toQt(formatNumber(Fixed::store(profile.neutralAxis).value(), decimalSeparator)) +
           QString::fromUtf8(" m od horního okraje; tah kladný.") + (bars.isEmpty() ? bars : " " + bars);
}

}  // namespace prurez
