// The speed-dial directory and the user's address book: import from CSV,
// vCard, LDIF and the XML phone book of home routers, export to CSV and
// vCard.  Works on the directory's two tables wherever they
// are (the record, a speed-dial file's image), so that the dialog and a
// command-line tool share it; needs no X.
#pragma once

#include "config/record.h"
#include "phonebook/encoding.h"

#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace phonebook {

constexpr int SlotCount = rec::KwzCount;
constexpr int FirstCode = 100; // of slot 0
constexpr std::size_t NameMax = rec::KwzNameSize - 2;   // 37, as the entry editor takes a name
constexpr std::size_t NumberMax = rec::KwzNumberSize - 1; // 24 digits

// The number table and the name table, as they follow each other in the
// record and in a speed-dial file.
constexpr std::size_t TablesSize = rec::NahBerList - rec::KwzNumbers;
using Tables = std::span<unsigned char, TablesSize>;
using ConstTables = std::span<const unsigned char, TablesSize>;

// The tables of a record of rec::RecordSize bytes, and of a speed-dial file's
// image (rec::KwzSizeInFile bytes from its mark on).
inline Tables tablesOfRecord(unsigned char *record) { return Tables(record + rec::KwzNumbers, TablesSize); }
inline Tables tablesOfFile(unsigned char *image)
{
    return Tables(image + (rec::KwzNumbers - rec::KwzHeader), TablesSize);
}

// A slot is occupied when its number is not empty.
bool occupied(ConstTables tables, int slot);
// Name and number of a slot (ISO 8859-1): up to the first zero byte, never
// beyond the slot.
std::string nameOf(ConstTables tables, int slot);
std::string numberOf(ConstTables tables, int slot);
// Stores an entry as the entry editor does: the name with its zero byte (the
// bytes after it stay), the number into a slot whose first 24 bytes were
// cleared.  name has at most NameMax bytes, number at most NumberMax digits.
void storeEntry(Tables tables, int slot, std::string_view name, std::string_view number);

// A number from an address book as a telephone behind the PBX dials it: its
// digits only; a leading "+" and country code become "00" and the code, or
// "0" for the PBX's own country (digits, "" for none).  The national trunk 0
// written after the country code goes however it was written ("(0)",
// "(030)", "0157"), except for the countries that dial it (Italy, San
// Marino).  "00" and the country code count as "+" and the code when the
// trunk 0 follows the code standing apart ("0049 (0)711", "0049 0711").  An
// extension ("ext. 7", "x7", ";ext=7") is left off; a German
// Durchwahl after a dash is part of the number.  May be empty or longer than
// NumberMax.
std::string directoryNumber(std::string_view text, std::string_view ownCountry);
// The length of the country code that digits (without "+" or "00") begin
// with, 0 when they are too short to tell.
std::size_t countryCodeLength(std::string_view digits);
// text has the digits of a number in the own country whose leading 0 is
// gone, as a spreadsheet makes of it: 9 to 13 digits, the first not 0.
bool looksLikeLostZero(std::string_view text, std::string_view ownCountry);
// A number of the directory in a form spreadsheets keep as text and
// directoryNumber turns back into the same digits: "+49 1701234567" for
// 01701234567 in the own country 49, "+44 2079460958" for 00442079460958.
std::string textSafeNumber(std::string_view digits, std::string_view ownCountry);

enum class Format { Csv, VCard, Ldif, Xml, Unknown };
// Of text in UTF-8 (without its mark): a vCard when the first line that is
// not blank begins a card, LDIF when it begins "dn:" or "version:", XML when
// it begins "<", CSV when it has a comma, semicolon or tab; blank text is
// CSV.  Unknown otherwise, or when text holds a zero byte.
Format formatOf(std::string_view text);

// Address books larger than this are refused before they are read.
constexpr std::size_t MaxBookSize = std::size_t(16) << 20;

struct ImportOptions {
    bool replace = false;             // entries with a code may overwrite occupied slots
    std::string ownCountry = "49";    // the PBX's country code (Landesvorw.)
    bool withFax = false;             // fax numbers too, named "<name> (Fax)"
    // CSV columns chosen by their header names instead of being recognised;
    // several name columns are joined with blanks.
    std::vector<std::string> nameColumns = {}, numberColumns = {};
};

constexpr std::string_view FaxLabel = " (Fax)";

enum class SkipReason {
    EmptyNumber,    // no digits (a card without TEL too)
    NumberTooLong,  // more than NumberMax digits
    DuplicateCode,  // an earlier entry of this import took the code
    Occupied,       // the code's slot holds an entry and replace is off
    DirectoryFull,  // no free slot left for an entry without code
    AlreadyThere,   // the directory (or an earlier line) holds this name and
                    // number: in any slot for an entry without code, in its
                    // own slot for one with a code; a book imported twice adds
                    // nothing and asks nothing
    OnlyFax,        // fax numbers only, and withFax is off
};

struct ImportedEntry {
    int line = 0;              // in the input, from 1
    int code = 0;              // where it went
    std::string name;          // ISO 8859-1, as stored
    std::string number;        // as stored
    bool cut = false;          // the name was longer than NameMax
    bool approximated = false; // characters of the name were replaced (see utf8ToLatin1)
    bool replaced = false;     // an occupied slot was overwritten
};

struct SkippedEntry {
    int line = 0;
    SkipReason reason{};
    std::string name;      // ISO 8859-1, cut as it would have been stored
    std::string number;    // digits as converted
    std::string code;      // ISO 8859-1 as the input gave it, "" for none; AlreadyThere: where it stands
    int earlierLine = 0;   // DuplicateCode: the entry that has the code
};

// Imported, but worth a look.
enum class NoticeKind {
    LostZero,      // number: a national number without its 0 (see looksLikeLostZero)
    UnclosedQuote, // CSV: a quote no quote closes, read as a character
    CodeIgnored,   // a code that is no number from 100 to 299: the entry went to a free slot
};
struct Notice {
    int line = 0;
    NoticeKind kind{};
    std::string name, number; // LostZero, CodeIgnored: ISO 8859-1 and as stored
    std::string code = {};    // CodeIgnored: ISO 8859-1 as the input gave it
    int storedAt = 0;         // CodeIgnored: the code it went to instead
};

// Why nothing was imported although the file is not blank.
enum class Trouble {
    Clear,          // read as an address book (blank files too)
    NoFormat,       // neither CSV nor vCard, LDIF or XML
    NoEntries,      // the format was found, but no contact in it
    ColumnsUnknown, // CSV: no header names a name and a number, nor do the lines read as code, name, number
    ColumnMissing,  // CSV: a column named in the options is not in the header
    BrokenXml,      // not well-formed
    NoPhoneBook,    // XML, but no contact of a phone book in it
};

struct ImportResult {
    Format format{};
    Encoding encoding = Encoding::Utf8;
    char separator = 0;  // CSV: ',', ';' or '\t'
    int headerLine = 0;  // CSV: the header line passed over, 0 for none
    int contacts = 0;    // rows, cards or entries read (each gives entries or skips)
    std::vector<ImportedEntry> imported; // by input line
    std::vector<SkippedEntry> skipped;   // by input line
    std::vector<Notice> notices;         // by input line
    Trouble trouble = Trouble::Clear;     // then nothing is imported
    std::vector<std::string> header;     // ColumnsUnknown, ColumnMissing: the first line's fields, ISO 8859-1
    std::string missingColumn;           // ColumnMissing: the one not found, ISO 8859-1
    std::string xmlRoot;                 // NoPhoneBook: the document element, ISO 8859-1
    int errorLine = 0;                   // BrokenXml: where, and what the parser said
    std::string error;
    std::string declaredEncoding;        // XML: as its declaration names it, "" for none
    int cutCount() const;
};

// Entries with a code go to their slot, then the others fill free slots from
// slot 0 on, each in input order; an entry whose code is out of range goes
// to a free slot too.  Nothing outside the tables is touched and only slots
// of imported entries change.  Each takes the bytes of a file and tells
// their encoding first (encodingOf).
ImportResult importCsv(std::string_view bytes, Tables tables, const ImportOptions &options = {});
ImportResult importVCard(std::string_view bytes, Tables tables, const ImportOptions &options = {});
ImportResult importLdif(std::string_view bytes, Tables tables, const ImportOptions &options = {});
ImportResult importXml(std::string_view bytes, Tables tables, const ImportOptions &options = {});
// By formatOf; a file that is not blank and gives no contact changes nothing
// and says why (Trouble).
ImportResult importAddressBook(std::string_view bytes, Tables tables, const ImportOptions &options = {});

// Every occupied slot, names in UTF-8.  CSV: a byte order mark (spreadsheets
// need it to see UTF-8), the header line, then code;name;number with the
// number as textSafeNumber writes it, CR LF line ends.  vCard 3.0: FN, N as
// family;given ("Last, First" or "First Last"), TEL;TYPE=voice and the code
// (vcard::CodeProperty), CR LF.
std::string exportCsv(ConstTables tables, std::string_view ownCountry = "49");
std::string exportVCard(ConstTables tables);

// What a summary of an import says, line by line: the counts, what the file
// was read as (format, encoding, separator, header), then a line for each
// entry that was cut, skipped or is worth a look (by input line), then what
// was not recognised.  line(which) gives the text of that
// name with %1, %2 ... in it (the resource lines "*phonebookImport.<which>").
std::vector<std::string> summaryLines(const ImportResult &result,
                                      const std::function<std::string(const char *which)> &line);

enum class BookRead { Read, TooBig, Failed };
// An address book's bytes, at most MaxBookSize: a regular file larger than
// that is refused before reading, from anything else at most MaxBookSize + 1
// bytes are read.
BookRead readBook(FILE *fp, std::string &bytes);

} // namespace phonebook
