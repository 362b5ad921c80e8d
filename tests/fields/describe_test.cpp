// Files as show and diff see them: the kind told by its contents, the lines.
#include <gtest/gtest.h>

#include "config/record.h"
#include "show/describe.h"
#include "support/tempdir.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <string>

namespace {

std::string cfgFile(const char *id = "Daten Konfigurator DORVAN IS-x V1.4")
{
    std::string file(2134, '\0');
    std::copy(id, id + std::char_traits<char>::length(id), file.begin());
    file.replace(36 + rec::AnlDatList + 40, 2, "49");
    file.replace(36 + rec::AnlDatList + 47, 4, "6356");
    file[36 + rec::TypeByte] = 2;
    return file;
}

std::string kwzFile()
{
    std::string file(13060, '\0');
    file.replace(0, 7, "KwDaten");
    file.replace(20 + 25 * 3, 7, "0301234");
    file.replace(5020 + 39 * 3, 6, "Praxis");
    return file;
}

struct Kinds : ::testing::Test {
    TempDir dir;
    FileImage load(const std::string &name, const std::string &content, FileOpen expect = FileOpen::Loaded)
    {
        writeFile(dir.file(name), content);
        FileImage image;
        EXPECT_EQ(loadFileImage(dir.file(name).c_str(), image), expect) << name;
        return image;
    }
};

TEST_F(Kinds, TheContentsTellTheKind)
{
    EXPECT_EQ(load("a.cfg", cfgFile()).kind, FileKind::Configuration);
    EXPECT_EQ(load("b.cfg", cfgFile("Daten Konfigurator OSTRALE 18x V1.4")).kind, FileKind::Configuration);
    // Not the name: a speed-dial file called .cfg is a speed-dial file.
    EXPECT_EQ(load("c.cfg", kwzFile()).kind, FileKind::SpeedDial);
    EXPECT_EQ(load("d.tnd", std::string(1650, '\x01')).kind, FileKind::Subscribers);
    load("e.tnd", std::string(1649, '\x01'), FileOpen::Unknown);
    load("f.cfg", "Daten Konfigurat", FileOpen::Unknown);
    // Of its kind by its mark, but cut short or grown: not read as if the rest were zeros.
    EXPECT_EQ(load("g.cfg", cfgFile().substr(0, 1000), FileOpen::WrongSize).kind, FileKind::Configuration);
    EXPECT_EQ(load("h.kwz", kwzFile() + "x", FileOpen::WrongSize).kind, FileKind::SpeedDial);
    FileImage image;
    EXPECT_EQ(loadFileImage(dir.file("missing").c_str(), image), FileOpen::Unreadable);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(loadFileImage(dir.path().c_str(), image), FileOpen::NotRegular);
}

// Every field, the bytes no dialog shows among them also where they are zero:
// an apply of the whole text sets each of them.
TEST_F(Kinds, ShowPrintsEveryField)
{
    FileImage cfg = load("a.cfg", cfgFile());
    std::vector<std::string> lines = showLines(cfg);
    auto has = [&lines](const std::string &line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_TRUE(has("Globale Anlagendaten: Ortsvorwahl: 6356"));
    EXPECT_TRUE(has("Globale Anlagendaten: Landesvorw.: 49"));
    EXPECT_TRUE(has("Anlagentyp: Anlagen-Typ: Dorvan IS-3 / Ostrale 182"));
    EXPECT_TRUE(has("Steuerkontakte: Rufnummer1: (leer)"));
    EXPECT_TRUE(has("Anlage B: Anlagentyp, Bytes 16-31: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"));
    EXPECT_EQ(lines.size(), fieldsOf(FileKind::Configuration).size());

    std::string withB = cfgFile();
    withB[36 + rec::PortAreaB + 17] = 0x42;
    lines = showLines(load("b.cfg", withB));
    EXPECT_EQ(lines.size(), fieldsOf(FileKind::Configuration).size());
    EXPECT_TRUE(has("Anlage B: Anlagentyp, Bytes 16-31: 00 42 00 00 00 00 00 00 00 00 00 00 00 00 00 00"));

    lines = showLines(load("k.kwz", kwzFile()));
    EXPECT_EQ(lines.size(), fieldsOf(FileKind::SpeedDial).size());
    EXPECT_TRUE(has("Kurzwahl 103: Nummer: 0301234"));
    EXPECT_TRUE(has("Kurzwahl 103: Name: Praxis"));
    EXPECT_EQ(lines[0], "Kennung: KwDaten");
}

TEST_F(Kinds, DiffPrintsOneLinePerDifferingField)
{
    struct Case {
        const char *name;
        std::function<void(std::string &)> change;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"nothing", [](std::string &) {}, {}},
        {"the area code", [](std::string &f) { f[36 + rec::AnlDatList + 50] = '7'; },
         {"Globale Anlagendaten: Ortsvorwahl: 6356 -> 6357"}},
        {"two fields", [](std::string &f) {
             f[36 + rec::AnlDatList + 47] = 0;
             f[36 + rec::RwsTime] = 30;
         },
         // What stays behind the new terminating zero shows.
         {"Globale Anlagendaten: RWS-Zeit: 0 -> 30", "Globale Anlagendaten: Ortsvorwahl: 6356 -> (leer) [dahinter 33 35 36]"}},
        {"a byte no dialog shows", [](std::string &f) { f[36 + rec::AnlDatList + 100] = 1; },
         {"Globale Anlagendaten, Bytes 96-110: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 -> "
          "00 00 00 00 01 00 00 00 00 00 00 00 00 00 00"}},
        // The identification is the file's, not the configuration's.
        {"only the identification", [](std::string &f) { f.replace(19, 16, "OSTRALE 18x V1.4"); }, {}},
    };
    FileImage a = load("a.cfg", cfgFile());
    for (const Case &c : cases) {
        std::string other = cfgFile();
        c.change(other);
        EXPECT_EQ(diffLines(a, load("b.cfg", other)), c.lines) << c.name;
    }
}

} // namespace
