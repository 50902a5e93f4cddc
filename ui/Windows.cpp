#include "ui/Windows.h"

#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Form4.h"
#include "ui/Form5.h"
#include "ui/Form6.h"
#include "ui/Form7.h"
#include "ui/InteractionWindow.h"
#include "ui/SeriesWindow.h"
#include "flows/InverseState.h"
#include "ui/widgets/Handlers.h"

namespace prurez {

namespace {
Windows instances;
}

void createWindows()
{
    if (instances.form1 != nullptr)
        return;
    instances.form1 = new Form1;
    instances.form2 = new Form2;
    instances.form3 = new Form3;
    instances.form4 = new Form4;
    instances.form5 = new Form5;
    instances.form6 = new Form6;
    instances.form7 = new Form7;
    instances.interaction = new InteractionWindow;
    instances.series = new SeriesWindow;
    Window::setNothingVisibleHandler([] { instances.form1->show(); });
}

void showMainWindowAtStart() { instances.form1->show(); }

void destroyWindows()
{
    delete instances.interaction;
    delete instances.series;
    delete instances.form7;
    delete instances.form6;
    delete instances.form5;
    delete instances.form4;
    delete instances.form3;
    delete instances.form2;
    delete instances.form1;
    instances = Windows();
}

const Windows& windows() { return instances; }

InverseAnalysis& inverseSession()
{
    static InverseAnalysis session(localeDecimalSeparator());
    return session;
}

InverseState& inverseState() { return stateOf(inverseSession()); }

InverseTables& inverseTables() { return inverseState().tables; }

}  // namespace prurez
