#include "inverse/Form2.h"

namespace prurez {

Form2::Form2(QWidget* parent) : Window(parent)
{
    setObjectName("Form2");
}

}  // namespace prurez
