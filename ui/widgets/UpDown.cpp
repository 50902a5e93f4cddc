#include "ui/widgets/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace prurez {

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent),
      buddy_(buddy),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)),
      minimum_(minimum),
      maximum_(maximum),
      position_(minimum)
{
    up_->setObjectName("up");
    down_->setObjectName("down");
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setFocusPolicy(Qt::NoFocus);
    down_->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::StrongFocus);
    connect(up_, &QToolButton::clicked, this, [this] { step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDown::step(int delta)
{
    bool isNumber = false;
    const long long typed = buddy_->text().trimmed().toLongLong(&isNumber);
    if (isNumber)
        position_ = static_cast<int>(std::clamp<long long>(typed, minimum_, maximum_));
    const int current = position_;
    const int next = std::clamp(current + delta, minimum_, maximum_);
    position_ = next;
    if (next != current || (isNumber && typed != next))
        buddy_->setText(QString::number(next));
    emit clicked();
}

void UpDown::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up)
        step(1);
    else if (event->key() == Qt::Key_Down)
        step(-1);
    else
        QWidget::keyPressEvent(event);
}

}  // namespace prurez
