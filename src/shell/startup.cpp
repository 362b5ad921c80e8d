// Entry point: command line, the record, the toolkit and the main window.
#include "shell/shell.h"

#include "basic/anltyp.h"
#include "charges/gebzahl.h"
#include "charges/outcalls.h"
#include "config/cfgfile.h"
#include "config/record.h"
#include "config/tlntransfer.h"
#include "link/trace.h"
#include "resources/resources.h"
#include "settings/calldist.h"
#include "settings/gebdat.h"
#include "settings/tlnperm.h"
#include "shell/access.h"
#include "speeddial/kwz.h"
#include "speeddial/rufzuord.h"
#include "subscriber/tndat.h"
#include "toolkit/toolkit.h"

#include <Xm/Protocols.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

XtAppContext appContext = nullptr;

void registerProcedures()
{
    XmtRegisterProcedures({
        {"quitting", quitting},
        {"showConf", showConf},
        {"dokwz", dokwz},
        {"dornz", dornz},
        {"doglob", doglob},
        {"dotlnperm", dotlnperm},
        {"dotlntyp", dotlntyp},
        {"doamtperm", doamtperm},
        {"docalldist", docalldist},
        {"dogebdat", dogebdat},
        {"dosteuerk", dosteuerk},
        {"douserfkt", douserfkt},
        {"doOutKit", doOutKit},
        {"doInKit", doInKit},
        {"dotextfocus", dotextfocus},
        {"dotxtunfoc", dotxtunfoc},
        {"loadCFGFile", loadCFGFile},
        {"saveCFGFile", saveCFGFile},
        {"saveCFGFileAs", saveCFGFileAs},
        {"readConfig", readConfig},
        {"writeConfig", writeConfig},
        {"readTlnConfig", readTlnConfig},
        {"writeTlnConfig", writeTlnConfig},
        {"CheckLeadZero", CheckLeadZero},
        {"Check_11_97", Check_11_97},
        {"Check_0_255", Check_0_255},
        {"Check_0_999", Check_0_999},
        {"Check_0_2359", Check_0_2359},
        {"showHelp", showHelp},
    });
}

} // namespace

void AllocateStructs()
{
    all = static_cast<unsigned char *>(std::calloc(1, rec::RecordSize));
    if (!all) {
        std::perror("Fehler bei der Speicherallokation");
        std::exit(1);
    }
}

void usage(const char *progpath)
{
    const char *slash = std::strrchr(progpath, '/');
    std::fprintf(stderr, "usage: %s </dev/cuaX>\n", slash ? slash + 1 : progpath);
    std::exit(1);
}

void parseCommandLine(int argc, char **argv)
{
    optind = 0; // start over: tests parse more than one command line
    int c;
    while ((c = getopt(argc, argv, "D:")) != -1) {
        switch (c) {
        case 'D':
            openTrace(std::atoi(optarg));
            break;
        default:
            usage(argv[0]);
        }
    }
    if (optind >= argc)
        usage(argv[0]);
    // The argument itself, not a copy; any further arguments are ignored.
    setDevicePath(argv[optind]);
}

void SetUpVars()
{
    setRecInt(rec::CurrentPbx, 0);
    std::snprintf(recText(rec::CfgFilePath), rec::PathSize, "%s/%s", DefaultFilesDir, "standard.cfg");
    std::snprintf(cfgdirname, sizeof cfgdirname, "%s", DefaultFilesDir);
}

void buildMainWindow()
{
    // Our toolkit binds callback names when it creates a widget, so the
    // procedures are known before the tree is built.
    registerProcedures();

    XmtCreateChildren(toplevel);

    // The dialog families register their callbacks, in this order:
    // doSetupKwz, doSetupConf, doSetupRNZ, doSetupPerm, doSetupCallDist,
    // doSetupGebDat, doSetupZaehler, doSetupUser, doSetupKit.
    doSetupKwz();
    doSetupConf();
    doSetupRNZ();
    doSetupPerm();
    doSetupCallDist();
    doSetupGebDat();
    doSetupZaehler();
    doSetupUser();
    doSetupKit();

    SetUpVars();
    // The version goes in before realizing: the shell keeps the size it was
    // realized with, and an empty message line would be cut off.
    kelvora_vers();

    XtRealizeWidget(toplevel);
    // The window manager's close is "Beenden"; the shell does nothing by itself.
    XtVaSetValues(toplevel, XmNdeleteResponse, XmDO_NOTHING, nullptr);
    Atom deleteWindow = XmInternAtom(XtDisplay(toplevel), const_cast<char *>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(toplevel, deleteWindow, quitting, nullptr);
}

void kelvoraStart(int argc, char **argv)
{
    AllocateStructs();
    toplevel = XmtInitialize(&appContext, "Kelvora", &argc, argv, kelvoraFallbackResources());
    parseCommandLine(argc, argv);
    buildMainWindow();
}

int kelvoraMain(int argc, char **argv)
{
    kelvoraStart(argc, argv);
    XtAppMainLoop(appContext);
    return 0;
}
