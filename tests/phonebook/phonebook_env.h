// What the phonebook tests share.  Plain literals are ISO 8859-1 (the
// program's texts are), u8 literals UTF-8 (as address books are).
#pragma once

#include <gtest/gtest.h>

#include "phonebook/phonebook.h"

#include <cstring>
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

struct Slot {
    int code;
    std::string name, number; // ISO 8859-1
};

// A zeroed directory in a record whose other bytes are all 0xA5, which an
// import must leave alone.
inline Directory fenced()
{
    Directory d;
    std::memset(d.record.data(), 0xA5, rec::RecordSize);
    std::memset(d.record.data() + rec::KwzNumbers, 0, phonebook::TablesSize);
    return d;
}

// d is fenced() with the slots stored into cleared slots: the text, then zero
// bytes; nothing else changed.
inline void expectSlots(const Directory &d, const std::vector<Slot> &slots, const std::string &what)
{
    Directory want = fenced();
    for (const Slot &s : slots) {
        std::size_t k = std::size_t(s.code - 100);
        std::memcpy(want.record.data() + rec::KwzNames + rec::KwzNameSize * k,
                    padded(s.name, rec::KwzNameSize).data(), rec::KwzNameSize);
        std::memcpy(want.record.data() + rec::KwzNumbers + rec::KwzNumberSize * k,
                    padded(s.number, rec::KwzNumberSize).data(), rec::KwzNumberSize);
    }
    for (const Slot &s : slots) {
        EXPECT_EQ(d.nameSlot(s.code), want.nameSlot(s.code)) << what << ", code " << s.code;
        EXPECT_EQ(d.numberSlot(s.code), want.numberSlot(s.code)) << what << ", code " << s.code;
    }
    EXPECT_TRUE(d.record == want.record) << what << ": bytes beyond the expected slots changed";
}
