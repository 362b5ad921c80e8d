// set, apply and edit through the real kelvoractl: on files of each kind and,
// once, on the PBX.
#include "ctl_env.h"

#include "config/record.h"
#include "show/describe.h"

#include <csignal>
#include <filesystem>
#include <random>

namespace {

constexpr std::size_t Anl = 36 + rec::AnlDatList; // in a configuration file

std::string cfgFile()
{
    std::string file = Dorvan + std::string(2134 - std::char_traits<char>::length(Dorvan), '\0');
    file.replace(Anl + 40, 2, "49");
    file.replace(Anl + 47, 4, "6356");
    return file;
}

struct TextCommands : ::testing::Test {
    TempDir dir;
};

TEST_F(TextCommands, SetApplyAndEditChangeWhatTheySayOrNothing)
{
    using Changes = std::vector<std::pair<std::size_t, std::string>>; // file offset, new bytes
    struct Case {
        const char *name;
        std::vector<std::string> args; // "@" the file, "@text" the text file
        std::string text;              // the text file's lines
        std::vector<std::string> env;
        int status;
        Changes changes;    // none: the file stays as it was
        std::string stdOut; // what is printed
        std::string stdErr; // a part of the message
    };
    const Case cases[] = {
        {"set", {"set", "@", "Globale Anlagendaten: Ortsvorwahl=6357", "Globale Anlagendaten: RWS-Zeit=20"}, "", {},
         0, {{Anl + 47, "6357"}, {36 + rec::RwsTime, "\x14"}}, "", ""},
        {"set refuses all when one is wrong",
         {"set", "@", "Globale Anlagendaten: Ortsvorwahl=6357", "Globale Anlagendaten: Wartemusik=Laut"}, "", {}, 1,
         {}, "", "\"Globale Anlagendaten: Wartemusik\" nimmt \"Laut\" nicht: erlaubt sind: Aus, Intern, Extern"},
        {"set of an unknown label", {"set", "@", "Ortsvorwahl=6357"}, "", {}, 1, {}, "",
         "kein Feld \"Ortsvorwahl\"; am nächsten kommen:\n  Globale Anlagendaten: Ortsvorwahl"},
        // What the PBX may hold beyond the dialogs.
        {"apply", {"apply", "@text", "@"},
         "# a comment\n\nGlobale Anlagendaten: Landesvorw.: 123456\nGlobale Anlagendaten: Wartemusik: ? (0x07)\n", {},
         0, {{Anl + 40, "123456"}, {Anl + 78, "\x07"}}, "", ""},
        {"apply names the line", {"apply", "@text", "@"}, "\nGlobale Anlagendaten: Ortsvorwahl: 6357\nKeins: 1\n",
         {}, 1, {}, "", "text.txt:3: kein Feld \"Keins\""},
        {"edit", {"edit", "@"}, "", {"EDITOR=sed -i 's/^Globale Anlagendaten: Ortsvorwahl: 6356/&7/'", "VISUAL="},
         0, {{Anl + 47, "63567"}}, "Globale Anlagendaten: Ortsvorwahl: 6356 -> 63567\n", ""},
        {"edit without a change", {"edit", "@"}, "", {"EDITOR=true", "VISUAL="}, 0, {}, "", ""},
        {"edit with an error", {"edit", "@"}, "", {"VISUAL=sed -i 's/^Globale Anlagendaten: RWS-Zeit: 0/&x/'"}, 1,
         {}, "", "\" bleibt, wie sie war; der bearbeitete Text bleibt in"},
        {"edit of an area code with a letter, as set refuses it", {"edit", "@"}, "",
         {"VISUAL=sed -i 's/Ortsvorwahl: 6356/Ortsvorwahl: 63a57/'"}, 1, {}, "",
         "\"Globale Anlagendaten: Ortsvorwahl\" nimmt \"63a57\" nicht: erlaubt sind bis zu 5 Ziffern"},
        {"edit saved with CRLF", {"edit", "@"}, "",
         {"VISUAL=sed -i 's/$/\\r/; s/^Globale Anlagendaten: Ortsvorwahl: 6356/&7/'"}, 0, {{Anl + 47, "63567"}},
         "Globale Anlagendaten: Ortsvorwahl: 6356 -> 63567\n", ""},
    };
    for (const Case &c : cases) {
        std::string file = dir.file("a.cfg"), text = dir.file("text.txt");
        writeFile(file, cfgFile());
        writeFile(text, c.text);
        std::vector<std::string> args;
        for (const std::string &a : c.args)
            args.push_back(a == "@" ? file : a == "@text" ? text : a);
        std::vector<std::string> env = c.env;
        env.push_back("LC_ALL=C"); // the messages in ISO 8859-1, as this file's texts
        env.push_back("TMPDIR=" + dir.path()); // a text edit keeps stays here
        CtlRun run = runCtl(args, {env});
        EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
        std::string want = cfgFile();
        for (const auto &[at, bytes] : c.changes)
            want.replace(at, bytes.size(), bytes);
        EXPECT_EQ(readFile(file), want) << c.name;
        EXPECT_EQ(run.out, c.stdOut) << c.name;
        EXPECT_NE(run.err.find(c.stdErr), std::string::npos) << c.name << ": " << run.err;
    }
}

// edit as crontab -e and visudo: a file written by someone else meanwhile is
// not overwritten, a signal to kelvoractl ends the editor too, and in both
// the edited text stays where the message says.
TEST_F(TextCommands, EditKeepsTheWorkAndTheOtherWriters)
{
    const std::string file = dir.file("a.cfg"), other = dir.file("other.cfg"), started = dir.file("started");
    std::string otherBytes = cfgFile();
    otherBytes.replace(Anl + 47, 4, "7777");
    const std::string edit = "sed -i 's/^Globale Anlagendaten: Ortsvorwahl: 6356/&7/' \"$1\"";
    const struct {
        const char *what;
        std::string editor;
        int signal; // sent to kelvoractl once the editor runs
        int status;
        std::string file; // the file afterwards
        const char *said;
    } cases[] = {
        {"written meanwhile", edit + "; cp " + other + " " + file, 0, 3, otherBytes,
         "hat sich geändert, während der Editor lief; nichts geschrieben; der bearbeitete Text bleibt in"},
        {"SIGHUP", edit + "; echo $$ > " + started + "; exec sleep 30", SIGHUP, 128 + SIGHUP, cfgFile(),
         "Abgebrochen (SIGHUP)"},
        {"SIGTERM", edit + "; echo $$ > " + started + "; exec sleep 30", SIGTERM, 128 + SIGTERM, cfgFile(),
         "Abgebrochen (SIGTERM)"},
    };
    for (const auto &c : cases) {
        writeFile(file, cfgFile());
        writeFile(other, otherBytes);
        unlink(started.c_str());
        std::string texts = dir.file("texts");
        std::filesystem::remove_all(texts);
        std::filesystem::create_directory(texts);
        writeFile(dir.file("editor.sh"), c.editor + "\n");
        CtlSignal stop{c.signal, [&started] { return access(started.c_str(), F_OK) == 0; }};
        CtlRun run = runCtl({"edit", file},
                            {{"LC_ALL=C", "TMPDIR=" + texts, "VISUAL=sh " + dir.file("editor.sh")}, false, 5000}, stop);
        EXPECT_EQ(run.status, c.status) << c.what << ": " << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << c.what << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.what;
        EXPECT_EQ(readFile(file), c.file) << c.what;
        if (c.signal) {
            // Ended, if perhaps not yet reaped by whoever inherited it.
            pid_t editor = std::atoi(readFile(started).c_str());
            ASSERT_GT(editor, 0) << c.what;
            for (int i = 0; i < 200 && kill(editor, 0) == 0; ++i)
                usleep(10000);
            EXPECT_NE(kill(editor, 0), 0) << c.what << ": the editor still runs";
        }
        // The one text kept, with the edit in it, named in the message.
        std::vector<std::string> kept;
        for (const auto &entry : std::filesystem::directory_iterator(texts))
            kept.push_back(entry.path());
        ASSERT_EQ(kept.size(), 1u) << c.what;
        EXPECT_NE(run.err.find(kept[0]), std::string::npos) << c.what << ": " << run.err;
        EXPECT_NE(readFile(kept[0]).find("Globale Anlagendaten: Ortsvorwahl: 63567\n"), std::string::npos) << c.what;
    }
}

// Any file of each kind, its show applied to another: the bytes of the first.
TEST_F(TextCommands, ShowAppliedGivesTheFileByteForByte)
{
    struct Kind {
        FileKind kind;
        const char *name;
        std::size_t size, keep; // the mark's bytes
        const char *mark;
        const char *set; // a set through the writer, as kelvora writes its files
    };
    const Kind kinds[] = {
        {FileKind::Configuration, "a.cfg", 2134, 36, Dorvan, "Globale Anlagendaten: RWS-Zeit=1"},
        {FileKind::Configuration, "o.cfg", 2134, 36, Ostrale, "Globale Anlagendaten: RWS-Zeit=1"},
        {FileKind::SpeedDial, "a.kwz", 13060, 7, "KwDaten", "Kurzwahl 100: Nummer=1"},
        {FileKind::Subscribers, "a.tnd", 1650, 0, "", "AB  #1: Rufumleitung Rufzeit=1"}};
    std::mt19937 random(7);
    for (const Kind &k : kinds) {
        std::string from = dir.file(std::string("from-") + k.name), to = dir.file(std::string("to-") + k.name);
        std::string bytes[2];
        for (std::string &b : bytes) {
            b.assign(k.size, '\0');
            for (char &c : b)
                c = char(random());
            b.replace(0, k.keep, std::string(k.mark, k.keep));
        }
        // Bytes no dialog shows that are zero in the source, anything in the
        // target: show prints them too.
        for (const Field &f : fieldsOf(k.kind))
            if (f.extra && k.kind == FileKind::Configuration)
                for (std::size_t i = 0; i < f.size; i++)
                    bytes[0][36 + f.offset + i] &= char(f.size == 1 ? ~f.mask : 0);
        writeFile(from, bytes[0]);
        writeFile(to, bytes[1]);
        for (const std::string &path : {from, to}) {
            CtlRun set = runCtl({"set", path, k.set});
            ASSERT_EQ(set.status, 0) << set.err;
        }
        CtlRun show = runCtl({"show", from});
        ASSERT_EQ(show.status, 0) << show.err;
        writeFile(dir.file("shown.txt"), show.out);
        CtlRun apply = runCtl({"apply", dir.file("shown.txt"), to});
        ASSERT_EQ(apply.status, 0) << k.name << ": " << apply.err;
        EXPECT_EQ(readFile(from), readFile(to)) << k.name;
    }
}

TEST_F(CtlLine, SetOnThePbxSaysWhatChangesAndProgramsIt)
{
    start();
    const CtlOptions env{{"LC_ALL=C"}}; // ctl() keeps the backups in dir/data
    const std::string changes = "Gegenüber dem letzten Auslesen ändert sich in der Anlage (alt -> neu):\n"
                                "Globale Anlagendaten: Ortsvorwahl: 30 -> 6356\n"
                                "Globale Anlagendaten: Optionen: (keine) -> Tag/Nacht\n";
    CtlRun run = ctl({"set", "--pbx", "--dry-run", "Globale Anlagendaten: Ortsvorwahl=6356",
                      "Globale Anlagendaten: Optionen: Tag/Nacht=Ein"},
                     env);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, changes);
    run = ctl({"set", "--pbx", "Globale Anlagendaten: Ortsvorwahl=06356"}, env);
    EXPECT_EQ(run.status, 1);
    run = ctl({"set", "--pbx", "--yes", "Globale Anlagendaten: Ortsvorwahl=6356",
               "Globale Anlagendaten: Optionen: Tag/Nacht=Ein"},
              env);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, changes);
    // As cron runs it: nothing said on success.
    run = ctl({"-q", "set", "--pbx", "--yes", "Globale Anlagendaten: Optionen: Tag/Nacht=Ein"}, env);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    pbxsim::State after = stop();
    pbxsim::State expected = pbxsim::defaultState();
    std::copy_n("6356", 4, expected.anldat.begin() + 47);
    expected.anldat[79] |= 0x08;
    EXPECT_TRUE(after == expected) << "only the two fields changed";
    EXPECT_TRUE(std::filesystem::exists(dir.file("data") + "/kelvora/backups")) << "every read kept";
}

} // namespace
