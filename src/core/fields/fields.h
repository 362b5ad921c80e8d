// What the bytes of the files mean: every field of a configuration, speed-dial
// and subscriber file with its place in the record, its German label as the
// window words it, and how its value reads.  kelvoractl's show and diff print
// from here, so that they and the dialogs say the same.
//
// The fields cover every byte of their file's part of the record: what no
// dialog shows is listed as bytes of its list ("weitere Bytes"), so that two
// files whose fields all read alike are byte for byte the same.
#pragma once

#include "config/filekind.h"

#include <cstddef>
#include <string>
#include <vector>

enum class Reading {
    Text,        // up to the first zero byte; bytes after it in hex while not all zero
    Decimal,     // unsigned, little-endian, 1, 2 or 4 bytes
    Choice,      // the masked byte names one item; any other value in hex
    Bits,        // the masked byte's set bits by name; unnamed ones in hex
    TimeOfDay,   // 16-bit BCD hhmm, 0xFFFF none
    Subscribers, // 32-bit mask over the 30 subscribers, bits 30-31 in hex
    Bytes,       // hex
};

struct FieldItem {
    unsigned value; // Choice: the masked value; Bits: the bit
    std::string text;
};

// What the dialog takes in a field, from its widget's resource lines: the
// pattern ('d' a digit, 'a' a letter, 'c' any printable character; no longer
// than the pattern), a range, no leading zero.
struct FieldRule {
    std::string pattern;       // "" the bytes' own limits only
    bool wholePattern = false; // as long as the pattern, not shorter
    long low = -1, high = -1;  // the value's range; -1 none
    bool noLeadingZero = false;
};

struct Field {
    std::string name;  // a stable key: "globdat.okz", "kwz.142.number"
    std::string label; // "Globale Anlagendaten: Ortsvorwahl" (ISO 8859-1)
    std::size_t offset; // in the record
    std::size_t size;
    Reading reading;
    unsigned mask = 0xFF; // Choice and Bits: the bits of the byte that are theirs
    std::vector<FieldItem> items = {};
    bool extra = false; // bytes or bits no dialog shows
    std::string dialog = {}; // the dialog that edits it ("globdat_dlg"); "" none
    std::string widget = {}; // the widget its dialog binds ("*start"; a text's buffer "rnr1"); "" by hand
    FieldRule rule = {};
};

// A dialog's bound widgets as its binding table needs them: offsets from the
// dialog's block, the first instance's fields (port 1, subscriber 0).
struct DescribedBinding {
    const char *widget;
    Reading reading;
    std::size_t offset, size;
};
const std::vector<DescribedBinding> &describedBindings(const char *dialog);
// Where a dialog's block starts for the current PBX.
std::size_t dialogBlock(const char *dialog);

// The fields of one kind of file, in the order show prints them.
const std::vector<Field> &fieldsOf(FileKind kind);

// The parts with between after each but the last.
std::string joined(const std::vector<std::string> &parts, const char *between = ", ");

// How the field reads in a record of rec::RecordSize bytes (ISO 8859-1 text).
std::string readField(const Field &field, const unsigned char *record);
// True when the field's bits differ between two records.
bool fieldDiffers(const Field &field, const unsigned char *a, const unsigned char *b);
