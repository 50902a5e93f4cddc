#pragma once
// A window that is never shown: it holds the deviation table of the inverse analysis.

#include "common/GridTable.h"
#include "widgets/Window.h"

namespace prurez {

class GridView;

class Form5 : public Window {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);

    GridTable& deviationTable() { return deviations_; }

private:
    GridTable deviations_;
    GridView* StringGrid1;
};

}  // namespace prurez
