// The main window's configuration transfers and files: the configuration layer
// does the work and reports; the main window follows here.
#include "app/app.h"

#include "app/cfgfiles.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "config/tlntransfer.h"
#include "subscriber/tndentries.h"
#include "ui/access.h"
#include "ui/safetynet.h"
#include "ui/transferwindow.h"

namespace {

// The buttons follow a transfer that ran through or whose begin was refused;
// after a failure midway they keep their state.  A programming run that fails
// either way leaves the flag as it found it, so the user keeps their edits.
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
    TransferResult result = readConfiguration(observer, all);
    if (result == TransferResult::Done) {
        show_anl_vers();
        CfgVendor vendor = chosenVendor();
        keepBackup(FileKind::Configuration, [vendor](FILE *fp) { return writeCfgStream(fp, vendor, all); });
        rememberPbxHolds(FileKind::Configuration);
    }
    followTransfer(result);
}

void writeConfig(Widget, XtPointer, XtPointer)
{
    if (!confirmProgramming(toplevel, FileKind::Configuration))
        return;
    WindowObserver observer(toplevel);
    TransferResult result = writeConfiguration(observer, all);
    if (result == TransferResult::Done)
        rememberPbxHolds(FileKind::Configuration);
    followTransfer(result);
}

void readTlnConfig(Widget parent, XtPointer, XtPointer)
{
    WindowObserver observer(parent);
    if (readTlnConfiguration(observer, all) == TransferResult::Done) {
        keepBackup(FileKind::Subscribers, [](FILE *fp) { return writeTndStream(fp, all); });
        rememberPbxHolds(FileKind::Subscribers);
    }
}

void writeTlnConfig(Widget parent, XtPointer, XtPointer)
{
    if (!confirmProgramming(parent, FileKind::Subscribers))
        return;
    WindowObserver observer(parent);
    if (writeTlnConfiguration(observer, all) == TransferResult::Done)
        rememberPbxHolds(FileKind::Subscribers);
}

void loadCFGFile(Widget, XtPointer, XtPointer)
{
    loadConfigFile(toplevel);
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
