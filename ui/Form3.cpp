#include "ui/Form3.h"

#include "ui/Windows.h"
#include "ui/Form2.h"
#include "ui/Form4.h"
#include "flows/InverseFlow.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/GridView.h"
#include "ui/widgets/Handlers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QKeyEvent>

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
    ProgressBar1->setGeometry(12, 546, 8 * 63 + 22, 20);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();  // until the computation starts

    CancelButton = new QPushButton("Přerušit", this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setGeometry(ProgressBar1->x() + ProgressBar1->width() - 90, ProgressBar1->y() + 24, 90, 26);
    CancelButton->hide();
    connect(CancelButton, &QPushButton::clicked, this, &Form3::requestCancel);

    // Enlarged, the table (its columns too) grows; the button and the bar stay below it.
    followGrowth(StringGrid1, Qt::RightEdge | Qt::BottomEdge);
    StringGrid1->setColumnsShareGrowth(true);
    followGrowth(Button1, Qt::RightEdge | Qt::TopEdge | Qt::BottomEdge);
    followGrowth(ProgressBar1, Qt::RightEdge | Qt::TopEdge | Qt::BottomEdge);
    followGrowth(CancelButton, Qt::LeftEdge | Qt::RightEdge | Qt::TopEdge | Qt::BottomEdge);
}

void Form3::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && computing_) {
        requestCancel();
        return;
    }
    Window::keyPressEvent(event);
}

void Form3::closeEvent(QCloseEvent* event)
{
    if (computing_) {
        requestCancel();
        event->ignore();
        return;
    }
    Window::closeEvent(event);
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
    if (computing_)
        return;
    Form2* form2 = windows().form2;
    Form4* form4 = windows().form4;
    computing_ = true;
    cancelRequested_ = false;
    StringGrid1->setEnabled(false);
    Button1->setEnabled(false);
    // While the workers run, the windows keep painting and only this window's
    // "Přerušit" (or Esc) takes input.
    QList<QWidget*> disabledWindows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget != this && widget->isVisible() && widget->isEnabled()) {
            widget->setEnabled(false);
            disabledWindows.append(widget);
        }
    }

    // The moments go into a table of their own: a cancelled run leaves the result
    // window's table as it was.
    GridTable computed = form4->momentTable().blankCopy();
    // The bar appears when the first row starts, so a bad field of the input window
    // fails before anything changes here.
    QElapsedTimer sincePaint;
    sincePaint.start();
    MomentRunControl control;
    control.cancel = &cancelRequested_;
    bool started = false;
    control.progress = [&](int row) {
        const bool first = !started;
        if (first) {
            started = true;
            ProgressBar1->setRange(0, combinationTable().rowCount() - 1);
            ProgressBar1->show();
            CancelButton->show();
        }
        ProgressBar1->setValue(row);
        if (first || sincePaint.elapsed() >= 40) {
            QApplication::processEvents();
            sincePaint.restart();
        }
    };
    const bool finished = guarded([&] {
        const BeamTexts beam = form2->beamTexts();
        try {
            showingFailedText(form2->sources(beam), [&] {
                computeCombinationMoments(beam, form2->testDiagram(), combinationTable(), computed,
                                          localeDecimalSeparator(), control);
            });
        } catch (const Failure&) {
            // What was written before a failure stays; a cancelled run writes nothing,
            // and neither does a failure before the table was sized (a bad field, a
            // refusal): the earlier table stays as it was.
            if (!cancelRequested_ && started)
                form4->momentTable() = std::move(computed);
            throw;
        }
        form4->momentTable() = std::move(computed);
    });

    computing_ = false;
    for (QWidget* widget : disabledWindows)
        widget->setEnabled(true);
    StringGrid1->setEnabled(true);
    Button1->setEnabled(true);
    CancelButton->hide();
    form4->syncMomentTable();
    if (!finished)
        return;  // this window stays, with the bar where it stopped
    hide();
    form4->show();
    ProgressBar1->hide();
    systemBeep();
}

}  // namespace prurez
