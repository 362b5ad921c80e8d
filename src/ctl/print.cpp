#include "print.h"

#include "charges/callsheet.h"
#include "console.h"
#include "ctl.h"
#include "speeddial/kwzformat.h"

#include <cerrno>
#include <cstring>

bool printSettingsOf(const std::string &encoding, const std::string &command, print::Settings &settings)
{
    if (!encoding.empty() && !print::parseEncoding(encoding, settings.encoding)) {
        complain("--print-encoding takes utf8 (UTF-8) or latin1 (ISO-8859-1)");
        return false;
    }
    if (!command.empty())
        settings.command = command;
    return true;
}

int printOut(const std::function<bool(FILE *fp)> &write, const print::Settings &settings)
{
    print::Outcome outcome = print::printText(write, settings);
    if (outcome.kind == print::Outcome::Printed)
        return Success;
    complain(print::failureText(outcome));
    return FileTrouble;
}

int printCalls(const CallRead &list, const std::vector<unsigned char> &store, const unsigned char *record,
               const print::Settings &settings)
{
    return printOut([&](FILE *fp) { return writeCallLines(list, store, fp, true, CallForm::Text, record); }, settings);
}

int printSpeedDial(const unsigned char *record, const print::Settings &settings)
{
    return printOut([record](FILE *fp) { return writeKwzText(fp, record); }, settings);
}

int writeCallSheet(const CallRead &list, const std::vector<unsigned char> &store, const unsigned char *record)
{
    std::string sheet = callSheet(list, store, localToday(), record);
    if (std::fwrite(sheet.data(), 1, sheet.size(), stdout) == sheet.size() && std::fflush(stdout) == 0)
        return Success;
    complain(std::string("Die Datei \"-\" konnte nicht geschrieben werden: ") + std::strerror(errno));
    return FileTrouble;
}
