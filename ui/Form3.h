#pragma once
// The combination table of the inverse analysis; computes the moment of every
// combination at every test curvature.

#include "flows/GridTable.h"
#include "ui/widgets/Window.h"

#include <atomic>

class QCloseEvent;
class QKeyEvent;
class QLabel;
class QProgressBar;
class QPushButton;

namespace prurez {

class GridView;

class Form3 : public Window {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

    // The combination table (StringGrid1) and the hidden value table (StringGrid2).
    GridTable& combinationTable();
    GridTable& valueTable();
    // Shows both tables as they now stand.
    void syncTables();
    // True while the moments are being computed.
    bool isComputing() const { return computing_; }
    // Asks a running computation to stop (it ends with the cancellation message;
    // the moment table of the result window stays as it was).
    void requestCancel() { cancelRequested_ = true; }

public slots:
    void Button1Click();

protected:
    // Closing the window or Esc while the moments are computed cancels the computation.
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::atomic<bool> cancelRequested_{false};
    bool computing_ = false;

    GridView* StringGrid1;
    GridView* StringGrid2;
    QPushButton* Button1;
    QProgressBar* ProgressBar1;
    QPushButton* CancelButton;  // "Přerušit", beside the bar while computing
};

}  // namespace prurez
