// The 30 subscribers in dialogs: bit masks over three 10-item check boxes, "Ruf #"
// labels and captions from the internal numbers, and sensitivity by internal bus.
// A group prefix such as "*app" names the check boxes "*app0", "*app1", "*app2".
#pragma once

#include <X11/Intrinsic.h>
#include <cstdint>

constexpr std::uint32_t SubscriberBits = 0x3FFFFFFF; // bits 0-29; 30-31 belong to nobody

// Sets the three check boxes from bits 0-9, 10-19, 20-29 (no callbacks run).
void showSubscriberMask(Widget dialog, const char *prefix, std::uint32_t mask);
// Bits 0-29 as the three check boxes show them.
std::uint32_t readSubscriberMask(Widget dialog, const char *prefix);

// "Ruf #nn" on the items of present subscribers: group 0 items 0-7 (the door
// intercoms keep theirs), groups 1 and 2 when their port is an internal bus.
void labelSubscriberItems(Widget dialog, const char *prefix);
// "Ruf #nn: " captions of the fields "<prefix>0".."<prefix>29", by the same rule;
// `last` limits them (7 for dialogs of the analogue extensions only).
void captionSubscriberFields(Widget dialog, const char *prefix, int last = 29);
// Check boxes "<prefix>1" and "<prefix>2" sensitive exactly when their port is an internal bus.
void senseSubscriberGroups(Widget dialog, const char *prefix);
// Fields "<prefix>10".."<prefix>19" and "<prefix>20".."<prefix>29" likewise; the first ten always.
void senseSubscriberRows(Widget dialog, const char *prefix);
