#pragma once
// The section input window.

#include "widgets/Window.h"

#include <array>
#include <string>

namespace prurez {

class Form6 : public Window {
    Q_OBJECT
public:
    explicit Form6(QWidget* parent = nullptr);

    // The hand-over from the inverse analysis: material "Drátkobeton", diagram
    // "Bilineární", concrete in tension "Ano", all three locked for the rest of the run;
    // Edit1 … Edit7 filled with fcp, fct, E, ecpm, ectm, a, b (in this order).
    void continueFromInverseAnalysis(const std::array<std::string, 7>& texts);
};

}  // namespace prurez
