#include "ui/Report.h"

#include "common/NumberText.h"
#include "flows/InputFile.h"
#include "flows/InverseState.h"
#include "flows/LineSeries.h"
#include "ui/widgets/Charts.h"
#include "ui/widgets/DiagramCharts.h"
#include "ui/widgets/Handlers.h"
#include "ui/widgets/UserFiles.h"
#include "prurez/prurez.h"

#include <QBuffer>
#include <QChart>
#include <QDate>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPdfWriter>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace prurez {

namespace {

// ---- pages

// The pages of a report: a cursor running down the page, a new page when what comes
// does not fit. Lengths in millimetres.
class Pages {
public:
    Pages(QPdfWriter& writer, char separator) : writer_(writer), painter_(&writer), separator_(separator)
    {
        startPage();
    }

    QPainter& painter() { return painter_; }
    double width() const { return width_; }
    double left() const { return 0.0; }

    // Device units of a length.
    double at(double mm) const { return mm * scale_; }
    QRectF rect(double x, double y, double w, double h) const { return QRectF(at(x), at(y), at(w), at(h)); }

    double y() const { return y_; }
    void advance(double mm) { y_ += mm; }
    // Room for `mm` more on this page, else a new page as this one.
    void need(double mm)
    {
        if (y_ + mm > height_)
            newPage(landscape_);
    }
    void newPage(bool landscape = false)
    {
        if (landscape != landscape_) {
            writer_.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
            landscape_ = landscape;
        }
        writer_.newPage();
        startPage();
    }

    void font(double points, bool bold = false)
    {
        QFont f(QString::fromUtf8("DejaVu Sans"));
        f.setPointSizeF(points);
        f.setBold(bold);
        painter_.setFont(f);
    }
    // A text of `points` in the width, wrapped; the cursor moves below it.
    void text(const QString& text, double points, bool bold = false, double indent = 0.0)
    {
        font(points, bold);
        const QRectF box = painter_.boundingRect(rect(indent, 0, width_ - indent, 1000), Qt::TextWordWrap, text);
        need(box.height() / scale_ + 1.0);
        painter_.setPen(Qt::black);
        painter_.drawText(rect(indent, y_, width_ - indent, box.height() / scale_ + 1.0), Qt::TextWordWrap, text);
        y_ += box.height() / scale_ + 1.2;
    }
    // A chart `mm` high over the whole width, drawn from its scene.
    void chart(QChart* chart, double widthMm, double heightMm, double x = 0.0)
    {
        // The axes' numbers with the report's decimal separator.
        chart->setLocale(separator_ == ',' ? QLocale(QLocale::Czech, QLocale::Czechia) : QLocale::c());
        chart->setLocalizeNumbers(true);
        QGraphicsScene scene;
        scene.addItem(chart);
        // Laid out at a screen-like size (points), then scaled into the page.
        const QSizeF size(widthMm * 4.4, heightMm * 4.4);
        chart->resize(size);
        chart->setBackgroundRoundness(0);
        scene.setSceneRect(QRectF(QPointF(0, 0), size));
        scene.render(&painter_, rect(x, y_, widthMm, heightMm), scene.sceneRect());
        scene.removeItem(chart);
    }

private:
    void startPage()
    {
        const QRectF page = writer_.pageLayout().paintRect(QPageLayout::Millimeter);
        scale_ = writer_.resolution() / 25.4;
        width_ = page.width();
        height_ = page.height() - 8.0;  // room for the page number
        y_ = 0.0;
        ++number_;
        font(7);
        painter_.setPen(QColor(90, 90, 90));
        painter_.drawText(rect(0, page.height() - 5.0, width_, 5.0), Qt::AlignRight | Qt::AlignVCenter,
                          QString::fromUtf8("prurez ") + QString::fromUtf8(version()) + QString::fromUtf8(" — strana ") +
                              QString::number(number_));
    }

    QPdfWriter& writer_;
    QPainter painter_;
    char separator_;
    bool landscape_ = false;
    double scale_ = 1.0;
    double width_ = 0.0;
    double height_ = 0.0;
    double y_ = 0.0;
    int number_ = 0;
};

// Rows of label, value and unit.
struct Entry {
    QString label;
    QString value;
    QString unit;
};

void entries(Pages& pages, const std::vector<Entry>& rows, double width)
{
    const double rowHeight = 4.6;
    pages.font(8.5);
    QPainter& p = pages.painter();
    for (const Entry& row : rows) {
        pages.need(rowHeight);
        p.setPen(Qt::black);
        p.drawText(pages.rect(0, pages.y(), width * 0.52, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, row.label);
        p.drawText(pages.rect(width * 0.52, pages.y(), width * 0.38, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   row.value);
        p.drawText(pages.rect(width * 0.90, pages.y(), width * 0.10, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   row.unit);
        pages.advance(rowHeight);
    }
}

// A number text shortened to 7 significant digits in the program's form (a text that
// is no number stays as it is).
QString shortNumber(const std::string& text, char separator)
{
    long double value = 0;
    try {
        value = parseNumber(text, separator);
    } catch (const Failure&) {
        return toQt(text);
    }
    if (value == 0.0L)
        return toQt(trimBlanks(text));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.7Lg", value);
    std::string shortened = buffer;
    const size_t e = shortened.find('e');
    if (e != std::string::npos) {
        const int exponent = std::stoi(shortened.substr(e + 1));
        shortened = shortened.substr(0, e) + "E" + std::to_string(exponent);
    }
    std::replace(shortened.begin(), shortened.end(), '.', separator);
    return toQt(shortened);
}

void drawTable(Pages& pages, const GridTable& grid, const std::vector<int>& rows, char separator, double points)
{
    const int columns = grid.columnCount();
    const double rowHeight = points * 0.55;
    pages.need(rowHeight * 3);
    const double columnWidth = pages.width() / columns;
    QPainter& p = pages.painter();
    auto drawRow = [&](int row, bool header) {
        pages.need(rowHeight);
        pages.font(points, header);
        if (header)
            p.fillRect(pages.rect(0, pages.y(), pages.width(), rowHeight), QColor(225, 232, 245));
        p.setPen(QColor(170, 170, 170));
        p.drawLine(QPointF(pages.at(0), pages.at(pages.y() + rowHeight)),
                   QPointF(pages.at(pages.width()), pages.at(pages.y() + rowHeight)));
        p.setPen(Qt::black);
        for (int column = 0; column < columns; ++column) {
            const QString text =
                header ? toQt(trimBlanks(grid.cell(column, row))) : shortNumber(grid.cell(column, row), separator);
            p.drawText(pages.rect(column * columnWidth + 0.6, pages.y(), columnWidth - 1.2, rowHeight),
                       Qt::AlignRight | Qt::AlignVCenter, text);
        }
        pages.advance(rowHeight);
    };
    drawRow(0, true);
    for (int row : rows) {
        const double before = pages.y();
        pages.need(rowHeight);
        if (pages.y() < before)
            drawRow(0, true);  // the header again on a new page
        drawRow(row, false);
    }
    pages.advance(2.0);
}

QString today() { return QDate::currentDate().toString(QString::fromUtf8("d. M. yyyy")); }

// The report's bytes, saved whole.
template <class Write>
void savePdf(const QString& fileName, const QString& title, char separator, Write&& write)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(18, 15, 15, 12), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(title);
        writer.setCreator(QString::fromUtf8("prurez ") + QString::fromUtf8(version()));
        Pages pages(writer, separator);
        write(pages);
    }
    saveBytes(fileName, bytes);
}

void titleBlock(Pages& pages, const QString& title)
{
    pages.text(QString::fromUtf8("Nelineární modelování betonového průřezu"), 9);
    pages.text(title, 16, true);
    pages.text(QString::fromUtf8("Zpráva z výpočtu programem prurez ") + QString::fromUtf8(version()) +
                   QString::fromUtf8(", ") + today(),
               9);
    pages.advance(3);
}

// ---- the section report

const char* const materials[] = {"Prostý beton", "Drátkobeton", "Železobeton"};
const char* const diagrams[] = {"Bilineární", "Parabolicko - rektangulární", "Parabolický"};

QString choice(const char* const* items, int count, int index)
{
    return index >= 0 && index < count ? QString::fromUtf8(items[index]) : QString::fromUtf8("nezvoleno");
}

std::vector<Entry> sectionEntries(const SectionTexts& t)
{
    auto q = [](const std::string& s) { return toQt(s); };
    std::vector<Entry> rows{{QString::fromUtf8("Materiál průřezu"), choice(materials, 3, t.material), ""}};
    if (t.material != 1)
        rows.push_back({QString::fromUtf8("Pracovní diagram betonu"), choice(diagrams, 3, t.diagram), ""});
    if (t.material == 2)
        rows.push_back({QString::fromUtf8("Beton v tahu působí"),
                        t.tension == 0 ? QString::fromUtf8("Ano") : t.tension == 1 ? "Ne" : "nezvoleno", ""});
    rows.push_back({QString::fromUtf8("Pevnost v tlaku válcová fcp"), q(t.fcp), "MPa"});
    rows.push_back({QString::fromUtf8("Pevnost v tahu válcová fct"), q(t.fct), "MPa"});
    rows.push_back({QString::fromUtf8("Základní modul pružnosti E"), q(t.E), "MPa"});
    rows.push_back({QString::fromUtf8("Mezní přetvoření tlakové εcu"), q(t.ecu), "%"});
    rows.push_back({QString::fromUtf8("Mezní přetvoření tahové εtu"), q(t.etu), "%"});
    if (t.material == 1) {
        rows.push_back({QString::fromUtf8("Součinitel úbytku pevnosti a"), q(t.ec1OrA), ""});
        rows.push_back({QString::fromUtf8("Součinitel reziduální pevnosti b"), q(t.b), ""});
    } else {
        rows.push_back({QString::fromUtf8("Přetvoření na mezi pevnosti v tlaku εc1"), q(t.ec1OrA), "%"});
    }
    if (t.material == 2) {
        rows.push_back({QString::fromUtf8("Ocel: mez kluzu fy"), q(t.fy), "MPa"});
        rows.push_back({QString::fromUtf8("Ocel: modul pružnosti Es"), q(t.Es), "MPa"});
        rows.push_back({QString::fromUtf8("Ocel: mezní přetvoření εsu"), q(t.esu), "%"});
        rows.push_back({QString::fromUtf8("Výztuž při dolním povrchu: plocha"), q(t.bottomArea), "mm2"});
        rows.push_back({QString::fromUtf8("   vzdálenost od dolního okraje"), q(t.bottomDistance), "m"});
        rows.push_back({QString::fromUtf8("Výztuž při horním povrchu: plocha"), q(t.topArea), "mm2"});
        rows.push_back({QString::fromUtf8("   vzdálenost od horního okraje"), q(t.topDistance), "m"});
    }
    if (t.shape == 0) {
        rows.push_back({QString::fromUtf8("Průřez: čtverec, hrana a"), q(t.width), "m"});
    } else {
        rows.push_back({QString::fromUtf8("Průřez: obdélník, šířka b"), q(t.width), "m"});
        rows.push_back({QString::fromUtf8("   výška h"), q(t.height), "m"});
    }
    rows.push_back({QString::fromUtf8("Normálová síla N (tah kladný)"), q(t.N), "kN"});
    rows.push_back({QString::fromUtf8("Přírůstek křivosti Δκ"), q(t.kappaStep), "m-1"});
    rows.push_back({QString::fromUtf8("Přesná rovnováha sil"),
                    t.exactEquilibrium ? QString::fromUtf8("ano") : QString::fromUtf8("ne (tolerance 1 kN)"), ""});
    return rows;
}

// The section drawn to scale in a box: the rectangle, its bars, its dimensions.
void sectionSketch(Pages& pages, const HeldSectionInput& input, const QString& widthText, const QString& heightText,
                   double x, double y, double boxWidth, double boxHeight, char separator)
{
    const double b = static_cast<double>(input.width);
    const double h = static_cast<double>(input.height);
    if (!(b > 0) || !(h > 0))
        return;
    const double scale = std::min((boxWidth - 16.0) / b, (boxHeight - 16.0) / h);
    const double w = b * scale;
    const double d = h * scale;
    const double left = x + 12.0 + (boxWidth - 16.0 - w) / 2.0;
    const double top = y + 4.0;
    QPainter& p = pages.painter();
    p.setPen(QPen(Qt::black, pages.at(0.35)));
    p.setBrush(input.material == Material::fibreConcrete ? QColor(205, 205, 190) : QColor(215, 215, 215));
    p.drawRect(pages.rect(left, top, w, d));
    p.setBrush(QColor(40, 40, 40));
    auto layer = [&](long double area, long double depth) {
        if (!(area > 0.0L))
            return;
        const double yBar = top + static_cast<double>(depth) * scale;
        for (int i = 0; i < 4; ++i) {
            const double xBar = left + w * (0.15 + 0.7 * i / 3.0);
            p.drawEllipse(QPointF(pages.at(xBar), pages.at(yBar)), pages.at(1.1), pages.at(1.1));
        }
        pages.font(7);
        p.setPen(Qt::black);
        p.drawText(pages.rect(left + w + 1.5, yBar - 2.0, 40, 4), Qt::AlignLeft | Qt::AlignVCenter,
                   toQt(formatNumber(std::round(area * 1e6L * 10.0L) / 10.0L, separator)) +
                       QString::fromUtf8(" mm²"));
    };
    if (input.material == Material::reinforcedConcrete) {
        layer(input.topBars.area, input.topBars.distance);
        layer(input.bottomBars.area, input.height - input.bottomBars.distance);
    }
    pages.font(7.5);
    p.setPen(Qt::black);
    p.drawText(pages.rect(left, top + d + 1.0, w, 4.5), Qt::AlignHCenter | Qt::AlignTop,
               QString::fromUtf8("b = ") + widthText + QString::fromUtf8(" m"));
    p.save();
    p.translate(pages.at(left - 1.5), pages.at(top + d / 2.0));
    p.rotate(-90);
    p.drawText(QRectF(-pages.at(d / 2.0), -pages.at(4.5), pages.at(d), pages.at(4.5)), Qt::AlignCenter,
               QString::fromUtf8("h = ") + heightText + QString::fromUtf8(" m"));
    p.restore();
    p.setBrush(Qt::NoBrush);
}

QString sectionEnd(const GridTable& table, const SectionRunReport& run)
{
    if (!run.stopMessage.empty())
        return toQt(run.stopMessage);
    if (run.endRowWritten) {
        const int last = table.rowCount() - 1;
        for (int column = 1; column < table.columnCount(); ++column)
            if (!table.cell(column, last).empty())
                return toQt(table.cell(column, last)) + QString::fromUtf8(" při křivosti ") +
                       toQt(table.cell(0, last)) + QString::fromUtf8(" m-1.");
    }
    return QString::fromUtf8("Výpočet neproběhl.");
}

}  // namespace

std::vector<int> reportRows(const GridTable& table, int peakColumn, char decimalSeparator, int& step)
{
    const int count = table.rowCount() - 1;
    std::vector<int> rows;
    step = 1;
    if (count <= reportFullTableRows) {
        for (int row = 1; row <= count; ++row)
            rows.push_back(row);
        return rows;
    }
    step = (count + reportFullTableRows - 11) / (reportFullTableRows - 10);
    for (int row = 1; row <= count; row += step)
        rows.push_back(row);
    int peak = 0;
    long double largest = 0;
    for (int row = 1; row <= count; ++row) {
        try {
            const long double value = parseNumber(table.cell(peakColumn, row), decimalSeparator);
            if (peak == 0 || value > largest) {
                largest = value;
                peak = row;
            }
        } catch (const Failure&) {
        }
    }
    if (peak > 0)
        rows.push_back(peak);
    rows.push_back(count);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void writeSectionReport(const QString& fileName, const GridTable& table, const SectionRunReport& run,
                        char decimalSeparator)
{
    const SectionTexts& texts = run.texts;
    savePdf(fileName, QString::fromUtf8("Pracovní diagram průřezu"), decimalSeparator, [&](Pages& pages) {
        titleBlock(pages, QString::fromUtf8("Pracovní diagram průřezu"));
        pages.text(QString::fromUtf8("Zadání"), 11, true);
        const double top = pages.y();
        const double inputsWidth = pages.width() * 0.68;
        entries(pages, sectionEntries(texts), inputsWidth);
        const double below = pages.y();
        if (run.firstRow > 0)
            sectionSketch(pages, run.input, toQt(texts.width), toQt(texts.shape == 0 ? texts.width : texts.height),
                          inputsWidth + 4.0, top, pages.width() - inputsWidth - 4.0, 70.0, decimalSeparator);
        pages.advance(std::max(0.0, top + 80.0 - below));
        pages.advance(3);
        pages.text(QString::fromUtf8("Konec výpočtu"), 11, true);
        pages.text(sectionEnd(table, run), 9);
        pages.advance(3);

        // The working diagram, as the results window draws it, with a legend.
        LineSeries curve;
        try {
            fillWorkingDiagram(table, decimalSeparator, curve);
        } catch (const Failure&) {
            // the points read before a cell that is no number
        }
        pages.need(92);
        pages.text(QString::fromUtf8("Pracovní diagram průřezu"), 11, true);
        std::unique_ptr<QChart> chart(curveChart(QString::fromUtf8("PRACOVNÍ DIAGRAM PRŮŘEZU"), QColor(255, 255, 255),
                                                 QColor(255, 255, 255), QString::fromUtf8("Moment [ MNm ]")));
        const QList<QLineSeries*> series = showCurves(chart.get(), {&curve}, AxisRange::Tight);
        series.front()->setName(QString::fromUtf8("moment – křivost"));
        chart->legend()->setVisible(true);
        chart->legend()->setAlignment(Qt::AlignBottom);
        pages.chart(chart.get(), pages.width(), 85.0);
        pages.advance(87.0);

        // Strains and stresses at the last computed row.
        const int last = lastComputedRow(run);
        if (const std::optional<DepthProfile> profile = last > 0 ? rowProfile(run, last) : std::nullopt) {
            pages.need(125);
            pages.text(QString::fromUtf8("Průběh napětí a přetvoření"), 11, true);
            pages.text(QString::fromUtf8("Řádek ") + QString::number(last) +
                           QString::fromUtf8(" tabulky (poslední spočtený): ") +
                           profileCaption(toQt(table.cell(0, last)), *profile, decimalSeparator),
                       8.5);
            std::unique_ptr<QChart> strain(titledChart(QString::fromUtf8("PŘETVOŘENÍ")));
            std::unique_ptr<QChart> stress(titledChart(QString::fromUtf8("NAPĚTÍ")));
            drawProfile(strain.get(), stress.get(), *profile);
            for (QChart* chart : {strain.get(), stress.get()}) {
                QFont small = chart->legend()->font();
                small.setPointSizeF(7.0);
                chart->legend()->setFont(small);
            }
            const double half = pages.width() / 2.0;
            pages.chart(strain.get(), half - 1.0, 110.0);
            pages.chart(stress.get(), half - 1.0, 110.0, half + 1.0);
            pages.advance(112.0);
        }

        // The table.
        int step = 1;
        const std::vector<int> rows = reportRows(table, 1, decimalSeparator, step);
        pages.newPage(table.columnCount() > 9);
        pages.text(QString::fromUtf8("Tabulka vypočtených hodnot"), 11, true);
        QString note = QString::fromUtf8("Čísla zaokrouhlena na 7 platných číslic; momenty v MNm, síly v MN, "
                                         "napětí v MPa, křivost v m-1, neutrální osa v m.");
        if (step > 1)
            note += QString::fromUtf8(" Tabulka má ") + QString::number(table.rowCount() - 1) +
                    QString::fromUtf8(" řádků; uveden je každý ") + QString::number(step) +
                    QString::fromUtf8(". řádek, řádek s největším momentem a poslední řádek.");
        pages.text(note, 8);
        drawTable(pages, table, rows, decimalSeparator, 7.0);
    });
}

// ---- the inverse analysis's report

void writeInverseReport(const QString& fileName, const InverseInput& input, InverseAnalysis& session)
{
    InverseState& state = stateOf(session);
    const char separator = state.separator;
    savePdf(fileName, QString::fromUtf8("Inversní analýza drátkobetonu"), separator, [&](Pages& pages) {
        titleBlock(pages, QString::fromUtf8("Inversní analýza drátkobetonu"));
        pages.text(QString::fromUtf8("Zadání"), 11, true);
        const InverseFields& f = state.fields;
        auto q = [](const std::string& s) { return toQt(s); };
        const int points = state.tables.testDiagram.rowCount() - 1;
        const QString source = input.testFileGiven || !input.testFile.empty()
                                   ? QString::fromUtf8("soubor ") + QFileInfo(toQt(input.testFile)).fileName()
                                   : QString::fromUtf8("zadány ručně");
        std::vector<Entry> rows{
            {QString::fromUtf8("Body zkoušky"), source + ", " + QString::number(points) + QString::fromUtf8(" bodů"),
             ""},
            {QString::fromUtf8("Počáteční modul pružnosti E zkoušky"), q(f.test.E), "MPa"},
            {QString::fromUtf8("Vzdálenost zatěžujících sil a"), q(f.test.loadDistance), "m"},
            {QString::fromUtf8("Šířka průřezu s (zkouška)"), q(f.test.sectionDimension), "m"},
            {QString::fromUtf8("Výška průřezu h"), q(f.beam.height), "m"},
            {QString::fromUtf8("Šířka průřezu b"), q(f.beam.width), "m"},
            {QString::fromUtf8("Pevnost v tlaku fcp"), q(f.combinations.fcp), "MPa"},
            {QString::fromUtf8("Mezní přetvoření tlakové εcpm"), q(f.combinations.ecpm), "%"},
            {QString::fromUtf8("Modul pružnosti E: rozsah"),
             q(f.combinations.E.min) + QString::fromUtf8(" až ") + q(f.combinations.E.max), "MPa"},
            {QString::fromUtf8("Pevnost v tahu fct: rozsah"),
             q(f.combinations.fct.min) + QString::fromUtf8(" až ") + q(f.combinations.fct.max), "MPa"},
            {QString::fromUtf8("Mezní přetvoření tahové εtm: rozsah"),
             q(f.combinations.ectm.min) + QString::fromUtf8(" až ") + q(f.combinations.ectm.max), "%"},
            {QString::fromUtf8("Součinitel a: rozsah"),
             q(f.combinations.a.min) + QString::fromUtf8(" až ") + q(f.combinations.a.max), ""},
            {QString::fromUtf8("Součinitel b: rozsah"),
             q(f.combinations.b.min) + QString::fromUtf8(" až ") + q(f.combinations.b.max), ""},
            {QString::fromUtf8("Počet mezihodnot n"), q(f.combinations.intermediateCount), ""},
            {QString::fromUtf8("Přesná rovnováha sil"),
             f.exactEquilibrium ? QString::fromUtf8("ano") : QString::fromUtf8("ne (tolerance 1 kN)"), ""},
        };
        entries(pages, rows, pages.width());
        pages.advance(3);

        pages.text(QString::fromUtf8("Výsledek"), 11, true);
        if (!state.best) {
            pages.text(QString::fromUtf8("Nejvýstižnější kombinace dosud nebyla nalezena."), 9);
        } else {
            const char* const names[] = {"E", "fcp", "fct", "ecpm", "ectm", "a", "b"};
            const char* const units[] = {"MPa", "MPa", "MPa", "%", "%", "", ""};
            std::vector<Entry> best{{QString::fromUtf8("Nejvýstižnější kombinace číslo"),
                                     QString::number(state.best->combination), ""},
                                    {QString::fromUtf8("Součet čtverců odchylek"), q(state.best->sum), "kNm²"}};
            for (size_t i = 0; i < 7; ++i) {
                QString value = q(state.best->texts[i]);
                if (state.refined && state.refined->improved)
                    value += QString::fromUtf8("   (zpřesněno: ") + q(state.refined->texts[i]) + ")";
                best.push_back({QString::fromUtf8(names[i]), value, QString::fromUtf8(units[i])});
            }
            if (state.refined)
                best.push_back({QString::fromUtf8("Součet čtverců odchylek po zpřesnění"), q(state.refined->refinedSum),
                                "kNm²"});
            entries(pages, best, pages.width());
            if (state.refined)
                for (const std::string& line : state.refined->warnings)
                    pages.text(q(line), 8.5);
        }
        pages.advance(3);

        if (state.best) {
            pages.need(110);
            pages.text(QString::fromUtf8("Porovnání se zkouškou"), 11, true);
            std::unique_ptr<QChart> chart(curveChart(
                QString::fromUtf8("POROVNÁNÍ NALEZENÝCH VSTUPNÍCH PARAMETRŮ S VÝSLEDKY ZKOUŠKY"), QColor(255, 255, 255),
                QColor(255, 255, 255), QString::fromUtf8("Moment [ kNm ]")));
            std::vector<const LineSeries*> curves{&state.comparedTestCurve, &state.combinationCurve};
            const bool refined = state.refined && !state.refinedCurve.points().empty();
            QList<QLineSeries*> series =
                refined ? showCurves(chart.get(), {curves[0], curves[1], &state.refinedCurve})
                        : showCurves(chart.get(), {curves[0], curves[1]});
            series[0]->setName(QString::fromUtf8("zkouška"));
            series[1]->setName(QString::fromUtf8("nejvýstižnější kombinace"));
            if (refined)
                series[2]->setName(QString::fromUtf8("zpřesněná kombinace"));
            chart->legend()->setVisible(true);
            chart->legend()->setAlignment(Qt::AlignBottom);
            pages.chart(chart.get(), pages.width(), 100.0);
            pages.advance(102.0);
        }

        pages.need(40);
        pages.text(QString::fromUtf8("Moment a křivost ze zkoušky"), 11, true);
        pages.text(QString::fromUtf8("Síla [kN], průhyb [m], křivost [m-1], momenty [kNm]: ze zkoušky, nejvýstižnější "
                                     "kombinace (a zpřesněné); čísla zaokrouhlena na 7 platných číslic."),
                   8);
        // The test's table with the moments of the best (and the refined) combination.
        const GridTable& diagram = state.tables.testDiagram;
        const bool refined = state.refined && state.refined->improved;
        GridTable compared((state.best ? 5 : 4) + (refined ? 1 : 0), diagram.rowCount());
        const char* const headers[] = {"Síla", "Průhyb", "Křivost", "Zkouška", "Kombinace", "Zpřesněná"};
        for (int column = 0; column < compared.columnCount(); ++column)
            compared.setCell(column, 0, headers[column]);
        for (int row = 1; row < diagram.rowCount(); ++row) {
            for (int column = 0; column < 4; ++column)
                compared.setCell(column, row, diagram.cell(column, row));
            if (state.best)
                compared.setCell(4, row, state.tables.moments.cell(2 * row, state.best->combination));
            if (refined && static_cast<size_t>(row) <= state.refined->moments.size())
                compared.setCell(5, row, state.refined->moments[static_cast<size_t>(row) - 1]);
        }
        int step = 1;
        drawTable(pages, compared, reportRows(compared, 3, separator, step), separator, 8.0);
    });
}

}  // namespace prurez
