#pragma once
// An up-down spinner bound to an edit field.

#include <QWidget>

class QKeyEvent;
class QLineEdit;
class QToolButton;

namespace prurez {

// An up-down spinner bound to an edit field: an arrow takes the field's number as
// the position when it is a whole number, brought within the limits (otherwise the
// last position), steps it by one without wrapping, writes the new position into the
// field when it differs from what the field holds, then emits clicked(). So both
// arrows treat a typed count beyond the limits alike: 150 becomes 100 (▲) or 99 (▼).
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }
    void step(int delta);

signals:
    void clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* buddy_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_;
    int maximum_;
    int position_;
};

}  // namespace prurez
