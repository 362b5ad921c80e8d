// Choosers: radio box, check box, option menu and radio list over Motif widgets.
#include "toolkit/internal.h"

#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/ToggleB.h>

#include <cstring>
#include <map>

namespace xmt {
namespace {

struct Chooser {
    XmtChooserType type = XmtChooserRadioBox;
    Widget widget = nullptr;
    Widget pane = nullptr; // option menu: the pulldown holding the items
    Widget list = nullptr; // radio list: its entries are the program's, so the state is the list's own
    std::vector<Widget> items;
    int state = 0;
    CallList callbacks;
};

std::map<Widget, std::unique_ptr<Chooser>> &choosers()
{
    static std::map<Widget, std::unique_ptr<Chooser>> table;
    return table;
}

Chooser *find(Widget w)
{
    auto it = choosers().find(w);
    return it == choosers().end() ? nullptr : it->second.get();
}

} // namespace

std::vector<std::string> splitStrings(const char *text)
{
    std::vector<std::string> out;
    const char *p = text;
    for (;;) {
        while (*p == ' ' || *p == '\t' || *p == '\n')
            ++p;
        if (!*p)
            break;
        std::string s;
        if (*p == '"') {
            ++p;
            while (*p && *p != '"') {
                if (*p == '\\' && p[1])
                    ++p;
                s += *p++;
            }
            if (*p == '"')
                ++p;
            while (*p && *p != ',')
                ++p;
        } else {
            while (*p && *p != ',')
                s += *p++;
            while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n'))
                s.pop_back();
        }
        out.push_back(s);
        if (*p == ',')
            ++p;
    }
    return out;
}

namespace {

void notify(Chooser *c, int item)
{
    XmtChooserCallbackStruct data{c->state, item};
    runCalls(c->callbacks, c->widget, &data);
}

int indexOf(Chooser *c, Widget item)
{
    for (size_t i = 0; i < c->items.size(); ++i)
        if (c->items[i] == item)
            return static_cast<int>(i);
    return -1;
}

void toggled(Widget item, XtPointer client, XtPointer call)
{
    Chooser *c = find(static_cast<Widget>(client));
    if (!c)
        return;
    auto *cbs = static_cast<XmToggleButtonCallbackStruct *>(call);
    int i = indexOf(c, item);
    if (i < 0)
        return;
    if (c->type == XmtChooserRadioBox) {
        if (!cbs->set)
            return; // the item being switched off as another one goes on
        c->state = i;
    } else {
        if (cbs->set)
            c->state |= 1 << i;
        else
            c->state &= ~(1 << i);
    }
    notify(c, i);
}

void showState(Chooser *c);

void activated(Widget item, XtPointer client, XtPointer)
{
    Chooser *c = find(static_cast<Widget>(client));
    if (!c)
        return;
    int i = indexOf(c, item);
    if (i < 0)
        return;
    c->state = i;
    showState(c);
    notify(c, i);
}

// A radio list's state is the selected position from 0, -1 when none is.
int listState(Chooser *c)
{
    int *positions = nullptr;
    int count = 0;
    int state = -1;
    if (XmListGetSelectedPos(c->list, &positions, &count) && count > 0)
        state = positions[0] - 1;
    XtFree(reinterpret_cast<char *>(positions));
    return state;
}

void listSelected(Widget, XtPointer client, XtPointer)
{
    Chooser *c = find(static_cast<Widget>(client));
    if (!c)
        return;
    c->state = listState(c);
    notify(c, c->state);
}

void destroyed(Widget w, XtPointer, XtPointer)
{
    choosers().erase(w);
}

void showState(Chooser *c)
{
    int n = static_cast<int>(c->items.size());
    switch (c->type) {
    case XmtChooserRadioBox:
        for (int i = 0; i < n; ++i)
            XmToggleButtonSetState(c->items[i], i == c->state, False);
        break;
    case XmtChooserCheckBox:
        for (int i = 0; i < n; ++i)
            XmToggleButtonSetState(c->items[i], (c->state >> i) & 1, False);
        break;
    case XmtChooserOption: {
        // The menu's button shows the chosen item's label; blank for an index
        // that has no item, rather than an item that is not the value.
        Widget button = XmOptionButtonGadget(c->widget);
        XmString label = nullptr;
        if (c->state >= 0 && c->state < n) {
            XtVaSetValues(c->widget, XmNmenuHistory, c->items[c->state], nullptr);
            XtVaGetValues(c->items[c->state], XmNlabelString, &label, nullptr);
            XtVaSetValues(button, XmNlabelString, label, nullptr);
            XmStringFree(label);
        } else {
            label = makeString("");
            XtVaSetValues(button, XmNlabelString, label, nullptr);
            XmStringFree(label);
        }
        break;
    }
    case XmtChooserRadioList:
        XmListDeselectAllItems(c->list);
        if (c->state >= 0)
            XmListSelectPos(c->list, c->state + 1, False);
        c->state = listState(c);
        break;
    }
}

XmtChooserType chooserTypeOf(Widget container, const char *name)
{
    const char *type = lookup(container, name, "XmRowColumn", "chooserType");
    if (type && strcmp(type, "check") == 0)
        return XmtChooserCheckBox;
    if (type && strcmp(type, "option") == 0)
        return XmtChooserOption;
    if (type && strcmp(type, "list") == 0)
        return XmtChooserRadioList;
    if (type && strcmp(type, "radio") != 0)
        resourceProblem("unknown chooserType \"%s\" for %s\n", type, pathOf(container, name).c_str());
    return XmtChooserRadioBox;
}

// The chooser's own widgets for its type; returns the widget its items go into.
Widget createChooserWidgets(Chooser &c, Widget container, const char *name)
{
    Arg args[2];
    switch (c.type) {
    case XmtChooserOption: {
        std::string paneName = std::string(name) + "_pane";
        c.pane = XmCreatePulldownMenu(container, const_cast<char *>(paneName.c_str()), nullptr, 0);
        XtSetArg(args[0], const_cast<char *>(XmNsubMenuId), c.pane);
        c.widget = XmCreateOptionMenu(container, const_cast<char *>(name), args, 1);
        // The option menu's own label stays empty unless a resource fills it: a
        // caption does that job here.
        if (!lookup(c.widget, nullptr, nullptr, "labelString"))
            XtUnmanageChild(XmOptionLabelGadget(c.widget));
        return c.pane;
    }
    case XmtChooserRadioList:
        XtSetArg(args[0], const_cast<char *>(XmNmarginWidth), 0);
        c.widget = XtCreateWidget(name, xmRowColumnWidgetClass, container, args, 1);
        XtSetArg(args[0], const_cast<char *>(XmNselectionPolicy), XmBROWSE_SELECT);
        c.list = XmCreateScrolledList(c.widget, const_cast<char *>("list"), args, 1);
        XtManageChild(c.list);
        XtAddCallback(c.list, XmNbrowseSelectionCallback, listSelected, c.widget);
        XtAddCallback(c.list, XmNsingleSelectionCallback, listSelected, c.widget);
        return c.widget;
    case XmtChooserRadioBox:
        XtSetArg(args[0], const_cast<char *>(XmNradioBehavior), True);
        XtSetArg(args[1], const_cast<char *>(XmNradioAlwaysOne), True);
        c.widget = XtCreateWidget(name, xmRowColumnWidgetClass, container, args, 2);
        return c.widget;
    case XmtChooserCheckBox:
        break;
    }
    c.widget = XtCreateWidget(name, xmRowColumnWidgetClass, container, nullptr, 0);
    return c.widget;
}

// The "strings" as list entries, or as items "item0".. (push buttons in an
// option menu, toggle buttons otherwise).
void addItems(Chooser &c, Widget itemParent)
{
    const char *strings = lookup(c.widget, nullptr, nullptr, "strings");
    std::vector<std::string> labels = strings ? splitStrings(strings) : std::vector<std::string>{};
    for (size_t i = 0; i < labels.size(); ++i) {
        XmString s = makeString(labels[i].c_str());
        if (c.list) {
            XmListAddItemUnselected(c.list, s, 0);
            XmStringFree(s);
            continue;
        }
        std::string itemName = "item" + std::to_string(i);
        Arg a;
        XtSetArg(a, const_cast<char *>(XmNlabelString), s);
        Widget item;
        if (c.type == XmtChooserOption) {
            item = XtCreateManagedWidget(itemName.c_str(), xmPushButtonWidgetClass, itemParent, &a, 1);
            XtAddCallback(item, XmNactivateCallback, activated, c.widget);
        } else if (c.type == XmtChooserRadioBox) {
            // A round one whose dot is drawn in the text's colour: "on" at a glance.
            Pixel foreground = 0;
            XtVaGetValues(itemParent, XmNforeground, &foreground, nullptr);
            Arg round[] = {a,
                           {const_cast<char *>(XmNindicatorType), XmONE_OF_MANY_ROUND},
                           {const_cast<char *>(XmNselectColor), XtArgVal(foreground)}};
            item = XtCreateManagedWidget(itemName.c_str(), xmToggleButtonWidgetClass, itemParent, round, 3);
            XtAddCallback(item, XmNvalueChangedCallback, toggled, c.widget);
        } else {
            item = XtCreateManagedWidget(itemName.c_str(), xmToggleButtonWidgetClass, itemParent, &a, 1);
            XtAddCallback(item, XmNvalueChangedCallback, toggled, c.widget);
        }
        XmStringFree(s);
        c.items.push_back(item);
    }
}

} // namespace

Widget createChooser(Widget container, const char *name)
{
    auto c = std::make_unique<Chooser>();
    c->type = chooserTypeOf(container, name);
    addItems(*c, createChooserWidgets(*c, container, name));
    if (const char *cb = lookup(c->widget, nullptr, nullptr, "valueChangedCallback"))
        parseCalls(cb, XmtWidgetPath(c->widget), c->callbacks);
    XtAddCallback(c->widget, XmNdestroyCallback, destroyed, nullptr);
    Chooser *raw = c.get();
    choosers()[c->widget] = std::move(c);
    if (raw->type == XmtChooserCheckBox)
        raw->state = 0;
    if (raw->type == XmtChooserRadioList)
        raw->state = -1;
    showState(raw);
    return raw->widget;
}

} // namespace xmt

using namespace xmt;

bool XmtIsChooser(Widget w)
{
    return find(w) != nullptr;
}

int XmtChooserGetState(Widget chooser)
{
    Chooser *c = find(chooser);
    if (c && c->list)
        return listState(c);
    return c ? c->state : 0;
}

void XmtChooserSetState(Widget chooser, int state, Boolean notifyCallbacks)
{
    Chooser *c = find(chooser);
    if (!c)
        return;
    int n = c->list ? XmtChooserGetNumItems(chooser) : static_cast<int>(c->items.size());
    // An option menu cannot show an index outside it; it keeps showing its
    // last item but holds the index, so that a value the user did not change
    // is stored back as it was.
    int old = c->state;
    c->state = state;
    showState(c);
    if (c->type == XmtChooserOption && (state < 0 || state >= n))
        return; // no item was chosen
    if (notifyCallbacks) {
        int item = c->list ? c->state : state;
        if (c->type == XmtChooserCheckBox) {
            int changed = old ^ state;
            item = -1;
            for (int i = 0; i < n && item < 0; ++i)
                if ((changed >> i) & 1)
                    item = i;
        }
        notify(c, item);
    }
}

void XmtChooserSetSensitive(Widget chooser, int item, Boolean sensitive)
{
    if (Widget w = XmtChooserGetItem(chooser, item))
        XtSetSensitive(w, sensitive);
}

Boolean XmtChooserGetSensitive(Widget chooser, int item)
{
    Widget w = XmtChooserGetItem(chooser, item);
    if (!w)
        return False;
    Boolean sensitive = False;
    XtVaGetValues(w, XmNsensitive, &sensitive, nullptr);
    return sensitive;
}

int XmtChooserGetNumItems(Widget chooser)
{
    Chooser *c = find(chooser);
    if (c && c->list) {
        int count = 0;
        XtVaGetValues(c->list, XmNitemCount, &count, nullptr);
        return count;
    }
    return c ? static_cast<int>(c->items.size()) : 0;
}

Widget XmtChooserGetItem(Widget chooser, int item)
{
    Chooser *c = find(chooser);
    if (!c || item < 0 || item >= static_cast<int>(c->items.size()))
        return nullptr;
    return c->items[item];
}
