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

// The message line's word on a transfer; the time says which run it was.
void tellTransfer(TransferResult result, const char *done, const char *doneText, const char *failed,
                  const char *failedText)
{
    if (result == TransferResult::Done)
        tellStep(done, doneText, clockTime());
    else
        tellStep(failed, failedText, clockTime());
}

// A file step: the line names the file, the title too once it holds what
// the window shows; a cancelled dialog says nothing.
void tellFile(const std::string &path, bool done, const char *doneName, const char *doneText,
              const char *failedName, const char *failedText)
{
    if (path.empty())
        return;
    if (done)
        showFileInTitle(path.c_str());
    std::string name = XmtFileNameText(path.substr(path.find_last_of('/') + 1));
    if (done)
        tellStep(doneName, doneText, name);
    else
        tellStep(failedName, failedText, name);
}

} // namespace

void readConfig(Widget, XtPointer, XtPointer)
{
    WindowObserver observer(toplevel);
    TransferResult result = readConfiguration(observer, all);
    if (result == TransferResult::Done) {
        // The ROM version is the line's word on a read; one that fails has
        // its error box and leaves the line.
        show_anl_vers();
        // What the window holds came from the PBX, no longer from a file.
        showFileInTitle("");
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
    tellTransfer(result, "programDone", "Programmiert um %s", "programFailed",
                 "Programmieren fehlgeschlagen um %s: die Änderungen bleiben erhalten");
}

void readTlnConfig(Widget parent, XtPointer, XtPointer)
{
    WindowObserver observer(parent);
    TransferResult result = readTlnConfiguration(observer, all);
    // As for the configuration, a read that fails has its error box only.
    if (result == TransferResult::Done) {
        tellStep("tlnReadDone", "Teilnehmerdaten ausgelesen um %s", clockTime());
        keepBackup(FileKind::Subscribers, [](FILE *fp) { return writeTndStream(fp, all); });
        rememberPbxHolds(FileKind::Subscribers);
    }
}

void writeTlnConfig(Widget parent, XtPointer, XtPointer)
{
    if (!confirmProgramming(parent, FileKind::Subscribers))
        return;
    WindowObserver observer(parent);
    TransferResult result = writeTlnConfiguration(observer, all);
    if (result == TransferResult::Done)
        rememberPbxHolds(FileKind::Subscribers);
    tellTransfer(result, "tlnProgramDone", "Teilnehmerdaten programmiert um %s", "tlnProgramFailed",
                 "Teilnehmerdaten: Programmieren fehlgeschlagen um %s");
}

void loadCFGFile(Widget, XtPointer, XtPointer)
{
    std::string path;
    bool loaded = loadConfigFile(toplevel, &path);
    activateMainButtons();
    tellFile(path, loaded, "loaded", "Geladen: %s", "notLoaded", "Nicht geladen: %s");
}

void saveCFGFile(Widget, XtPointer, XtPointer)
{
    if (recInt(rec::CfgValid) == 0)
        return;
    bool saved = saveConfigFile(toplevel, chosenVendor());
    tellFile(recText(rec::CfgFilePath), saved, "saved", "Gespeichert: %s", "notSaved", "Nicht gespeichert: %s");
}

void saveCFGFileAs(Widget, XtPointer, XtPointer)
{
    std::string path;
    bool saved = saveConfigFileAs(toplevel, chosenVendor(), &path);
    tellFile(path, saved, "saved", "Gespeichert: %s", "notSaved", "Nicht gespeichert: %s");
}
