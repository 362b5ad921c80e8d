// The subscriber data dialog in-process: the list by internal bus, the fields
// of one subscriber, the rules between them, and what reaches the records.
#include "tnd.h"

#include "config/record.h"
#include "subscriber/tndat.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"

#include <cstring>

namespace {

const char *const editing[] = {"*whichone", "*settings1", "*settings2", "*weckz", "*nbb", "*numl",
                               "*nnz",      "*rufz",      "*save",      "*load",  "*write"};

std::string targetOf(int i) { return reinterpret_cast<const char *>(tln(i) + 72); }
std::string busyOf(int i) { return reinterpret_cast<const char *>(tln(i) + 22); }

// Entries "name (number)", ten per group; the S0 groups only for an internal bus
// within the PBX type.
TEST(SubscriberList, FollowsTheInternalBuses)
{
    struct {
        unsigned char type, mode1, mode2;
        std::size_t count;
        const char *tenth, *last;
    } cases[] = {
        {2, 0x80, 0x40, 20, "S1  #0 (33)", "S1  #9 ()"},
        {2, 0x40, 0x40, 30, "SO  #0 (22)", "S1  #9 ()"},
        {2, 0x40, 0x00, 20, "SO  #0 (22)", "SO  #9 ()"},
        {1, 0x40, 0x40, 20, "SO  #0 (22)", "SO  #9 ()"}, // port 2 beyond the type
        {0, 0x40, 0x40, 10, nullptr, "TFE #2 ()"},
        {2, 0xC0, 0x00, 10, nullptr, "TFE #2 ()"}, // both top bits: networked, no bus
    };
    for (const auto &c : cases) {
        subscribers(c.mode1, c.mode2);
        all[rec::TypeByte] = c.type;
        openTnd([&c](Widget d) {
            std::vector<std::string> entries = listEntries(d);
            ASSERT_EQ(entries.size(), c.count) << "type " << int(c.type) << " modes " << int(c.mode1) << ", "
                                               << int(c.mode2);
            EXPECT_EQ(entries[0], "AB  #1 (11)");
            EXPECT_EQ(entries[8], "TFE #1 (19)");
            if (c.tenth) {
                EXPECT_EQ(entries[10], c.tenth);
            }
            EXPECT_EQ(entries.back(), c.last);
            EXPECT_EQ(stateOf(d, "*whichone"), -1) << "no entry selected after the rebuild";
            EXPECT_EQ(fieldText(d, "*nbb"), "2200") << "subscriber 0 shown";
        });
    }
}

// Port 1 external, port 2 internal: position 10 is "S1  #0", subscriber 20.
TEST(SubscriberList, PositionTenEditsSubscriberTwenty)
{
    subscribers(0x80, 0x40);
    Bytes others = allRecords();
    openTnd([](Widget d) {
        ASSERT_EQ(listEntries(d)[10], "S1  #0 (33)");
        choose(d, 10);
        EXPECT_EQ(fieldText(d, "*nbb"), "2220");
        typeInto(guiFind(d, "*nbb"), "987");
        choose(d, 11);
        EXPECT_EQ(fieldText(d, "*nbb"), "2221");
    });
    EXPECT_EQ(busyOf(20), "987");
    EXPECT_EQ(busyOf(10), "2210");
    Bytes after = allRecords();
    std::copy(tln(20) + 22, tln(20) + 26, others.begin() + 20 * 124 + 22);
    EXPECT_EQ(after, others) << "only subscriber 20's busy target";
}

TEST(SubscriberFields, WakeUpTime)
{
    subscribers();
    putLe16(tln(1) + 8, 0x0645);
    putLe16(tln(2) + 8, 0x2200);
    openTnd([](Widget d) {
        EXPECT_EQ(fieldText(d, "*weckz"), "----");
        // No wake-up time: one cannot be given here.
        typeInto(guiFind(d, "*weckz"), "0730");
        choose(d, 1);
        EXPECT_EQ(fieldText(d, "*weckz"), "0645");
        typeInto(guiFind(d, "*weckz"), "0730");
        choose(d, 2);
        EXPECT_EQ(fieldText(d, "*weckz"), "2200");
        typeInto(guiFind(d, "*weckz"), ""); // no digit keeps the time
        choose(d, 0);
        EXPECT_EQ(fieldText(d, "*weckz"), "----");
    });
    EXPECT_EQ(getLe16(tln(0) + 8), 0xFFFF);
    EXPECT_EQ(tln(1)[8], 0x30);
    EXPECT_EQ(tln(1)[9], 0x07);
    EXPECT_EQ(getLe16(tln(2) + 8), 0x2200);
}

TEST(SubscriberFields, PermanentAndAfterTimeClearEachOther)
{
    subscribers();
    all[rec::RwsTime] = 25;
    setText(tln(0) + 72, "555");
    setText(tln(1) + 72, "666");
    tln(1)[122] = 30;
    setText(tln(3) + 72, "321");
    openTnd([](Widget d) {
        EXPECT_EQ(fieldText(d, "*numl"), "555");
        EXPECT_EQ(fieldText(d, "*nnz"), "");
        EXPECT_EQ(fieldText(d, "*rufz"), "");
        // "n. Zeit" clears "Ständig" and fills the empty ring time with the global one.
        typeInto(guiFind(d, "*nnz"), "777");
        EXPECT_EQ(fieldText(d, "*numl"), "");
        EXPECT_EQ(fieldText(d, "*rufz"), "25");

        choose(d, 1);
        EXPECT_EQ(fieldText(d, "*nnz"), "666");
        EXPECT_EQ(fieldText(d, "*rufz"), "30");
        EXPECT_EQ(fieldText(d, "*numl"), "");
        // "Ständig" clears "n. Zeit" and the ring time.
        typeInto(guiFind(d, "*numl"), "888");
        EXPECT_EQ(fieldText(d, "*nnz"), "");
        EXPECT_EQ(fieldText(d, "*rufz"), "");

        choose(d, 2);
        typeInto(guiFind(d, "*rufz"), "40");
        typeInto(guiFind(d, "*nnz"), "999");
        EXPECT_EQ(fieldText(d, "*rufz"), "40") << "a ring time given stays";
        // Emptying a field clears nothing else.
        typeInto(guiFind(d, "*numl"), "");
        EXPECT_EQ(fieldText(d, "*nnz"), "999");

        choose(d, 3);
        typeInto(guiFind(d, "*nnz"), "444");
        typeInto(guiFind(d, "*rufz"), "");
        choose(d, 4);
        EXPECT_EQ(takeWarning(), "") << "both always accept";
    });
    EXPECT_EQ(targetOf(0), "777");
    EXPECT_EQ(tln(0)[122], 25);
    EXPECT_EQ(targetOf(1), "888");
    EXPECT_EQ(tln(1)[122], 0);
    EXPECT_EQ(targetOf(2), "999");
    EXPECT_EQ(tln(2)[122], 40);
    // Ring time 0 takes the target from "Ständig", which the number had cleared.
    EXPECT_EQ(targetOf(3), "");
    EXPECT_EQ(tln(3)[122], 0);
}

TEST(SubscriberFields, RingTimeKeepsItsLowByte)
{
    subscribers();
    openTnd([](Widget d) {
        for (int i : {0, 1}) {
            choose(d, i);
            typeInto(guiFind(d, "*nnz"), "12345");
            typeInto(guiFind(d, "*rufz"), i == 0 ? "300" : "255");
        }
        choose(d, 2);
    });
    EXPECT_EQ(tln(0)[122], 44);
    EXPECT_EQ(targetOf(0), "12345");
    EXPECT_EQ(tln(1)[122], 255);
}

// The fields go to the subscriber shown before the switch; "OK" keeps the last
// subscriber's fields too.
TEST(SubscriberFields, SwitchingAndOkStoreTheSubscriberShown)
{
    subscribers();
    int tlnChanges = recInt(rec::TlnChanges);
    openTnd([](Widget d) {
        choose(d, 3);
        typeInto(guiFind(d, "*nbb"), "333");
        pick(d, "*settings1", 0x2F);
        choose(d, 7);
        EXPECT_EQ(busyOf(3), "333") << "stored on the switch";
        EXPECT_EQ(tln(3)[6], 0x2F);
        EXPECT_EQ(fieldText(d, "*nbb"), "2207");
        EXPECT_EQ(stateOf(d, "*settings1"), 7);
        typeInto(guiFind(d, "*nbb"), "777");
    });
    EXPECT_EQ(busyOf(7), "777");
    EXPECT_EQ(recInt(rec::TlnChanges), tlnChanges + 1);
    EXPECT_EQ(recInt(rec::CfgChanges), 0) << "the configuration is not changed";
}

// A record whose fields were only looked at keeps every byte, whatever they
// hold: a ring time without a target, a target of 25 digits, bytes after the end
// of a number, function bits of insensitive items.
TEST(SubscriberFields, LookingChangesNoByte)
{
    subscribers(0x40, 0x40);
    putLe16(tln(0) + 8, 0x0730);
    tln(0)[122] = 20; // ring time, but no target
    tln(0)[72] = 0;
    tln(0)[73] = 0;
    tln(0)[74] = '5';
    std::memcpy(tln(1) + 72, "1234567890123456789012345", 25);
    std::memcpy(tln(2) + 22, "12345678901234567890123456", 25);
    std::memcpy(tln(3) + 22, "12\0\x7f\x01", 5);
    tln(3)[6] = 0xFF;
    tln(3)[7] = 0xFF;
    tln(4)[122] = 200;
    Bytes before = allRecords();
    openTnd([](Widget d) {
        EXPECT_EQ(fieldText(d, "*rufz"), "20") << "shown without a target";
        for (int p = 1; p < 30; p++)
            choose(d, p);
        for (const char *b : {"*save", "*write"})
            EXPECT_TRUE(sensitive(d, b)) << b;
    });
    EXPECT_EQ(allRecords(), before);
}

TEST(SubscriberFields, InsensitiveFunctionItemsKeepTheirBits)
{
    subscribers();
    tln(0)[6] = 0xFF;
    tln(0)[7] = 0xFF;
    openTnd([](Widget d) {
        for (int item = 0; item < 8; item++) {
            EXPECT_EQ(itemSensitive(d, "*settings1", item), item != 4 && item != 7) << item;
            EXPECT_EQ(itemSensitive(d, "*settings2", item), item < 2 || item == 7) << item;
        }
        EXPECT_EQ(stateOf(d, "*settings1"), 0xFF);
        pick(d, "*settings1", 0xFE);
        pick(d, "*settings2", 0x7F);
        choose(d, 1);
    });
    EXPECT_EQ(tln(0)[6], 0xFE);
    EXPECT_EQ(tln(0)[7], 0x7F);
}

TEST(SubscriberDialog, WithoutDataOnlyReadHelpAndOkWork)
{
    subscribers(0x80, 0x40, false);
    openTnd([](Widget d) {
        for (const char *w : editing)
            EXPECT_FALSE(sensitive(d, w)) << w;
        for (const char *w : {"*read", "*help", "*okay"})
            EXPECT_TRUE(sensitive(d, w)) << w;
    });
    subscribers(0x80, 0x40, true);
    openTnd([](Widget d) {
        for (const char *w : editing)
            EXPECT_TRUE(sensitive(d, w)) << w;
    });
}

TEST(SubscriberDialog, HelpExplainsTheForwarding)
{
    subscribers();
    openTnd([](Widget d) {
        guiPress(guiFind(d, "*help"));
        Widget box = XmtLastMessageBox("msg1");
        ASSERT_NE(box, nullptr);
        std::string text = guiText(box, XmNmessageString);
        EXPECT_NE(text.find("Es ist nicht möglich eine ständige und eine Umleitung nach Zeit zugleich anzugeben."),
                  std::string::npos)
            << text;
        for (const char *topic : {"Auslesen", "Programmieren", "Laden", "Sichern", "Teilnehmer", "Weckzeit", "Hotline",
                                  "Raumüberwachung"})
            EXPECT_NE(text.find(topic), std::string::npos) << topic;
        EXPECT_EQ(guiText(box, XmNdialogTitle), "Hilfe");
        takeWarning();
    });
}

} // namespace
