// Entry point: command line, the record, the toolkit and the main window.
#include "app/app.h"

#include "app/cfgfiles.h"
#include "app/portchooser.h"
#include "app/preview.h"
#include "app/registry.h"
#include "config/inputfile.h"
#include "config/record.h"
#include "config/tlntransfer.h"
#include "link/interrupt.h"
#include "link/number.h"
#include "link/trace.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/safetynet.h"

#include <X11/Xresource.h>
#include <Xm/Protocols.h>
#include <cstdio>
#include <cstdlib>
#include <clocale>
#include <getopt.h>
#include <libintl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

XtAppContext appContext = nullptr;

// The main window's procedures come from its table; these are the ones the
// dialogs' resource lines name.
void registerProcedures()
{
    for (const MainButton &b : mainButtons())
        XmtRegisterCallbackProcedure(b.procedure, b.run);
    XmtRegisterProcedures({
        {"dotextfocus", dotextfocus},
        {"dotxtunfoc", dotxtunfoc},
        {"saveCFGFile", saveCFGFile},
        {"readTlnConfig", readTlnConfig},
        {"writeTlnConfig", writeTlnConfig},
    });
    registerValidators();
}

// The options Xt takes out of the command line itself, so that the line can be
// read before there is a display; XrmParseCommand matches abbreviations as Xt does.
XrmOptionDescRec toolkitOptions[] = {
    {const_cast<char *>("-bg"), const_cast<char *>("*background"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-background"), const_cast<char *>("*background"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-bd"), const_cast<char *>("*borderColor"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-bordercolor"), const_cast<char *>("*borderColor"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-borderwidth"), const_cast<char *>(".borderWidth"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-bw"), const_cast<char *>(".borderWidth"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-display"), const_cast<char *>(".display"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-fg"), const_cast<char *>("*foreground"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-fn"), const_cast<char *>("*font"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-font"), const_cast<char *>("*font"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-foreground"), const_cast<char *>("*foreground"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-geometry"), const_cast<char *>(".geometry"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-iconic"), const_cast<char *>(".iconic"), XrmoptionNoArg, const_cast<char *>("on")},
    {const_cast<char *>("-name"), const_cast<char *>(".name"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-reverse"), const_cast<char *>("*reverseVideo"), XrmoptionNoArg, const_cast<char *>("on")},
    {const_cast<char *>("-rv"), const_cast<char *>("*reverseVideo"), XrmoptionNoArg, const_cast<char *>("on")},
    {const_cast<char *>("+rv"), const_cast<char *>("*reverseVideo"), XrmoptionNoArg, const_cast<char *>("off")},
    {const_cast<char *>("-selectionTimeout"), const_cast<char *>(".selectionTimeout"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-synchronous"), const_cast<char *>("*synchronous"), XrmoptionNoArg, const_cast<char *>("on")},
    {const_cast<char *>("+synchronous"), const_cast<char *>("*synchronous"), XrmoptionNoArg, const_cast<char *>("off")},
    {const_cast<char *>("-title"), const_cast<char *>(".title"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-xnllanguage"), const_cast<char *>(".xnlLanguage"), XrmoptionSepArg, nullptr},
    {const_cast<char *>("-xrm"), nullptr, XrmoptionResArg, nullptr},
    {const_cast<char *>("-xtsessionID"), const_cast<char *>(".sessionID"), XrmoptionSepArg, nullptr},
};

const option longOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

void printHelp(const char *progpath)
{
    std::printf("usage: %s [X toolkit options] [-D level] <device>\n"
                "       %s -h | --help | --version\n"
                "\n"
                "Configures a small ISDN PBX on the serial line <device> (for example /dev/ttyS0).\n"
                "\n"
                "  -D level       trace every transfer into /tmp/kelvora.debug (level 3: every byte)\n"
                "  -h, --help     print this text and exit\n"
                "  --version      print the version and exit\n"
                "\n"
                "X toolkit options such as -display, -geometry and -xrm come before the device.\n"
                "See kelvora(1).\n",
                baseName(progpath), baseName(progpath));
}

// The display -display names, empty for $DISPLAY.
std::string displayOption;

// Before the display is opened: -h/--help and --version print and exit 0; a
// wrong option prints the usage line and exits 1, and so does a missing device
// (neither argument nor $KELVORA_DEVICE) when standard error is a terminal.
// False when the device is missing and the usage is for the window to show
// as well: started from a menu, nobody reads standard error.  Leaves argv as
// it is and opens nothing.
bool checkCommandLine(int argc, char **argv)
{
    // On a copy: Xt reads the real one once the display is open.
    std::vector<char *> args(argv, argv + argc);
    args.push_back(nullptr);
    int left = argc;
    XrmDatabase scratch = nullptr;
    XrmParseCommand(&scratch, toolkitOptions, XtNumber(toolkitOptions), baseName(argv[0]), &left, args.data());
    char *type = nullptr;
    XrmValue value{};
    std::string name = std::string(baseName(argv[0])) + ".display";
    if (XrmGetResource(scratch, name.c_str(), name.c_str(), &type, &value) && value.addr)
        displayOption = value.addr;
    XrmDestroyDatabase(scratch);

    optind = 0;
    int c;
    while ((c = getopt_long(left, args.data(), "hD:", longOptions, nullptr)) != -1) {
        switch (c) {
        case 'h':
            printHelp(argv[0]);
            std::exit(0);
        case 'V':
            std::printf("kelvora %s\n", KelvoraVersion);
            std::exit(0);
        case 'D':
            traceLevelOf(argv[0], optarg);
            break;
        default: // getopt has said what is wrong
            usage(argv[0]);
        }
    }
    if (optind < left || deviceWithoutArgument())
        return true;
    if (isatty(STDERR_FILENO))
        usage(argv[0]);
    return false;
}

} // namespace

int traceLevelOf(const char *progpath, const char *text)
{
    std::optional<long> level = decimalIn(text, 0, 99);
    if (!level) {
        std::fprintf(stderr, "%s: -D takes a trace level (0 to 99)\n", baseName(progpath));
        usage(progpath);
    }
    return int(*level);
}

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
    std::fprintf(stderr, "usage: %s </dev/cuaX>\n", baseName(progpath));
    std::exit(1);
}

void parseCommandLine(int argc, char **argv)
{
    optind = 0; // start over: tests parse more than one command line
    int c;
    while ((c = getopt(argc, argv, "D:")) != -1) {
        switch (c) {
        case 'D':
            openTrace(traceLevelOf(argv[0], optarg));
            break;
        default:
            usage(argv[0]);
        }
    }
    const char *device = optind < argc ? argv[optind] : deviceWithoutArgument();
    if (!device)
        usage(argv[0]);
    // The argument itself, not a copy; any further arguments are ignored.
    setDevicePath(device);
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

    setUpDialogFamilies();
    offerBackupsInLoadDialogs();
    setProgrammingQuestion(askBeforeProgramming);

    SetUpVars();
    // The version goes in before realizing: the shell keeps the size it was
    // realized with, and an empty message line would be cut off.
    kelvora_vers();

    XtRealizeWidget(toplevel);
    // The window manager's close is "Beenden"; the shell does nothing by itself.
    XtVaSetValues(toplevel, XmNdeleteResponse, XmDO_NOTHING, nullptr);
    Atom deleteWindow = XmInternAtom(XtDisplay(toplevel), const_cast<char *>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(toplevel, deleteWindow, quitting, nullptr);
    // Edits are made in the dialogs; the title's mark follows each.
    XmtAfterDialogRuns(followDialogEdits);
}

void kelvoraStart(int argc, char **argv)
{
    AllocateStructs();
    // A transfer the session's end or a Ctrl-C breaks off ends as a failed one
    // does (line, lock, temporary files), and standard error says what the
    // PBX holds.
    catchInterrupts([](const std::string &text) { return "kelvora: " + text; });
    // System error texts in the user's language, as ISO 8859-1 like every
    // other text in the window.  Only LC_MESSAGES: numbers in files and lists
    // keep their "." whatever the locale.
    std::setlocale(LC_MESSAGES, "");
    bind_textdomain_codeset("libc", "ISO-8859-1");
    // Help, version and a wrong command line need no display.
    bool device = checkCommandLine(argc, argv);
    // The usage line goes out first, also when there turns out to be no display.
    if (!device) {
        std::fprintf(stderr, "usage: %s </dev/cuaX>\n", baseName(argv[0]));
        // Without a display there is no window to choose the line in, and the
        // usage line has said all there is to say.
        Display *probe = XOpenDisplay(displayOption.empty() ? nullptr : displayOption.c_str());
        if (!probe)
            std::exit(1);
        XCloseDisplay(probe);
    }
    toplevel = XmtInitialize(&appContext, "Kelvora", &argc, argv, mainWindowResources());
    // Started from a menu: the line is chosen in the window, and kept.
    if (!device && !choosePort(toplevel))
        std::exit(1);
    parseCommandLine(argc, argv);
    buildMainWindow();
    // A device named on the command line or in the environment is known to
    // whoever started the program; one chosen in the window is shown.
    showWindowTitle();
}

int kelvoraMain(int argc, char **argv)
{
    kelvoraStart(argc, argv);
    XtAppMainLoop(appContext);
    return 0;
}
