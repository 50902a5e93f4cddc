#include "ui/widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace prurez {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this))
{
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(QStringLiteral("item%1").arg(i));
        group_->addButton(button, i);
        layout->addWidget(button);
    }
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, [this](int) { emit clicked(); });
}

int RadioGroup::itemIndex() const { return group_->checkedId(); }

void RadioGroup::setItemIndex(int index)
{
    if (index == itemIndex())
        return;
    if (index < 0) {
        group_->setExclusive(false);
        if (QAbstractButton* checked = group_->checkedButton())
            checked->setChecked(false);
        group_->setExclusive(true);
    } else if (QAbstractButton* target = group_->button(index)) {
        target->setChecked(true);
    } else {
        return;
    }
    emit clicked();
}

QRadioButton* RadioGroup::button(int index) const { return qobject_cast<QRadioButton*>(group_->button(index)); }

int RadioGroup::count() const { return static_cast<int>(group_->buttons().size()); }

}  // namespace prurez
