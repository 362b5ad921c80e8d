// The columns of an address book's CSV export, told by their header names as
// the common address-book programs write them, in German and English.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace phonebook::columns {

constexpr std::size_t NoColumn = std::size_t(-1);

struct NumberColumn {
    std::size_t column;
    bool fax = false;
    std::size_t typeColumn = NoColumn; // a column saying what the number is ("Phone 1 - Type")
};

struct Layout {
    std::vector<std::size_t> display; // a whole name, by preference
    std::size_t given = NoColumn, middle = NoColumn, family = NoColumn, suffix = NoColumn;
    std::vector<std::size_t> company;
    std::vector<std::size_t> chosen; // the name columns the user chose, joined by blanks
    std::size_t code = NoColumn;     // only a column that says it holds speed-dial codes
    std::vector<NumberColumn> numbers;
    // A header that names a number and something to call it.
    bool recognised() const
    {
        bool named = !display.empty() || given != NoColumn || family != NoColumn || !company.empty();
        return !numbers.empty() && named;
    }
};

// Titles ("Anrede", "Title") and job titles are known but never used: the
// entry is a person or a firm.  A "Name" beside a given-name column and no
// family-name column is the family name, as German sheets have it.
Layout layoutOf(const std::vector<std::string> &header);

// The column of this name (blanks and case aside), NoColumn for none.
std::size_t columnNamed(const std::vector<std::string> &header, std::string_view name);

struct Number {
    std::string value;
    bool fax = false;
};

struct Row {
    std::string name; // UTF-8
    std::string code;
    std::vector<Number> numbers; // pagers left out; several values of one cell split
};

// The name is the chosen columns' if any; else given (and middle) name,
// family name and suffix where given and family name are both there; else
// the display name; else what there is of given and family name; else the
// company.
Row rowOf(const Layout &layout, const std::vector<std::string> &fields);

} // namespace phonebook::columns
