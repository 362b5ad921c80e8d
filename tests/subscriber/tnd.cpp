#include "tnd.h"

#include "config/record.h"
#include "subscriber/tndat.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/FileSB.h>
#include <Xm/List.h>
#include <Xm/TextF.h>
#include <cstring>

unsigned char *tln(int i) { return all + rec::TlnData + rec::TlnDataSize * std::size_t(i); }
Bytes recordOf(int i) { return {tln(i), tln(i) + rec::TlnDataSize}; }
Bytes allRecords() { return {tln(0), tln(rec::TlnCount)}; }

void setText(unsigned char *p, const char *text) { std::memcpy(p, text, std::strlen(text) + 1); }

void subscribers(unsigned char mode1, unsigned char mode2, bool present)
{
    freshRecord();
    takeWarning();
    all[rec::TypeByte] = 2;
    all[rec::PortBlock0] = 0x80;
    all[rec::PortBlock0 + rec::PortBlockSize] = mode1;
    all[rec::PortBlock0 + 2 * rec::PortBlockSize] = mode2;
    // Numbers 11.. for everyone but door intercom 2 and the last S0 terminal of each bus.
    for (int i = 0; i < rec::TlnCount; i++) {
        if (i == 9 || i == 19 || i == 29)
            continue;
        char num[3] = {char('1' + i / 9), char('1' + i % 9), 0};
        std::memcpy(all + rec::RufnrList + rec::IntNumInShare + 3 * std::size_t(i), num, 3);
    }
    for (int i = 0; i < rec::TlnCount; i++) {
        for (std::size_t k = 0; k < rec::TlnDataSize; k++)
            tln(i)[k] = static_cast<unsigned char>(0x40 + i + k * 3);
        tln(i)[6] = static_cast<unsigned char>(i);
        tln(i)[7] = 0;
        putLe16(tln(i) + 8, 0xFFFF);
        char busy[16];
        std::snprintf(busy, sizeof busy, "22%02d", i);
        setText(tln(i) + 22, busy);
        setText(tln(i) + 72, "");
        tln(i)[122] = 0;
    }
    setRecInt(rec::TlnPresent, present ? 1 : 0);
}

void openTnd(const std::function<void(Widget)> &drive, const char *close)
{
    runModal([] { displayUserFkt(dialogTop()); }, drive, close);
}

std::vector<std::string> listEntries(Widget dialog)
{
    Widget list = XmtNameToWidget(dialog, "*whichone.listSW.list");
    return list ? listItems(list) : std::vector<std::string>{};
}

void choose(Widget dialog, int position)
{
    XmListSelectPos(guiFind(dialog, "*whichone.listSW.list"), position + 1, True);
}

void answerFileDialog(const std::string &path, Widget outer)
{
    guiWhenActive(
        [path](Widget fsb) {
            if (path.empty()) {
                guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_CANCEL_BUTTON));
                return;
            }
            XmTextFieldSetString(XmFileSelectionBoxGetChild(fsb, XmDIALOG_TEXT), const_cast<char *>(path.c_str()));
            guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_OK_BUTTON));
        },
        outer);
}
