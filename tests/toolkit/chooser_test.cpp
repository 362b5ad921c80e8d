// Choosers: state without and with callbacks, bit sets, item sensitivity, lists.
#include <gtest/gtest.h>

#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/ToggleB.h>

#include <string>
#include <vector>

namespace {

struct Seen {
    std::string widget;
    int state, item;
    bool operator==(const Seen &o) const { return widget == o.widget && state == o.state && item == o.item; }
};
std::vector<Seen> seen;

void choiceMade(Widget w, XtPointer, XtPointer call)
{
    auto *cbs = static_cast<XmtChooserCallbackStruct *>(call);
    seen.push_back(Seen{XtName(w), cbs->state, cbs->item});
}

Widget chooserDialog()
{
    XmtRegisterCallbackProcedure("choiceMade", choiceMade);
    return guiDialog("cho_dlg", R"(
*cho_dlg.children: Form form
*cho_dlg*form.children: Chooser radio; Chooser check; Chooser menu; Chooser list
*cho_dlg*radio.strings: Eins, Zwei, "Drei, Vier"
*cho_dlg*radio.valueChangedCallback: choiceMade()
*cho_dlg*check.chooserType: check
*cho_dlg*check.strings: a, b, c, d
*cho_dlg*check.valueChangedCallback: choiceMade()
*cho_dlg*menu.chooserType: option
*cho_dlg*menu.strings: Einzelanlage, Direkt, Über Amt
*cho_dlg*menu.valueChangedCallback: choiceMade()
*cho_dlg*list.chooserType: list
*cho_dlg*list.strings: Erster, Zweiter
*cho_dlg*list.valueChangedCallback: choiceMade()
)");
}

// The items' toggles, "1" for set: "010".
std::string toggles(Widget chooser)
{
    std::string t;
    for (int i = 0; i < XmtChooserGetNumItems(chooser); i++)
        t += XmToggleButtonGetState(XmtChooserGetItem(chooser, i)) ? '1' : '0';
    return t;
}

TEST(Chooser, RadioStateWithoutAndWithCallbacks)
{
    Widget dlg = chooserDialog();
    ASSERT_NE(dlg, nullptr);
    Widget radio = guiFind(dlg, "*radio");
    ASSERT_TRUE(XmtIsChooser(radio));
    ASSERT_EQ(XmtChooserGetNumItems(radio), 3);
    EXPECT_EQ(XmtChooserGetItem(radio, 2), guiFind(dlg, "*radio.item2"));
    EXPECT_EQ(XmtChooserGetItem(radio, 3), nullptr);

    seen.clear();
    XmtChooserSetState(radio, 1, False);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(XmtChooserGetState(radio), 1);
    EXPECT_EQ(toggles(radio), "010");
    XmtChooserSetState(radio, 2, True);
    EXPECT_EQ(toggles(radio), "001");
    // A click on an item: the chooser follows and tells once.
    XmToggleButtonSetState(XmtChooserGetItem(radio, 0), True, True);
    EXPECT_EQ(XmtChooserGetState(radio), 0);
    EXPECT_EQ(seen, (std::vector<Seen>{{"radio", 2, 2}, {"radio", 0, 0}}));
}

TEST(Chooser, CheckBoxStateIsABitSet)
{
    Widget check = guiFind(chooserDialog(), "*check");
    seen.clear();
    XmtChooserSetState(check, 0x5, False);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(toggles(check), "1010");
    XmToggleButtonSetState(XmtChooserGetItem(check, 3), True, True);
    EXPECT_EQ(XmtChooserGetState(check), 0xD);
    XmToggleButtonSetState(XmtChooserGetItem(check, 0), False, True);
    EXPECT_EQ(XmtChooserGetState(check), 0xC);
    EXPECT_EQ(seen, (std::vector<Seen>{{"check", 0xD, 3}, {"check", 0xC, 0}}));
}

TEST(Chooser, OptionMenuShowsTheChosenItem)
{
    Widget menu = guiFind(chooserDialog(), "*menu");
    ASSERT_EQ(XmtChooserGetNumItems(menu), 3);
    seen.clear();
    XmtChooserSetState(menu, 2, False);
    Widget shown = nullptr;
    XtVaGetValues(menu, XmNmenuHistory, &shown, nullptr);
    EXPECT_EQ(shown, XmtChooserGetItem(menu, 2));
    EXPECT_EQ(XmtChooserGetState(menu), 2);
    // Outside the items: the menu holds the value, shows no item's label and
    // calls nobody; the same item picked again is a choice.
    for (int outside : {-1, 3, 9}) {
        XmtChooserSetState(menu, outside, True);
        EXPECT_EQ(XmtChooserGetState(menu), outside);
        EXPECT_EQ(guiText(XmOptionButtonGadget(menu), XmNlabelString), "") << outside;
    }
    EXPECT_TRUE(seen.empty());
    guiPress(XmtChooserGetItem(menu, 2));
    EXPECT_EQ(XmtChooserGetState(menu), 2);
    EXPECT_EQ(guiText(XmOptionButtonGadget(menu), XmNlabelString), guiText(XmtChooserGetItem(menu, 2), XmNlabelString));
    seen.clear();

    guiPress(XmtChooserGetItem(menu, 1));
    EXPECT_EQ(XmtChooserGetState(menu), 1);
    EXPECT_EQ(seen, (std::vector<Seen>{{"menu", 1, 1}}));
}

TEST(Chooser, ItemSensitivity)
{
    Widget radio = guiFind(chooserDialog(), "*radio");
    XmtChooserSetSensitive(radio, 1, False);
    EXPECT_FALSE(XmtChooserGetSensitive(radio, 1));
    EXPECT_TRUE(XmtChooserGetSensitive(radio, 0));
    EXPECT_TRUE(XmtChooserGetSensitive(radio, 2));
    EXPECT_FALSE(XtIsSensitive(XmtChooserGetItem(radio, 1)));
    XmtChooserSetSensitive(radio, 1, True);
    EXPECT_TRUE(XmtChooserGetSensitive(radio, 1));
    EXPECT_FALSE(XmtChooserGetSensitive(radio, 7));
}

// The program replaces a list's entries; its state is the selected position.
TEST(Chooser, RadioListFollowsItsEntries)
{
    chooserDialog();
    // A dialog of its own: the test changes the list's entries.
    Widget dlg = XmtBuildDialog(guiTop(), "cho_dlg", nullptr, 0);
    Widget chooser = guiFind(dlg, "*list");
    Widget list = guiFind(dlg, "*list.listSW.list");
    EXPECT_EQ(XmtChooserGetNumItems(chooser), 2);
    EXPECT_EQ(XmtChooserGetState(chooser), -1) << "nothing selected at first";
    EXPECT_EQ(XmtChooserGetItem(chooser, 0), nullptr);

    XmListDeleteAllItems(list);
    for (const char *entry : {"a", "b", "c", "d"}) {
        XmString s = XmStringCreateLocalized(const_cast<char *>(entry));
        XmListAddItemUnselected(list, s, 0);
        XmStringFree(s);
    }
    EXPECT_EQ(XmtChooserGetNumItems(chooser), 4);
    seen.clear();
    XmtChooserSetState(chooser, 3, False);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(XmtChooserGetState(chooser), 3);
    EXPECT_TRUE(XmListPosSelected(list, 4));

    // A click selects: the chooser tells once, with the position from 0.
    XmListSelectPos(list, 2, True);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].widget, "list");
    EXPECT_EQ(seen[0].state, 1);
    EXPECT_EQ(XmtChooserGetState(chooser), 1);
    EXPECT_FALSE(XmListPosSelected(list, 4)) << "one entry at a time";

    XmtChooserSetState(chooser, 0, True);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].state, 0);
    // Entries deleted under the selection: nothing is selected any more.
    XmListDeleteAllItems(list);
    EXPECT_EQ(XmtChooserGetState(chooser), -1);
    XmtChooserSetState(chooser, 5, False);
    EXPECT_EQ(XmtChooserGetState(chooser), -1) << "no such entry";
}

} // namespace
