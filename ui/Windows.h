#pragma once
// The seven windows of the program: created once at start, in the order Form1 …
// Form7 (then the interaction diagram's and a test series' results), and kept until the
// program ends. Every window reaches the others here, and the inverse analysis's
// windows reach its tables.

namespace prurez {

struct InverseTables;

class Form1;
class Form2;
class Form3;
class Form4;
class Form5;
class Form6;
class Form7;
class InteractionWindow;
class SeriesWindow;

struct Windows {
    Form1* form1 = nullptr;
    Form2* form2 = nullptr;
    Form3* form3 = nullptr;
    Form4* form4 = nullptr;
    Form5* form5 = nullptr;
    Form6* form6 = nullptr;
    Form7* form7 = nullptr;
    // Beyond the seven: the N–M interaction diagram of the section input.
    InteractionWindow* interaction = nullptr;
    SeriesWindow* series = nullptr;  // the results of a test series
};

class InverseAnalysis;
struct InverseState;

// Creates the windows (once), all hidden.
void createWindows();
// Shows Form1, the main window: the program starts with it alone on screen.
void showMainWindowAtStart();
// Deletes them (tests create and delete them once per test program).
void destroyWindows();
const Windows& windows();
// The inverse analysis the windows show and drive: its session, what it holds, and its
// tables.
InverseAnalysis& inverseSession();
InverseState& inverseState();
InverseTables& inverseTables();

}  // namespace prurez
