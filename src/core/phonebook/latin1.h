// Texts between the user's files (UTF-8, or the 8-bit code page of older
// tools) and the directory's names (ISO 8859-1).
#pragma once

#include <string>
#include <string_view>
#include <vector>


namespace phonebook {

// s without the blanks and tabs at either end.
std::string_view trimmed(std::string_view s);

// The lines of text, each without its LF or CR LF; line k + 1 of the file
// is element k.
std::vector<std::string_view> linesOf(std::string_view text);

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isUtf8(std::string_view bytes);

// ISO 8859-1 bytes as UTF-8, one character each.
std::string latin1ToUtf8(std::string_view latin1);

// Bytes of a file that is not UTF-8.  Such files come from the Windows code
// page far more often than from real ISO 8859-1, so 0x80-0x9F (control codes
// in ISO 8859-1, never meant in a name) are read as its quotes, dashes and
// letters; every other byte is its ISO 8859-1 character.
std::string legacyToUtf8(std::string_view bytes);

// UTF-8 stays as it is; anything else is read as legacyToUtf8 does.
std::string anyToUtf8(std::string_view bytes);

struct Latin1Text {
    std::string text;
    bool approximated = false; // some character was not taken as it was
};

// UTF-8 into ISO 8859-1.  A character ISO 8859-1 lacks becomes its closest
// ASCII letters (Ł -> L, Œ -> OE), a decomposed letter becomes the ISO 8859-1
// letter when there is one, control characters become blanks, invisible ones
// vanish, symbols (emoji, arrows) are dropped with the blank they leave
// doubled, and the letters of other scripts become "?".  Broken UTF-8 gives
// "?" per byte.
Latin1Text utf8ToLatin1(std::string_view utf8);

// An ISO 8859-1 text of the user's file as a message shows it: at most 60
// characters ("..." for the rest), control characters as "?".
std::string shownInMessage(std::string_view latin1);

} // namespace phonebook
