// Widget trees from "children" resource lines.
#include "toolkit/internal.h"

#include <X11/IntrinsicP.h>

#include <Xm/DialogS.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/Separator.h>

#include <cstring>
#include <map>

namespace xmt {
namespace {

struct Entry {
    std::string kind, name, binding;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string trim(const std::string &s)
{
    size_t a = 0, b = s.size();
    while (a < b && isBlank(s[a]))
        ++a;
    while (b > a && isBlank(s[b - 1]))
        --b;
    return s.substr(a, b - a);
}

// "num0..29" stands for num0, num1, ... num29.
struct Range {
    bool plain = true;
    bool valid = true;
    std::string stem;
    int first = 0, last = 0;
};

Range range(const std::string &name)
{
    Range r;
    size_t dots = name.find("..");
    if (dots == std::string::npos)
        return r;
    r.plain = false;
    if (dots == 0) {
        r.valid = false;
        return r;
    }
    size_t digits = name.find_last_not_of("0123456789", dots - 1);
    digits = digits == std::string::npos ? 0 : digits + 1;
    std::string from = name.substr(digits, dots - digits), to = name.substr(dots + 2);
    r.valid = !from.empty() && !to.empty() && from.size() < 5 && to.size() < 5 && digits > 0 &&
              to.find_first_not_of("0123456789") == std::string::npos;
    if (r.valid) {
        r.stem = name.substr(0, digits);
        r.first = std::stoi(from);
        r.last = std::stoi(to);
        r.valid = r.first <= r.last;
    }
    return r;
}

// "Kind name; Kind name = binding; Kind name0..9; Kind name0..9 = buf0..9"
std::vector<Entry> parseChildren(const char *text, const std::string &ownerPath, bool &bad)
{
    std::vector<Entry> entries;
    std::string all = text;
    size_t pos = 0;
    while (pos <= all.size()) {
        size_t end = all.find_first_of(";\n", pos);
        if (end == std::string::npos)
            end = all.size();
        std::string item = trim(all.substr(pos, end - pos));
        pos = end + 1;
        if (item.empty())
            continue;
        Entry e;
        std::string left = item;
        size_t eq = item.find('=');
        if (eq != std::string::npos) {
            e.binding = trim(item.substr(eq + 1));
            left = trim(item.substr(0, eq));
        }
        size_t sp = left.find_first_of(" \t");
        if (sp != std::string::npos) {
            e.kind = left.substr(0, sp);
            e.name = trim(left.substr(sp));
        }
        Range names = range(e.name), bindings = range(e.binding);
        if (e.kind.empty() || e.name.empty() || e.name.find_first_of(" \t") != std::string::npos ||
            (eq != std::string::npos && e.binding.empty()) || !names.valid ||
            (!bindings.plain && bindings.last - bindings.first != names.last - names.first)) {
            resourceProblem("bad children entry \"%s\" of %s\n", item.c_str(), ownerPath.c_str());
            bad = true;
            continue;
        }
        if (names.plain) {
            entries.push_back(e);
            continue;
        }
        for (int i = 0; i <= names.last - names.first; i++) {
            Entry one{e.kind, names.stem + std::to_string(names.first + i), e.binding};
            if (!bindings.plain)
                one.binding = bindings.stem + std::to_string(bindings.first + i);
            entries.push_back(one);
        }
    }
    return entries;
}

// Our defaults for a widget about to be created, unless a resource line sets them.
struct Defaults {
    Widget parent;
    const char *name;
    WidgetClass wc;
    std::vector<Arg> args;
    void add(const char *resource, XtArgVal value)
    {
        if (!lookup(parent, name, wc->core_class.class_name, resource)) {
            Arg a;
            XtSetArg(a, const_cast<char *>(resource), value);
            args.push_back(a);
        }
    }
    Widget create()
    {
        return XtCreateWidget(name, wc, parent, args.data(), static_cast<Cardinal>(args.size()));
    }
};

Widget createRowColumn(Widget parent, const char *name, unsigned char orientation, bool equal)
{
    Defaults d{parent, name, xmRowColumnWidgetClass, {}};
    d.add(XmNorientation, orientation);
    d.add(XmNpacking, equal ? XmPACK_COLUMN : XmPACK_TIGHT);
    if (equal)
        d.add(XmNnumColumns, 1);
    return d.create();
}

// Etched frame with the title label and the inner box the children go into.
Widget createFrame(Widget parent, const char *name, bool horizontal, Widget &box)
{
    Defaults d{parent, name, xmFrameWidgetClass, {}};
    d.add(XmNshadowType, XmSHADOW_ETCHED_IN);
    Widget frame = d.create();
    if (const char *title = lookup(frame, nullptr, nullptr, "title")) {
        Widget label = XtVaCreateManagedWidget("frameTitle", xmLabelWidgetClass, frame, XmNchildType,
                                               XmFRAME_TITLE_CHILD, nullptr);
        setLabel(label, title);
    }
    box = createRowColumn(frame, "box", horizontal ? XmHORIZONTAL : XmVERTICAL, false);
    XtManageChild(box);
    return frame;
}

// Stacks the form's children top to bottom, each stretched to its width.
void stackFormChildren(Widget form)
{
    WidgetList kids;
    Cardinal n;
    XtVaGetValues(form, XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    Widget above = nullptr;
    for (Cardinal i = 0; i < n; ++i) {
        Widget k = kids[i];
        if (above)
            XtVaSetValues(k, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, above, nullptr);
        else
            XtVaSetValues(k, XmNtopAttachment, XmATTACH_FORM, nullptr);
        XtVaSetValues(k, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, nullptr);
        if (i + 1 == n)
            XtVaSetValues(k, XmNbottomAttachment, XmATTACH_FORM, nullptr);
        above = k;
    }
}

WidgetClass classOfKind(const std::string &kind)
{
    static const std::map<std::string, WidgetClass> classes = {
        {"Button", xmPushButtonWidgetClass},   {"Label", xmLabelWidgetClass},
        {"MsgLine", xmLabelWidgetClass},       {"Chooser", xmRowColumnWidgetClass},
        {"InputField", nullptr},               {"List", xmListWidgetClass},
        {"Separator", xmSeparatorWidgetClass}, {"Row", xmRowColumnWidgetClass},
        {"Column", xmRowColumnWidgetClass},    {"EqualRow", xmRowColumnWidgetClass},
        {"EqualColumn", xmRowColumnWidgetClass}, {"Frame", xmFrameWidgetClass},
        {"HFrame", xmFrameWidgetClass},        {"Form", xmFormWidgetClass},
    };
    auto it = classes.find(kind);
    return it == classes.end() ? nullptr : it->second;
}

bool knownKind(const std::string &kind)
{
    return kind == "InputField" || classOfKind(kind) != nullptr;
}

std::map<Widget, Widget> &captions()
{
    static std::map<Widget, Widget> table;
    return table;
}

void forgetCaption(Widget w, XtPointer, XtPointer)
{
    captions().erase(w);
}

// Creates one entry into container (and its subtree); the widget, or nullptr.
// listCaption: the owner's "captions" entry for this child, if any; the child's
// own "caption" line wins.
Widget createEntry(const Entry &e, Widget container, const std::string *listCaption, BuildResult &result)
{
    const char *name = e.name.c_str();
    WidgetClass wc = classOfKind(e.kind);
    const char *cls = wc ? wc->core_class.class_name : "XmTextField";
    Widget where = container;
    Widget capBox = nullptr, capLabel = nullptr;
    const char *caption = lookup(container, name, cls, "caption");
    if (!caption && listCaption)
        caption = listCaption->c_str();
    if (caption) {
        const char *pos = lookup(container, name, cls, "captionPosition");
        bool top = pos && strcmp(pos, "top") == 0;
        std::string boxName = e.name + "_cap";
        std::string labelName = e.name + "_label";
        capBox = createRowColumn(container, boxName.c_str(), top ? XmVERTICAL : XmHORIZONTAL, false);
        XtVaSetValues(capBox, XmNmarginWidth, 0, XmNmarginHeight, 0, nullptr);
        if (!top)
            XtVaSetValues(capBox, XmNentryVerticalAlignment, XmALIGNMENT_CENTER, nullptr);
        capLabel = XtCreateManagedWidget(labelName.c_str(), xmLabelWidgetClass, capBox, nullptr, 0);
        setLabel(capLabel, caption);
        where = capBox;
    }

    Widget w = nullptr;
    Widget captioned = nullptr;      // the widget a caption belongs to
    Widget childContainer = nullptr; // where this widget's own children go
    if (e.kind == "Button" || e.kind == "Label" || e.kind == "Separator") {
        w = XtCreateWidget(name, wc, where, nullptr, 0);
    } else if (e.kind == "MsgLine") {
        w = createMsgLine(where, name);
    } else if (e.kind == "Chooser") {
        w = createChooser(where, name);
    } else if (e.kind == "InputField") {
        w = createInputField(where, name, e.binding.empty() ? name : e.binding.c_str());
        if (w)
            result.fields.push_back(w);
    } else if (e.kind == "List") {
        // Row-column boxes size a scrolled list by its items, whatever its width
        // says; a list given a width sits in a form ("<name>_box"), which keeps it.
        Widget holder = nullptr;
        if (lookup(where, name, "XmList", "width")) {
            std::string boxName = e.name + "_box";
            holder = XtCreateWidget(boxName.c_str(), xmFormWidgetClass, where, nullptr, 0);
        }
        captioned = XmCreateScrolledList(holder ? holder : where, const_cast<char *>(name), nullptr, 0);
        XtManageChild(captioned);
        w = XtParent(captioned); // the scrolled window is the child that gets managed
        if (holder) {
            XtVaSetValues(w, XmNtopAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM,
                          XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, nullptr);
            XtManageChild(w);
            w = holder;
        }
    } else if (e.kind == "Row" || e.kind == "Column" || e.kind == "EqualRow" || e.kind == "EqualColumn") {
        bool row = e.kind == "Row" || e.kind == "EqualRow";
        w = createRowColumn(where, name, row ? XmHORIZONTAL : XmVERTICAL, e.kind.rfind("Equal", 0) == 0);
        childContainer = w;
    } else if (e.kind == "Frame" || e.kind == "HFrame") {
        w = createFrame(where, name, e.kind == "HFrame", childContainer);
    } else if (e.kind == "Form") {
        Defaults d{where, name, xmFormWidgetClass, {}};
        if (XmIsDialogShell(where)) {
            d.add(XmNautoUnmanage, False);
            d.add(XmNdialogStyle, XmDIALOG_FULL_APPLICATION_MODAL);
        }
        d.add(XmNhorizontalSpacing, 4);
        d.add(XmNverticalSpacing, 4);
        w = d.create();
        childContainer = w;
    }
    if (!w) {
        if (capBox)
            XtDestroyWidget(capBox);
        result.failed = true;
        return nullptr;
    }
    if (childContainer) {
        buildChildren(w, childContainer, true, result);
        if (e.kind == "Form")
            stackFormChildren(w);
    }
    if (capBox) {
        XtManageChild(w);
        if (!captioned)
            captioned = w;
        captions()[captioned] = capLabel;
        XtAddCallback(captioned, XmNdestroyCallback, forgetCaption, nullptr);
        return capBox;
    }
    return w;
}

} // namespace

void buildChildren(Widget owner, Widget container, bool manage, BuildResult &result)
{
    const char *text = lookup(owner, nullptr, nullptr, "children");
    if (!text)
        return;
    bool bad = false;
    std::vector<Entry> entries = parseChildren(text, XmtWidgetPath(owner), bad);
    if (bad)
        result.failed = true;
    const char *captionList = lookup(owner, nullptr, nullptr, "captions");
    std::vector<std::string> captions = captionList ? splitStrings(captionList) : std::vector<std::string>{};
    std::vector<Widget> made;
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry &e = entries[i];
        if (!knownKind(e.kind)) {
            resourceProblem("unknown widget kind \"%s\" for %s\n", e.kind.c_str(),
                    pathOf(container, e.name.c_str()).c_str());
            result.failed = true;
            continue;
        }
        if (Widget w = createEntry(e, container, i < captions.size() ? &captions[i] : nullptr, result)) {
            made.push_back(w);
            ++result.created;
        }
    }
    if (manage && !made.empty())
        XtManageChildren(made.data(), static_cast<Cardinal>(made.size()));
}

} // namespace xmt

using namespace xmt;

void XmtCreateChildren(Widget parent)
{
    BuildResult result;
    buildChildren(parent, parent, true, result);
}

Widget XmtCaptionOf(Widget w)
{
    auto it = captions().find(w);
    return it == captions().end() ? nullptr : it->second;
}

void XmtSetCaption(Widget w, const char *text)
{
    if (Widget label = XmtCaptionOf(w))
        setLabel(label, text);
}
