#pragma once
// The results of a test series: each specimen's best combination and refined values,
// the joint values of the series, the statistics with the characteristic values, and a
// chart of every test with the joint fit; the chosen values go on into the section
// input window.

#include "ui/widgets/Window.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace prurez {

class ChartView;
class GridView;
struct SeriesInput;

class SeriesWindow : public Window {
    Q_OBJECT
public:
    explicit SeriesWindow(QWidget* parent = nullptr);

    // Shows the window and fits the series beside it ("Přerušit" stops it); then the
    // tables and the chart show it. A failure is told (run inside guarded) and a stop
    // too; both leave the series as it was, and the window hides again, so that the
    // input window stays. True when the series was fitted.
    bool run(const SeriesInput& input);

public slots:
    // "Pokračuj ve výpočtu": the chosen values (joint or a specimen's) into the section
    // input window, as the best fit of one test goes there.
    void continueClick();
    void endClick();
    void backClick();
    void showFittedCurves(bool shown);

private:
    void showSeries();
    void showChart();

    QTabWidget* pages_;
    GridView* specimenTable_;
    GridView* refinedTable_;
    QLabel* jointGridBest_;
    GridView* jointTable_;
    QLabel* jointNotes_;
    GridView* statisticsTable_;
    QLabel* statisticsNotes_;
    ChartView* chart_;
    QCheckBox* fittedCurvesBox_;
    QProgressBar* progress_;
    QPushButton* cancelButton_;
    QComboBox* carriedFit_;
    QPushButton* continueButton_;
    QPushButton* endButton_;
    QPushButton* backButton_;
};

}  // namespace prurez
