// vCards (2.1, 3.0 and 4.0) as far as a telephone directory needs them: a
// name and the telephone numbers of each card.  Written as 3.0.
#pragma once

#include "phonebook/card.h"

#include <string>
#include <string_view>
#include <vector>

namespace phonebook::vcard {

// Our own property: the speed-dial code an exported entry had, so that an
// import puts the entry back where it was.
constexpr std::string_view CodeProperty = "X-KELVORA-SPEEDDIAL";

using Tel = phonebook::Tel;
// name: FN, else N (prefix, given, additional, family, suffix), else ORG; code:
// the value of CodeProperty.
using Card = phonebook::Card;

// The cards of a file.  Folded lines are unfolded, quoted-printable values
// (with their soft line breaks) decoded, and each value converted to UTF-8
// by its CHARSET; without one a value that is not UTF-8 is taken as 8-bit
// text (see anyToUtf8).  Cards inside cards are passed over, a card cut off
// by the end of the file still counts, a byte order mark at the start of a
// line (files joined) is passed over.  Pagers are no numbers.
std::vector<Card> read(std::string_view bytes);

// value as a text value: backslashes, commas and semicolons escaped, a line
// break as \n, other control characters as blanks.
std::string escaped(std::string_view value);

// Appends line with CR LF, folded into lines of at most 75 octets, never
// inside a UTF-8 character (bytes that are no UTF-8 are cut where they fall).
void appendLine(std::string &out, std::string_view line);

} // namespace phonebook::vcard
