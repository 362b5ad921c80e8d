#include "ui/safetynet.h"

#include "config/record.h"
#include "toolkit/toolkit.h"

#include <cstddef>

namespace {

struct Resources {
    String directory;
    int keep;
    Boolean confirm;
};

XtResource resources[] = {
    {const_cast<char *>("backupDirectory"), const_cast<char *>("BackupDirectory"), XtRString, sizeof(String),
     offsetof(Resources, directory), XtRString, const_cast<char *>("")},
    {const_cast<char *>("backupKeep"), const_cast<char *>("BackupKeep"), XtRInt, sizeof(int),
     offsetof(Resources, keep), XtRImmediate, reinterpret_cast<XtPointer>(DefaultBackupKeep)},
    {const_cast<char *>("confirmProgramming"), const_cast<char *>("ConfirmProgramming"), XtRBoolean,
     sizeof(Boolean), offsetof(Resources, confirm), XtRImmediate, reinterpret_cast<XtPointer>(True)},
};

SafetySettings settings;
bool read = false;
ProgrammingQuestion question = nullptr;

std::vector<unsigned char> held[3];
bool holding[3] = {};

} // namespace

const SafetySettings &safetySettings()
{
    if (!read && toplevel) {
        Resources r{};
        XtGetApplicationResources(toplevel, &r, resources, XtNumber(resources), nullptr, 0);
        settings.backupDirectory = r.directory && *r.directory ? r.directory : defaultBackupDirectory();
        settings.backupKeep = r.keep > 0 ? r.keep : 0;
        settings.confirmProgramming = r.confirm;
        read = true;
    }
    return settings;
}

void setSafetySettings(const SafetySettings &given)
{
    settings = given;
    read = true;
}

void setProgrammingQuestion(ProgrammingQuestion ask) { question = ask; }

bool confirmProgramming(Widget parent, FileKind kind)
{
    return !safetySettings().confirmProgramming || !question || question(parent, kind);
}

void rememberPbxHolds(FileKind kind)
{
    held[int(kind)].assign(all, all + rec::RecordSize);
    holding[int(kind)] = true;
}

const std::vector<unsigned char> *pbxHolds(FileKind kind) { return holding[int(kind)] ? &held[int(kind)] : nullptr; }

void forgetPbxHolds()
{
    for (bool &h : holding)
        h = false;
}

void offerBackupsInLoadDialogs()
{
    for (const char *query : {"cfgload_dlg", "load_dlg", "tlnload_dlg"})
        XmtAddFileDialogPlace(query, "Sicherungen", [] { return safetySettings().backupDirectory; });
}

void keepBackup(FileKind kind, const std::function<bool(FILE *)> &write)
{
    const SafetySettings &s = safetySettings();
    BackupResult r = writeBackup(s.backupDirectory, kind, devicePath() ? devicePath() : "", s.backupKeep, write);
    if (r.written || s.backupKeep == 0)
        return;
    Widget line = toplevel ? XmtNameToWidget(toplevel, "*theline") : nullptr;
    std::string text = backupTroubleText(r, s.backupDirectory, [](const char *which) {
        const char *found = toplevel ? XmtGetResourceString(toplevel, "backup", which) : nullptr;
        return std::string(found ? found : "");
    });
    if (line)
        XmtMsgLinePrintf(line, "%s", text.c_str());
}
