#include "ui/Form6.h"

#include "ui/Windows.h"
#include "ui/Form7.h"
#include "ui/InteractionWindow.h"
#include "ui/widgets/BackgroundWork.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/FileListControls.h"
#include "ui/widgets/Handlers.h"
#include "ui/widgets/RadioGroup.h"
#include "ui/widgets/UserFiles.h"
#include "flows/InputFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>

namespace prurez {

namespace {

constexpr int rowHeight = 24;

// A caption one row high.
QLabel* addLabel(QWidget* parent, const char* text, int x, int y, int width)
{
    return label(text, parent, QRect(x, y, width, rowHeight));
}

QLabel* addHeading(QWidget* parent, const char* text, int x, int y, int width, int pointSize)
{
    QLabel* heading = addLabel(parent, text, x, y, width);
    QFont font = bold(heading->font());
    font.setPointSize(pointSize);
    heading->setFont(font);
    heading->setStyleSheet("color: #00007f;");
    return heading;
}

// One row of a field: caption, edit field, unit (the unit may be empty).
struct FieldRow {
    QLabel* caption;
    QLineEdit* edit;
    QLabel* unit;
};

FieldRow addRow(QWidget* parent, const char* caption, const char* editName, const char* unit, int x, int y,
                int captionWidth, int editWidth)
{
    FieldRow row;
    row.caption = addLabel(parent, caption, x, y, captionWidth);
    row.edit = edit(editName, parent, x + captionWidth + 4, y, editWidth);
    row.unit = unit != nullptr ? addLabel(parent, unit, x + captionWidth + editWidth + 12, y, 60) : nullptr;
    return row;
}

const char* const lockedMaterialMessage =
    "Materiál průřezu je převzat z inversní analýzy (drátkobeton) a nelze jej změnit; "
    "zadání s jiným materiálem nelze otevřít.";

const char* const plainStrainCaption = "Přetvoření na mezi pevnosti v tlaku";
const char* const fibreCoefficientCaption = "Součinitel úbytku pevnosti a";

}  // namespace

Form6::Form6(QWidget* parent) : Window(parent)
{
    setObjectName("Form6");
    setWindowTitle(QString::fromUtf8("Zadání vstupních hodnot pro určení pracovního diagramu průřezu"));
    setOpeningSize(QSize(800, 576));

    PageControl1 = pageControl(this, QRect(8, 8, 784, 560),
                               {"Materiálové charakteristiky průřezu", "Průřezové charakteristiky",
                                "Zatížení, parametry výpočtu, výstupní soubor  "});
    buildMaterialPage(PageControl1->widget(0));
    buildSectionPage(PageControl1->widget(1));
    buildLoadPage(PageControl1->widget(2));

    connect(RadioGroup1, &RadioGroup::clicked, this, &Form6::RadioGroup1Click);
    connect(RadioGroup2, &RadioGroup::clicked, this, &Form6::RadioGroup2Click);
    connect(Button2, &QPushButton::clicked, this, &Form6::Button2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Form6::BitBtn1Click);
    connect(OpenInputButton, &QPushButton::clicked, this, &Form6::OpenInputClick);
    connect(SaveInputButton, &QPushButton::clicked, this, &Form6::SaveInputClick);
    connect(InteractionButton, &QPushButton::clicked, this, &Form6::InteractionClick);
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this, &Form6::OpenInputClick);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this, &Form6::SaveInputClick);

    // Enlarged, the pages and the file choice grow; the fields stay where they are.
    const Qt::Edges grow = Qt::RightEdge | Qt::BottomEdge;
    followGrowth(PageControl1, grow);
    followGrowth(findChild<QWidget*>("OutputFileGroup"), grow);
    followGrowth(fileControls, grow);
    followGrowth(BitBtn1, grow | Qt::LeftEdge | Qt::TopEdge);
    for (QWidget* running : std::initializer_list<QWidget*>{runStatus, runProgress, runCancel})
        followGrowth(running, grow | Qt::LeftEdge | Qt::TopEdge);
    followGrowth(OpenInputButton, Qt::LeftEdge | Qt::RightEdge);
    followGrowth(SaveInputButton, Qt::LeftEdge | Qt::RightEdge);
    followGrowth(InteractionButton, Qt::LeftEdge | Qt::RightEdge);
}

void Form6::buildMaterialPage(QWidget* page)
{
    addHeading(page, "Materiálové charakteristiky", 16, 8, 400, 12);
    addHeading(page, "BETON", 16, 40, 200, 10);

    const int captionWidth = 250;
    const int editWidth = 90;
    int y = 68;
    Edit1 = addRow(page, "Pevnost v tlaku válcová", "Edit1", "[ MPa ]", 16, y, captionWidth, editWidth).edit;
    Edit2 = addRow(page, "Pevnost v tahu válcová", "Edit2", "[ MPa ]", 16, y += 30, captionWidth, editWidth).edit;
    Edit3 = addRow(page, "Základní modul pružnosti  E", "Edit3", "[ MPa ]", 16, y += 30, captionWidth, editWidth).edit;
    Edit4 = addRow(page, "Mezní přetvoření tlakové", "Edit4", "[ % ]", 16, y += 30, captionWidth, editWidth).edit;
    Edit5 = addRow(page, "Mezní přetvoření tahové", "Edit5", "[ % ]", 16, y += 30, captionWidth, editWidth).edit;
    FieldRow row6 = addRow(page, plainStrainCaption, "Edit6", "[ % ]", 16, y += 30, captionWidth, editWidth);
    Label9 = row6.caption;
    Label9->setObjectName("Label9");
    Edit6 = row6.edit;
    edit6Unit = row6.unit;
    edit6Unit->setObjectName("Edit6Unit");
    FieldRow row7 =
        addRow(page, "Součinitel reziduální pevnosti b", "Edit7", nullptr, 16, y += 30, captionWidth, editWidth);
    Label8 = row7.caption;
    Label8->setObjectName("Label8");
    Edit7 = row7.edit;
    setShown({Label9, Edit6, edit6Unit, Label8, Edit7}, false);

    // Steel and reinforcement: reinforced concrete only.
    auto collect = [this](const FieldRow& row) {
        reinforcedOnly << row.caption << row.edit << row.unit;
        return row.edit;
    };
    QLabel* steelHeading = addHeading(page, "OCEL", 16, y += 40, 200, 10);
    steelHeading->setObjectName("SteelHeading");
    reinforcedOnly << steelHeading;
    Edit8 = collect(addRow(page, "Mez kluzu", "Edit8", "[ MPa ]", 16, y += 28, captionWidth, editWidth));
    Edit9 = collect(addRow(page, "Modul pružnosti", "Edit9", "[ MPa ]", 16, y += 30, captionWidth, editWidth));
    Edit10 = collect(addRow(page, "Mezní přetvoření", "Edit10", "[ % ]", 16, y += 30, captionWidth, editWidth));

    y += 42;
    QLabel* bottomHeading = addHeading(page, "Výztuž při dolním povrchu", 16, y, 340, 10);
    bottomHeading->setObjectName("BottomReinforcementHeading");
    QLabel* topHeading = addHeading(page, "Výztuž při horním povrchu", 400, y, 340, 10);
    topHeading->setObjectName("TopReinforcementHeading");
    reinforcedOnly << bottomHeading << topHeading;
    const int blockCaption = 190;
    const int blockEdit = 80;
    Edit11 = collect(addRow(page, "Plocha výztuže", "Edit11", "[ mm2 ]", 16, y + 28, blockCaption, blockEdit));
    Edit12 = collect(
        addRow(page, "Vzdálenost od dolního okraje", "Edit12", "[ m ]", 16, y + 58, blockCaption, blockEdit));
    Edit19 = collect(addRow(page, "Plocha výztuže", "Edit19", "[ mm2 ]", 400, y + 28, blockCaption, blockEdit));
    Edit20 = collect(
        addRow(page, "Vzdálenost od horního okraje", "Edit20", "[ m ]", 400, y + 58, blockCaption, blockEdit));
    for (QWidget* control : reinforcedOnly)
        control->hide();

    RadioGroup1 = new RadioGroup(QString::fromUtf8("Výběr materiálu průřezu"),
                                 {QString::fromUtf8("Prostý beton"), QString::fromUtf8("Drátkobeton"),
                                  QString::fromUtf8("Železobeton")},
                                 page);
    RadioGroup1->setObjectName("RadioGroup1");
    RadioGroup1->setGeometry(470, 40, 290, 112);
    RadioGroup3 = new RadioGroup(QString::fromUtf8("Výběr pracovního diagramu průřezu"),
                                 {QString::fromUtf8("Bilineární"), QString::fromUtf8("Parabolicko - rektangulární"),
                                  QString::fromUtf8("Parabolický")},
                                 page);
    RadioGroup3->setObjectName("RadioGroup3");
    RadioGroup3->setGeometry(470, 162, 290, 112);
    RadioGroup5 = new RadioGroup(QString::fromUtf8("Beton v tahu působí"),
                                 {QString::fromUtf8("Ano"), QString::fromUtf8("Ne")}, page);
    RadioGroup5->setObjectName("RadioGroup5");
    RadioGroup5->setGeometry(470, 284, 290, 84);
}

void Form6::buildSectionPage(QWidget* page)
{
    RadioGroup2 = new RadioGroup(QString::fromUtf8("Výbět typu průřezu"),
                                 {QString::fromUtf8("Čtverec"), QString::fromUtf8("Obdélník")}, page);
    RadioGroup2->setObjectName("RadioGroup2");
    RadioGroup2->setGeometry(16, 16, 290, 84);

    const int captionWidth = 180;
    const int editWidth = 130;
    FieldRow edge = addRow(page, "", "Edit13", "[ m ]", 16, 124, captionWidth, editWidth);
    Label27 = edge.caption;
    Label27->setObjectName("Label27");
    Edit13 = edge.edit;
    edit13Unit = edge.unit;
    edit13Unit->setObjectName("Edit13Unit");
    FieldRow height = addRow(page, "Výška h", "Edit14", "[ m ]", 16, 156, captionWidth, editWidth);
    heightLabel = height.caption;
    heightLabel->setObjectName("HeightLabel");
    Edit14 = height.edit;
    edit14Unit = height.unit;
    edit14Unit->setObjectName("Edit14Unit");
    FieldRow area = addRow(page, "Plocha", "Edit15", "[ m2 ]", 16, 204, captionWidth, editWidth);
    FieldRow inertia = addRow(page, "Moment setrvačnosti", "Edit16", "[ m4 ]", 16, 236, captionWidth, editWidth);
    Edit15 = area.edit;
    Edit16 = inertia.edit;
    Edit15->setReadOnly(true);  // results only
    Edit16->setReadOnly(true);
    characteristicsRows << area.caption << area.edit << area.unit << inertia.caption << inertia.edit
                        << inertia.unit;
    setShown({Label27, Edit13, edit13Unit, heightLabel, Edit14, edit14Unit}, false);
    for (QWidget* hidden : characteristicsRows)
        hidden->hide();

    Button2 = new QPushButton(QString::fromUtf8("Průřezové charakteristiky"), page);
    Button2->setObjectName("Button2");
    Button2->setGeometry(16, 288, 330, 32);
}

void Form6::buildLoadPage(QWidget* page)
{
    Edit17 = addRow(page, "Velikost působící normálové síly", "Edit17", "[ kN ]", 16, 20, 240, 120).edit;
    addLabel(page, "Požadovaný přírůstek křivosti", 16, 56, 240);
    ComboBox1 = new QComboBox(page);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setGeometry(260, 56, 120, rowHeight);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems({"0,1", "0,01", "0,001", "0,0001", "0,00001", "0,000001", "0,0000001"});
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QString());
    addLabel(page, "[ m-1 ]", 388, 56, 60);
    exactEquilibriumBox = new QCheckBox(QString::fromUtf8("Přesná rovnováha sil"), page);
    exactEquilibriumBox->setObjectName("ExactEquilibriumBox");
    exactEquilibriumBox->setToolTip(
        QString::fromUtf8("Neutrální osa tam, kde jsou síly průřezu v rovnováze s normálovou silou přesně, "
                          "ne v první poloze kroku 5 µm s odchylkou pod 1 kN"));
    exactEquilibriumBox->setGeometry(460, 56, 300, rowHeight);

    auto* output = new QGroupBox(QString::fromUtf8("Určení výstupního souboru"), page);
    output->setObjectName("OutputFileGroup");
    output->setGeometry(16, 100, 560, 420);
    addLabel(output, "Název souboru :", 14, 30, 110);
    Edit18 = edit("Edit18", output, 126, 30, 260);
    fileControls = new FileListControls(QString::fromUtf8("Všechny soubory|*.*"), Edit18, output);
    fileControls->setObjectName("FileListControls1");
    fileControls->setGeometry(14, 66, 532, 340);
    Edit18->setText("*.*");

    BitBtn1 = new QPushButton(QString::fromUtf8("   VÝPOČET"), page);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    QFont font = BitBtn1->font();
    font.setBold(true);
    font.setPointSize(11);
    BitBtn1->setFont(font);
    BitBtn1->setGeometry(596, 472, 164, 48);

    runStatus = addLabel(page, "", 596, 372, 164);
    runStatus->setObjectName("RunStatus");
    runProgress = new QProgressBar(page);
    runProgress->setObjectName("RunProgress");
    runProgress->setGeometry(596, 398, 164, 18);
    runProgress->setTextVisible(false);
    runCancel = new QPushButton(QString::fromUtf8("Přerušit"), page);
    runCancel->setObjectName("CancelButton");
    runCancel->setGeometry(596, 424, 164, 32);
    setShown({runStatus, runProgress, runCancel}, false);
    // The whole input, of every page, as a file.
    OpenInputButton = new QPushButton(QString::fromUtf8("Otevřít zadání…"), page);
    OpenInputButton->setObjectName("OpenInputButton");
    OpenInputButton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    OpenInputButton->setToolTip(QString::fromUtf8("Otevře zadání ze souboru (Ctrl+O)"));
    OpenInputButton->setGeometry(596, 108, 164, 32);
    SaveInputButton = new QPushButton(QString::fromUtf8("Uložit zadání…"), page);
    SaveInputButton->setObjectName("SaveInputButton");
    SaveInputButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    SaveInputButton->setToolTip(QString::fromUtf8("Uloží zadání do souboru pro prurez-batch (Ctrl+S)"));
    SaveInputButton->setGeometry(596, 148, 164, 32);
    InteractionButton = new QPushButton(QString::fromUtf8("Interakční diagram N–M"), page);
    InteractionButton->setObjectName("InteractionButton");
    InteractionButton->setToolTip(
        QString::fromUtf8("Únosnost průřezu v ohybu pro všechny normálové síly, v novém okně"));
    InteractionButton->setGeometry(596, 208, 164, 32);
}

std::vector<Form6::Field> Form6::fields() const
{
    return {{&SectionTexts::fcp, Edit1},          {&SectionTexts::fct, Edit2},
            {&SectionTexts::E, Edit3},            {&SectionTexts::ecu, Edit4},
            {&SectionTexts::etu, Edit5},          {&SectionTexts::ec1OrA, Edit6},
            {&SectionTexts::b, Edit7},            {&SectionTexts::fy, Edit8},
            {&SectionTexts::Es, Edit9},           {&SectionTexts::esu, Edit10},
            {&SectionTexts::bottomArea, Edit11},  {&SectionTexts::bottomDistance, Edit12},
            {&SectionTexts::width, Edit13},       {&SectionTexts::height, Edit14},
            {&SectionTexts::N, Edit17},           {&SectionTexts::outputFile, Edit18},
            {&SectionTexts::topArea, Edit19},     {&SectionTexts::topDistance, Edit20}};
}

std::vector<TextSource> Form6::sources(const SectionTexts& texts) const
{
    std::vector<TextSource> result{{&texts.kappaStep, ComboBox1}};
    for (const Field& field : fields())
        result.push_back({&(texts.*field.text), field.edit});
    return result;
}

SectionTexts Form6::texts() const
{
    SectionTexts t;
    t.material = RadioGroup1->itemIndex();
    t.diagram = RadioGroup3->itemIndex();
    t.tension = RadioGroup5->itemIndex();
    t.shape = RadioGroup2->itemIndex();
    for (const Field& field : fields())
        t.*field.text = toStd(field.edit->text());
    t.kappaStep = toStd(ComboBox1->currentText());
    t.exactEquilibrium = exactEquilibriumBox->isChecked();
    return t;
}

void Form6::saveInput(const QString& fileName) const
{
    saveBytes(fileName, QByteArray::fromStdString(writeSectionInput(texts(), localeDecimalSeparator())));
}

void Form6::openInput(const QString& fileName)
{
    SectionTexts read;  // every field the file does not name stays empty
    read.material = RadioGroup1->itemIndex();
    read.diagram = RadioGroup3->itemIndex();
    read.tension = RadioGroup5->itemIndex();
    read.shape = RadioGroup2->itemIndex();
    if (!readInputFile(this, fileName, [&](const InputFile& input) { readSectionInput(input, read); }))
        return;
    // After the hand-over from the inverse analysis the material stays fibre concrete.
    if (!RadioGroup1->isEnabled() && read.material != RadioGroup1->itemIndex())
        throw Failure(lockedMaterialMessage);

    // The choices as clicks, in the order the file is read: what the material locks
    // was already set by its click.
    if (read.material >= 0)
        RadioGroup1->setItemIndex(read.material);
    if (read.diagram >= 0 && RadioGroup3->isEnabled())
        RadioGroup3->setItemIndex(read.diagram);
    if (read.tension >= 0 && RadioGroup5->isEnabled())
        RadioGroup5->setItemIndex(read.tension);
    if (read.shape >= 0)
        RadioGroup2->setItemIndex(read.shape);
    for (const Field& field : fields())
        setFieldText(field.edit, toQt(read.*field.text));
    ComboBox1->setEditText(toQt(read.kappaStep));
    ComboBox1->lineEdit()->setCursorPosition(0);
    exactEquilibriumBox->setChecked(read.exactEquilibrium);

    // Area and moment of inertia are those of the opened section: computed again where
    // they are shown, empty where its dimensions are no numbers.
    Edit15->clear();
    Edit16->clear();
    if (!Edit15->isHidden())
        fillCharacteristics(true);
}

void Form6::SaveInputClick()
{
    const QString name = askSaveFileName(this, QString::fromUtf8("Uložit zadání průřezu"), inputFileFilter());
    if (!name.isEmpty())
        guarded([&] { saveInput(name); });
}

void Form6::OpenInputClick()
{
    const QString name = askOpenFileName(this, QString::fromUtf8("Otevřít zadání průřezu"), inputFileFilter());
    if (!name.isEmpty())
        guarded([&] { openInput(name); });
}

QString Form6::outputFileName() const { return Edit18->text(); }

void Form6::InteractionClick()
{
    guarded([&] {
        const SectionTexts read = texts();
        showingFailedText(sources(read), [&] { windows().interaction->computeFor(read); });
    });
}

void Form6::RadioGroup1Click()
{
    guarded([&] {
        const int material = RadioGroup1->itemIndex();
        if (material < 0)
            return;
        const bool fibre = material == 1;
        const bool reinforced = material == 2;
        const MaterialRules rules = materialRules(material);
        for (QWidget* control : reinforcedOnly)
            control->setVisible(reinforced);
        if (rules.tension >= 0)
            RadioGroup5->setItemIndex(rules.tension);
        RadioGroup5->setEnabled(rules.tensionFree);
        if (rules.diagram >= 0)
            RadioGroup3->setItemIndex(rules.diagram);
        RadioGroup3->setEnabled(rules.diagramFree);
        Label9->setText(QString::fromUtf8(fibre ? fibreCoefficientCaption : plainStrainCaption));
        Label9->show();
        Edit6->show();
        edit6Unit->setVisible(!fibre);
        Label8->setVisible(fibre);
        Edit7->setVisible(fibre);
    });
}

void Form6::RadioGroup2Click()
{
    guarded([&] {
        const int shape = RadioGroup2->itemIndex();
        if (shape < 0)
            return;
        const bool rectangle = shape == 1;
        Label27->setText(QString::fromUtf8(rectangle ? "Šířka b" : "Hrana a"));
        Label27->show();
        Edit13->show();
        edit13Unit->show();
        heightLabel->setVisible(rectangle);
        Edit14->setVisible(rectangle);
        edit14Unit->setVisible(rectangle);
    });
}

void Form6::Button2Click()
{
    guarded([&] {
        for (QWidget* control : characteristicsRows)
            control->show();
        fillCharacteristics();
    });
}

void Form6::fillCharacteristics(bool quiet)
{
    const SectionTexts read = texts();
    SectionCharacteristics result;
    auto compute = [&] { result = sectionCharacteristics(read, localeDecimalSeparator()); };
    if (!quiet) {
        showingFailedText(sources(read), compute);
    } else {
        try {
            compute();
        } catch (const Failure&) {
            return;
        }
    }
    if (!result.computed)
        return;
    setFieldText(Edit15, toQt(result.area));
    setFieldText(Edit16, toQt(result.inertia));
}

void Form6::BitBtn1Click()
{
    guarded([&] {
        if (backgroundWorkRunning())
            return;
        Form7* results = windows().form7;
        // The run writes into a table of its own, which the results window takes over
        // when the run has ended (also when it failed: the rows written stay).
        GridTable table = results->table();
        SectionRunReport report;
        const SectionTexts input = texts();
        const char separator = localeDecimalSeparator();
        WorkDisplay display{runProgress, runCancel, runStatus, [](long long steps) {
                                return QString::fromUtf8("Spočteno kroků křivosti: ") + QString::number(steps);
                            }};
        auto takeTable = [&] {
            results->table() = std::move(table);
            results->syncTable(report);
            runProgress->hide();
        };
        try {
            showingFailedText(sources(input), [&] {
                runInBackground(this, display, [&](WorkProgress& progress) {
                    SectionRunControl control;
                    control.run.progress = progress.callback();
                    runSectionAnalysis(input, separator, table, report, control);
                });
            });
        } catch (const Failure& failure) {
            takeTable();
            showMissingChoice(failure);
            throw;
        } catch (...) {
            takeTable();
            throw;
        }
        takeTable();
        if (report.showResults) {
            systemBeep();
            results->showResults();
        }
        if (report.cancelled)
            inform(report.stopMessage);
        else if (!report.stopMessage.empty())
            throw Failure(report.stopMessage);
    });
}

void Form6::showMissingChoice(const Failure& failure)
{
    const std::pair<Reason, RadioGroup*> choices[] = {
        {Reason::noDiagram, RadioGroup3}, {Reason::noShape, RadioGroup2}, {Reason::noTensionChoice, RadioGroup5}};
    for (const auto& [reason, group] : choices)
        if (failure.reason() == reason)
            showField(group->button(0));
}

void Form6::continueFromInverseAnalysis(const std::array<std::string, 7>& texts)
{
    RadioGroup1->setItemIndex(1);  // runs the material's rules
    RadioGroup3->setItemIndex(0);
    RadioGroup5->setItemIndex(0);
    RadioGroup1->setEnabled(false);
    RadioGroup3->setEnabled(false);
    RadioGroup5->setEnabled(false);
    QLineEdit* const targets[] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7};
    for (std::size_t i = 0; i < texts.size(); ++i)
        setFieldText(targets[i], toQt(texts[i]));
}

void Form6::continueFromFit(const std::array<std::string, 7>& fit)
{
    continueFromInverseAnalysis({fit[1], fit[2], fit[0], fit[3], fit[4], fit[5], fit[6]});
}

void Form6::showEvent(QShowEvent* event)
{
    fileControls->refresh();  // the directory may have been chosen in another window
    Window::showEvent(event);
}

}  // namespace prurez
