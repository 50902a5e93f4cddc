#include "ui/widgets/Charts.h"

#include <QChart>
#include <QGraphicsRectItem>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <memory>

namespace {

using prurez::AxisRange;
using prurez::LineSeries;

QValueAxis* axis(QChart* chart, Qt::Orientation orientation)
{
    return qobject_cast<QValueAxis*>(chart->axes(orientation).value(0));
}

TEST(CurveChart, CurvesReplaceEachOtherInTheirOwnColoursAndTheAxesFollowTheRule)
{
    std::unique_ptr<QChart> chart(prurez::curveChart("Titulek", Qt::white, Qt::gray, "Moment [ kNm ]"));
    EXPECT_EQ(axis(chart.get(), Qt::Vertical)->titleText(), "Moment [ kNm ]");
    EXPECT_EQ(axis(chart.get(), Qt::Horizontal)->titleText(), QString::fromUtf8("Křivost [ m-1 ]"));
    EXPECT_FALSE(chart->legend()->isVisible());

    LineSeries test, fit;
    test.add(2.0L, 10.0L, prurez::colourRed);
    test.add(4.0L, 20.0L, prurez::colourRed);
    fit.add(3.0L, 30.0L, prurez::colourBlue);
    QList<QLineSeries*> shown = prurez::showCurves(chart.get(), {&test, &fit});
    ASSERT_EQ(chart->series().size(), 2);
    EXPECT_EQ(shown[0]->pen().color(), QColor(255, 0, 0));
    EXPECT_EQ(shown[1]->pen().color(), QColor(0, 0, 255));
    EXPECT_EQ(shown[1]->attachedAxes().size(), 2);
    // From the origin, past the largest value.
    QValueAxis* x = axis(chart.get(), Qt::Horizontal);
    QValueAxis* y = axis(chart.get(), Qt::Vertical);
    EXPECT_EQ(x->min(), 0.0);
    EXPECT_GT(x->max(), 4.0);
    EXPECT_EQ(y->min(), 0.0);
    EXPECT_GT(y->max(), 30.0);

    // Tight: from the smallest value, the origin left out.
    shown = prurez::showCurves(chart.get(), {&test}, AxisRange::Tight);
    ASSERT_EQ(chart->series().size(), 1);
    EXPECT_GT(x->min(), 0.0);
    EXPECT_LE(x->min(), 2.0);
    EXPECT_GE(x->max(), 4.0);
    EXPECT_GT(y->min(), 0.0);
    EXPECT_LE(y->min(), 10.0);

    // One point or none never makes an empty range.
    LineSeries single;
    single.add(5.0L, 5.0L, prurez::colourRed);
    prurez::showCurves(chart.get(), {&single}, AxisRange::Tight);
    EXPECT_LT(x->min(), 5.0);
    EXPECT_GT(x->max(), 5.0);
    LineSeries none;
    prurez::showCurves(chart.get(), {&none}, AxisRange::Tight);
    EXPECT_LT(y->min(), 0.0);
    EXPECT_GT(y->max(), 0.0);
    prurez::showCurves(chart.get(), {&none});
    EXPECT_EQ(y->min(), 0.0);
    EXPECT_GT(y->max(), 0.0);
}

TEST(FramedTitleChartView, FramesTheTitleOnceItIsLaidOut)
{
    prurez::FramedTitleChartView view(prurez::curveChart("RÁMOVANÝ TITULEK", Qt::white, Qt::gray, "Moment"),
                                      QColor(0, 128, 0), 2.0, nullptr);
    view.setTitleFill(Qt::white);
    view.setTitleMargins(6.0, 1.0);
    view.resize(400, 300);
    view.grab();  // paints

    const QGraphicsTextItem* title = nullptr;
    const QGraphicsRectItem* frame = nullptr;
    for (QGraphicsItem* item : view.scene()->items()) {
        if (auto* rect = dynamic_cast<QGraphicsRectItem*>(item);
            rect != nullptr && dynamic_cast<QGraphicsTextItem*>(rect->parentItem()) != nullptr) {
            frame = rect;
            title = static_cast<const QGraphicsTextItem*>(rect->parentItem());
        }
    }
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(title->toPlainText(), QString::fromUtf8("RÁMOVANÝ TITULEK"));
    EXPECT_EQ(frame->pen().color(), QColor(0, 128, 0));
    EXPECT_EQ(frame->pen().widthF(), 2.0);
    EXPECT_EQ(frame->brush().color(), QColor(Qt::white));
    EXPECT_EQ(frame->rect(), title->boundingRect().adjusted(-6.0, -1.0, 6.0, 1.0));
    EXPECT_TRUE(frame->flags() & QGraphicsItem::ItemStacksBehindParent);

    view.grab();  // a second paint adds no second frame
    int frames = 0;
    for (QGraphicsItem* item : view.scene()->items())
        frames += dynamic_cast<QGraphicsRectItem*>(item) != nullptr && item->parentItem() == title;
    EXPECT_EQ(frames, 1);
}

}  // namespace
