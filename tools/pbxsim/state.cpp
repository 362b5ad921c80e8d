// The simulator's state: default content and the state file.
#include "pbxsim/pbxsim.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace pbxsim {

namespace {

template <std::size_t N> void putText(std::array<Byte, N> &list, std::size_t at, const char *text)
{
    std::memcpy(list.data() + at, text, std::strlen(text) + 1);
}

void putLe32(Byte *p, std::uint32_t v)
{
    for (int i = 0; i < 4; i++)
        p[i] = Byte(v >> (8 * i));
}

// Digits as the PBX packs them in call records: two per byte, high nibble
// first, 0xF ending the number.
std::array<Byte, 12> packNumber(const char *digits)
{
    std::array<Byte, 12> out;
    out.fill(0xFF);
    for (std::size_t i = 0; digits[i] && i < 24; i++) {
        Byte nibble = Byte(digits[i] - '0');
        Byte &b = out[i / 2];
        b = i % 2 == 0 ? Byte((nibble << 4) | 0x0F) : Byte((b & 0xF0) | nibble);
    }
    return out;
}

OutCall outCall(std::uint32_t charge, std::uint16_t seconds, Byte who, Byte month, Byte day, Byte hour,
                Byte minute, const std::array<Byte, 12> &number)
{
    OutCall c{};
    putLe32(c.data(), charge);
    c[4] = Byte(seconds);
    c[5] = Byte(seconds >> 8);
    c[6] = who;
    c[7] = month;
    c[8] = day;
    c[9] = hour;
    c[10] = minute;
    std::memcpy(c.data() + 11, number.data(), 12);
    return c;
}

InCall inCall(Byte who, Byte month, Byte day, Byte hour, Byte minute, const std::array<Byte, 12> &number)
{
    InCall c{};
    c[0] = who;
    c[1] = month;
    c[2] = day;
    c[3] = hour;
    c[4] = minute;
    std::memcpy(c.data() + 5, number.data(), 12);
    return c;
}

std::string hex(const Byte *p, std::size_t n)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(2 * n);
    for (std::size_t i = 0; i < n; i++) {
        s += digits[p[i] >> 4];
        s += digits[p[i] & 15];
    }
    return s;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The rest of the line as hex into p[0..n); trailing zero bytes may be left out.
bool unhex(std::istringstream &in, Byte *p, std::size_t n, std::string *why)
{
    std::string all, part;
    while (in >> part)
        all += part;
    if (all.size() % 2 != 0) {
        *why = "odd number of hex digits";
        return false;
    }
    if (all.size() / 2 > n) {
        *why = "more than " + std::to_string(n) + " bytes";
        return false;
    }
    std::memset(p, 0, n);
    for (std::size_t i = 0; i < all.size(); i += 2) {
        int hi = hexDigit(all[i]), lo = hexDigit(all[i + 1]);
        if (hi < 0 || lo < 0) {
            *why = "not a hex digit";
            return false;
        }
        p[i / 2] = Byte(hi << 4 | lo);
    }
    return true;
}

bool readIndex(std::istringstream &in, int limit, int *index, std::string *why)
{
    if (!(in >> *index) || *index < 0 || *index >= limit) {
        *why = "index outside 0.." + std::to_string(limit - 1);
        return false;
    }
    return true;
}

} // namespace

uint16_t checksum(const Byte *data, std::size_t count)
{
    uint16_t sum = 0;
    for (std::size_t i = 0; i < count; i++) {
        sum = uint16_t((sum >> 1) | (sum << 15)); // rotate right by one
        sum = uint16_t(sum + data[i]);
    }
    return sum;
}

State emptyState()
{
    State s;
    s.counters.fill(NoCounter);
    return s;
}

State defaultState()
{
    State s = emptyState();

    // Port 1 on the public network with three MSNs, port 2 an internal bus,
    // port 3 unused.
    s.ports[0][0] = 0x92;
    putText(s.ports[0], 25 + 9 * 0, "4711001");
    putText(s.ports[0], 25 + 9 * 1, "4711002");
    putText(s.ports[0], 25 + 9 * 2, "4711003");
    putLe32(s.ports[0].data() + S0TlnOffset + 8 * 0, 0x003); // AB 1, AB 2
    putLe32(s.ports[0].data() + S0TlnOffset + 8 * 1, 0x004); // AB 3
    putLe32(s.ports[0].data() + S0TlnOffset + 8 * 2, 1u << 10);
    s.ports[1][0] = 0x42;

    // Internal numbers: analogue extensions 11..18, door intercoms 31 and 32,
    // three terminals on the internal bus 21..23.
    const char *numbers[] = {"11", "12", "13", "14", "15", "16", "17", "18", "31", "32", "21", "22", "23"};
    for (int i = 0; i < 13; i++)
        putText(s.rufnr, 9 + 3 * std::size_t(i), numbers[i]);
    s.rufnr[99] = 1;     // stand-alone PBX
    s.rufvert[48] = 20;  // call-forwarding delay, seconds
    putText(s.anldat, 40, "49");
    putText(s.anldat, 47, "30");
    s.anldat[78] = 1;    // music on hold: internal
    s.version = "V1.13 vom 12.05.98";

    // Subscriber records: bytes kelvora does not interpret carry a pattern of
    // their own; no wake-up time but for two; a few forwardings and functions.
    for (int i = 0; i < TlnCount; i++) {
        auto &t = s.tln[std::size_t(i)];
        t[0] = Byte(i);
        for (std::size_t k : {1, 2, 3, 4, 5, 10, 11, 20, 21, 50, 60, 100, 110, 121, 123})
            t[k] = Byte(0x30 + i + k);
        t[8] = t[9] = 0xFF;
    }
    auto &ab1 = s.tln[0], &ab2 = s.tln[1], &ab3 = s.tln[2], &bus0 = s.tln[10];
    ab1[6] = 0x01; // call-waiting protection
    ab1[7] = 0x81; // second bell 1, wake-up call
    ab1[8] = 0x45;
    ab1[9] = 0x06; // 06:45
    putText(ab2, 22, "4711002");
    putText(ab2, 72, "01701234567"); // permanent: no ring time
    putText(ab3, 72, "301234567");
    ab3[122] = 15;
    bus0[6] = 0x08; // hotline
    bus0[8] = 0x30;
    bus0[9] = 0x07;

    const char *kwz[][2] = {{"0", "301234567"}, {"1", "8912345"}, {"2", "1701234567"}, {"5", "69987654"},
                            {"17", "221456789"}};
    for (auto &k : kwz)
        std::strcpy(reinterpret_cast<char *>(s.kwz.data()) + std::atoi(k[0]) * KwzSlotSize, k[1]);
    putText(s.nahber, 0, "30");
    putText(s.nahber, 6, "331");
    putText(s.sperrber, 0, "190");
    putText(s.sperrber, 6, "900");

    const std::uint32_t charges[13] = {1234, 0, 56789, std::uint32_t(-50), 0, 12, 0, 0, 0, 0, 230, 0, 1515};
    for (int i = 0; i < 13; i++)
        s.counters[std::size_t(i)] = charges[i];

    const char *called[] = {"301234567", "8912345", "1701234567", "69987654", "221456789", "4012345"};
    for (int k = 0; k < 25; k++) {
        Byte who = Byte(0x11 + k % 4);
        auto number = packNumber(called[k % 6]);
        if (k == 7)
            number[3] = 0xBB; // a private call
        s.outcalls.push_back(outCall(std::uint32_t(12 * (k + 1)), std::uint16_t(45 + 61 * k), who,
                                     Byte(1 + k % 12), Byte(1 + k % 28), Byte(8 + k % 10), Byte(k * 7 % 60),
                                     number));
    }
    for (int k = 0; k < 12; k++) {
        auto number = k == 3 ? packNumber("") : packNumber(called[(k + 2) % 6]);
        if (k == 3)
            number[0] = 0xFF; // an analogue caller without number
        s.incalls.push_back(inCall(k == 5 ? Byte(0xAA) : Byte(0x11 + k % 3), Byte(1 + k % 12), Byte(2 + k),
                                   Byte(9 + k % 9), Byte(k * 5 % 60), number));
    }
    return s;
}

bool saveState(const State &s, const std::string &path, std::string *error)
{
    if (s.version.find_first_of(std::string("\n\0", 2)) != std::string::npos ||
        s.version.size() > std::size_t(VersionMax)) {
        *error = "the version text must be one line of at most 250 bytes";
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    out << "pbxsim-state 1\n";
    out << "ports " << s.port_count << "\n";
    for (int p = 0; p < PortCount; p++)
        out << "port " << p << " " << hex(s.ports[std::size_t(p)].data(), PortBlockSize) << "\n";
    out << "rufnr " << hex(s.rufnr.data(), s.rufnr.size()) << "\n";
    out << "ber " << hex(s.ber.data(), s.ber.size()) << "\n";
    out << "rufvert " << hex(s.rufvert.data(), s.rufvert.size()) << "\n";
    out << "gebkonf " << hex(s.gebkonf.data(), s.gebkonf.size()) << "\n";
    out << "stkon " << hex(s.stkon.data(), s.stkon.size()) << "\n";
    out << "anldat " << hex(s.anldat.data(), s.anldat.size()) << "\n";
    out << "version " << s.version << "\n";
    for (int i = 0; i < TlnCount; i++)
        out << "tln " << i << " " << hex(s.tln[std::size_t(i)].data(), TlnSize) << "\n";
    for (int i = 0; i < KwzSlots; i++) {
        const Byte *slot = s.kwz.data() + i * KwzSlotSize;
        bool empty = true;
        for (int j = 0; j < KwzSlotSize; j++)
            empty = empty && slot[j] == 0;
        if (!empty)
            out << "kwz " << i << " " << hex(slot, KwzSlotSize) << "\n";
    }
    out << "nahber " << hex(s.nahber.data(), s.nahber.size()) << "\n";
    out << "sperrber " << hex(s.sperrber.data(), s.sperrber.size()) << "\n";
    for (int i = 0; i < CounterCount; i++) {
        out << "counter " << i << " ";
        if (s.counters[std::size_t(i)] == NoCounter)
            out << "none\n";
        else
            out << std::int32_t(s.counters[std::size_t(i)]) << "\n";
    }
    for (const OutCall &c : s.outcalls)
        out << "outcall " << hex(c.data(), c.size()) << "\n";
    for (const InCall &c : s.incalls)
        out << "incall " << hex(c.data(), c.size()) << "\n";
    out.flush();
    if (!out) {
        *error = path + ": write failed";
        return false;
    }
    return true;
}

bool loadState(State &result, const std::string &path, std::string *error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    State s = emptyState();
    std::string line, why;
    int lineno = 0;
    bool header = false;
    while (std::getline(in, line)) {
        lineno++;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // Blanks may come before the keyword, and a line may be nothing but blanks.
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#')
            continue;
        std::istringstream words(line.substr(start));
        std::string key;
        words >> key;
        bool ok = true;
        int i = 0;
        if (!header) {
            ok = key == "pbxsim-state" && (words >> i) && i == 1;
            why = "not a pbxsim state file (version 1)";
            header = true;
        } else if (key == "ports") {
            ok = (words >> s.port_count) && s.port_count >= 1 && s.port_count <= 3;
            why = "port count must be 1, 2 or 3";
        } else if (key == "port") {
            ok = readIndex(words, PortCount, &i, &why) &&
                 unhex(words, s.ports[std::size_t(i)].data(), PortBlockSize, &why);
        } else if (key == "rufnr") {
            ok = unhex(words, s.rufnr.data(), s.rufnr.size(), &why);
        } else if (key == "ber") {
            ok = unhex(words, s.ber.data(), s.ber.size(), &why);
        } else if (key == "rufvert") {
            ok = unhex(words, s.rufvert.data(), s.rufvert.size(), &why);
        } else if (key == "gebkonf") {
            ok = unhex(words, s.gebkonf.data(), s.gebkonf.size(), &why);
        } else if (key == "stkon") {
            ok = unhex(words, s.stkon.data(), s.stkon.size(), &why);
        } else if (key == "anldat") {
            ok = unhex(words, s.anldat.data(), s.anldat.size(), &why);
        } else if (key == "version") {
            // The rest of the line after the keyword and one blank; the text's
            // own leading blanks are kept, as saveState wrote them.
            std::size_t text = start + key.size() + 1;
            s.version = text < line.size() ? line.substr(text) : "";
            ok = s.version.size() <= std::size_t(VersionMax) && s.version.find('\0') == std::string::npos;
            why = "version text longer than " + std::to_string(VersionMax) + " bytes";
        } else if (key == "tln") {
            ok = readIndex(words, TlnCount, &i, &why) && unhex(words, s.tln[std::size_t(i)].data(), TlnSize, &why);
        } else if (key == "kwz") {
            ok = readIndex(words, KwzSlots, &i, &why) &&
                 unhex(words, s.kwz.data() + i * KwzSlotSize, KwzSlotSize, &why);
        } else if (key == "nahber") {
            ok = unhex(words, s.nahber.data(), s.nahber.size(), &why);
        } else if (key == "sperrber") {
            ok = unhex(words, s.sperrber.data(), s.sperrber.size(), &why);
        } else if (key == "counter") {
            std::string value;
            ok = readIndex(words, CounterCount, &i, &why) && (words >> value);
            if (ok && value == "none") {
                s.counters[std::size_t(i)] = NoCounter;
            } else if (ok) {
                char *end = nullptr;
                long long v = std::strtoll(value.c_str(), &end, 10);
                ok = *end == '\0' && v >= INT32_MIN && v <= UINT32_MAX;
                why = "counter must be a 32-bit number or none";
                s.counters[std::size_t(i)] = std::uint32_t(v);
            }
        } else if (key == "outcall") {
            OutCall c;
            ok = s.outcalls.size() < std::size_t(MaxOutCalls);
            why = "more than 1000 outgoing call records";
            ok = ok && unhex(words, c.data(), c.size(), &why);
            if (ok)
                s.outcalls.push_back(c);
        } else if (key == "incall") {
            InCall c;
            ok = s.incalls.size() < std::size_t(MaxInCalls);
            why = "more than 75 incoming call records";
            ok = ok && unhex(words, c.data(), c.size(), &why);
            if (ok)
                s.incalls.push_back(c);
        } else {
            ok = false;
            why = "unknown keyword \"" + key + "\"";
        }
        if (!ok) {
            *error = path + ":" + std::to_string(lineno) + ": " + why;
            return false;
        }
    }
    if (!header) {
        *error = path + ": empty file";
        return false;
    }
    result = s;
    return true;
}

} // namespace pbxsim
