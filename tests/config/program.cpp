#include "program.h"

#include "config/record.h"
#include "shell/shell.h"
#include "support/gui.h"
#include "support/program.h"
#include "toolkit/toolkit.h"

#include <X11/IntrinsicP.h>
#include <Xm/MessageB.h>
#include <Xm/Scale.h>
#include <algorithm>
#include <cstring>

namespace {

// Xt's change hook sees every XtSetValues, so the scale's values can be
// followed while a transfer blocks the event loop.
void watchSetValues(Widget, XtPointer, XtPointer call)
{
    auto *change = static_cast<XtChangeHookDataRec *>(call);
    if (change->type != XtHsetValues || !XmIsScale(change->widget))
        return;
    auto *data = static_cast<XtChangeHookSetValuesDataRec *>(change->event_data);
    for (Cardinal i = 0; i < data->num_args; ++i)
        if (std::strcmp(data->args[i].name, XmNvalue) == 0)
            scaleValues().push_back(int(data->args[i].value));
}

} // namespace

Widget transferTop()
{
    static Widget top = nullptr;
    if (!top) {
        top = programTop();
        XtAddCallback(XtHooksOfDisplay(XtDisplay(top)), XtNchangeHook, watchSetValues, nullptr);
    }
    return top;
}

Widget mainWidget(const char *name) { return guiFind(transferTop(), name); }

bool sensitive(const char *name) { return XtIsSensitive(mainWidget(name)); }

std::vector<int> &scaleValues()
{
    static std::vector<int> values;
    return values;
}

std::string takeMessage(const char *name)
{
    Widget box = XmtLastMessageBox(name);
    if (!box || !XtIsManaged(box))
        return "";
    std::string text = guiText(box, XmNmessageString);
    guiPress(XmMessageBoxGetChild(box, XmDIALOG_OK_BUTTON));
    guiPump(20);
    return text;
}

PbxLine::PbxLine(const pbxsim::State &state) : SimLine(state)
{
    transferTop();
    static std::string path;
    path = device;
    setDevicePath(path.c_str());
    scaleValues().clear();
}

std::vector<unsigned char> imageOf(const pbxsim::State &s)
{
    std::vector<unsigned char> image(rec::PbxImageSize);
    image[0] = static_cast<unsigned char>(s.port_count - 1);
    for (int p = 0; p < pbxsim::PortCount; ++p)
        std::copy(s.ports[p].begin(), s.ports[p].end(), image.begin() + 1 + 195 * p);
    std::copy(s.rufnr.begin(), s.rufnr.end(), image.begin() + rec::RufnrList);
    std::copy(s.ber.begin(), s.ber.end(), image.begin() + rec::BerList);
    std::copy(s.rufvert.begin(), s.rufvert.end(), image.begin() + rec::RufVertList);
    std::copy(s.gebkonf.begin(), s.gebkonf.end(), image.begin() + rec::GebKonfList);
    std::copy(s.stkon.begin(), s.stkon.end(), image.begin() + rec::StKonList);
    std::copy(s.anldat.begin(), s.anldat.end(), image.begin() + rec::AnlDatList);
    return image;
}
