// pbxsim: the PBX simulator as a program for people and end-to-end tests.
// Installed as kelvora-pbxsim: it calls itself by the name it was started with.
#include "config/version.h"
#include "pbxsim/pbxsim.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <getopt.h>
#include <string>

namespace {

// Read by the signal handler: an atomic that needs no lock is safe there.
std::atomic<pbxsim::Simulator *> running{nullptr};
static_assert(std::atomic<pbxsim::Simulator *>::is_always_lock_free);
std::string program = "pbxsim"; // argv[0]'s last component

void onSignal(int)
{
    if (pbxsim::Simulator *sim = running.load())
        sim->requestStop();
}

// "%1" is the program's name.
const char usage[] = R"(Usage: %1 [OPTION]...
Stands in for the PBX at the other end of kelvora's serial line: opens a
pseudo-terminal, answers every command of the frame protocol from a state that
holds all the PBX's lists, and can inject faults.  Runs until SIGINT/SIGTERM.

  --link PATH          make PATH a symbolic link to the line (removed on exit);
                       start kelvora with PATH as its device.  Without it the
                       pty slave's own name is printed and can be used instead.
  --load FILE          start from the state in FILE (default: a 3-port PBX with
                       internal numbers 11..18, speed-dial numbers, charge
                       counters and call records)
  --empty              start from an empty state (all lists zero, no counters,
                       no call records)
  --save FILE          write the state to FILE on exit
  --write-default FILE write the default state to FILE and exit
  --log FILE           log every frame, one line each (see below)
  --log-line           log the line's settings (speed, data bits, parity, stop
                       bits, flow control) whenever a frame finds them changed,
                       e.g. "# line 4800 8N2 RTS/CTS"
  --baud RATE          pace both directions as a line of RATE baud would,
                       11 bits per byte (e.g. 4800); default: no pacing

Faults.  K counts from 1 since the start of %1; answers include every
acknowledgement (the one to the begin command is answer 1).  CODE is decimal or
0x hex.  The answer options may be given several times.
  --refuse-begin CODE  acknowledge every begin command (97, 98) with CODE
  --refuse-data K:CODE acknowledge the K-th data frame (codes 32..45) with CODE
  --bad-checksum K     send the K-th answer with a wrong checksum
  --silent K           do not send the K-th answer at all
  --cut-short K:N      send only the first N bytes of the K-th answer
  --over-long K:N      send the K-th answer with N data bytes (0..251), its own
                       data followed by bytes 0xEE, with a correct checksum
  --leading-zeros N    send N zero bytes ahead of every answer
  --hang-up K          instead of the K-th answer, hang up: close %1's end
                       of the line, so kelvora reads end of file and its writes
                       fail.  A fresh pty is opened at once and the --link
                       moves to it (see the log for its name without --link)

Answers.  Read commands (0..14, 64) are answered with a data frame whose code
byte repeats the command and whose checksum covers the data; commands 97, 98,
99 and data frames are acknowledged with 4 bytes: 04 CODE 00 00 (96 = done,
105 wrong checksum, 106 unknown command, bad index or wrong length, 107 read
outside a read transmission or write outside a write transmission).

Log lines:
  < 05 62 00 00 00     a frame received from the program, bytes in hex
  > 04 60 00 00        a frame sent to the program
  < 00*255             a run of zero bytes (synchronisation, padding)
  > 00*3               zero bytes sent ahead of an answer (--leading-zeros)
  # ...                what the simulator did about a frame (faults, refusals)

The state file is text: "pbxsim-state 1", then one list per line, the bytes in
hex (trailing zero bytes may be left out); "#" starts a comment.  Keywords:
ports N (1..3), port P HEX (195 bytes, P = 0..2; the S0 subscriber data are its
bytes 115..193), rufnr, ber, rufvert, gebkonf, stkon, anldat HEX (200, 100, 100,
176, 238, 112 bytes), version TEXT, tln I HEX (124 bytes, I = 0..29), kwz S HEX
(speed-dial slot S = 0..199, 25 bytes), nahber, sperrber HEX (120 bytes),
counter I VALUE|none (pfennig, I = 0..29), outcall HEX (23 bytes, in order, up
to 1000), incall HEX (17 bytes, up to 75).  Lists not named are zero.
  --version            print the version and exit
  --help               print this text and exit
See tools/pbxsim/README.md.
)";

std::string named(std::string text)
{
    for (std::size_t at; (at = text.find("%1")) != std::string::npos;)
        text.replace(at, 2, program);
    return text;
}

bool number(const char *text, long *value)
{
    char *end = nullptr;
    *value = std::strtol(text, &end, 0);
    return end != text && *end == '\0';
}

bool pair(const char *text, long *a, long *b)
{
    const char *colon = std::strchr(text, ':');
    if (!colon)
        return false;
    std::string first(text, colon);
    return number(first.c_str(), a) && number(colon + 1, b);
}

[[noreturn]] void fail(const std::string &what)
{
    std::fprintf(stderr, "%s: %s\n", program.c_str(), what.c_str());
    std::exit(2);
}

} // namespace

int main(int argc, char **argv)
{
    if (const char *slash = std::strrchr(argv[0], '/'))
        program = slash + 1;
    else if (*argv[0])
        program = argv[0];
    enum { Link = 256, Load, Empty, Save, WriteDefault, Log, LogLine, Baud, RefuseBegin, RefuseData, BadChecksum, Silent,
           CutShort, OverLong, LeadingZeros, HangUp, Help, Version };
    static const struct option options[] = {
        {"link", required_argument, nullptr, Link},
        {"load", required_argument, nullptr, Load},
        {"empty", no_argument, nullptr, Empty},
        {"save", required_argument, nullptr, Save},
        {"write-default", required_argument, nullptr, WriteDefault},
        {"log", required_argument, nullptr, Log},
        {"log-line", no_argument, nullptr, LogLine},
        {"baud", required_argument, nullptr, Baud},
        {"refuse-begin", required_argument, nullptr, RefuseBegin},
        {"refuse-data", required_argument, nullptr, RefuseData},
        {"bad-checksum", required_argument, nullptr, BadChecksum},
        {"silent", required_argument, nullptr, Silent},
        {"cut-short", required_argument, nullptr, CutShort},
        {"over-long", required_argument, nullptr, OverLong},
        {"leading-zeros", required_argument, nullptr, LeadingZeros},
        {"hang-up", required_argument, nullptr, HangUp},
        {"help", no_argument, nullptr, Help},
        {"version", no_argument, nullptr, Version},
        {nullptr, 0, nullptr, 0},
    };

    std::string link, load, save, log;
    bool empty = false, logLine = false;
    long baud = 0;
    pbxsim::Faults faults;
    std::string error;
    int opt;
    while ((opt = getopt_long(argc, argv, "", options, nullptr)) != -1) {
        long a = 0, b = 0;
        std::string arg = optarg ? optarg : "";
        switch (opt) {
        case Link: link = arg; break;
        case Load: load = arg; break;
        case Empty: empty = true; break;
        case Save: save = arg; break;
        case Log: log = arg; break;
        case LogLine: logLine = true; break;
        case WriteDefault:
            if (!pbxsim::saveState(pbxsim::defaultState(), arg, &error))
                fail(error);
            return 0;
        case Baud:
            if (!number(optarg, &baud) || baud < 0)
                fail("--baud needs a rate in baud");
            break;
        case RefuseBegin:
            if (!number(optarg, &a) || a < 1 || a > 255)
                fail("--refuse-begin needs a code 1..255");
            faults.refuse_begin = int(a);
            break;
        case RefuseData:
            if (!pair(optarg, &a, &b) || a < 1 || b < 0 || b > 255)
                fail("--refuse-data needs K:CODE");
            faults.refuse_data_at = int(a);
            faults.refuse_data_code = int(b);
            break;
        case BadChecksum:
        case Silent:
        case HangUp:
            if (!number(optarg, &a) || a < 1)
                fail("a fault needs the number K of the answer, from 1");
            faults.answers.push_back({opt == Silent   ? pbxsim::AnswerFault::Silent
                                      : opt == HangUp ? pbxsim::AnswerFault::HangUp
                                                      : pbxsim::AnswerFault::BadChecksum,
                                      int(a), 0});
            break;
        case CutShort:
        case OverLong:
            if (!pair(optarg, &a, &b) || a < 1 || b < 0 || (opt == OverLong && b > 251))
                fail(opt == OverLong ? "--over-long needs K:N with N 0..251" : "--cut-short needs K:N");
            faults.answers.push_back(
                {opt == OverLong ? pbxsim::AnswerFault::OverLong : pbxsim::AnswerFault::CutShort, int(a), int(b)});
            break;
        case LeadingZeros:
            if (!number(optarg, &a) || a < 0 || a > 100000)
                fail("--leading-zeros needs a count");
            faults.leading_zeros = int(a);
            break;
        case Help:
            std::fputs(named(usage).c_str(), stdout);
            return 0;
        case Version:
            std::printf("%s %s\n", program.c_str(), KelvoraVersion);
            return 0;
        default:
            std::fprintf(stderr, "Try '%s --help'.\n", program.c_str());
            return 2;
        }
    }
    if (optind < argc)
        fail(std::string("unexpected argument ") + argv[optind]);

    pbxsim::State state = empty ? pbxsim::emptyState() : pbxsim::defaultState();
    if (!load.empty() && !pbxsim::loadState(state, load, &error))
        fail(error);

    pbxsim::Simulator sim(state);
    sim.setFaults(faults);
    sim.setBaud(baud);
    sim.setLineWatch(logLine);
    if (!log.empty() && !sim.setLogFile(log, &error))
        fail(error);
    if (!sim.open(link, &error))
        fail(error);

    running = &sim;
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaction(sig, &sa, nullptr);

    std::printf("%s: line %s (pty %s)\n", program.c_str(), sim.path().c_str(), sim.slaveName().c_str());
    std::fflush(stdout);
    sim.run();
    running = nullptr;
    sim.stop();

    if (!save.empty() && !pbxsim::saveState(sim.state(), save, &error))
        fail(error);
    return 0;
}
