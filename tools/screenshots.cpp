// Saves a picture of every window and page of the program, filled with worked
// examples of the section tool and of the inverse analysis, into a folder (default
// "screenshots").
//
//   screenshots [folder]      (run offscreen: QT_QPA_PLATFORM=offscreen)

#include "ui/Form1.h"
#include "ui/Windows.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Form4.h"
#include "ui/Form6.h"
#include "ui/Form7.h"
#include "ui/InteractionWindow.h"
#include "ui/SeriesWindow.h"
#include "ui/widgets/Handlers.h"
#include "ui/widgets/RadioGroup.h"
#include "ui/widgets/UpDown.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>

namespace {

QString folder;
int saved = 0;

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void save(QWidget* window, const QString& name)
{
    settle();
    const QString path = QDir(folder).filePath(name + ".png");
    if (window->grab().save(path)) {
        ++saved;
        std::printf("%s\n", qPrintable(path));
    } else {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
}

// Every page of the window's page control, or the window alone when it has none.
void savePages(QWidget* window, const QString& name)
{
    window->show();
    auto* pages = window->findChild<QTabWidget*>();
    if (pages == nullptr) {
        save(window, name);
    } else {
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            save(window, QStringLiteral("%1-page%2").arg(name).arg(i + 1));
        }
        pages->setCurrentIndex(0);
    }
    window->hide();
}

// Every page again with the window enlarged (as when maximised), then back at its
// opening size.
void saveEnlarged(QWidget* window, const QString& name)
{
    const QSize opening = window->size();
    window->resize(opening + QSize(420, 260));
    savePages(window, name + "-enlarged");
    window->resize(opening);
}

// A number typed with the decimal separator of the running locale.
QString number(const char* text)
{
    return QString::fromUtf8(text).replace(',', QChar::fromLatin1(prurez::localeDecimalSeparator()));
}

void type(QWidget* window, const char* name, const char* text)
{
    if (auto* edit = window->findChild<QLineEdit*>(name))
        edit->setText(number(text));
}

void choose(QWidget* window, const char* name, int index)
{
    if (auto* group = window->findChild<prurez::RadioGroup*>(name))
        if (auto* button = group->button(index))
            button->click();
}

// A plain-concrete beam 0,3 × 0,5 m of C30/37-like concrete without axial force.
void fillExample(prurez::Form6* form6)
{
    choose(form6, "RadioGroup1", 0);
    choose(form6, "RadioGroup3", 0);
    type(form6, "Edit1", "30");
    type(form6, "Edit2", "2,9");
    type(form6, "Edit3", "32000");
    type(form6, "Edit4", "0,35");
    type(form6, "Edit5", "0,01");
    type(form6, "Edit6", "0,2");
    choose(form6, "RadioGroup2", 1);
    type(form6, "Edit13", "0,3");
    type(form6, "Edit14", "0,5");
    if (auto* button = form6->findChild<QAbstractButton*>("Button2"))
        button->click();
    type(form6, "Edit17", "0");
    if (auto* step = form6->findChild<QComboBox*>("ComboBox1"))
        step->setEditText(number("0,00005"));
    type(form6, "Edit18", "vysledky.txt");
}

void click(QWidget* window, const char* name)
{
    if (auto* button = window->findChild<QAbstractButton*>(name))
        button->click();
}

void turnToPage(QWidget* window, int page)
{
    if (auto* pages = window->findChild<QTabWidget*>("PageControl1"))
        pages->setCurrentIndex(page);
}

// The bending test of examples/beam-150.txt typed in, its moment–curvature, and the
// ranges of examples/inverse.input with one intermediate value; the combinations are
// generated and computed and the best fit is found.
void runInverseExample(prurez::Form2* form2, prurez::Form3* form3, prurez::Form4* form4)
{
    const char* const points[][2] = {{"5", "0,00001"}, {"10", "0,00002"}, {"14", "0,00004"}, {"15,5", "0,0001"},
                                     {"14,2", "0,0003"}, {"12,8", "0,0006"}, {"11,9", "0,001"}, {"10,6", "0,0015"},
                                     {"9,4", "0,002"}, {"8,3", "0,003"}};
    form2->show();
    turnToPage(form2, 0);
    type(form2, "Edit2", "30000");
    type(form2, "Edit3", "0,15");
    type(form2, "Edit4", "0,15");
    click(form2, "RadioButton1");
    type(form2, "Edit1", "9");
    if (auto* spinner = form2->findChild<prurez::UpDown*>("UpDown2"))
        spinner->upButton()->click();
    for (int r = 1; r <= 10; ++r) {
        form2->testPoints().setCell(0, r, number(points[r - 1][0]).toStdString());
        form2->testPoints().setCell(1, r, number(points[r - 1][1]).toStdString());
    }
    turnToPage(form2, 1);
    click(form2, "Button2");
    turnToPage(form2, 2);
    const char* const ranges[][2] = {{"Edit18", "0,15"}, {"Edit19", "0,15"}, {"Edit5", "40"},    {"Edit6", "0,35"},
                                     {"Edit7", "25000"}, {"Edit12", "35000"}, {"Edit8", "2,5"},  {"Edit13", "4,5"},
                                     {"Edit9", "2"},     {"Edit14", "4"},     {"Edit10", "0,2"}, {"Edit15", "0,6"},
                                     {"Edit11", "0,2"},  {"Edit16", "0,6"},   {"Edit17", "1"}};
    for (const auto& field : ranges)
        type(form2, field[0], field[1]);
    turnToPage(form2, 0);
    savePages(form2, "Form2");
    saveEnlarged(form2, "Form2");

    form2->show();
    turnToPage(form2, 2);
    click(form2, "Button3");
    save(form3, "Form3");
    saveEnlarged(form3, "Form3");
    form3->show();
    click(form3, "Button1");
    click(form4, "BitBtn2");
    turnToPage(form4, 1);
    click(form4, "Button1");
    click(form4, "RefineButton");  // the best fit refined beyond the grid
    savePages(form4, "Form4");
    saveEnlarged(form4, "Form4");
}

// The series of examples/series opened and fitted, with each specimen's fit charted.
void runSeriesExample(prurez::Form2* form2, prurez::SeriesWindow* series)
{
    form2->show();
    prurez::guarded([&] { form2->openInput(QStringLiteral(PRUREZ_EXAMPLES_DIR "/series/series.input")); });
    turnToPage(form2, 0);
    save(form2, "Form2-series");
    turnToPage(form2, 2);
    click(form2, "SeriesButton");
    savePages(series, "SeriesWindow");
    if (auto* fits = series->findChild<QAbstractButton*>("FittedCurvesBox"))
        fits->click();
    saveEnlarged(series, "SeriesWindow");
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(folder);
    prurez::setWindowFailureSink([](const std::string& message) { std::fprintf(stderr, "message: %s\n", message.c_str()); });
    prurez::createWindows();
    const prurez::Windows& w = prurez::windows();

    w.form1->show();
    save(w.form1, "Form1");
    w.form1->hide();

    fillExample(w.form6);
    savePages(w.form6, "Form6");
    saveEnlarged(w.form6, "Form6");
    w.form6->show();
    if (auto* button = w.form6->findChild<QAbstractButton*>("BitBtn1"))
        button->click();
    w.form6->hide();
    savePages(w.form7, "Form7");
    saveEnlarged(w.form7, "Form7");
    // The interaction diagram of the same section.
    w.form6->show();
    if (auto* button = w.form6->findChild<QAbstractButton*>("InteractionButton"))
        button->click();
    w.form6->hide();
    save(w.interaction, "InteractionWindow");
    w.interaction->hide();

    runInverseExample(w.form2, w.form3, w.form4);
    runSeriesExample(w.form2, w.series);

    prurez::destroyWindows();
    std::printf("%d pictures in %s\n", saved, qPrintable(folder));
    return saved > 0 ? 0 : 1;
}
