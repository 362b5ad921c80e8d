// What the subscriber dialog tests share: a record with three ports and
// subscribers of their own, the dialog opened modally, its list entries and
// the file dialog answered.
#pragma once

#include <gtest/gtest.h> // before X11, whose macros clash with it

#include "../basic/env.h"

#include <X11/Intrinsic.h>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

unsigned char *tln(int i);
Bytes recordOf(int i);
Bytes allRecords();

// A three-port PBX whose ports 1 and 2 have the given bus modes (0x40 internal),
// internal numbers for most subscribers, and every subscriber record its own
// bytes; no wake-up times.  Subscriber data are present when `present`.
void subscribers(unsigned char mode1 = 0x80, unsigned char mode2 = 0x40, bool present = true);

// Opens "Teilnehmerdaten", runs drive once it is up, then presses close.
void openTnd(const std::function<void(Widget)> &drive, const char *close = "*okay");
// The texts of the subscriber list.
std::vector<std::string> listEntries(Widget dialog);
// Picks a list position as a click does.
void choose(Widget dialog, int position);
void setText(unsigned char *p, const char *text);

// Chooses path in the next file dialog over `outer` (cancels it when empty).
void answerFileDialog(const std::string &path, Widget outer);
