// Driving the program's record-bound dialogs in-process: the program started,
// a zeroed record, modal runs driven from the event loop, and what a user sees.
#pragma once

#include <X11/Intrinsic.h>
#include <cstdint>
#include <functional>
#include <string>

// Display, resources, procedures, record; the application shell.
Widget dialogTop();
// Zeroes the record (the dialogs stay built), the main window as with a valid
// configuration.
void freshRecord();

// Calls open(), which runs a modal dialog; once that dialog (not `outer`) is up,
// runs drive(dialog) and then presses the button `close` of it (nullptr: the
// first it has of "Abbrechen", "OK" and "Beenden").  Fails the test when open()
// returns without that having happened.
void runModal(const std::function<void()> &open, const std::function<void(Widget)> &drive, const char *close,
              Widget outer = nullptr);

// Types text into an input field one character at a time, then presses Return.
void typeInto(Widget field, const char *text);
// Text of the warning "msg1" if one is up (and closes it); "" when none.
std::string takeWarning();

// Choosers, as the user would pick an item (callbacks run).
void pick(Widget dialog, const char *chooser, int state);
int stateOf(Widget dialog, const char *chooser);
bool itemSensitive(Widget dialog, const char *chooser, int item);
bool sensitive(Widget dialog, const char *name);
std::string fieldText(Widget dialog, const char *name);

// A 4-byte little-endian value in the record.
inline std::uint32_t entryOf(const unsigned char *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
