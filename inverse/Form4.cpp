#include "inverse/Form4.h"

namespace prurez {

Form4::Form4(QWidget* parent) : Window(parent)
{
    setObjectName("Form4");
}

}  // namespace prurez
