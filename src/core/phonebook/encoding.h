// The character encoding of an address book, told by its bytes, and its text
// as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace phonebook {

enum class Encoding {
    Utf8,        // also plain ASCII
    Utf8Mark,    // with its byte order mark
    Utf16Le,     // by its mark FF FE
    Utf16Be,     // by its mark FE FF
    Windows1252, // 8-bit, the default
    MacRoman,    // 8-bit, as old Mac programs write
};

// The name a summary gives it ("UTF-16LE", "Mac Roman").
std::string_view encodingName(Encoding encoding);

// By the byte order mark, else UTF-8 when the bytes are well-formed UTF-8,
// else an 8-bit code page: Mac Roman when its letters explain the bytes
// better than the Windows code page does (see macRomanLikely), else
// Windows-1252.
Encoding encodingOf(std::string_view bytes);

// Mac Roman has its accented letters at 0x80-0x9F, where the Windows code page
// has quotes and dashes: letters on both sides of such a byte, lines ended by
// CR alone, or a byte the Windows code page leaves empty speak for Mac Roman;
// letters at 0xC0-0xFF inside words speak for the Windows code page.
bool macRomanLikely(std::string_view bytes);

// bytes (with any mark) as UTF-8, without the mark.  A byte or a pair of bytes
// the encoding has no character for becomes U+FFFD, except in the Windows code
// page, whose five empty places stay the ISO 8859-1 control characters.
std::string toUtf8(std::string_view bytes, Encoding encoding);

} // namespace phonebook
