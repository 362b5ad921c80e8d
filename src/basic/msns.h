// The MSNs of an external S0 port ("Rufnummern") and which subscribers ring for
// each of them ("MSN-Zuordnung").  Both dialogs live under the PBX type dialog,
// whose chosen port they edit.
#pragma once

#include <X11/Intrinsic.h>
#include <cstdint>

// Builds both dialogs under parent (once); chosenPort tells the port they edit.
void buildMsnDialogs(Widget parent, int (*chosenPort)());
// Terminals of a bus that is not internal cannot be assigned.
void senseMsnAssignment();

void doMsns(Widget w, XtPointer client, XtPointer call);
void doZuord(Widget w, XtPointer client, XtPointer call);
void doMSNZuord(Widget w, XtPointer client, XtPointer call);

// entry: the 4-byte little-endian subscriber set of one MSN in the record.
std::uint32_t getTlnZuordnung(unsigned char *entry);
void setTlnZuordnung(std::uint32_t assignment);
