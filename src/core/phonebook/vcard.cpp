#include "phonebook/vcard.h"

#include "phonebook/latin1.h"

#include <algorithm>
#include <optional>

namespace phonebook::vcard {

namespace {

struct Line {
    int number;
    std::string text;
};

char upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

std::string uppercase(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        c = upper(c);
    return out;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && uppercase(s.substr(0, prefix.size())) == prefix;
}

// Position of the first c outside double quotes, npos when none.
std::size_t findUnquoted(std::string_view s, char c)
{
    bool quoted = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '"')
            quoted = !quoted;
        else if (s[i] == c && !quoted)
            return i;
    }
    return std::string_view::npos;
}

// The pieces of s between the c outside double quotes.
std::vector<std::string_view> unquotedParts(std::string_view s, char c)
{
    std::vector<std::string_view> out;
    for (std::size_t at; (at = findUnquoted(s, c)) != std::string_view::npos; s.remove_prefix(at + 1))
        out.push_back(s.substr(0, at));
    out.push_back(s);
    return out;
}

bool quotedPrintable(std::string_view line)
{
    std::size_t colon = findUnquoted(line, ':');
    return colon != std::string_view::npos &&
           uppercase(line.substr(0, colon)).find("QUOTED-PRINTABLE") != std::string::npos;
}

// Physical lines joined into content lines: a line starting with a blank
// continues the one before, and so does every line after a quoted-printable
// value's soft break ("=" at the end).
std::vector<Line> contentLines(std::string_view text)
{
    std::vector<Line> physical;
    int number = 0;
    for (std::string_view line : linesOf(text)) {
        ++number;
        // Files joined with cat: each brings its byte order mark.
        if (line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
        physical.push_back({number, std::string(line)});
    }
    std::vector<Line> lines;
    for (std::size_t i = 0; i < physical.size(); ++i) {
        const std::string &piece = physical[i].text;
        if (!lines.empty() && !piece.empty() && (piece[0] == ' ' || piece[0] == '\t')) {
            lines.back().text += piece.substr(1);
            continue;
        }
        lines.push_back(physical[i]);
        std::string &joined = lines.back().text;
        bool qp = quotedPrintable(joined);
        while (qp && !joined.empty() && joined.back() == '=' && i + 1 < physical.size()) {
            joined.pop_back();
            joined += physical[++i].text;
        }
    }
    return lines;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = upper(c);
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string decodeQuotedPrintable(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        int high = 0, low = 0;
        if (s[i] == '=' && i + 2 < s.size() && (high = hexDigit(s[i + 1])) >= 0 &&
            (low = hexDigit(s[i + 2])) >= 0) {
            out += char(high << 4 | low);
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string unescaped(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char next = s[++i];
        if (next == 'n' || next == 'N')
            out += '\n';
        else if (next == ',' || next == ';' || next == ':' || next == '\\')
            out += next;
        else
            out += '\\', out += next;
    }
    return out;
}

// The parts of a structured value between unescaped separators, still escaped.
std::vector<std::string_view> parts(std::string_view s, char separator)
{
    std::vector<std::string_view> out;
    std::size_t from = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\')
            ++i;
        else if (s[i] == separator)
            out.push_back(s.substr(from, i - from)), from = i + 1;
    }
    out.push_back(s.substr(from));
    return out;
}

void joinWord(std::string &to, const std::string &word)
{
    if (word.empty())
        return;
    if (!to.empty())
        to += ' ';
    to += word;
}

// A component of N or ORG: its list items joined by blanks.
std::string component(std::string_view s)
{
    std::string out;
    for (std::string_view item : parts(s, ','))
        joinWord(out, unescaped(item));
    return out;
}

std::string nameFromN(std::string_view value)
{
    std::vector<std::string_view> p = parts(value, ';');
    p.resize(5);
    std::string out;
    for (int k : {3, 1, 2, 0, 4})
        joinWord(out, component(p[std::size_t(k)]));
    return out;
}

std::string nameFromOrg(std::string_view value)
{
    std::string out;
    for (std::string_view unit : parts(value, ';'))
        joinWord(out, component(unit));
    return out;
}

struct Property {
    std::string name;  // upper case, without its group
    std::string value; // UTF-8, not yet unescaped
    std::vector<std::string> types; // upper case: TYPE=A,B and 2.1's bare A;B
};

// A content line as its name and decoded value; none for a line without a
// colon or a value in base64 (no name or number comes that way).
std::optional<Property> parse(std::string_view line)
{
    std::size_t colon = findUnquoted(line, ':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    std::string_view raw = line.substr(colon + 1);
    std::vector<std::string_view> head = unquotedParts(line.substr(0, colon), ';');
    Property property;
    std::size_t dot = head[0].rfind('.');
    property.name = uppercase(dot == std::string_view::npos ? head[0] : head[0].substr(dot + 1));
    bool qp = false;
    std::string charset;
    for (std::size_t k = 1; k < head.size(); ++k) {
        std::string_view param = head[k];
        std::size_t eq = param.find('=');
        std::string key = uppercase(eq == std::string_view::npos ? "" : param.substr(0, eq));
        std::string value = uppercase(eq == std::string_view::npos ? param : param.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if ((key == "ENCODING" || key.empty()) && value == "QUOTED-PRINTABLE")
            qp = true;
        else if ((key == "ENCODING" || key.empty()) && (value == "B" || value == "BASE64"))
            return std::nullopt;
        else if (key == "CHARSET")
            charset = value;
        else if (key.empty() || key == "TYPE")
            for (std::string_view type : parts(value, ','))
                property.types.emplace_back(type);
    }
    std::string bytes = qp ? decodeQuotedPrintable(raw) : std::string(raw);
    bool eightBit = !charset.empty() && charset != "UTF-8" && charset != "UTF8";
    property.value = eightBit ? legacyToUtf8(bytes) : anyToUtf8(bytes);
    return property;
}

std::string telNumber(std::string_view value)
{
    if (!startsWithNoCase(value, "TEL:"))
        return std::string(value);
    value.remove_prefix(4);
    return std::string(value.substr(0, value.find(';')));
}

} // namespace

std::vector<Card> read(std::string_view bytes)
{
    std::vector<Card> cards;
    std::optional<Card> card;
    std::string fn, n, org;
    bool haveFn = false;
    int depth = 0;
    for (const Line &line : contentLines(bytes)) {
        std::optional<Property> p = parse(line.text);
        if (!p)
            continue;
        bool vcard = uppercase(trimmed(p->value)) == "VCARD";
        if (p->name == "BEGIN" && vcard) {
            if (depth++ == 0) {
                card = Card{};
                card->line = line.number;
                fn.clear(), n.clear(), org.clear();
                haveFn = false;
            }
            continue;
        }
        if (depth == 0)
            continue;
        if (p->name == "END" && vcard) {
            if (--depth == 0) {
                card->name = !fn.empty() ? fn : !n.empty() ? n : org;
                cards.push_back(std::move(*card));
                card.reset();
            }
            continue;
        }
        if (depth != 1)
            continue;
        if (p->name == "FN" && !haveFn) {
            fn = unescaped(p->value);
            haveFn = true;
        } else if (p->name == "N" && n.empty()) {
            n = nameFromN(p->value);
        } else if (p->name == "ORG" && org.empty()) {
            org = nameFromOrg(p->value);
        } else if (p->name == "TEL") {
            auto is = [&p](const char *type) {
                return std::find(p->types.begin(), p->types.end(), type) != p->types.end();
            };
            // A pager is no number to talk to.
            if (!is("PAGER"))
                card->tels.push_back({line.number, telNumber(p->value), is("FAX")});
        } else if (p->name == CodeProperty && card->codeLine == 0) {
            card->code = p->value;
            card->codeLine = line.number;
        }
    }
    if (card) {
        card->name = !fn.empty() ? fn : !n.empty() ? n : org;
        cards.push_back(std::move(*card));
    }
    return cards;
}

std::string escaped(std::string_view value)
{
    std::string out;
    for (char c : value) {
        if (c == '\\' || c == ',' || c == ';')
            out += '\\', out += c;
        else if (c == '\n')
            out += "\\n";
        else if (static_cast<unsigned char>(c) < 0x20)
            out += ' ';
        else
            out += c;
    }
    return out;
}

void appendLine(std::string &out, std::string_view line)
{
    std::size_t room = 75;
    while (line.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        if (cut == 0) // no character starts in reach: not UTF-8, cut anyway
            cut = room;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        room = 74;
    }
    out.append(line);
    out += "\r\n";
}

} // namespace phonebook::vcard
