#include "kwz_env.h"

#include "config/record.h"
#include "speeddial/kwz.h"
#include "speeddial/kwzfile.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/FileSB.h>
#include <Xm/List.h>
#include <Xm/MessageB.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>

Widget kwzDialog()
{
    if (!kwzdlg) {
        programTop();
        freshKwz();
        runModal([] { doKurzwahlen(toplevel); }, [](Widget) {}, "*quit");
    }
    return kwzdlg;
}

void press(const char *button) { guiPress(guiFind(kwzDialog(), button)); }

bool usable(const char *button) { return XtIsSensitive(guiFind(kwzDialog(), button)); }

static Widget theList() { return guiFind(kwzDialog(), "*ziele"); }

std::string listLine(int position)
{
    XmStringTable items = nullptr;
    int count = 0;
    XtVaGetValues(theList(), XmNitems, &items, XmNitemCount, &count, nullptr);
    if (position < 1 || position > count)
        return "<no line " + std::to_string(position) + ">";
    char *text = nullptr;
    XmStringGetLtoR(items[position - 1], const_cast<char *>(XmFONTLIST_DEFAULT_TAG), &text);
    std::string line = text ? text : "";
    XtFree(text);
    return line;
}

int listCount()
{
    int count = 0;
    XtVaGetValues(theList(), XmNitemCount, &count, nullptr);
    return count;
}

void selectLine(int position) { XmListSelectPos(theList(), position, False); }

namespace {

// Runs f once a modal dialog of the wanted kind is up, so that answers for
// several dialogs in a row can be queued at once.
struct Answer {
    bool (*kind)(Widget);
    std::function<void(Widget)> f;
    bool *asked = nullptr; // an answer that may go unused
    int left_ms = 5000;
};

void poll(XtPointer client, XtIntervalId *)
{
    auto *a = static_cast<Answer *>(client);
    Widget active = XmtActiveDialog();
    if (active && a->kind(active)) {
        std::unique_ptr<Answer> own(a);
        own->f(active);
        return;
    }
    if ((a->left_ms -= 20) <= 0) {
        if (!a->asked)
            ADD_FAILURE() << "no dialog to answer came up";
        delete a;
        return;
    }
    XtAppAddTimeOut(guiApp(), 20, poll, a);
}

void whenUp(bool (*kind)(Widget), std::function<void(Widget)> f, bool *asked = nullptr)
{
    XtAppAddTimeOut(guiApp(), 20, poll, new Answer{kind, std::move(f), asked, asked ? 1000 : 5000});
}

bool isFileBox(Widget w) { return XmIsFileSelectionBox(w); }
bool isPrompt(Widget w) { return XmIsSelectionBox(w) && !XmIsFileSelectionBox(w); }
bool isQuestion(Widget w) { return XmIsMessageBox(w); }

} // namespace

void answerFile(const std::string &path)
{
    whenUp(isFileBox, [path](Widget fsb) {
        if (path.empty()) {
            guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_CANCEL_BUTTON));
            return;
        }
        XmTextFieldSetString(XmFileSelectionBoxGetChild(fsb, XmDIALOG_TEXT), const_cast<char *>(path.c_str()));
        guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_OK_BUTTON));
    });
}

void answerQuestion(bool yes, bool *asked)
{
    whenUp(
        isQuestion,
        [yes, asked](Widget box) {
            if (asked)
                *asked = true;
            guiPress(guiFind(box, yes ? "okButton" : "cancelButton"));
        },
        asked);
}

void answerInteger(int value)
{
    whenUp(isPrompt, [value](Widget box) {
        std::string text = std::to_string(value);
        XmTextFieldSetString(XmSelectionBoxGetChild(box, XmDIALOG_TEXT), const_cast<char *>(text.c_str()));
        guiPress(XmSelectionBoxGetChild(box, XmDIALOG_OK_BUTTON));
    });
}

void freshKwz(int present, int changes, int files, int prefixes)
{
    freshRecord();
    setRecInt(rec::KwzPresent, present);
    setRecInt(rec::KwzChanges, changes);
    setRecInt(rec::KwzFileCount, files);
    setRecInt(rec::PrefixPresent, prefixes);
}

void setEntry(int i, const char *name, const char *number)
{
    std::strcpy(kwzName(i), name);
    std::strcpy(kwzNumber(i), number);
}

std::vector<char> kwzFile(const char *mark)
{
    std::vector<char> bytes(rec::KwzSizeInFile);
    std::strcpy(bytes.data(), mark);
    for (int i = 0; i < rec::KwzCount; ++i) {
        std::snprintf(bytes.data() + 20 + 25 * i, 25, "%d", 1000 + i);
        std::snprintf(bytes.data() + 5020 + 39 * i, 39, "N%d", i);
    }
    std::strcpy(bytes.data() + 12820, "040");
    std::strcpy(bytes.data() + 12940 + 114, "0190");
    return bytes;
}

std::vector<char> fileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string &path, const std::vector<char> &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), long(bytes.size()));
}
