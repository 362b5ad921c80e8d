#include "settings/calldist.h"

#include "config/record.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/bind.h"
#include "ui/subscribers.h"

#include <iterator>

namespace {

// Block offsets of the working copy: the masks of functions 0-6, then the words
// between them that the dialog does not edit but writes back as read.  Bytes
// 48-49 belong to the global data dialog.
constexpr std::size_t calldist_words[] = {0, 8, 16, 24, 32, 40, 44, 4, 12, 20, 28, 36};
constexpr int Functions = 7;

std::uint32_t set[std::size(calldist_words)]; // working copy while the dialog is open
FunctionMasks dists{"*grp", std::span(set).first<Functions>()};

// No bindings: the check boxes show one word of the working copy at a time,
// and the words are stored once the runner has seen "OK".
RecordDialog avarwsdlg{"calldist_dlg", {}, rufVertShare};

unsigned char *word(std::size_t k) { return recAt(rufVertShare() + calldist_words[k]); }

void showCallDist(Widget dialog)
{
    for (std::size_t k = 0; k < std::size(set); k++)
        set[k] = getLe32(word(k));
    labelSubscriberItems(dialog, "*grp");
    setChooserState(dialog, "*todo", 0);
    showFunctionMask(dists, dialog, 0);
    senseSubscriberGroups(dialog, "*grp");
}

void getNsetAVARWS() { keepFunctionMask(dists, avarwsdlg.shell); }

// The function chooser changed: keep the shown function's boxes, show the new one's.
void doCallDist(Widget, XtPointer, XtPointer call) { switchFunctionMask(dists, avarwsdlg.shell, call); }

} // namespace

void displayCallDist(Widget parent)
{
    if (!runRecordDialog(avarwsdlg, parent, showCallDist))
        return;
    getNsetAVARWS();
    for (std::size_t k = 0; k < std::size(set); k++)
        putLe32(word(k), set[k]);
}

void doSetupCallDist()
{
    XmtRegisterProcedures({{"doCallDist", doCallDist}});
}
