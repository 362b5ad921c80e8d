#include "support/calls_model.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace {

std::array<std::uint8_t, 12> packed(const std::string &number)
{
    std::array<std::uint8_t, 12> out;
    out.fill(0xFF);
    if (number == "#9") {
        out[0] = 0x12;
        out[1] = 0xBB;
        return out;
    }
    if (number == "-----")
        return out;
    for (std::size_t i = 0; i < number.size(); i++) {
        auto nibble = std::uint8_t(number[i] - '0');
        std::uint8_t &b = out[i / 2];
        b = i % 2 == 0 ? std::uint8_t(nibble << 4 | 0x0F) : std::uint8_t((b & 0xF0) | nibble);
    }
    return out;
}

// Speed-dial entry j names the number of outgoing call 5 * j; every umlaut and
// the sharp s are among the names, all short enough to print whole.
std::string nameOf(int j)
{
    if (j == 3)
        return "Meier, Anna";
    if (j % 4 == 1)
        return "Jürgen Weiß-Öztürk " + std::to_string(j);
    if (j % 4 == 2)
        return "Ärzte Übelhör Bäck " + std::to_string(j);
    return "Kunde " + std::to_string(j);
}

std::string nameFor(const std::string &number)
{
    if (number == "-----")
        return "Analoger Teilnehmer";
    if (number == "#9")
        return "Privatgespräch";
    for (int j = 0; j < 200; j++)
        if (outgoingCall(5 * j).number == number)
            return nameOf(j);
    return "";
}

std::string who(unsigned code)
{
    char text[8];
    std::snprintf(text, sizeof text, code == 0xAA ? "--" : "%2X", code);
    return text;
}

// Who, when and the number, as both lists' records end.
void putCall(const Call &c, std::uint8_t *at)
{
    const std::uint8_t when[5] = {std::uint8_t(c.who), std::uint8_t(c.month), std::uint8_t(c.day),
                                  std::uint8_t(c.hour), std::uint8_t(c.minute)};
    std::copy(when, when + 5, at);
    auto number = packed(c.number);
    std::copy(number.begin(), number.end(), at + 5);
}

} // namespace

Call outgoingCall(int k)
{
    Call c{unsigned(0x11 + k % 10), unsigned(1 + k % 12), unsigned(1 + k % 28), unsigned(k % 24), unsigned(k % 60),
           "0" + std::to_string(30000000 + 13 * k), std::uint32_t(7 * k + k / 100 * 100000), std::uint16_t(37 * k)};
    if (k % 50 == 49)
        c.number = "#9";
    if (k % 77 == 76)
        c.number = "-----";
    return c;
}

Call incomingCall(int k)
{
    Call c = outgoingCall(999 - 5 * k);
    c.who = k % 7 == 0 ? 0xAA : c.who;
    return c;
}

std::string callNamesFile()
{
    std::string file(13060, '\0');
    std::memcpy(file.data(), "KwDaten", 7);
    for (int j = 0; j < 200; j++) {
        std::string number = outgoingCall(5 * j).number;
        std::string name = nameOf(j);
        std::memcpy(file.data() + 20 + 25 * j, number.data(), number.size());
        std::memcpy(file.data() + 5020 + 39 * j, name.data(), name.size());
    }
    return file;
}

std::string callTextLine(int k, const Call &c, bool out)
{
    char start[64], middle[64] = "", end[128];
    std::snprintf(start, sizeof start, "%04d %s %02u.%02u %02u:%02u", k, who(c.who).c_str(), c.day, c.month, c.hour,
                  c.minute);
    if (out)
        std::snprintf(middle, sizeof middle, " %6.2f %02u:%02u:%02u", c.charge / 100.0, c.seconds / 3600u,
                      c.seconds / 60u % 60u, c.seconds % 60u);
    std::snprintf(end, sizeof end, " %19s %-38s", c.number.c_str(), nameFor(c.number).c_str());
    return std::string(start) + middle + end;
}

std::string callCsvLine(const Call &c)
{
    std::string name = nameFor(c.number);
    if (name.find(',') != std::string::npos)
        name = "\"" + name + "\"";
    char line[256];
    std::snprintf(line, sizeof line, "%s,%02u.%02u,%02u:%02u,%u,%.2f,#%s,%s", who(c.who).c_str(), c.day, c.month,
                  c.hour, c.minute, unsigned(c.seconds), c.charge / 100.0, c.number.c_str(), name.c_str());
    return line;
}

pbxsim::State pbxWithCalls()
{
    pbxsim::State s = pbxsim::defaultState();
    s.outcalls.clear();
    s.incalls.clear();
    for (int k = 0; k < 1000; k++) {
        Call c = outgoingCall(k);
        pbxsim::OutCall r{};
        for (int i = 0; i < 4; i++)
            r[std::size_t(i)] = std::uint8_t(c.charge >> (8 * i));
        r[4] = std::uint8_t(c.seconds);
        r[5] = std::uint8_t(c.seconds >> 8);
        putCall(c, r.data() + 6);
        s.outcalls.push_back(r);
        if (k < 75) {
            pbxsim::InCall q{};
            putCall(incomingCall(k), q.data());
            s.incalls.push_back(q);
        }
    }
    return s;
}
