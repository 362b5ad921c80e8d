// The text set, apply and edit take: lines "LABEL<separator>VALUE", each
// checked and set into a record through assignField.  One path for all three,
// in time linear in the text, whatever the text holds.
#pragma once

#include "fields/assign.h"

#include <string>
#include <string_view>
#include <vector>

struct AssignLine {
    std::string where; // "" for a command-line argument, "NAME:7" for line 7 of a text
    std::string text;  // ISO 8859-1
};

// The lines of a text: "\n" or "\r\n" ends one; blank lines and those that
// start with '#' are left out.  The text's own bytes, not yet converted.
std::vector<AssignLine> textLines(std::string_view text, const std::string &name);

// At most this many messages are told one by one; the rest are counted.
constexpr std::size_t MaxTold = 20;

// A line's field and the value for it.
struct Resolved {
    Target target;
    std::string value;
    std::size_t line; // in the lines given
};

// Finds each line's field.  A control byte in a line, a label that names
// nothing, a field given twice (both lines named) and a value longer than any
// field reads are refused: the messages, none when every line was found.
std::vector<std::string> resolveLines(const std::vector<AssignLine> &lines, const std::string &separator,
                                      const std::vector<FileKind> &kinds, std::vector<Resolved> &resolved);
// Sets the values into record under rules; the messages of those refused.
std::vector<std::string> assignResolved(const std::vector<AssignLine> &lines, const std::vector<Resolved> &resolved,
                                        unsigned char *record, Rules rules);
// Both: the messages, none when every line was taken.
std::vector<std::string> assignLines(const std::vector<AssignLine> &lines, const std::string &separator,
                                     const std::vector<FileKind> &kinds, unsigned char *record, Rules rules);
