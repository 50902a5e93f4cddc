#include "ui/InteractionWindow.h"

#include "flows/CellText.h"
#include "flows/InteractionFlow.h"
#include "flows/Refusals.h"
#include "ui/Form6.h"
#include "ui/Windows.h"
#include "ui/widgets/BackgroundWork.h"
#include "ui/widgets/Charts.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/DiagramCharts.h"
#include "ui/widgets/GridView.h"
#include "ui/widgets/Handlers.h"

#include <QChart>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

namespace prurez {

InteractionWindow::InteractionWindow(QWidget* parent) : Window(parent)
{
    setObjectName("InteractionWindow");
    setWindowTitle(QString::fromUtf8("Interakční diagram N–M"));
    setOpeningSize(QSize(1120, 620));

    chart_ = titledChart(QString::fromUtf8("INTERAKČNÍ DIAGRAM N–M"));
    chartView_ = new ChartView(chart_, this);
    chartView_->setObjectName("InteractionChart");
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setGeometry(8, 8, 560, 560);

    label(QString::fromUtf8("Vypočtené body diagramu"), this, 580, 8);
    grid_ = gridView("InteractionGrid", &table_, this, QRect(580, 30, 532, 490), 126, 22);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    label(QString::fromUtf8("Počet sil (včetně krajních)"), this, 12, 582);
    pointsEdit_ = edit("PointsEdit", this, 190, 578, 60);
    pointsEdit_->setText(QString::number(defaultInteractionPoints));
    computeButton_ = new QPushButton(QString::fromUtf8("Vypočítat"), this);
    computeButton_->setObjectName("ComputeButton");
    computeButton_->setToolTip(QString::fromUtf8("Spočte diagram průřezu zadaného v okně vstupních hodnot"));
    computeButton_->setGeometry(262, 576, 120, 30);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("InteractionProgress");
    progress_->setGeometry(580, 534, 400, 18);
    progress_->setTextVisible(false);
    cancel_ = new QPushButton(QString::fromUtf8("Přerušit"), this);
    cancel_->setObjectName("CancelButton");
    cancel_->setGeometry(992, 528, 120, 30);
    status_ = label(QString(), this, QRect(580, 562, 532, 48), "InteractionStatus");
    status_->setWordWrap(true);
    setShown({progress_, cancel_}, false);

    const Qt::Edges grow = Qt::RightEdge | Qt::BottomEdge;
    followGrowth(chartView_, grow);
    followGrowth(grid_, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    for (QWidget* below : std::initializer_list<QWidget*>{pointsEdit_, computeButton_})
        followGrowth(below, Qt::TopEdge | Qt::BottomEdge);
    for (QWidget* right : std::initializer_list<QWidget*>{progress_, cancel_, status_})
        followGrowth(right, grow | Qt::LeftEdge | Qt::TopEdge);

    connect(computeButton_, &QPushButton::clicked, this, &InteractionWindow::computeClick);
    showDiagram();
}

void InteractionWindow::computeClick()
{
    guarded([&] { computeFor(windows().form6->texts()); });
}

void InteractionWindow::computeFor(const SectionTexts& texts)
{
    if (backgroundWorkRunning())
        return;
    show();
    raise();
    activateWindow();
    // A count that is no whole number is refused as one out of range.
    int points = 0;
    try {
        points = readInteger(toStd(pointsEdit_->text()));
    } catch (const Failure&) {
    }
    if (points < minimumInteractionPoints || points > maximumInteractionPoints) {
        pointsEdit_->setFocus();
        pointsEdit_->selectAll();
        throw refusal(Reason::interactionPointsOutOfRange);
    }
    const char separator = localeDecimalSeparator();
    InteractionDiagram computed;
    status_->setText(QString());
    WorkDisplay display{progress_, cancel_, status_, [](long long done) {
                            return QString::fromUtf8("Spočteno sil: ") + QString::number(done);
                        }};
    try {
        runInBackground(this, display, [&](WorkProgress& progress) {
            RunOptions options;
            options.progress = progress.callback();
            computed = computeInteraction(texts, separator, points, options);
        });
    } catch (...) {
        progress_->hide();
        throw;
    }
    progress_->hide();
    if (computed.completion == Completion::cancelled) {
        inform(interactionCancelledMessage);  // the diagram shown stays
        return;
    }
    diagram_ = computed;
    table_ = interactionTable(diagram_, separator);
    showDiagram();
    systemBeep();
}

void InteractionWindow::showDiagram()
{
    grid_->syncFromTable();
    drawInteraction(chart_, diagram_);
    if (diagram_.positive.empty())
        return;
    int unbalanced = 0;
    for (const auto* branch : {&diagram_.positive, &diagram_.negative})
        for (const InteractionPoint& point : *branch)
            unbalanced += point.hasMoment ? 0 : 1;
    QString text = QString::fromUtf8("Moment k polovině výšky průřezu, rovnováha sil přesná.");
    if (unbalanced > 0)
        text += QString::fromUtf8(" Sil bez rovnováhy: ") + QString::number(unbalanced) + ".";
    status_->setText(text);
    status_->show();
}

}  // namespace prurez
