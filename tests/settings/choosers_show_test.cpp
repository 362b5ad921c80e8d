// Every check box and menu of the settings dialogs against the field table:
// what the user ticks or picks and stores with "OK" is what show prints.
#include <gtest/gtest.h>

#include "fixture.h"

#include "app/registry.h"
#include "fields/fields.h"

#include <map>

namespace {

// Choosers the dialogs bind by hand, by dialog and field name; the others by
// the table's widget.
const std::map<std::string, std::map<std::string, std::string>> byHand = {
    {"gebdat_dlg", {{"gebdat.com", "*com"}, {"gebdat.calls", "*calls"}, {"gebdat.impuls", "*impuls"}}},
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
    int checked = 0;
    for (const MainButton &d : mainButtons()) {
        if (!d.dialog)
            continue;
        auto hands = byHand.find(d.dialog);
        std::vector<Bound> bound;
        std::string unknown;
        for (const Field &f : fieldsOf(FileKind::Configuration)) {
            if (f.dialog != d.dialog || (f.reading != Reading::Choice && f.reading != Reading::Bits))
                continue;
            if (hands != byHand.end() && hands->second.count(f.name))
                bound.push_back({&f, hands->second.at(f.name)});
            else if (!f.widget.empty())
                bound.push_back({&f, f.widget});
            else
                unknown += " " + f.name;
        }
        // A dialog that binds all its choosers by hand is its own tests' business.
        if (bound.empty())
            continue;
        EXPECT_EQ(unknown, "") << d.dialog << ": choosers the test knows no widget of";
        ++checked;
        freshRecord();
        buses(2, 0x42, 0x42);
        for (int round = 0; round < 10; ++round) {
            std::map<const Field *, std::string> want;
            runModal([&] { d.run(dialogTop(), nullptr, nullptr); }, [&](Widget dialog) {
                for (const Bound &b : bound) {
                    int items = XmtChooserGetNumItems(guiFind(dialog, b.chooser.c_str()));
                    int state = stateFor(*b.field, items, round);
                    pick(dialog, b.chooser.c_str(), state);
                    want[b.field] = shownFor(dialog, b, state);
                }
            }, "*okay");
            for (const Bound &b : bound)
                EXPECT_EQ(readField(*b.field, all), want[b.field])
                    << d.dialog << " " << b.field->name << " round " << round;
            // And back: the dialog opens with what it stored.
            runModal(
                [&] { d.run(dialogTop(), nullptr, nullptr); },
                [&](Widget dialog) {
                    for (const Bound &b : bound)
                        EXPECT_EQ(shownFor(dialog, b, stateOf(dialog, b.chooser.c_str())), want[b.field])
                            << d.dialog << " " << b.field->name << " reopened, round " << round;
                },
                "*cancel");
        }
    }
    // The global data, control contacts, terminal types, trunk permissions and charge settings at least.
    EXPECT_GE(checked, 5);
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
