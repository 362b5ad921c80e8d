// What the phonebook tests share.  Plain literals are ISO 8859-1 (the
// program's texts are), u8 literals UTF-8 (as address books are).
#pragma once

#include <string>
#include <string_view>

inline std::string utf8(std::u8string_view s) { return std::string(s.begin(), s.end()); }
