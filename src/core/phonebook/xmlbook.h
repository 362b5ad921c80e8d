// The XML phone book common home routers export and take back:
// <phonebooks><phonebook><contact><person><realName>, and in <telephony>
// each <number type="home|mobile|work|fax_work|...">.  Read with expat.
#pragma once

#include "phonebook/card.h"

#include <string>
#include <string_view>
#include <vector>

namespace phonebook::xmlbook {

// The first thing that is not blank is "<".
bool looksLikeXml(std::string_view text);

struct Book {
    std::vector<Card> cards; // a contact each, at the line of its <contact>
    std::string root;        // the document element's name, UTF-8
    std::string declaredEncoding; // as the XML declaration names it, "" for none
    int errorLine = 0;       // not well-formed: where expat stopped, else 0
    std::string error;       // and what it said
};

// The contacts of bytes (the encoding as the XML declaration or the byte order
// mark says; single-byte code pages expat lacks through iconv).  Numbers of
// the types "intern" (the router's own extensions) and "memo" are no numbers
// to dial out; a type with "fax" in it is a fax.  The router's own short
// codes ("quickdial") are not the PBX's and are left alone.
Book read(std::string_view bytes);

} // namespace phonebook::xmlbook
