#pragma once

#include "widgets/Window.h"

namespace prurez {

class Form7 : public Window {
    Q_OBJECT
public:
    explicit Form7(QWidget* parent = nullptr);
};

}  // namespace prurez
