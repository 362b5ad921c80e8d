// The lists the PBX image travels in.
//
// The image (record bytes 0..rec::PbxImageSize-1) goes to and from the PBX as
// twelve lists.  Each list is one region of the record; reading and writing
// use the same region under different codes, in different orders and often
// with different lengths.
//
// A read asks with the list's read code and index and gets an answer:
//
//   +-------------------+--------------+--------------------------+
//   | header (4 bytes)  | count (1)    | data ...                 |  port lists
//   +-------------------+--------------+--------------------------+
//   +-------------------+-----------------------------------------+
//   | header (4 bytes)  | data ...                                |  all others
//   +-------------------+-----------------------------------------+
//
// The data, from byte dataFrom of the answer, is copied into the region and
// cut to readSize: an answer never reaches the next region.  The count byte
// of the first port answer, less one, is the PBX type (rec::TypeByte).
//
// A write sends writeSize bytes from the start of the region under the write
// code, with writeSub in the sub-code's place (NoSubCode: none):
//
//   +------+---------+-----------------------------------------+
//   | code | sub (1) | writeSize bytes of the region           |
//   +------+---------+-----------------------------------------+
//
// writeSize may be less than readSize:
//   - a port block is 195 bytes; only its first 186 are written;
//   - the S0 subscriber data has 80 bytes of room; 79 are written;
//   - the lists held for two PBXs (numbers, permissions, call distribution,
//     charges, control contacts) are written one PBX's share at a time:
//     the first share, writeSize bytes.
//
// The table below is in the order of the reads; writeStep is the place of
// the list in the order of the writes.  The ROM version is read after all
// lists and is none of them.
#pragma once

#include "config/record.h"
#include "link/protocol.h"

#include <cstddef>
#include <iterator>

struct ConfigList {
    const char *title; // names the read in the trace
    int readCode;
    int readIndex;
    std::size_t dataFrom; // first data byte of the read's answer
    int writeCode;
    int writeSub;
    std::size_t region; // record offset
    std::size_t readSize;
    std::size_t writeSize;
    int writeStep;
};

namespace listsdetail {
constexpr std::size_t port(int p) { return rec::PortBlock0 + rec::PortBlockSize * std::size_t(p); }
constexpr std::size_t s0(int p) { return port(p) + rec::S0TlnInBlock; }
constexpr std::size_t s0Room = rec::PortBlockSize - rec::S0TlnInBlock;
} // namespace listsdetail

// clang-format off
inline constexpr ConfigList configLists[] = {
    // title                   read code                 idx from write code                 sub        region                    read size             write size          write step
    {"K_READ_SO_PORT #0",        K_READ_SO_PORT,           0, 5, K_WRITE_SO_PORT,           0,         listsdetail::port(0),     rec::PortBlockSize,   rec::PortBlockSent, 0},
    {"K_READ_SO_PORT #1",        K_READ_SO_PORT,           1, 5, K_WRITE_SO_PORT,           1,         listsdetail::port(1),     rec::PortBlockSize,   rec::PortBlockSent, 1},
    {"K_READ_SO_PORT #2",        K_READ_SO_PORT,           2, 5, K_WRITE_SO_PORT,           2,         listsdetail::port(2),     rec::PortBlockSize,   rec::PortBlockSent, 2},
    {"K_READ_S0_TLN #0",         K_READ_S0_TLN,            0, 4, K_WRITE_S0_TLN,            0,         listsdetail::s0(0),       listsdetail::s0Room,  rec::S0TlnSize,     5},
    {"K_READ_S0_TLN #1",         K_READ_S0_TLN,            1, 4, K_WRITE_S0_TLN,            1,         listsdetail::s0(1),       listsdetail::s0Room,  rec::S0TlnSize,     6},
    {"K_READ_S0_TLN #2",         K_READ_S0_TLN,            2, 4, K_WRITE_S0_TLN,            2,         listsdetail::s0(2),       listsdetail::s0Room,  rec::S0TlnSize,     7},
    {"K_READ_TLN_RUFNR_LIST",    K_READ_TLN_RUFNR_LIST,    0, 4, K_WRITE_TLN_RUFNR_LIST,    NoSubCode, rec::RufnrList,           rec::RufnrListSize,   rec::RufnrShare,    4},
    {"K_READ_TLN_BER_LIST",      K_READ_TLN_BER_LIST,      0, 4, K_WRITE_TLN_BER_LIST,      NoSubCode, rec::BerList,             rec::BerListSize,     rec::BerShare,      8},
    {"K_READ_TLN_RUF_VERT_LIST", K_READ_TLN_RUF_VERT_LIST, 0, 4, K_WRITE_TLN_RUF_VERT_LIST, NoSubCode, rec::RufVertList,         rec::RufVertListSize, rec::RufVertShare,  9},
    {"K_READ_ST_KON_LIST",       K_READ_ST_KON_LIST,       0, 4, K_WRITE_ST_KON_LIST,       NoSubCode, rec::StKonList,           rec::StKonListSize,   rec::StKonShare,    11},
    {"K_READ_TLN_GEB_KONF_LIST", K_READ_TLN_GEB_KONF_LIST, 0, 4, K_WRITE_TLN_GEB_KONF_LIST, NoSubCode, rec::GebKonfList,         rec::GebKonfListSize, rec::GebKonfShare,  10},
    {"K_READ_ANL_DAT_LIST",      K_READ_ANL_DAT_LIST,      0, 4, K_WRITE_ANL_DAT_LIST,      NoSubCode, rec::AnlDatList,          rec::AnlDatListSize,  rec::AnlDatListSize, 3},
};
// clang-format on

constexpr int ConfigListCount = int(std::size(configLists));

// The list written at step 0..ConfigListCount-1.
constexpr const ConfigList &writtenList(int step)
{
    for (const ConfigList &l : configLists)
        if (l.writeStep == step)
            return l;
    return configLists[0];
}

// The list whose read code is code (index 0), for the regions named by their list.
constexpr const ConfigList &listOfRead(int code)
{
    for (const ConfigList &l : configLists)
        if (l.readCode == code)
            return l;
    return configLists[0];
}

namespace listsdetail {
constexpr bool sound()
{
    for (int s = 0; s < ConfigListCount; s++) {
        int seen = 0;
        for (const ConfigList &l : configLists)
            seen += l.writeStep == s;
        if (seen != 1)
            return false;
    }
    for (const ConfigList &l : configLists)
        if (l.writeSize > l.readSize || l.region + l.readSize > rec::PbxImageSize)
            return false;
    return true;
}
static_assert(sound(), "every list is written once and stays inside the image");
} // namespace listsdetail
