#pragma once

#include "widgets/Window.h"

namespace prurez {

class Form6 : public Window {
    Q_OBJECT
public:
    explicit Form6(QWidget* parent = nullptr);
};

}  // namespace prurez
