#pragma once
// A window that is never shown: it holds the deviation table of the inverse analysis.

#include "flows/NumberTables.h"
#include "ui/widgets/Window.h"

namespace prurez {

class GridView;

class Form5 : public Window {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);

    DeviationTable& deviationTable();

private:
    GridView* StringGrid1;
};

}  // namespace prurez
