// Editing the configuration as a user does: read, open a dialog from the main
// window, type into a field or pick from an option menu, OK, program -- and
// the PBX holds exactly those changes and nothing else new.
#include "support/e2e_session.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Edit {
    const char *button, *title, *widget;
    const char *text; // typed into the field; nullptr: pick item from the option menu
    int item;
    const char *screenshot;
};

struct EditCase {
    const char *name;
    std::function<void(const pbxsim::State &)> before; // what the default PBX holds
    std::vector<Edit> edits;
    std::function<void(pbxsim::State &)> change; // what the PBX must hold afterwards
};

constexpr std::size_t InternalNumber2 = 9 + 3 * 2; // in the internal-number list
constexpr std::size_t S0Terminal0 = 12 + 10;       // its level in the permission list

const EditCase cases[] = {
    {"InternalNumber",
     [](const pbxsim::State &s) {
         EXPECT_EQ(std::string(reinterpret_cast<const char *>(&s.rufnr[InternalNumber2]), 2), "13")
             << "the default PBX numbers its extensions from 11";
     },
     {{"appnum", "Rufnummernzuordnung", "num2", "42", 0, "internal-numbers.png"}},
     [](pbxsim::State &s) { std::copy_n("42", 2, s.rufnr.begin() + InternalNumber2); }},
    {"TrunkPermission",
     [](const pbxsim::State &s) {
         EXPECT_EQ(s.ber[S0Terminal0], 0) << "\"Nur intern\" to begin with";
         EXPECT_EQ(s.ports[1][0] & 0xC0, 0x40) << "the second S0 port is the internal bus of S0 #0..#9";
     },
     {{"amtrecht", "Amtsberechtigungen", "tele10", nullptr, 5, "trunk-permissions.png"}}, // "Unbeschränkt"
     [](pbxsim::State &s) { s.ber[S0Terminal0] = 5; }},
    {"AreaCodeAndSensorEnd",
     [](const pbxsim::State &) {},
     {{"global", "Globale Anlagendaten", "okz", "7251", 0, "global-data.png"},
      {"bsteuer", "Steuerkontakte", "end", "2359", 0, "control-contacts.png"}},
     [](pbxsim::State &s) {
         std::copy_n("7251", 5, s.anldat.begin() + 47);
         s.stkon[2] = 0x59;
         s.stkon[3] = 0x23;
     }},
};

void PrintTo(const EditCase &c, std::ostream *os) { *os << c.name; }

class EditAndProgram : public E2eSession, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditAndProgram, TheChangeAndNothingElseReachesThePbx)
{
    const EditCase &c = GetParam();
    pbxsim::State state = pbxsim::defaultState();
    c.before(state);
    startBoth(state);
    if (HasFatalFailure())
        return;
    readConfiguration();
    if (HasFatalFailure())
        return;

    for (const Edit &e : c.edits) {
        Window dialog = openDialog(e.button, e.title);
        ASSERT_NE(dialog, None);
        if (e.text) {
            ASSERT_TRUE(typeInto(dialog, e.widget, e.text)) << e.widget;
        } else {
            ASSERT_TRUE(pickOptionMenuItem(dialog, e.widget, e.item)) << e.widget;
        }
        EXPECT_TRUE(screenshot(dialog, testOutputDir() + "/" + e.screenshot));
        confirm(dialog);
        if (HasFatalFailure())
            return;
    }

    programConfiguration();
    if (HasFatalFailure())
        return;

    pbxsim::State after = quitBoth();
    pbxsim::State expected = state;
    c.change(expected);
    EXPECT_TRUE(after == expected) << "the PBX holds more or less than the change";
    EXPECT_EQ(kelvora.output(), "");
}

INSTANTIATE_TEST_SUITE_P(Dialogs, EditAndProgram, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<EditCase> &testInfo) { return testInfo.param.name; });

} // namespace
