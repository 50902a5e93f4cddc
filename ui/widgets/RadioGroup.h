#pragma once
// A captioned group of radio buttons used by its item index (-1: none selected).
// Selecting an item from code emits clicked() as a user's click would, when the
// selection changes.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace prurez {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int itemIndex() const;
    // Selects an item (-1 clears); emits clicked() when the selection changes.
    void setItemIndex(int index);
    QRadioButton* button(int index) const;
    int count() const;

signals:
    void clicked();

private:
    QButtonGroup* group_;
};

}  // namespace prurez
