#include "inverse/Form5.h"

#include "widgets/GridView.h"

namespace prurez {

Form5::Form5(QWidget* parent) : Window(parent), deviations_(2, 1)
{
    setObjectName("Form5");
    StringGrid1 = new GridView(&deviations_, this);
    StringGrid1->setObjectName("StringGrid1");
}

}  // namespace prurez
