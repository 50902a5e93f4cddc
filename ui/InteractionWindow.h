#pragma once
// "Interakční diagram N–M": the N–M interaction diagram of the section in the section
// input window, as a chart (M across, N upwards with compression up) and a table, both
// with the usual copy and export. Reached from the section input window, which hands it
// its texts; the computation runs beside the windows with progress and "Přerušit".

#include "flows/GridTable.h"
#include "flows/SectionFlow.h"
#include "mechanics/Interaction.h"
#include "ui/widgets/Window.h"

class QChart;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace prurez {

class ChartView;
class GridView;

class InteractionWindow : public Window {
    Q_OBJECT
public:
    explicit InteractionWindow(QWidget* parent = nullptr);

    // Shows the window and computes the diagram of the texts (run inside guarded): a
    // text that is not a number or a refused input fails before anything changes.
    void computeFor(const SectionTexts& texts);

    const GridTable& table() const { return table_; }
    const InteractionDiagram& diagram() const { return diagram_; }
    QChart* chart() const { return chart_; }

public slots:
    // "Vypočítat": the diagram of the section input window's texts as they now stand.
    void computeClick();

private:
    void showDiagram();

    InteractionDiagram diagram_;
    GridTable table_{4, 1};
    QChart* chart_;
    ChartView* chartView_;
    GridView* grid_;
    QLineEdit* pointsEdit_;
    QPushButton* computeButton_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QLabel* status_;
};

}  // namespace prurez
