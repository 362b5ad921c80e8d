#include "ui/access.h"

#include "config/record.h"
#include "link/number.h"
#include "toolkit/toolkit.h"

#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <climits>
#include <cstdio>
#include <cstdlib>

const char *appnames[31] = {
    "AB  #1", "AB  #2", "AB  #3", "AB  #4", "AB  #5", "AB  #6", "AB  #7", "AB  #8",
    "TFE #1", "TFE #2",
    "SO  #0", "SO  #1", "SO  #2", "SO  #3", "SO  #4", "SO  #5", "SO  #6", "SO  #7", "SO  #8", "SO  #9",
    "S1  #0", "S1  #1", "S1  #2", "S1  #3", "S1  #4", "S1  #5", "S1  #6", "S1  #7", "S1  #8", "S1  #9",
    nullptr,
};

namespace {

Widget find(Widget parent, const char *name)
{
    if (!parent || !name)
        return nullptr;
    return XmtNameToWidget(parent, name);
}

// "%s%-d": the names of numbered widget groups.
void numberedName(char *buf, std::size_t size, const char *prefix, int index)
{
    std::snprintf(buf, size, "%s%-d", prefix, index);
}

void setLabel(Widget w, const char *text)
{
    XmString s = XmStringCreate(const_cast<char *>(text ? text : ""), const_cast<char *>(XmFONTLIST_DEFAULT_TAG));
    XtVaSetValues(w, XmNlabelString, s, nullptr);
    XmStringFree(s);
}

} // namespace

const char *getAppName(int index)
{
    if (index < 0 || index >= 30)
        return nullptr;
    return appnames[index];
}

const char *getAppNumStr(int subscriber)
{
    if (subscriber < 0 || subscriber >= rec::TlnCount)
        return nullptr;
    const char *num = recText(rufnrShare() + rec::IntNumInShare + rec::IntNumSize * std::size_t(subscriber));
    return num[0] ? num : nullptr;
}

int hasLeadingZero(const char *text)
{
    return text && text[0] == '0';
}

int hasPort(Widget, int port)
{
    if (port < 0 || port > 2)
        return 0;
    unsigned type = recAt(portArea() + rec::TypeByte)[0];
    if (unsigned(port) > type)
        return 0;
    return (recAt(portBlock(port))[0] & 0xC0) == 0x40;
}

void set_labelname(Widget parent, const char *name, const char *text)
{
    if (Widget w = find(parent, name))
        setLabel(w, text);
}

void set_captionname(Widget parent, const char *name, const char *text)
{
    if (Widget w = find(parent, name))
        XmtSetCaption(w, text);
}

void setItemCaptions(Widget parent, const char *prefix, const char *text, int from, int to)
{
    for (int i = from; i <= to; i++) {
        const char *num = getAppNumStr(i);
        if (!num)
            continue;
        char name[64], caption[128];
        numberedName(name, sizeof name, prefix, i);
        // The number slot need not be terminated within its 3 bytes.
        std::snprintf(caption, sizeof caption, "%s%.*s: ", text, int(rec::IntNumSize), num);
        set_captionname(parent, name, caption);
    }
}

void setItemLabels(Widget parent, const char *prefix, const char *text, int group, int from, int to)
{
    for (int i = from; i <= to; i++) {
        const char *num = getAppNumStr(group * 10 + i);
        if (!num)
            continue;
        char name[64], label[128];
        std::snprintf(name, sizeof name, "%s%-d.item%-d", prefix, group, i);
        std::snprintf(label, sizeof label, "%s%.*s", text, int(rec::IntNumSize), num);
        set_labelname(parent, name, label);
    }
}

void SetField(Widget parent, const char *name, const char *text)
{
    Widget w = find(parent, name);
    if (w && XmtIsInputField(w))
        XmtInputFieldSetString(w, text);
}

void SetNumField(Widget parent, const char *name, int index, int value)
{
    char field[64], text[16];
    if (index >= 0)
        numberedName(field, sizeof field, name, index);
    else
        std::snprintf(field, sizeof field, "%s", name);
    std::snprintf(text, sizeof text, "%d", value);
    SetField(parent, field, text);
}

const char *GetField(Widget parent, const char *name)
{
    Widget w = find(parent, name);
    if (!w || !XmtIsInputField(w))
        return nullptr;
    return XmtInputFieldGetString(w);
}

int GetNumField(Widget parent, const char *name, int index)
{
    char field[64];
    if (index >= 0)
        numberedName(field, sizeof field, name, index);
    else
        std::snprintf(field, sizeof field, "%s", name);
    // Anything but a number (the validators refuse it) reads as 0.
    return int(fieldDecimalIn(GetField(parent, field), INT_MIN, INT_MAX).value_or(0));
}

void set_active(Widget parent, const char *name, int sensitive)
{
    if (Widget w = find(parent, name))
        XtSetSensitive(w, sensitive ? True : False);
}

void set_activegrp(Widget parent, const char *prefix, int index, int sensitive)
{
    char name[64];
    numberedName(name, sizeof name, prefix, index);
    set_active(parent, name, sensitive);
}

void disableChooser(Widget parent, const char *name, int sensitive)
{
    setChooserSensitive(parent, name, sensitive != 0);
}

void disableChooserItem(Widget parent, const char *name, int item, int sensitive)
{
    setChooserItemSensitive(parent, name, item, sensitive != 0);
}

void setChooserSensitive(Widget parent, const char *name, bool sensitive)
{
    set_active(parent, name, sensitive);
}

void setChooserItemSensitive(Widget parent, const char *name, int item, bool sensitive)
{
    Widget w = find(parent, name);
    if (w && XmtIsChooser(w))
        XmtChooserSetSensitive(w, item, sensitive ? True : False);
}

void setChooserState(Widget parent, const char *name, int state)
{
    Widget w = find(parent, name);
    if (w && XmtIsChooser(w))
        XmtChooserSetState(w, state, False);
}

void getChooserState(Widget parent, const char *name, int *destination)
{
    Widget w = find(parent, name);
    if (w && XmtIsChooser(w) && destination)
        *destination = XmtChooserGetState(w);
}

int getChooserSense(Widget parent, const char *name)
{
    Widget w = find(parent, name);
    return w && XtIsSensitive(w) ? 1 : 0;
}

void setInitial(Widget parent, const char *name)
{
    Widget w = find(parent, name);
    // Every manager between the dialog and the field must point the way down,
    // or the focus stops at the first nested box.
    for (Widget c = w; c && c != parent;) {
        Widget p = XtParent(c);
        if (p && XmIsManager(p))
            XtVaSetValues(p, XmNinitialFocus, c, nullptr);
        c = p;
    }
}

// ---------------------------------------------------------------- focus callbacks

namespace {

void showCursor(Widget w, bool visible)
{
    if (XmIsText(w)) {
        XtVaSetValues(w, XmNcursorPositionVisible, visible ? True : False, nullptr);
        if (visible)
            XmTextSetInsertionPosition(w, XmTextGetLastPosition(w));
    } else if (XmIsTextField(w)) {
        XtVaSetValues(w, XmNcursorPositionVisible, visible ? True : False, nullptr);
        if (visible)
            XmTextFieldSetInsertionPosition(w, XmTextFieldGetLastPosition(w));
    }
}

} // namespace

void dotextfocus(Widget w, XtPointer, XtPointer)
{
    showCursor(w, true);
}

void dotxtunfoc(Widget w, XtPointer, XtPointer)
{
    showCursor(w, false);
}
