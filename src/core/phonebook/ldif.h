// LDIF, as mail programs export their address books: a name and the telephone
// numbers of each entry.
#pragma once

#include "phonebook/card.h"

#include <string_view>
#include <vector>

namespace phonebook::ldif {

// The first line that is neither blank nor a comment begins "dn:" or
// "version:".
bool looksLikeLdif(std::string_view text);

// The entries of an LDIF text (UTF-8): folded lines unfolded, base64 values
// ("attr:: ...") decoded, comments passed over.  The name is given name and
// surname where both are there, else cn, else either of them, else the
// organisation; numbers from telephoneNumber, homePhone, mobile and
// facsimileTelephoneNumber (a fax), pagers left out.  An entry's line is its
// dn's.
std::vector<Card> read(std::string_view text);

} // namespace phonebook::ldif
