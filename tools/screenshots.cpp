// Saves a picture of every window and page of the program, filled with a worked
// example of the section tool, into a folder (default "screenshots").
//
//   screenshots [folder]      (run offscreen: QT_QPA_PLATFORM=offscreen)

#include "app/Form1.h"
#include "app/Windows.h"
#include "inverse/Form2.h"
#include "inverse/Form3.h"
#include "inverse/Form4.h"
#include "section/Form6.h"
#include "section/Form7.h"
#include "widgets/Handlers.h"
#include "widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

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
    auto* pages = window->findChild<QTabWidget*>("PageControl1");
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
    w.form6->show();
    if (auto* button = w.form6->findChild<QAbstractButton*>("BitBtn1"))
        button->click();
    w.form6->hide();
    savePages(w.form7, "Form7");

    savePages(w.form2, "Form2");
    savePages(w.form3, "Form3");
    savePages(w.form4, "Form4");

    prurez::destroyWindows();
    std::printf("%d pictures in %s\n", saved, qPrintable(folder));
    return saved > 0 ? 0 : 1;
}
