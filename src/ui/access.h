// Widget access by name and the input validators shared by every dialog.
#pragma once

#include <X11/Intrinsic.h>

extern const char *appnames[31];

const char *getAppName(int index);
const char *getAppNumStr(int subscriber);
int hasLeadingZero(const char *text);
int hasPort(Widget w, int port);

void set_labelname(Widget parent, const char *name, const char *text);
void set_captionname(Widget parent, const char *name, const char *text);
void setItemCaptions(Widget parent, const char *prefix, const char *text, int from, int to);
void setItemLabels(Widget parent, const char *prefix, const char *text, int group, int from, int to);
void SetField(Widget parent, const char *name, const char *text);
void SetNumField(Widget parent, const char *name, int index, int value);
const char *GetField(Widget parent, const char *name);
int GetNumField(Widget parent, const char *name, int index);
void set_active(Widget parent, const char *name, int sensitive);
void set_activegrp(Widget parent, const char *prefix, int index, int sensitive);
void disableChooser(Widget parent, const char *name, int sensitive);
void disableChooserItem(Widget parent, const char *name, int item, int sensitive);
// The same two under names that say what they do: both make the chooser (item)
// sensitive or insensitive, as `sensitive` says.
void setChooserSensitive(Widget parent, const char *name, bool sensitive);
void setChooserItemSensitive(Widget parent, const char *name, int item, bool sensitive);
void setChooserState(Widget parent, const char *name, int state);
void getChooserState(Widget parent, const char *name, int *destination);
int getChooserSense(Widget parent, const char *name);
void setInitial(Widget parent, const char *name);

// Focus callbacks of every input field.
void dotextfocus(Widget w, XtPointer client, XtPointer call);
void dotxtunfoc(Widget w, XtPointer client, XtPointer call);

// Validators (verify callbacks; call data is an XmtInputFieldCallbackStruct).
void CheckLeadZero(Widget w, XtPointer client, XtPointer call);
void Check_11_97(Widget w, XtPointer client, XtPointer call);
void Check_0_255(Widget w, XtPointer client, XtPointer call);
void Check_0_999(Widget w, XtPointer client, XtPointer call);
void Check_0_2359(Widget w, XtPointer client, XtPointer call);
// Makes them known to the resource lines by name.
void registerValidators();
