#include "speeddial/kwzphonebook.h"

#include "config/atomicfile.h"
#include "config/cfgfile.h"
#include "config/record.h"
#include "phonebook/phonebook.h"
#include "toolkit/toolkit.h"
#include "ui/output.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

constexpr const char *Summary = "phonebookImport";

// A text of the summary's resource lines with %1, %2 ... replaced (not
// printf: the lines may come from a user's resources).
std::string text(Widget parent, const char *which, const std::vector<std::string> &args = {})
{
    const char *line = XmtGetResourceString(parent, Summary, which);
    std::string t = line ? line : which;
    for (std::size_t i = args.size(); i-- > 0;) {
        std::string mark = "%" + std::to_string(i + 1);
        for (std::size_t at = t.find(mark); at != std::string::npos; at = t.find(mark, at + args[i].size()))
            t.replace(at, mark.size(), args[i]);
    }
    return t;
}

std::string reasonText(Widget parent, const phonebook::SkippedEntry &s)
{
    using R = phonebook::SkipReason;
    switch (s.reason) {
    case R::CodeOutOfRange: return text(parent, "codeOutOfRange", {s.code});
    case R::EmptyNumber: return text(parent, "emptyNumber");
    case R::NumberTooLong: return text(parent, "numberTooLong");
    case R::DuplicateCode: return text(parent, "duplicateCode", {s.code, std::to_string(s.earlierLine)});
    case R::Occupied: return text(parent, "occupied", {s.code});
    case R::DirectoryFull: return text(parent, "directoryFull");
    case R::AlreadyThere: return text(parent, "alreadyThere", {s.code});
    }
    return "";
}

// At most this many lines of cut and skipped entries; a big address book
// would make the box taller than the screen.
constexpr std::size_t ShownLines = 20;

std::string summaryOf(Widget parent, const phonebook::ImportResult &r)
{
    std::string s = text(parent, "counts", {std::to_string(r.imported.size()), std::to_string(r.cutCount()),
                                            std::to_string(r.skipped.size())});
    std::vector<std::pair<int, std::string>> lines;
    for (const auto &e : r.imported)
        if (e.cut)
            lines.push_back({e.line, text(parent, "cut", {std::to_string(e.code)})});
    for (const auto &e : r.skipped)
        lines.push_back({e.line, reasonText(parent, e)});
    std::stable_sort(lines.begin(), lines.end(), [](auto &a, auto &b) { return a.first < b.first; });
    for (std::size_t i = 0; i < lines.size() && i < ShownLines; ++i)
        s += "\n" + text(parent, "line", {std::to_string(lines[i].first), lines[i].second});
    if (lines.size() > ShownLines)
        s += "\n" + text(parent, "more", {std::to_string(lines.size() - ShownLines)});
    return s;
}

bool readWhole(FILE *fp, std::string &bytes)
{
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, fp)) > 0)
        bytes.append(buffer, n);
    return !std::ferror(fp);
}

phonebook::ImportResult importInto(std::vector<unsigned char> &copy, const std::string &bytes, bool replace)
{
    copy.assign(all, all + rec::RecordSize);
    phonebook::ImportOptions options;
    options.replace = replace;
    options.ownCountry = ownCountryCode();
    return phonebook::importAddressBook(bytes, phonebook::tablesOfRecord(copy.data()), options);
}

} // namespace

std::string ownCountryCode()
{
    if (recInt(rec::CfgValid) == 0)
        return "49";
    const char *lkz = recText(rec::AnlDatList + 40);
    std::string code(lkz, strnlen(lkz, 7));
    bool digits = !code.empty() && code.find_first_not_of("0123456789") == std::string::npos;
    return digits ? code : "49";
}

bool importSpeedDial(Widget parent)
{
    XmtFileChoice choice;
    if (!XmtChooseFile(parent, "import_dlg", "Adressbuch importieren:", DefaultFilesDir, "*.[cv][sc][vf]", False,
                       "", "", "", "No Help!", &choice))
        return false;
    std::string bytes;
    bool read = isNormalFile(choice.stream) && readWhole(choice.stream, bytes);
    std::fclose(choice.stream);
    if (!read)
        return false;

    // Into a copy first: the record changes only when the user has said
    // whether occupied entries go.
    std::vector<unsigned char> copy;
    phonebook::ImportResult result = importInto(copy, bytes, false);
    long occupied = std::count_if(result.skipped.begin(), result.skipped.end(), [](const auto &s) {
        return s.reason == phonebook::SkipReason::Occupied;
    });
    if (occupied > 0 &&
        XmtDisplayWarningAndAskf(parent, "phonebookReplace",
                                 "%ld Einträge haben Kurzwahlen, die schon belegt sind.\n"
                                 "Sollen sie überschrieben werden?",
                                 False, "No Help!", occupied))
        result = importInto(copy, bytes, true);

    bool changed = !result.imported.empty();
    if (changed) {
        std::memcpy(all + rec::KwzNumbers, copy.data() + rec::KwzNumbers, phonebook::TablesSize);
        incRecInt(rec::KwzChanges);
    }
    XmtDisplayInformationMsg(parent, Summary, "%s", "Adressbuch importieren", "No Help!",
                             summaryOf(parent, result).c_str());
    return changed;
}

bool exportSpeedDial(Widget parent)
{
    XmtFileChoice choice;
    if (!XmtChooseFile(parent, "export_dlg", "Adressbuch exportieren:", DefaultFilesDir, "*.csv", True, "", "", "",
                       "No Help!", &choice))
        return false;
    const std::string &path = choice.path;
    bool vcard = path.size() >= 4 && strcasecmp(path.c_str() + path.size() - 4, ".vcf") == 0;
    phonebook::ConstTables tables(all + rec::KwzNumbers, phonebook::TablesSize);
    std::string bytes = vcard ? phonebook::exportVCard(tables) : phonebook::exportCsv(tables);
    return toldWrite(parent, path.c_str(), writeFileAtomically(path.c_str(), [&bytes](FILE *fp) {
                         return std::fwrite(bytes.data(), 1, bytes.size(), fp) == bytes.size();
                     }));
}
