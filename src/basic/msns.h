// The MSNs of an external S0 port and their assignment to subscribers.
#pragma once

#include <X11/Intrinsic.h>
#include <cstdint>

constexpr int MsnBufSize = 90;
extern char portmsns[MsnBufSize];  // working copy edited by "Rufnummern"
extern XtResource msn_resources[10];

void doMsns(Widget w, XtPointer client, XtPointer call);
void doZuord(Widget w, XtPointer client, XtPointer call);
void doMSNZuord(Widget w, XtPointer client, XtPointer call);

// entry: the 4-byte little-endian subscriber set of one MSN in the record.
std::uint32_t getTlnZuordnung(unsigned char *entry);
void setTlnZuordnung(std::uint32_t assignment);
