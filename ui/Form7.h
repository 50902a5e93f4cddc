#pragma once
// The section results window: the results table, the working diagram drawn from it
// and the output file.

#include "flows/CurveFile.h"
#include "flows/GridTable.h"
#include "flows/LineSeries.h"
#include "flows/SectionFlow.h"
#include "ui/widgets/Window.h"

class QChart;
class QChartView;
class QLabel;
class QPushButton;
class QTabWidget;

namespace prurez {

class ChartView;
class GridView;

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
    // The run the table shows: its inputs and rows.
    const SectionRunReport& run() const { return run_; }
    // The table row the stress page shows: the row selected in the table when it has
    // values, otherwise the last computed one (0: none).
    int profileRow() const;

public slots:
    void PageControl1Change(int index);
    void Button1Click();
    void BitBtn1Click();
    void FormClose();
    // "Uložit zprávu PDF…": the report of the run the window shows.
    void SaveReportClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showCurve();
    void showProfile();

    GridTable table_;
    LineSeries curve_;
    CurveFile file_;
    QTabWidget* PageControl1;
    GridView* StringGrid1;
    QPushButton* Button1;
    QChartView* Chart1;
    QChart* chart_;
    QPushButton* BitBtn1;
    // The page "Průběh napětí a přetvoření" and the report.
    SectionRunReport run_;
    QLabel* profileLabel_;
    QChart* strainChart_;
    QChart* stressChart_;
    ChartView* strainView_;
    ChartView* stressView_;
    QPushButton* reportButton_;
};

}  // namespace prurez
