// Verify callbacks of the input fields.  They only give the verdict; the field
// refuses the text and its error callback shows the warning.
#include "toolkit/toolkit.h"
#include "link/number.h"
#include "ui/access.h"

#include <cstdio>
#include <cstdlib>

namespace {

XmtInputFieldCallbackStruct *verifyData(XtPointer call)
{
    return static_cast<XmtInputFieldCallbackStruct *>(call);
}

const char *inputOf(const XmtInputFieldCallbackStruct *data)
{
    return data->input ? data->input : "";
}

// The whole text a number in the range; an empty field counts as 0.
void checkRange(XtPointer call, int low, int high)
{
    auto *data = verifyData(call);
    if (!data)
        return;
    data->okay = fieldDecimalIn(inputOf(data), low, high) ? True : False;
}

} // namespace

void CheckLeadZero(Widget, XtPointer, XtPointer call)
{
    if (auto *data = verifyData(call))
        data->okay = hasLeadingZero(inputOf(data)) ? False : True;
}

void Check_11_97(Widget, XtPointer, XtPointer call) { checkRange(call, 11, 97); }

void Check_0_255(Widget, XtPointer, XtPointer call) { checkRange(call, 0, 255); }

void Check_0_999(Widget, XtPointer, XtPointer call) { checkRange(call, 0, 999); }

// The four digits are a packed-decimal time hhmm, so they are read as hex and
// compared with 0x2359; minutes above 59 are not looked at.  A field without
// digits holds no time and is refused.
void Check_0_2359(Widget, XtPointer, XtPointer call)
{
    auto *data = verifyData(call);
    if (!data)
        return;
    unsigned value = 0;
    if (std::sscanf(inputOf(data), "%4X", &value) != 1)
        data->okay = False;
    else
        data->okay = value <= 0x2359 ? True : False;
}
