#pragma once
// The section results window: the results table, the working diagram drawn from it
// and the output file.

#include "flows/CurveFile.h"
#include "flows/GridTable.h"
#include "flows/LineSeries.h"
#include "ui/widgets/Window.h"

class QChart;
class QChartView;
class QPushButton;
class QTabWidget;

namespace prurez {

class GridView;
struct SectionRunReport;

class Form7 : public Window {
    Q_OBJECT
public:
    explicit Form7(QWidget* parent = nullptr);

    // The results table the section analyses fill.
    GridTable& table() { return table_; }
    // Shows the table as a run left it: its cells and counts; the column width and
    // position of its kind once the header was written; the size of its rows once the
    // run ended with rows to show.
    void syncTable(const SectionRunReport& report);
    // The end of a run: the chart rebuilt from the table as a page change rebuilds it,
    // the window shown on top.
    void showResults();
    // The points of the current curve (empty before the first page change or run).
    const LineSeries& curve() const { return curve_; }
    bool outputFileOpen() const { return file_.isOpen(); }

public slots:
    void PageControl1Change(int index);
    void Button1Click();
    void BitBtn1Click();
    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showCurve();

    GridTable table_;
    LineSeries curve_;
    CurveFile file_;
    QTabWidget* PageControl1;
    GridView* StringGrid1;
    QPushButton* Button1;
    QChartView* Chart1;
    QChart* chart_;
    QPushButton* BitBtn1;
};

}  // namespace prurez
