#include "inverse/Form3.h"

namespace prurez {

Form3::Form3(QWidget* parent) : Window(parent)
{
    setObjectName("Form3");
}

}  // namespace prurez
