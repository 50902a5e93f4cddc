#include "ui/Form4.h"

#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Report.h"
#include "ui/Windows.h"
#include "common/Failure.h"
#include "common/NumberText.h"
#include "flows/InverseMessages.h"
#include "flows/InverseState.h"
#include "ui/Form6.h"
#include "ui/widgets/BackgroundWork.h"
#include "ui/widgets/Charts.h"
#include "ui/widgets/UserFiles.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/GridView.h"
#include "ui/widgets/FailedText.h"
#include "ui/widgets/Handlers.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>

namespace prurez {

namespace {

// The results beside the deviation list, between the buttons above and below them.
const QRect resultsPanelPlace(184, 96, 628, 392);

// The line of the comparison chart's legend that names the refined curve.
constexpr int refinedLegendLine = 2;

}  // namespace

Form4::Form4(QWidget* parent) : Window(parent)
{
    setObjectName("Form4");
    setWindowTitle("Stanovení nejvýstižnější kombinace vstupních parametrů");
    setOpeningSize(QSize(840, 580));
    PageControl1 = pageControl(this, QRect(6, 6, 828, 568),
                               {"  Hodnoty diagramu  ", "Stanovení výsledné kombinace vstupních parametrů",
                                " Porovnání stanovených hodnot  "});
    QWidget* page1 = PageControl1->widget(0);
    QWidget* page2 = PageControl1->widget(1);
    QWidget* page3 = PageControl1->widget(2);
    const QIcon retry = style()->standardIcon(QStyle::SP_BrowserReload);

    // page 1: the moments of the combinations
    label("Vypočtené hodnoty diagramu 'moment - křivost' pro jednotlivé kombinace vstupních parametrů", page1, 12,
          10, "Label1")
        ->setFont(underlined(font()));
    StringGrid1 = gridView("StringGrid1", &momentTable(), page1, QRect(12, 34, 800, 440), 60, 24);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    StringGrid1->setHeaderUnits({{"křivost", "m-1"}, {"Moment", "kNm"}});
    BitBtn2 = new QPushButton(retry, "Spočítej odchylky", page1);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(12, 486, 200, 32);
    connect(BitBtn2, &QPushButton::clicked, this, &Form4::BitBtn2Click);
    deviationProgress = new QProgressBar(page1);
    deviationProgress->setObjectName("DeviationProgress");
    deviationProgress->setGeometry(228, 492, 470, 20);
    deviationProgress->setTextVisible(false);
    deviationProgress->hide();
    deviationCancel = new QPushButton("Přerušit", page1);
    deviationCancel->setObjectName("CancelButton");
    deviationCancel->setGeometry(708, 486, 104, 32);
    deviationCancel->hide();

    // page 2: the deviation list and the best fit
    label("Odchylky jednotlivých kombinací parametrů", page2, 12, 10, "Label2")->setFont(underlined(font()));
    StringGrid2 = gridView("StringGrid2", &deviationList(), page2, QRect(12, 34, 2 * 60 + 40, 470), 60, 24);
    StringGrid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    StringGrid2->setHeaderUnits({{"odchylka", "kNm2"}});  // the summed squared deviation
    Button1 = new QPushButton("Najdi nejvýstižnější kombinaci", page2);
    Button1->setObjectName("Button1");
    Button1->setGeometry(184, 34, 260, 32);
    connect(Button1, &QPushButton::clicked, this, &Form4::Button1Click);
    // The refinement beyond the grid, beside the search of the best combination.
    refineButton = new QPushButton("Zpřesnit nalezenou kombinaci", page2);
    refineButton->setObjectName("RefineButton");
    refineButton->setGeometry(532, 34, 280, 32);
    refineButton->setEnabled(false);
    connect(refineButton, &QPushButton::clicked, this, &Form4::refineClick);
    refineProgress = new QProgressBar(page2);
    refineProgress->setObjectName("RefineProgress");
    refineProgress->setGeometry(532, 72, 180, 16);
    refineProgress->setTextVisible(false);
    refineProgress->hide();
    refineCancel = new QPushButton("Přerušit", page2);
    refineCancel->setObjectName("CancelButton");
    refineCancel->setGeometry(720, 68, 92, 24);
    refineCancel->hide();
    buildResults(page2);
    BitBtn3 = new QPushButton(retry, "Pokračuj ve výpočtu", page2);
    BitBtn3->setObjectName("BitBtn3");
    BitBtn3->setGeometry(184, 496, 220, 32);
    connect(BitBtn3, &QPushButton::clicked, this, &Form4::BitBtn1Click);
    Button2 = new QPushButton("Ukonči výpočet", page2);
    Button2->setObjectName("Button2");
    Button2->setGeometry(424, 496, 220, 32);
    connect(Button2, &QPushButton::clicked, this, &Form4::Button2Click);
    reportButton_ = new QPushButton("Uložit zprávu PDF…", page2);
    reportButton_->setObjectName("SaveReportButton");
    reportButton_->setToolTip("Zpráva o inversní analýze se zadáním, výsledkem, grafem a tabulkou (PDF, A4)");
    reportButton_->setGeometry(664, 496, 150, 32);
    connect(reportButton_, &QPushButton::clicked, this, &Form4::SaveReportClick);
    for (QLabel* result : resultLabels_)
        result->hide();
    BitBtn3->hide();
    Button2->hide();

    // page 3: the comparison chart
    // The title stands on white in a green frame.
    const QColor green(0, 128, 0);
    QChart* chart = curveChart("POROVNÁNÍ NALEZENÝCH VSTUPNÍCH PARAMETRŮ S VÝSLEDKY ZKOUŠKY", QColor(165, 209, 209),
                               QColor(170, 213, 255), "Moment [ kNm ]");
    QFont titleFont("Arial");
    titleFont.setBold(true);
    titleFont.setPixelSize(12);
    chart->setTitleFont(titleFont);
    chart->setTitleBrush(green);
    auto* chartView = new FramedTitleChartView(chart, green, 2, page3);
    chartView->setTitleFill(Qt::white);
    Chart1 = chartView;
    Chart1->setObjectName("Chart1");
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setGeometry(8, 8, 806, 520);
    showCurves(chart, {});
    // The legend in the chart, under its curves: a saved or copied picture shows it.
    Chart1->setLegend(
        {{"----------   Pracovní diagram průřezu stanovený ze zkoušky", QColor(255, 0, 0)},
         {"----------   Pracovní diagram průřezu pro nalezenou kombinaci vstupních parametrů", QColor(0, 0, 255)},
         {"----------   Pracovní diagram průřezu pro zpřesněnou kombinaci vstupních parametrů", QColor(0, 160, 0)}});
    showRefinement();

    connect(PageControl1, &QTabWidget::currentChanged, this, &Form4::PageControl1Change);

    // Enlarged, the tables and the chart grow, with what is below them.
    const Qt::Edges grow = Qt::RightEdge | Qt::BottomEdge;
    const Qt::Edges down = Qt::TopEdge | Qt::BottomEdge;
    followGrowth(PageControl1, grow);
    followGrowth(StringGrid1, grow);
    StringGrid1->setColumnsShareGrowth(true);
    followGrowth(BitBtn2, down);
    followGrowth(deviationProgress, Qt::RightEdge | down);
    followGrowth(deviationCancel, Qt::LeftEdge | Qt::RightEdge | down);
    followGrowth(StringGrid2, Qt::BottomEdge);
    followGrowth(resultsPanel_, grow);
    followGrowth(reportButton_, down);
    followGrowth(BitBtn3, down);
    followGrowth(Button2, down);
    followGrowth(Chart1, grow);
}

namespace {

// A value label of the results: its whole text also as its tooltip.
void setValueText(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setToolTip(text);
}

}  // namespace

void Form4::buildResults(QWidget* page)
{
    // The labels stand in a grid whose columns are as wide as their texts: names, the
    // values of the best combination with their units, the refined values.
    resultsPanel_ = new QWidget(page);
    resultsPanel_->setObjectName("ResultsPanel");
    resultsPanel_->setGeometry(resultsPanelPlace);
    auto* grid = new QGridLayout(resultsPanel_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(4);
    const char* names[] = {"Label3",  "Label4",  "Label5",  "Label6",  "Label7",  "Label8",
                           "Label9",  "Label10", "Label11", "Label12", "Label13", "Label14",
                           "Label15", "Label16", "Label17", "Label18", "Label19", "Label20"};
    for (size_t i = 0; i < resultLabels_.size(); ++i) {
        resultLabels_[i] = new QLabel(resultsPanel_);
        resultLabels_[i]->setObjectName(names[i]);
        resultLabels_[i]->setMinimumHeight(20);
    }
    resultLabels_[0]->setText("Nejvýstižnější kombinací vstupních parametrů ");
    resultLabels_[1]->setText("pracovního diagramu drátkobetonu je");
    resultLabels_[3]->setText("Nalezené parametry drátkobetonu");
    for (int i = 0; i < 3; ++i)
        resultLabels_[static_cast<size_t>(i)]->setFont(bold(font()));
    resultLabels_[2]->setStyleSheet("color: rgb(255, 0, 0);");  // Label5: "kombinace číslo " and the number
    resultLabels_[3]->setFont(underlined(font()));
    const int across = 4;  // the three columns and the room right of them
    grid->addWidget(resultLabels_[0], 0, 0, 1, across);
    grid->addWidget(resultLabels_[1], 1, 0, 1, across);
    grid->addWidget(resultLabels_[2], 2, 0, 1, across);
    grid->setRowMinimumHeight(3, 8);
    grid->addWidget(resultLabels_[3], 4, 0);
    refinedHeading = new QLabel("Zpřesněné", resultsPanel_);
    refinedHeading->setObjectName("RefinedHeading");
    refinedHeading->setFont(underlined(font()));
    grid->addWidget(refinedHeading, 4, 2);
    const char* parameterNames[] = {"Modul pružnosti E",        "Pevnost v tlaku válcová",
                                    "Pevnost v tahu válcová",   "Mezní přetvoření tlakové",
                                    "Mezní přetvoření tahové",  "Součinitel úbytku tahové pevnosti a",
                                    "Součinitel reziduální tahové pevnosti b"};
    const QString refinedColour = "color: rgb(0, 120, 0);";
    for (int i = 0; i < 7; ++i) {
        const auto index = static_cast<size_t>(i);
        resultLabels_[4 + index]->setText(parameterNames[i]);  // Label7 … Label13
        grid->addWidget(resultLabels_[4 + index], 5 + i, 0);
        grid->addWidget(resultLabels_[11 + index], 5 + i, 1);  // Label14 … Label20: the values
        refinedLabels_[index] = new QLabel(resultsPanel_);
        refinedLabels_[index]->setObjectName(("Refined" + std::to_string(i + 1)).c_str());
        refinedLabels_[index]->setStyleSheet(refinedColour);
        refinedLabels_[index]->setMinimumHeight(20);
        grid->addWidget(refinedLabels_[index], 5 + i, 2);
    }
    // The summed deviations of both, under their columns.
    refinedSumsCaption = new QLabel("Součet odchylek", resultsPanel_);
    refinedSumsCaption->setObjectName("RefinedSumsCaption");
    gridSum = new QLabel(resultsPanel_);
    gridSum->setObjectName("GridSum");
    refinedSum = new QLabel(resultsPanel_);
    refinedSum->setObjectName("RefinedSum");
    refinedSum->setStyleSheet(refinedColour);
    grid->setRowMinimumHeight(12, 4);
    grid->addWidget(refinedSumsCaption, 13, 0);
    grid->addWidget(gridSum, 13, 1);
    grid->addWidget(refinedSum, 13, 2);
    refinedWarnings = new QLabel(resultsPanel_);
    refinedWarnings->setObjectName("RefinedWarnings");
    refinedWarnings->setWordWrap(true);
    refinedWarnings->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    refinedWarnings->setStyleSheet("color: rgb(160, 0, 0);");
    grid->setRowMinimumHeight(14, 4);
    grid->addWidget(refinedWarnings, 15, 0, 1, across);
    grid->setColumnStretch(across - 1, 1);
    grid->setRowStretch(16, 1);
}

MomentTable& Form4::momentTable() { return inverseTables().moments; }

DeviationList& Form4::deviationList() { return inverseTables().deviationList; }

void Form4::syncMomentTable() { StringGrid1->syncFromTable(); }

void Form4::PageControl1Change()
{
    guarded([] { inverseSession().fillDeviationList(); });
    StringGrid2->syncFromTable();
}

void Form4::BitBtn2Click()
{
    if (backgroundWorkRunning())
        return;
    Completion completion = Completion::finished;
    const bool finished = guarded([&] {
        try {
            showingFailedText({}, [&] {
                runInBackground(this, WorkDisplay{deviationProgress, deviationCancel}, [&](WorkProgress& progress) {
                    RunOptions options;
                    options.progress = progress.callback();
                    completion = inverseSession().computeDeviations(options);
                });
            });
        } catch (const Failure&) {
            deviationProgress->hide();
            throw;
        }
        deviationProgress->hide();
    });
    if (finished && completion == Completion::cancelled)
        inform(deviationsCancelledMessage);
}

void Form4::forgetBestFit()
{
    // The window opens again on the page it was left on, with no page change to fill
    // the list: filled here as a page change fills it, the new combinations without
    // deviations.
    PageControl1Change();
    // No result texts of the earlier fit stay to be shown by a later search.
    setValueText(resultLabels_[2], QString());
    for (size_t i = 11; i < 18; ++i)
        setValueText(resultLabels_[i], QString());
    refineButton->setEnabled(false);
    setResultsShown(false);
    showRefinement();
}

void Form4::showComparison()
{
    const InverseState& state = inverseState();
    if (!state.best)
        showCurves(Chart1->chart(), {});
    else if (state.refined)
        showCurves(Chart1->chart(), {&state.comparedTestCurve, &state.combinationCurve, &state.refinedCurve});
    else
        showCurves(Chart1->chart(), {&state.comparedTestCurve, &state.combinationCurve});
}

void Form4::showRefinement()
{
    const std::optional<RefinedFit>& fit = inverseSession().refinedFit();
    const bool shown = fit.has_value();
    if (shown) {
        for (size_t i = 0; i < fit->texts.size(); ++i)
            setValueText(refinedLabels_[i], toQt(fit->texts[i]));
        setValueText(gridSum, toQt(fit->gridSum));
        setValueText(refinedSum, toQt(fit->refinedSum));
        QStringList warnings;
        for (const std::string& warning : fit->warnings)
            warnings << toQt(warning);
        refinedWarnings->setText(warnings.join('\n'));
    }
    for (QWidget* widget :
         std::initializer_list<QWidget*>{refinedHeading, refinedSumsCaption, gridSum, refinedSum, refinedWarnings})
        widget->setVisible(shown);
    Chart1->setLegendLineShown(refinedLegendLine, shown);
    for (QLabel* refined : refinedLabels_)
        refined->setVisible(shown);
    fitResults();
    showComparison();
}

void Form4::refineClick()
{
    if (backgroundWorkRunning() || !inverseSession().bestFit())
        return;
    Completion completion = Completion::finished;
    const bool finished = guarded([&] {
        try {
            runInBackground(this, WorkDisplay(refineProgress, refineCancel), [&](WorkProgress& progress) {
                RunOptions options;
                options.progress = progress.callback();
                completion = inverseSession().refine(options);
            });
        } catch (const Failure&) {
            refineProgress->hide();
            throw;
        }
        refineProgress->hide();
        if (completion == Completion::finished)
            showRefinement();
    });
    if (finished && completion == Completion::cancelled)
        inform(refinementCancelledMessage);
}

void Form4::fitResults()
{
    const int lacking = resultsPanel_->minimumSizeHint().width() - resultsPanel_->width();
    if (lacking > 0)
        resize(width() + lacking, height());
}

void Form4::SaveReportClick()
{
    if (backgroundWorkRunning())
        return;
    const QString name = askSaveFileName(this, "Uložit zprávu PDF", "Dokument PDF (*.pdf)");
    if (!name.isEmpty())
        guarded([&] { writeInverseReport(name, windows().form2->input(), inverseSession()); });
}

void Form4::setResultsShown(bool shown)
{
    for (QLabel* result : resultLabels_)
        result->setVisible(shown);
    BitBtn3->setVisible(shown);
    Button2->setVisible(shown);
}

void Form4::Button1Click()
{
    const bool shownBefore = !BitBtn3->isHidden();
    setResultsShown(true);
    guarded([this, shownBefore] {
        try {
            showingFailedText({}, [&] { inverseSession().findBestFit(); });
        } catch (const Failure& failure) {
            // No combination fits: no result labels without a result.
            if (failure.reason() == Reason::noBestFit && !shownBefore)
                setResultsShown(false);
            throw;
        }
        const BestFit& fit = *inverseSession().bestFit();
        setValueText(resultLabels_[2], "kombinace číslo " + toQt(formatInteger(fit.combination)));
        const char* units[] = {"   [ MPa ]", "   [ MPa ]", "   [ MPa ]", "   [ % ]", "   [ % ]", "", ""};
        for (size_t i = 0; i < 7; ++i)
            setValueText(resultLabels_[11 + i], toQt(fit.texts[i]) + units[i]);
        fitResults();
        refineButton->setEnabled(true);
        showRefinement();  // a refinement of an earlier fit is gone
    });
}

void Form4::BitBtn1Click()
{
    guarded([this] {
        const InverseAnalysis& session = inverseSession();
        if (!session.bestFit())
            throw Failure("Nejvýstižnější kombinace dosud nebyla nalezena.");
        // The refined values when a refinement was made, the grid's otherwise.
        const std::array<std::string, 7>& found =
            session.refinedFit() ? session.refinedFit()->texts : session.bestFit()->texts;
        hide();
        windows().form6->show();
        windows().form6->continueFromFit(found);
    });
}

void Form4::Button2Click()
{
    hide();
    windows().form1->show();
}

}  // namespace prurez
