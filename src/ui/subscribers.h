// The 30 subscribers in dialogs: bit masks over three 10-item check boxes, "Ruf #"
// labels and captions from the internal numbers, and sensitivity by internal bus.
// A group prefix such as "*app" names the check boxes "*app0", "*app1", "*app2".
#pragma once

#include <X11/Intrinsic.h>
#include <cstdint>
#include <span>

constexpr std::uint32_t SubscriberBits = 0x3FFFFFFF; // bits 0-29; 30-31 belong to nobody

// Sets the three check boxes from bits 0-9, 10-19, 20-29 (no callbacks run).
void showSubscriberMask(Widget dialog, const char *prefix, std::uint32_t mask);
// Bits 0-29 as the three check boxes show them.
std::uint32_t readSubscriberMask(Widget dialog, const char *prefix);

// A function chooser over one set of check boxes: each function has a word of
// its own in the dialog's working copy, and the boxes show one at a time.
struct FunctionMasks {
    const char *prefix;             // the check boxes "<prefix>0".."<prefix>2"
    std::span<std::uint32_t> words; // the working copy, one word per function
    int shown = 0;                  // the function the boxes show
};
// Shows the function's word (no callbacks run).
void showFunctionMask(FunctionMasks &masks, Widget dialog, int function);
// The boxes into the shown function's word; its bits 30-31 stay.
void keepFunctionMask(FunctionMasks &masks, Widget dialog);
// For the function chooser's callback: keeps the shown word, then shows the
// chosen function's.  False, changing nothing, for a state that is no function.
bool switchFunctionMask(FunctionMasks &masks, Widget dialog, XtPointer chooserCall);

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
