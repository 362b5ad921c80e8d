#include "config/inputfile.h"
#include "config/record.h"
#include "config/version.h"
#include "console.h"
#include "ctl.h"
#include "link/interrupt.h"
#include "link/number.h"
#include "link/trace.h"

#include <cstdio>
#include <cstdlib>
#include <getopt.h>
#include <unistd.h>

namespace {

void printHelp(const char *program)
{
    std::printf("usage: %s [-d DEVICE] [-D LEVEL] [-q] COMMAND [ARGS]\n"
                "       %s -h | --help | --version\n"
                "\n"
                "Reads, programs and shows what kelvora does in its window, without a display.\n"
                "\n"
                "%s"
                "\n"
                "COMMAND --help tells what a command does.  A file named - is standard input where\n"
                "a command reads one (address books, show, diff), standard output where it writes one.\n"
                "\n"
                "  -d DEVICE   the PBX's serial line (default: $KELVORA_DEVICE)\n"
                "  -D LEVEL    trace every transfer into /tmp/kelvora.debug (level 3: every byte)\n"
                "  -q          quiet: no progress, and no report of what was done on success\n"
                "  -h, --help  print this text and exit\n"
                "  --version   print the version and exit\n"
                "\n"
                "Exit status: 0 done, 1 wrong usage, 2 the line or the PBX failed, 3 file trouble,\n"
                "128 + N ended by signal N; diff: 0 equal, 1 different, 2 trouble.  See kelvoractl(1).\n",
                program, program, commandSummary());
}

int usageError(const char *program, const char *text)
{
    if (text)
        std::fprintf(stderr, "%s: %s\n", program, text);
    std::fprintf(stderr, "Try '%s --help'.\n", program);
    return WrongUsage;
}

} // namespace

int main(int argc, char **argv)
{
    const char *program = baseName(argv[0]);
    setUpConsole();
    catchInterrupts([](const std::string &text) { return forLocale("kelvoractl: " + text); });
    static const option longOptions[] = {
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {nullptr, 0, nullptr, 0},
    };
    Invocation invocation;
    invocation.program = program;
    bool quiet = false;
    int level = 0;
    int c;
    // "+": the command's own options are the command's.
    while ((c = getopt_long(argc, argv, "+d:D:qh", longOptions, nullptr)) != -1) {
        switch (c) {
        case 'd':
            invocation.device = optarg;
            break;
        case 'D': {
            std::optional<long> value = decimalIn(optarg, 0, 99);
            if (!value)
                return usageError(program, "-D takes a trace level (0 to 99)");
            level = int(*value);
            break;
        }
        case 'q':
            quiet = true;
            break;
        case 'h':
            printHelp(program);
            return Success;
        case 'V':
            std::printf("kelvoractl %s\n", KelvoraVersion);
            return Success;
        default: // getopt has said what is wrong
            return usageError(program, nullptr);
        }
    }
    if (optind >= argc)
        return usageError(program, "no command given");
    invocation.command = argv[optind];
    invocation.args.assign(argv + optind + 1, argv + argc);
    if (invocation.device.empty())
        if (const char *env = std::getenv("KELVORA_DEVICE"))
            invocation.device = env;
    invocation.progress = !quiet && isatty(STDERR_FILENO);
    invocation.quiet = quiet;

    if (level > 0)
        openTrace(level);
    int status = runCommand(invocation);
    closeTrace();
    return status;
}
