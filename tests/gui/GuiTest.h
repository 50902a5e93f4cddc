#pragma once
// Helpers for driving the windows offscreen: find a control by objectName, type,
// click, read a grid; failure messages are recorded instead of shown.

#include "flows/GridTable.h"
#include "ui/widgets/GridView.h"
#include "ui/widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace guitest {

// Messages the handlers failed with since the last clearFailures(), and the
// information they gave (a computation stopped on request).
std::vector<std::string>& failures();
std::vector<std::string>& informations();
void clearFailures();

template <typename T>
T* find(QWidget* window, const char* name)
{
    T* control = window->findChild<T*>(QString::fromUtf8(name));
    if (control == nullptr)
        ADD_FAILURE() << "no control '" << name << "' of the expected kind in " << window->objectName().toStdString();
    return control;
}

// Replaces the text of an edit field as the user would (emits textEdited/textChanged).
void type(QWidget* window, const char* name, const QString& text);
// Sets the text of an editable combo box.
void typeCombo(QWidget* window, const char* name, const QString& text);
// Clicks a button (push button, radio button, tool button).
void click(QWidget* window, const char* name);
// Clicks item `index` of a radio group, as the user would.
void choose(QWidget* window, const char* groupName, int index);

// A number text with the decimal separator the windows read ("0,15" as typed).
QString number(const char* text);
// The control is not hidden (a page not in front hides its controls from view only).
bool shown(QWidget* window, const char* name);

// The grid's table.
const prurez::TextTable& grid(QWidget* window, const char* name);
std::string cell(QWidget* window, const char* grid, int column, int row);

// Lets queued events run.
void settle();

}  // namespace guitest
