#pragma once

#include "widgets/Window.h"

namespace prurez {

class Form2 : public Window {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
};

}  // namespace prurez
