#include "ui/Form2.h"

#include "ui/Windows.h"
#include "flows/InverseState.h"
#include "common/NumberText.h"
#include "ui/Form3.h"
#include "ui/SeriesWindow.h"
#include "ui/widgets/Charts.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/FileListControls.h"
#include "ui/widgets/GridView.h"
#include "ui/widgets/Handlers.h"
#include "ui/widgets/RadioGroup.h"
#include "ui/widgets/UpDown.h"
#include "ui/widgets/UserFiles.h"
#include "flows/InputFile.h"
#include "flows/InverseMessages.h"

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QCheckBox>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <optional>

namespace prurez {

namespace {

// ---- pictures

// A beam on two supports loaded by two equal downward point forces.
QPixmap loadingScheme()
{
    QPixmap picture(360, 170);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen outline(Qt::black, 2);
    painter.setPen(outline);
    // the beam
    painter.setBrush(QColor(200, 200, 200));
    painter.drawRect(QRectF(30, 90, 300, 18));
    // supports: a fixed hinge on the left, a sliding one on the right
    painter.setBrush(Qt::white);
    const QPointF left(50, 108), right(310, 108);
    painter.drawPolygon(QPolygonF({left, left + QPointF(-13, 22), left + QPointF(13, 22)}));
    painter.drawLine(left + QPointF(-22, 22), left + QPointF(22, 22));
    painter.drawPolygon(QPolygonF({right, right + QPointF(-13, 18), right + QPointF(13, 18)}));
    painter.drawEllipse(right + QPointF(-7, 22), 3.5, 3.5);
    painter.drawEllipse(right + QPointF(7, 22), 3.5, 3.5);
    painter.drawLine(right + QPointF(-22, 27), right + QPointF(22, 27));
    for (int x = -20; x <= 20; x += 8) {
        painter.drawLine(left + QPointF(x + 4, 22), left + QPointF(x, 29));
        painter.drawLine(right + QPointF(x + 4, 27), right + QPointF(x, 34));
    }
    // two equal forces
    painter.setBrush(Qt::black);
    for (const double x : {137.0, 223.0}) {
        painter.drawLine(QPointF(x, 30), QPointF(x, 80));
        painter.drawPolygon(QPolygonF({QPointF(x, 89), QPointF(x - 6, 75), QPointF(x + 6, 75)}));
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(15);
        painter.setFont(font);
        painter.drawText(QPointF(x + 6, 42), "F");
    }
    return picture;
}

// The bilinear working diagram of fibre concrete with its marks.
QPixmap bilinearDiagram()
{
    QPixmap picture(470, 210);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    const QPointF origin(235, 105);
    // axes
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(20, origin.y()), QPointF(450, origin.y()));
    painter.drawLine(QPointF(origin.x(), 10), QPointF(origin.x(), 200));
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygonF({QPointF(456, origin.y()), QPointF(446, origin.y() - 4), QPointF(446, origin.y() + 4)}));
    painter.drawPolygon(QPolygonF({QPointF(origin.x(), 4), QPointF(origin.x() - 4, 14), QPointF(origin.x() + 4, 14)}));
    painter.drawText(QPointF(origin.x() + 8, 16), "napětí ");
    painter.drawText(QRectF(300, origin.y() - 19, 155, 16), Qt::AlignRight, "poměrné přetvoření ");
    // compression: elastic line to fcp, then constant up to epm
    const QPointF compressionEnd(175, 175), crushing(45, 175);
    painter.setPen(QPen(Qt::blue, 2));
    painter.drawLine(origin, compressionEnd);
    painter.drawLine(compressionEnd, crushing);
    // tension: elastic to fct, first softening to (1 - a) fct, second to b fct at etm
    const QPointF cracking(250, 45), firstEnd(268, 63), ultimate(420, 80);
    painter.setPen(QPen(Qt::red, 2));
    painter.drawLine(origin, cracking);
    painter.drawLine(cracking, firstEnd);
    painter.drawLine(firstEnd, ultimate);
    // guide lines
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawLine(QPointF(crushing.x(), origin.y()), crushing);
    painter.drawLine(QPointF(origin.x(), compressionEnd.y()), crushing);
    painter.drawLine(QPointF(ultimate.x(), origin.y()), ultimate);
    painter.drawLine(QPointF(origin.x(), cracking.y()), QPointF(300, cracking.y()));
    painter.drawLine(QPointF(firstEnd.x(), firstEnd.y()), QPointF(300, firstEnd.y()));
    // marks
    painter.setPen(Qt::black);
    painter.drawText(QPointF(origin.x() - 44, 150), "E");
    painter.drawText(QPointF(origin.x() + 6, compressionEnd.y() + 16), "fcp");
    painter.drawText(QPointF(crushing.x() - 10, origin.y() - 6), "epm");
    painter.drawText(QPointF(origin.x() - 30, cracking.y() + 4), "fct");
    painter.drawText(QPointF(304, cracking.y() + 14), "a . fct");
    painter.drawText(QPointF(ultimate.x() - 8, ultimate.y() - 8), "b . fct");
    painter.drawText(QPointF(ultimate.x() - 8, origin.y() + 16), "etm");
    font.setItalic(true);
    painter.setFont(font);
    painter.drawText(QPointF(40, 198), "Tlakové namáhání");
    painter.drawText(QPointF(330, 34), "Tahové namáhání");
    return picture;
}

QLabel* picture(const char* name, QWidget* parent, const QRect& place)
{
    auto* result = new QLabel(parent);
    result->setObjectName(name);
    result->setGeometry(place);
    result->setScaledContents(true);
    return result;
}

// An up-down spinner at (x, y) beside its edit field.
UpDown* upDown(const char* name, QLineEdit* buddy, QWidget* parent, int x, int y)
{
    auto* result = new UpDown(buddy, 0, 100, parent);
    result->setObjectName(name);
    result->setGeometry(x, y, 18, 24);
    result->upButton()->setGeometry(0, 0, 18, 12);
    result->downButton()->setGeometry(0, 12, 18, 12);
    return result;
}

}  // namespace

// ---- the window

Form2::Form2(QWidget* parent) : Window(parent)
{
    setObjectName("Form2");
    setWindowTitle("Inversní analýza drátkobetonu");
    setOpeningSize(QSize(800, 590));
    PageControl1 = pageControl(this, QRect(6, 6, 788, 578),
                               {"Zadání hodnot ze zkoušek na trámcích  ", "Výpočet křivosti a momentu ",
                                "Zadání parametrů inversní analýzy     "});
    buildTestPage(PageControl1->widget(0));
    buildDiagramPage(PageControl1->widget(1));
    buildParameterPage(PageControl1->widget(2));
    PageControl1->setCurrentIndex(2);
    connect(PageControl1, &QTabWidget::currentChanged, this, &Form2::PageControl1Change);

    // Enlarged, the grids grow in height (the button below the diagram grid stays
    // below it), the chart and the file choice both ways.
    const Qt::Edges grow = Qt::RightEdge | Qt::BottomEdge;
    followGrowth(PageControl1, grow);
    followGrowth(StringGrid1, Qt::BottomEdge);
    followGrowth(fileControls_, grow);
    followGrowth(seriesList_, Qt::BottomEdge);
    followGrowth(addSpecimenButton_, Qt::TopEdge | Qt::BottomEdge);
    followGrowth(removeSpecimenButton_, Qt::TopEdge | Qt::BottomEdge);
    followGrowth(Edit20, Qt::TopEdge | Qt::BottomEdge);
    followGrowth(fileNameLabel_, Qt::TopEdge | Qt::BottomEdge);
    followGrowth(StringGrid2, Qt::BottomEdge);
    followGrowth(Chart1, grow);
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this, &Form2::OpenInputClick);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this, &Form2::SaveInputClick);
    keepFieldTexts();
    updateSeriesControls();
}

void Form2::keepFieldTexts()
{
    InverseFields& kept = inverseSession().fields();
    CombinationTexts& c = kept.combinations;
    const std::pair<QLineEdit*, std::string*> fields[] = {
        {Edit2, &kept.test.E},        {Edit3, &kept.test.loadDistance}, {Edit4, &kept.test.sectionDimension},
        {Edit1, &kept.beam.pointCount}, {Edit18, &kept.beam.height},    {Edit19, &kept.beam.width},
        {Edit5, &c.fcp},              {Edit6, &c.ecpm},                 {Edit7, &c.E.min},
        {Edit12, &c.E.max},           {Edit8, &c.fct.min},              {Edit13, &c.fct.max},
        {Edit9, &c.ectm.min},         {Edit14, &c.ectm.max},            {Edit10, &c.a.min},
        {Edit15, &c.a.max},           {Edit11, &c.b.min},               {Edit16, &c.b.max},
        {Edit17, &c.intermediateCount}};
    std::vector<TextSource> sources;
    for (const auto& [field, text] : fields) {
        *text = toStd(field->text());
        connect(field, &QLineEdit::textChanged, this, [text = text](const QString& changed) { *text = toStd(changed); });
        sources.push_back({text, field});
    }
    addFieldTexts(sources);
    kept.exactEquilibrium = exactEquilibriumBox->isChecked();
    connect(exactEquilibriumBox, &QCheckBox::toggled, this, [&kept](bool on) { kept.exactEquilibrium = on; });
}

void Form2::buildTestPage(QWidget* page)
{
    label("Počáteční modul pružnosti E", page, 16, 20);
    label("Vzdálenost zatěžujících sil a", page, 16, 52);
    label("Šířka průřezu s", page, 16, 84);
    Edit2 = edit("Edit2", page, 226, 16);
    Edit3 = edit("Edit3", page, 226, 48);
    Edit4 = edit("Edit4", page, 226, 80);
    label("MPa", page, 324, 20);
    label("m", page, 324, 52);
    label("m", page, 324, 84);

    RadioButton1 = new QRadioButton(page);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton1->move(16, 126);
    RadioButton2 = new QRadioButton(page);
    RadioButton2->setObjectName("RadioButton2");
    RadioButton2->move(16, 154);
    label("Zadány ručně", page, 40, 128);
    label("Ze souboru", page, 40, 156);
    // Neither is selected at start.
    RadioButton1->setAutoExclusive(true);
    RadioButton2->setAutoExclusive(true);
    connect(RadioButton1, &QRadioButton::clicked, this, &Form2::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &Form2::RadioButton2Click);

    countLabel_ = label("Počet posuzovaných hodnot diagramu ", page, 16, 198);
    Edit1 = edit("Edit1", page, 254, 194, 44);
    Edit1->setText("0");
    UpDown2 = upDown("UpDown2", Edit1, page, 298, 194);
    connect(UpDown2, &UpDown::clicked, this, &Form2::UpDown2Click);

    pointsLabel_ = label("Zadání velikosti sil a průhybů", page, 16, 232);
    StringGrid1 = gridView("StringGrid1", &testPoints(), page, QRect(16, 252, 152, 218), 65, 25);
    StringGrid1->setWideGridLines();
    StringGrid1->setEditableInPlace(true);

    label("Zatěžovací schéma konstrukce", page, 400, 20);
    auto* image1 = picture("Image1", page, QRect(400, 40, 360, 170));
    image1->setFrameStyle(QFrame::Box | QFrame::Plain);
    image1->setPixmap(loadingScheme());

    inputFileLabel_ = label("Vstupní soubor", page, 400, 232);
    Edit20 = edit("Edit20", page, 500, 490, 200);
    Edit20->setText("*.*");
    fileNameLabel_ = label("Název souboru:", page, 400, 494);
    fileControls_ = new FileListControls("Všechny soubory (*.*)|*.*", Edit20, page);
    fileControls_->setObjectName("FileListControls1");
    fileControls_->setGeometry(400, 252, 370, 226);
    connect(Edit20, &QLineEdit::textChanged, this, &Form2::Edit20Change);
    connect(Edit20, &QLineEdit::returnPressed, this, &Form2::Edit20Confirmed);

    // A test series: the files of several beams of one mix, each a specimen.
    seriesLabel_ = label("Série zkoušek", page, 210, 232);
    seriesList_ = new QListWidget(page);
    seriesList_->setObjectName("SeriesList");
    seriesList_->setGeometry(210, 252, 180, 186);
    seriesList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    seriesList_->setToolTip("Soubory zkoušek série; „Vyhodnocení série zkoušek“ na třetí stránce je vyhodnotí "
                            "každý zvlášť i všechny společně");
    addSpecimenButton_ = new QPushButton("Přidat", page);
    addSpecimenButton_->setObjectName("AddSpecimenButton");
    addSpecimenButton_->setToolTip("Přidá do série soubor zvolený v seznamu souborů");
    addSpecimenButton_->setGeometry(210, 446, 86, 28);
    connect(addSpecimenButton_, &QPushButton::clicked, this, &Form2::addSpecimenClick);
    removeSpecimenButton_ = new QPushButton("Odebrat", page);
    removeSpecimenButton_->setObjectName("RemoveSpecimenButton");
    removeSpecimenButton_->setToolTip("Odebere ze série vybrané soubory");
    removeSpecimenButton_->setGeometry(304, 446, 86, 28);
    connect(removeSpecimenButton_, &QPushButton::clicked, this, &Form2::removeSpecimenClick);

    setShown({countLabel_, Edit1, UpDown2, pointsLabel_, StringGrid1, inputFileLabel_, fileNameLabel_, Edit20,
              fileControls_, seriesLabel_, seriesList_, addSpecimenButton_, removeSpecimenButton_},
             false);
}

void Form2::buildDiagramPage(QWidget* page)
{
    label("Vypočtené křivosti a momenty", page, 16, 12);
    StringGrid2 = gridView("StringGrid2", &testDiagram(), page, QRect(16, 32, 286, 218), 65, 25);
    StringGrid2->setWideGridLines();
    StringGrid2->setEditableInPlace(true);
    StringGrid2->setHeaderUnits({{"Moment", "kNm"}});
    Button2 = new QPushButton("Výpočet momentu a křivosti", page);
    Button2->setObjectName("Button2");
    Button2->setGeometry(16, 264, 286, 30);
    connect(Button2, &QPushButton::clicked, this, &Form2::Button2Click);

    label("Diagram 'moment - křivost' ze zkoušky", page, 320, 12);
    QChart* chart = curveChart("Diagram ' Moment - křivost '", Qt::white, QColor(192, 192, 192) /* silver */,
                               "Moment [ kNm ]");
    Chart1 = new ChartView(chart, page);
    Chart1->setObjectName("Chart1");
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Chart1->setLineWidth(1);
    Chart1->setStyleSheet("QGraphicsView { background: rgb(235, 235, 235); }");
    Chart1->setGeometry(320, 32, 450, 500);
    showCurves(chart, {});
}

void Form2::buildParameterPage(QWidget* page)
{
    RadioGroup1 = new RadioGroup("Výběr pracovního diagramu drátkobetonu",
                                 {"Bilineární", "Parabolický", "Parabolicko - rektangulární"}, page);
    RadioGroup1->setObjectName("RadioGroup1");
    RadioGroup1->setGeometry(16, 10, 260, 112);
    connect(RadioGroup1, &RadioGroup::clicked, this, &Form2::RadioGroup1Click);

    Label12 = new QLabel(page);
    Label12->setObjectName("Label12");
    Label12->setFont(underlined(Label12->font()));
    Label12->setGeometry(360, 8, 410, 18);
    auto* pictureFrame = new QFrame(page);
    pictureFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    pictureFrame->setGeometry(360, 28, 410, 188);
    const QRect place(1, 1, 408, 186);
    Image2 = picture("Image2", pictureFrame, place);
    Image2->setPixmap(bilinearDiagram());
    Image3 = picture("Image3", pictureFrame, place);
    Image4 = picture("Image4", pictureFrame, place);
    Image2->hide();
    Image3->hide();
    Image4->hide();

    QLabel* fixedTitle = label("Neměnné vstupní parametry ", page, 16, 136);
    fixedTitle->setFont(bold(font()));
    fixedTitle->adjustSize();
    const int fixedTop = 160;
    const char* fixedLabels[] = {"Výška průřezu h", "Šířka průřezu b", "Pevnost v tlaku válcová",
                                 "Mezní přetvoření tlakové"};
    const char* fixedUnits[] = {"[ m ]", "[ m ]", "[ MPa ]", "[ % ]"};
    for (int i = 0; i < 4; ++i) {
        label(fixedLabels[i], page, 16, fixedTop + 4 + 28 * i);
        label(fixedUnits[i], page, 196 + 96, fixedTop + 4 + 28 * i);
    }
    Edit18 = edit("Edit18", page, 196, fixedTop);
    Edit19 = edit("Edit19", page, 196, fixedTop + 28);
    Edit5 = edit("Edit5", page, 196, fixedTop + 56);
    Edit6 = edit("Edit6", page, 196, fixedTop + 84);

    QLabel* rangeTitle = label("Proměnné vstupní parametry prac. diagramu", page, 16, 286);
    rangeTitle->setFont(bold(font()));
    rangeTitle->adjustSize();
    const int rowTop = 310;
    const char* rowLabels[] = {"Modul pružnosti drátkobetonu E", "Pevnost v tahu válcová", "Mezní přetvoření tahové",
                               "Součinitel úbytku tahové pevnosti a", "Součinitel reziduální tahové pevnosti b"};
    const char* rowUnits[] = {"[ MPa ]", "[ MPa ]", "[ % ]", "", ""};
    QLineEdit** minimumFields[] = {&Edit7, &Edit8, &Edit9, &Edit10, &Edit11};
    QLineEdit** maximumFields[] = {&Edit12, &Edit13, &Edit14, &Edit15, &Edit16};
    const char* minimumNames[] = {"Edit7", "Edit8", "Edit9", "Edit10", "Edit11"};
    const char* maximumNames[] = {"Edit12", "Edit13", "Edit14", "Edit15", "Edit16"};
    for (int i = 0; i < 5; ++i) {
        const int y = rowTop + 32 * i;
        label(rowLabels[i], page, 16, y + 4);
        label("rozsah parametru    min", page, 290, y + 4);
        *minimumFields[i] = edit(minimumNames[i], page, 450, y);
        label("max", page, 552, y + 4);
        *maximumFields[i] = edit(maximumNames[i], page, 584, y);
        if (*rowUnits[i] != '\0')
            label(rowUnits[i], page, 684, y + 4);
    }

    label("Požadovaný počet mezihodnot parametrů ", page, 16, 482);
    Edit17 = edit("Edit17", page, 290, 478, 44);
    Edit17->setText("0");
    UpDown1 = upDown("UpDown1", Edit17, page, 334, 478);
    exactEquilibriumBox = new QCheckBox("Přesná rovnováha sil", page);
    exactEquilibriumBox->setObjectName("ExactEquilibriumBox");
    exactEquilibriumBox->setToolTip("Momenty kombinací s neutrální osou tam, kde jsou síly průřezu v rovnováze "
                                    "přesně, ne v první poloze kroku 10 µm s odchylkou pod 1 kN");
    exactEquilibriumBox->setGeometry(16, 514, 172, 24);

    // The files of a series (page 1) fitted each and all together.
    seriesButton_ = new QPushButton("Vyhodnocení série zkoušek", page);
    seriesButton_->setObjectName("SeriesButton");
    seriesButton_->setToolTip("Vyhodnotí každý soubor série zkoušek (první stránka) a celou sérii společně");
    seriesButton_->setGeometry(196, 512, 246, 28);
    connect(seriesButton_, &QPushButton::clicked, this, &Form2::seriesClick);

    Button3 = new QPushButton("Vytvoření kombinací vstupních parametrů", page);
    Button3->setObjectName("Button3");
    Button3->setGeometry(450, 474, 318, 32);
    connect(Button3, &QPushButton::clicked, this, &Form2::Button3Click);

    // The whole input, of every page, as a file.
    OpenInputButton = new QPushButton(QIcon(style()->standardIcon(QStyle::SP_DialogOpenButton)),
                                      "Otevřít zadání…", page);
    OpenInputButton->setObjectName("OpenInputButton");
    OpenInputButton->setToolTip("Otevře zadání ze souboru (Ctrl+O)");
    OpenInputButton->setGeometry(450, 512, 155, 28);
    connect(OpenInputButton, &QPushButton::clicked, this, &Form2::OpenInputClick);
    SaveInputButton = new QPushButton(QIcon(style()->standardIcon(QStyle::SP_DialogSaveButton)),
                                      "Uložit zadání…", page);
    SaveInputButton->setObjectName("SaveInputButton");
    SaveInputButton->setToolTip("Uloží zadání do souboru pro prurez-batch (Ctrl+S)");
    SaveInputButton->setGeometry(613, 512, 155, 28);
    connect(SaveInputButton, &QPushButton::clicked, this, &Form2::SaveInputClick);

    // Keyboard order: h, b, fcp, ecpm, each range row by row, the up-down, the
    // button, the diagram choice (its items: the group box itself takes no focus),
    // the count.
    QWidget* order[] = {Edit18, Edit19, Edit5,   Edit6,   Edit7,
                        Edit12, Edit8,  Edit13,  Edit9,   Edit14,
                        Edit10, Edit15, Edit11,  Edit16,  UpDown1,
                        Button3, RadioGroup1->button(0), RadioGroup1->button(1), RadioGroup1->button(2), Edit17,
                        exactEquilibriumBox, seriesButton_, OpenInputButton, SaveInputButton};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void Form2::resizeEvent(QResizeEvent* event)
{
    Window::resizeEvent(event);
    placeDiagramButton();
}

// Where the window places it, or below the diagram grid when the grid grew past it.
void Form2::placeDiagramButton()
{
    Button2->move(Button2->x(), std::max(264, StringGrid2->geometry().bottom() + 15));
}

void Form2::showEvent(QShowEvent* event)
{
    fileControls_->refresh();  // the directory may have been chosen in another window
    Window::showEvent(event);
}

std::string Form2::pointCountText() const { return toStd(Edit1->text()); }

GridTable& Form2::testPoints() { return inverseTables().testPoints; }

GridTable& Form2::testDiagram() { return inverseTables().testDiagram; }

// ---- the input as a file

void Form2::saveInput(const QString& fileName) const
{
    // The files of a series, one test_file line each; otherwise the one test.
    SeriesInput series;
    series.common = input();
    if (RadioButton2->isChecked() && seriesList_->count() > 0) {
        series.common.testFile.clear();
        series.common.testFileGiven = false;
        for (const QString& path : seriesFiles())
            series.specimens.push_back({toStd(path), toStd(path)});
    }
    saveBytes(fileName, QByteArray::fromStdString(writeSeriesInput(series, localeDecimalSeparator())));
}

InverseInput Form2::input() const
{
    InverseInput input;
    const QString dataFile = Edit20->text();
    if (RadioButton2->isChecked() && !dataFile.trimmed().isEmpty() && !isFileMask(toStd(dataFile))) {
        input.testFile = toStd(QFileInfo(dataFile).absoluteFilePath());
    } else if (RadioButton1->isChecked()) {
        const GridTable& points = inverseTables().testPoints;
        for (int row = 1; row < points.rowCount(); ++row)
            input.points.push_back({points.cell(0, row), points.cell(1, row)});
    }
    // The fields' texts as the session keeps them.
    getInputFields(input, inverseSession().fields());
    return input;
}

void Form2::openInput(const QString& fileName)
{
    SeriesInput series;
    if (!readInputFile(this, fileName, [&](const InputFile& file) { series = readSeriesInput(file); }))
        return;
    // One test data file is the input of one test; several make a series (its list),
    // the first of them chosen as one file is.
    InverseInput& input = series.common;
    if (!series.specimens.empty()) {
        input.testFile = series.specimens.front().path;
        input.testFileGiven = true;
    }
    seriesList_->clear();
    if (series.specimens.size() > 1)
        for (const SpecimenFile& file : series.specimens)
            addSpecimenFile(QFileInfo(toQt(pathBesideInput(toStd(fileName), file.path))).absoluteFilePath());
    if (static_cast<int>(input.points.size()) > maximumTestPointCount)
        throw Failure(testPointCountMessage);

    const std::pair<QLineEdit*, const std::string*> texts[] = {
        {Edit2, &input.test.E},
        {Edit3, &input.test.loadDistance},
        {Edit4, &input.test.sectionDimension},
        {Edit18, &input.height},
        {Edit19, &input.width},
        {Edit5, &input.combinations.fcp},
        {Edit6, &input.combinations.ecpm},
        {Edit7, &input.combinations.E.min},
        {Edit12, &input.combinations.E.max},
        {Edit8, &input.combinations.fct.min},
        {Edit13, &input.combinations.fct.max},
        {Edit9, &input.combinations.ectm.min},
        {Edit14, &input.combinations.ectm.max},
        {Edit10, &input.combinations.a.min},
        {Edit15, &input.combinations.a.max},
        {Edit11, &input.combinations.b.min},
        {Edit16, &input.combinations.b.max},
        {Edit17, &input.combinations.intermediateCount}};
    for (const auto& [field, text] : texts)
        setFieldText(field, toQt(*text));
    exactEquilibriumBox->setChecked(input.exactEquilibrium);

    // The test points as the user gives them: typed into the grid, or a file chosen.
    if (!input.points.empty()) {
        RadioButton1->click();
        setFieldText(Edit1, QString::number(input.points.size()));
        UpDown2Click();
        GridTable& points = testPoints();
        for (std::size_t i = 0; i < input.points.size(); ++i) {
            points.setCell(0, static_cast<int>(i) + 1, input.points[i].force);
            points.setCell(1, static_cast<int>(i) + 1, input.points[i].deflection);
        }
        StringGrid1->syncFromTable();
    } else if (input.testFileGiven) {
        const QString named = toQt(input.testFile);
        const QFileInfo data(toQt(pathBesideInput(toStd(fileName), input.testFile)));
        RadioButton2->click();
        if (named.isEmpty()) {
            setFieldText(Edit20, named);
            Edit20Confirmed();  // no name names no file
        } else if (data.isFile()) {
            fileControls_->openDirectory(data.absolutePath());
            setFieldText(Edit20, data.fileName());  // read as when chosen in the list
            fileControls_->refresh();
        } else {
            setFieldText(Edit20, data.absoluteFilePath());
            Edit20Confirmed();  // tells that the file is missing
        }
    }
}

void Form2::SaveInputClick()
{
    const QString name = askSaveFileName(this, "Uložit zadání inversní analýzy", inputFileFilter());
    if (!name.isEmpty())
        guarded([&] { saveInput(name); });
}

void Form2::OpenInputClick()
{
    const QString name = askOpenFileName(this, "Otevřít zadání inversní analýzy", inputFileFilter());
    if (!name.isEmpty())
        guarded([&] { openInput(name); });
}

// ---- handlers

void Form2::PageControl1Change()
{
    guarded([] { inverseSession().copyTestPoints(); });
    StringGrid2->syncFromTable();
    // Up to 7 rows the table is sized to them, beyond it scrolls.
    const int rows = testDiagram().rowCount();
    if (rows <= 7)
        StringGrid2->place(StringGrid2->x(), 270, 27 * rows + 2);
    else
        StringGrid2->place(StringGrid2->x(), 286, 218);
    placeDiagramButton();
}

void Form2::RadioButton1Click()
{
    setShown({countLabel_, Edit1, UpDown2}, true);
    setShown({inputFileLabel_, fileNameLabel_, Edit20, fileControls_}, false);
    updateSeriesControls();
}

void Form2::RadioButton2Click()
{
    setShown({StringGrid1, pointsLabel_, countLabel_, Edit1, UpDown2}, false);
    setShown({inputFileLabel_, fileNameLabel_, Edit20, fileControls_}, true);
    updateSeriesControls();
}

void Form2::UpDown2Click()
{
    guarded([this] {
        StringGrid1->show();
        pointsLabel_->show();
        showingFailedText({}, [&] {
            if (const std::optional<int> count = inverseSession().setTestPointCount())
                sizeTestPointGrid(*count);
        });
    });
    StringGrid1->syncFromTable();
}

// Up to 7 points the grid is sized to its rows, beyond it scrolls.
void Form2::sizeTestPointGrid(int pointCount)
{
    if (pointCount <= 7)
        StringGrid1->place(StringGrid1->x(), 136, 27 * (pointCount + 1) + 2);
    else
        StringGrid1->place(StringGrid1->x(), 152, 218);
}

void Form2::readTestData(const QString& name)
{
    guarded([&] {
        pointsLabel_->show();
        const std::optional<std::string> content = readUserFile(this, toStd(name), testDataFileContent);
        if (!content)
            return;
        const int count = inverseSession().readTestData(*content);
        StringGrid1->show();
        sizeTestPointGrid(count);
        setFieldText(Edit1, toQt(inverseSession().fields().beam.pointCount));
    });
    StringGrid1->syncFromTable();
}

// The file list writes a file's name or the mask; typing writes every keystroke.
// A mask is no file; an incomplete typed name is read only once it names a file.
void Form2::Edit20Change(const QString& text)
{
    bool read = false;
    guarded([&] { read = !isFileMask(toStd(text)) && QFileInfo(text).isFile(); });
    if (read)
        readTestData(text);
}

// Enter confirms a typed name: a missing file is reported now.
void Form2::Edit20Confirmed()
{
    bool read = false;
    guarded([&] { read = !isFileMask(toStd(Edit20->text())); });
    if (read)
        readTestData(Edit20->text());
}

void Form2::Button2Click()
{
    guarded([this] {
        showingFailedText({}, [&] {
            inverseSession().computeTestDiagram([this] {
                RadioGroup1->setItemIndex(0);
                RadioGroup1->setEnabled(false);
            });
        });
    });
    StringGrid2->syncFromTable();
    showCurves(Chart1->chart(), {&inverseState().testCurve});
}

void Form2::RadioGroup1Click()
{
    static const char* const captions[] = {"Bilineární pracovní diagram drátkobetonu",
                                           "Parabolický pracovní diagram drátkobetonu",
                                           "Parabolicko-rektan. prac. diag. drátkobetonu"};
    const int item = RadioGroup1->itemIndex();
    if (item < 0 || item > 2)
        return;
    Label12->setText(captions[item]);
    Image2->setVisible(item == 0);
    Image3->setVisible(item == 1);
    Image4->setVisible(item == 2);
}

void Form2::Button3Click()
{
    Form3* form3 = windows().form3;
    const bool generated = guarded([&] { showingFailedText({}, [&] { inverseSession().generateCombinations(); }); });
    form3->syncTables();
    if (!generated)
        return;
    hide();
    form3->show();
}

// ---- a test series

QStringList Form2::seriesFiles() const
{
    QStringList files;
    for (int row = 0; row < seriesList_->count(); ++row)
        files << seriesList_->item(row)->data(Qt::UserRole).toString();
    return files;
}

void Form2::addSpecimenFile(const QString& path)
{
    // A file is a specimen once.
    if (seriesFiles().contains(path))
        return;
    auto* item = new QListWidgetItem(QFileInfo(path).fileName(), seriesList_);
    item->setData(Qt::UserRole, path);
    item->setToolTip(path);
    updateSeriesControls();
}

void Form2::updateSeriesControls()
{
    const bool fromFiles = RadioButton2->isChecked();
    setShown({seriesLabel_, seriesList_, addSpecimenButton_, removeSpecimenButton_}, fromFiles);
    seriesButton_->setEnabled(fromFiles && seriesList_->count() > 0);
}

void Form2::addSpecimenClick()
{
    guarded([this] {
        const QString name = Edit20->text();
        if (name.trimmed().isEmpty() || isFileMask(toStd(name)) || !QFileInfo(name).isFile())
            throw Failure("Zvolte soubor zkoušky v seznamu souborů, pak jej přidejte do série.");
        addSpecimenFile(QFileInfo(name).absoluteFilePath());
    });
}

void Form2::removeSpecimenClick()
{
    qDeleteAll(seriesList_->selectedItems());
    updateSeriesControls();
}

void Form2::seriesClick()
{
    SeriesInput input;
    input.common = this->input();
    for (const QString& path : seriesFiles())
        input.specimens.push_back({toStd(QFileInfo(path).fileName()), toStd(path)});
    bool fitted = false;
    guarded([&] { fitted = windows().series->run(input); });
    if (fitted)
        hide();
}

}  // namespace prurez
