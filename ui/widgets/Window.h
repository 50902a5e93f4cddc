#pragma once
// A top-level window of the program. All windows live for the whole run; closing a
// window by its title bar only hides it.

#include <QWidget>

#include <functional>

namespace prurez {

class Window : public QWidget {
    Q_OBJECT
public:
    explicit Window(QWidget* parent = nullptr);

    // Runs after a window other than the main one was closed by its title bar and no
    // window of the program is visible any more (the application shows the main one).
    static void setNothingVisibleHandler(std::function<void()> handler);

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace prurez
