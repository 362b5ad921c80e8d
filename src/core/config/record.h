// The configuration record: one flat 19696-byte image shared by the whole program.
//
// Bytes 0-18877 are the PBX's lists exactly as they travel on the line and into
// files, so every offset below is a wire and file format.  Multi-byte values are
// little-endian and go through the helpers at the end of this file.
#pragma once

#include "config/filekind.h"

#include <cstddef>
#include <cstdint>

namespace rec {

constexpr std::size_t RecordSize = 19696;

// ---- PBX image (bytes 0-2097, saved in configuration files) ----
constexpr std::size_t PortAreaA = 0;         // port area of PBX A
constexpr std::size_t PortAreaSize = 586;    // per-PBX share
constexpr std::size_t PortAreaB = 586;
constexpr std::size_t TypeByte = 0;          // highest port index (0..2), +586*n
constexpr std::size_t PortBlock0 = 1;        // port block p at 1 + 195*p
constexpr std::size_t PortBlockSize = 195;
constexpr std::size_t PortBlockSent = 186;   // bytes of a port block sent with code 32
constexpr std::size_t S0TlnInBlock = 115;    // S0 subscriber data inside a port block
constexpr std::size_t S0TlnSize = 79;
constexpr std::size_t MsnInBlock = 25;       // MSN k at block + 25 + 9*k
constexpr std::size_t MsnSize = 9;
constexpr std::size_t MsnCount = 10;
constexpr std::size_t MsnZuordInBlock = 115; // assignment entry k at block + 115 + 8*k
constexpr std::size_t MsnZuordSize = 8;

constexpr std::size_t RufnrList = 1172;      // K_READ_TLN_RUFNR_LIST, 2 x 100
constexpr std::size_t RufnrListSize = 200;
constexpr std::size_t RufnrShare = 100;
constexpr std::size_t HptNumInShare = 0;     // main-PBX number, 9 bytes
constexpr std::size_t HptNumSize = 9;
constexpr std::size_t IntNumInShare = 9;     // internal number k at 9 + 3*k
constexpr std::size_t IntNumSize = 3;
constexpr std::size_t HptTypInShare = 99;    // main-PBX connection type 1..5

constexpr std::size_t BerList = 1372;        // K_READ_TLN_BER_LIST, 2 x 50
constexpr std::size_t BerListSize = 100;
constexpr std::size_t BerShare = 50;
constexpr std::size_t RufVertList = 1472;    // K_READ_TLN_RUF_VERT_LIST, 2 x 50
constexpr std::size_t RufVertListSize = 100;
constexpr std::size_t RufVertShare = 50;
constexpr std::size_t RwsTime = RufVertList + 48; // global forwarding time in seconds, one byte
constexpr std::size_t GebKonfList = 1572;    // K_READ_TLN_GEB_KONF_LIST, 2 x 88
constexpr std::size_t GebKonfListSize = 176;
constexpr std::size_t GebKonfShare = 88;
constexpr std::size_t StKonList = 1748;      // K_READ_ST_KON_LIST, 2 x 119
constexpr std::size_t StKonListSize = 238;
constexpr std::size_t StKonShare = 119;
constexpr std::size_t AnlDatList = 1986;     // K_READ_ANL_DAT_LIST, one PBX
constexpr std::size_t AnlDatListSize = 112;
constexpr std::size_t PbxImageSize = 2098;   // bytes 0-2097

// ---- subscriber records (2098-5817) ----
constexpr std::size_t TlnData = 2098;        // record i at 2098 + 124*i
constexpr std::size_t TlnDataSize = 124;
constexpr int TlnCount = 30;
// Inside a subscriber record.  Byte 0 travels in the sub-code's place.
constexpr std::size_t TlnSent = 1;           // bytes 1-123 go out with code 43
constexpr std::size_t TlnSentSize = 123;
constexpr std::size_t TlnFunc1 = 6;          // function bits of settings1
constexpr std::size_t TlnFunc2 = 7;          // function bits of settings2
constexpr std::size_t TlnWake = 8;           // 16-bit BCD hhmm, 0xFFFF = none
constexpr std::size_t TlnBusyTarget = 22;    // forwarding on busy, 25-byte text
constexpr std::size_t TlnTarget = 72;        // permanent or after the ring time, 25-byte text
constexpr std::size_t TlnTargetSize = 25;
constexpr std::size_t TlnRingTime = 122;     // seconds; 0 = permanent forwarding

// ---- speed dial and prefix lists (5818-18877) ----
constexpr std::size_t KwzHeader = 5818;
constexpr std::size_t KwzHeaderSize = 20;
constexpr std::size_t KwzNumbers = 5838;     // 200 x 25
constexpr std::size_t KwzNumberSize = 25;
constexpr std::size_t KwzNames = 10838;      // 200 x 39
constexpr std::size_t KwzNameSize = 39;
constexpr int KwzCount = 200;
constexpr std::size_t NahBerList = 18638;    // local-area prefixes, 120 bytes
constexpr std::size_t SperrBerList = 18758;  // blocked prefixes, 120 bytes
constexpr std::size_t PrefixListSize = 120;
constexpr std::size_t PrefixSlotSize = 6;    // five digits and a zero byte
constexpr int PrefixCount = 20;
constexpr int KwzBlockSlots = 8;             // slots per transfer frame
constexpr std::size_t KwzSizeInFile = 13060; // header to the blocked prefixes: a speed-dial file

// ---- bookkeeping (18880-19695; never sent, never saved) ----
constexpr std::size_t DevicePathSlot = 18880; // 4 bytes; the pointer itself lives in devicePath()
constexpr std::size_t CfgFilePath = 18884;    // char[256]
constexpr std::size_t KwzFilePath = 19140;    // char[256]
constexpr std::size_t TlnFilePath = 19396;    // char[256]
constexpr std::size_t PathSize = 256;
constexpr std::size_t CurrentPbx = 19652;     // int32, always 0
constexpr std::size_t CfgChanges = 19656;     // int32
constexpr std::size_t KwzChanges = 19660;
constexpr std::size_t TlnChanges = 19664;
constexpr std::size_t CfgValid = 19668;
constexpr std::size_t TlnPresent = 19672;
constexpr std::size_t KwzPresent = 19676;
constexpr std::size_t PrefixPresent = 19680;
constexpr std::size_t KwzFileCount = 19684;
constexpr std::size_t CfgFileCount = 19688;
constexpr std::size_t TlnFileCount = 19692;

static_assert(PortBlock0 + 3 * PortBlockSize == PortAreaSize);
static_assert(PortBlock0 + 2 * PortBlockSize + S0TlnInBlock == 506);
static_assert(MsnInBlock + MsnCount * MsnSize == MsnZuordInBlock);
static_assert(RufnrList == 2 * PortAreaSize);
static_assert(IntNumInShare + 30 * IntNumSize == HptTypInShare);
static_assert(BerList == RufnrList + RufnrListSize);
static_assert(RufVertList == BerList + BerListSize);
static_assert(GebKonfList == RufVertList + RufVertListSize);
static_assert(StKonList == GebKonfList + GebKonfListSize);
static_assert(AnlDatList == StKonList + StKonListSize);
static_assert(AnlDatList + AnlDatListSize == PbxImageSize);
static_assert(TlnData == PbxImageSize);
static_assert(TlnData + TlnCount * TlnDataSize - 1 == 5817);
static_assert(KwzHeader == TlnData + TlnCount * TlnDataSize);
static_assert(TlnSent + TlnSentSize == TlnDataSize);
static_assert(TlnBusyTarget + TlnTargetSize <= TlnTarget && TlnTarget + TlnTargetSize <= TlnRingTime);
static_assert(KwzNumbers == KwzHeader + KwzHeaderSize);
static_assert(KwzNames == KwzNumbers + KwzCount * KwzNumberSize);
static_assert(NahBerList == KwzNames + KwzCount * KwzNameSize);
static_assert(SperrBerList + PrefixListSize - 1 == 18877);
static_assert(SperrBerList == NahBerList + PrefixListSize);
static_assert(PrefixCount * PrefixSlotSize == PrefixListSize);
static_assert(KwzHeader + KwzSizeInFile == SperrBerList + PrefixListSize);
static_assert(CfgFilePath == DevicePathSlot + 4);
static_assert(CurrentPbx == TlnFilePath + PathSize);
static_assert(TlnFileCount + 4 == RecordSize);

} // namespace rec

// The record itself; allocated zero-filled at start-up.
extern unsigned char *all;

// Where the default files are; the record's file paths start there.
constexpr const char *DefaultFilesDir = "/usr/local/kelvora/etc";

// The device path does not fit the record's 4-byte slot on 64-bit machines, so it
// is kept beside the image.  It is the command-line argument itself.
const char *devicePath();
void setDevicePath(const char *path);

inline unsigned char *recAt(std::size_t off) { return all + off; }
inline char *recText(std::size_t off) { return reinterpret_cast<char *>(all + off); }

// A little-endian value of size bytes (1..4).
inline std::uint32_t getLe(const unsigned char *p, std::size_t size)
{
    std::uint32_t v = 0;
    for (std::size_t i = size; i-- > 0;)
        v = v << 8 | p[i];
    return v;
}
inline void putLe(unsigned char *p, std::size_t size, std::uint32_t v)
{
    for (std::size_t i = 0; i < size; i++, v >>= 8)
        p[i] = std::uint8_t(v);
}
inline std::uint16_t getLe16(const unsigned char *p) { return std::uint16_t(getLe(p, 2)); }
inline void putLe16(unsigned char *p, std::uint16_t v) { putLe(p, 2, v); }
inline std::uint32_t getLe32(const unsigned char *p) { return getLe(p, 4); }
inline void putLe32(unsigned char *p, std::uint32_t v) { putLe(p, 4, v); }

// Bookkeeping integers of the record.
inline std::int32_t recInt(std::size_t off) { return std::int32_t(getLe32(all + off)); }
inline void setRecInt(std::size_t off, std::int32_t v) { putLe32(all + off, std::uint32_t(v)); }
inline void incRecInt(std::size_t off) { setRecInt(off, recInt(off) + 1); }

// Stores value in the record's configuration-valid flag and change counter.
// The main window follows only when the shell applies its button rule.
void setFlags(unsigned char *record, int value);
// The flag and the counter as they were, put back where a programming run
// fails: the record still holds what it held, and the user keeps working on it.
struct SavedFlags {
    explicit SavedFlags(unsigned char *r) : record(r) {}
    unsigned char *record;
    std::uint32_t valid = getLe32(record + rec::CfgValid);
    std::uint32_t changes = getLe32(record + rec::CfgChanges);
    void restore() const
    {
        putLe32(record + rec::CfgValid, valid);
        putLe32(record + rec::CfgChanges, changes);
    }
};

// The parts of the record that are saved and programmed on their own.  A part
// holds unsaved changes while its bytes differ from what they were when it was
// last saved, loaded, read or programmed (all zeros before any of these);
// markClean takes them from the record given (the program's own: all).
void markClean(FileKind part, const unsigned char *record);
bool unsavedChanges(FileKind part);
// Back to the start: every part compares with zeros (for tests).
void forgetClean();

// Current PBX index (always 0) and the start of per-PBX shares.
inline int curPbx() { return recInt(rec::CurrentPbx); }
inline std::size_t portArea() { return rec::PortAreaA + rec::PortAreaSize * std::size_t(curPbx()); }
inline std::size_t portBlock(int p) { return portArea() + rec::PortBlock0 + rec::PortBlockSize * std::size_t(p); }
inline std::size_t rufnrShare() { return rec::RufnrList + rec::RufnrShare * std::size_t(curPbx()); }
inline std::size_t berShare() { return rec::BerList + rec::BerShare * std::size_t(curPbx()); }
inline std::size_t rufVertShare() { return rec::RufVertList + rec::RufVertShare * std::size_t(curPbx()); }
