#include "ui/Form3.h"

#include "ui/Windows.h"
#include "ui/Form4.h"
#include "flows/InverseFlow.h"
#include "flows/InverseMessages.h"
#include "prurez/InverseAnalysis.h"
#include "ui/widgets/BackgroundWork.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/FailedText.h"
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

CombinationTable& Form3::combinationTable() { return inverseTables().combinations; }

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
    Form4* form4 = windows().form4;
    // Whether the first row started: a bad field of the input window or a refusal
    // fails before, and then the bar goes (the session keeps the earlier table).
    std::atomic<bool> started{false};
    Completion completion = Completion::finished;
    const bool finished = guarded([&] {
        try {
            showingFailedText({}, [&] {
                runInBackground(this, WorkDisplay{ProgressBar1, CancelButton}, [&](WorkProgress& progress) {
                    RunOptions options;
                    options.progress = [&, shown = progress.callback()](long long done, long long total) {
                        started = true;
                        return shown(done, total);
                    };
                    completion = inverseSession().computeMoments(options);
                });
            });
        } catch (const Failure&) {
            if (!started)
                ProgressBar1->hide();
            throw;
        }
    });
    form4->syncMomentTable();
    if (finished && completion == Completion::cancelled) {
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
