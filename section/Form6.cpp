#include "section/Form6.h"

namespace prurez {

Form6::Form6(QWidget* parent) : Window(parent)
{
    setObjectName("Form6");
}

}  // namespace prurez
