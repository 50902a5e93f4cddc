#pragma once

#include "widgets/Window.h"

namespace prurez {

class Form4 : public Window {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);
};

}  // namespace prurez
