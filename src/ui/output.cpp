#include "ui/output.h"

#include "config/atomicfile.h"
#include "config/cfgfile.h"
#include "config/record.h"
#include "toolkit/toolkit.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

void showWrongFile(Widget parent, const char *path, const char *kind)
{
    XmtDisplayErrorMsg(parent, "wrongFile", "Die Datei \"%s\" \nist kein %s!", "Datei-Fehler", "No Help!",
                       XmtFileNameText(path).c_str(), kind);
}

void showWriteError(Widget parent, const char *path, int error)
{
    XmtDisplayErrorMsg(parent, "writeError", "Die Datei \"%s\"\nkonnte nicht geschrieben werden:\n%s",
                       "Datei-Fehler", "No Help!", XmtFileNameText(path).c_str(), std::strerror(error));
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
                           XmtFileNameText(path).c_str());
    else if (result == FileWrite::OtherOwner)
        XmtDisplayErrorMsg(parent, "otherOwner", "Die Datei \"%s\"\ngehört einem anderen Benutzer.", "Datei-Fehler",
                           "No Help!", XmtFileNameText(path).c_str());
    return result == FileWrite::Written;
}

namespace {

struct PrintResources {
    String command;
    String encoding;
};

XtResource printResources[] = {
    {const_cast<char *>("printCommand"), const_cast<char *>("PrintCommand"), XtRString, sizeof(String),
     offsetof(PrintResources, command), XtRString, const_cast<char *>("lpr")},
    {const_cast<char *>("printEncoding"), const_cast<char *>("PrintEncoding"), XtRString, sizeof(String),
     offsetof(PrintResources, encoding), XtRString, const_cast<char *>("UTF-8")},
};

} // namespace

print::Settings printSettings()
{
    print::Settings settings;
    if (!toplevel)
        return settings;
    PrintResources r{};
    XtGetApplicationResources(toplevel, &r, printResources, XtNumber(printResources), nullptr, 0);
    if (r.command && *r.command)
        settings.command = r.command;
    if (r.encoding && !print::parseEncoding(r.encoding, settings.encoding))
        std::fprintf(stderr, "kelvora: printEncoding \"%s\" is neither UTF-8 nor ISO-8859-1; printing UTF-8\n",
                     r.encoding);
    return settings;
}

bool printLines(Widget parent, const LineWriter &write)
{
    print::Outcome outcome = print::printText(write, printSettings());
    if (outcome.kind == print::Outcome::Printed)
        return true;
    XmtDisplayErrorMsg(parent, "printError", "%s", "Druck-Fehler", "No Help!", print::failureText(outcome).c_str());
    return false;
}
