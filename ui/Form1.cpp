#include "ui/Form1.h"

#include "ui/Windows.h"
#include "ui/Form2.h"
#include "ui/Form6.h"
#include "ui/widgets/Handlers.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <cmath>

namespace prurez {

namespace {

constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;

// The ground of the valley sides: the height (y) of the terrain at x.
double groundAt(double x)
{
    if (x <= 175.0)
        return 232.0 + x / 175.0 * 170.0;
    if (x >= 468.0)
        return 232.0 + (640.0 - x) / 172.0 * 170.0;
    const double t = (x - 175.0) / (468.0 - 175.0);  // the valley floor between the springings
    return 402.0 + 52.0 * std::sin(t * 3.14159265358979);
}

void paintSky(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0.0, QColor(58, 110, 180));
    sky.setColorAt(0.7, QColor(150, 190, 230));
    sky.setColorAt(1.0, QColor(215, 230, 240));
    p.fillRect(0, 0, pictureWidth, pictureHeight, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    for (const QRectF& cloud : {QRectF(60, 120, 120, 26), QRectF(100, 108, 90, 30), QRectF(470, 132, 140, 24),
                                QRectF(510, 120, 80, 28), QRectF(300, 150, 110, 18)})
        p.drawEllipse(cloud);
}

void paintLandscape(QPainter& p)
{
    // Distant mountains.
    QPainterPath mountains;
    mountains.moveTo(0, 270);
    const double ridge[][2] = {{60, 236}, {130, 256}, {210, 214}, {290, 250}, {360, 222},
                               {430, 258}, {520, 226}, {600, 252}, {640, 240}};
    for (const auto& point : ridge)
        mountains.lineTo(point[0], point[1]);
    mountains.lineTo(640, 480);
    mountains.lineTo(0, 480);
    mountains.closeSubpath();
    p.setBrush(QColor(122, 140, 168));
    p.drawPath(mountains);

    // The far end of the valley, in haze.
    QPainterPath farHills;
    farHills.moveTo(0, 330);
    farHills.cubicTo(160, 300, 250, 350, 330, 340);
    farHills.cubicTo(420, 330, 520, 296, 640, 320);
    farHills.lineTo(640, 480);
    farHills.lineTo(0, 480);
    farHills.closeSubpath();
    QLinearGradient haze(0, 300, 0, 480);
    haze.setColorAt(0.0, QColor(128, 156, 130));
    haze.setColorAt(1.0, QColor(96, 128, 88));
    p.setBrush(haze);
    p.drawPath(farHills);

    // The valley with its slopes.
    QPainterPath ground;
    ground.moveTo(0, groundAt(0));
    for (int x = 0; x <= pictureWidth; x += 4)
        ground.lineTo(x, groundAt(x));
    ground.lineTo(640, 480);
    ground.lineTo(0, 480);
    ground.closeSubpath();
    QLinearGradient grass(0, 230, 0, 480);
    grass.setColorAt(0.0, QColor(104, 142, 70));
    grass.setColorAt(0.6, QColor(78, 112, 52));
    grass.setColorAt(1.0, QColor(92, 84, 60));
    p.setBrush(grass);
    p.drawPath(ground);

    // Rock faces near the springings.
    p.setBrush(QColor(120, 110, 96));
    p.drawPolygon(QPolygonF({QPointF(150, 372), QPointF(182, 398), QPointF(196, 426), QPointF(160, 410)}));
    p.drawPolygon(QPolygonF({QPointF(492, 372), QPointF(458, 398), QPointF(446, 428), QPointF(482, 410)}));

    // The river at the bottom of the valley.
    QPainterPath river;
    river.moveTo(250, 480);
    river.cubicTo(290, 456, 330, 452, 372, 448);
    river.cubicTo(400, 450, 420, 462, 440, 480);
    river.closeSubpath();
    QLinearGradient water(0, 446, 0, 480);
    water.setColorAt(0.0, QColor(120, 170, 210));
    water.setColorAt(1.0, QColor(50, 100, 160));
    p.setBrush(water);
    p.drawPath(river);

    // Trees on the slopes.
    const double trees[][2] = {{30, 268}, {62, 286}, {110, 318}, {150, 350}, {520, 330}, {560, 300},
                               {600, 272}, {215, 438}, {430, 440}, {96, 300}, {584, 288}};
    for (const auto& tree : trees) {
        const double x = tree[0];
        const double y = groundAt(x) - 2.0;
        p.setBrush(QColor(70, 50, 30));
        p.drawRect(QRectF(x - 1.5, y - 8, 3, 8));
        p.setBrush(QColor(38, 82, 40));
        p.drawEllipse(QPointF(x, y - 14), 8, 11);
    }
}

void paintBridge(QPainter& p)
{
    const double deckTop = 196.0;
    const double deckBottom = 214.0;
    const double springLeft = 178.0;
    const double springRight = 466.0;
    const double springY = 404.0;
    const double centre = (springLeft + springRight) / 2.0;
    const double half = (springRight - springLeft) / 2.0;
    // Extrados and intrados of the arch: parabolas through the springings.
    auto extrados = [&](double x) {
        const double u = (x - centre) / half;
        return 222.0 + (springY - 14.0 - 222.0) * u * u;
    };
    auto intrados = [&](double x) {
        const double u = (x - centre) / (half - 10.0);
        return 240.0 + (springY - 240.0) * u * u;
    };
    const QColor concrete(200, 198, 190);
    const QColor concreteShade(150, 148, 142);

    // Approach piers and spandrel columns.
    for (double x = 28.0; x < pictureWidth; x += 29.0) {
        if (std::abs(x - centre) < 28.0)
            continue;  // the crown carries the deck directly
        const double bottom = (x > springLeft && x < springRight) ? extrados(x) : groundAt(x);
        const double width = (x > springLeft && x < springRight) ? 7.0 : 11.0;
        p.setBrush(concrete);
        p.drawRect(QRectF(x - width / 2.0, deckBottom, width, bottom - deckBottom + 1.0));
        p.setBrush(concreteShade);
        p.drawRect(QRectF(x + width / 2.0 - 2.5, deckBottom, 2.5, bottom - deckBottom + 1.0));
    }

    // The arch rib.
    QPainterPath arch;
    arch.moveTo(springLeft, springY);
    for (double x = springLeft; x <= springRight; x += 2.0)
        arch.lineTo(x, extrados(x));
    arch.lineTo(springRight, springY);
    for (double x = springRight - 10.0; x >= springLeft + 10.0; x -= 2.0)
        arch.lineTo(x, intrados(x));
    arch.closeSubpath();
    QLinearGradient rib(0, 220, 0, 410);
    rib.setColorAt(0.0, QColor(214, 212, 204));
    rib.setColorAt(1.0, QColor(160, 156, 148));
    p.setBrush(rib);
    p.setPen(QPen(QColor(110, 108, 100), 1.0));
    p.drawPath(arch);
    p.setPen(Qt::NoPen);

    // Footings of the arch.
    p.setBrush(concreteShade);
    p.drawRect(QRectF(springLeft - 16, springY - 6, 28, 14));
    p.drawRect(QRectF(springRight - 12, springY - 6, 28, 14));

    // Deck, cornice and parapet.
    p.setBrush(concrete);
    p.drawRect(QRectF(0, deckTop, pictureWidth, deckBottom - deckTop));
    p.setBrush(concreteShade);
    p.drawRect(QRectF(0, deckBottom - 5.0, pictureWidth, 5.0));
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.drawLine(QPointF(0, deckTop - 7.0), QPointF(pictureWidth, deckTop - 7.0));
    for (double x = 4.0; x < pictureWidth; x += 8.0)
        p.drawLine(QPointF(x, deckTop - 7.0), QPointF(x, deckTop));
    p.setPen(Qt::NoPen);
}

void paintTitle(QPainter& p)
{
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(34);
    font.setLetterSpacing(QFont::PercentageSpacing, 104.0);
    const QString lines[] = {QString::fromUtf8("NELINEÁRNÍ MODELOVÁNÍ"), QString::fromUtf8("BETONOVÉHO PRŮŘEZU")};
    const double baselines[] = {58.0, 100.0};
    for (int i = 0; i < 2; ++i) {
        QPainterPath text;
        text.addText(0, 0, font, lines[i]);
        const QRectF bounds = text.boundingRect();
        text.translate((pictureWidth - bounds.width()) / 2.0 - bounds.left(), baselines[i]);
        p.setPen(QPen(QColor(255, 255, 255), 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(text);
        p.setPen(QPen(QColor(120, 0, 0), 1.0));
        p.setBrush(QColor(210, 16, 16));
        p.drawPath(text);
    }
}

}  // namespace

QImage Form1::bridgePicture()
{
    QImage picture(pictureWidth, pictureHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    paintSky(painter);
    paintLandscape(painter);
    paintBridge(painter);
    paintTitle(painter);
    return picture;
}

Form1::Form1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("Form1");
    setWindowTitle(QString::fromUtf8(applicationTitle));

    QPalette navy = palette();
    navy.setColor(QPalette::Window, QColor(0, 0, 128));
    auto* centre = new QWidget(this);
    centre->setObjectName("Panel1");
    centre->setAutoFillBackground(true);
    centre->setPalette(navy);
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(10, 10, 10, 10);
    Image1 = new QLabel(centre);
    Image1->setObjectName("Image1");
    Image1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1->setLineWidth(3);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setScaledContents(true);  // stretched to the frame
    Image1->setPixmap(QPixmap::fromImage(bridgePicture()));
    Image1->setMinimumSize(320, 240);
    layout->addWidget(Image1);
    setCentralWidget(centre);

    struct Item {
        const char* name;
        const char* caption;
        void (Form1::*slot)();
    };
    const Item items[] = {
        {"Inversnanalzadrtkobetonu1", "    Inversní analýza drátkobetonu  ", &Form1::Inversnanalzadrtkobetonu1Click},
        {"Pracovndiagramprezu1", "    Pracovní diagram průřezu    ", &Form1::Pracovndiagramprezu1Click},
        {"Ukonitprogram1", "    Ukončit program  ", &Form1::Ukonitprogram1Click},
    };
    for (const Item& item : items) {
        QAction* action = menuBar()->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(item.name);
        connect(action, &QAction::triggered, this, item.slot);
    }
    resize(666, 536);
}

void Form1::Inversnanalzadrtkobetonu1Click()
{
    guarded([&] {
        windows().form2->show();
        hide();
    });
}

void Form1::Pracovndiagramprezu1Click()
{
    guarded([&] {
        hide();
        windows().form6->show();
    });
}

void Form1::Ukonitprogram1Click()
{
    guarded([&] { close(); });
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    QApplication::quit();  // closing the main window ends the program
}

}  // namespace prurez
