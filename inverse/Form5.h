#pragma once

#include "widgets/Window.h"

namespace prurez {

class Form5 : public Window {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);
};

}  // namespace prurez
