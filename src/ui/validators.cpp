// Verify callbacks of the input fields.  They only give the verdict; the field
// refuses the text and its error callback shows the warning.  What each takes
// is its row of the field checks, which kelvoractl's set judges by too.
#include "fields/fields.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"

namespace {

void judge(const char *procedure, XtPointer call)
{
    auto *data = static_cast<XmtInputFieldCallbackStruct *>(call);
    if (const FieldCheck *check = checkNamed(procedure); data && check)
        data->okay = checkAccepts(*check, data->input) ? True : False;
}

} // namespace

#define CHECK_PROCEDURE(name)                                                                                          \
    void name(Widget, XtPointer, XtPointer call) { judge(#name, call); }
CHECK_PROCEDURE(CheckLeadZero)
CHECK_PROCEDURE(Check_11_97)
CHECK_PROCEDURE(Check_0_255)
CHECK_PROCEDURE(Check_0_999)
CHECK_PROCEDURE(Check_0_2359)
#undef CHECK_PROCEDURE

void registerValidators()
{
    XmtRegisterProcedures({
        {"CheckLeadZero", CheckLeadZero},
        {"Check_11_97", Check_11_97},
        {"Check_0_255", Check_0_255},
        {"Check_0_999", Check_0_999},
        {"Check_0_2359", Check_0_2359},
    });
}
