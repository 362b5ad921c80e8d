#include "phonebook/latin1.h"

#include "phonebook/encoding.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace phonebook {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = std::min(text.find('\n', from), text.size());
        std::string_view line = text.substr(from, end - from);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        from = end + 1;
    }
    return lines;
}

namespace {

constexpr char32_t Invalid = 0xFFFFFFFF;

struct Decoded {
    char32_t c;
    std::size_t length;
};

// The character at s[i]; Invalid with length 1 for a byte that starts no
// well-formed sequence.
Decoded decode(std::string_view s, std::size_t i)
{
    auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80)
        return {b0, 1};
    std::size_t n;
    char32_t c, least;
    if ((b0 & 0xE0) == 0xC0) {
        n = 2, c = b0 & 0x1F, least = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3, c = b0 & 0x0F, least = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4, c = b0 & 0x07, least = 0x10000;
    } else {
        return {Invalid, 1};
    }
    if (s.size() - i < n)
        return {Invalid, 1};
    for (std::size_t k = 1; k < n; ++k) {
        auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return {Invalid, 1};
        c = c << 6 | (b & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {Invalid, 1};
    return {c, n};
}

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3F));
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// U+0100-U+017F by their base letter; '*' marks the ligatures of Sparse.
constexpr char ExtendedA[] = "AaAaAaCcCcCcCcDd"
                             "DdEeEeEeEeEeGgGg"
                             "GgGgHhHhIiIiIiIi"
                             "Ii**JjKkkLlLlLlL"
                             "lLlNnNnNnnNnOoOo"
                             "Oo**RrRrRrSsSsSs"
                             "SsTtTtTtUuUuUuUu"
                             "UuUuWwYyYZzZzZzs";
static_assert(sizeof ExtendedA == 0x80 + 1);

struct Closest {
    char32_t c;
    const char *ascii;
};

// Sorted by character.
constexpr Closest Sparse[] = {
    {0x0132, "IJ"}, {0x0133, "ij"}, {0x0152, "OE"}, {0x0153, "oe"}, {0x0192, "f"},  {0x01A0, "O"},  {0x01A1, "o"},
    {0x01AF, "U"},  {0x01B0, "u"},  {0x01CD, "A"},  {0x01CE, "a"},  {0x01CF, "I"},  {0x01D0, "i"},  {0x01D1, "O"},
    {0x01D2, "o"},  {0x01D3, "U"},  {0x01D4, "u"},  {0x0218, "S"},  {0x0219, "s"},  {0x021A, "T"},  {0x021B, "t"},
    {0x02BC, "'"},  {0x02C6, "^"},  {0x02DC, "~"},  {0x1E9E, "SS"}, {0x2010, "-"},  {0x2011, "-"},  {0x2012, "-"},
    {0x2013, "-"},  {0x2014, "-"},  {0x2015, "-"},  {0x2018, "'"},  {0x2019, "'"},  {0x201A, "'"},  {0x201B, "'"},
    {0x201C, "\""}, {0x201D, "\""}, {0x201E, "\""}, {0x201F, "\""}, {0x2026, "..."}, {0x2039, "<"}, {0x203A, ">"},
    {0x20AC, "EUR"}, {0x2122, "TM"}, {0x2212, "-"},
};

// The Vietnamese letters with two marks, in runs of capital and small letter.
struct Run {
    char32_t first, last;
    char base; // capital; the odd characters are the small ones
};
constexpr Run Vietnamese[] = {
    {0x1EA0, 0x1EB7, 'A'}, {0x1EB8, 0x1EC7, 'E'}, {0x1EC8, 0x1ECB, 'I'},
    {0x1ECC, 0x1EE3, 'O'}, {0x1EE4, 0x1EF1, 'U'}, {0x1EF2, 0x1EF9, 'Y'},
};

// The ISO 8859-1 letters U+00C0-U+00DD that are a base letter and one mark:
// Bases[k] with the mark U+0300 + Marks[k]; '-' where there is none.  The
// small letters are 0x20 further up.
constexpr char Bases[] = "AAAAAA-CEEEEIIII-NOOOOO--UUUUY--";
constexpr std::uint8_t Marks[] = {0x00, 0x01, 0x02, 0x03, 0x08, 0x0A, 0, 0x27, 0x00, 0x01, 0x02,
                                  0x08, 0x00, 0x01, 0x02, 0x08, 0,    0x03, 0x00, 0x01, 0x02, 0x03,
                                  0x08, 0,    0,    0x00, 0x01, 0x02, 0x08, 0x01, 0,    0};
static_assert(sizeof Bases == 32 + 1 && sizeof Marks == 32);

// The ISO 8859-1 letter of base and the combining mark, 0 when it has none.
unsigned char composed(unsigned char base, char32_t mark)
{
    if (base == 'y' && mark == 0x0308)
        return 0xFF;
    for (int k = 0; k < 32; ++k) {
        if (Bases[k] == '-' || 0x0300u + Marks[k] != mark)
            continue;
        if (base == static_cast<unsigned char>(Bases[k]))
            return static_cast<unsigned char>(0xC0 + k);
        if (base == static_cast<unsigned char>(Bases[k] + 0x20))
            return static_cast<unsigned char>(0xE0 + k);
    }
    return 0;
}

bool invisible(char32_t c)
{
    return (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || c == 0x2060 || c == 0xFEFF ||
           (c >= 0xFE00 && c <= 0xFE0F);
}

// Pictographs, arrows, dingbats and the like: no letter to stand for them.
bool symbol(char32_t c)
{
    return (c >= 0x2190 && c <= 0x2BFF) || (c >= 0x20D0 && c <= 0x20FF) || (c >= 0x1F000 && c <= 0x1FAFF) ||
           (c >= 0xE000 && c <= 0xF8FF) || c >= 0xE0000 || (c >= 0xFFF0 && c <= 0xFFFF);
}

// Blanks where a dropped symbol stood: at the ends and doubled.
void closeGaps(std::string &text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' || (!out.empty() && out.back() != ' '))
            out += c;
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    text = out;
}

bool wideBlank(char32_t c) { return (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000; }

// The closest ASCII of a character ISO 8859-1 lacks, "" when there is none.
std::string closestAscii(char32_t c)
{
    if (c >= 0x0100 && c <= 0x017F && ExtendedA[c - 0x0100] != '*')
        return std::string(1, ExtendedA[c - 0x0100]);
    auto it = std::lower_bound(std::begin(Sparse), std::end(Sparse), c,
                               [](const Closest &e, char32_t v) { return e.c < v; });
    if (it != std::end(Sparse) && it->c == c)
        return it->ascii;
    for (const Run &run : Vietnamese)
        if (c >= run.first && c <= run.last)
            return std::string(1, char((c - run.first) % 2 ? run.base + 0x20 : run.base));
    if (wideBlank(c))
        return " ";
    return "";
}

} // namespace

bool isUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        Decoded d = decode(bytes, i);
        if (d.c == Invalid)
            return false;
        i += d.length;
    }
    return true;
}

std::string latin1ToUtf8(std::string_view latin1)
{
    std::string out;
    out.reserve(latin1.size() * 2);
    for (char ch : latin1)
        appendUtf8(out, static_cast<unsigned char>(ch));
    return out;
}

std::string legacyToUtf8(std::string_view bytes) { return toUtf8(bytes, Encoding::Windows1252); }

std::string anyToUtf8(std::string_view bytes) { return isUtf8(bytes) ? std::string(bytes) : legacyToUtf8(bytes); }

Latin1Text utf8ToLatin1(std::string_view utf8)
{
    Latin1Text out;
    std::string &text = out.text;
    bool dropped = false;
    for (std::size_t i = 0; i < utf8.size();) {
        Decoded d = decode(utf8, i);
        i += d.length;
        char32_t c = d.c;
        if (c == Invalid) {
            text += '?';
            out.approximated = true;
        } else if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF)) {
            text += char(c);
        } else if (c < 0xA0) {
            text += ' ';
            out.approximated = true;
        } else if (c >= 0x0300 && c <= 0x036F) {
            // A mark after its letter, as some address books store them.
            unsigned char letter = text.empty() ? 0 : static_cast<unsigned char>(text.back());
            if (unsigned char both = composed(letter, c))
                text.back() = char(both);
            else
                out.approximated = true;
        } else if (invisible(c)) {
            out.approximated = true;
        } else {
            std::string ascii = closestAscii(c);
            dropped = dropped || (ascii.empty() && symbol(c));
            text += !ascii.empty() || symbol(c) ? ascii : "?";
            out.approximated = true;
        }
    }
    if (dropped)
        closeGaps(text);
    return out;
}

std::string shownInMessage(std::string_view latin1)
{
    constexpr std::size_t Shown = 60;
    std::string out;
    for (char ch : latin1.substr(0, Shown)) {
        auto b = static_cast<unsigned char>(ch);
        out += b < 0x20 || (b >= 0x7F && b < 0xA0) ? '?' : ch;
    }
    if (latin1.size() > Shown)
        out += "...";
    return out;
}

} // namespace phonebook
