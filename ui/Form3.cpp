#include "ui/Form3.h"

#include "ui/Windows.h"
#include "ui/Form2.h"
#include "ui/Form4.h"
#include "flows/InverseFlow.h"
#include "flows/InverseMessages.h"
#include "ui/widgets/BackgroundWork.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/GridView.h"
#include "ui/widgets/Handlers.h"

#include <QProgressBar>
#include <QPushButton>

namespace prurez {

Form3::Form3(QWidget* parent) : Window(parent)
{
    setObjectName("Form3");
    setWindowTitle("Kombinace vstupních parametrů výpočtu");
    setOpeningSize(QSize(560, 590));

    label("Tabulka kombinací vstupních parametrů výpočtu", this, 12, 10, "Label1");

    StringGrid1 = gridView("StringGrid1", &combinationTable(), this, QRect(12, 32, 8 * 63 + 22, 460), 63, 24);
    StringGrid1->setWideGridLines();
    StringGrid1->setEditableInPlace(true);
    StringGrid1->setHeaderUnits({{"a", "-"}, {"b", "-"}});

    StringGrid2 = new GridView(&valueTable(), this);
    StringGrid2->setObjectName("StringGrid2");
    StringGrid2->move(12, 32);
    StringGrid2->hide();  // never shown

    Button1 = new QPushButton("Výpočet hodnot diagramu 'moment - křivost' pro jednotlivé kombinace parametrů", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(12, 502, 8 * 63 + 22, 32);
    connect(Button1, &QPushButton::clicked, this, &Form3::Button1Click);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setGeometry(12, 548, 8 * 63 + 22 - 108, 20);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();  // until the computation starts

    // "Přerušit" beside the bar while the moments are computed (also Esc, or closing
    // the window).
    CancelButton = new QPushButton("Přerušit", this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setGeometry(ProgressBar1->x() + ProgressBar1->width() + 8, 543, 100, 30);
    CancelButton->hide();

    // Enlarged, the table (its columns too) grows; the button and the bar stay below it.
    followGrowth(StringGrid1, Qt::RightEdge | Qt::BottomEdge);
    StringGrid1->setColumnsShareGrowth(true);
    followGrowth(Button1, Qt::RightEdge | Qt::TopEdge | Qt::BottomEdge);
    followGrowth(ProgressBar1, Qt::RightEdge | Qt::TopEdge | Qt::BottomEdge);
    followGrowth(CancelButton, Qt::LeftEdge | Qt::RightEdge | Qt::TopEdge | Qt::BottomEdge);
}

GridTable& Form3::combinationTable() { return inverseTables().combinations; }

GridTable& Form3::valueTable() { return inverseTables().values; }

void Form3::syncTables()
{
    StringGrid1->syncFromTable();
    StringGrid2->syncFromTable();
}

void Form3::Button1Click()
{
    if (backgroundWorkRunning())
        return;
    Form2* form2 = windows().form2;
    Form4* form4 = windows().form4;
    // The moments go into a table of their own: a cancelled run leaves the result
    // window's table as it was.
    GridTable computed = form4->momentTable().blankCopy();
    const BeamTexts beam = form2->beamTexts();
    const GridTable& diagram = form2->testDiagram();
    const GridTable& combinations = combinationTable();
    const char separator = localeDecimalSeparator();
    const bool exact = form2->exactEquilibrium();
    // Whether the first row started: a bad field of the input window or a refusal
    // fails before, and then the bar goes and the earlier table stays.
    std::atomic<bool> started{false};
    bool cancelled = false;
    const bool finished = guarded([&] {
        try {
            showingFailedText(form2->sources(beam), [&] {
                runInBackground(this, WorkDisplay{ProgressBar1, CancelButton}, [&](WorkProgress& progress) {
                    MomentRunControl control;
                    control.cancel = &progress.cancel;
                    control.scan.exactEquilibrium = exact;
                    progress.total = combinations.rowCount() - 1;
                    control.progress = [&](int row) {
                        progress.done = row;
                        started = true;
                    };
                    computeCombinationMoments(beam, diagram, combinations, computed, separator, control);
                });
            });
        } catch (const Failure& failure) {
            // What was written before a failure stays; a cancelled run writes nothing,
            // and neither does a failure before the table was sized (a bad field, a
            // refusal): the earlier table stays as it was.
            if (!started)
                ProgressBar1->hide();
            if (failure.message() == computationCancelledMessage) {
                cancelled = true;
                return;
            }
            if (started)
                form4->momentTable() = std::move(computed);
            throw;
        }
        form4->momentTable() = std::move(computed);
    });
    form4->syncMomentTable();
    if (cancelled) {
        inform(computationCancelledMessage);
        return;  // this window stays, with the bar where it stopped
    }
    if (!finished)
        return;
    form4->forgetBestFit();
    hide();
    form4->show();
    ProgressBar1->hide();
    systemBeep();
}

}  // namespace prurez
