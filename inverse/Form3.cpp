#include "inverse/Form3.h"

#include "app/Windows.h"
#include "inverse/Form2.h"
#include "inverse/Form4.h"
#include "inverse/InverseAnalysis.h"
#include "widgets/GridView.h"
#include "widgets/Handlers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace prurez {

Form3::Form3(QWidget* parent) : Window(parent), combinations_(8, 20), values_(5, 2)
{
    setObjectName("Form3");
    setWindowTitle("Kombinace vstupních parametrů výpočtu");
    resize(560, 590);

    auto* title = new QLabel("Tabulka kombinací vstupních parametrů výpočtu", this);
    title->setObjectName("Label1");
    title->move(12, 10);
    title->adjustSize();

    combinations_.setDefaultColumnWidth(63);
    combinations_.setDefaultRowHeight(24);
    combinations_.setLeft(12);
    combinations_.setWidth(8 * 63 + 22);
    combinations_.setHeight(460);
    StringGrid1 = new GridView(&combinations_, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->move(12, 32);
    StringGrid1->setEditableInPlace(true);
    StringGrid1->setTextElideMode(Qt::ElideNone);
    StringGrid1->setWordWrap(false);
    StringGrid1->syncFromTable();

    values_.setLeft(12);
    StringGrid2 = new GridView(&values_, this);
    StringGrid2->setObjectName("StringGrid2");
    StringGrid2->move(12, 32);
    StringGrid2->syncFromTable();
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
}

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

    // The bar appears when the first row starts, so a bad field of the input window
    // fails before anything changes here.
    QElapsedTimer sincePaint;
    MomentRunControl control;
    control.cancel = &cancelRequested_;
    control.progress = [&](int row) {
        if (ProgressBar1->isHidden()) {
            ProgressBar1->setRange(0, combinations_.rowCount() - 1);
            ProgressBar1->show();
            sincePaint.start();
        }
        ProgressBar1->setValue(row);
        if (sincePaint.elapsed() >= 40) {
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sincePaint.restart();
        }
    };
    const bool computed = guarded([&] {
        computeCombinationMoments(form2->momentFields(), form2->testDiagram(), combinations_, form4->momentTable(),
                                  localeDecimalSeparator(), control);
    });

    computing_ = false;
    StringGrid1->setEnabled(true);
    Button1->setEnabled(true);
    form4->syncMomentTable();
    if (!computed)
        return;  // this window stays, with the bar where it stopped
    hide();
    form4->show();
    ProgressBar1->hide();
    systemBeep();
}

}  // namespace prurez
