#include "settext.h"

#include "config/atomicfile.h"
#include "config/backups.h"
#include "config/cfgfile.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "config/tlntransfer.h"
#include "console.h"
#include "fields/assign.h"
#include "fields/assigntext.h"
#include "overview/facts.h"
#include "show/describe.h"
#include "resources/fill.h"
#include "resources/lookup.h"
#include "speeddial/kwzformat.h"
#include "speeddial/kwzread.h"
#include "speeddial/kwztransfer.h"
#include "subscriber/tndentries.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::vector<FileKind> AllKinds = {FileKind::Configuration, FileKind::SpeedDial, FileKind::Subscribers};

using Assignment = AssignLine;

// Says every message; true when there were none.
bool said(const std::vector<std::string> &messages)
{
    for (const std::string &m : messages)
        complain(m);
    return messages.empty();
}

std::string located(const Assignment &a, const std::string &message)
{
    return (a.where.empty() ? "" : a.where + ": ") + message;
}

bool toLatin1(const std::string &text, const std::string &where, Assignment &out)
{
    out.where = where;
    if (fromLocale(text, out.text))
        return true;
    complain(located(out, "ein Zeichen, das ISO 8859-1 nicht kennt"));
    return false;
}

// ---------------------------------------------------------------- files

int fileTrouble(const std::string &path, const std::string &why)
{
    complain("Die Datei \"" + shownText(path) + "\" " + why);
    return FileTrouble;
}

int loadTarget(const std::string &path, FileImage &image, CfgVendor &vendor)
{
    switch (loadFileImage(path.c_str(), image)) {
    case FileOpen::Loaded:
        break;
    case FileOpen::Unreadable:
        return fileTrouble(path, std::string("kann nicht gelesen werden: ") + std::strerror(errno));
    case FileOpen::NotRegular:
    case FileOpen::Unknown:
        return fileTrouble(path, "ist weder Konfigurations-, Kurzwahl- noch Teilnehmerdatei.");
    case FileOpen::WrongSize:
        // Set, the missing part would be written as zeros.
        return fileTrouble(path, std::string("ist keine vollständige ") + kindName(image.kind) + ".");
    }
    // The identification stays the file's.
    vendor = CfgVendor::Dorvan;
    if (FILE *fp = std::fopen(path.c_str(), "rb")) {
        char head[CfgIdSize] = {};
        std::size_t got = std::fread(head, 1, sizeof head, fp);
        std::fclose(fp);
        if (got == sizeof head && std::memcmp(head, CfgIdOstrale, std::strlen(CfgIdOstrale)) == 0)
            vendor = CfgVendor::Ostrale;
    }
    return Success;
}

// Through the writer of the file's kind: the old file or the whole new one.
int writeTarget(const std::string &path, FileImage &image, CfgVendor vendor)
{
    unsigned char *record = image.record.data();
    FileWrite written = FileWrite::Failed;
    switch (image.kind) {
    case FileKind::Configuration: written = writeConfigFile(path.c_str(), vendor, record); break;
    case FileKind::SpeedDial:
        // A number's bytes behind its end cleared, as the editor and the loader leave them.
        normaliseNumbers(record);
        written = writeKwzFile(path.c_str(), record);
        break;
    case FileKind::Subscribers:
        written = writeFileAtomically(path.c_str(), [record](FILE *fp) { return writeTndStream(fp, record); });
        break;
    }
    if (written == FileWrite::Written)
        return Success;
    return fileTrouble(path, std::string("konnte nicht geschrieben werden: ") +
                                 (written == FileWrite::NotRegular ? "keine gewöhnliche Datei" : std::strerror(errno)));
}

// Lines of a text in show's form; blank ones and comments left out.
int readLines(const std::string &path, std::vector<Assignment> &lines)
{
    FILE *fp = path == "-" ? stdin : std::fopen(path.c_str(), "r");
    if (!fp)
        return fileTrouble(path, std::string("kann nicht gelesen werden: ") + std::strerror(errno));
    std::string text;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, fp)) > 0)
        text.append(buffer, n);
    bool failed = std::ferror(fp);
    if (fp != stdin)
        std::fclose(fp);
    if (failed)
        return fileTrouble(path, "kann nicht gelesen werden");
    bool fine = true;
    lines = textLines(text, path == "-" ? "(stdin)" : path);
    for (Assignment &a : lines) {
        std::string raw = std::move(a.text);
        if (!toLatin1(raw, a.where, a))
            fine = false;
    }
    return fine ? Success : WrongUsage;
}

int changeFile(const std::string &path, const std::vector<Assignment> &lines, const std::string &separator,
               Rules rules)
{
    FileImage image;
    CfgVendor vendor;
    if (int status = loadTarget(path, image, vendor); status != Success)
        return status;
    std::vector<unsigned char> before = image.record;
    if (!said(assignLines(lines, separator, {image.kind}, image.record.data(), rules)))
        return WrongUsage;
    // Nothing changed, nothing written: the file keeps its time stamp.
    return image.record == before ? Success : writeTarget(path, image, vendor);
}

// ---------------------------------------------------------------- the PBX

struct Part {
    FileKind kind;
    TransferResult (*read)(TransferObserver &, unsigned char *record);
    TransferResult (*program)(TransferObserver &, unsigned char *record);
    bool (*write)(FILE *, const unsigned char *record); // the backup, as a save writes the file
};

bool writeCfgBackup(FILE *fp, const unsigned char *record) { return writeCfgStream(fp, CfgVendor::Dorvan, record); }

const Part parts[] = {
    {FileKind::Configuration, readConfiguration, writeConfiguration, writeCfgBackup},
    {FileKind::SpeedDial, readSpeedDial, writeSpeedDial, writeKwzStream},
    {FileKind::Subscribers, readTlnConfiguration, writeTlnConfiguration, writeTndStream},
};

int transferred(ConsoleObserver &observer, TransferResult result)
{
    if (result == TransferResult::Done)
        return Success;
    if (!observer.told())
        complain("Die Übertragung wurde abgebrochen.");
    return LineFailed;
}

// The window's question before programming, its words from the resources.
std::string question(const char *which, const std::string &arg = "")
{
    return fillPlaceholders(builtinResource(std::string("*programPreview.") + which), {arg});
}

// "j" on a terminal; the question goes where the answer comes from.
bool userAgrees(const std::string &prompt)
{
    int in = isatty(STDIN_FILENO) ? STDIN_FILENO : open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (in < 0)
        return false;
    std::string p = forLocale(prompt);
    ssize_t shown = write(in == STDIN_FILENO ? STDERR_FILENO : in, p.data(), p.size());
    (void)shown;
    char answer[16] = {};
    ssize_t got = read(in, answer, sizeof answer - 1);
    if (in != STDIN_FILENO)
        close(in);
    return got > 0 && (answer[0] == 'j' || answer[0] == 'J' || answer[0] == 'y' || answer[0] == 'Y');
}

bool canAsk()
{
    if (isatty(STDIN_FILENO))
        return true;
    int tty = open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0)
        return false;
    close(tty);
    return true;
}

int changePbx(const Invocation &invocation, const std::vector<Assignment> &lines, const std::string &separator,
              Rules rules, const std::set<std::string> &flags)
{
    if (invocation.device.empty()) {
        complain("--pbx needs the PBX's line: -d DEVICE or KELVORA_DEVICE");
        return WrongUsage;
    }
    bool yes = flags.count("--yes"), dryRun = flags.count("--dry-run");
    if (!yes && !dryRun && !canAsk()) {
        complain("without a terminal to ask on, --yes says to program");
        return WrongUsage;
    }
    std::vector<Resolved> targets;
    if (!said(resolveLines(lines, separator, AllKinds, targets)))
        return WrongUsage;
    bool wanted[3] = {};
    for (const Resolved &r : targets) {
        const Target &target = r.target;
        if (target.kind == FileKind::SpeedDial && target.field->offset >= rec::KwzNames &&
            target.field->offset < rec::NahBerList) {
            complain("\"" + target.field->label + "\": die Anlage hält keine Namen, nur die Kurzwahl-Datei");
            return WrongUsage;
        }
        wanted[int(target.kind)] = true;
    }
    // Everything is read before anything changes: a failed read programs nothing.
    ConsoleObserver observer(invocation.progress);
    std::string backupDir = defaultBackupDirectory();
    std::vector<unsigned char> image(rec::RecordSize, 0);
    unsigned char *record = image.data();
    for (const Part &p : parts) {
        if (!wanted[int(p.kind)])
            continue;
        if (int status = transferred(observer, p.read(observer, record)); status != Success)
            return status;
        // Kept as the read commands keep theirs; one that cannot be written is said.
        if (flags.count("--no-backup"))
            continue;
        BackupResult kept = writeBackup(backupDir, p.kind, invocation.device, DefaultBackupKeep,
                                        [&p, record](FILE *fp) { return p.write(fp, record); });
        if (!kept.written)
            complain(backupTroubleText(kept, backupDir,
                                       [](const char *which) { return builtinResource(std::string("*backup.") + which); }));
    }
    FileImage before{FileKind::Configuration, image};
    if (!said(assignResolved(lines, targets, record, rules)))
        return WrongUsage;

    std::vector<std::string> changes;
    bool changed[3] = {};
    for (const Part &p : parts) {
        if (!wanted[int(p.kind)])
            continue;
        FileImage was{p.kind, before.record}, now{p.kind, image};
        for (const std::string &line : diffLines(was, now)) {
            changes.push_back(line);
            changed[int(p.kind)] = true;
        }
    }
    std::string against = question("lastRead");
    // Asked or dry, the list is what the user wants to see; -q with --yes
    // (cron) wants nothing said on success.
    bool report = !invocation.quiet || !yes || dryRun;
    if (changes.empty()) {
        if (report)
            std::printf("%s\n", forLocale(question("nothing", against)).c_str());
        return Success;
    }
    if (report) {
        // As the window's question: what the check finds comes first.
        if (changed[int(FileKind::Configuration)])
            for (const overview::Finding &f : overview::check(overview::derive(record), record))
                std::printf("%s\n", forLocale(fillPlaceholders(builtinResource("*overview.attention"), {f.text})).c_str());
        std::printf("%s\n", forLocale(question("changes", against)).c_str());
        for (const std::string &line : changes)
            std::printf("%s\n", forLocale(line).c_str());
        std::fflush(stdout);
    }
    if (dryRun)
        return Success;
    if (!yes && !userAgrees(question("title") + " [j/N] ")) {
        complain("nichts programmiert");
        return WrongUsage;
    }
    for (const Part &p : parts)
        if (changed[int(p.kind)])
            if (int status = transferred(observer, p.program(observer, record)); status != Success)
                return status;
    return Success;
}

// ---------------------------------------------------------------- edit

std::string editorCommand()
{
    for (const char *name : {"VISUAL", "EDITOR"})
        if (const char *e = std::getenv(name); e && *e)
            return e;
    // As Debian's sensible-editor: the alternative "editor" where there is one.
    if (std::system("command -v editor >/dev/null 2>&1") == 0)
        return "editor";
    return "vi";
}

volatile sig_atomic_t editorPid = 0;
volatile sig_atomic_t editorEndedBy = 0;

// SIGHUP (the terminal gone) and SIGTERM end the editor too: it is handed the
// signal, and its text is kept.
void forwardToEditor(int sig)
{
    editorEndedBy = sig;
    if (editorPid > 0)
        kill(-pid_t(editorPid), sig); // the editor's group: sh and what it started
}

// The editor on the file, as the shell runs it (so that it may carry options).
// 0 when it ended well, -1 when not, or the signal that ended it and us.
int runEditor(const std::string &path)
{
    std::string command = editorCommand() + " \"$1\"";
    // Installed before the fork, so that no signal falls between.  Ctrl-C is
    // the editor's: as crontab -e and visudo, we wait on.
    struct sigaction forward = {}, ignore = {}, oldHup, oldTerm, oldInt;
    forward.sa_handler = forwardToEditor;
    sigemptyset(&forward.sa_mask);
    ignore.sa_handler = SIG_IGN;
    editorEndedBy = 0;
    sigaction(SIGHUP, &forward, &oldHup);
    sigaction(SIGTERM, &forward, &oldTerm);
    sigaction(SIGINT, &ignore, &oldInt);
    // The editor runs in a process group of its own, so that a signal reaches
    // whatever the shell started; on our terminal it gets the foreground, as
    // a shell hands it to a job, and we take it back afterwards.
    // The controlling terminal, whatever standard input is: the editor may
    // read it through /dev/tty.
    int tty = open("/dev/tty", O_RDWR | O_CLOEXEC);
    bool terminal = tty >= 0 && tcgetpgrp(tty) == getpgrp();
    pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        if (terminal) {
            signal(SIGTTOU, SIG_IGN);
            tcsetpgrp(tty, getpgrp());
        }
        for (int sig : {SIGHUP, SIGTERM, SIGINT, SIGTTOU})
            signal(sig, SIG_DFL);
        execl("/bin/sh", "sh", "-c", command.c_str(), "sh", path.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (child > 0) {
        setpgid(child, child); // either of us may come first
        editorPid = child;
        if (editorEndedBy) // came before the child was known
            kill(-child, editorEndedBy);
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        editorPid = 0;
        if (terminal) {
            struct sigaction ttou = {}, oldTtou;
            ttou.sa_handler = SIG_IGN;
            sigaction(SIGTTOU, &ttou, &oldTtou);
            tcsetpgrp(tty, getpgrp());
            sigaction(SIGTTOU, &oldTtou, nullptr);
        }
    }
    if (tty >= 0)
        close(tty);
    sigaction(SIGHUP, &oldHup, nullptr);
    sigaction(SIGTERM, &oldTerm, nullptr);
    sigaction(SIGINT, &oldInt, nullptr);
    if (editorEndedBy)
        return editorEndedBy;
    return child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : -1;
}

// The file's bytes as they are now; false when it cannot be read.
bool currentBytes(const std::string &path, std::string &bytes)
{
    FILE *fp = std::fopen(path.c_str(), "rb");
    if (!fp)
        return false;
    bytes.clear();
    char buffer[16384];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, fp)) > 0)
        bytes.append(buffer, n);
    bool fine = !std::ferror(fp);
    std::fclose(fp);
    return fine;
}

bool writeText(const std::string &path, const std::vector<std::string> &lines)
{
    FILE *fp = std::fopen(path.c_str(), "w");
    if (!fp)
        return false;
    for (const std::string &line : lines)
        std::fprintf(fp, "%s\n", forLocale(line).c_str());
    return std::fclose(fp) == 0;
}

bool pbxOnly(const std::set<std::string> &flags)
{
    return flags.count("--yes") || flags.count("--dry-run") || flags.count("--no-backup");
}

} // namespace

int setFields(const Invocation &invocation, const std::vector<std::string> &operands,
              const std::set<std::string> &flags)
{
    bool pbx = flags.count("--pbx");
    if ((!pbx && pbxOnly(flags)) || operands.size() < (pbx ? 1u : 2u)) {
        complain("usage: set FILE LABEL=VALUE... | set --pbx [--yes] [--dry-run] [--no-backup] LABEL=VALUE...");
        return WrongUsage;
    }
    std::vector<Assignment> lines;
    for (std::size_t i = pbx ? 0 : 1; i < operands.size(); i++) {
        Assignment a;
        if (!toLatin1(operands[i], "", a))
            return WrongUsage;
        lines.push_back(a);
    }
    return pbx ? changePbx(invocation, lines, "=", Rules::Dialog, flags)
               : changeFile(operands[0], lines, "=", Rules::Dialog);
}

int applyText(const Invocation &invocation, const std::vector<std::string> &operands,
              const std::set<std::string> &flags)
{
    bool pbx = flags.count("--pbx");
    if ((!pbx && pbxOnly(flags)) || operands.size() != (pbx ? 1u : 2u)) {
        complain("usage: apply TEXT FILE | apply --pbx [--yes] [--dry-run] [--no-backup] TEXT");
        return WrongUsage;
    }
    std::vector<Assignment> lines;
    if (int status = readLines(operands[0], lines); status != Success)
        return status;
    return pbx ? changePbx(invocation, lines, ": ", Rules::Storage, flags)
               : changeFile(operands[1], lines, ": ", Rules::Storage);
}

int editFile(const Invocation &, const std::vector<std::string> &operands)
{
    if (operands.size() != 1) {
        complain("usage: edit FILE");
        return WrongUsage;
    }
    const std::string &path = operands[0];
    FileImage image;
    CfgVendor vendor;
    std::string loaded;
    if (!currentBytes(path, loaded))
        loaded.clear(); // loadTarget says why
    if (int status = loadTarget(path, image, vendor); status != Success)
        return status;
    const char *tmp = std::getenv("TMPDIR");
    // Its process in its name, as every temporary file; never removed by
    // another run: a text kept holds the user's work.
    std::string text =
        std::string(tmp && *tmp ? tmp : "/tmp") + "/kelvoractl-" + std::to_string(getpid()) + "-XXXXXX.txt";
    int fd = mkstemps(text.data(), 4);
    if (fd < 0)
        return fileTrouble(text, std::string("konnte nicht angelegt werden: ") + std::strerror(errno));
    close(fd);
    // Work the user did is never thrown away: where it cannot go into the
    // file, the text stays and its place is said.
    bool keepText = false;
    auto kept = [&text, &keepText](const std::string &why) {
        complain(why + "; der bearbeitete Text bleibt in \"" + shownText(text) + "\"");
        keepText = true;
    };
    int status = Success;
    if (!writeText(text, showLines(image))) {
        status = fileTrouble(text, std::string("konnte nicht geschrieben werden: ") + std::strerror(errno));
    } else {
        for (;;) {
            int ended = runEditor(text);
            if (ended > 0) {
                kept(std::string("Abgebrochen (") + (ended == SIGHUP ? "SIGHUP" : "SIGTERM") + "); \"" + shownText(path) +
                     "\" bleibt, wie sie war");
                status = 128 + ended;
                break;
            }
            if (ended < 0) {
                complain("der Editor ist nicht sauber beendet worden; \"" + shownText(path) + "\" bleibt, wie sie war");
                status = WrongUsage;
                break;
            }
            std::vector<Assignment> lines;
            FileImage edited = image;
            status = readLines(text, lines);
            // What the user changes is held to the dialogs' rules, as set is.
            if (status == Success && said(assignLines(lines, ": ", {image.kind}, edited.record.data(), Rules::Edited))) {
                std::vector<std::string> changes = diffLines(image, edited);
                if (changes.empty())
                    break;
                // Another program may have written the file meanwhile: its
                // change is not undone without a word.
                std::string now;
                if (!currentBytes(path, now) || now != loaded) {
                    kept("\"" + shownText(path) + "\" hat sich geändert, während der Editor lief; nichts geschrieben");
                    status = FileTrouble;
                    break;
                }
                status = writeTarget(path, edited, vendor);
                if (status != Success) {
                    kept("\"" + shownText(path) + "\" bleibt, wie sie war");
                    break;
                }
                for (const std::string &line : changes)
                    std::printf("%s\n", forLocale(line).c_str());
                std::fflush(stdout);
                break;
            }
            status = status == FileTrouble ? FileTrouble : WrongUsage;
            if (status == FileTrouble || !isatty(STDIN_FILENO) || !userAgrees("Nochmals bearbeiten? [j/N] ")) {
                kept("\"" + shownText(path) + "\" bleibt, wie sie war");
                break;
            }
        }
    }
    if (!keepText)
        unlink(text.c_str());
    return status;
}
