// Every check box and menu of the settings dialogs against the field table:
// what the user ticks or picks and stores with "OK" is what show prints.
#include <gtest/gtest.h>

#include "fixture.h"

#include "fields/fields.h"
#include "settings/amtsperm.h"
#include "settings/gebdat.h"
#include "settings/globdat.h"
#include "settings/steuer.h"
#include "settings/teltyp.h"

#include <map>

namespace {

struct DialogOfFields {
    const char *dialog; // the fields' dialog name in the table
    void (*display)(Widget);
    // Choosers the dialog binds by hand, by field name; the others by the table's widget.
    std::map<std::string, std::string> byHand = {};
};

const DialogOfFields dialogs[] = {
    {"globdat_dlg", displayGlobDat},
    {"steuer_dlg", displaySteuer},
    {"teltyp_dlg", displayTeleTyp},
    {"amtsperm_dlg", displayAmtsPerm},
    {"gebdat_dlg", displayGebDat,
     {{"gebdat.com", "*com"}, {"gebdat.calls", "*calls"}, {"gebdat.impuls", "*impuls"}}},
};

struct Bound {
    const Field *field;
    std::string chooser;
};

// The state a round puts a chooser in: each item in turn, for check boxes
// also none and all of them.
int stateFor(const Field &f, int items, int round)
{
    if (f.reading == Reading::Choice)
        return round % items;
    if (round == items)
        return 0;
    if (round == items + 1)
        return (1 << items) - 1;
    return 1 << (round % items);
}

// What show must print for that state: the items' own labels.
std::string shownFor(Widget dialog, const Bound &b, int state)
{
    int items = XmtChooserGetNumItems(guiFind(dialog, b.chooser.c_str()));
    if (b.field->reading == Reading::Choice)
        return itemLabel(dialog, b.chooser.c_str(), state);
    std::string shown;
    for (int i = 0; i < items; i++)
        if (state & (1 << i))
            shown += (shown.empty() ? "" : ", ") + itemLabel(dialog, b.chooser.c_str(), i);
    return shown.empty() ? "(keine)" : shown;
}

} // namespace

TEST(ChoosersAndShow, WhatADialogStoresShowPrintsAsTheDialogShowedIt)
{
    for (const DialogOfFields &d : dialogs) {
        std::vector<Bound> bound;
        for (const Field &f : fieldsOf(FileKind::Configuration)) {
            if (f.dialog != d.dialog || (f.reading != Reading::Choice && f.reading != Reading::Bits))
                continue;
            auto hand = d.byHand.find(f.name);
            std::string chooser = hand != d.byHand.end() ? hand->second : f.widget;
            ASSERT_FALSE(chooser.empty()) << f.name << " has no chooser the test knows";
            bound.push_back({&f, chooser});
        }
        ASSERT_FALSE(bound.empty()) << d.dialog;
        freshRecord();
        buses(2, 0x42, 0x42);
        for (int round = 0; round < 10; ++round) {
            std::map<const Field *, std::string> want;
            openWith(d.display, [&](Widget dialog) {
                for (const Bound &b : bound) {
                    int items = XmtChooserGetNumItems(guiFind(dialog, b.chooser.c_str()));
                    int state = stateFor(*b.field, items, round);
                    pick(dialog, b.chooser.c_str(), state);
                    want[b.field] = shownFor(dialog, b, state);
                }
            });
            for (const Bound &b : bound)
                EXPECT_EQ(readField(*b.field, all), want[b.field])
                    << d.dialog << " " << b.field->name << " round " << round;
            // And back: the dialog opens with what it stored.
            openWith(
                d.display,
                [&](Widget dialog) {
                    for (const Bound &b : bound)
                        EXPECT_EQ(shownFor(dialog, b, stateOf(dialog, b.chooser.c_str())), want[b.field])
                            << d.dialog << " " << b.field->name << " reopened, round " << round;
                },
                "*cancel");
        }
    }
}

// Byte 83 of the charge settings: bit 2 one "Gespräche drucken" box, bit 3 the
// other, neither when both are clear.
TEST(ChoosersAndShow, TheTwoPrintBoxesReadBitByBit)
{
    const Field *calls = nullptr;
    for (const Field &f : fieldsOf(FileKind::Configuration))
        if (f.name == "gebdat.calls")
            calls = &f;
    ASSERT_NE(calls, nullptr);
    const std::pair<unsigned, const char *> cases[] = {
        {0x00, "(keine)"},
        {0x04, "Kommend ohne Verbindung"},
        {0x08, "Kommend mit Verbindung"},
        {0x0C, "Kommend ohne Verbindung, Kommend mit Verbindung"},
        {0xF3, "(keine)"},
    };
    std::vector<unsigned char> record(rec::RecordSize);
    for (const auto &[byte, shown] : cases) {
        record[rec::GebKonfList + 83] = static_cast<unsigned char>(byte);
        EXPECT_EQ(readField(*calls, record.data()), shown) << byte;
    }
}
