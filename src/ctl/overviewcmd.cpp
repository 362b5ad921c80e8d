#include "overviewcmd.h"

#include "config/inputfile.h"
#include "config/record.h"
#include "console.h"
#include "ctl.h"
#include "overview/facts.h"
#include "overview/page.h"
#include "phonebook/latin1.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// A call list is a few hundred kilobytes at most.
constexpr long CallFileMost = 16L << 20;

int loadOfKind(const std::string &path, FileKind kind, const ImageLoader &load, FileImage &image)
{
    if (int status = load(path, image); status != Success)
        return status;
    if (image.kind != kind) {
        complain("Die Datei \"" + path + "\" ist keine " + kindName(kind) + ".");
        return FileTrouble;
    }
    return Success;
}

int readCallFile(const std::string &path, std::string &bytes)
{
    std::unique_ptr<FILE, int (*)(FILE *)> fp(path == "-" ? nullptr : std::fopen(path.c_str(), "rb"), std::fclose);
    FILE *in = path == "-" ? stdin : fp.get();
    if (!in) {
        complain("Die Datei \"" + path + "\" kann nicht gelesen werden: " + std::strerror(errno));
        return FileTrouble;
    }
    char buffer[4096];
    std::size_t n;
    errno = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0 && long(bytes.size()) <= CallFileMost)
        bytes.append(buffer, n);
    if (std::ferror(in) || long(bytes.size()) > CallFileMost) {
        complain("Die Datei \"" + path + "\" kann nicht gelesen werden: " +
                 (std::ferror(in) ? std::strerror(errno ? errno : EIO) : "größer als 16 MB"));
        return FileTrouble;
    }
    return Success;
}

int loadCalls(const std::string &path, bool outgoing, overview::Calls &calls)
{
    std::string bytes, why;
    if (int status = readCallFile(path, bytes); status != Success)
        return status;
    if (!overview::readCallCsv(bytes, localToday(), calls, why)) {
        complain("Die Datei \"" + path + "\": " + why + ".");
        return FileTrouble;
    }
    if (calls.outgoing != outgoing && !calls.calls.empty()) {
        complain("Die Datei \"" + path + "\" ist eine Liste der " +
                 (calls.outgoing ? "ausgehenden" : "eingehenden") + " Gespräche.");
        return FileTrouble;
    }
    return Success;
}

std::string shownName(const std::string &path)
{
    return path == "-" ? "(Standardeingabe)" : baseName(path.c_str());
}

// The region of the record a file of that kind fills.
void takeRegion(std::vector<unsigned char> &record, const FileImage &image, std::size_t from, std::size_t to)
{
    std::copy(image.record.begin() + long(from), image.record.begin() + long(to), record.begin() + long(from));
}

} // namespace

int overviewOf(const std::string &config, const std::map<std::string, std::string> &options, const ImageLoader &load,
               std::string &page)
{
    auto option = [&](const char *name) {
        auto at = options.find(name);
        return at == options.end() ? std::string() : at->second;
    };
    FileImage cfg;
    if (int status = loadOfKind(config, FileKind::Configuration, load, cfg); status != Success)
        return status;
    overview::PageInput in;
    std::vector<unsigned char> record = cfg.record;
    if (std::string path = option("--speeddial"); !path.empty()) {
        FileImage kwz;
        if (int status = loadOfKind(path, FileKind::SpeedDial, load, kwz); status != Success)
            return status;
        takeRegion(record, kwz, rec::KwzHeader, rec::KwzHeader + rec::KwzSizeInFile);
        in.speedDial = true;
    }
    if (std::string path = option("--subscribers"); !path.empty()) {
        FileImage tnd;
        if (int status = loadOfKind(path, FileKind::Subscribers, load, tnd); status != Success)
            return status;
        takeRegion(record, tnd, rec::TlnData, rec::KwzHeader);
        in.subscriberData = true;
    }
    overview::Calls out, incoming;
    if (std::string path = option("--calls-out"); !path.empty()) {
        if (int status = loadCalls(path, true, out); status != Success)
            return status;
        in.outgoing = &out;
    }
    if (std::string path = option("--calls-in"); !path.empty()) {
        if (int status = loadCalls(path, false, incoming); status != Success)
            return status;
        in.incoming = &incoming;
    }
    in.record = record.data();
    // A name with characters ISO 8859-1 lacks: the nearest it has.
    if (!fromLocale(shownName(config), in.fileName))
        in.fileName = phonebook::utf8ToLatin1(shownName(config)).text;
    in.made = overview::madeNow();
    page = overview::overviewPage(in);
    return Success;
}

int checkConfig(const std::string &config, const ImageLoader &load)
{
    FileImage cfg;
    if (int status = loadOfKind(config, FileKind::Configuration, load, cfg); status != Success)
        return status;
    std::vector<overview::Finding> findings = overview::check(overview::derive(cfg.record.data()), cfg.record.data());
    for (const overview::Finding &f : findings)
        std::printf("%s\n", forLocale(f.text).c_str());
    if (std::fflush(stdout) != 0)
        return FileTrouble;
    return findings.empty() ? Success : 1;
}
