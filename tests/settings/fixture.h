// What the settings dialog tests share beyond the dialog environment: the port
// bytes that decide the internal buses, internal numbers, and the whole record
// to compare before and after.
#pragma once

#include "../basic/env.h"

#include "config/record.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/Xm.h>
#include <cstdio>
#include <string>
#include <vector>

// The current PBX's type byte and the mode bytes of S0 ports 1 and 2 (0x42: internal bus).
inline void buses(int type, unsigned char mode1, unsigned char mode2)
{
    *recAt(portArea() + rec::TypeByte) = static_cast<unsigned char>(type);
    *recAt(portBlock(1)) = mode1;
    *recAt(portBlock(2)) = mode2;
}

// Port configurations and whether S0 ports 1 and 2 are internal buses in them.
struct BusCase {
    int type;
    unsigned char mode1, mode2;
    bool port1, port2;
};
inline const BusCase busCases[] = {
    {2, 0x42, 0x42, true, true},  {2, 0x42, 0x82, true, false}, {1, 0x42, 0x42, true, false}, // no port 2 in type 1
    {2, 0x02, 0x42, false, true}, {2, 0xC2, 0x42, false, true}, {0, 0x42, 0x42, false, false},
};

inline void setIntNum(int subscriber, const char *number)
{
    std::snprintf(recText(rufnrShare() + rec::IntNumInShare + rec::IntNumSize * std::size_t(subscriber)),
                  rec::IntNumSize, "%s", number);
}

// Runs the dialog display(dialogTop()) opens: drive(dialog), then its button close.
inline void openWith(void (*display)(Widget), const std::function<void(Widget)> &drive, const char *close = "*okay")
{
    runModal([display] { display(dialogTop()); }, drive, close);
}

inline std::vector<unsigned char> image() { return {all, all + rec::RecordSize}; }

// What "OK" leaves when it stores what was read: the same record, one change more.
inline std::vector<unsigned char> counted(std::vector<unsigned char> before)
{
    putLe32(before.data() + rec::CfgChanges, getLe32(before.data() + rec::CfgChanges) + 1);
    return before;
}

// Item i of a chooser of any kind (an option menu's items are in its pulldown).
inline std::string itemLabel(Widget dialog, const char *chooser, int i)
{
    Widget item = XmtChooserGetItem(guiFind(dialog, chooser), i);
    return item ? guiText(item, XmNlabelString) : "(no item)";
}

inline std::string shellTitle(Widget shell)
{
    char *title = nullptr;
    XtVaGetValues(shell, XmNtitle, &title, nullptr);
    return title ? title : "";
}

inline std::string caption(Widget dialog, const char *widget)
{
    Widget cap = XmtCaptionOf(guiFind(dialog, widget));
    return cap ? guiText(cap, XmNlabelString) : "(no caption)";
}
