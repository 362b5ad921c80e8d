// Record-bound dialogs.  A dialog declares which widget shows which bytes of the
// configuration record, and one runner builds it on first use, fills it, runs it
// modally and, on "OK", stores every binding and counts one change.
#pragma once

#include "config/record.h"

#include <X11/Intrinsic.h>
#include <cstddef>
#include <functional>
#include <span>

enum class Codec {
    ChooserByte,    // radio box or option menu: the chosen item's index in one byte
    ChooserBits,    // check box: its bit set in one byte
    Dec8,           // decimal text; the low byte is stored ("" stores 0)
    Dec16,          // decimal text; 16 bits, little-endian
    HexTime16,      // 16-bit BCD time shown as "%04X"; text without a hex digit keeps the value
    Text,           // zero-terminated text buffer of `size` bytes (through the toolkit's buffer binding)
    SubscriberMask, // 32-bit word over the check boxes "<widget>0".."<widget>2"; bits 30-31 kept
};

struct Binding {
    const char *widget; // widget name below the dialog; for Text the buffer's resource name
    Codec codec;
    std::size_t offset; // from the dialog's block
    std::size_t size = 1;
};

struct RecordDialog {
    const char *name;                // "globdat_dlg"
    std::span<const Binding> table;  // empty: the widgets the field descriptions give the dialog
    std::size_t (*block)();          // record offset the table's offsets start from
    Widget shell = nullptr;          // built on first use and kept
    std::size_t counter = rec::CfgChanges; // the change counter "OK" increments
};

// The window cannot go on without its dialogs' resource lines: says on
// standard error what is missing ("kelvora: cannot build kwz_dlg") and ends
// the program with status 1.  The one way out of the window below main.
[[noreturn]] void endForMissingResources(const char *what, const char *name);

// Builds the dialog into `dialog` unless it exists; ends the program with status 1
// when the resources cannot build it (endForMissingResources).
Widget buildDialogOnce(Widget &dialog, Widget parent, const char *name, XtResourceList resources = nullptr,
                       Cardinal count = 0);

// Builds the dialog of a table once, its Text bindings bound to buffers; exits like
// buildDialogOnce.
Widget buildRecordDialog(RecordDialog &dialog, Widget parent);

// The binding table of a dialog's widgets as the field descriptions give them
// (fields/fields.h); kept for the program's run.
std::span<const Binding> describedTable(const char *dialog);

// The non-text bindings, record -> widgets and widgets -> record.
void fillBindings(Widget dialog, std::span<const Binding> table, const unsigned char *block);
void storeBindings(Widget dialog, std::span<const Binding> table, unsigned char *block);

// Build once, fill, prepare(shell) for what is the dialog's own, run modally; on
// "OK" store and count one change in the dialog's counter.  True on "OK".
bool runRecordDialog(RecordDialog &dialog, Widget parent, const std::function<void(Widget)> &prepare = {});
