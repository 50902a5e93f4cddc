#include "ui/SeriesWindow.h"

#include "common/NumberText.h"
#include "flows/SeriesMessages.h"
#include "flows/SeriesState.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form6.h"
#include "ui/Windows.h"
#include "ui/widgets/BackgroundWork.h"
#include "ui/widgets/Charts.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/GridView.h"
#include "ui/widgets/Handlers.h"

#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>

namespace prurez {

namespace {

// The series the window shows.
TestSeries& testSeries()
{
    static TestSeries series(localeDecimalSeparator());
    return series;
}

SeriesState& shownState() { return stateOf(testSeries()); }

// The colours of the specimens' curves, in turn.
const QColor specimenColours[] = {{214, 39, 40},  {31, 119, 180}, {44, 160, 44},  {255, 127, 14}, {148, 103, 189},
                                  {140, 86, 75},  {227, 119, 194}, {127, 127, 127}, {188, 189, 34}, {23, 190, 207}};

QColor specimenColour(size_t index) { return specimenColours[index % std::size(specimenColours)]; }

QLabel* heading(const QString& text, QWidget* parent, int x, int y)
{
    QLabel* result = label(text, parent, x, y);
    result->setFont(underlined(result->font()));
    return result;
}

QLabel* lines(const char* name, QWidget* parent, const QRect& place, const char* colour)
{
    auto* result = new QLabel(parent);
    result->setObjectName(name);
    result->setGeometry(place);
    result->setWordWrap(true);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    result->setStyleSheet(QString("color: %1;").arg(colour));
    return result;
}

const QHash<QString, QString> parameterUnits{{"a", "-"}, {"b", "-"}, {"odchylka", "kNm2"}};

}  // namespace

SeriesWindow::SeriesWindow(QWidget* parent) : Window(parent)
{
    setObjectName("SeriesWindow");
    setWindowTitle("Série zkoušek drátkobetonu");
    setOpeningSize(QSize(900, 636));
    pages_ = new QTabWidget(this);
    pages_->setObjectName("SeriesPages");
    pages_->setGeometry(6, 6, 888, 540);
    auto* specimensPage = new QWidget;
    auto* jointPage = new QWidget;
    auto* chartPage = new QWidget;
    pages_->addTab(specimensPage, "Parametry jednotlivých zkoušek");
    pages_->addTab(jointPage, "Společné parametry a statistika");
    pages_->addTab(chartPage, "Porovnání se zkouškami");
    SeriesState& state = shownState();

    // the specimens, each on its own
    heading("Nejvýstižnější kombinace sítě pro jednotlivé zkoušky", specimensPage, 12, 8);
    specimenTable_ = gridView("SpecimenTable", &state.specimenTable, specimensPage, QRect(12, 28, 856, 200), 84, 24);
    heading("Zpřesněné parametry jednotlivých zkoušek", specimensPage, 12, 242);
    refinedTable_ = gridView("RefinedTable", &state.refinedTable, specimensPage, QRect(12, 262, 856, 200), 94, 24);

    // the series as a whole
    heading("Společné parametry celé série (zpřesněné)", jointPage, 12, 8);
    jointGridBest_ = lines("JointGridBest", jointPage, QRect(12, 28, 856, 20), "black");
    jointTable_ = gridView("JointTable", &state.jointTable, jointPage, QRect(12, 50, 856, 52), 106, 24);
    jointNotes_ = lines("JointNotes", jointPage, QRect(12, 108, 856, 48), "rgb(160, 0, 0)");
    heading("Statistika zpřesněných parametrů zkoušek", jointPage, 12, 164);
    statisticsTable_ =
        gridView("StatisticsTable", &state.statisticsTable, jointPage, QRect(12, 184, 856, 7 * 24 + 12), 166, 24);
    statisticsNotes_ = lines("StatisticsNotes", jointPage, QRect(12, 372, 856, 122), "black");
    for (GridView* table : {specimenTable_, refinedTable_, jointTable_}) {
        table->setHeaderUnits(parameterUnits);
        table->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }

    // every test, the joint fit, and on request each specimen's own
    QChart* chart = curveChart("SÉRIE ZKOUŠEK A SPOLEČNÉ PARAMETRY", QColor(165, 209, 209), QColor(170, 213, 255),
                               "Moment [ kNm ]");
    chart_ = new ChartView(chart, chartPage);
    chart_->setObjectName("SeriesChart");
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setGeometry(8, 8, 864, 470);
    chart_->setLegendInRows(true);
    fittedCurvesBox_ = new QCheckBox("Zobrazit křivky zpřesněných parametrů jednotlivých zkoušek", chartPage);
    fittedCurvesBox_->setObjectName("FittedCurvesBox");
    fittedCurvesBox_->setGeometry(12, 484, 600, 22);
    connect(fittedCurvesBox_, &QCheckBox::toggled, this, &SeriesWindow::showFittedCurves);

    // what goes on
    QLabel* carriedLabel = label("Převzít parametry", this, 12, 562);
    carriedFit_ = new QComboBox(this);
    carriedFit_->setObjectName("CarriedFit");
    carriedFit_->setGeometry(130, 556, 260, 28);
    carriedFit_->setToolTip("Parametry, které „Pokračuj ve výpočtu“ převezme do výpočtu pracovního diagramu průřezu");
    const QIcon retry = style()->standardIcon(QStyle::SP_BrowserReload);
    continueButton_ = new QPushButton(retry, "Pokračuj ve výpočtu", this);
    continueButton_->setObjectName("ContinueButton");
    continueButton_->setGeometry(400, 555, 180, 30);
    connect(continueButton_, &QPushButton::clicked, this, &SeriesWindow::continueClick);
    backButton_ = new QPushButton("Zpět k zadání", this);
    backButton_->setObjectName("BackButton");
    backButton_->setGeometry(590, 555, 140, 30);
    connect(backButton_, &QPushButton::clicked, this, &SeriesWindow::backClick);
    endButton_ = new QPushButton("Ukonči výpočet", this);
    endButton_->setObjectName("EndButton");
    endButton_->setGeometry(740, 555, 150, 30);
    connect(endButton_, &QPushButton::clicked, this, &SeriesWindow::endClick);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("SeriesProgress");
    progress_->setGeometry(12, 600, 756, 20);
    progress_->setTextVisible(false);
    progress_->hide();
    cancelButton_ = new QPushButton("Přerušit", this);
    cancelButton_->setObjectName("CancelButton");
    cancelButton_->setGeometry(776, 594, 112, 30);
    cancelButton_->hide();

    const Qt::Edges grow = Qt::RightEdge | Qt::BottomEdge;
    const Qt::Edges down = Qt::TopEdge | Qt::BottomEdge;
    followGrowth(pages_, grow);
    followGrowth(chart_, grow);
    followGrowth(fittedCurvesBox_, down);
    for (GridView* table : {specimenTable_, refinedTable_, jointTable_, statisticsTable_}) {
        followGrowth(table, Qt::RightEdge);
        table->setColumnsShareGrowth(true);
    }
    followGrowth(jointNotes_, Qt::RightEdge);
    followGrowth(statisticsNotes_, grow);
    for (QWidget* below :
         std::initializer_list<QWidget*>{carriedLabel, carriedFit_, continueButton_, backButton_, endButton_})
        followGrowth(below, down);
    followGrowth(progress_, Qt::RightEdge | down);
    followGrowth(cancelButton_, Qt::LeftEdge | Qt::RightEdge | down);
    showSeries();
}

bool SeriesWindow::run(const SeriesInput& input)
{
    if (backgroundWorkRunning())
        return false;
    show();
    Completion completion = Completion::finished;
    // Fitted aside into a series of its own, which the window then takes over.
    TestSeries fitted(testSeries().decimalSeparator());
    try {
        runInBackground(this, WorkDisplay{progress_, cancelButton_}, [&](WorkProgress& progress) {
            RunOptions options;
            options.progress = progress.callback();
            completion = fitted.run(input, options);
        });
    } catch (...) {
        progress_->hide();
        hide();
        throw;
    }
    progress_->hide();
    if (completion == Completion::cancelled) {
        hide();
        inform("Vyhodnocení série bylo přerušeno. Dosavadní výsledky zůstaly beze změny.");
        return false;
    }
    shownState() = std::move(stateOf(fitted));
    showSeries();
    pages_->setCurrentIndex(0);
    systemBeep();
    return true;
}

void SeriesWindow::showSeries()
{
    const SeriesState& state = shownState();
    for (GridView* table : {specimenTable_, refinedTable_, jointTable_, statisticsTable_})
        table->syncFromTable();
    // The specimens' names and the quantities whole.
    for (GridView* table : {specimenTable_, refinedTable_})
        table->resizeColumnToContents(0);
    const bool fitted = state.jointRefined.has_value();
    jointGridBest_->setText(fitted ? QString("Nejvýstižnější kombinace sítě pro celou sérii: kombinace číslo %1, "
                                             "součet odchylek všech zkoušek %2")
                                         .arg(toQt(formatInteger(state.jointBest->combination)),
                                              toQt(state.jointBest->sum))
                                   : QString());
    QStringList notes;
    if (fitted)
        for (const std::string& line : state.jointRefined->warnings)
            notes << toQt(line);
    jointNotes_->setText(notes.join('\n'));
    QStringList statistics;
    if (fitted) {
        statistics << toQt(quantitiesExplanation) << toQt(state.statistics.method);
        for (const std::string& line : state.statistics.notes)
            statistics << toQt(line);
    }
    statisticsNotes_->setText(statistics.join("\n\n"));

    carriedFit_->clear();
    if (fitted) {
        carriedFit_->addItem("společné parametry série");
        for (const SeriesSpecimen& specimen : state.specimens)
            carriedFit_->addItem("zkouška " + toQt(specimen.fit.name));
    }
    continueButton_->setEnabled(fitted);
    showChart();
}

void SeriesWindow::showChart()
{
    const SeriesState& state = shownState();
    const bool withFits = fittedCurvesBox_->isChecked();
    std::vector<const LineSeries*> curves;
    for (const SeriesSpecimen& specimen : state.specimens)
        curves.push_back(&specimen.testCurve);
    if (withFits)
        for (const SeriesSpecimen& specimen : state.specimens)
            curves.push_back(&specimen.fittedCurve);
    if (state.jointRefined)
        curves.push_back(&state.jointCurve);
    const QList<QLineSeries*> shown = showCurves(chart_->chart(), curves);
    const size_t count = state.specimens.size();
    QList<LegendLine> legend;
    for (size_t i = 0; i < count; ++i) {
        shown[static_cast<int>(i)]->setPen(QPen(specimenColour(i), 1));
        legend << LegendLine{"----------   " + toQt(state.specimens[i].fit.name), specimenColour(i)};
    }
    if (withFits) {
        for (size_t i = 0; i < count; ++i)
            shown[static_cast<int>(count + i)]->setPen(QPen(specimenColour(i), 1, Qt::DashLine));
        legend << LegendLine{"- - - - -   zpřesněné parametry zkoušek (barvou zkoušky)", QColor(60, 60, 60)};
    }
    if (state.jointRefined) {
        shown.back()->setPen(QPen(Qt::black, 4));
        legend << LegendLine{"━━━━━   společné parametry série", Qt::black};
    }
    chart_->setLegend(legend);
}

void SeriesWindow::showFittedCurves(bool) { showChart(); }

void SeriesWindow::continueClick()
{
    guarded([this] {
        const SeriesState& state = shownState();
        if (!state.jointRefined)
            throw Failure("Série zkoušek dosud nebyla vyhodnocena.");
        const int chosen = carriedFit_->currentIndex();
        const std::array<std::string, 7>& found =
            chosen <= 0 ? state.jointRefined->texts : state.specimens.at(static_cast<size_t>(chosen - 1)).fit.refined.texts;
        hide();
        windows().form6->show();
        windows().form6->continueFromFit(found);
    });
}

void SeriesWindow::endClick()
{
    hide();
    windows().form1->show();
}

void SeriesWindow::backClick()
{
    hide();
    windows().form2->show();
}

}  // namespace prurez
