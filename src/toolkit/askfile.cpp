// Asking for a file with Motif's file selection box.
#include "toolkit/internal.h"

#include <Xm/DialogS.h>
#include <Xm/FileSB.h>
#include <Xm/Protocols.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/ToggleB.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xmt {
namespace {

struct FileQuery {
    bool done = false;
    bool chosen = false;
    const char *mode = "r"; // nullptr: asked for saving, nothing is opened
    FILE *stream = nullptr;
    std::string path;
};

// fopen-style mode to open(2) flags; -1 when the mode makes no sense.
int openFlags(const char *mode)
{
    if (!mode || !*mode)
        return -1;
    bool plus = strchr(mode + 1, '+') != nullptr;
    switch (mode[0]) {
    case 'r': return plus ? O_RDWR : O_RDONLY;
    case 'w': return (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
    case 'a': return (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
    default: return -1;
    }
}

// Opens without waiting: a FIFO without a peer or a slow device must not block
// the one thread the program has.
FILE *openNonBlocking(const std::string &path, const char *mode, int &error)
{
    int flags = openFlags(mode);
    if (flags < 0) {
        error = EINVAL;
        return nullptr;
    }
    int fd = open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    int fl = fcntl(fd, F_GETFL);
    if (fl >= 0)
        fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    FILE *f = fdopen(fd, mode);
    if (!f) {
        error = errno;
        close(fd);
    }
    return f;
}

void copyInto(char *buffer, int len, const std::string &text)
{
    if (!buffer || len <= 0)
        return;
    size_t n = std::min(text.size(), static_cast<size_t>(len - 1));
    memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

std::string valueOf(Widget fsb, const char *resource)
{
    XmString s = nullptr;
    XtVaGetValues(fsb, resource, &s, nullptr);
    std::string text = rawStringOf(s);
    XmStringFree(s);
    return text;
}

void okay(Widget fsb, XtPointer client, XtPointer call)
{
    auto *q = static_cast<FileQuery *>(client);
    auto *cbs = static_cast<XmFileSelectionBoxCallbackStruct *>(call);
    std::string path = rawStringOf(cbs->value);
    if (path.empty()) {
        XmtDisplayErrorMsg(fsb, "noFile", "Bitte eine Datei auswählen!", "Datei-Fehler", nullptr);
        return;
    }
    if (!q->mode) {
        // Saving onto a file that is there asks first; "Nein" stays here.
        struct stat st;
        bool there = stat(path.c_str(), &st) == 0;
        if (there && S_ISDIR(st.st_mode)) {
            XmtDisplayErrorMsg(fsb, "openFailed", "Die Datei \"%s\"\nkann nicht geöffnet werden:\n%s", "Datei-Fehler",
                               nullptr, XmtFileNameText(path).c_str(), strerror(EISDIR));
            return;
        }
        if (there && S_ISREG(st.st_mode) &&
            !XmtAskIrreversible(fsb, "overwriteFile", "Die Datei\n\"%s\"\ngibt es schon.\nSoll sie überschrieben werden?",
                                nullptr, XmtFileNameText(path).c_str()))
            return;
        q->path = path;
        q->chosen = true;
        q->done = true;
        return;
    }
    int error = 0;
    FILE *f = openNonBlocking(path, q->mode, error);
    if (!f) {
        XmtDisplayErrorMsg(fsb, "openFailed", "Die Datei \"%s\"\nkann nicht geöffnet werden:\n%s", "Datei-Fehler",
                           nullptr, XmtFileNameText(path).c_str(), strerror(error));
        return;
    }
    q->stream = f;
    q->path = path;
    q->chosen = true;
    q->done = true;
}

void cancel(Widget, XtPointer client, XtPointer)
{
    static_cast<FileQuery *>(client)->done = true;
}

void showHelp(Widget fsb, XtPointer client, XtPointer)
{
    XmtDisplayInformationMsg(fsb, "help", "%s", "Hilfe", nullptr, static_cast<const char *>(client));
}

} // namespace
} // namespace xmt

using namespace xmt;

namespace xmt {
namespace {

bool isDirectory(const std::string &path)
{
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string homeDirectory()
{
    const char *home = getenv("HOME");
    if (home && *home)
        return home;
    const passwd *pw = getpwuid(getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "/";
}

// A folder that is not there (the installed files' folder when running from a
// build tree) would open on an empty list: the home folder instead, the
// proposed name kept.
void startWhereThereIsAFolder(std::string &directory, std::string &filename)
{
    if (!isDirectory(directory))
        directory = homeDirectory();
    size_t slash = filename.rfind('/');
    if (slash != std::string::npos && slash > 0 && !isDirectory(filename.substr(0, slash)))
        filename = directory + filename.substr(slash);
}

// Where the dialog starts and what it says: the texts handed in (what was
// chosen last time) win over the query's resources, which win over the defaults.
struct FileStart {
    std::string name; // the query's widget name
    std::string directory, pattern, filename;
    std::string title, prompt, help;
};

FileStart startOf(Widget parent, const char *query_name, const char *prompt, const char *default_directory,
                  const char *default_pattern, const char *filename, const char *directory, const char *pattern,
                  const char *help_text)
{
    FileStart start;
    start.name = query_name ? query_name : "askForFile";
    while (!start.name.empty() && (start.name[0] == '*' || start.name[0] == '.'))
        start.name.erase(0, 1);
    if (start.name.empty())
        start.name = "askForFile";
    auto res = [&](const char *field, const char *fallback) {
        const char *r = lookup(parent, start.name.c_str(), "XmFileSelectionBox", field);
        return r ? r : fallback;
    };
    start.directory = directory && *directory ? directory : res("directory", default_directory ? default_directory : "");
    start.pattern = pattern && *pattern ? pattern : res("pattern", default_pattern ? default_pattern : "*");
    start.filename = filename ? filename : "";
    startWhereThereIsAFolder(start.directory, start.filename);
    start.title = res("title", "Dateiauswahl");
    start.prompt = res("message", prompt ? prompt : "");
    const char *help = res("help", help_text);
    start.help = help ? help : "";
    return start;
}

// Texts (title, prompt, labels) are ISO 8859-1; paths and patterns are file
// names, bytes as they are.
void setStringValue(Widget fsb, const char *resource, const std::string &text, bool path = false)
{
    XmString s = path ? makeRawString(text.c_str()) : makeString(text.c_str());
    XtVaSetValues(fsb, resource, s, nullptr);
    XmStringFree(s);
}

struct Place {
    std::string label;
    std::function<std::string()> directory;
};

std::map<std::string, Place> &places()
{
    static std::map<std::string, Place> byQuery;
    return byQuery;
}

void goToPlace(Widget button, XtPointer client, XtPointer)
{
    const Place *place = static_cast<const Place *>(client);
    Widget fsb = XtParent(button);
    if (!XmIsFileSelectionBox(fsb))
        fsb = XtParent(fsb);
    std::string pattern = valueOf(fsb, XmNpattern);
    XmString mask = makeRawString((place->directory() + "/" + (pattern.empty() ? "*" : pattern)).c_str());
    XmFileSelectionDoSearch(fsb, mask);
    XmStringFree(mask);
}

struct Toggle {
    std::string name, label;
    bool *state;
};

std::map<std::string, Toggle> &toggles()
{
    static std::map<std::string, Toggle> byQuery;
    return byQuery;
}

void toggled(Widget, XtPointer client, XtPointer call)
{
    *static_cast<const Toggle *>(client)->state = static_cast<XmToggleButtonCallbackStruct *>(call)->set;
}

// The place button and the check box of the query, those it has: the box's
// work area (a column when it has both).
void addExtras(Widget parent, Widget fsb, const std::string &query)
{
    auto place = places().find(query);
    auto toggle = toggles().find(query);
    Widget area = fsb;
    if (place != places().end() && toggle != toggles().end()) {
        area = XmCreateRowColumn(fsb, const_cast<char *>("extras"), nullptr, 0);
        XtManageChild(area);
    }
    if (toggle != toggles().end()) {
        const Toggle &t = toggle->second;
        const char *label = lookup(parent, query.c_str(), "XmFileSelectionBox", (t.name + "Label").c_str());
        Widget box = XmCreateToggleButton(area, const_cast<char *>(t.name.c_str()), nullptr, 0);
        setStringValue(box, XmNlabelString, label ? label : t.label);
        XmToggleButtonSetState(box, *t.state, False);
        XtAddCallback(box, XmNvalueChangedCallback, toggled, &toggle->second);
        XtManageChild(box);
    }
    if (place == places().end())
        return;
    auto found = place;
    const char *label = lookup(parent, query.c_str(), "XmFileSelectionBox", "placeLabel");
    Widget button = XmCreatePushButton(area, const_cast<char *>("place"), nullptr, 0);
    setStringValue(button, XmNlabelString, label ? label : found->second.label);
    XtAddCallback(button, XmNactivateCallback, goToPlace, &found->second);
    XtManageChild(button);
}

// The file selection box, unmanaged, its answers going to q.
Widget buildFileDialog(Widget parent, const FileStart &start, FileQuery &q)
{
    // Names without their folder: with whole paths Motif keeps the file list
    // as narrow as its longest name and gives the room to the folder list.
    // The folder field's label is taken only when the box is made.
    XmString dirLabel = makeString("Verzeichnis");
    Arg args[4];
    Cardinal n = 0;
    XtSetArg(args[n], const_cast<char *>(XmNdialogStyle), XmDIALOG_FULL_APPLICATION_MODAL), n++;
    XtSetArg(args[n], const_cast<char *>(XmNautoUnmanage), False), n++;
    XtSetArg(args[n], const_cast<char *>(XmNpathMode), XmPATH_MODE_RELATIVE), n++;
    if (!lookup(parent, start.name.c_str(), "XmFileSelectionBox", "dirTextLabelString"))
        XtSetArg(args[n], const_cast<char *>(XmNdirTextLabelString), dirLabel), n++;
    Widget fsb = XmCreateFileSelectionDialog(parent, const_cast<char *>(start.name.c_str()), args, n);
    XmStringFree(dirLabel);
    Widget shell = XtParent(fsb);
    XtVaSetValues(shell, XmNdeleteResponse, XmDO_NOTHING, nullptr);

    setTextDefault(fsb, XmNcancelLabelString, "Abbrechen");
    setTextDefault(fsb, XmNhelpLabelString, "Hilfe");
    setTextDefault(fsb, XmNapplyLabelString, "Filter");
    setTextDefault(fsb, XmNdirListLabelString, "Verzeichnisse");
    setTextDefault(fsb, XmNfileListLabelString, "Dateien");
    setTextDefault(fsb, XmNfilterLabelString, "Filter");
    setTextDefault(fsb, XmNdirTextLabelString, "Verzeichnis");
    setStringValue(fsb, XmNdialogTitle, start.title);
    setStringValue(fsb, XmNselectionLabelString, start.prompt);
    if (!start.directory.empty())
        setStringValue(fsb, XmNdirectory, start.directory, true);
    if (!start.pattern.empty())
        setStringValue(fsb, XmNpattern, start.pattern, true);
    if (!start.filename.empty())
        setStringValue(fsb, XmNtextString, start.filename, true);

    Atom wmDelete = XmInternAtom(XtDisplay(shell), const_cast<char *>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(shell, wmDelete, cancel, &q);
    XtAddCallback(fsb, XmNokCallback, okay, &q);
    XtAddCallback(fsb, XmNcancelCallback, cancel, &q);
    XtAddCallback(fsb, XmNdestroyCallback, cancel, &q);
    if (!start.help.empty())
        XtAddCallback(fsb, XmNhelpCallback, showHelp, const_cast<char *>(start.help.c_str()));
    else
        XtUnmanageChild(XmFileSelectionBoxGetChild(fsb, XmDIALOG_HELP_BUTTON));
    addExtras(parent, fsb, start.name);
    return fsb;
}

// Motif sizes the file list by its longest name, so an empty or short folder
// left it a few characters wide.  The box keeps its width and shares it out
// anew when the list asks for more, the folder side (the filter field over
// the folder list) giving up what the list gains, though not one for one: the
// least the list must ask for to be as wide as the filter field is searched.
void widenFileList(Widget fsb)
{
    Widget filter = XmFileSelectionBoxGetChild(fsb, XmDIALOG_FILTER_TEXT);
    Widget files = XmFileSelectionBoxGetChild(fsb, XmDIALOG_LIST);
    if (!filter || !files)
        return;
    auto lacking = [&] {
        Dimension filterWidth = 0, scrolledWidth = 0;
        XtVaGetValues(filter, XmNwidth, &filterWidth, nullptr);
        XtVaGetValues(XtParent(files), XmNwidth, &scrolledWidth, nullptr);
        return int(filterWidth) - int(scrolledWidth);
    };
    int low = 0, high = lacking();
    if (high <= 0)
        return;
    Dimension listWidth = 0;
    XtVaGetValues(files, XmNwidth, &listWidth, nullptr);
    auto ask = [&](int more) {
        XtVaSetValues(files, XmNwidth, listWidth + more, nullptr);
        return lacking() <= 0;
    };
    while (low < high) {
        int middle = (low + high) / 2;
        if (ask(middle))
            high = middle;
        else
            low = middle + 1;
    }
    ask(high);
}

void runFileDialog(Widget fsb, FileQuery &q)
{
    pushActive(fsb);
    XtManageChild(fsb);
    widenFileList(fsb);
    waitFor(&q.done);
    popActive(fsb);
}

// The choice as the dialog ended: the path, the directory it lies in and the
// filter's pattern.  An opened file nobody takes is closed.
void readBackChoice(Widget fsb, FileQuery &q, XmtFileChoice *choice)
{
    if (q.chosen && choice) {
        choice->path = q.path;
        size_t slash = q.path.rfind('/');
        choice->directory = slash == std::string::npos ? valueOf(fsb, XmNdirectory)
                            : slash == 0               ? std::string("/")
                                                       : q.path.substr(0, slash);
        choice->pattern = valueOf(fsb, XmNpattern);
        choice->stream = q.stream;
    } else if (q.stream) {
        fclose(q.stream);
    }
}

// The file selection box itself: the start values from the three texts, the
// choice into *choice.  mode nullptr asks for a file to save under.
bool chooseFile(Widget w, const char *query_name, const char *prompt, const char *default_directory,
                const char *default_pattern, const char *file_mode, const char *filename_start,
                const char *directory_start, const char *pattern_start, const char *help_text, XmtFileChoice *choice)
{
    Widget parent = shellOf(w ? w : toplevel);
    FileStart start = startOf(parent, query_name, prompt, default_directory, default_pattern, filename_start,
                              directory_start, pattern_start, help_text);
    FileQuery q;
    q.mode = file_mode;
    Widget fsb = buildFileDialog(parent, start, q);
    runFileDialog(fsb, q);
    readBackChoice(fsb, q, choice);
    XtRemoveCallback(fsb, XmNdestroyCallback, cancel, &q);
    dismiss(fsb);
    return q.chosen;
}

} // namespace
} // namespace xmt

Boolean XmtAskForFile(Widget w, const char *query_name, const char *prompt, const char *default_directory,
                      const char *default_pattern, FILE **stream_return, const char *file_mode,
                      char *filename_buffer, int filename_buffer_len, char *directory_buffer,
                      int directory_buffer_len, char *pattern_buffer, int pattern_buffer_len, const char *help_text)
{
    XmtFileChoice choice;
    bool chosen = chooseFile(w, query_name, prompt, default_directory, default_pattern, file_mode ? file_mode : "r",
                             filename_buffer, directory_buffer, pattern_buffer, help_text, &choice);
    if (chosen)
        XmtKeepFileChoice(choice, filename_buffer, filename_buffer_len, directory_buffer, directory_buffer_len,
                          pattern_buffer, pattern_buffer_len);
    if (stream_return)
        *stream_return = chosen ? choice.stream : nullptr;
    else if (choice.stream)
        fclose(choice.stream);
    return chosen;
}

Boolean XmtChooseFile(Widget w, const char *query_name, const char *prompt, const char *default_directory,
                      const char *default_pattern, Boolean for_saving, const char *filename, const char *directory,
                      const char *pattern, const char *help_text, XmtFileChoice *choice)
{
    return chooseFile(w, query_name, prompt, default_directory, default_pattern, for_saving ? nullptr : "r", filename,
                      directory, pattern, help_text, choice);
}

void XmtAddFileDialogPlace(const char *query_name, const char *label, std::function<std::string()> place)
{
    xmt::places()[query_name] = {label, std::move(place)};
}

void XmtAddFileDialogToggle(const char *query_name, const char *name, const char *label, bool *state)
{
    xmt::toggles()[query_name] = {name, label, state};
}

void XmtKeepFileChoice(const XmtFileChoice &choice, char *filename_buffer, int filename_buffer_len,
                       char *directory_buffer, int directory_buffer_len, char *pattern_buffer, int pattern_buffer_len)
{
    copyInto(filename_buffer, filename_buffer_len, choice.path);
    copyInto(directory_buffer, directory_buffer_len, choice.directory);
    copyInto(pattern_buffer, pattern_buffer_len, choice.pattern);
}
