// The main window's configuration transfers and files: the configuration layer
// does the work and reports; the main window follows here.
#include "app/app.h"

#include "app/cfgfiles.h"
#include "config/cfgtransfer.h"
#include "config/tlntransfer.h"
#include "ui/access.h"
#include "ui/transferwindow.h"

namespace {

// The buttons follow a transfer that ran through or whose begin was refused;
// after a failure midway they keep their state.
void followTransfer(TransferResult result)
{
    if (result == TransferResult::Done || result == TransferResult::Refused)
        activateMainButtons();
}

CfgVendor chosenVendor()
{
    int item = 0;
    getChooserState(toplevel, "*whsel", &item);
    return item == 0 ? CfgVendor::Dorvan : CfgVendor::Ostrale;
}

} // namespace

void readConfig(Widget, XtPointer, XtPointer)
{
    WindowObserver observer(toplevel);
    TransferResult result = readConfiguration(observer);
    if (result == TransferResult::Done)
        show_anl_vers();
    followTransfer(result);
}

void writeConfig(Widget, XtPointer, XtPointer)
{
    WindowObserver observer(toplevel);
    followTransfer(writeConfiguration(observer));
}

void readTlnConfig(Widget parent, XtPointer, XtPointer)
{
    WindowObserver observer(parent);
    readTlnConfiguration(observer);
}

void writeTlnConfig(Widget parent, XtPointer, XtPointer)
{
    WindowObserver observer(parent);
    writeTlnConfiguration(observer);
}

void loadCFGFile(Widget, XtPointer, XtPointer)
{
    loadConfigFile(toplevel);
    // Also after a cancelled or refused file: the flag was cleared.
    activateMainButtons();
}

void saveCFGFile(Widget, XtPointer, XtPointer)
{
    saveConfigFile(toplevel, chosenVendor());
}

void saveCFGFileAs(Widget, XtPointer, XtPointer)
{
    saveConfigFileAs(toplevel, chosenVendor());
}
