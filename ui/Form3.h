#pragma once
// The combination table of the inverse analysis; computes the moment of every
// combination at every test curvature.

#include "flows/NumberTables.h"
#include "ui/widgets/Window.h"

class QProgressBar;
class QPushButton;

namespace prurez {

class GridView;

class Form3 : public Window {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

    // The combination table (StringGrid1) and the hidden value table (StringGrid2).
    CombinationTable& combinationTable();
    GridTable& valueTable();
    // Shows both tables as they now stand.
    void syncTables();

public slots:
    void Button1Click();

private:
    GridView* StringGrid1;
    GridView* StringGrid2;
    QPushButton* Button1;
    QProgressBar* ProgressBar1;
    QPushButton* CancelButton;  // "Přerušit", beside the bar while computing
};

}  // namespace prurez
