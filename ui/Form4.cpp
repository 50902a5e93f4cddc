#include "ui/Form4.h"

#include "ui/Form1.h"
#include "ui/Windows.h"
#include "common/Failure.h"
#include "common/NumberText.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Form5.h"
#include "flows/InverseFlow.h"
#include "flows/InverseMessages.h"
#include "ui/Form6.h"
#include "ui/widgets/Charts.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/GridView.h"
#include "ui/widgets/FailedText.h"
#include "ui/widgets/Handlers.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>

namespace prurez {

Form4::Form4(QWidget* parent) : Window(parent)
{
    setObjectName("Form4");
    setWindowTitle("Stanovení nejvýstižnější kombinace vstupních parametrů");
    setOpeningSize(QSize(780, 580));
    PageControl1 = pageControl(this, QRect(6, 6, 768, 568),
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
    StringGrid1 = gridView("StringGrid1", &momentTable(), page1, QRect(12, 34, 740, 440), 60, 24);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    BitBtn2 = new QPushButton(retry, "Spočítej odchylky", page1);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(12, 486, 200, 32);
    connect(BitBtn2, &QPushButton::clicked, this, &Form4::BitBtn2Click);

    // page 2: the deviation list and the best fit
    label("Odchylky jednotlivých kombinací parametrů", page2, 12, 10, "Label2")->setFont(underlined(font()));
    StringGrid2 = gridView("StringGrid2", &deviationList(), page2, QRect(12, 34, 2 * 60 + 40, 470), 60, 24);
    StringGrid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Button1 = new QPushButton("Najdi nejvýstižnější kombinaci", page2);
    Button1->setObjectName("Button1");
    Button1->setGeometry(200, 34, 260, 32);
    connect(Button1, &QPushButton::clicked, this, &Form4::Button1Click);
    buildResultLabels(page2);
    BitBtn3 = new QPushButton(retry, "Pokračuj ve výpočtu", page2);
    BitBtn3->setObjectName("BitBtn3");
    BitBtn3->setGeometry(200, 440, 220, 32);
    connect(BitBtn3, &QPushButton::clicked, this, &Form4::BitBtn1Click);
    Button2 = new QPushButton("Ukonči výpočet", page2);
    Button2->setObjectName("Button2");
    Button2->setGeometry(440, 440, 220, 32);
    connect(Button2, &QPushButton::clicked, this, &Form4::Button2Click);
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
    Chart1->setGeometry(8, 8, 746, 460);
    showCurves(chart, {});
    QLabel* testLegend = label("----------   Pracovní diagram průřezu stanovený ze zkoušky", page3, 20, 480, "Label21");
    testLegend->setFont(bold(font()));
    testLegend->setStyleSheet("color: rgb(255, 0, 0);");
    testLegend->adjustSize();
    QLabel* fitLegend = label("----------   Pracovní diagram průřezu pro nalezenou kombinaci vstupních parametrů",
                              page3, 20, 504, "Label22");
    fitLegend->setFont(bold(font()));
    fitLegend->setStyleSheet("color: rgb(0, 0, 255);");
    fitLegend->adjustSize();

    connect(PageControl1, &QTabWidget::currentChanged, this, &Form4::PageControl1Change);

    // Enlarged, the tables and the chart grow, with what is below them.
    const Qt::Edges grow = Qt::RightEdge | Qt::BottomEdge;
    const Qt::Edges down = Qt::TopEdge | Qt::BottomEdge;
    followGrowth(PageControl1, grow);
    followGrowth(StringGrid1, grow);
    StringGrid1->setColumnsShareGrowth(true);
    followGrowth(BitBtn2, down);
    followGrowth(StringGrid2, Qt::BottomEdge);
    followGrowth(Chart1, grow);
    followGrowth(testLegend, down);
    followGrowth(fitLegend, down);
}

void Form4::buildResultLabels(QWidget* page)
{
    const char* names[] = {"Label3",  "Label4",  "Label5",  "Label6",  "Label7",  "Label8",
                           "Label9",  "Label10", "Label11", "Label12", "Label13", "Label14",
                           "Label15", "Label16", "Label17", "Label18", "Label19", "Label20"};
    for (int i = 0; i < 18; ++i) {
        resultLabels_[i] = new QLabel(page);
        resultLabels_[i]->setObjectName(names[i]);
    }
    const auto place = [&](int index, const QString& text, int x, int y, int width) {
        resultLabels_[index]->setText(text);
        resultLabels_[index]->setGeometry(x, y, width, 20);
    };
    place(0, "Nejvýstižnější kombinací vstupních parametrů ", 200, 90, 540);
    place(1, "pracovního diagramu drátkobetonu je", 200, 112, 540);
    place(2, "", 200, 140, 540);  // Label5: "kombinace číslo " and the number
    place(3, "Nalezené parametry drátkobetonu", 200, 180, 540);
    const char* names7[] = {"Modul pružnosti E",        "Pevnost v tlaku válcová",
                            "Pevnost v tahu válcová",   "Mezní přetvoření tlakové",
                            "Mezní přetvoření tahové",  "Součinitel úbytku tahové pevnosti a",
                            "Součinitel reziduální tahové pevnosti b"};
    for (int i = 0; i < 7; ++i) {
        place(4 + i, names7[i], 200, 210 + 28 * i, 270);
        place(11 + i, "", 480, 210 + 28 * i, 270);  // Label14 … Label20: the values
    }
    for (int i = 0; i < 3; ++i)
        resultLabels_[i]->setFont(bold(font()));
    resultLabels_[2]->setStyleSheet("color: rgb(255, 0, 0);");
    resultLabels_[3]->setFont(underlined(font()));
}

GridTable& Form4::momentTable() { return inverseTables().moments; }

GridTable& Form4::deviationList() { return inverseTables().deviationList; }

void Form4::syncMomentTable() { StringGrid1->syncFromTable(); }

void Form4::PageControl1Change()
{
    guarded([this] {
        fillDeviationList(windows().form3->combinationTable(), windows().form5->deviationTable(), deviationList());
    });
    StringGrid2->syncFromTable();
}

void Form4::BitBtn2Click()
{
    guarded([this] {
        Form2* form2 = windows().form2;
        const std::string count = form2->pointCountText();
        showingFailedText({{&count, form2->pointCountField()}}, [&] {
            computeDeviations(count, momentTable(), form2->testDiagram(), windows().form3->combinationTable(),
                              windows().form5->deviationTable(), localeDecimalSeparator());
        });
    });
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
        Form2* form2 = windows().form2;
        LineSeries testCurve, combinationCurve;
        BestFit fit;
        const std::string count = form2->pointCountText();
        try {
            showingFailedText({{&count, form2->pointCountField()}}, [&] {
                fit = findBestFit(count, deviationList(), windows().form3->combinationTable(), form2->testDiagram(),
                                  momentTable(), testCurve, combinationCurve, localeDecimalSeparator());
            });
        } catch (const Failure& failure) {
            // No combination fits: no result labels without a result.
            if (failure.message() == noBestFitMessage && !shownBefore)
                setResultsShown(false);
            throw;
        }
        resultLabels_[2]->setText("kombinace číslo " + toQt(formatInteger(fit.row)));
        const char* units[] = {"   [ MPa ]", "   [ MPa ]", "   [ MPa ]", "   [ % ]", "   [ % ]", "", ""};
        for (int i = 0; i < 7; ++i)
            resultLabels_[11 + i]->setText(toQt(fit.texts[i]) + units[i]);
        bestTexts_ = fit.texts;
        testCurve_ = testCurve;
        combinationCurve_ = combinationCurve;
        showCurves(Chart1->chart(), {&testCurve_, &combinationCurve_});
    });
}

void Form4::BitBtn1Click()
{
    guarded([this] {
        if (!bestTexts_)
            throw Failure("Nejvýstižnější kombinace dosud nebyla nalezena.");
        const std::array<std::string, 7>& found = *bestTexts_;  // E, fcp, fct, ecpm, ectm, a, b
        hide();
        windows().form6->show();
        windows().form6->continueFromInverseAnalysis({found[1], found[2], found[0], found[3], found[4], found[5],
                                                      found[6]});
    });
}

void Form4::Button2Click()
{
    hide();
    windows().form1->show();
}

}  // namespace prurez
