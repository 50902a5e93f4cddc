#include "GuiTest.h"

#include "ui/widgets/Handlers.h"

namespace guitest {

std::vector<std::string>& failures()
{
    static std::vector<std::string> recorded;
    return recorded;
}

std::vector<std::string>& informations()
{
    static std::vector<std::string> recorded;
    return recorded;
}

void clearFailures()
{
    failures().clear();
    informations().clear();
}

void type(QWidget* window, const char* name, const QString& text)
{
    if (auto* edit = find<QLineEdit>(window, name)) {
        edit->selectAll();
        if (text.isEmpty())
            edit->del();
        else
            edit->insert(text);  // one edit, as a paste: textEdited and textChanged once
    }
}

void typeCombo(QWidget* window, const char* name, const QString& text)
{
    if (auto* combo = find<QComboBox>(window, name))
        combo->setEditText(text);
}

void click(QWidget* window, const char* name)
{
    if (auto* button = find<QAbstractButton>(window, name))
        button->click();
}

void choose(QWidget* window, const char* groupName, int index)
{
    if (auto* group = find<prurez::RadioGroup>(window, groupName)) {
        if (auto* button = group->button(index))
            button->click();
        else
            ADD_FAILURE() << groupName << " has no item " << index;
    }
}

QString number(const char* text)
{
    return QString::fromUtf8(text).replace(',', QChar::fromLatin1(prurez::localeDecimalSeparator()));
}

bool shown(QWidget* window, const char* name)
{
    QWidget* control = find<QWidget>(window, name);
    return control != nullptr && !control->isHidden();
}

const prurez::TextTable& grid(QWidget* window, const char* name)
{
    static const prurez::GridTable none;
    auto* view = find<prurez::GridView>(window, name);
    if (view == nullptr)
        return none;
    return view->table();
}

std::string cell(QWidget* window, const char* gridName, int column, int row)
{
    return grid(window, gridName).cell(column, row);
}

void settle() { QApplication::processEvents(); }

}  // namespace guitest
