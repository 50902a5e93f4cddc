#pragma once
// A text that is not a number, shown where the user typed it: the window and page
// holding its field are brought forward and the field gets the focus with its text
// selected; a table cell is selected in the grid that shows its table. The message
// itself is shown as it stands, by the handler's guard.

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace prurez {

class TextFailure;

// A text a handler reads and the control it was taken from.
struct TextSource {
    const std::string* text;
    QWidget* control;
};

// Runs `body`; when it fails on a text that is not a number, shows that text's field
// (one of `sources` or of the field texts, compared by address) or cell (in any grid of
// the program), then lets the failure go on to the handler's guard.
void showingFailedText(const std::vector<TextSource>& sources, const std::function<void()>& body);

// Texts that the program keeps as its fields show them (those an inverse analysis
// session reads): a failure of one of them shows its field whichever window's handler
// read it. A source whose control is gone is passed over.
void addFieldTexts(const std::vector<TextSource>& sources);

// Brings the control's window and page forward and gives it the focus, its text
// selected.
void showField(QWidget* control);

}  // namespace prurez
