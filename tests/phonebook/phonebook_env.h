// What the phonebook tests share.  Plain literals are ISO 8859-1 (the
// program's texts are), u8 literals UTF-8 (as address books are).
#pragma once

#include "phonebook/phonebook.h"

#include <string>
#include <string_view>
#include <vector>

inline std::string utf8(std::u8string_view s) { return std::string(s.begin(), s.end()); }

// A zeroed record of its own.
struct Directory {
    std::vector<unsigned char> record = std::vector<unsigned char>(rec::RecordSize);

    phonebook::Tables tables() { return phonebook::tablesOfRecord(record.data()); }
    // The 39 bytes of a name slot and the 25 of a number slot, by code.
    std::string nameSlot(int code) const
    {
        return bytesAt(rec::KwzNames + rec::KwzNameSize * std::size_t(code - 100), rec::KwzNameSize);
    }
    std::string numberSlot(int code) const
    {
        return bytesAt(rec::KwzNumbers + rec::KwzNumberSize * std::size_t(code - 100), rec::KwzNumberSize);
    }
    std::string bytesAt(std::size_t offset, std::size_t size) const
    {
        return std::string(reinterpret_cast<const char *>(record.data()) + offset, size);
    }
};

// text followed by zero bytes up to size: a cleared slot after a store.
inline std::string padded(std::string_view text, std::size_t size)
{
    std::string out(text);
    out.resize(size, '\0');
    return out;
}
