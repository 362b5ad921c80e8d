// The four dialogs over the subscribers' permission and call-distribution
// blocks edit the current PBX's share.
#include <gtest/gtest.h>

#include "fixture.h"

#include "settings/amtsperm.h"
#include "settings/calldist.h"
#include "settings/teltyp.h"
#include "settings/tlnperm.h"

namespace {

// PBX B's shares start one share size further on.
constexpr std::size_t BerB = rec::BerList + rec::BerShare;
constexpr std::size_t RufVertB = rec::RufVertList + rec::RufVertShare;

struct OnPbxB {
    const char *name;
    void (*display)(Widget);
    std::function<void(Widget)> drive;     // checks what B's share shows, changes one value
    std::function<void(unsigned char *)> change; // that change in the record image
};

const OnPbxB onPbxB[] = {
    {"tlnperm", displayTlnPerm,
     [](Widget d) {
         pick(d, "*funk", 1);
         EXPECT_EQ(stateOf(d, "*set0"), int(getLe32(all + BerB + 4) & 0x3FF));
         pick(d, "*set0", 0x3FF);
     },
     [](unsigned char *r) { putLe32(r + BerB + 4, getLe32(r + BerB + 4) | 0x3FF); }},
    {"teltyp", displayTeleTyp,
     [](Widget d) {
         EXPECT_EQ(stateOf(d, "*tln1"), all[BerB + 43]);
         pick(d, "*tln1", 3);
     },
     [](unsigned char *r) { r[BerB + 43] = 3; }},
    {"amtsperm", displayAmtsPerm,
     [](Widget d) {
         EXPECT_EQ(stateOf(d, "*tele5"), all[BerB + 17]);
         EXPECT_TRUE(sensitive(d, "*tele25")) << "B's port 2 is an internal bus";
         pick(d, "*tele5", 4);
     },
     [](unsigned char *r) { r[BerB + 17] = 4; }},
    {"calldist", displayCallDist,
     [](Widget d) {
         pick(d, "*todo", 4);
         EXPECT_EQ(stateOf(d, "*grp1"), int(getLe32(all + RufVertB + 32) >> 10 & 0x3FF));
         pick(d, "*grp1", 0x0F0);
     },
     [](unsigned char *r) { putLe32(r + RufVertB + 32, (getLe32(r + RufVertB + 32) & ~0x000FFC00u) | 0x0F0 << 10); }},
};

} // namespace

// The current PBX index is always 0 in use; set to 1, every dialog reads and
// writes PBX B's share and leaves PBX A's alone.
TEST(SubscriberDialogs, WithTheIndexAt1TheyEditPbxBsShare)
{
    for (const OnPbxB &c : onPbxB) {
        freshRecord();
        for (std::size_t i = 0; i < 100; i++) {
            all[rec::BerList + i] = static_cast<unsigned char>(i % 3);
            all[rec::RufVertList + i] = static_cast<unsigned char>(0x30 + i);
        }
        setRecInt(rec::CurrentPbx, 1);
        buses(2, 0x42, 0x42); // B's port area; A's has no internal bus
        std::vector<unsigned char> expected = counted(image());
        c.change(expected.data());
        openWith(c.display, c.drive);
        EXPECT_EQ(image(), expected) << c.name;
        setRecInt(rec::CurrentPbx, 0);
    }
}
