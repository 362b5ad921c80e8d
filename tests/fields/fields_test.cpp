// The field table: every byte of a file's part of the record belongs to exactly
// one field, fields carry the window's own labels, and values read so that two
// fields read alike only when their bytes are alike.
#include <gtest/gtest.h>

#include "config/record.h"
#include "fields/fields.h"
#include "resources/lookup.h"
#include "resources/resources.h"

#include <cstring>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Span {
    FileKind kind;
    const char *name;
    std::vector<std::pair<std::size_t, std::size_t>> ranges; // record offset, size
};

std::vector<Span> spans()
{
    std::vector<std::pair<std::size_t, std::size_t>> tnd;
    for (std::size_t i = 0; i < 30; i++) {
        std::size_t r = rec::TlnData + rec::TlnDataSize * i;
        tnd.insert(tnd.end(), {{r + 6, 2}, {r + 8, 2}, {r + 22, 25}, {r + 72, 25}, {r + 122, 1}});
    }
    return {{FileKind::Configuration, "configuration", {{0, rec::PbxImageSize}}},
            {FileKind::SpeedDial, "speed dial", {{rec::KwzHeader, rec::KwzSizeInFile}}},
            {FileKind::Subscribers, "subscribers", tnd}};
}

TEST(FieldTable, EveryBitOfAFileBelongsToExactlyOneField)
{
    for (const Span &span : spans()) {
        std::map<std::size_t, unsigned> bits; // offset -> bits covered
        for (const Field &f : fieldsOf(span.kind)) {
            for (std::size_t i = 0; i < f.size; i++) {
                unsigned mask = f.size == 1 ? f.mask : 0xFFu;
                EXPECT_EQ(bits[f.offset + i] & mask, 0u) << span.name << ": " << f.name << " overlaps at "
                                                         << f.offset + i;
                bits[f.offset + i] |= mask;
            }
        }
        std::size_t expected = 0;
        for (auto [from, size] : span.ranges) {
            expected += size;
            for (std::size_t o = from; o < from + size; o++)
                EXPECT_EQ(bits[o], 0xFFu) << span.name << ": byte " << o << " not all covered";
        }
        EXPECT_EQ(bits.size(), expected) << span.name << ": fields reach outside the file";
    }
}

TEST(FieldTable, NamesAndLabelsAreUniqueAndSayWhatTheWindowSays)
{
    for (const Span &span : spans()) {
        std::set<std::string> names, labels;
        for (const Field &f : fieldsOf(span.kind)) {
            EXPECT_TRUE(names.insert(f.name).second) << "name twice: " << f.name;
            EXPECT_TRUE(labels.insert(f.label).second) << "label twice: " << f.label;
            EXPECT_EQ(f.label.find(": :"), std::string::npos) << f.name << ": " << f.label;
            EXPECT_NE(f.label.back(), ' ') << f.name;
        }
    }
    // Offsets as the dialogs bind them, labels from their resource lines.
    struct Known {
        FileKind kind;
        const char *name;
        std::size_t offset, size;
        const char *label;
    };
    const Known known[] = {
        {FileKind::Configuration, "globdat.okz", rec::AnlDatList + 47, 6, "Globale Anlagendaten: Ortsvorwahl"},
        {FileKind::Configuration, "globdat.rwst", rec::RufVertList + 48, 1, "Globale Anlagendaten: RWS-Zeit"},
        {FileKind::Configuration, "steuer.rnr1", rec::StKonList + 11, 25, "Steuerkontakte: Rufnummer1"},
        {FileKind::Configuration, "amtsperm.10", rec::BerList + 22, 1, "Amtsberechtigungen: SO  #0"},
        {FileKind::Configuration, "rufzuord.num8", rec::RufnrList + 9 + 24, 3, "Rufnummernzuordnung: TFE #1"},
        {FileKind::Configuration, "port2.msn3", 1 + 195 + 25 + 27, 9, "Anlagentyp: Port 2: Rufnummern: MSN 3"},
        {FileKind::Configuration, "gebdat.impuls", rec::GebKonfList + 85, 1, "Gebührendaten: Gebührenimpuls"},
        {FileKind::Configuration, "teltyp.0", rec::BerList + 42, 1, "Gerätetypen: AB  #1"},
        {FileKind::SpeedDial, "kwz.142.number", rec::KwzNumbers + 42 * 25, 25, "Kurzwahl 142: Nummer"},
        {FileKind::SpeedDial, "sperrber.20", rec::SperrBerList + 114, 6, "Sperrnummern: Sperr #20"},
        {FileKind::Subscribers, "tln29.rufz", rec::TlnData + 124 * 29 + 122, 1, "S1  #9: Rufumleitung Rufzeit"},
    };
    for (const Known &k : known) {
        const Field *found = nullptr;
        for (const Field &f : fieldsOf(k.kind))
            if (f.name == k.name)
                found = &f;
        ASSERT_NE(found, nullptr) << k.name;
        EXPECT_EQ(found->offset, k.offset) << k.name;
        EXPECT_EQ(found->size, k.size) << k.name;
        EXPECT_EQ(found->label, k.label) << k.name;
    }
}

const Field &named(FileKind kind, const std::string &name)
{
    for (const Field &f : fieldsOf(kind))
        if (f.name == name)
            return f;
    throw std::runtime_error("no field " + name);
}

TEST(FieldReading, EachReadingAsItReads)
{
    struct Case {
        FileKind kind;
        const char *field;
        std::vector<unsigned char> bytes; // at the field's offset
        const char *reads;
    };
    const Case cases[] = {
        {FileKind::Configuration, "globdat.okz", {'6', '3', '5', '6', 0, 0}, "6356"},
        {FileKind::Configuration, "globdat.okz", {0, 0, 0, 0, 0, 0}, "(leer)"},
        // Bytes behind the terminating zero show, so that no difference hides.
        {FileKind::Configuration, "globdat.okz", {'3', '0', 0, 0, 7, 0}, "30 [dahinter 00 07]"},
        {FileKind::Configuration, "globdat.uus", {'a', '\\', 1, 0xE4, 0}, "a\\\\\\x01\xE4"},
        {FileKind::Configuration, "globdat.rwst", {20}, "20"},
        {FileKind::Configuration, "steuer.ask1", {0x2C, 0x01}, "300"},
        {FileKind::Configuration, "globdat.moh", {1}, "Intern"},
        {FileKind::Configuration, "globdat.moh", {7}, "? (0x07)"},
        {FileKind::Configuration, "port1.bus", {0x92}, "Extern"},
        {FileKind::Configuration, "port1.anschl", {0x92}, "Mehrgeräteanschluß"},
        {FileKind::Configuration, "port1.bits0", {0x92}, "0x02"},
        {FileKind::Configuration, "globdat.amtamt", {0xF5}, "Rufweiterleitung Amt/Amt, Privat (ab ROM 1.1x)"},
        {FileKind::Configuration, "globdat.amtamt", {0xF0}, "(keine)"},
        {FileKind::Configuration, "steuer.start", {0x30, 0x07}, "07:30"},
        {FileKind::Configuration, "tlnperm.0", {0x03, 0x04, 0x00, 0xC0}, "AB  #1, AB  #2, SO  #0, Bit 30, Bit 31"},
        {FileKind::Configuration, "rufzuord.hpttyp", {3}, "Über Amt"},
        {FileKind::Subscribers, "tln0.weckz", {0xFF, 0xFF}, "(keine)"},
        {FileKind::Subscribers, "tln0.funk2", {0x81}, "Zweitwecker 1, Weckruf aktiv"},
        {FileKind::Subscribers, "tln0.funk1", {0x80}, "0x80"},
    };
    for (const Case &c : cases) {
        const Field &f = named(c.kind, c.field);
        std::vector<unsigned char> record(rec::RecordSize, 0);
        std::copy(c.bytes.begin(), c.bytes.end(), record.begin() + long(f.offset));
        EXPECT_EQ(readField(f, record.data()), c.reads) << c.field;
    }
}

TEST(FieldReading, AFieldDiffersOnlyInItsOwnBits)
{
    const Field &bus = named(FileKind::Configuration, "port1.bus");
    std::vector<unsigned char> a(rec::RecordSize, 0), b(rec::RecordSize, 0);
    b[bus.offset] = 0x32; // other fields' bits of the same byte
    EXPECT_FALSE(fieldDiffers(bus, a.data(), b.data()));
    b[bus.offset] = 0x40;
    EXPECT_TRUE(fieldDiffers(bus, a.data(), b.data()));
    const Field &okz = named(FileKind::Configuration, "globdat.okz");
    b[okz.offset + 5] = 1;
    EXPECT_TRUE(fieldDiffers(okz, a.data(), b.data()));
}

} // namespace

// The codings the dialogs store their menus and check boxes with are the
// rows': each item goes in as show reads it, the other bits stay, and a menu
// that showed no item stores back what it had.
TEST(FieldCoding, MenusAndBoxesGoInAsShowReadsThem)
{
    int menus = 0, boxes = 0;
    for (FileKind kind : {FileKind::Configuration, FileKind::SpeedDial, FileKind::Subscribers}) {
        for (const Field &f : fieldsOf(kind)) {
            std::vector<unsigned char> record(rec::RecordSize, 0);
            if (f.reading == Reading::Choice) {
                ++menus;
                for (unsigned junk : {0x00u, 0xFFu, 0xA5u}) {
                    for (std::size_t i = 0; i < f.items.size(); i++) {
                        record[f.offset] = withChoice(f, junk, int(i));
                        EXPECT_EQ(readField(f, record.data()), f.items[i].text) << f.name;
                        EXPECT_EQ(choiceIndex(f, record[f.offset]), int(i)) << f.name;
                        EXPECT_EQ(record[f.offset] & ~f.mask & 0xFFu, junk & ~f.mask) << f.name << ": other bits";
                    }
                    EXPECT_EQ(withChoice(f, junk, -1), junk) << f.name;
                    EXPECT_EQ(withChoice(f, junk, int(f.items.size())), junk) << f.name;
                }
            } else if (f.reading == Reading::Bits && !f.extra) {
                ++boxes;
                for (unsigned byte = 0; byte < 0x100; byte++)
                    ASSERT_EQ(withBoxes(f, byte, boxesOf(f, byte)), byte) << f.name;
                // Box i is the i-th bit of the mask from its lowest: an item's value is its box's bit.
                for (const FieldItem &item : f.items) {
                    unsigned state = boxesOf(f, item.value);
                    ASSERT_EQ(state & (state - 1), 0u) << f.name << ": " << item.text;
                    record[f.offset] = withBoxes(f, 0, state);
                    EXPECT_EQ(readField(f, record.data()), item.text) << f.name;
                }
            }
        }
    }
    EXPECT_GT(menus, 50);
    EXPECT_GT(boxes, 60);
    EXPECT_THROW(fieldNamed(FileKind::Configuration, "port4.bus"), std::logic_error);
}

// Where the dialogs that keep a working copy find their words: in their block
// as the table puts them.
TEST(FieldCoding, OffsetsInTheDialogsBlocks)
{
    const std::pair<const char *, std::size_t> cases[] = {
        {"tlnperm.2", 8},     {"calldist.5", 40}, {"calldist.6", 44}, {"gebdat.4", 16},
        {"loccharge.29", 81}, {"gebdat.impuls", 85}, {"rufzuord.hpttyp", rec::HptTypInShare},
    };
    for (const auto &[name, offset] : cases)
        EXPECT_EQ(offsetInBlock(fieldNamed(FileKind::Configuration, name)), offset) << name;
    EXPECT_THROW(offsetInBlock(fieldNamed(FileKind::Configuration, "port1.bus")), std::logic_error);
}

// A check or pattern named in the resource lines that no row carries would
// hold the window to it and leave kelvoractl's set without it; a check
// without a warning would refuse without a word.
TEST(FieldRules, EveryCheckAndPatternInTheResourceLinesIsARowsAndEveryCheckWarns)
{
    std::map<std::string, const FieldCheck *> rows;
    std::set<std::string> patterned;
    for (FileKind kind : {FileKind::Configuration, FileKind::SpeedDial, FileKind::Subscribers}) {
        for (const Field &f : fieldsOf(kind)) {
            if (f.rule.check)
                rows[f.rule.lines] = f.rule.check;
            if (!f.rule.pattern.empty())
                patterned.insert(f.rule.lines);
        }
    }
    // A pattern no row takes would leave set without it: only the file
    // dialogs' and the after-time target's (the row of the permanent one
    // holds the same bytes and pattern) are no field's.
    const std::set<std::string> noField = {"*cfgload_dlg.", "*cfgsave_dlg.", "*tndat*nnz."};
    for (const char **line = kelvoraFallbackResources(); *line; ++line) {
        std::string key = std::string(*line).substr(0, std::string(*line).find(':'));
        if (key.size() > 7 && key.compare(key.size() - 7, 7, "pattern") == 0) {
            std::string lines = key.substr(0, key.size() - 7);
            EXPECT_TRUE(patterned.count(lines) || noField.count(lines)) << key << " is no row's";
        }
    }
    EXPECT_EQ(builtinResource("*tndat*nnz.pattern"), builtinResource("*tndat*numl.pattern"));
    std::set<std::string> verified, warned;
    for (const char **line = kelvoraFallbackResources(); *line; ++line) {
        std::string text = *line;
        std::size_t colon = text.find(':');
        if (colon == std::string::npos)
            continue;
        std::string key = text.substr(0, colon), value = text.substr(text.find_first_not_of(' ', colon + 1));
        for (const char *which : {"verifyCallback", "errorCallback"}) {
            if (key.size() <= std::strlen(which) || key.compare(key.size() - std::strlen(which), std::string::npos, which))
                continue;
            std::string lines = key.substr(0, key.size() - std::strlen(which));
            if (std::strcmp(which, "errorCallback") == 0) {
                warned.insert(lines);
                continue;
            }
            verified.insert(lines);
            const FieldCheck *check = checkNamed(value);
            if (!check) {
                // The subscriber dialog's own: they clear the other target field, they refuse nothing.
                EXPECT_TRUE(value == "Check_NUML()" || value == "Check_NNZ()") << key << ": " << value;
                continue;
            }
            EXPECT_EQ(rows[lines], check) << key << ": no row carries " << value;
            EXPECT_NE(builtinResource(lines + "errorCallback"), "") << key << ": no warning";
        }
    }
    for (const std::string &lines : warned)
        EXPECT_TRUE(verified.count(lines)) << lines << "errorCallback warns of no check";
    EXPECT_EQ(rows.size(), 8u) << "the checked input fields of the dialogs";
}
