// Fields set from text: the value as readField prints it, written back into
// the record's bytes.  kelvoractl's set, apply and edit go through here.
#pragma once

#include "fields/fields.h"

#include <cstdint>
#include <string>
#include <vector>

// Dialog: only what the field's dialog would take (its menu's items, its
// pattern and range).  Storage: whatever the bytes can hold and show prints,
// also values beyond every menu, as a PBX may hold them.
// Edited: a change the user typed (edit) -- the dialog's rules where a
// dialog shows the field, the bytes' own elsewhere.
enum class Rules { Dialog, Storage, Edited };

// What a label names: a field, or one item of a check box or subscriber
// mask under its field's label ("Globale Anlagendaten: Optionen: Tag/Nacht"),
// set by "Ein" and cleared by "Aus".
struct Target {
    const Field *field = nullptr;
    std::uint32_t item = 0; // the item's bits; 0 the whole field
    FileKind kind = FileKind::Configuration;
};

// Splits "LABEL<separator>VALUE" at the first separator behind which a label
// of one of the kinds ends; false when no label fits.
bool splitAssignment(const std::string &text, const std::string &separator, const std::vector<FileKind> &kinds,
                     Target &target, std::string &value);

// The labels closest to a label that names nothing (at most three).
std::vector<std::string> closestLabels(const std::string &label, const std::vector<FileKind> &kinds);

// Sets the target from value in the record; "" when set, else why not: what
// is allowed.  A value that reads as the field reads already changes nothing.
std::string assignField(const Target &target, const std::string &value, unsigned char *record, Rules rules);
