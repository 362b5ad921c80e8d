#include "ctl.h"

#include "charges/calltransfer.h"
#include "charges/counters.h"
#include "config/backups.h"
#include "config/cfgfile.h"
#include "config/cfgtransfer.h"
#include "config/inputfile.h"
#include "config/record.h"
#include "config/tlntransfer.h"
#include "console.h"
#include "overviewcmd.h"
#include "print.h"
#include "settext.h"
#include "link/interrupt.h"
#include "show/describe.h"
#include "phonebook/phonebook.h"
#include "resources/fill.h"
#include "resources/lookup.h"
#include "speeddial/kwzformat.h"
#include "speeddial/kwztransfer.h"
#include "subscriber/tndentries.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// ---------------------------------------------------------------- arguments

// A command's arguments: its files, its options with a value ("--ident
// dorvan", "--ident=dorvan") and its flags ("--csv").
struct Args {
    std::vector<std::string> files;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    std::string error;
    bool has(const std::string &flag) const { return flags.count(flag) != 0; }
    std::string value(const std::string &option) const
    {
        auto at = values.find(option);
        return at == values.end() ? "" : at->second;
    }
};

Args parseArgs(const std::vector<std::string> &in, const std::set<std::string> &valued,
               const std::set<std::string> &flags)
{
    Args args;
    for (std::size_t i = 0; i < in.size(); i++) {
        const std::string &a = in[i];
        if (a.size() < 3 || a.compare(0, 2, "--") != 0) {
            args.files.push_back(a);
            continue;
        }
        std::size_t eq = a.find('=');
        std::string name = a.substr(0, eq);
        if (valued.count(name)) {
            if (eq != std::string::npos)
                args.values[name] = a.substr(eq + 1);
            else if (i + 1 < in.size())
                args.values[name] = in[++i];
            else
                args.error = name + " needs a value";
        } else if (flags.count(name) && eq == std::string::npos) {
            args.flags.insert(name);
        } else {
            args.error = "unknown option " + a;
        }
    }
    return args;
}

// ---------------------------------------------------------------- files

// The window's own wording, on one line.
std::string fileMessage(const std::string &resource, const char *fallback, const std::string &path,
                        const std::string &detail)
{
    std::string text = builtinResource(resource);
    if (text.empty())
        text = fallback;
    text = fillPlaceholders(text, {path, detail});
    for (char &c : text)
        if (c == '\n')
            c = ' ';
    return text;
}

int unreadable(const std::string &path, int error)
{
    complain("Die Datei \"" + path + "\" kann nicht gelesen werden: " + std::strerror(error));
    return FileTrouble;
}

int wrongKind(const std::string &path, const char *kind)
{
    complain(fileMessage("*wrongFile.message", "Die Datei \"%s\" ist keine %s!", path, kind));
    return FileTrouble;
}

int unwritten(const std::string &path, FileWrite written, int error)
{
    if (written == FileWrite::ReadOnly)
        complain("Die Datei \"" + path + "\" ist schreibgeschützt.");
    else if (written == FileWrite::OtherOwner)
        complain("Die Datei \"" + path + "\" gehört einem anderen Benutzer.");
    else
        complain("Die Datei \"" + path + "\" konnte nicht geschrieben werden: " +
                 (written == FileWrite::NotRegular ? "keine gewöhnliche Datei" : std::strerror(error ? error : EIO)));
    return FileTrouble;
}

// Standard output after written lines (false: they did not all go): the
// reason is errno only where the write or the flush set it.
int outputDone(bool written = true, int error = 0)
{
    errno = 0;
    if (std::fflush(stdout) == 0 && written)
        return Success;
    return unwritten("-", FileWrite::Failed, written ? errno : error);
}

int wrongSize(const std::string &path, const char *kind, long size, long expected)
{
    complain("Die Datei \"" + path + "\" ist keine vollständige " + kind + " (" + std::to_string(size) + " statt " +
             std::to_string(expected) + " Bytes).");
    return FileTrouble;
}

using FilePtr = std::unique_ptr<FILE, int (*)(FILE *)>;

// Everything left in a stream; false on a read error (errno tells).
bool readStream(FILE *fp, std::string &bytes)
{
    errno = 0; // what a failed read leaves is its own reason
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, fp)) > 0)
        bytes.append(buffer, n);
    return !std::ferror(fp);
}

// Opens a file to be loaded: a regular file that starts with its kind's mark
// (none for subscriber files) and has exactly its kind's size.  Programming
// from a file cut short would send zeros for the rest.
FilePtr openInput(const std::string &path, const char *mark, long size, const char *kind, int *status)
{
    bool regular = true;
    FilePtr fp(openInputFile(path.c_str(), &regular), std::fclose);
    if (!fp) {
        *status = regular ? unreadable(path, errno) : wrongKind(path, kind);
        return fp;
    }
    struct stat st;
    char head[20] = {};
    std::size_t got = std::fread(head, 1, sizeof head, fp.get());
    std::rewind(fp.get());
    if (!isNormalFile(fp.get()) || fstat(fileno(fp.get()), &st) != 0 ||
        (mark && (got < std::strlen(mark) || std::strncmp(head, mark, std::strlen(mark)) != 0))) {
        *status = wrongKind(path, kind);
        return FilePtr(nullptr, std::fclose);
    }
    if (st.st_size != size) {
        *status = wrongSize(path, kind, long(st.st_size), size);
        return FilePtr(nullptr, std::fclose);
    }
    *status = Success;
    return fp;
}

int loadConfig(const std::string &path, unsigned char *record)
{
    int status;
    FilePtr fp = openInput(path, "Daten Konfigurator", CfgFileSize, "Konfigurationsdatei", &status);
    if (!fp)
        return status;
    loadConfigImage(fp.get(), record);
    return Success;
}

int loadSpeedDial(const std::string &path, unsigned char *record)
{
    int status;
    FilePtr fp = openInput(path, KwzMark, long(KwzFileSize), "Kurzwahl-Datei", &status);
    if (!fp)
        return status;
    loadKwzImage(fp.get(), record);
    return Success;
}

std::function<bool(FILE *)> tndWriter(const unsigned char *record)
{
    return [record](FILE *fp) { return writeTndStream(fp, record); };
}
std::function<bool(FILE *)> kwzWriter(const unsigned char *record)
{
    return [record](FILE *fp) { return writeKwzStream(fp, record); };
}

// ---------------------------------------------------------------- transfers

struct Context {
    const Invocation &invocation;
    ConsoleObserver observer;
    std::vector<unsigned char> image = std::vector<unsigned char>(rec::RecordSize, 0); // the command's own record
    unsigned char *record() { return image.data(); }
};

// The status of a transfer that did not run through, said when the observer
// had nothing to say (an acknowledgement 0 ends a transfer without a text).
int transferStatus(Context &c, TransferResult result)
{
    if (result == TransferResult::Done)
        return Success;
    if (!c.observer.told())
        complain("Die Übertragung wurde abgebrochen.");
    return LineFailed;
}

// The text of a backup not kept, in the window's words.
std::string backupText(const BackupResult &r, const std::string &dir)
{
    return backupTroubleText(r, dir, [](const char *which) { return builtinResource(std::string("*backup.") + which); });
}

// A completed read kept as the window keeps it, so that the window's question
// before programming finds it.  One that cannot be written is said, and the
// read still counts.
void keepBackup(Context &c, const Args &args, FileKind kind, const std::function<bool(FILE *)> &write)
{
    if (args.has("--no-backup"))
        return;
    std::string dir = defaultBackupDirectory();
    BackupResult r = writeBackup(dir, kind, c.invocation.device, DefaultBackupKeep, write);
    if (!r.written)
        complain(backupText(r, dir));
}

int readConfig(Context &c, const Args &args)
{
    std::string ident = args.value("--ident");
    if (ident.empty())
        ident = "dorvan"; // as the window's "Dateikennung" starts
    if (ident != "dorvan" && ident != "ostrale") {
        complain("--ident takes dorvan or ostrale");
        return WrongUsage;
    }
    if (int status = transferStatus(c, readConfiguration(c.observer, c.record())); status != Success)
        return status;
    const std::string &path = args.files[0];
    CfgVendor vendor = ident == "dorvan" ? CfgVendor::Dorvan : CfgVendor::Ostrale;
    const unsigned char *record = c.record();
    FileWrite written = writeConfigFile(path.c_str(), vendor, record);
    int error = errno;
    keepBackup(c, args, FileKind::Configuration,
               [vendor, record](FILE *fp) { return writeCfgStream(fp, vendor, record); });
    return written == FileWrite::Written ? Success : unwritten(path, written, error);
}

int programConfig(Context &c, const Args &args)
{
    if (int status = loadConfig(args.files[0], c.record()); status != Success)
        return status;
    return transferStatus(c, writeConfiguration(c.observer, c.record()));
}

int readSpeedDialFile(Context &c, const Args &args)
{
    const std::string &path = args.files[0];
    // The PBX keeps no names: those of the file being replaced stay with
    // their entries, as they stay in the window.
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
        if (int status = loadSpeedDial(path, c.record()); status != Success)
            return status;
    if (int status = transferStatus(c, readSpeedDial(c.observer, c.record())); status != Success)
        return status;
    FileWrite written = writeKwzFile(path.c_str(), c.record());
    int error = errno;
    keepBackup(c, args, FileKind::SpeedDial, kwzWriter(c.record()));
    return written == FileWrite::Written ? Success : unwritten(path, written, error);
}

int programSpeedDial(Context &c, const Args &args)
{
    if (int status = loadSpeedDial(args.files[0], c.record()); status != Success)
        return status;
    return transferStatus(c, writeSpeedDial(c.observer, c.record()));
}

int readSubscribers(Context &c, const Args &args)
{
    if (int status = transferStatus(c, readTlnConfiguration(c.observer, c.record())); status != Success)
        return status;
    const std::string &path = args.files[0];
    FileWrite written = writeFileAtomically(path.c_str(), tndWriter(c.record()));
    int error = errno;
    keepBackup(c, args, FileKind::Subscribers, tndWriter(c.record()));
    return written == FileWrite::Written ? Success : unwritten(path, written, error);
}

int programSubscribers(Context &c, const Args &args)
{
    int status;
    FilePtr fp = openInput(args.files[0], nullptr, TndFileSize, "Teilnehmerdatei", &status);
    if (!fp)
        return status;
    // Any 1650 bytes pass for a subscriber file: what the dialog could not
    // have stored is no subscriber data.
    FileImage image{FileKind::Subscribers, std::vector<unsigned char>(rec::RecordSize, 0)};
    readTndStream(fp.get(), image.record.data());
    std::rewind(fp.get());
    if (const Field *wrong = firstUnstorableField(image); wrong && !args.has("--force")) {
        complain("Die Datei \"" + args.files[0] + "\" enthält, was der Dialog Teilnehmerdaten nicht speichern kann: " +
                 wrong->label + ": " + readField(*wrong, image.record.data()) +
                 "\nNichts wurde gesendet; --force sendet sie trotzdem.");
        return FileTrouble;
    }
    // The file holds 55 of each record's 124 bytes: the rest is read from the
    // PBX first, so that programming sends back what it had.
    if (status = transferStatus(c, readTlnConfiguration(c.observer, c.record())); status != Success)
        return status;
    errno = 0;
    if (readTndStream(fp.get(), c.record()) != rec::TlnCount)
        return unreadable(args.files[0], errno ? errno : EIO);
    return transferStatus(c, writeTlnConfiguration(c.observer, c.record()));
}

int calls(Context &c, const Args &args)
{
    const std::string &which = args.files[0];
    if (which != "out" && which != "in") {
        complain("calls takes out or in");
        return WrongUsage;
    }
    bool csv = args.has("--csv");
    if (csv && which == "in") {
        complain("the incoming calls have no CSV form (as in the window)");
        return WrongUsage;
    }
    if (int(csv) + int(args.has("--sheet")) + int(args.has("--print")) > 1) {
        complain("calls takes one of --csv, --sheet and --print");
        return WrongUsage;
    }
    print::Settings printing;
    if (!printSettingsOf(args.value("--print-encoding"), args.value("--print-command"), printing))
        return WrongUsage;
    if (std::string names = args.value("--names"); !names.empty())
        if (int status = loadSpeedDial(names, c.record()); status != Success)
            return status;
    const CallRead &list = which == "out" ? outgoingCalls : incomingCalls;
    std::vector<unsigned char> store;
    if (int status = transferStatus(c, readCalls(list, store, c.observer)); status != Success)
        return status;
    if (args.has("--print"))
        return printCalls(list, store, c.record(), printing);
    if (args.has("--sheet"))
        return writeCallSheet(list, store, c.record());
    // The lines as the window saves them: ISO 8859-1, whatever the locale.
    errno = 0;
    bool written = writeCallLines(list, store, stdout, false, csv ? CallForm::Spreadsheet : CallForm::Text, c.record());
    return outputDone(written, errno);
}

int printSpeedDialFile(Context &c, const Args &args)
{
    print::Settings printing;
    if (!printSettingsOf(args.value("--print-encoding"), args.value("--print-command"), printing))
        return WrongUsage;
    if (int status = loadSpeedDial(args.files[0], c.record()); status != Success)
        return status;
    return printSpeedDial(c.record(), printing);
}

int counters(Context &c, const Args &args)
{
    // Only subscribers with an internal number are listed: the numbers come
    // from the configuration, read first unless a file gives them.
    if (std::string config = args.value("--config"); !config.empty()) {
        if (int status = loadConfig(config, c.record()); status != Success)
            return status;
    } else if (int status = transferStatus(c, readConfiguration(c.observer, c.record())); status != Success) {
        return status;
    }
    std::int32_t counters[ChargeCounters];
    if (int status = transferStatus(c, readChargeCounters(counters, c.observer)); status != Success)
        return status;
    CounterList list = counterList(counters, c.record());
    for (const std::string &line : list.lines)
        std::printf("%s\n", line.c_str());
    // The total under its caption in the window.
    std::printf("%s %s\n", builtinResource("*gz_sumf.caption").c_str(), list.total.c_str());
    return outputDone();
}

int backup(Context &c, const Args &args)
{
    const std::string &dir = args.files[0];
    // A folder others may write in is refused before the PBX is asked.
    if (BackupResult r = checkBackupDirectory(dir); r.trouble != BackupTrouble::NoTrouble) {
        complain(backupText(r, dir));
        return FileTrouble;
    }
    // Everything is read before anything is written: a backup is all three
    // files of one moment, or none.
    if (int status = transferStatus(c, readConfiguration(c.observer, c.record())); status != Success)
        return status;
    if (int status = transferStatus(c, readSpeedDial(c.observer, c.record())); status != Success)
        return status;
    if (int status = transferStatus(c, readTlnConfiguration(c.observer, c.record())); status != Success)
        return status;
    const std::vector<BackupPiece> pieces = {
        {FileKind::Configuration, [&c](FILE *fp) { return writeCfgStream(fp, CfgVendor::Dorvan, c.record()); }},
        {FileKind::SpeedDial, kwzWriter(c.record())},
        {FileKind::Subscribers, tndWriter(c.record())},
    };
    std::vector<std::string> done;
    {
        // A signal waits until all three are there (or none); kill -9 finds
        // them under temporary names until all three are whole.
        InterruptsDeferred wholly;
        BackupResult result = writeBackupSet(dir, c.invocation.device, pieces, done);
        if (!result.written) {
            complain(backupText(result, dir));
            return FileTrouble;
        }
    }
    // Also where the window keeps its backups, unless DIR is that folder.
    struct stat here, there;
    std::string own = defaultBackupDirectory();
    bool same = stat(dir.c_str(), &here) == 0 && stat(own.c_str(), &there) == 0 && here.st_dev == there.st_dev &&
                here.st_ino == there.st_ino;
    if (!same)
        for (const BackupPiece &p : pieces)
            keepBackup(c, args, p.kind, p.write);
    if (!c.invocation.quiet)
        for (const std::string &path : done)
            std::printf("%s\n", path.c_str());
    return Success;
}

// ---------------------------------------------------------------- show, diff

// "-" is standard input, read whole first: the kind of file is told by its
// bytes and its size.
FileOpen loadImageOf(const std::string &path, FileImage &image, long &size)
{
    struct stat st;
    if (path != "-") {
        FileOpen result = loadFileImage(path.c_str(), image);
        size = stat(path.c_str(), &st) == 0 ? long(st.st_size) : -1L;
        return result;
    }
    std::string bytes;
    if (!readStream(stdin, bytes))
        return FileOpen::Unreadable;
    size = long(bytes.size());
    if (bytes.empty())
        return FileOpen::Unknown;
    FilePtr fp(fmemopen(bytes.data(), bytes.size(), "rb"), std::fclose);
    return fp ? loadFileImage(fp.get(), long(bytes.size()), image) : FileOpen::Unreadable;
}

int loadImage(const std::string &path, FileImage &image, int trouble)
{
    long size = 0;
    switch (loadImageOf(path, image, size)) {
    case FileOpen::Loaded:
        return Success;
    case FileOpen::Unreadable:
        unreadable(path, errno);
        return trouble;
    case FileOpen::NotRegular:
    case FileOpen::Unknown:
        complain("Die Datei \"" + path + "\" ist weder Konfigurations-, Kurzwahl- noch Teilnehmerdatei.");
        return trouble;
    case FileOpen::WrongSize:
        wrongSize(path, kindName(image.kind), size, fileSizeOf(image.kind));
        return trouble;
    }
    return trouble;
}

int show(Context &, const Args &args)
{
    FileImage image;
    if (int status = loadImage(args.files[0], image, FileTrouble); status != Success)
        return status;
    for (const std::string &line : showLines(image))
        std::printf("%s\n", forLocale(line).c_str());
    return outputDone();
}

// As diff(1): 0 equal, 1 different, 2 trouble.
int diff(Context &, const Args &args)
{
    constexpr int Trouble = 2;
    FileImage a, b;
    if (loadImage(args.files[0], a, Trouble) != Success || loadImage(args.files[1], b, Trouble) != Success)
        return Trouble;
    if (a.kind != b.kind) {
        complain("\"" + args.files[0] + "\" ist eine " + kindName(a.kind) + ", \"" + args.files[1] + "\" eine " +
                 kindName(b.kind) + ".");
        return Trouble;
    }
    std::vector<std::string> lines = diffLines(a, b);
    for (const std::string &line : lines)
        std::printf("%s\n", forLocale(line).c_str());
    if (std::fflush(stdout) != 0)
        return Trouble;
    return lines.empty() ? 0 : 1;
}

// ---------------------------------------------------------------- address books

// A speed-dial file's bytes as they are: the import changes only the slots it
// fills, and every other byte of the file stays.
std::string emptySpeedDialImage()
{
    std::string image(KwzFileSize, '\0');
    image.replace(0, KwzMarkLength, KwzMark);
    return image;
}

int readSpeedDialImage(const std::string &path, std::string &image)
{
    int status;
    FilePtr fp = openInput(path, KwzMark, long(KwzFileSize), "Kurzwahl-Datei", &status);
    if (!fp)
        return status;
    image.resize(KwzFileSize);
    errno = 0;
    if (std::fread(image.data(), 1, image.size(), fp.get()) != image.size())
        return unreadable(path, errno ? errno : EIO);
    return Success;
}

// "-" is standard input.
int readAddressBook(const std::string &path, std::string &bytes)
{
    FILE *in = stdin;
    FilePtr fp(nullptr, std::fclose);
    if (path != "-") {
        fp.reset(std::fopen(path.c_str(), "rb"));
        if (!fp)
            return unreadable(path, errno);
        if (!isNormalFile(fp.get()))
            return wrongKind(path, "Adressbuch-Datei");
        in = fp.get();
    }
    switch (phonebook::readBook(in, bytes)) {
    case phonebook::BookRead::Read: return Success;
    case phonebook::BookRead::TooBig:
        complain("Das Adressbuch \"" + path + "\" ist größer als 16 MB und wird nicht gelesen.");
        return FileTrouble;
    case phonebook::BookRead::Failed: break;
    }
    return unreadable(path, errno ? errno : EIO);
}

// "-" is standard output.
int writeBytes(const std::string &path, const std::string &bytes)
{
    if (path == "-") {
        errno = 0;
        bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
        return outputDone(written, errno);
    }
    FileWrite written = writeFileAtomically(path.c_str(), [&bytes](FILE *fp) {
        return std::fwrite(bytes.data(), 1, bytes.size(), fp) == bytes.size();
    });
    return written == FileWrite::Written ? Success : unwritten(path, written, errno);
}

std::string importLine(const char *which) { return builtinResource(std::string("*phonebookImport.") + which); }

// The window's summary, but every line of it (a script's log has room): on
// standard output, why nothing was imported on standard error.
void printSummary(const phonebook::ImportResult &r)
{
    std::vector<std::string> lines = phonebook::summaryLines(r, importLine);
    bool trouble = r.trouble != phonebook::Trouble::Clear;
    for (std::size_t k = 0; k + trouble < lines.size(); ++k)
        std::printf("%s\n", forLocale(lines[k]).c_str());
    if (!trouble)
        return;
    bool columns = r.trouble == phonebook::Trouble::ColumnsUnknown || r.trouble == phonebook::Trouble::ColumnMissing;
    complain(lines.back() + (columns ? "\n" + importLine("chooseColumns") : ""));
}

// "a,b" as its names.
std::vector<std::string> columnList(const std::string &value)
{
    std::vector<std::string> names;
    for (std::size_t from = 0, comma;; from = comma + 1) {
        comma = value.find(',', from);
        names.push_back(value.substr(from, comma - from));
        if (comma == std::string::npos)
            return names;
    }
}

// --country's code, or false after saying what is wrong with it.
bool countryOption(const Args &args, std::string &code)
{
    if (!args.values.count("--country"))
        return true;
    code = args.value("--country");
    if (!code.empty() && code.size() <= 3 && code.find_first_not_of("0123456789") == std::string::npos)
        return true;
    complain("--country takes a country code of 1 to 3 digits, without + or 00");
    return false;
}

int phonebookImport(Context &, const Args &args)
{
    phonebook::ImportOptions options;
    options.replace = args.has("--replace");
    options.withFax = args.has("--with-fax");
    if (!countryOption(args, options.ownCountry))
        return WrongUsage;
    if (args.values.count("--name-column"))
        options.nameColumns = columnList(args.value("--name-column"));
    if (args.values.count("--number-column"))
        options.numberColumns = columnList(args.value("--number-column"));
    const std::string &in = args.files[0], &path = args.files[1];
    std::string image, bytes;
    // A directory file that is not there yet starts empty, as "Sichern"
    // writes one after reading a PBX with no entries.
    struct stat st;
    bool fresh = stat(path.c_str(), &st) != 0 && errno == ENOENT;
    if (fresh)
        image = emptySpeedDialImage();
    else if (int status = readSpeedDialImage(path, image); status != Success)
        return status;
    if (int status = readAddressBook(in, bytes); status != Success)
        return status;
    auto *file = reinterpret_cast<unsigned char *>(image.data());
    phonebook::ImportResult result = phonebook::importAddressBook(bytes, phonebook::tablesOfFile(file), options);
    // Nothing imported, nothing written: the file keeps its time stamp.  A
    // file not read as an address book leaves no new directory file either.
    bool trouble = result.trouble != phonebook::Trouble::Clear;
    if ((fresh && !trouble) || !result.imported.empty())
        if (int status = writeBytes(path, image); status != Success)
            return status;
    printSummary(result);
    if (int status = outputDone(); status != Success)
        return status;
    if (result.trouble == phonebook::Trouble::ColumnMissing)
        return WrongUsage; // the option names a column the file lacks
    return trouble ? FileTrouble : Success;
}

int phonebookExport(Context &, const Args &args)
{
    const std::string &path = args.files[0], &out = args.files[1];
    std::string image, country = "49";
    if (!countryOption(args, country))
        return WrongUsage;
    if (int status = readSpeedDialImage(path, image); status != Success)
        return status;
    phonebook::ConstTables tables = phonebook::tablesOfFile(reinterpret_cast<unsigned char *>(image.data()));
    bool vcard = args.has("--vcf") || (out.size() >= 4 && strcasecmp(out.c_str() + out.size() - 4, ".vcf") == 0);
    std::string bytes = vcard ? phonebook::exportVCard(tables) : phonebook::exportCsv(tables, country);
    // The byte-order mark tells a spreadsheet the file's encoding; in a pipe
    // it would be the first bytes of the next program's first line.
    constexpr std::string_view Mark = "\xEF\xBB\xBF";
    if (out == "-" && std::string_view(bytes).starts_with(Mark))
        bytes.erase(0, Mark.size());
    return writeBytes(out, bytes);
}

// ---------------------------------------------------------------- set, apply, edit (settext.cpp)

int set(Context &c, const Args &args) { return setFields(c.invocation, args.files, args.flags); }
int apply(Context &c, const Args &args) { return applyText(c.invocation, args.files, args.flags); }
int edit(Context &c, const Args &args) { return editFile(c.invocation, args.files); }

// ---------------------------------------------------------------- overview, check (overviewcmd.cpp)

int loadAny(const std::string &path, FileImage &image) { return loadImage(path, image, FileTrouble); }

int overview(Context &, const Args &args)
{
    std::string page;
    if (int status = overviewOf(args.files[0], args.values, loadAny, page); status != Success)
        return status;
    return writeBytes(args.files[1], page);
}

int check(Context &, const Args &args) { return checkConfig(args.files[0], loadAny); }

// ---------------------------------------------------------------- the table

struct Command {
    const char *name;
    const char *synopsis;    // also read by the bash completion: keep FILE.cfg, DIR, a|b, [--flag], [--opt VALUE]
    const char *description; // for "COMMAND --help"
    std::size_t files;       // positional arguments
    bool device;       // talks to the PBX
    std::set<std::string> valued, flags;
    int (*run)(Context &, const Args &);
    bool checksItsOwn = false; // the command checks its operands and device itself
};

const Command commands[] = {
    {"read-config", "read-config FILE.cfg [--ident dorvan|ostrale] [--no-backup]",
     "Reads the configuration from the PBX into a configuration file, the bytes \"Sichern\" writes.\n"
     "--ident chooses the file identification as \"Dateikennung\" does (default dorvan).\n"
     "Every read also keeps the window's backup; --no-backup keeps none.",
     1, true, {"--ident"}, {"--no-backup"}, readConfig},
    {"program-config", "program-config FILE.cfg", "Programs a whole configuration file into the PBX.", 1, true, {}, {},
     programConfig},
    {"read-speeddial", "read-speeddial FILE.kwz [--no-backup]",
     "Reads the speed-dial numbers and both prefix lists from the PBX into a speed-dial file;\n"
     "the names a file of that name holds stay with their entries.",
     1, true, {}, {"--no-backup"}, readSpeedDialFile},
    {"program-speeddial", "program-speeddial FILE.kwz",
     "Programs the numbers and prefix lists of a speed-dial file into the PBX.", 1, true, {}, {}, programSpeedDial},
    {"read-subscribers", "read-subscribers FILE.tnd [--no-backup]",
     "Reads the 30 subscriber records into a subscriber file.", 1, true, {}, {"--no-backup"}, readSubscribers},
    {"program-subscribers", "program-subscribers FILE.tnd [--force]",
     "Programs a subscriber file into the PBX; what the file does not hold goes back as the PBX had it.\n"
     "A file the subscriber dialog could not have written is refused unless --force.",
     1, true, {}, {"--force"}, programSubscribers},
    {"calls",
     "calls out|in [--csv] [--sheet] [--print] [--print-encoding utf8|latin1] [--print-command CMD] "
     "[--names FILE.kwz]",
     "Writes the outgoing or incoming calls to standard output as the window saves them, as text or,\n"
     "outgoing only, with --csv as table; --names takes the names from a speed-dial file.\n"
     "--sheet: a table for spreadsheets (UTF-8, \";\", dates with the year, decimal commas);\n"
     "--print: to lpr as the window's \"Drucken\" (--print-encoding, --print-command as print-speeddial).",
     1, true, {"--names", "--print-encoding", "--print-command"}, {"--csv", "--sheet", "--print"}, calls},
    {"print-speeddial", "print-speeddial FILE.kwz [--print-encoding utf8|latin1] [--print-command CMD]",
     "Prints a speed-dial file as the window's \"Drucken\" does: into \"lpr -o cpi=12 -o lpi=7\" in UTF-8\n"
     "(lpr's PRINTER picks the queue); --print-encoding latin1 (ISO-8859-1) for a printer that wants it,\n"
     "--print-command for another command.",
     1, false, {"--print-encoding", "--print-command"}, {}, printSpeedDialFile},
    {"counters", "counters [--config FILE.cfg]",
     "Lists the charge counters and their total; the internal numbers come from the PBX's\n"
     "configuration or from --config.",
     0, true, {"--config"}, {}, counters},
    {"backup", "backup DIR [--no-backup]",
     "Reads configuration, speed dial and subscriber data and keeps them in DIR, all three or none,\n"
     "and also where the window keeps its backups unless --no-backup.",
     1, true, {}, {"--no-backup"}, backup},
    {"show", "show FILE|-", "Prints a .cfg, .kwz or .tnd file (- standard input) one field a line.", 1, false, {}, {},
     show},
    {"diff", "diff FILE1 FILE2",
     "Prints each field two files of one kind disagree on (either may be -, standard input);\n"
     "exit 0 equal, 1 different, 2 trouble.", 2, false, {}, {},
     diff},
    {"phonebook-import",
     "phonebook-import [--replace] [--country CC] [--with-fax] [--name-column NAME[,NAME...]] "
     "[--number-column NAME[,NAME...]] IN.csv|IN.vcf|IN.ldif|IN.xml|- FILE.kwz",
     "Puts the entries of an address book (CSV, vCard, LDIF or a router's XML phone book; - standard\n"
     "input) into a speed-dial file, a new one\n"
     "when FILE.kwz is not there; --replace overwrites taken slots, --country is the own country,\n"
     "--with-fax takes fax numbers too, --name-column and --number-column choose CSV columns.",
     2, false, {"--country", "--name-column", "--number-column"}, {"--replace", "--with-fax"}, phonebookImport},
    {"phonebook-export", "phonebook-export [--vcf] [--country CC] FILE.kwz OUT.csv|OUT.vcf|-",
     "Writes the speed-dial directory as CSV or, for .vcf or with --vcf, as vCard (- standard output);\n"
     "--country is the own country of the numbers the CSV writes as +CC.",
     2, false, {"--country"}, {"--vcf"}, phonebookExport},
    {"set", "set [--pbx] [--yes] [--dry-run] [--no-backup] FILE LABEL=VALUE...",
     "Sets fields of a .cfg, .kwz or .tnd file, each LABEL and VALUE as show prints them, under the rules\n"
     "of the field's dialog; nothing is written unless all are valid.  With --pbx (and no FILE) the\n"
     "fields are set in the PBX: read, what changes printed, asked on a terminal unless --yes\n"
     "(--dry-run stops there), programmed; each read keeps its backup unless --no-backup.",
     0, false, {}, {"--pbx", "--yes", "--dry-run", "--no-backup"}, set, true},
    {"apply", "apply [--pbx] [--yes] [--dry-run] [--no-backup] TEXT.txt|- FILE",
     "Sets every field a text in show's form names (- standard input; blank and # lines skipped);\n"
     "show A | apply - B makes B equal to A.  With --pbx (and no FILE) into the PBX, as set --pbx.",
     0, false, {}, {"--pbx", "--yes", "--dry-run", "--no-backup"}, apply, true},
    {"edit", "edit FILE",
     "Opens show's text of a file in $VISUAL or $EDITOR, applies it when the editor ends and prints\n"
     "what changed; on an error the file stays as it was.",
     1, false, {}, {}, edit},
    {"overview",
     "overview [--speeddial FILE.kwz] [--subscribers FILE.tnd] [--calls-out CALLS.cvs|CALLS.csv] "
     "[--calls-in CALLS.csv|CALLS.cvs] "
     "FILE.cfg OUT.html|-",
     "Writes one HTML page of the configuration for the browser and the printer (- standard output):\n"
     "ports, MSNs and who rings for them, subscribers, call distribution, the check's findings; with\n"
     "--speeddial the directory, with --subscribers their data, with --calls-out and --calls-in (the\n"
     "window's \"CVS sichern\" or calls --sheet) charts of the calls and the charges per extension.",
     2, false, {"--speeddial", "--subscribers", "--calls-out", "--calls-in"}, {}, overview},
    {"check", "check FILE.cfg",
     "Prints one line per fault of a configuration that loses calls or reaches nobody;\n"
     "exit 0 nothing found, 1 findings, 3 file trouble.",
     1, false, {}, {}, check},
};

int wrongUsage(const Invocation &invocation, const std::string &text)
{
    complain(text);
    std::fprintf(stderr, "Try '%s --help'.\n", invocation.program.c_str());
    return WrongUsage;
}

} // namespace

const char *commandSummary()
{
    static std::string text;
    if (text.empty()) {
        text = "Commands:\n";
        for (const Command &c : commands)
            text += std::string("  ") + c.synopsis + "\n";
    }
    return text.c_str();
}

int commandHelp(const Invocation &invocation, const Command &command)
{
    std::printf("usage: %s [-d DEVICE] [-D LEVEL] [-q] %s\n\n%s\n", invocation.program.c_str(), command.synopsis,
                command.description);
    if (command.device)
        std::printf("Talks to the PBX on -d DEVICE or $KELVORA_DEVICE.\n");
    return std::fflush(stdout) == 0 ? Success : FileTrouble;
}

int runCommand(const Invocation &invocation)
{
    for (const Command &command : commands) {
        if (invocation.command != command.name)
            continue;
        const std::vector<std::string> &a = invocation.args;
        if (std::find(a.begin(), a.end(), "--help") != a.end())
            return commandHelp(invocation, command);
        Args args = parseArgs(invocation.args, command.valued, command.flags);
        if (!args.error.empty())
            return wrongUsage(invocation, invocation.command + ": " + args.error);
        if (args.files.size() != command.files && !command.checksItsOwn)
            return wrongUsage(invocation, std::string("usage: ") + command.synopsis);
        if (command.device && invocation.device.empty())
            return wrongUsage(invocation, invocation.command + " needs the PBX's line: -d DEVICE or KELVORA_DEVICE");
        setDevicePath(invocation.device.c_str());
        Context context{invocation, ConsoleObserver(invocation.progress)};
        return command.run(context, args);
    }
    return wrongUsage(invocation, "unknown command " + invocation.command);
}
