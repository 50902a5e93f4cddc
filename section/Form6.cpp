#include "section/Form6.h"

namespace prurez {

Form6::Form6(QWidget* parent) : Window(parent)
{
    setObjectName("Form6");
}

void Form6::continueFromInverseAnalysis(const std::array<std::string, 7>&) {}

}  // namespace prurez
