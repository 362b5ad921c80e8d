#include <gtest/gtest.h>

#include "env.h"

#include "basic/anltyp.h"
#include "config/record.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"

#include <cstring>

namespace {

unsigned char &typeByte() { return *recAt(portArea() + rec::TypeByte); }
unsigned char &mode(int p) { return *recAt(portBlock(p)); }

void openConf(const std::function<void(Widget)> &drive)
{
    runModal([] { doShowConf(dialogTop()); }, drive, "*anl_btns.okay");
}

Widget zuordDialog() { return guiFind(dialogTop(), "*zuord_dlg"); }

enum { Unkonfiguriert, Extern, Intern, Vernetzt };
enum { Mehrgeraet, Anlage };

} // namespace

TEST(PbxType, FirstPortCanOnlyBeExternal)
{
    freshRecord();
    typeByte() = 2;
    mode(0) = 0x00;
    openConf([](Widget d) {
        pick(d, "*port", 0);
        EXPECT_EQ(stateOf(d, "*s0bus"), Unkonfiguriert) << "shown although it cannot be picked";
        EXPECT_FALSE(itemSensitive(d, "*s0bus", Unkonfiguriert));
        EXPECT_TRUE(itemSensitive(d, "*s0bus", Extern));
        EXPECT_FALSE(itemSensitive(d, "*s0bus", Intern));
        EXPECT_FALSE(itemSensitive(d, "*s0bus", Vernetzt));
        pick(d, "*s0bus", Extern);
        EXPECT_EQ(mode(0), 0x82);

        pick(d, "*port", 1);
        for (int i = 0; i < 4; i++)
            EXPECT_TRUE(itemSensitive(d, "*s0bus", i)) << i;
    });
}

TEST(PbxType, FewerPortsMoveTheChoiceToPort1)
{
    freshRecord();
    typeByte() = 2;
    mode(0) = 0x92;
    mode(2) = 0x42;
    openConf([](Widget d) {
        EXPECT_EQ(stateOf(d, "*typ"), 2);
        pick(d, "*port", 2);
        EXPECT_EQ(stateOf(d, "*s0bus"), Intern);
        pick(d, "*typ", 0);
        EXPECT_EQ(typeByte(), 0);
        EXPECT_EQ(stateOf(d, "*port"), 0);
        EXPECT_EQ(stateOf(d, "*s0bus"), Extern);
        EXPECT_EQ(stateOf(d, "*anschl"), Mehrgeraet);
        EXPECT_FALSE(itemSensitive(d, "*port", 1));
        EXPECT_FALSE(itemSensitive(d, "*port", 2));
        pick(d, "*typ", 1);
        EXPECT_EQ(typeByte(), 1);
        EXPECT_TRUE(itemSensitive(d, "*port", 1));
        EXPECT_FALSE(itemSensitive(d, "*port", 2));
    });
    EXPECT_EQ(mode(2), 0x42) << "the block of a port the type lacks is left for programming to clear";
}

TEST(PbxType, ExternalMultiDeviceOffersTheMsnDialogs)
{
    freshRecord();
    mode(0) = 0x92;
    openConf([](Widget d) {
        pick(d, "*port", 0);
        EXPECT_EQ(stateOf(d, "*s0bus"), Extern);
        EXPECT_EQ(stateOf(d, "*anschl"), Mehrgeraet);
        EXPECT_TRUE(sensitive(d, "*msns_b"));
        EXPECT_TRUE(sensitive(d, "*zuord_b"));
        EXPECT_TRUE(sensitive(d, "*anschl"));
        EXPECT_FALSE(sensitive(d, "*number"));
        // Only a single PBX is offered.
        EXPECT_FALSE(itemSensitive(d, "*art", 1));
        EXPECT_FALSE(itemSensitive(d, "*art", 2));
    });
    EXPECT_EQ(recInt(rec::CfgChanges), 0);
}

TEST(PbxType, ConnectionTypeRewritesTheModeByte)
{
    freshRecord();
    mode(0) = 0xAD; // connection bits 0x20, and bits this dialog does not keep
    openConf([](Widget d) {
        pick(d, "*port", 0);
        EXPECT_EQ(mode(0), 0xAD) << "showing a port writes nothing";
        EXPECT_EQ(stateOf(d, "*anschl"), Anlage);
        EXPECT_FALSE(sensitive(d, "*number"));
        EXPECT_FALSE(sensitive(d, "*msns_b"));
        pick(d, "*anschl", Mehrgeraet);
        EXPECT_EQ(mode(0), 0x92);
        EXPECT_TRUE(sensitive(d, "*msns_b"));
        pick(d, "*anschl", Anlage);
        EXPECT_EQ(mode(0), 0x82);
        EXPECT_TRUE(sensitive(d, "*number"));
        EXPECT_FALSE(sensitive(d, "*zuord_b"));
    });
}

TEST(PbxType, BusModesOfASecondPort)
{
    freshRecord();
    typeByte() = 1;
    mode(1) = 0x92;
    openConf([](Widget d) {
        pick(d, "*port", 1);
        // "Anschlußart" is insensitive for an internal bus but still supplies its bits.
        pick(d, "*s0bus", Intern);
        EXPECT_EQ(mode(1), 0x52);
        EXPECT_FALSE(sensitive(d, "*anschl"));
        EXPECT_FALSE(sensitive(d, "*msns_b"));
        pick(d, "*s0bus", Unkonfiguriert);
        EXPECT_EQ(mode(1), 0x00);
        pick(d, "*s0bus", Vernetzt);
        EXPECT_EQ(mode(1), 0xC2);
        pick(d, "*s0bus", Extern);
        EXPECT_EQ(mode(1), 0x82);
        EXPECT_TRUE(sensitive(d, "*number"));
    });
    EXPECT_EQ(mode(0), 0x00);
}

TEST(PbxType, TerminalsOfTheMsnAssignmentFollowTypeAndBus)
{
    freshRecord();
    typeByte() = 1;
    mode(1) = 0x42;
    mode(2) = 0x42;
    openConf([](Widget d) {
        EXPECT_FALSE(itemSensitive(d, "*port", 2));
        EXPECT_TRUE(getChooserSense(zuordDialog(), "*app1"));
        EXPECT_FALSE(getChooserSense(zuordDialog(), "*app2")) << "a two-port PBX has no third bus";
        pick(d, "*typ", 2);
        EXPECT_TRUE(getChooserSense(zuordDialog(), "*app2"));
        pick(d, "*port", 1);
        pick(d, "*s0bus", Extern);
        EXPECT_FALSE(getChooserSense(zuordDialog(), "*app1"));
    });
}
