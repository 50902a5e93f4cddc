#pragma once
// Small builders of the controls the windows place by hand.

#include <QFont>
#include <QRect>
#include <QString>

#include <initializer_list>

class QLabel;
class QLineEdit;
class QTabWidget;
class QWidget;

namespace prurez {

// A label at (x, y) sized to its text, named `name` when one is given.
QLabel* label(const QString& text, QWidget* parent, int x, int y, const char* name = nullptr);
// A label in a given place.
QLabel* label(const QString& text, QWidget* parent, const QRect& place, const char* name = nullptr);

// An edit field 24 pixels high.
QLineEdit* edit(const char* name, QWidget* parent, int x, int y, int width = 90);

// Sets the text of a field the program fills and shows the text's beginning, as a
// field shows it after the user typed and left it ("3,1666…", not "…66666666667").
void setFieldText(QLineEdit* field, const QString& text);

QFont bold(QFont font);
QFont underlined(QFont font);

// The page control "PageControl1" of a window, in `place`, with one page per caption,
// the pages named TabSheet1, TabSheet2, … (reach them with widget(index)).
QTabWidget* pageControl(QWidget* window, const QRect& place, std::initializer_list<QString> captions);

// Shows or hides every control of the list.
void setShown(std::initializer_list<QWidget*> controls, bool shown);

}  // namespace prurez
