#pragma once
// The main window: picture and menu.

#include <QImage>
#include <QMainWindow>

class QLabel;

namespace prurez {

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    // The picture of the main window: a concrete arch bridge over a valley with the
    // program's title, 640 × 480.
    static QImage bridgePicture();

public slots:
    void Inversnanalzadrtkobetonu1Click();
    void Pracovndiagramprezu1Click();
    void Ukonitprogram1Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* Image1;
};

}  // namespace prurez
