#include "ui/Form5.h"

#include "flows/InverseFlow.h"
#include "ui/Windows.h"
#include "ui/widgets/GridView.h"

namespace prurez {

Form5::Form5(QWidget* parent) : Window(parent)
{
    setObjectName("Form5");
    StringGrid1 = new GridView(&deviationTable(), this);
    StringGrid1->setObjectName("StringGrid1");
}

DeviationTable& Form5::deviationTable() { return inverseTables().deviations; }

}  // namespace prurez
