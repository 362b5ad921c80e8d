#include "phonebook/ldif.h"

#include "phonebook/latin1.h"

#include <string>

namespace phonebook::ldif {

namespace {

struct Line {
    int number;
    std::string text;
};

std::string lowercase(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    return out;
}

// Physical lines joined: a line beginning with one blank continues the one
// before it.  Comments (with their continuations) go; a blank line stays, as
// it ends an entry.
std::vector<Line> logicalLines(std::string_view text)
{
    std::vector<Line> lines;
    bool comment = false;
    int number = 0;
    for (std::string_view line : linesOf(text)) {
        ++number;
        if (line.starts_with(' ')) {
            if (!comment && !lines.empty())
                lines.back().text.append(line.substr(1));
            continue;
        }
        comment = line.starts_with('#');
        if (!comment)
            lines.push_back({number, std::string(line)});
    }
    return lines;
}

int base64Digit(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    return c == '+' ? 62 : c == '/' ? 63 : -1;
}

// What can be decoded; anything not base64 (blanks, "=") is passed over.
std::string fromBase64(std::string_view s)
{
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : s) {
        int d = base64Digit(c);
        if (d < 0)
            continue;
        bits = bits << 6 | unsigned(d);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += char(bits >> count & 0xFF);
        }
    }
    return out;
}

struct Attribute {
    std::string name; // lower case, without options (";lang-de")
    std::string value; // UTF-8
};

// "name: value", "name:: base64"; a URL value ("name:< ...") or a line
// without a colon gives no name.
Attribute attributeOf(std::string_view line)
{
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return {};
    std::string_view name = line.substr(0, colon), value = line.substr(colon + 1);
    name = name.substr(0, name.find(';'));
    if (value.starts_with('<'))
        return {};
    bool base64 = value.starts_with(':');
    if (base64)
        value.remove_prefix(1);
    std::string text = base64 ? fromBase64(value) : std::string(trimmed(value));
    return {lowercase(trimmed(name)), anyToUtf8(text)};
}

struct Entry {
    Card card;
    std::string given, surname, common, organisation;
};

void finish(Entry &e, std::vector<Card> &cards)
{
    Card &c = e.card;
    if (!e.given.empty() && !e.surname.empty())
        c.name = e.given + " " + e.surname;
    else if (!e.common.empty())
        c.name = e.common;
    else if (!e.given.empty() || !e.surname.empty())
        c.name = e.given + e.surname;
    else
        c.name = e.organisation;
    cards.push_back(std::move(c));
}

} // namespace

bool looksLikeLdif(std::string_view text)
{
    for (const Line &line : logicalLines(text)) {
        std::string_view t = trimmed(line.text);
        if (t.empty())
            continue;
        std::string start = lowercase(t.substr(0, 8));
        return start.starts_with("dn:") || start.starts_with("version:");
    }
    return false;
}

std::vector<Card> read(std::string_view text)
{
    std::vector<Card> cards;
    Entry entry;
    bool open = false;
    for (const Line &line : logicalLines(text)) {
        if (trimmed(line.text).empty()) {
            if (open)
                finish(entry, cards);
            open = false;
            continue;
        }
        Attribute a = attributeOf(line.text);
        if (a.name == "dn") {
            if (open)
                finish(entry, cards);
            entry = Entry{};
            entry.card.line = line.number;
            open = true;
            continue;
        }
        if (!open || a.value.empty())
            continue;
        if (a.name == "givenname")
            entry.given = a.value;
        else if (a.name == "sn" || a.name == "surname")
            entry.surname = a.value;
        else if (a.name == "cn" || a.name == "commonname")
            entry.common = a.value;
        else if (a.name == "o")
            entry.organisation = a.value;
        else if (a.name == "telephonenumber" || a.name == "homephone" || a.name == "mobile")
            entry.card.tels.push_back({line.number, a.value, false});
        else if (a.name == "facsimiletelephonenumber")
            entry.card.tels.push_back({line.number, a.value, true});
    }
    if (open)
        finish(entry, cards);
    return cards;
}

} // namespace phonebook::ldif
