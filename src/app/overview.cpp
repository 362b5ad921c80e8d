#include "app/overview.h"

#include "app/app.h"
#include "charges/incalls.h"
#include "charges/outcalls.h"
#include "config/atomicfile.h"
#include "config/record.h"
#include "overview/page.h"
#include "toolkit/toolkit.h"
#include "ui/output.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

struct BrowseResources {
    String command;
};

XtResource browseResources[] = {
    {const_cast<char *>("browseCommand"), const_cast<char *>("BrowseCommand"), XtRString, sizeof(String),
     offsetof(BrowseResources, command), XtRString, const_cast<char *>("xdg-open %s")},
};

std::string browseCommand()
{
    BrowseResources r{};
    XtGetApplicationResources(toplevel, &r, browseResources, XtNumber(browseResources), nullptr, 0);
    return r.command && *r.command ? r.command : "xdg-open %s";
}

// A folder of the user's that only he may enter.
bool ownFolder(const std::string &path)
{
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() && (st.st_mode & 077) == 0;
}

// Starts the command without waiting for it: a child starts it and ends at
// once, so nothing is left to reap.  0 or why it could not be started.
int startDetached(const std::vector<std::string> &args)
{
    if (args.empty())
        return ENOENT;
    pid_t child = fork();
    if (child < 0)
        return errno;
    if (child == 0) {
        std::vector<char *> argv;
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        pid_t browser;
        int error = posix_spawnp(&browser, argv[0], nullptr, nullptr, argv.data(), environ);
        _exit(error > 0 && error < 256 ? error : 0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : ECHILD;
}

// The name the page's header gives: the configuration file, else the line it was read from.
std::string shownName()
{
    const char *path = recInt(rec::CfgFileCount) > 0 ? recText(rec::CfgFilePath) : devicePath();
    std::string name = path && *path ? path : "kelvora";
    return name.substr(name.rfind('/') + 1);
}

} // namespace

std::string overviewFolder()
{
    auto absolute = [](const char *variable) {
        const char *value = std::getenv(variable);
        return value && value[0] == '/' ? std::string(value) : std::string();
    };
    std::vector<std::string> candidates;
    if (std::string runtime = absolute("XDG_RUNTIME_DIR"); !runtime.empty())
        candidates.push_back(runtime + "/kelvora");
    std::string cache = absolute("XDG_CACHE_HOME");
    if (cache.empty() && !absolute("HOME").empty()) {
        cache = absolute("HOME") + "/.cache";
        mkdir(cache.c_str(), 0700);
    }
    if (!cache.empty())
        candidates.push_back(cache + "/kelvora");
    for (const std::string &folder : candidates)
        if (ownFolder(folder))
            return folder;
    return "";
}

std::vector<std::string> browseArguments(const std::string &command, const std::string &path)
{
    std::vector<std::string> args;
    bool placed = false;
    for (std::size_t from = 0; from < command.size();) {
        std::size_t start = command.find_first_not_of(" \t", from);
        if (start == std::string::npos)
            break;
        std::size_t end = command.find_first_of(" \t", start);
        std::string word = command.substr(start, end - start);
        // On after the file's name: a "%s" in it is no place for it.
        for (std::size_t at = 0; (at = word.find("%s", at)) != std::string::npos; placed = true, at += path.size())
            word.replace(at, 2, path);
        args.push_back(word);
        from = end == std::string::npos ? command.size() : end;
    }
    if (!placed)
        args.push_back(path);
    return args;
}

void showOverview(Widget, XtPointer, XtPointer)
{
    CivilDate today = localToday();
    overview::Calls out, in;
    overview::PageInput input;
    input.record = all;
    input.fileName = shownName();
    input.made = overview::madeNow();
    input.speedDial = recInt(rec::KwzPresent) != 0;
    input.subscriberData = recInt(rec::TlnPresent) != 0;
    if (!outCallList().store.empty()) {
        out = overview::callsOfStore(outCallList().read, outCallList().store, today, all);
        input.outgoing = &out;
    }
    if (!inCallList().store.empty()) {
        in = overview::callsOfStore(inCallList().read, inCallList().store, today, all);
        input.incoming = &in;
    }
    std::string page = overview::overviewPage(input);

    std::string folder = overviewFolder();
    if (folder.empty()) {
        XmtDisplayErrorMsg(toplevel, "browseFolder", "Für die Übersicht gibt es keinen eigenen Ordner\n"
                           "(XDG_RUNTIME_DIR, XDG_CACHE_HOME, ~/.cache).", "Übersicht", "No Help!");
        return;
    }
    std::string path = folder + "/uebersicht.html";
    FileWrite written = writeFileAtomically(path.c_str(), [&page](FILE *fp) {
        return std::fwrite(page.data(), 1, page.size(), fp) == page.size();
    });
    if (!toldWrite(toplevel, path.c_str(), written))
        return;
    std::string command = browseCommand();
    if (int error = startDetached(browseArguments(command, path)); error != 0)
        XmtDisplayErrorMsg(toplevel, "browseError", "Die Übersicht steht in\n%s,\naber \"%s\" ließ sich nicht "
                           "starten:\n%s", "Übersicht", "No Help!", path.c_str(), command.c_str(), std::strerror(error));
}
