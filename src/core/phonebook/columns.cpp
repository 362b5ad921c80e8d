#include "phonebook/columns.h"

#include "phonebook/latin1.h"

#include <algorithm>
#include <array>

namespace phonebook::columns {

namespace {

// Header names are UTF-8 here, whatever the file was: those with umlauts are
// written as bytes.  "_" counts as a blank (FULL_NAME).
std::string normalised(std::string_view s)
{
    std::string out(trimmed(s));
    for (char &c : out)
        c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c == '_' ? ' ' : c;
    return out;
}

bool contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

enum class Kind {
    Display, Title, Given, Middle, Family, Suffix, Company, JobTitle, Code,
    Mobile, Home, Work, Main, Other, // numbers to call
    Fax, Pager, NoNumber,            // numbers not to call, or no telephone at all
};

struct Known {
    std::string_view header; // normalised
    Kind kind;
};

// The header names of the common exporters.  A name several of them write
// stands at the first.  Display names go by preference, in this order.
constexpr Known KnownHeaders[] = {
    {"name", Kind::Display},                             // Google (old), hand-made sheets
    {"display name", Kind::Display},                     // Thunderbird
    {"anzeigename", Kind::Display},                      // Thunderbird, German
    {"full name", Kind::Display},                        // Evolution (FULL_NAME)
    {"formatted name", Kind::Display},                   // KAddressBook
    {"formatierter name", Kind::Display},                // KAddressBook, German
    {"vollst\xC3\xA4ndiger name", Kind::Display},        // hand-made sheets
    {"file as", Kind::Display},                          // Outlook, Google, Evolution (FILE_AS)
    {"speichern unter", Kind::Display},                  // Outlook, German
    {"title", Kind::Title},                              // Outlook (Mr., Dr.); Yahoo, KAddressBook: a job title
    {"anrede", Kind::Title},                             // Outlook, German (Frau, Herr, Dr.)
    {"titel", Kind::Title},                              // hand-made sheets
    {"name prefix", Kind::Title},                        // Google
    {"honorific prefixes", Kind::Title},                 // KAddressBook
    {"first name", Kind::Given},                         // Outlook, Thunderbird, Google
    {"first", Kind::Given},                              // Yahoo
    {"given name", Kind::Given},                         // Google, Evolution (GIVEN_NAME), KAddressBook
    {"firstname", Kind::Given},                          // hand-made sheets
    {"vorname", Kind::Given},                            // Outlook, Thunderbird, KAddressBook, German
    {"middle name", Kind::Middle},                       // Outlook, Google
    {"middle", Kind::Middle},                            // Yahoo
    {"additional name", Kind::Middle},                   // Google
    {"additional names", Kind::Middle},                  // KAddressBook
    {"weitere vornamen", Kind::Middle},                  // Outlook, German
    {"zweiter vorname", Kind::Middle},                   // hand-made sheets
    {"last name", Kind::Family},                         // Outlook, Thunderbird, Google
    {"last", Kind::Family},                              // Yahoo
    {"family name", Kind::Family},                       // Google, Evolution (FAMILY_NAME), KAddressBook
    {"surname", Kind::Family},                           // hand-made sheets
    {"lastname", Kind::Family},                          // hand-made sheets
    {"nachname", Kind::Family},                          // Outlook, Thunderbird, German
    {"familienname", Kind::Family},                      // KAddressBook, German
    {"suffix", Kind::Suffix},                            // Outlook
    {"name suffix", Kind::Suffix},                       // Google
    {"honorific suffixes", Kind::Suffix},                // KAddressBook
    {"namenszusatz", Kind::Suffix},                      // hand-made sheets
    {"company", Kind::Company},                          // Outlook, Yahoo
    {"firma", Kind::Company},                            // Outlook, German
    {"organization", Kind::Company},                     // Thunderbird, KAddressBook
    {"organisation", Kind::Company},                     // Thunderbird, KAddressBook, German
    {"organization name", Kind::Company},                // Google
    {"organization 1 - name", Kind::Company},            // Google
    {"org", Kind::Company},                              // Evolution (ORG)
    {"unternehmen", Kind::Company},                      // hand-made sheets
    {"company name", Kind::Company},                     // hand-made sheets
    {"job title", Kind::JobTitle},                       // Outlook, Thunderbird
    {"position", Kind::JobTitle},                        // Outlook, German
    {"arbeitstitel", Kind::JobTitle},                    // Thunderbird, German
    {"organization title", Kind::JobTitle},              // Google
    {"organization 1 - title", Kind::JobTitle},          // Google
    {"role", Kind::JobTitle},                            // KAddressBook, Evolution (ROLE)
    {"kurzwahl", Kind::Code},                            // this program's export, hand-made sheets
    {"kurzwahl-nr.", Kind::Code},                        // hand-made sheets
    {"kurzwahl-nr", Kind::Code},                         // hand-made sheets
    {"speed dial", Kind::Code},                          // hand-made sheets
    {"speeddial", Kind::Code},                           // hand-made sheets
    {"speed-dial", Kind::Code},                          // hand-made sheets
    {"mobile phone", Kind::Mobile},                      // Outlook, KAddressBook, Evolution (MOBILE_PHONE)
    {"mobile", Kind::Mobile},                            // Yahoo
    {"mobile number", Kind::Mobile},                     // Thunderbird
    {"mobiltelefon", Kind::Mobile},                      // Outlook, KAddressBook, German
    {"mobil-tel.-nr.", Kind::Mobile},                    // Thunderbird, German
    {"handy", Kind::Mobile},                             // hand-made sheets
    {"home phone", Kind::Home},                          // Outlook, Thunderbird, KAddressBook, Evolution
    {"home phone 2", Kind::Home},                        // Outlook, Evolution
    {"home", Kind::Home},                                // Yahoo
    {"telefon privat", Kind::Home},                      // Outlook, KAddressBook, German
    {"telefon privat 2", Kind::Home},                    // Outlook, German
    {"tel. privat", Kind::Home},                         // Thunderbird, German
    {"privat", Kind::Home},                              // hand-made sheets
    {"business phone", Kind::Work},                      // Outlook, KAddressBook, Evolution
    {"business phone 2", Kind::Work},                    // Outlook, Evolution
    {"work phone", Kind::Work},                          // Thunderbird
    {"work", Kind::Work},                                // Yahoo
    {"telefon gesch\xC3\xA4" "ftlich", Kind::Work},      // Outlook, KAddressBook, German
    {"telefon gesch\xC3\xA4" "ftlich 2", Kind::Work},    // Outlook, German
    {"tel. dienstlich", Kind::Work},                     // Thunderbird, German
    {"gesch\xC3\xA4" "ftlich", Kind::Work},              // hand-made sheets
    {"primary phone", Kind::Main},                       // Outlook, Evolution
    {"company main phone", Kind::Main},                  // Outlook
    {"company phone", Kind::Main},                       // Evolution (COMPANY_PHONE)
    {"haupttelefon", Kind::Main},                        // Outlook, German
    {"telefon firma", Kind::Main},                       // Outlook, German
    {"main", Kind::Main},                                // hand-made sheets
    {"other phone", Kind::Other},                        // Outlook, Evolution
    {"other", Kind::Other},                              // Yahoo
    {"yahoo phone", Kind::Other},                        // Yahoo
    {"weiteres telefon", Kind::Other},                   // Outlook, German
    {"assistant's phone", Kind::Other},                  // Outlook
    {"assistant phone", Kind::Other},                    // Evolution (ASSISTANT_PHONE)
    {"callback", Kind::Other},                           // Outlook
    {"callback phone", Kind::Other},                     // Evolution
    {"r\xC3\xBC" "ckmeldung", Kind::Other},              // Outlook, German
    {"car phone", Kind::Other},                          // Outlook, KAddressBook, Evolution
    {"autotelefon", Kind::Other},                        // Outlook, KAddressBook, German
    {"radio phone", Kind::Other},                        // Outlook
    {"radio", Kind::Other},                              // Evolution
    {"funkruf", Kind::Other},                            // Outlook, German
    {"isdn", Kind::Other},                               // Outlook, KAddressBook, Evolution
    {"fax", Kind::Fax},                                  // Yahoo, hand-made sheets
    {"business fax", Kind::Fax},                         // Outlook, KAddressBook, Evolution
    {"home fax", Kind::Fax},                             // Outlook, KAddressBook, Evolution
    {"other fax", Kind::Fax},                            // Outlook, Evolution
    {"fax number", Kind::Fax},                           // Thunderbird
    {"fax-nummer", Kind::Fax},                           // Thunderbird, German
    {"fax gesch\xC3\xA4" "ftlich", Kind::Fax},           // Outlook, KAddressBook, German
    {"fax privat", Kind::Fax},                           // Outlook, KAddressBook, German
    {"weiteres fax", Kind::Fax},                         // Outlook, German
    {"pager", Kind::Pager},                              // Outlook, Yahoo, KAddressBook, Evolution
    {"pager number", Kind::Pager},                       // Thunderbird
    {"pager-nummer", Kind::Pager},                       // Thunderbird, German
    {"tty/tdd phone", Kind::NoNumber},                   // Outlook
    {"ttytdd", Kind::NoNumber},                          // Evolution
    {"telefon f\xC3\xBCr h\xC3\xB6rbehinderte", Kind::NoNumber}, // Outlook, German
    {"telex", Kind::NoNumber},                           // Outlook, Evolution
};

const Known *known(std::string_view h)
{
    for (const Known &k : KnownHeaders)
        if (k.header == h)
            return &k;
    return nullptr;
}

// "phone 3 - value" and the like (Google): the 3, else "".
std::string googleIndex(std::string_view h, std::string_view what)
{
    if (!h.starts_with("phone ") || !h.ends_with(what))
        return "";
    std::string_view middle = h.substr(6, h.size() - 6 - what.size());
    if (!middle.ends_with(" - "))
        return "";
    middle.remove_suffix(3);
    bool digits = !middle.empty() && std::all_of(middle.begin(), middle.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits ? std::string(middle) : "";
}

// A header no exporter above writes, as sheets made by hand name their
// number columns ("Telefon", "Tel. Büro", "Mobilnummer", "Fax Praxis").
Kind guessedKind(std::string_view h)
{
    for (std::string_view never : {"phonetic", "pager", "telex", "tty", "mail"})
        if (contains(h, never))
            return Kind::NoNumber;
    if (contains(h, "fax"))
        return Kind::Fax;
    for (std::string_view part : {"phone", "telefon", "tel.", "handy", "mobil", "rufnummer"})
        if (contains(h, part))
            return Kind::Other;
    for (std::string_view whole : {"tel", "nummer", "number"})
        if (h == whole)
            return Kind::Other;
    return Kind::NoNumber;
}

void joinWord(std::string &to, std::string_view word)
{
    word = trimmed(word);
    if (word.empty())
        return;
    if (!to.empty())
        to += ' ';
    to += word;
}

} // namespace

Layout layoutOf(const std::vector<std::string> &header)
{
    Layout layout;
    std::vector<std::pair<std::size_t, std::size_t>> display; // preference, column
    std::size_t plainName = NoColumn;                         // "Name"
    std::vector<std::pair<std::string, std::size_t>> googleTypes;
    auto first = [](std::size_t &into, std::size_t column) {
        if (into == NoColumn)
            into = column;
    };
    for (std::size_t column = 0; column < header.size(); ++column) {
        std::string h = normalised(header[column]);
        if (std::string n = googleIndex(h, "value"); !n.empty()) {
            layout.numbers.push_back({column, false, NoColumn});
            googleTypes.push_back({n, column});
            continue;
        }
        if (!googleIndex(h, "type").empty() || !googleIndex(h, "label").empty())
            continue;
        const Known *k = known(h);
        Kind kind = k ? k->kind : guessedKind(h);
        switch (kind) {
        case Kind::Display:
            display.push_back({std::size_t(k - KnownHeaders), column});
            if (h == "name")
                plainName = column;
            break;
        case Kind::Given: first(layout.given, column); break;
        case Kind::Middle: first(layout.middle, column); break;
        case Kind::Family: first(layout.family, column); break;
        case Kind::Suffix: first(layout.suffix, column); break;
        case Kind::Company: layout.company.push_back(column); break;
        case Kind::Code: first(layout.code, column); break;
        case Kind::Mobile:
        case Kind::Home:
        case Kind::Work:
        case Kind::Main:
        case Kind::Other: layout.numbers.push_back({column, false, NoColumn}); break;
        case Kind::Fax: layout.numbers.push_back({column, true, NoColumn}); break;
        case Kind::Title:
        case Kind::JobTitle:
        case Kind::Pager:
        case Kind::NoNumber: break;
        }
    }
    if (plainName != NoColumn && layout.given != NoColumn && layout.family == NoColumn) {
        layout.family = plainName;
        std::erase_if(display, [plainName](auto &d) { return d.second == plainName; });
    }
    // Each "Phone N - Value" with its "Phone N - Type" (or "- Label").
    for (std::size_t column = 0; column < header.size(); ++column) {
        std::string h = normalised(header[column]);
        std::string n = googleIndex(h, "type");
        if (n.empty())
            n = googleIndex(h, "label");
        for (auto &[index, valueColumn] : googleTypes)
            if (!n.empty() && index == n)
                for (NumberColumn &number : layout.numbers)
                    if (number.column == valueColumn)
                        number.typeColumn = column;
    }
    std::stable_sort(display.begin(), display.end());
    for (auto [preference, column] : display)
        layout.display.push_back(column);
    return layout;
}

std::size_t columnNamed(const std::vector<std::string> &header, std::string_view name)
{
    std::string wanted = normalised(name);
    for (std::size_t column = 0; column < header.size(); ++column)
        if (normalised(header[column]) == wanted)
            return column;
    return NoColumn;
}

Row rowOf(const Layout &layout, const std::vector<std::string> &fields)
{
    // As the reader gave it: a quoted field keeps its blanks.
    auto cell = [&fields](std::size_t column) -> std::string_view {
        return column < fields.size() ? std::string_view(fields[column]) : std::string_view();
    };
    auto given = trimmed(cell(layout.given)), family = trimmed(cell(layout.family));
    auto personal = [&] {
        std::string name;
        for (std::size_t column : {layout.given, layout.middle, layout.family, layout.suffix})
            joinWord(name, cell(column));
        return name;
    };
    Row row;
    for (std::size_t column : layout.chosen)
        joinWord(row.name, cell(column));
    if (row.name.empty() && layout.chosen.empty() && !given.empty() && !family.empty())
        row.name = personal();
    for (std::size_t column : layout.display)
        if (row.name.empty() && layout.chosen.empty())
            row.name = cell(column);
    if (row.name.empty() && layout.chosen.empty())
        row.name = personal();
    for (std::size_t column : layout.company)
        if (row.name.empty() && layout.chosen.empty())
            row.name = cell(column);
    if (layout.code != NoColumn)
        row.code = cell(layout.code);
    for (const NumberColumn &number : layout.numbers) {
        std::string type = normalised(number.typeColumn == NoColumn ? "" : cell(number.typeColumn));
        if (contains(type, "pager"))
            continue;
        bool fax = number.fax || contains(type, "fax");
        // Several values of one kind in one cell, as one exporter writes them.
        std::string_view rest = cell(number.column);
        for (std::size_t at = 0; !rest.empty(); rest.remove_prefix(at == std::string_view::npos ? rest.size() : at + 3)) {
            at = rest.find(":::");
            std::string_view value = trimmed(rest.substr(0, at));
            if (!value.empty())
                row.numbers.push_back({std::string(value), fax});
        }
    }
    return row;
}

} // namespace phonebook::columns
