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

#include <cmath>
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

std::map<Widget, Widget> &captions()
{
    static std::map<Widget, Widget> table;
    return table;
}

void forgetCaption(Widget w, XtPointer, XtPointer)
{
    captions().erase(w);
}

struct Kind;

// What making one entry gave: the widget that goes into the container, the one
// its caption belongs to when that is another (a list in its scrolled window),
// and the box its own children go into (containers only).
struct Made {
    Widget widget = nullptr;
    Widget captioned = nullptr;
    Widget childBox = nullptr;
};

using Maker = Made (*)(const Kind &kind, const Entry &e, Widget where, BuildResult &result);

// One kind of the "children" lines.
struct Kind {
    const char *name;
    WidgetClass *widgetClass; // nullptr: no Motif class of its own (the input field)
    Maker make;
    bool horizontal = false;           // rows and HFrame
    bool equal = false;                // EqualRow, EqualColumn
    void (*arrange)(Widget) = nullptr; // after the children are made
    // The class the entry's own resource lines are looked up under before it exists.
    const char *className() const { return widgetClass ? (*widgetClass)->core_class.class_name : "XmTextField"; }
};

// The caption keeps the width that text takes in its font, whichever caption
// it shows later: the widgets of a column line up at any size of the font.
void fitCaptionTo(Widget label, const char *text)
{
    XmRenderTable table = nullptr;
    Dimension margin = 0, shadow = 0, highlight = 0, left = 0, right = 0, width = 0, height = 0;
    XtVaGetValues(label, XmNrenderTable, &table, XmNmarginWidth, &margin, XmNshadowThickness, &shadow,
                  XmNhighlightThickness, &highlight, XmNmarginLeft, &left, XmNmarginRight, &right, nullptr);
    XmString s = makeString(text);
    XmStringExtent(table, s, &width, &height);
    XmStringFree(s);
    XtVaSetValues(label, XmNrecomputeSize, False, XmNwidth, width + 2 * (margin + shadow + highlight) + left + right,
                  nullptr);
}

// A label that shows figures is given the room of the widest it shows
// ("widthText"), in its own font: fixed widths cut figures when the font grows.
Made makePlain(const Kind &kind, const Entry &e, Widget where, BuildResult &)
{
    Widget w = XtCreateWidget(e.name.c_str(), *kind.widgetClass, where, nullptr, 0);
    if (w && XmIsLabel(w))
        if (const char *widest = lookup(where, e.name.c_str(), "XmLabel", "widthText"))
            fitCaptionTo(w, widest);
    return {w};
}

Made makeMsgLine(const Kind &, const Entry &e, Widget where, BuildResult &)
{
    return {createMsgLine(where, e.name.c_str())};
}

Made makeChooser(const Kind &, const Entry &e, Widget where, BuildResult &)
{
    return {createChooser(where, e.name.c_str())};
}

Made makeInputField(const Kind &, const Entry &e, Widget where, BuildResult &result)
{
    Widget w = createInputField(where, e.name.c_str(), e.binding.empty() ? e.name.c_str() : e.binding.c_str());
    if (w)
        result.fields.push_back(w);
    return {w};
}

// A list that shows figures is as wide as the widest line it shows
// ("widthText"), in its own font.
void fitListTo(Widget list, const char *text)
{
    XmRenderTable table = nullptr;
    Dimension margin = 0, shadow = 0, highlight = 0, width = 0, height = 0;
    XtVaGetValues(list, XmNrenderTable, &table, XmNlistMarginWidth, &margin, XmNshadowThickness, &shadow,
                  XmNhighlightThickness, &highlight, nullptr);
    XmString s = makeString(text);
    XmStringExtent(table, s, &width, &height);
    XmStringFree(s);
    XtVaSetValues(list, XmNwidth, width + 2 * (margin + shadow + highlight), nullptr);
}

// Row-column boxes size a scrolled list by its items, whatever its width says;
// a list given a width (or widthText) sits in a form ("<name>_box"), which keeps it.
Made makeList(const Kind &, const Entry &e, Widget where, BuildResult &)
{
    const char *name = e.name.c_str();
    Widget holder = nullptr;
    const char *widest = lookup(where, name, "XmList", "widthText");
    if (widest || lookup(where, name, "XmList", "width")) {
        std::string boxName = e.name + "_box";
        holder = XtCreateWidget(boxName.c_str(), xmFormWidgetClass, where, nullptr, 0);
    }
    Made made;
    made.captioned = XmCreateScrolledList(holder ? holder : where, const_cast<char *>(name), nullptr, 0);
    XtManageChild(made.captioned);
    made.widget = XtParent(made.captioned); // the scrolled window is the child that gets managed
    if (widest)
        fitListTo(made.captioned, widest);
    if (holder) {
        XtVaSetValues(made.widget, XmNtopAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM,
                      XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, nullptr);
        XtManageChild(made.widget);
        made.widget = holder;
    }
    return made;
}

Made makeBox(const Kind &kind, const Entry &e, Widget where, BuildResult &)
{
    Widget w = createRowColumn(where, e.name.c_str(), kind.horizontal ? XmHORIZONTAL : XmVERTICAL, kind.equal);
    return {w, nullptr, w};
}

Made makeFrame(const Kind &kind, const Entry &e, Widget where, BuildResult &)
{
    Made made;
    made.widget = createFrame(where, e.name.c_str(), kind.horizontal, made.childBox);
    return made;
}

Made makeForm(const Kind &, const Entry &e, Widget where, BuildResult &)
{
    Defaults d{where, e.name.c_str(), xmFormWidgetClass, {}};
    if (XmIsDialogShell(where)) {
        d.add(XmNautoUnmanage, False);
        d.add(XmNdialogStyle, XmDIALOG_FULL_APPLICATION_MODAL);
    }
    XtArgVal spacing = std::lround(4 * XmtResolutionFactor());
    d.add(XmNhorizontalSpacing, spacing);
    d.add(XmNverticalSpacing, spacing);
    Widget w = d.create();
    return {w, nullptr, w};
}

const Kind kinds[] = {
    {"Button", &xmPushButtonWidgetClass, makePlain},
    {"Label", &xmLabelWidgetClass, makePlain},
    {"Separator", &xmSeparatorWidgetClass, makePlain},
    {"MsgLine", &xmLabelWidgetClass, makeMsgLine},
    {"Chooser", &xmRowColumnWidgetClass, makeChooser},
    {"InputField", nullptr, makeInputField},
    {"List", &xmListWidgetClass, makeList},
    {"Row", &xmRowColumnWidgetClass, makeBox, true},
    {"Column", &xmRowColumnWidgetClass, makeBox},
    {"EqualRow", &xmRowColumnWidgetClass, makeBox, true, true},
    {"EqualColumn", &xmRowColumnWidgetClass, makeBox, false, true},
    {"Frame", &xmFrameWidgetClass, makeFrame},
    {"HFrame", &xmFrameWidgetClass, makeFrame, true},
    {"Form", &xmFormWidgetClass, makeForm, false, false, stackFormChildren},
};

const Kind *kindNamed(const std::string &name)
{
    for (const Kind &kind : kinds)
        if (name == kind.name)
            return &kind;
    return nullptr;
}

// The box and label a caption puts around an entry: from the entry's own
// "caption" line, else from the owner's "captions" list (listCaption).
struct CaptionBox {
    Widget box = nullptr;
    Widget label = nullptr;
};

CaptionBox createCaptionBox(const Entry &e, const char *cls, Widget container, const std::string *listCaption)
{
    const char *name = e.name.c_str();
    const char *caption = lookup(container, name, cls, "caption");
    if (!caption && listCaption)
        caption = listCaption->c_str();
    if (!caption)
        return {};
    const char *pos = lookup(container, name, cls, "captionPosition");
    bool top = pos && strcmp(pos, "top") == 0;
    std::string boxName = e.name + "_cap";
    std::string labelName = e.name + "_label";
    CaptionBox cap;
    cap.box = createRowColumn(container, boxName.c_str(), top ? XmVERTICAL : XmHORIZONTAL, false);
    XtVaSetValues(cap.box, XmNmarginWidth, 0, XmNmarginHeight, 0, nullptr);
    if (!top)
        XtVaSetValues(cap.box, XmNentryVerticalAlignment, XmALIGNMENT_CENTER, nullptr);
    cap.label = XtCreateManagedWidget(labelName.c_str(), xmLabelWidgetClass, cap.box, nullptr, 0);
    setLabel(cap.label, caption);
    if (const char *room = lookup(container, name, cls, "captionWidth"))
        fitCaptionTo(cap.label, room);
    return cap;
}

// Creates one entry into container (and its subtree); the widget to manage
// there, or nullptr.
Widget createEntry(const Kind &kind, const Entry &e, Widget container, const std::string *listCaption,
                   BuildResult &result)
{
    CaptionBox cap = createCaptionBox(e, kind.className(), container, listCaption);
    Made made = kind.make(kind, e, cap.box ? cap.box : container, result);
    if (!made.widget) {
        if (cap.box)
            XtDestroyWidget(cap.box);
        result.failed = true;
        return nullptr;
    }
    if (made.childBox) {
        buildChildren(made.widget, made.childBox, true, result);
        if (kind.arrange)
            kind.arrange(made.widget);
    }
    if (!cap.box)
        return made.widget;
    XtManageChild(made.widget);
    Widget captioned = made.captioned ? made.captioned : made.widget;
    captions()[captioned] = cap.label;
    XtAddCallback(captioned, XmNdestroyCallback, forgetCaption, nullptr);
    return cap.box;
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
        const Kind *kind = kindNamed(e.kind);
        if (!kind) {
            resourceProblem("unknown widget kind \"%s\" for %s\n", e.kind.c_str(),
                    pathOf(container, e.name.c_str()).c_str());
            result.failed = true;
            continue;
        }
        if (Widget w = createEntry(*kind, e, container, i < captions.size() ? &captions[i] : nullptr, result)) {
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
