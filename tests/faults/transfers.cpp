#include "transfers.h"

#include "app/app.h"
#include "charges/gebzahl.h"
#include "charges/incalls.h"
#include "charges/outcalls.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "config/tlntransfer.h"
#include "speeddial/kwz.h"
#include "speeddial/kwzfile.h"
#include "speeddial/kwztransfer.h"
#include "support/dialogs.h"
#include "support/gui.h"
#include "support/program.h"
#include "support/sim_line.h"
#include "toolkit/toolkit.h"
#include "ui/bind.h"

#include <Xm/MessageB.h>
#include <algorithm>
#include <cstring>
#include <sstream>

namespace {

// The main window's editing buttons, one character each: '1' sensitive.
std::string buttons()
{
    std::string s;
    for (const std::string &b : editingButtons())
        s += XtIsSensitive(mainWidget(b.c_str())) ? '1' : '0';
    return s;
}

std::string allButtons(bool on) { return std::string(editingButtons().size(), on ? '1' : '0'); }

// The configuration is valid and the main window follows it, as after a read.
void validConfiguration()
{
    setFlags(all, 1);
    activateMainButtons();
}

// A PBX of type 1 (two ports) with a valid configuration, edited since.
void validTypeOneConfiguration()
{
    all[rec::TypeByte] = 1;
    validConfiguration();
    setRecInt(rec::CfgChanges, 7);
}

// A list's lines, each ended by a newline.
std::string listText(Widget list)
{
    std::string text;
    for (const std::string &line : listItems(list))
        text += line + "\n";
    return text;
}

void putInt(RecordBytes &r, std::size_t at, std::int32_t v) { putLe32(r.data() + at, std::uint32_t(v)); }
std::int32_t intAt(const RecordBytes &r, std::size_t at) { return std::int32_t(getLe32(r.data() + at)); }

void flags(RecordBytes &r, int value)
{
    putInt(r, rec::CfgValid, value);
    putInt(r, rec::CfgChanges, value);
}

// The port blocks a PBX of type 1 (two ports) does not have, cleared once the
// port is open by both programming transfers.
void clearThirdPort(RecordBytes &r)
{
    std::fill_n(r.begin() + long(rec::PortBlock0 + 2 * rec::PortBlockSize), rec::PortBlockSize, 0);
}

// "" when count bytes of the PBX's list equal the record's from offset.
template <typename List>
std::string compare(const char *what, const List &list, std::size_t from, const RecordBytes &r, std::size_t offset,
                    std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        if (list[from + i] != r[offset + i])
            return std::string(what) + " byte " + std::to_string(from + i) + " differs; ";
    return "";
}

// ---- configuration

// Where each of the configuration read's answers goes, in the order it asks;
// the thirteenth, the ROM version, goes to anl_vers.
struct Region {
    std::size_t offset, length;
};
const Region configReads[] = {
    {rec::PortBlock0, rec::PortBlockSize},
    {rec::PortBlock0 + rec::PortBlockSize, rec::PortBlockSize},
    {rec::PortBlock0 + 2 * rec::PortBlockSize, rec::PortBlockSize},
    {rec::PortBlock0 + rec::S0TlnInBlock, rec::S0TlnSize},
    {rec::PortBlock0 + rec::PortBlockSize + rec::S0TlnInBlock, rec::S0TlnSize},
    {rec::PortBlock0 + 2 * rec::PortBlockSize + rec::S0TlnInBlock, rec::S0TlnSize},
    {rec::RufnrList, rec::RufnrListSize},
    {rec::BerList, rec::BerListSize},
    {rec::RufVertList, rec::RufVertListSize},
    {rec::StKonList, rec::StKonListSize},
    {rec::GebKonfList, rec::GebKonfListSize},
    {rec::AnlDatList, rec::AnlDatListSize},
};
constexpr int configReadSteps = int(std::size(configReads)) + 1;

const char *const versionBefore = "V0.0 vorher";

std::string configViewOf(const std::string &version, const std::string &line, const std::string &buttons)
{
    return "version " + version + "\nline " + line + "\nbuttons " + buttons;
}

std::string configView() { return configViewOf(anl_vers, XmtMsgLineGetString(mainWidget("*theline")), buttons()); }

// A read replaces the record only when every answer arrived: one that fails
// leaves record, flag and change counter as they were.
void leavesConfigRead(RecordBytes &r, const pbxsim::State &pbx, const Outcome &o)
{
    if (o.how != Outcome::Done)
        return;
    flags(r, 1);
    std::vector<unsigned char> image = imageOf(pbx);
    for (const Region &region : configReads)
        std::copy_n(image.begin() + long(region.offset), region.length, r.begin() + long(region.offset));
    r[rec::TypeByte] = image[rec::TypeByte];
}

std::string showsConfigRead(const std::string &before, const pbxsim::State &pbx, const Outcome &o)
{
    if (o.how == Outcome::Done)
        return configViewOf(pbx.version, "ROM-Version: " + pbx.version, allButtons(true));
    return before;
}


std::string configTook(const RecordBytes &r, const pbxsim::State &pbx)
{
    std::string diff;
    for (std::size_t p = 0; p < 3; ++p) {
        std::size_t block = rec::PortBlock0 + rec::PortBlockSize * p;
        diff += compare("port block", pbx.ports[p], 0, r, block, rec::PortBlockSent);
        diff += compare("S0 data", pbx.ports[p], rec::S0TlnInBlock, r, block + rec::S0TlnInBlock, rec::S0TlnSize);
    }
    diff += compare("numbers", pbx.rufnr, 0, r, rec::RufnrList, rec::RufnrShare);
    diff += compare("permissions", pbx.ber, 0, r, rec::BerList, rec::BerShare);
    diff += compare("call distribution", pbx.rufvert, 0, r, rec::RufVertList, rec::RufVertShare);
    diff += compare("charges", pbx.gebkonf, 0, r, rec::GebKonfList, rec::GebKonfShare);
    diff += compare("control contacts", pbx.stkon, 0, r, rec::StKonList, rec::StKonShare);
    diff += compare("global data", pbx.anldat, 0, r, rec::AnlDatList, rec::AnlDatListSize);
    return diff;
}

// ---- subscriber records

std::size_t tlnAt(int i) { return rec::TlnData + rec::TlnDataSize * std::size_t(i); }

void leavesTlnRead(RecordBytes &r, const pbxsim::State &pbx, const Outcome &o)
{
    if (o.how != Outcome::Done)
        return;
    flags(r, 0); // a complete read clears the configuration-valid flag
    for (int i = 0; i < rec::TlnCount; ++i)
        std::copy(pbx.tln[std::size_t(i)].begin(), pbx.tln[std::size_t(i)].end(), r.begin() + long(tlnAt(i)));
    putInt(r, rec::TlnPresent, 1);
}

std::string tlnTook(const RecordBytes &r, const pbxsim::State &pbx)
{
    std::string diff;
    for (int i = 0; i < rec::TlnCount; ++i) {
        if (pbx.tln[std::size_t(i)][0] != i)
            diff += "subscriber " + std::to_string(i) + " without its index; ";
        diff += compare(("subscriber " + std::to_string(i)).c_str(), pbx.tln[std::size_t(i)], rec::TlnSent, r,
                        tlnAt(i) + rec::TlnSent, rec::TlnSentSize);
    }
    return diff;
}

// ---- speed dial

constexpr int kwzBlocks = rec::KwzCount / rec::KwzBlockSlots; // 25, then the two prefix lists

// Built by opening and closing it once; closing asks to save unsaved changes,
// so there are none while it closes.
Widget speedDialDialog()
{
    if (!kwzdlg) {
        std::int32_t changes = recInt(rec::KwzChanges);
        setRecInt(rec::KwzChanges, 0);
        markClean(FileKind::SpeedDial, all);
        runModal([] { doKurzwahlen(toplevel); }, [](Widget) {}, "*quit");
        setRecInt(rec::KwzChanges, changes);
    }
    return kwzdlg;
}

void prepareSpeedDial()
{
    speedDialDialog();
    showkwz(); // the list shows the record as it is now
}

std::string speedDialView()
{
    return listText(XmtNameToWidget(speedDialDialog(), "*ziele"));
}

void leavesSpeedDialRead(RecordBytes &r, const pbxsim::State &pbx, const Outcome &o)
{
    if (o.how != Outcome::Done)
        return;
    std::copy(pbx.kwz.begin(), pbx.kwz.end(), r.begin() + long(rec::KwzNumbers));
    std::copy(pbx.nahber.begin(), pbx.nahber.end(), r.begin() + long(rec::NahBerList));
    std::copy(pbx.sperrber.begin(), pbx.sperrber.end(), r.begin() + long(rec::SperrBerList));
    std::copy_n(KwzMark, std::strlen(KwzMark) + 1, r.begin() + long(rec::KwzHeader));
    for (std::size_t counter : {rec::KwzPresent, rec::KwzChanges, rec::PrefixPresent})
        putInt(r, counter, intAt(r, counter) + 1);
}

// The list is rebuilt from the record after a read that went through.
std::string showsSpeedDialRead(const std::string &before, const pbxsim::State &, const Outcome &o)
{
    if (o.how != Outcome::Done)
        return before;
    showkwz();
    return speedDialView();
}

std::string speedDialTook(const RecordBytes &r, const pbxsim::State &pbx)
{
    return compare("speed dial", pbx.kwz, 0, r, rec::KwzNumbers, pbx.kwz.size()) +
           compare("local prefixes", pbx.nahber, 0, r, rec::NahBerList, rec::PrefixListSize) +
           compare("blocked prefixes", pbx.sperrber, 0, r, rec::SperrBerList, rec::PrefixListSize);
}

// ---- charge counters

Widget counterDialog()
{
    Widget dialog = XmtNameToWidget(programTop(), "*gebzahl_dlg");
    if (!dialog) {
        runModal([] { doGebZaehler(programTop()); }, [](Widget) {}, "*okay");
        dialog = XmtNameToWidget(programTop(), "*gebzahl_dlg");
    }
    return dialog;
}

// Every counter one pfennig: what the list shows before the transfer.
void prepareCounters()
{
    counterDialog();
    std::int32_t ones[ChargeCounters];
    std::fill(std::begin(ones), std::end(ones), 1);
    showGebuehren(ones);
}

std::string counterView()
{
    Widget dialog = counterDialog();
    return listText(guiFind(dialog, "*zaehler")) + "total " + guiText(guiFind(dialog, "*summe"), XmNlabelString);
}

std::string showsCounters(const std::string &before, const std::vector<std::int32_t> &counters, const Outcome &o)
{
    if (o.how != Outcome::Done)
        return before;
    showGebuehren(counters.data());
    return counterView();
}

std::vector<std::int32_t> countersOf(const pbxsim::State &pbx)
{
    return {pbx.counters.begin(), pbx.counters.end()};
}

// Runs the callback and answers "Ja" to the question it asks first; false
// when none came.
bool answeringYes(XtCallbackProc callback)
{
    bool asked = false;
    int wait = guiWhenActive([&asked](Widget box) {
        asked = true;
        XtCallCallbacks(box, XmNokCallback, nullptr);
    });
    callback(nullptr, nullptr, nullptr);
    guiCancelWait(wait);
    return asked;
}

// ---- call lists

// A full memory: every answer carries as many records as it can, so an
// over-long one brings nothing more than its list has room for.
pbxsim::State fullCallMemory()
{
    pbxsim::State s = pbxsim::defaultState();
    for (std::size_t k = s.outcalls.size(); k < std::size_t(OutCallCount); ++k)
        s.outcalls.push_back(s.outcalls[k % 25]);
    for (std::size_t k = s.incalls.size(); k < std::size_t(InCallCount); ++k)
        s.incalls.push_back(s.incalls[k % 12]);
    return s;
}

Widget callDialog(CallList &list)
{
    return buildDialogOnce(list.dialog, programTop(), list.dialogName);
}

// Three records of a read before, in the store and on the list.
void prepareCalls(CallList &list)
{
    callDialog(list);
    list.store.assign(std::size_t(list.read.capacity * list.read.recordSize), 0);
    for (int k = 0; k < 3; ++k)
        std::fill_n(list.store.begin() + k * list.read.recordSize, list.read.recordSize, static_cast<unsigned char>(0x21 + k));
    showCallList(list);
}

std::string callView(CallList &list)
{
    return listText(guiFind(callDialog(list), list.listName)) + "store " + std::string(list.store.begin(), list.store.end());
}

// After a read that went through, the list and the store are the PBX's records.
template <typename Record>
std::string showsCalls(CallList &list, const std::string &before, const std::vector<Record> &records, const Outcome &o)
{
    if (o.how != Outcome::Done)
        return before;
    std::vector<unsigned char> store;
    std::string text;
    for (const Record &r : records) {
        text += list.read.line(int(store.size()) / list.read.recordSize, r.data(), CallForm::Text, all) + "\n";
        store.insert(store.end(), r.begin(), r.end());
    }
    store.resize(std::size_t(list.read.capacity * list.read.recordSize), 0);
    return text + "store " + std::string(store.begin(), store.end());
}

} // namespace

void scribbleRecord()
{
    for (std::size_t k = 0; k < rec::DevicePathSlot; ++k)
        all[k] = static_cast<unsigned char>(k * 29 + 0x5B);
    setRecInt(rec::TlnPresent, 0);
    setRecInt(rec::KwzPresent, 2);
    setRecInt(rec::KwzChanges, 3);
    setRecInt(rec::PrefixPresent, 1);
    setRecInt(rec::KwzFileCount, 4);
}

RecordBytes recordBytes() { return {all, all + rec::RecordSize}; }

const std::vector<Transfer> &transfers()
{
    static const std::vector<Transfer> table = {
        {
            .name = "ConfigRead",
            .steps = configReadSteps,
            .prepare =
                [] {
                    validConfiguration();
                    std::strcpy(anl_vers, versionBefore);
                    show_anl_vers();
                },
            .run = [] { readConfig(); },
            .leaves = leavesConfigRead,
            .view = configView,
            .shows = showsConfigRead,
            .workingBoxes = {"*cfgreadwbox"},
        },
        {
            .name = "ConfigProgram",
            .writes = true,
            .steps = 12,
            .prepare = validTypeOneConfiguration,
            .run = [] { writeConfig(); },
            // A run that fails, at its begin or midway, leaves the user's
            // edits as usable as they were: flag, counter and buttons.
            .leaves =
                [](RecordBytes &r, const pbxsim::State &, const Outcome &o) {
                    clearThirdPort(r);
                    if (o.how == Outcome::Done)
                        flags(r, 1);
                },
            .view = buttons,
            .took = configTook,
            .workingBoxes = {"*cfgwritewbox"},
        },
        {
            .name = "SpeedDialRead",
            .steps = kwzBlocks + 2,
            .prepare = prepareSpeedDial,
            .run = [] { readISkwz(kwzdlg, nullptr, nullptr); },
            .leaves = leavesSpeedDialRead,
            .view = speedDialView,
            .shows = showsSpeedDialRead,
            .workingBoxes = {"*readwbox"},
            .dialogParent = speedDialDialog,
        },
        {
            .name = "SpeedDialProgram",
            .writes = true,
            .steps = kwzBlocks + 2,
            .prepare = prepareSpeedDial,
            .run = [] { writeISkwz(kwzdlg, nullptr, nullptr); },
            .view = speedDialView,
            // shows the same: rebuilt from a record that did not change
            .took = speedDialTook,
            .workingBoxes = {"*writewbox"},
            .dialogParent = speedDialDialog,
        },
        {
            .name = "SubscriberRead",
            .steps = rec::TlnCount,
            .prepare = validConfiguration,
            .run = [] { readTlnConfig(toplevel); },
            .leaves = leavesTlnRead,
            .view = buttons,
            // shows the same: the main window is not brought up to date
            .workingBoxes = {"*tlnreadwbox"},
        },
        {
            .name = "SubscriberProgram",
            .writes = true,
            .steps = rec::TlnCount,
            .prepare = validTypeOneConfiguration,
            .run = [] { writeTlnConfig(toplevel); },
            .leaves =
                [](RecordBytes &r, const pbxsim::State &, const Outcome &o) {
                    clearThirdPort(r);
                    if (o.how == Outcome::Done)
                        flags(r, 0);
                },
            .view = buttons,
            .took = tlnTook,
            .workingBoxes = {"*cfgwritewbox"},
        },
        {
            .name = "CounterRead",
            .steps = 1,
            .prepare = prepareCounters,
            .run = [] { doGebGet(nullptr, nullptr, nullptr); },
            // counters are kept in the dialog's list only: the record is left alone
            .view = counterView,
            .shows = [](const std::string &before, const pbxsim::State &pbx,
                        const Outcome &o) { return showsCounters(before, countersOf(pbx), o); },
            .workingBoxes = {"*gebreaddlg", "*gebwritedlg"},
            .dialogParent = counterDialog,
        },
        {
            .name = "CounterReset",
            .writes = true,
            .steps = 1,
            .prepare = prepareCounters,
            .run = [] { EXPECT_TRUE(answeringYes(doGebDel)) << "the reset did not ask first"; },
            .view = counterView,
            .shows = [](const std::string &before, const pbxsim::State &,
                        const Outcome &o) { return showsCounters(before, std::vector<std::int32_t>(ChargeCounters, 0), o); },
            .took =
                [](const RecordBytes &, const pbxsim::State &pbx) {
                    std::string diff;
                    for (std::size_t i = 0; i < pbx.counters.size(); ++i)
                        if (pbx.counters[i] != 0 && pbx.counters[i] != pbxsim::NoCounter)
                            diff += "counter " + std::to_string(i) + " not reset; ";
                    return diff;
                },
            .workingBoxes = {"*gebreaddlg", "*gebwritedlg"},
            .dialogParent = counterDialog,
        },
        {
            .name = "OutgoingCallsRead",
            .steps = OutCallCount / 10,
            .pbx = fullCallMemory,
            .prepare = [] { prepareCalls(outCallList()); },
            .run = [] { doKitGetOut(nullptr, nullptr, nullptr); },
            // the calls are kept in their own store: the record is left alone
            .view = [] { return callView(outCallList()); },
            .shows = [](const std::string &before, const pbxsim::State &pbx,
                        const Outcome &o) { return showsCalls(outCallList(), before, pbx.outcalls, o); },
            .workingBoxes = {"*gebreaddlg", "*gebkitdlg"},
            .dialogParent = [] { return callDialog(outCallList()); },
        },
        {
            .name = "IncomingCallsRead",
            .steps = (InCallCount + 13) / 14,
            .pbx = fullCallMemory,
            .prepare = [] { prepareCalls(inCallList()); },
            .run = [] { doKitGetIn(nullptr, nullptr, nullptr); },
            .view = [] { return callView(inCallList()); },
            .shows = [](const std::string &before, const pbxsim::State &pbx,
                        const Outcome &o) { return showsCalls(inCallList(), before, pbx.incalls, o); },
            .workingBoxes = {"*gebreaddlg"},
            .dialogParent = [] { return callDialog(inCallList()); },
        },
        {
            .name = "CallMemoryErase",
            .writes = true,
            .steps = 1,
            .prepare = [] { prepareCalls(outCallList()); },
            .run = [] { EXPECT_TRUE(answeringYes(doKitDelOut)) << "the erase did not ask first"; },
            .view = [] { return callView(outCallList()); },
            // shows the same: the list stays until the next read
            .took = [](const RecordBytes &,
                       const pbxsim::State &pbx) { return pbx.outcalls.empty() ? "" : "the PBX still holds calls"; },
            .workingBoxes = {"*gebreaddlg", "*gebkitdlg"},
            .dialogParent = [] { return callDialog(outCallList()); },
        },
    };
    return table;
}
