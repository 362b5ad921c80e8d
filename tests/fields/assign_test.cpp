// Fields set from text: what set takes under the dialogs' rules, and show's
// lines set into another record giving back every byte.
#include <gtest/gtest.h>

#include "config/record.h"
#include "fields/assign.h"
#include "fields/assigntext.h"
#include "show/describe.h"

#include <random>
#include <set>

namespace {

std::vector<unsigned char> record() { return std::vector<unsigned char>(rec::RecordSize, 0); }

TEST(SetField, TakesWhatTheDialogTakesAndSaysWhatIsAllowed)
{
    struct Case {
        const char *assignment;
        std::vector<unsigned char> bytes; // at the field's offset; empty: refused
        const char *message = "";         // the refusal
    };
    const Case cases[] = {
        {"Globale Anlagendaten: Ortsvorwahl=6356", {'6', '3', '5', '6', 0, 0}},
        {"Globale Anlagendaten: Ortsvorwahl=06356", {}, "Bitte keine führende Null eingeben!"},
        {"Globale Anlagendaten: Ortsvorwahl=635612", {}, "erlaubt sind bis zu 5 Ziffern"},
        {"Globale Anlagendaten: Ortsvorwahl=63a", {}, "erlaubt sind bis zu 5 Ziffern"},
        {"Globale Anlagendaten: RWS-Zeit=99", {99}},
        {"Globale Anlagendaten: RWS-Zeit=100", {}, "Der Wert muß zwischen 0 und 99 liegen"},
        {"Globale Anlagendaten: Wartemusik=Extern", {2}},
        {"Globale Anlagendaten: Wartemusik=? (0x07)", {}, "erlaubt sind: Aus, Intern, Extern"},
        {"Globale Anlagendaten: Optionen=Tag/Nacht, Rufweiterleitung Amt/Amt", {0x09}},
        {"Globale Anlagendaten: Optionen: Tag/Nacht=Ein", {0x08}},
        {"Globale Anlagendaten: Optionen: Tag/Nacht=An", {}, "erlaubt sind: Aus, Ein"},
        {"Globale Anlagendaten: Optionen=Nacht", {}, "\"Nacht\" ist keins von"},
        {"Steuerkontakte: Sensor aktiv von=07:30", {0x30, 0x07}},
        {"Steuerkontakte: Sensor aktiv von=24:00", {}, "erlaubt ist hh:mm von 00:00 bis 23:59"},
        {"Steuerkontakte: Aktor 1 Schaltzeit=999", {0xE7, 0x03}},
        {"Steuerkontakte: Aktor 1 Schaltzeit=1000", {}, "Der Wert muß zwischen 0 und 999 liegen"},
        {"Rufnummernzuordnung: AB  #1=11", {'1', '1', 0}},
        {"Rufnummernzuordnung: AB  #1=10", {}, "Der Wert muß zwischen 11 und 97 liegen"},
        {"Rufnummernzuordnung: AB  #1=1", {}, "erlaubt sind genau 2 Ziffern"},
        {"Teilnehmer-Berechtigungen: Master=AB  #1, S1  #9", {0x01, 0, 0, 0x20}},
        {"Teilnehmer-Berechtigungen: Master: SO  #0=Ein", {0x00, 0x04, 0, 0}},
        {"Anlagentyp: Port 1: Busanschluß=Intern", {0x40}},
        // The bytes no dialog shows are apply's only.
        {"Globale Anlagendaten, Bytes 96-110=01 00 00 00 00 00 00 00 00 00 00 00 00 00 00", {},
         "das zeigt kein Dialog"},
    };
    for (const Case &c : cases) {
        std::vector<unsigned char> r = record();
        Target target;
        std::string value;
        ASSERT_TRUE(splitAssignment(c.assignment, "=", {FileKind::Configuration}, target, value)) << c.assignment;
        std::string why = assignField(target, value, r.data(), Rules::Dialog);
        if (c.bytes.empty()) {
            EXPECT_NE(why.find(c.message), std::string::npos) << c.assignment << ": " << why;
            EXPECT_EQ(r, record()) << c.assignment << ": refused, nothing set";
            continue;
        }
        EXPECT_EQ(why, "") << c.assignment;
        std::vector<unsigned char> want = record();
        std::copy(c.bytes.begin(), c.bytes.end(), want.begin() + long(target.field->offset));
        EXPECT_EQ(r, want) << c.assignment;
    }
}

TEST(SetField, AnUnknownLabelNamesTheClosest)
{
    Target target;
    std::string value;
    EXPECT_FALSE(splitAssignment("Globale Anlagendaten: Ortsvorwal=1", "=", {FileKind::Configuration}, target, value));
    std::vector<std::string> close = closestLabels("Globale Anlagendaten: Ortsvorwal", {FileKind::Configuration});
    ASSERT_FALSE(close.empty());
    EXPECT_EQ(close[0], "Globale Anlagendaten: Ortsvorwahl");
}

// Every byte of the file at random, and the texts that read like show's own
// marks; show's whole text of A applied to B (random too) gives A's bytes,
// each of them, through the path apply and edit take.
TEST(ApplyShow, GivesBackEveryByteOfEveryKind)
{
    struct Kind {
        FileKind kind;
        const char *name;
    };
    const Kind kinds[] = {{FileKind::Configuration, "configuration"},
                          {FileKind::SpeedDial, "speed dial"},
                          {FileKind::Subscribers, "subscribers"}};
    for (const Kind &k : kinds) {
        const std::vector<Field> &fields = fieldsOf(k.kind);
        for (unsigned seed = 1; seed <= 20; seed++) {
            std::mt19937 random(seed);
            FileImage a{k.kind, record()}, b{k.kind, record()};
            for (const Field &f : fields)
                for (std::size_t i = 0; i < f.size; i++) {
                    a.record[f.offset + i] = static_cast<unsigned char>(random() % (seed % 4 ? 256 : 3));
                    b.record[f.offset + i] = static_cast<unsigned char>(random());
                }
            // A speed-dial file is one by its mark: the readers take no other.
            if (k.kind == FileKind::SpeedDial)
                for (FileImage *image : {&a, &b})
                    std::copy_n("KwDaten", 7, image->record.begin() + long(rec::KwzHeader));
            // Texts that would read like "empty" or like the bytes behind one.
            const Field *text = nullptr;
            for (const Field &f : fields)
                if (f.reading == Reading::Text && f.size >= 25 && !text)
                    text = &f;
            ASSERT_NE(text, nullptr);
            const char *marks[] = {"(leer)", "1 [dahinter 07]", "(leer) [dahinter 00]", "\\x41"};
            std::string mark = marks[seed % 4];
            std::fill_n(a.record.begin() + long(text->offset), text->size, 0);
            std::copy(mark.begin(), mark.end(), a.record.begin() + long(text->offset));

            std::string shown;
            for (const std::string &line : showLines(a))
                shown += line + (seed % 2 ? "\r\n" : "\n"); // an editor may save either
            std::vector<std::string> troubles =
                assignLines(textLines(shown, "a"), ": ", {k.kind}, b.record.data(), Rules::Storage);
            ASSERT_EQ(troubles, std::vector<std::string>{}) << k.name << ", seed " << seed;
            for (const Field &f : fields)
                for (std::size_t i = 0; i < f.size; i++)
                    ASSERT_EQ(a.record[f.offset + i], b.record[f.offset + i])
                        << k.name << ", seed " << seed << ": " << f.label << ": " << readField(f, a.record.data())
                        << " set as " << readField(f, b.record.data());
        }
    }
}

// What a text may not hold, and what only the dialogs' rules refuse: the one
// path set, apply and edit share, each case with its message.
TEST(AssignText, RefusesWhatNoReaderOrDialogWouldTakeAndSaysWhere)
{
    const std::string nul("Globale Anlagendaten: Ortsvorwahl: 63\0" "57", 40);
    struct Case {
        const char *what;
        std::string text;
        Rules rules;
        FileKind kind;
        std::string said; // in the first message; "" taken
        const char *separator = ": ";
    };
    const Case cases[] = {
        {"CRLF ends a line", "Globale Anlagendaten: Ortsvorwahl: 6357\r\n", Rules::Storage, FileKind::Configuration, ""},
        {"a raw NUL", nul + "\n", Rules::Storage, FileKind::Configuration,
         "t:1: ein Steuerzeichen (\\x00) in \"Globale Anlagendaten: Ortsvorwahl: 63\\x0057\""},
        {"an escape sequence", "\n\nGlobale Anlagendaten: Ortsvorwahl: \x1B[2J\n", Rules::Storage,
         FileKind::Configuration, "t:3: ein Steuerzeichen (\\x1B)"},
        {"a field twice", "Globale Anlagendaten: RWS-Zeit: 3\n# x\nGlobale Anlagendaten: RWS-Zeit: 4\n", Rules::Storage,
         FileKind::Configuration, "t:3: \"Globale Anlagendaten: RWS-Zeit\" steht schon in t:1; jedes Feld nur einmal"},
        {"an item and its field",
         "Globale Anlagendaten: Optionen=Tag/Nacht\nGlobale Anlagendaten: Optionen: Tag/Nacht=Ein\n",
         Rules::Dialog, FileKind::Configuration, "t:2: \"Globale Anlagendaten: Optionen\" steht schon in t:1", "="},
        {"two items of one field",
         "Globale Anlagendaten: Optionen: Tag/Nacht=Ein\nGlobale Anlagendaten: Optionen: Rufweiterleitung Amt/Amt=Ein\n",
         Rules::Dialog, FileKind::Configuration, "", "="},
        {"an edited area code with a letter", "Globale Anlagendaten: Ortsvorwahl: 63a57\n", Rules::Edited,
         FileKind::Configuration,
         "t:1: \"Globale Anlagendaten: Ortsvorwahl\" nimmt \"63a57\" nicht: erlaubt sind bis zu 5 Ziffern"},
        {"an edited leading zero", "Globale Anlagendaten: Ortsvorwahl: 06357\n", Rules::Edited,
         FileKind::Configuration, "Bitte keine führende Null eingeben!"},
        {"an edited byte no dialog shows", "Globale Anlagendaten, Bytes 96-110: 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n",
         Rules::Edited, FileKind::Configuration, ""},
        {"a speed-dial file's mark", "Kennung: KwDatem\n", Rules::Storage, FileKind::SpeedDial,
         "t:1: \"Kennung\" nimmt \"KwDatem\" nicht: eine Kurzwahl-Datei beginnt mit \"KwDaten\""},
        {"a long value quoted short", "Globale Anlagendaten: Ortsvorwahl: " + std::string(100, '7') + "\n",
         Rules::Storage, FileKind::Configuration,
         "t:1: \"Globale Anlagendaten: Ortsvorwahl\" nimmt \"" + std::string(60, '7') + "...\" nicht"},
        {"a label quoted short", std::string(100, 'x') + ": 1\n", Rules::Storage, FileKind::Configuration,
         "t:1: kein Feld \"" + std::string(60, 'x') + "...\"; am nächsten kommen:"},
    };
    for (const Case &c : cases) {
        std::vector<unsigned char> r = record();
        std::copy_n("KwDaten", 7, r.begin() + long(rec::KwzHeader));
        std::vector<unsigned char> before = r;
        std::vector<std::string> said = assignLines(textLines(c.text, "t"), c.separator, {c.kind}, r.data(), c.rules);
        if (c.said.empty()) {
            EXPECT_EQ(said, std::vector<std::string>{}) << c.what;
            EXPECT_NE(r, before) << c.what << ": nothing set";
            continue;
        }
        ASSERT_FALSE(said.empty()) << c.what;
        EXPECT_NE(said[0].find(c.said), std::string::npos) << c.what << ": " << said[0];
        EXPECT_EQ(said[0].rfind(c.said.starts_with("t:") ? "t:" : "", 0), 0u) << c.what << ": the place first";
        EXPECT_EQ(r, before) << c.what << ": set although refused";
    }
}

// Hostile text by the megabyte: refused with few, short messages.  (Its time
// is measured in bench/, not here.)
TEST(AssignText, ManyRefusalsAreCountedNotEachTold)
{
    std::string text;
    for (int i = 0; i < 1000; i++)
        text += "kein Feld: " + std::to_string(i) + "\n";
    std::vector<unsigned char> r = record();
    std::vector<std::string> said = assignLines(textLines(text, "t"), ": ", {FileKind::Configuration}, r.data(),
                                                Rules::Storage);
    ASSERT_EQ(said.size(), MaxTold + 1);
    EXPECT_EQ(said.back(), "und " + std::to_string(1000 - MaxTold) + " weitere Fehler");
}

TEST(FieldLabels, NoLabelEndsWhereAnotherGoesOn)
{
    // Else "LABEL: VALUE" could be split in two places.
    for (FileKind kind : {FileKind::Configuration, FileKind::SpeedDial, FileKind::Subscribers}) {
        std::set<std::string> labels;
        for (const Field &f : fieldsOf(kind))
            labels.insert(f.label);
        for (const std::string &l : labels)
            for (const char *separator : {": ", "="}) {
                std::string start = l + separator;
                auto next = labels.lower_bound(start);
                EXPECT_TRUE(next == labels.end() || next->compare(0, start.size(), start) != 0)
                    << l << " goes on as " << *next;
            }
    }
}

} // namespace
