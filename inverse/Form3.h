#pragma once

#include "widgets/Window.h"

namespace prurez {

class Form3 : public Window {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);
};

}  // namespace prurez
