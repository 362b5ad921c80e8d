// A contact as the readers of vCard, LDIF and the router's XML phone book give
// it: a name and the numbers to call it on.
#pragma once

#include <string>
#include <vector>

namespace phonebook {

struct Tel {
    int line = 0;      // of the number in the file, from 1
    std::string value; // UTF-8, as written
    bool fax = false;
};

struct Card {
    int line = 0;      // where the contact begins
    std::string name;  // UTF-8
    std::string code;  // a speed-dial code the file gives, "" for none
    int codeLine = 0;
    std::vector<Tel> tels;
};

} // namespace phonebook
