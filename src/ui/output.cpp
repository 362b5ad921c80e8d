#include "ui/output.h"

#include "config/atomicfile.h"
#include "config/cfgfile.h"
#include "config/record.h"
#include "toolkit/toolkit.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/wait.h>

void showWrongFile(Widget parent, const char *path, const char *kind)
{
    XmtDisplayErrorMsg(parent, "wrongFile", "Die Datei \"%s\" \nist kein %s!", "Datei-Fehler", "No Help!", path,
                       kind);
}

void showWriteError(Widget parent, const char *path, int error)
{
    XmtDisplayErrorMsg(parent, "writeError", "Die Datei \"%s\"\nkonnte nicht geschrieben werden:\n%s",
                       "Datei-Fehler", "No Help!", path, std::strerror(error));
}

bool saveLinesAs(Widget parent, const char *query, const char *prompt, const char *pattern, const LineWriter &write)
{
    XmtFileChoice choice;
    if (!XmtChooseFile(parent, query, prompt, DefaultFilesDir, pattern, True, "", "", "", "No Help!", &choice))
        return false;
    return toldWrite(parent, choice.path.c_str(), writeFileAtomically(choice.path.c_str(), write));
}

bool toldWrite(Widget parent, const char *path, FileWrite result)
{
    if (result == FileWrite::Failed)
        showWriteError(parent, path, errno);
    else if (result == FileWrite::ReadOnly)
        XmtDisplayErrorMsg(parent, "readOnly", "Die Datei \"%s\"\nist schreibgeschützt.", "Datei-Fehler", "No Help!",
                           path);
    else if (result == FileWrite::OtherOwner)
        XmtDisplayErrorMsg(parent, "otherOwner", "Die Datei \"%s\"\ngehört einem anderen Benutzer.", "Datei-Fehler",
                           "No Help!", path);
    return result == FileWrite::Written;
}

bool printLines(Widget parent, const LineWriter &write)
{
    // A printer command that has gone away must not take the program with it.
    struct sigaction ignore = {}, before = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &before);
    bool written = false;
    int status = -1;
    FILE *pipe = popen("lpr", "w");
    int error = errno;
    if (pipe) {
        written = write(pipe) && std::fflush(pipe) == 0;
        status = pclose(pipe);
        error = errno;
    }
    sigaction(SIGPIPE, &before, nullptr);

    if (!pipe || status == -1) {
        XmtDisplayErrorMsg(parent, "printError", "Der Druckbefehl \"lpr\" konnte nicht gestartet werden:\n%s",
                           "Druck-Fehler", "No Help!", std::strerror(error));
        return false;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        XmtDisplayErrorMsg(parent, "printError", "Der Druckbefehl \"lpr\" wurde nicht gefunden.", "Druck-Fehler",
                           "No Help!");
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !written) {
        XmtDisplayErrorMsg(parent, "printError", "Der Druckbefehl \"lpr\" meldet einen Fehler (Status %d).\n"
                           "Die Liste wurde nicht gedruckt.", "Druck-Fehler", "No Help!",
                           WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        return false;
    }
    return true;
}
