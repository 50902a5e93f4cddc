#include "inverse/Form5.h"

namespace prurez {

Form5::Form5(QWidget* parent) : Window(parent)
{
    setObjectName("Form5");
}

}  // namespace prurez
