#include "ui/widgets/Controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace prurez {

QLabel* label(const QString& text, QWidget* parent, int x, int y, const char* name)
{
    auto* result = new QLabel(text, parent);
    if (name != nullptr)
        result->setObjectName(name);
    result->move(x, y);
    result->adjustSize();
    return result;
}

QLabel* label(const QString& text, QWidget* parent, const QRect& place, const char* name)
{
    auto* result = new QLabel(text, parent);
    if (name != nullptr)
        result->setObjectName(name);
    result->setGeometry(place);
    return result;
}

QLineEdit* edit(const char* name, QWidget* parent, int x, int y, int width)
{
    auto* result = new QLineEdit(parent);
    result->setObjectName(name);
    result->setGeometry(x, y, width, 24);
    return result;
}

void setFieldText(QLineEdit* field, const QString& text)
{
    field->setText(text);
    field->setCursorPosition(0);
}

QFont bold(QFont font)
{
    font.setBold(true);
    return font;
}

QFont underlined(QFont font)
{
    font.setUnderline(true);
    return font;
}

QTabWidget* pageControl(QWidget* window, const QRect& place, std::initializer_list<QString> captions)
{
    auto* pages = new QTabWidget(window);
    pages->setObjectName("PageControl1");
    pages->setGeometry(place);
    int number = 0;
    for (const QString& caption : captions) {
        auto* page = new QWidget;
        page->setObjectName(QString("TabSheet%1").arg(++number));
        pages->addTab(page, caption);
    }
    return pages;
}

void setShown(std::initializer_list<QWidget*> controls, bool shown)
{
    for (QWidget* control : controls)
        control->setVisible(shown);
}

}  // namespace prurez
