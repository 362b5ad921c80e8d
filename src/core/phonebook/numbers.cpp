// Telephone numbers between the way people write them and the digits a
// telephone behind the PBX dials.
#include "phonebook/phonebook.h"

#include <algorithm>
#include <cctype>

namespace phonebook {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string digitsOf(std::string_view s)
{
    std::string out;
    std::copy_if(s.begin(), s.end(), std::back_inserter(out), isDigit);
    return out;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Where an extension begins ("ext. 7", "x7", ";ext=7", "extension 7"), npos
// for none.  Only after the number has begun, so "Tel.: +49 ..." is no cut.
std::size_t extensionAt(std::string_view text)
{
    bool digitSeen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (isDigit(c)) {
            digitSeen = true;
            continue;
        }
        if (!digitSeen)
            continue;
        if (c == ';')
            return i;
        if (!std::isalpha(static_cast<unsigned char>(c)))
            continue;
        std::size_t end = i;
        std::string word;
        while (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end])))
            word += lower(text[end++]);
        if (word == "x" || word == "ext" || word == "extension")
            return i;
        i = end - 1;
    }
    return std::string_view::npos;
}

// Countries whose numbers begin with a 0 that is dialled from abroad too.
bool keepsTrunkZero(std::string_view country) { return country == "39" || country == "378"; }

// "00", the country code standing apart and the trunk 0 after it, written
// out or in brackets: "0049 (0)711", "00 44 020", "0049-0711".  Numbers
// with the code run into the rest ("0049711", "00 440201") keep their digits.
bool trunkZeroAfterDoubleZero(std::string_view text)
{
    std::size_t at = text.find_first_of("0123456789");
    if (at == std::string_view::npos || text.substr(at, 2) != "00")
        return false;
    auto skipSeparators = [&text](std::size_t i, std::string_view separators) {
        while (i < text.size() && separators.find(text[i]) != std::string_view::npos)
            ++i;
        return i;
    };
    std::size_t from = skipSeparators(at + 2, " -./"), to = from;
    while (to < text.size() && isDigit(text[to]))
        ++to;
    std::string_view country = text.substr(from, to - from);
    if (country.empty() || country[0] == '0' || countryCodeLength(digitsOf(text.substr(from))) != country.size())
        return false;
    std::size_t next = skipSeparators(to, " -./(");
    return to < text.size() && !isDigit(text[to]) && next < text.size() && text[next] == '0';
}

} // namespace

std::size_t countryCodeLength(std::string_view digits)
{
    if (digits.empty())
        return 0;
    char a = digits[0];
    if (a == '1' || a == '7')
        return 1;
    if (digits.size() < 2)
        return 0;
    char b = digits[1];
    std::string_view two = "20 27 30 31 32 33 34 36 39 40 41 43 44 45 46 47 48 49 51 52 53 54 55 56 57 58 "
                           "60 61 62 63 64 65 66 81 82 84 86 90 91 92 93 94 95 98";
    std::string pair{a, b};
    if (two.find(pair) != std::string_view::npos && two.find(pair) % 3 == 0)
        return 2;
    return digits.size() >= 3 ? 3 : 0;
}

std::string directoryNumber(std::string_view text, std::string_view ownCountry)
{
    text = text.substr(0, extensionAt(text));
    std::size_t first = text.find_first_of("+0123456789");
    bool international = first != std::string_view::npos && (text[first] == '+' || trunkZeroAfterDoubleZero(text));
    std::string digits = digitsOf(text);
    if (!international || digits.empty())
        return digits;
    if (text[first] != '+')
        digits.erase(0, 2);
    std::string own = digitsOf(ownCountry);
    bool home = !own.empty() && digits.starts_with(own);
    std::size_t ccLength = home ? own.size() : countryCodeLength(digits);
    if (ccLength == 0)
        return "00" + digits;
    std::string country = digits.substr(0, ccLength), rest = digits.substr(ccLength);
    // The national trunk 0, however it was written: "(0)", "(030)", "0157".
    if (!rest.empty() && rest[0] == '0' && !keepsTrunkZero(country))
        rest.erase(0, 1);
    if (!home)
        return "00" + country + rest;
    if (rest.empty())
        return "";
    return keepsTrunkZero(country) ? rest : "0" + rest;
}

bool looksLikeLostZero(std::string_view text, std::string_view ownCountry)
{
    text = text.substr(0, extensionAt(text));
    std::size_t first = text.find_first_of("+0123456789");
    if (first == std::string_view::npos || text[first] == '+')
        return false;
    std::string digits = digitsOf(text);
    // Nine digits and more are no local number without an area code, and more
    // than 13 no national number at all.
    return digits.size() >= 9 && digits.size() <= 13 && digits[0] != '0' && !keepsTrunkZero(digitsOf(ownCountry));
}

std::string textSafeNumber(std::string_view digits, std::string_view ownCountry)
{
    std::string own = digitsOf(ownCountry);
    std::size_t zeros = digits.find_first_not_of('0');
    if (zeros == 0 || zeros == std::string_view::npos)
        return std::string(digits); // a spreadsheet has nothing to drop
    std::string_view national = digits.substr(1);
    if (zeros == 1 && !own.empty())
        return "+" + own + " " + std::string(keepsTrunkZero(own) ? digits : national);
    if (zeros == 2) {
        std::string_view abroad = digits.substr(2);
        std::size_t cc = countryCodeLength(abroad);
        std::string country(abroad.substr(0, cc));
        std::string_view rest = abroad.substr(cc);
        bool home = !own.empty() && abroad.starts_with(own);
        if (cc > 0 && !home && !rest.empty() && (rest[0] != '0' || keepsTrunkZero(country)))
            return "+" + country + " " + std::string(rest);
    }
    // Whatever the import would read otherwise: a blank keeps it text.
    return std::string(digits.substr(0, zeros)) + " " + std::string(digits.substr(zeros));
}

} // namespace phonebook
