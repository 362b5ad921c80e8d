#include "speeddial/kwzphonebook.h"

#include "config/atomicfile.h"
#include "config/cfgfile.h"
#include "config/record.h"
#include "phonebook/phonebook.h"
#include "resources/fill.h"
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

std::string text(Widget parent, const char *which)
{
    const char *line = XmtGetResourceString(parent, Summary, which);
    return line ? line : which;
}

// At most this many lines of cut and skipped entries; a big address book
// would make the box taller than the screen.
constexpr std::size_t ShownLines = 20;

std::string summaryOf(Widget parent, const phonebook::ImportResult &r)
{
    std::vector<std::string> lines =
        phonebook::summaryLines(r, [parent](const char *which) { return text(parent, which); });
    std::string s = lines[0];
    for (std::size_t i = 1; i < lines.size() && i <= ShownLines; ++i)
        s += "\n" + lines[i];
    if (lines.size() > ShownLines + 1)
        s += "\n" + fillPlaceholders(text(parent, "more"), {std::to_string(lines.size() - 1 - ShownLines)});
    if (r.trouble == phonebook::Trouble::ColumnsUnknown || r.trouble == phonebook::Trouble::ColumnMissing)
        s += "\n" + text(parent, "columnsHint");
    return s;
}

// Whether the import takes fax numbers: the import dialog's check box,
// unchecked at every opening.
bool withFax = false;

phonebook::ImportResult importInto(std::vector<unsigned char> &copy, const std::string &bytes, bool replace)
{
    copy.assign(all, all + rec::RecordSize);
    phonebook::ImportOptions options;
    options.replace = replace;
    options.withFax = withFax;
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
    withFax = false;
    XmtAddFileDialogToggle("import_dlg", "withFax", "Faxnummern übernehmen", &withFax);
    XmtFileChoice choice;
    if (!XmtChooseFile(parent, "import_dlg", "Adressbuch importieren:", DefaultFilesDir, "*", False,
                       "", "", "", "No Help!", &choice))
        return false;
    std::string bytes;
    phonebook::BookRead read = isNormalFile(choice.stream) ? phonebook::readBook(choice.stream, bytes)
                                                           : phonebook::BookRead::Failed;
    std::fclose(choice.stream);
    if (read == phonebook::BookRead::TooBig)
        XmtDisplayErrorMsg(parent, "phonebookTooBig", "Das Adressbuch\n\"%s\"\nist größer als 16 MB und wird nicht gelesen.",
                           "Adressbuch importieren", "No Help!", choice.path.c_str());
    if (read != phonebook::BookRead::Read)
        return false;

    // Into a copy first: the record changes only when the user has said
    // whether occupied entries go.
    std::vector<unsigned char> copy;
    phonebook::ImportResult result = importInto(copy, bytes, false);
    long occupied = std::count_if(result.skipped.begin(), result.skipped.end(), [](const auto &s) {
        return s.reason == phonebook::SkipReason::Occupied;
    });
    if (occupied > 0 &&
        XmtAskIrreversible(parent, "phonebookReplace",
                           "%ld Einträge haben Kurzwahlen, die schon belegt sind.\n"
                           "Sollen sie überschrieben werden?",
                           "No Help!", occupied))
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
    std::string bytes = vcard ? phonebook::exportVCard(tables) : phonebook::exportCsv(tables, ownCountryCode());
    return toldWrite(parent, path.c_str(), writeFileAtomically(path.c_str(), [&bytes](FILE *fp) {
                         return std::fwrite(bytes.data(), 1, bytes.size(), fp) == bytes.size();
                     }));
}
