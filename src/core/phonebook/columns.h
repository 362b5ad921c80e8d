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
    std::vector<std::size_t> display;   // a whole name, by preference
    std::vector<std::size_t> nameParts; // title, given, middle, family, suffix: joined by blanks
    std::vector<std::size_t> company;
    std::size_t code = NoColumn;
    std::vector<NumberColumn> numbers;
    // A header that names a number and something to call it.
    bool recognised() const { return !numbers.empty() && (!display.empty() || !nameParts.empty() || !company.empty()); }
};

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

Row rowOf(const Layout &layout, const std::vector<std::string> &fields);

} // namespace phonebook::columns
