#include "app/preview.h"

#include "config/backups.h"
#include "config/record.h"
#include "overview/facts.h"
#include "resources/fill.h"
#include "show/describe.h"
#include "toolkit/toolkit.h"
#include "ui/safetynet.h"

#include <string>
#include <vector>

namespace {

constexpr const char *Question = "programPreview";
// More lines would make the box taller than the screen.
constexpr std::size_t ShownLines = 25, ShownFindings = 8;

// A text of the question's resource lines with its placeholders filled.
std::string text(Widget parent, const char *which, const char *fallback, const std::vector<std::string> &args = {})
{
    const char *line = XmtGetResourceString(parent, Question, which);
    return fillPlaceholders(line ? line : fallback, args);
}

// What the check finds in the configuration about to go out, one "Achtung:"
// line each and a blank line after them; "" when nothing.
std::string findingsFirst(Widget parent)
{
    std::vector<overview::Finding> findings = overview::check(overview::derive(all), all);
    std::string lines;
    for (std::size_t i = 0; i < findings.size() && i < ShownFindings; ++i) {
        const char *line = XmtGetResourceString(parent, "overview", "attention");
        lines += fillPlaceholders(line ? line : "Achtung: %1", {findings[i].text}) + "\n";
    }
    if (findings.size() > ShownFindings) {
        const char *line = XmtGetResourceString(parent, "overview", "attentionMore");
        lines += fillPlaceholders(line ? line : "... und %1 weitere Auffälligkeiten",
                                  {std::to_string(findings.size() - ShownFindings)}) + "\n";
    }
    return lines.empty() ? "" : lines + "\n";
}

} // namespace

bool askBeforeProgramming(Widget parent, FileKind kind)
{
    FileImage now{kind, std::vector<unsigned char>(all, all + rec::RecordSize)};
    FileImage before{kind, {}};
    std::string against;
    if (const std::vector<unsigned char> *r = pbxHolds(kind)) {
        before.record = *r;
        against = text(parent, "lastRead", "dem letzten Auslesen");
    } else {
        std::string path = newestBackup(safetySettings().backupDirectory, kind,
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
    if (kind == FileKind::Configuration)
        message = findingsFirst(parent) + message;
    return XmtAskIrreversible(parent, Question, "%s", "No Help!", message.c_str());
}
