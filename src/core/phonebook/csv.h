// Comma-, semicolon- or tab-separated lines as RFC 4180 has them, read leniently
// (spreadsheets and hand-written files bend the rules) and written strictly.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace phonebook::csv {

struct Record {
    int line = 0; // where the record starts, from 1; a quoted line break makes it span more
    std::vector<std::string> fields;
};

// Of the first line that is not blank, outside quotes: a tab when it has more
// tabs than semicolons and more than commas (a spreadsheet's text export),
// else ';' when it has one, else ','.  Names with commas are common, names
// with semicolons are not.
char separatorOf(std::string_view text);
// That line has any of the three.
bool separated(std::string_view text);

// The records of text.  Line ends are CR LF, LF or CR.  A quoted field may
// hold separators, line breaks and doubled quotes; blanks around it are
// dropped and text after its closing quote is added to it.  An unquoted
// field loses its blanks at both ends (tabs are blanks unless they
// separate).  Blank lines give no record.  A quote that no quote closes
// before the end is taken as a character of an unquoted field, so the lines
// after it are read as lines; its line goes into *unclosedQuotes.
std::vector<Record> read(std::string_view text, char separator, std::vector<int> *unclosedQuotes = nullptr);

// value as a field: quoted when it holds a separator (either), a quote, a line
// break, or blanks at either end (which the reader would drop otherwise).
std::string field(std::string_view value, char separator);

} // namespace phonebook::csv
