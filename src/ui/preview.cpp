#include "ui/preview.h"

#include "config/backups.h"
#include "config/record.h"
#include "fields/describe.h"
#include "toolkit/toolkit.h"
#include "ui/safetynet.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char *Question = "programPreview";
// More lines would make the box taller than the screen.
constexpr std::size_t ShownLines = 25;

std::array<std::optional<std::vector<unsigned char>>, 3> &held()
{
    static std::array<std::optional<std::vector<unsigned char>>, 3> records;
    return records;
}

BackupKind backupKindOf(FileKind kind)
{
    switch (kind) {
    case FileKind::Configuration: return BackupKind::Configuration;
    case FileKind::SpeedDial: return BackupKind::SpeedDial;
    case FileKind::Subscribers: return BackupKind::Subscribers;
    }
    return BackupKind::Configuration;
}

// A text of the question's resource lines with %1, %2 replaced (not printf:
// the lines may come from a user's resources).
std::string text(Widget parent, const char *which, const char *fallback, const std::vector<std::string> &args = {})
{
    const char *line = XmtGetResourceString(parent, Question, which);
    std::string t = line ? line : fallback;
    for (std::size_t i = 0; i < args.size(); ++i)
        if (std::size_t at = t.find("%" + std::to_string(i + 1)); at != std::string::npos)
            t.replace(at, 2, args[i]);
    return t;
}

} // namespace

void rememberPbxHolds(FileKind kind) { held()[std::size_t(kind)] = std::vector<unsigned char>(all, all + rec::RecordSize); }

void forgetPbxHolds()
{
    for (auto &r : held())
        r.reset();
}

bool confirmProgramming(Widget parent, FileKind kind)
{
    if (!safetySettings().confirmProgramming)
        return true;
    FileImage now{kind, std::vector<unsigned char>(all, all + rec::RecordSize)};
    FileImage before{kind, {}};
    std::string against;
    if (const auto &r = held()[std::size_t(kind)]) {
        before.record = *r;
        against = text(parent, "lastRead", "dem letzten Auslesen");
    } else {
        std::string path = newestBackup(safetySettings().backupDirectory, backupKindOf(kind),
                                        devicePath() ? devicePath() : "");
        FileImage image;
        if (!path.empty() && loadFileImage(path.c_str(), image) == FileOpen::Loaded && image.kind == kind) {
            before = std::move(image);
            against = text(parent, "backup", "der Sicherung %1", {path.substr(path.rfind('/') + 1)});
        }
    }

    std::string message;
    if (before.record.empty()) {
        message = text(parent, "unknown", "Was sich in der Anlage ändert, ist nicht bekannt: sie wurde noch nicht "
                                          "ausgelesen,\nund es gibt keine Sicherung von ihr.");
    } else {
        std::vector<std::string> lines = diffLines(before, now);
        if (lines.empty()) {
            message = text(parent, "nothing", "Gegenüber %1 ändert sich nichts.", {against});
        } else {
            message = text(parent, "changes", "Gegenüber %1 ändert sich (alt -> neu):", {against});
            for (std::size_t i = 0; i < lines.size() && i < ShownLines; ++i)
                message += "\n" + lines[i];
            if (lines.size() > ShownLines)
                message += "\n" + text(parent, "more", "... und %1 weitere", {std::to_string(lines.size() - ShownLines)});
        }
    }
    return XmtDisplayWarningAndAskf(parent, Question, "%s", False, "No Help!", message.c_str());
}
