#pragma once
// The section results window: the results table, the working diagram drawn from it
// and the output file.

#include "common/GridTable.h"
#include "common/LineSeries.h"
#include "section/CurveFile.h"
#include "widgets/Window.h"

class QChart;
class QChartView;
class QPushButton;
class QTabWidget;

namespace prurez {

class GridView;

class Form7 : public Window {
    Q_OBJECT
public:
    explicit Form7(QWidget* parent = nullptr);

    // The results table the section analyses fill.
    GridTable& table() { return table_; }
    // Shows the table as it stands (counts, cells, geometry).
    void syncTable();
    // The end of a run: the table shown, the window shown on top.
    void showResults();
    // The points of the current curve (empty before the first page change).
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
