// What the dialog tests share: the program's helpers from tests/support, and
// the checks the dialog folders make alike.
#pragma once

#include "support/dialogs.h"
#include "support/gui.h"

#include "config/record.h"
#include "resources/lookup.h"

#include <Xm/Xm.h>
#include <cstring>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

// The label of a widget below dialog.
inline std::string label(Widget dialog, const char *item) { return guiText(guiFind(dialog, item), XmNlabelString); }

// Subscriber k's internal number in PBX A's share, its three bytes as given
// ("151" fills them, with no zero after).
inline void putIntNum(int subscriber, const char *digits)
{
    std::memcpy(recText(rec::RufnrList + rec::IntNumInShare + rec::IntNumSize * std::size_t(subscriber)), digits, 3);
}

// A text typed into a field: what the field shows then and the warning it gives ("" for none).
struct Typed {
    const char *field, *typed, *shown, *warning;
};

inline void expectTyped(Widget dialog, std::initializer_list<Typed> rows)
{
    for (const Typed &t : rows) {
        typeInto(guiFind(dialog, t.field), t.typed);
        EXPECT_EQ(takeWarning(), t.warning) << t.field << " " << t.typed;
        EXPECT_EQ(fieldText(dialog, t.field), t.shown) << t.field << " " << t.typed;
    }
}

// The message a help button's line in the resource table shows:
// '<key>: XmtDisplayInformationMsg("msg1", "<text>", ...)'.
inline std::string helpInTable(const std::string &key)
{
    std::string line = builtinResource(key), text;
    std::size_t p = line.find("\", \"");
    EXPECT_NE(p, std::string::npos) << key << ": " << line;
    for (p = p == std::string::npos ? line.size() : p + 4; p < line.size() && line[p] != '"'; ++p)
        text += line[p] == '\\' && p + 1 < line.size() ? line[++p] : line[p];
    return text;
}

// Presses the help button of dialog and expects the message the table gives it.
inline void expectHelp(Widget dialog, const char *key, const char *button = "*help")
{
    guiPress(guiFind(dialog, button));
    std::string title;
    EXPECT_EQ(takeMessage("msg1", &title), helpInTable(key)) << key;
    EXPECT_EQ(title, "Hilfe") << key;
}
