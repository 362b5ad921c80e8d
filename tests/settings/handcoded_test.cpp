// The dialogs that store some of their fields by hand (the port modes, the
// main number's type, the subscriber words of a function, the charge output
// and pulse, the rates, the wake-up time) against the field table: what their
// widgets show when "OK" stores it is what show prints, round after round.
#include <gtest/gtest.h>

#include "fixture.h"

#include "basic/anltyp.h"
#include "config/names.h"
#include "fields/fields.h"
#include "settings/calldist.h"
#include "settings/gebdat.h"
#include "settings/tlnperm.h"
#include "speeddial/rufzuord.h"
#include "subscriber/tndat.h"

#include <functional>
#include <map>

namespace {

enum class Shows {
    Menu,        // the chooser's item
    Boxes,       // the ticked boxes' items
    Subscribers, // the ticked boxes of "<widget>0".."<widget>2" as subscribers
    Text,        // the input field's text
};

struct Shown {
    std::string field; // the row
    std::string widget;
    Shows shows;
    FileKind kind = FileKind::Configuration;
};

struct HandCase {
    const char *dialog;
    void (*display)(Widget);
    // Puts the widgets in round's state; the rows and the widgets that show them.
    std::function<void(Widget, int round)> drive;
    std::function<std::vector<Shown>(int round)> shown;
};

std::string shownBy(Widget dialog, const Shown &s)
{
    const char *w = s.widget.c_str();
    std::vector<std::string> parts;
    switch (s.shows) {
    case Shows::Menu:
        return itemLabel(dialog, w, stateOf(dialog, w));
    case Shows::Boxes:
        for (int i = 0; i < XmtChooserGetNumItems(guiFind(dialog, w)); i++)
            if (stateOf(dialog, w) >> i & 1)
                parts.push_back(itemLabel(dialog, w, i));
        break;
    case Shows::Subscribers:
        for (int g = 0; g < 3; g++)
            for (int i = 0; i < 10; i++)
                if (stateOf(dialog, (s.widget + std::to_string(g)).c_str()) >> i & 1)
                    parts.push_back(subscriberName(10 * g + i));
        break;
    case Shows::Text:
        return fieldText(dialog, w);
    }
    return parts.empty() ? "(keine)" : joined(parts);
}

// A function's subscriber words: round r shows function r % functions with
// one box of each group ticked, the other functions as the record has them.
HandCase words(const char *dialog, void (*display)(Widget), const char *functions, const char *groups,
               const char *key, int count)
{
    return {dialog, display,
            [=](Widget d, int round) {
                pick(d, functions, round % count);
                for (int g = 0; g < 3; g++)
                    pick(d, (groups + std::to_string(g)).c_str(), 1 << ((round + g) % 10));
            },
            [=](int round) {
                return std::vector<Shown>{{key + std::to_string(round % count), groups, Shows::Subscribers}};
            }};
}

const char *const Rates[] = {"0", "7", "128", "255"};
const char *const Wakes[] = {"0645", "2359", "0000", "1200"};

const HandCase cases[] = {
    // Port 2's bus and connection: the mode byte is written as they are picked.
    {"anltyp_dlg", doShowConf,
     [](Widget d, int round) {
         pick(d, "*port", 1);
         pick(d, "*s0bus", round % 4);
         pick(d, "*anschl", round / 4 % 2);
     },
     [](int) {
         return std::vector<Shown>{{"port2.bus", "*s0bus", Shows::Menu}, {"port2.anschl", "*anschl", Shows::Menu}};
     }},
    {"rufzuord_dlg", doDisplayRNZ, [](Widget d, int round) { pick(d, "*hpttyp", round % 5); },
     [](int) { return std::vector<Shown>{{"rufzuord.hpttyp", "*hpttyp", Shows::Menu}}; }},
    words("tlnperm_dlg", displayTlnPerm, "*funk", "*set", "tlnperm.", 3),
    words("calldist_dlg", displayCallDist, "*todo", "*grp", "calldist.", 7),
    words("gebdat_dlg", displayGebDat, "*slct", "*geb", "gebdat.", 5),
    {"gebdat_dlg", displayGebDat,
     [](Widget d, int round) {
         pick(d, "*com", round % 2);
         pick(d, "*calls", round % 4);
         pick(d, "*impuls", round % 3);
     },
     [](int) {
         return std::vector<Shown>{{"gebdat.com", "*com", Shows::Menu},
                                   {"gebdat.calls", "*calls", Shows::Boxes},
                                   {"gebdat.impuls", "*impuls", Shows::Menu}};
     }},
    {"loccharge_dlg", [](Widget parent) { doDisplayLCF(parent); },
     [](Widget d, int round) {
         for (int i : {0, 9, 15, 29})
             typeInto(guiFind(d, ("*lcf" + std::to_string(i)).c_str()), Rates[(round + i) % 4]);
     },
     [](int) {
         std::vector<Shown> rows;
         for (int i : {0, 9, 15, 29})
             rows.push_back({"loccharge." + std::to_string(i), "*lcf" + std::to_string(i), Shows::Text});
         return rows;
     }},
    // The wake-up time reads hhmm in the field and hh:mm in show.
    {"tndat_dlg", displayUserFkt,
     [](Widget d, int round) { typeInto(guiFind(d, "*weckz"), Wakes[round % 4]); },
     [](int) { return std::vector<Shown>{{"tln0.weckz", "*weckz", Shows::Text, FileKind::Subscribers}}; }},
};

} // namespace

TEST(HandCodedDialogs, WhatTheWidgetsShowWhenStoredIsWhatShowPrints)
{
    for (const HandCase &c : cases) {
        freshRecord();
        buses(2, 0x42, 0x42);
        *recAt(rec::TlnPresent) = 1;
        putLe16(recAt(rec::TlnData + rec::TlnWake), 0x0800); // a time, which the field then edits
        for (int round = 0; round < 8; ++round) {
            std::map<std::string, std::string> want;
            std::vector<Shown> rows = c.shown(round);
            openWith(c.display, [&](Widget d) {
                c.drive(d, round);
                for (const Shown &s : rows)
                    want[s.field] = shownBy(d, s);
            });
            for (const Shown &s : rows) {
                std::string printed = readField(fieldNamed(s.kind, s.field), all);
                if (s.kind == FileKind::Subscribers)
                    printed.erase(2, 1); // "07:30" is typed "0730"
                EXPECT_EQ(printed, want[s.field]) << c.dialog << " " << s.field << " round " << round;
            }
        }
    }
}

// A wake-up time of none reads "(keine)" in show and "----" in the field,
// which then cannot be given one.
TEST(HandCodedDialogs, NoWakeUpTimeIsTheTablesNone)
{
    freshRecord();
    *recAt(rec::TlnPresent) = 1;
    const Field &wake = fieldNamed(FileKind::Subscribers, "tln0.weckz");
    putLe16(recAt(wake.offset), NoTimeOfDay);
    EXPECT_EQ(readField(wake, all), "(keine)");
    openWith(displayUserFkt, [](Widget d) {
        EXPECT_EQ(fieldText(d, "*weckz"), "----");
        typeInto(guiFind(d, "*weckz"), "0730");
    });
    EXPECT_EQ(readField(wake, all), "(keine)");
}
