#include "section/Form7.h"

namespace prurez {

Form7::Form7(QWidget* parent) : Window(parent)
{
    setObjectName("Form7");
}

}  // namespace prurez
