#include "app/Windows.h"

#include "app/Form1.h"
#include "inverse/Form2.h"
#include "inverse/Form3.h"
#include "inverse/Form4.h"
#include "inverse/Form5.h"
#include "section/Form6.h"
#include "section/Form7.h"

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
    Window::setNothingVisibleHandler([] { instances.form1->show(); });
}

void destroyWindows()
{
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

}  // namespace prurez
