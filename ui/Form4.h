#pragma once
// The end of the inverse analysis: the moments of the combinations, their deviations
// from the test, the best-fitting combination, its chart and the hand-over.

#include "flows/NumberTables.h"
#include "ui/widgets/Window.h"

#include <array>

class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace prurez {

class ChartView;
class GridView;

class Form4 : public Window {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);

    // The combination moment table (StringGrid1) and the deviation list (StringGrid2).
    MomentTable& momentTable();
    DeviationList& deviationList();
    void syncMomentTable();
    // New combination moments (the session forgot the earlier ones' deviations, best fit
    // and refinement): the deviation list, the best fit's texts and its chart are gone.
    void forgetBestFit();

public slots:
    void PageControl1Change();
    void BitBtn2Click();
    void Button1Click();
    void BitBtn1Click();
    void Button2Click();
    // "Zpřesnit nalezenou kombinaci": the best fit refined beyond the grid.
    void refineClick();
    // "Uložit zprávu PDF…": the report of the inverse analysis as it stands.
    void SaveReportClick();

private:
    // The refined values, both summed deviations and the warnings beside the best fit,
    // and the third curve, when the session holds a refinement.
    void showRefinement();
    void showComparison();
    // Label3 … Label20 and the refined values beside them, in one panel.
    void buildResults(QWidget* page);
    // Values longer than the results panel holds (exponents, many digits): the window
    // widened until they show whole.
    void fitResults();
    // Shows or hides Label3 … Label20 and the two buttons below them.
    void setResultsShown(bool shown);

    QTabWidget* PageControl1;
    GridView* StringGrid1;
    GridView* StringGrid2;
    QPushButton* BitBtn2;
    QProgressBar* deviationProgress;  // while the deviations are computed
    QPushButton* deviationCancel;     // "Přerušit"
    QPushButton* Button1;
    QPushButton* BitBtn3;
    QPushButton* Button2;
    QWidget* resultsPanel_;
    std::array<QLabel*, 18> resultLabels_;  // Label3 … Label20
    QPushButton* refineButton;
    QProgressBar* refineProgress;
    QPushButton* refineCancel;
    QLabel* refinedHeading;
    std::array<QLabel*, 7> refinedLabels_;  // beside Label14 … Label20
    QLabel* refinedSumsCaption;  // "Součet odchylek"
    QLabel* gridSum;             // of the best combination, under its values
    QLabel* refinedSum;          // of the refined values, under them
    QLabel* refinedWarnings;
    ChartView* Chart1;
    QPushButton* reportButton_;
};

}  // namespace prurez
