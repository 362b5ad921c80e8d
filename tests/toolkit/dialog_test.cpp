// Dialogs bound to buffers: copy in on entry, back on OK only.
#include <gtest/gtest.h>

#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <Xm/RowColumn.h>
#include <Xm/TextF.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <string>

namespace {

struct Data {
    char name[8];
    char num[3];
    char tail[4];
};

XtResource dataResources[] = {
    {const_cast<char *>("name"), const_cast<char *>("Name"), const_cast<char *>("Buffer"), sizeof(Data::name),
     offsetof(Data, name), nullptr, nullptr},
    {const_cast<char *>("num"), const_cast<char *>("Num"), const_cast<char *>("Buffer"), sizeof(Data::num),
     offsetof(Data, num), nullptr, nullptr},
    {const_cast<char *>("tail"), const_cast<char *>("Tail"), const_cast<char *>("Buffer"), sizeof(Data::tail),
     offsetof(Data, tail), nullptr, nullptr},
};

void refuseSeven(Widget, XtPointer, XtPointer call)
{
    auto *cbs = static_cast<XmtInputFieldCallbackStruct *>(call);
    cbs->okay = strcmp(cbs->input, "77") != 0;
}

Widget dataDialog()
{
    XmtRegisterCallbackProcedure("refuseSeven", refuseSeven);
    return guiDialog("dat_dlg", R"(
*dat_dlg.title: Daten
*dat_dlg.children: Form form
*dat_dlg*form.children: InputField name; Row fields; EqualRow buttons
*dat_dlg*fields.children: InputField numfield = num; InputField tail
*dat_dlg*numfield.pattern: dd
*dat_dlg*numfield.verifyCallback: refuseSeven()
*dat_dlg*buttons.children: Button okay; Button cancel
*dat_dlg*okay.activateCallback: XmtDialogOkayCallback()
*dat_dlg*cancel.activateCallback: XmtDialogCancelCallback()
)", dataResources, XtNumber(dataResources));
}

void setText(Widget dlg, const char *field, const char *text)
{
    XmTextFieldSetString(guiFind(dlg, field), const_cast<char *>(text));
}

TEST(Dialog, OkCopiesFieldsBackIntoTheBuffers)
{
    Widget dlg = dataDialog();
    ASSERT_NE(dlg, nullptr);
    Data data;
    memset(&data, 'X', sizeof data);
    strcpy(data.name, "Anna");
    memcpy(data.num, "123", 3); // no NUL within its size
    strcpy(data.tail, "abc");

    std::string shownName, shownNum;
    bool viewable = false;
    Widget active = nullptr;
    guiWhenActive([&](Widget d) {
        active = d;
        viewable = guiViewable(d);
        shownName = XmtInputFieldGetString(guiFind(d, "*name"));
        shownNum = XmtInputFieldGetString(guiFind(d, "*numfield"));
        setText(d, "*name", "Bernhard");
        setText(d, "*numfield", "42");
        setText(d, "*tail", "lang und länger");
        guiPress(guiFind(d, "*okay"));
    });
    EXPECT_TRUE(XmtDialogDo(dlg, &data));
    EXPECT_EQ(active, dlg);
    char *title = nullptr;
    XtVaGetValues(dlg, XmNtitle, &title, nullptr);
    EXPECT_STREQ(title, "Daten");
    EXPECT_TRUE(viewable);
    EXPECT_EQ(shownName, "Anna");
    EXPECT_EQ(shownNum, "12"); // cut to what fits with its NUL
    EXPECT_STREQ(data.name, "Bernhar");
    EXPECT_STREQ(data.num, "42");
    EXPECT_EQ(std::string(data.tail, sizeof data.tail), std::string("lan\0", 4));
    EXPECT_EQ(XmtActiveDialog(), nullptr);
    guiPump(50);
    EXPECT_FALSE(guiViewable(dlg));
}

TEST(Dialog, CancelLeavesTheBuffers)
{
    Widget dlg = dataDialog();
    Data data{"Anna", "12", "abc"};
    guiWhenActive([&](Widget d) {
        setText(d, "*name", "Zorro");
        guiPress(guiFind(d, "*cancel"));
    });
    EXPECT_FALSE(XmtDialogDo(dlg, &data));
    EXPECT_STREQ(data.name, "Anna");
    EXPECT_STREQ(data.num, "12");
    EXPECT_STREQ(data.tail, "abc");

    // The next run shows the buffers again, not the cancelled edit.
    std::string shown;
    guiWhenActive([&](Widget d) {
        shown = XmtInputFieldGetString(guiFind(d, "*name"));
        guiPress(guiFind(d, "*cancel"));
    });
    XmtDialogDo(dlg, &data);
    EXPECT_EQ(shown, "Anna");
}

TEST(Dialog, OkWaitsForARefusedFieldToBeCorrected)
{
    Widget dlg = dataDialog();
    Data data{"Anna", "12", "abc"};
    bool stillOpen = false;
    guiWhenActive([&](Widget d) {
        setText(d, "*numfield", "77");
        guiPress(guiFind(d, "*okay"));
        stillOpen = XmtActiveDialog() == d;
        EXPECT_STREQ(XmtInputFieldGetString(guiFind(d, "*numfield")), "12");
        setText(d, "*numfield", "33");
        guiPress(guiFind(d, "*okay"));
    });
    EXPECT_TRUE(XmtDialogDo(dlg, &data));
    EXPECT_TRUE(stillOpen);
    EXPECT_STREQ(data.num, "33");
}

TEST(Dialog, RunWithoutDataAndCancelByCall)
{
    Widget dlg = dataDialog();
    guiWhenActive([&](Widget d) { XmtDialogCancelCallback(guiFind(d, "*name"), nullptr, nullptr); });
    EXPECT_FALSE(XmtDialogRun(dlg));
    guiWhenActive([&](Widget d) { XmtDialogOkayCallback(guiFind(d, "*tail"), nullptr, nullptr); });
    EXPECT_TRUE(XmtDialogRun(dlg));
}

// Escape is "Abbrechen" wherever the focus is: in a field, on a box, on an
// option menu (whose button is a gadget: its menu bar takes the keys), on a button.
TEST(Dialog, EscapeCancelsWhereverTheFocusIs)
{
    Widget dlg = guiDialog("esc_dlg", R"(
*esc_dlg.children: Form form
*esc_dlg*form.children: InputField name; Chooser radio; Chooser menu; EqualRow buttons
*esc_dlg*radio.strings: Eins, Zwei
*esc_dlg*menu.chooserType: option
*esc_dlg*menu.strings: Einzelanlage, Direkt
*esc_dlg*buttons.children: Button okay; Button cancel
*esc_dlg*okay.activateCallback: XmtDialogOkayCallback()
*esc_dlg*cancel.activateCallback: XmtDialogCancelCallback()
)");
    const struct {
        const char *focus;
        std::function<Widget(Widget)> widget;
    } cases[] = {
        {"field", [](Widget d) { return guiFind(d, "*name"); }},
        {"radio box", [](Widget d) { return guiFind(d, "*radio*item1"); }},
        {"option menu", [](Widget d) { return XmOptionButtonGadget(guiFind(d, "*menu")); }},
        {"button", [](Widget d) { return guiFind(d, "*okay"); }},
    };
    for (const auto &c : cases) {
        bool ran = false;
        guiWhenActive([&](Widget d) {
            ran = true;
            guiFocusIn(d);
            guiPump(30);
            XmProcessTraversal(c.widget(d), XmTRAVERSE_CURRENT);
            guiPump(30);
            EXPECT_EQ(guiFocus(d), c.widget(d)) << c.focus;
            guiKey(d, "Escape");
            // Keys that end nothing must not hang the test.
            guiLater(2000, [d] { XmtDialogOkayCallback(d, nullptr, nullptr); });
        });
        EXPECT_FALSE(XmtDialogRun(dlg)) << "Escape on the " << c.focus;
        EXPECT_TRUE(ran);
    }
}

} // namespace
