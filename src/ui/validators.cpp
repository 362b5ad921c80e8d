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

// The procedures by the names the resource lines call them, one per check row.
#define KELVORA_CHECK_PROCEDURES(X) X(CheckLeadZero) X(Check_11_97) X(Check_0_255) X(Check_0_999) X(Check_0_2359)

#define KELVORA_DEFINE_CHECK(name)                                                                                     \
    void name(Widget, XtPointer, XtPointer call) { judge(#name, call); }
KELVORA_CHECK_PROCEDURES(KELVORA_DEFINE_CHECK)
#undef KELVORA_DEFINE_CHECK

void registerValidators()
{
#define KELVORA_REGISTER_CHECK(name) XmtRegisterCallbackProcedure(#name, name);
    KELVORA_CHECK_PROCEDURES(KELVORA_REGISTER_CHECK)
#undef KELVORA_REGISTER_CHECK
}
