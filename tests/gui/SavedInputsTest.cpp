// Inputs saved from the windows and opened in them: a saved input runs unchanged in
// prurez-batch to the table the window shows, a batch input opens with every field and
// choice filled, a malformed one is told by its line.

#include "GuiTest.h"

#include "flows/InputFile.h"
#include "ui/Form2.h"
#include "ui/Form6.h"
#include "ui/Form7.h"
#include "ui/Windows.h"
#include "ui/widgets/BackgroundWork.h"
#include "ui/widgets/Handlers.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QElapsedTimer>
#include <QFrame>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include <sys/stat.h>

namespace {

using guitest::choose;
using guitest::find;
using guitest::number;
using guitest::click;
using guitest::type;

std::string numberText(const char* text) { return number(text).toStdString(); }

// prurez-batch's standard output, or its error output after "failed: ".
std::string runBatch(const QStringList& arguments, const QString& directory = QString())
{
    QProcess batch;
    if (!directory.isEmpty())
        batch.setWorkingDirectory(directory);
    batch.start(PRUREZ_BATCH_EXE, arguments);
    batch.waitForFinished(60000);
    if (batch.exitCode() != 0)
        return "failed: " + batch.readAllStandardError().toStdString();
    return batch.readAllStandardOutput().toStdString();
}

QString separator() { return QString(QChar::fromLatin1(prurez::localeDecimalSeparator())); }

// A table as the other separator writes it.
std::string withSeparator(std::string text, char from, char to)
{
    std::replace(text.begin(), text.end(), from, to);
    return text;
}

QString fieldText(QWidget* form, const char* name) { return find<QLineEdit>(form, name)->text(); }

int item(QWidget* form, const char* group) { return find<prurez::RadioGroup>(form, group)->itemIndex(); }

TEST(SavedInputs, ASectionSavedFromTheWindowRunsInTheBatchToolToTheSameTable)
{
    guitest::clearFailures();
    QTemporaryDir directory;
    prurez::Form6 form;
    choose(&form, "RadioGroup1", 2);
    choose(&form, "RadioGroup3", 1);
    choose(&form, "RadioGroup5", 0);
    choose(&form, "RadioGroup2", 1);
    const std::pair<const char*, const char*> texts[] = {
        {"Edit1", "30"},    {"Edit2", "2,9"},  {"Edit3", "32000"},  {"Edit4", "0,35"},  {"Edit5", "0,01"},
        {"Edit6", "0,2"},   {"Edit8", "500"},  {"Edit9", "200000"}, {"Edit10", "1"},    {"Edit11", "1000"},
        {"Edit12", "0,05"}, {"Edit19", "400"}, {"Edit20", "0,05"},  {"Edit13", "0,3"},  {"Edit14", "0,5"},
        {"Edit17", "0"}};
    for (const auto& [name, value] : texts)
        type(&form, name, number(value));
    guitest::typeCombo(&form, "ComboBox1", number("0,001"));
    guitest::click(&form, "BitBtn1");
    ASSERT_TRUE(guitest::failures().empty()) << guitest::failures().front();
    const std::string shown = prurez::windows().form7->table().toTsv();
    prurez::windows().form7->hide();

    const QString saved = directory.filePath("zadani.txt");
    ASSERT_TRUE(prurez::guarded([&] { form.saveInput(saved); }));
    // Run from another directory, as the comment at its top says.
    EXPECT_EQ(runBatch({"section", saved, "--decimal", separator()}, QDir::tempPath()), shown);

    // Opened in a fresh window: the same texts and choices.
    prurez::Form6 opened;
    ASSERT_TRUE(prurez::guarded([&] { opened.openInput(saved); }));
    EXPECT_EQ(prurez::writeSectionInput(opened.texts(), ','), prurez::writeSectionInput(form.texts(), ','));

    // "Přesná rovnováha sil": another table, which the saved input gives too, and the
    // box checked when it is opened.
    find<QCheckBox>(&form, "ExactEquilibriumBox")->setChecked(true);
    guitest::click(&form, "BitBtn1");
    ASSERT_TRUE(guitest::failures().empty()) << guitest::failures().front();
    const std::string exact = prurez::windows().form7->table().toTsv();
    prurez::windows().form7->hide();
    EXPECT_NE(exact, shown);
    ASSERT_TRUE(prurez::guarded([&] { form.saveInput(saved); }));
    EXPECT_EQ(runBatch({"section", saved, "--decimal", separator()}, QDir::tempPath()), exact);
    ASSERT_TRUE(prurez::guarded([&] { opened.openInput(saved); }));
    EXPECT_TRUE(find<QCheckBox>(&opened, "ExactEquilibriumBox")->isChecked());
}

// The area and the moment of inertia shown are those of the section opened, never of
// the one before it.
TEST(SavedInputs, AnOpenedSectionShowsItsOwnAreaAndMomentOfInertia)
{
    guitest::clearFailures();
    prurez::Form6 form;
    choose(&form, "RadioGroup2", 0);
    type(&form, "Edit13", number("0,15"));
    guitest::click(&form, "Button2");
    EXPECT_EQ(fieldText(&form, "Edit15"), number("0,0225"));

    ASSERT_TRUE(prurez::guarded([&] { form.openInput(PRUREZ_EXAMPLES_DIR "/reinforced-beam.txt"); }));
    EXPECT_EQ(fieldText(&form, "Edit15"), number("0,15"));      // 0,3 · 0,5
    EXPECT_EQ(fieldText(&form, "Edit16"), number("0,003125"));  // 0,3 · 0,5³ / 12
    // A dimension that is no number: nothing to show, and nothing said until asked.
    QTemporaryDir directory;
    const QString bad = directory.filePath("bad.txt");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("shape = 0\nwidth = x\n");
    file.close();
    ASSERT_TRUE(prurez::guarded([&] { form.openInput(bad); }));
    EXPECT_EQ(fieldText(&form, "Edit15"), "");
    EXPECT_EQ(fieldText(&form, "Edit16"), "");
    EXPECT_TRUE(guitest::failures().empty());
    EXPECT_FALSE(find<QLineEdit>(&form, "Edit13")->hasSelectedText());  // nor pointed at
}

TEST(SavedInputs, BatchExamplesOpenWithEveryFieldAndChoiceAndABadLineIsNamed)
{
    guitest::clearFailures();
    prurez::Form6 form;
    ASSERT_TRUE(prurez::guarded([&] { form.openInput(PRUREZ_EXAMPLES_DIR "/reinforced-beam.txt"); }));
    EXPECT_EQ(item(&form, "RadioGroup1"), 2);
    EXPECT_EQ(item(&form, "RadioGroup3"), 1);
    EXPECT_EQ(item(&form, "RadioGroup5"), 0);
    EXPECT_EQ(item(&form, "RadioGroup2"), 1);
    EXPECT_TRUE(guitest::shown(&form, "Edit8"));  // the material's click ran
    EXPECT_EQ(fieldText(&form, "Edit2"), number("2,9"));
    EXPECT_EQ(fieldText(&form, "Edit12"), number("0,05"));
    EXPECT_EQ(fieldText(&form, "Edit14"), number("0,5"));
    EXPECT_EQ(find<QComboBox>(&form, "ComboBox1")->currentText(), number("0,001"));
    // The window runs it to the batch tool's table.
    guitest::click(&form, "BitBtn1");
    ASSERT_TRUE(guitest::failures().empty()) << guitest::failures().front();
    EXPECT_EQ(prurez::windows().form7->table().toTsv(),
              withSeparator(runBatch({"section", PRUREZ_EXAMPLES_DIR "/reinforced-beam.txt", "--decimal", ","}), ',',
                            prurez::localeDecimalSeparator()));
    prurez::windows().form7->hide();

    // Fibre concrete locks the diagram; the fields the file does not name are emptied.
    ASSERT_TRUE(prurez::guarded([&] { form.openInput(PRUREZ_EXAMPLES_DIR "/fibre-beam.txt"); }));
    EXPECT_EQ(item(&form, "RadioGroup1"), 1);
    EXPECT_EQ(item(&form, "RadioGroup3"), 0);
    EXPECT_FALSE(find<QWidget>(&form, "RadioGroup3")->isEnabled());
    EXPECT_EQ(item(&form, "RadioGroup2"), 0);
    EXPECT_EQ(fieldText(&form, "Edit6"), number("0,4"));
    EXPECT_EQ(fieldText(&form, "Edit7"), number("0,3"));
    EXPECT_EQ(fieldText(&form, "Edit8"), "");
    EXPECT_EQ(fieldText(&form, "Edit14"), "");

    // A malformed file changes nothing and names its line.
    QTemporaryDir directory;
    QFile bad(directory.filePath("spatne.txt"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("# zadani\nfcp = 50\nfcp_max = 3\n");
    bad.close();
    EXPECT_FALSE(prurez::guarded([&] { form.openInput(bad.fileName()); }));
    ASSERT_EQ(guitest::failures().size(), 1u);
    EXPECT_EQ(guitest::failures()[0], "Chyba v zadání na řádku 3: neznámý název hodnoty „fcp_max“.");
    EXPECT_EQ(fieldText(&form, "Edit1"), "40");

    // After the hand-over from the inverse analysis the material stays.
    form.continueFromInverseAnalysis({"31", "3", "33000", "0,35", "2", "0,4", "0,3"});
    EXPECT_FALSE(prurez::guarded([&] { form.openInput(PRUREZ_EXAMPLES_DIR "/reinforced-beam.txt"); }));
    EXPECT_EQ(item(&form, "RadioGroup1"), 1);
    EXPECT_EQ(fieldText(&form, "Edit1"), "31");
    guitest::clearFailures();
}

TEST(SavedInputs, TheInverseExampleOpensWithItsTestFileAndItsSavedFormRunsToTheWindowsDiagram)
{
    guitest::clearFailures();
    const QString previous = QDir::currentPath();
    QTemporaryDir directory;
    QDir::setCurrent(directory.path());
    prurez::Form2* form = prurez::windows().form2;
    ASSERT_TRUE(prurez::guarded([&] { form->openInput(PRUREZ_EXAMPLES_DIR "/inverse.input"); }));
    // The test data file is found beside the input and read.
    EXPECT_TRUE(find<QRadioButton>(form, "RadioButton2")->isChecked());
    EXPECT_EQ(fieldText(form, "Edit20"), "beam-150.txt");
    EXPECT_EQ(form->pointCountText(), "10");
    EXPECT_EQ(fieldText(form, "Edit3"), number("0,15"));
    EXPECT_EQ(fieldText(form, "Edit17"), "1");
    find<QTabWidget>(form, "PageControl1")->setCurrentIndex(1);
    guitest::click(form, "Button2");
    ASSERT_TRUE(guitest::failures().empty()) << guitest::failures().front();
    const std::string diagram = "# test\n" + form->testDiagram().toTsv();

    const QString saved = directory.filePath("inverse.txt");
    ASSERT_TRUE(prurez::guarded([&] { form->saveInput(saved); }));
    EXPECT_EQ(runBatch({"inverse", saved, "--decimal", separator(), "--blocks", "test"}, QDir::tempPath()), diagram);

    // Typed points are saved as point lines and open as typed points.
    find<QRadioButton>(form, "RadioButton1")->click();
    ASSERT_TRUE(prurez::guarded([&] { form->saveInput(saved); }));
    QFile written(saved);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    EXPECT_EQ(text.count("\npoint = "), 10);
    EXPECT_FALSE(text.contains("test_file"));
    EXPECT_FALSE(text.contains("exact_equilibrium"));
    EXPECT_EQ(runBatch({"inverse", saved, "--decimal", separator(), "--blocks", "test"}), diagram);

    // A cell that is not a number is selected; an integer field that holds no integer
    // is brought forward selected.
    const std::string kept = form->testDiagram().cell(1, 3);
    form->testDiagram().setCell(1, 3, "2e");
    click(form, "Button2");
    ASSERT_EQ(guitest::failures().size(), 1u);
    EXPECT_EQ(guitest::failures()[0], "'2e' is not a valid floating point value");
    auto* grid = find<prurez::GridView>(form, "StringGrid2");
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(3, 1));
    EXPECT_TRUE(grid->selectionModel()->isSelected(grid->model()->index(3, 1)));
    form->testDiagram().setCell(1, 3, kept);
    type(form, "Edit17", number("1,5"));
    click(form, "Button3");
    ASSERT_EQ(guitest::failures().size(), 2u);
    EXPECT_EQ(guitest::failures()[1], numberText("'1,5' is not a valid integer value"));
    EXPECT_EQ(find<QTabWidget>(form, "PageControl1")->currentIndex(), 2);
    EXPECT_EQ(form->focusWidget(), find<QWidget>(form, "Edit17"));
    guitest::clearFailures();

    // "Přesná rovnováha sil" is saved with the input and opened from it.
    auto* exact = find<QCheckBox>(form, "ExactEquilibriumBox");
    exact->setChecked(true);
    ASSERT_TRUE(prurez::guarded([&] { form->saveInput(saved); }));
    exact->setChecked(false);
    ASSERT_TRUE(prurez::guarded([&] { form->openInput(saved); }));
    EXPECT_TRUE(exact->isChecked());
    exact->setChecked(false);

    // An empty test file name is taken as typed into the file-name field and confirmed.
    QFile empty(directory.filePath("empty.input"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.write("test_file =\n");
    empty.close();
    ASSERT_TRUE(prurez::guarded([&] { form->openInput(empty.fileName()); }));
    EXPECT_TRUE(find<QRadioButton>(form, "RadioButton2")->isChecked());
    EXPECT_EQ(fieldText(form, "Edit20"), "");
    ASSERT_EQ(guitest::failures().size(), 1u);
    EXPECT_EQ(guitest::failures()[0], "File not found");
    guitest::clearFailures();

    // Every field is saved under its own key, as typed.
    const std::pair<const char*, const char*> keys[] = {
        {"Edit2", "E_test"},    {"Edit3", "load_a"},    {"Edit4", "s"},         {"Edit18", "h"},
        {"Edit19", "w"},        {"Edit5", "fcp"},       {"Edit6", "ecpm"},      {"Edit7", "E_min"},
        {"Edit12", "E_max"},    {"Edit8", "fct_min"},   {"Edit13", "fct_max"},  {"Edit9", "ectm_min"},
        {"Edit14", "ectm_max"}, {"Edit10", "a_min"},    {"Edit15", "a_max"},    {"Edit11", "b_min"},
        {"Edit16", "b_max"},    {"Edit17", "n"}};
    int typed = 0;
    for (const auto& [field, key] : keys)
        type(form, field, QString::number(++typed));
    ASSERT_TRUE(prurez::guarded([&] { form->saveInput(saved); }));
    std::ifstream savedFile(saved.toStdString());
    const prurez::InputFile savedInput = prurez::InputFile::parse(savedFile);
    typed = 0;
    for (const auto& [field, key] : keys)
        EXPECT_EQ(savedInput.value(key), std::to_string(++typed)) << key;
    ASSERT_TRUE(prurez::guarded([&] { form->openInput(PRUREZ_EXAMPLES_DIR "/inverse.input"); }));
    guitest::clearFailures();

    find<QTabWidget>(form, "PageControl1")->setCurrentIndex(2);
    form->hide();
    QDir::setCurrent(previous);
}

// A pipe is neither opened nor replaced, at once and with a message; a read that takes
// long shows itself, keeps the window painting and can be stopped, also when it hangs.
TEST(SavedInputs, APipeIsNeitherOpenedNorReplacedAndALongReadCanBeStopped)
{
    guitest::clearFailures();
    prurez::Form6 form;
    QTemporaryDir directory;
    const QString pipe = directory.filePath("roura");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(prurez::guarded([&] { form.openInput(pipe); }));
    EXPECT_FALSE(prurez::guarded([&] { form.saveInput(pipe); }));
    ASSERT_EQ(guitest::failures().size(), 2u);
    EXPECT_EQ(guitest::failures()[0], ("Soubor „" + pipe + "“ nelze otevřít: je to roura (FIFO), ne obyčejný soubor.").toStdString());
    EXPECT_EQ(guitest::failures()[1],
              ("Soubor „" + pipe + "“ se nepodařilo uložit: je to roura (FIFO), ne obyčejný soubor.").toStdString());
    EXPECT_TRUE(QFileInfo(pipe).isFile() == false && QFileInfo(pipe).exists());
    guitest::clearFailures();

    form.show();
    QApplication::setActiveWindow(&form);
    QLineEdit* field = find<QLineEdit>(&form, "Edit1");
    field->setFocus();
    // Work beyond the moment: the panel shows, the fields take no input (the focus waits
    // on the window, handed to no other control), "Přerušit" stops it.
    bool panelSeen = false;
    bool fieldsQuiet = false;
    QWidget* focusWhileWaiting = nullptr;
    auto stopWhenShown = [&] {
        QTimer::singleShot(400, &form, [&] {
            auto* panel = form.findChild<QFrame*>("AsideWorkPanel");
            panelSeen = panel != nullptr && panel->isVisible();
            fieldsQuiet = !field->isEnabled();
            focusWhileWaiting = QApplication::focusWidget();
            if (auto* cancel = form.findChild<QPushButton*>("AsideWorkCancel"))
                cancel->click();
        });
    };
    stopWhenShown();
    auto ended = std::make_shared<std::atomic<bool>>(false);
    EXPECT_TRUE(prurez::runAside(&form, "Čtení", [ended](prurez::WorkProgress& progress) {
        while (!progress.cancel)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        *ended = true;
    }));
    EXPECT_TRUE(panelSeen);
    EXPECT_TRUE(fieldsQuiet);
    EXPECT_EQ(focusWhileWaiting, &form);
    EXPECT_TRUE(*ended);
    EXPECT_TRUE(field->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), field);
    EXPECT_EQ(form.findChild<QFrame*>("AsideWorkPanel"), nullptr);

    // Work that hangs (a read on a stalled disk) is left behind when stopped.
    stopWhenShown();
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(prurez::runAside(&form, "Čtení", [](prurez::WorkProgress&) {
        std::this_thread::sleep_for(std::chrono::seconds(4));
    }));
    EXPECT_LT(waited.elapsed(), 2000);
    EXPECT_TRUE(guitest::failures().empty());
    form.hide();
}

}  // namespace
