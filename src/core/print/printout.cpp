#include "print/printout.h"

#include "phonebook/latin1.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <sys/wait.h>

namespace print {

namespace {

// 12 characters and 7 lines an inch: 80 columns take 6.7 inches of A4's 8.3
// and Letter's 8.5, and the letters keep their proportions.
constexpr const char *LprPitch = " -o cpi=12 -o lpi=7";

bool named(std::string_view name, std::initializer_list<const char *> names)
{
    for (const char *n : names)
        if (name.size() == std::char_traits<char>::length(n) && strncasecmp(name.data(), n, name.size()) == 0)
            return true;
    return false;
}

} // namespace

bool parseEncoding(std::string_view name, Encoding &encoding)
{
    if (named(name, {"UTF-8", "utf8"}))
        encoding = Encoding::Utf8;
    else if (named(name, {"ISO-8859-1", "ISO8859-1", "latin1"}))
        encoding = Encoding::Latin1;
    else
        return false;
    return true;
}

std::string forSpooler(std::string_view latin1, Encoding encoding)
{
    return encoding == Encoding::Utf8 ? phonebook::latin1ToUtf8(latin1) : std::string(latin1);
}

std::string commandLine(const std::string &command)
{
    std::size_t start = command.find_first_not_of(" \t");
    if (start == std::string::npos)
        return command;
    std::size_t end = command.find_first_of(" \t", start);
    std::string program = command.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::size_t slash = program.rfind('/');
    if (program.substr(slash == std::string::npos ? 0 : slash + 1) != "lpr")
        return command;
    std::string line = command;
    line.insert(end == std::string::npos ? line.size() : end, LprPitch);
    return line;
}

Outcome spool(const std::string &command, std::string_view bytes)
{
    struct sigaction ignore = {}, before = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &before);
    Outcome outcome;
    FILE *pipe = popen(commandLine(command).c_str(), "w");
    outcome.error = errno;
    int status = -1;
    bool written = false;
    if (pipe) {
        written = std::fwrite(bytes.data(), 1, bytes.size(), pipe) == bytes.size() && std::fflush(pipe) == 0;
        status = pclose(pipe);
        outcome.error = errno;
    }
    sigaction(SIGPIPE, &before, nullptr);

    if (!pipe || status == -1)
        outcome.kind = Outcome::NotStarted;
    else if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
        outcome.kind = Outcome::NotFound;
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !written)
        outcome = {Outcome::Failed, 0, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    return outcome;
}

std::string failureText(const Outcome &outcome)
{
    switch (outcome.kind) {
    case Outcome::Printed:
        break;
    case Outcome::NotStarted:
        return std::string("Der Druckbefehl \"lpr\" konnte nicht gestartet werden:\n") + std::strerror(outcome.error);
    case Outcome::NotFound:
        return "Der Druckbefehl \"lpr\" wurde nicht gefunden.";
    case Outcome::Failed:
        return "Der Druckbefehl \"lpr\" meldet einen Fehler (Status " + std::to_string(outcome.status) +
               ").\nDie Liste wurde nicht gedruckt.";
    }
    return "";
}

Outcome printText(const std::function<bool(FILE *fp)> &write, const Settings &settings)
{
    char *text = nullptr;
    std::size_t size = 0;
    FILE *fp = open_memstream(&text, &size);
    if (!fp)
        return {Outcome::NotStarted, errno, 0};
    bool written = write(fp);
    written = std::fclose(fp) == 0 && written;
    std::string latin1(text ? text : "", size);
    std::free(text);
    if (!written)
        return {Outcome::Failed, 0, 0};
    return spool(settings.command.empty() ? "lpr" : settings.command, forSpooler(latin1, settings.encoding));
}

} // namespace print
