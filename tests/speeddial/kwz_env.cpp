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
    std::vector<std::string> lines = listItems(theList());
    if (position < 1 || position > int(lines.size()))
        return "<no line " + std::to_string(position) + ">";
    return lines[std::size_t(position - 1)];
}

int listCount()
{
    int count = 0;
    XtVaGetValues(theList(), XmNitemCount, &count, nullptr);
    return count;
}

void selectLine(int position) { XmListSelectPos(theList(), position, False); }

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

void KwzDialog::SetUp()
{
    REQUIRE_DISPLAY();
    kwzDialog();
    freshKwz(1, 0, 1, 1);
    setEntry(5, "Praxis Dr. Maier", "69987654");
    setEntry(130, "Werkstatt", "301234567");
    showkwz();
}
