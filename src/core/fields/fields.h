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

// A check an input field's resource lines name as its verify callback
// ("Check_11_97()"): what it holds the text to.  The dialogs' verify
// procedures and kelvoractl's set judge by the same row.
struct FieldCheck {
    const char *procedure;   // "Check_11_97"
    long low, high;          // the value's range; -1 none
    bool noLeadingZero;      // no '0' in front
    bool packedTime;         // four digits hhmm read as hex, up to high (0x2359)
};
// The check a verify callback names, with or without "()"; nullptr none.
const FieldCheck *checkNamed(const std::string &procedure);
// Every check, for the procedures that run them.
const std::vector<FieldCheck> &fieldChecks();
// The check's verdict on a field's whole text (nullptr: no text); an empty
// field counts as 0, as it always has in the dialogs.
bool checkAccepts(const FieldCheck &check, const char *text);

// What the dialog takes in a field, from its widget's resource lines: the
// pattern ('d' a digit, 'a' a letter, 'c' any printable character; no longer
// than the pattern), its check and the warning it refuses with.
struct FieldRule {
    std::string pattern;       // "" the bytes' own limits only
    bool wholePattern = false; // as long as the pattern, not shorter
    const FieldCheck *check = nullptr;
    std::string refusal = {};  // the error callback's warning; "" none
    std::string lines = {};    // whose resource lines say it: "*globdat*okz.", "*st_sensor*"
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

// The coding of a Reading::TimeOfDay field that holds no time.
constexpr unsigned NoTimeOfDay = 0xFFFF;

// The field of a kind by its key ("gebdat.com"); a key no row has is a fault
// of the program (std::logic_error).
const Field &fieldNamed(FileKind kind, const std::string &name);

// The codings a dialog's own code shows and stores a field's byte with, so
// that the dialog and show, set and apply read the bits alike.
// A menu: the place among the row's items of the value in the field's bits; -1 none.
int choiceIndex(const Field &field, unsigned byte);
// The byte with the field's bits set to the item at index; an index of no
// item keeps them, so that a menu that showed nothing stores back what it had.
unsigned char withChoice(const Field &field, unsigned byte, int index);
// A check box's state, box i bit i, from the field's bits counted from its
// mask's lowest; and back, the bits outside the mask kept.
unsigned boxesOf(const Field &field, unsigned byte);
unsigned char withBoxes(const Field &field, unsigned byte, unsigned state);

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
// Where the field lies in its dialog's block (the first PBX's field).
std::size_t offsetInBlock(const Field &field);

// The fields of one kind of file, in the order show prints them.
const std::vector<Field> &fieldsOf(FileKind kind);

// The parts with between after each but the last.
std::string joined(const std::vector<std::string> &parts, const char *between = ", ");

// How the field reads in a record of rec::RecordSize bytes (ISO 8859-1 text).
std::string readField(const Field &field, const unsigned char *record);
// True when the field's bits differ between two records.
bool fieldDiffers(const Field &field, const unsigned char *a, const unsigned char *b);
