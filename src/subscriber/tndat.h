// The subscriber data dialog ("Teilnehmerdaten"): the 30 subscriber records
// read from the PBX or a file, edited one subscriber at a time, saved to a
// file or programmed back.
#pragma once

#include <X11/Intrinsic.h>

// Registers the dialog's procedures and sets the default subscriber file.
void doSetupUser();
void displayUserFkt(Widget parent);

// Shows subscriber i and makes it the one the fields belong to.
void doUser(int i);
// Stores the fields into the subscriber shown, then shows subscriber j.
void getNsetUser(int j);
// Applies the subscriber-data-present flag to the editing widgets and chooses
// the first list entry.
void activateTndButtons();

// Callbacks of the resource table.
void selectTDat(Widget w, XtPointer client, XtPointer call);
void loadTlnDat(Widget w, XtPointer client, XtPointer call);
void saveTlnDat(Widget w, XtPointer client, XtPointer call);
void readTlnDat(Widget w, XtPointer client, XtPointer call);
void writeTlnDat(Widget w, XtPointer client, XtPointer call);
void Check_NNZ(Widget w, XtPointer client, XtPointer call);
void Check_NUML(Widget w, XtPointer client, XtPointer call);
