#pragma once
// A top-level window of the program. All windows live for the whole run; closing a
// window by its title bar only hides it.

#include <QPointer>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

namespace prurez {

class Window : public QWidget {
    Q_OBJECT
public:
    explicit Window(QWidget* parent = nullptr);

    // Runs after a window other than the main one was closed by its title bar and no
    // window of the program is visible any more (the application shows the main one).
    static void setNothingVisibleHandler(std::function<void()> handler);

    // Opens at `size`, the size its controls are placed for, and is never made smaller;
    // the user may enlarge it (maximise, drag).
    void setOpeningSize(const QSize& size);
    // A control that follows the window as it grows beyond its opening size: each edge
    // given keeps its distance to the window's right or bottom edge. Qt::RightEdge
    // widens the control, Qt::LeftEdge | Qt::RightEdge moves it right; Qt::BottomEdge
    // and Qt::TopEdge | Qt::BottomEdge likewise downwards. A grid grows by its
    // setGrowth, so that it keeps the places its window gives it for the opening size.
    void followGrowth(QWidget* control, Qt::Edges edges);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize openingSize_;
    QSize growth_{0, 0};  // what the followers follow now
    std::vector<std::pair<QPointer<QWidget>, Qt::Edges>> followers_;
};

}  // namespace prurez
