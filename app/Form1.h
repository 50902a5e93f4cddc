#pragma once
// The main window: picture and menu.

#include <QMainWindow>

namespace prurez {

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace prurez
