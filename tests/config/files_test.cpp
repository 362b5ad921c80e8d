// Files survive every save: the writer all of them go through, the question
// before overwriting, paths remembered only after success, and the whole way
// of a loaded configuration through a read that fails back into its file.
#include "program.h"

#include "app/app.h"
#include "config/atomicfile.h"
#include "config/cfgfile.h"
#include "config/record.h"
#include "speeddial/kwzfile.h"
#include "subscriber/tndfile.h"
#include "support/answers.h"
#include "support/tempdir.h"
#include "toolkit/toolkit.h"

#include <Xm/MessageB.h>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <climits>
#include <optional>
#include <unistd.h>

namespace {

int modeOf(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// The names in a directory, to see that no temporary file is left behind.
int entries(const std::string &dir)
{
    int n = 0;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            n += std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0;
        closedir(d);
    }
    return n;
}

bool writeNew(FILE *fp) { return std::fputs("neu", fp) >= 0; }

// A disk that takes only `bytes` of any file while it lasts.
struct SmallDisk {
    explicit SmallDisk(rlim_t bytes = 1000)
    {
        getrlimit(RLIMIT_FSIZE, &before);
        rlimit small{bytes, before.rlim_max};
        handler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~SmallDisk()
    {
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, handler);
    }
    rlimit before{};
    void (*handler)(int) = nullptr;
};

} // namespace

int ownerOf(const std::string &path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0 ? int(st.st_uid) : -1;
}

constexpr uid_t Nobody = 65534; // an ordinary user there is on every system

// Each case starts from a directory holding "alt" (root's, mode 0640, content
// "alt"), plants what it names, and writes "neu" to its target in a child
// process under its umask, as root or as an ordinary user (who then owns the
// directory).
TEST(AtomicWrite, EitherTheOldFileOrTheWholeNewOne)
{
    const std::string longName(NAME_MAX, 'n');
    struct Case {
        const char *name;
        std::string target; // below the directory
        std::function<void(const TempDir &)> plant;
        bool asUser;
        mode_t umask;
        std::function<bool(FILE *)> write;
        FileWrite result;
        const char *alt; // what "alt" holds afterwards
        int mode, owner; // of "alt" afterwards
        int files;       // in the directory afterwards
        const char *made = nullptr; // a file made: holds "neu"
        int madeMode = 0;
    };
    auto none = [](const TempDir &) {};
    auto protectedFor = [](uid_t user) {
        return [user](const TempDir &d) { ASSERT_EQ(chown(d.file("alt").c_str(), user, user), 0); chmod(d.file("alt").c_str(), 0444); };
    };
    const Case cases[] = {
        {"replaces a file and keeps its mode", "alt", none, false, 022, writeNew, FileWrite::Written, "neu", 0640, 0, 1},
        {"a new file beside it", "neu", none, false, 022, writeNew, FileWrite::Written, "alt", 0640, 0, 2, "neu", 0644},
        {"a new file as the umask wants", "neu", none, true, 077, writeNew, FileWrite::Written, "alt", 0640, 0, 2, "neu", 0600},
        {"through a link, which stays", "link", [](auto &d) { ASSERT_EQ(symlink(d.file("alt").c_str(), d.file("link").c_str()), 0); },
         false, 022, writeNew, FileWrite::Written, "neu", 0640, 0, 2},
        {"through a dangling link, which makes its file", "link",
         [](auto &d) { ASSERT_EQ(symlink("made", d.file("link").c_str()), 0); }, false, 027, writeNew,
         FileWrite::Written, "alt", 0640, 0, 3, "made", 0640},
        {"a writer that fails", "alt", none, false, 022, [](FILE *) { return false; }, FileWrite::Failed, "alt", 0640, 0, 1},
        {"a directory is no file", "dir", [](auto &d) { ASSERT_EQ(mkdir(d.file("dir").c_str(), 0755), 0); }, false, 022,
         writeNew, FileWrite::NotRegular, "alt", 0640, 0, 2},
        {"nor is a FIFO", "fifo", [](auto &d) { ASSERT_EQ(mkfifo(d.file("fifo").c_str(), 0600), 0); }, false, 022,
         writeNew, FileWrite::NotRegular, "alt", 0640, 0, 2},
        {"a missing directory", "weg/alt", none, false, 022, writeNew, FileWrite::Failed, "alt", 0640, 0, 1},
        {"write-protected, for its user", "alt", protectedFor(Nobody), true, 022, writeNew, FileWrite::ReadOnly, "alt",
         0444, int(Nobody), 1},
        {"write-protected, for root as for '>'", "alt", protectedFor(Nobody), false, 022, writeNew, FileWrite::Written,
         "neu", 0444, int(Nobody), 1},
        {"another user's file", "alt", [](auto &d) { chmod(d.file("alt").c_str(), 0666); }, true, 022, writeNew,
         FileWrite::OtherOwner, "alt", 0666, 0, 1},
        {"root keeps the owner", "alt", [](auto &d) { ASSERT_EQ(chown(d.file("alt").c_str(), Nobody, Nobody), 0); },
         false, 077, writeNew, FileWrite::Written, "neu", 0640, int(Nobody), 1},
        {"a name of NAME_MAX bytes", longName, none, false, 022, writeNew, FileWrite::Written, "alt", 0640, 0, 2,
         longName.c_str(), 0644},
    };
    for (const Case &c : cases) {
        TempDir dir;
        writeFile(dir.file("alt"), "alt");
        chmod(dir.file("alt").c_str(), 0640);
        c.plant(dir);
        if (c.asUser) {
            ASSERT_EQ(chown(dir.path().c_str(), Nobody, Nobody), 0);
        }
        pid_t pid = fork();
        if (pid == 0) {
            umask(c.umask);
            if (c.asUser && (setgid(Nobody) != 0 || setuid(Nobody) != 0))
                _exit(100);
            _exit(int(writeFileAtomically(dir.file(c.target).c_str(), c.write)));
        }
        int status = -1;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << c.name;
        EXPECT_EQ(FileWrite(WEXITSTATUS(status)), c.result) << c.name;
        EXPECT_EQ(readFile(dir.file("alt")), c.alt) << c.name;
        EXPECT_EQ(modeOf(dir.file("alt")), c.mode) << c.name;
        EXPECT_EQ(ownerOf(dir.file("alt")), c.owner) << c.name;
        EXPECT_EQ(entries(dir.path()), c.files) << c.name << ": a temporary file left";
        if (c.made) {
            EXPECT_EQ(readFile(dir.file(c.made)), "neu") << c.name;
            EXPECT_EQ(modeOf(dir.file(c.made)), c.madeMode) << c.name;
        }
    }
}

// A disk that fills up midway leaves the old file whole and says why.
TEST(AtomicWrite, AFullDiskLeavesTheOldFile)
{
    TempDir dir;
    std::string old(5000, 'a');
    writeFile(dir.file("f"), old);
    FileWrite result;
    int error;
    {
        SmallDisk disk;
        result = writeFileAtomically(dir.file("f").c_str(), [](FILE *fp) {
            std::string big(3000, 'b');
            return std::fwrite(big.data(), 1, big.size(), fp) == big.size();
        });
        error = errno;
    }
    EXPECT_EQ(result, FileWrite::Failed);
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(readFile(dir.file("f")), old);
    EXPECT_EQ(entries(dir.path()), 1);
}

namespace {

// What every kind of file keeps to, through the main window's and the
// dialogs' procedures: a write that fails is told and does not count as
// saved; a file of another kind is refused with the kind's name; a cancelled
// dialog or a target that is no regular file does nothing and tells nothing.
struct FileCase {
    const char *name, *word; // the word names the kind in the wrong-file message
    std::function<void()> load, save;
    std::vector<std::string> foreign; // files of other kinds and sizes
    // A cancelled or refused load leaves the configuration as usable as it
    // was: the edits stay savable and programmable.
};

std::string withMark(const char *mark, std::size_t size)
{
    std::string bytes(size, '\0');
    bytes.replace(0, std::strlen(mark), mark);
    return bytes;
}

const FileCase fileKinds[] = {
    {"configuration", "Konfigurationsdatei", [] { loadCFGFile(nullptr, nullptr, nullptr); },
     [] { saveCFGFileAs(nullptr, nullptr, nullptr); },
     {withMark(KwzMark, rec::KwzSizeInFile), "Daten"}}, // the second shorter than the mark
    {"speed dial", "Kurzwahl-Datei", [] { loadKwzFile(toplevel); }, [] { saveKwzFileAs(toplevel); },
     {withMark("Daten Konfigurator DORVAN", rec::KwzSizeInFile), "KwD"}},
    // No mark: only its size of exactly 1650 bytes tells a subscriber file.
    {"subscriber data", "Teilnehmerdatei", [] { loadTlnFile(toplevel); }, [] { saveTlnFile(toplevel); },
     {"", std::string(1000, '7'), std::string(1649, '7'), std::string(1651, '7'), std::string(13060, '7')}},
};

} // namespace

TEST(EveryKindOfFile, RefusesWhatIsNotItsOwnAndTellsAFailedWrite)
{
    programTop();
    for (const FileCase &k : fileKinds) {
        TempDir dir;
        ASSERT_EQ(mkdir(dir.file("ordner").c_str(), 0755), 0);
        ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
        struct Case {
            std::string what, path;
            bool loading;
            const char *message = nullptr; // the box, with its text; nullptr: none at all
            std::string text = "";
        };
        std::vector<Case> cases = {
            {"load cancelled", "", true}, {"load a directory", dir.file("ordner"), true},
            {"load a device", "/dev/null", true}, {"save cancelled", "", false},
            {"save into a FIFO, which must not block", dir.file("fifo"), false},
            {"save into a device", "/dev/null", false},
            {"a disk that takes 1000 bytes", dir.file("voll"), false, "writeError",
             "Die Datei \"" + dir.file("voll") + "\"\nkonnte nicht geschrieben werden:\n" + std::strerror(EFBIG)},
        };
        for (std::size_t i = 0; i < k.foreign.size(); ++i) {
            std::string path = dir.file("fremd" + std::to_string(i));
            writeFile(path, k.foreign[i]);
            cases.push_back({"load a foreign file of " + std::to_string(k.foreign[i].size()) + " bytes", path, true,
                             "wrongFile", "Die Datei\n\"" + path + "\"\nist keine " + k.word + "!"});
        }
        if (!k.foreign.empty()) {
            // A name typed in UTF-8, told in the window's ISO 8859-1.
            writeFile(dir.file("B\xc3\xbcro"), k.foreign[0]);
            cases.push_back({"load a foreign file named in UTF-8", dir.file("B\xc3\xbcro"), true, "wrongFile",
                             "Die Datei\n\"" + dir.file("B\xfcro") + "\"\nist keine " + k.word + "!"});
        }
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(k.name) + ": " + c.what);
            for (std::size_t b = 0; b < rec::DevicePathSlot; ++b)
                all[b] = static_cast<unsigned char>(b * 13 + 1);
            setFlags(all, 1);
            setRecInt(rec::CfgChanges, 5);
            setRecInt(rec::KwzChanges, 5);
            setRecInt(rec::TlnChanges, 5);
            activateMainButtons();
            std::vector<unsigned char> want(all, all + rec::RecordSize);
            answerFile(c.path);
            if (c.loading) {
                k.load();
            } else {
                std::optional<SmallDisk> disk;
                if (c.message)
                    disk.emplace();
                k.save();
            }
            EXPECT_TRUE(std::equal(want.begin(), want.end(), all)) << "the record changed";
            EXPECT_TRUE(sensitive("*grund"));
            EXPECT_TRUE(sensitive("*sichern"));
            for (const char *box : {"wrongFile", "writeError"})
                EXPECT_EQ(takeMessage(box), c.message && !std::strcmp(box, c.message) ? c.text : "") << box;
        }
    }
}

namespace {

struct Saver {
    const char *name;
    std::function<bool()> save;
    std::size_t pathSlot; // the path the record remembers; 0: none
};

const Saver savers[] = {
    {"configuration", [] { return saveConfigFileAs(toplevel, CfgVendor::Dorvan); }, rec::CfgFilePath},
    {"speed dial", [] { return saveKwzFileAs(toplevel); }, rec::KwzFilePath},
    {"subscriber data", [] { return saveTlnFile(toplevel); }, rec::TlnFilePath},
    {"speed-dial text", [] { return saveKwzText(toplevel); }, 0},
};

// Answers the question before overwriting: its text and default button into
// *text and *defaultNo; "Nein" then cancels the file dialog it stays in.
void answerOverwrite(bool yes, std::string *text, bool *defaultNo)
{
    whenUp(isQuestion, [yes, text, defaultNo](Widget box) {
        *text = guiText(box, XmNmessageString);
        unsigned char type = 0;
        XtVaGetValues(box, XmNdefaultButtonType, &type, nullptr);
        *defaultNo = type == XmDIALOG_CANCEL_BUTTON;
        if (!yes)
            answerFile("");
        XtCallCallbacks(box, yes ? XmNokCallback : XmNcancelCallback, nullptr);
    });
}

} // namespace

TEST(SaveOverAFile, AsksWithItsNameAndOnlyJaReplacesIt)
{
    programTop();
    for (const Saver &s : savers) {
        for (bool yes : {false, true}) {
            SCOPED_TRACE(std::string(s.name) + (yes ? ", Ja" : ", Nein"));
            TempDir dir;
            std::string path = dir.file("vorhanden");
            writeFile(path, "alt");
            chmod(path.c_str(), 0640);
            std::string remembered = s.pathSlot ? recText(s.pathSlot) : "";
            std::string text;
            bool defaultNo = false;
            answerFile(path);
            answerOverwrite(yes, &text, &defaultNo);
            EXPECT_EQ(s.save(), yes);
            EXPECT_NE(text.find(path), std::string::npos) << text;
            EXPECT_TRUE(defaultNo);
            EXPECT_EQ(readFile(path) != "alt", yes);
            EXPECT_EQ(modeOf(path), 0640);
            if (s.pathSlot) {
                EXPECT_EQ(recText(s.pathSlot), yes ? path : remembered);
            }
        }
    }
}

// The reported case: "Laden..." of a file that is no speed-dial file, then
// "Sichern" -- which must not overwrite that file.
TEST(SaveOverAFile, AFileThatFailedToLoadIsNotTheNextTarget)
{
    programTop();
    TempDir dir;
    std::string foreign = dir.file("brief.txt");
    writeFile(foreign, "Sehr geehrte Damen und Herren");
    std::snprintf(recText(rec::KwzFilePath), rec::PathSize, "%s", dir.file("standard.kwz").c_str());
    answerFile(foreign);
    EXPECT_FALSE(loadKwzFile(toplevel));
    EXPECT_NE(takeMessage("wrongFile"), "");
    EXPECT_EQ(recText(rec::KwzFilePath), dir.file("standard.kwz"));
    EXPECT_TRUE(saveKwzFile(toplevel));
    EXPECT_EQ(readFile(foreign), "Sehr geehrte Damen und Herren");
    EXPECT_EQ(readFile(dir.file("standard.kwz")).size(), rec::KwzSizeInFile);
}

// As an ordinary user, "Sichern" onto a write-protected file or another
// user's says so and leaves the file.
TEST(SaveOverAFile, AFileTheUserMayNotReplaceIsLeftWithItsMessage)
{
    programTop();
    const struct {
        uid_t owner;
        mode_t mode;
        const char *message, *said;
    } cases[] = {
        {Nobody, 0444, "readOnly", "ist schreibgeschützt."},
        {0, 0666, "otherOwner", "gehört einem anderen Benutzer."},
    };
    for (const auto &c : cases) {
        TempDir dir;
        std::string path = dir.file("standard.kwz");
        writeFile(path, "alt");
        ASSERT_EQ(chown(dir.path().c_str(), Nobody, Nobody), 0);
        ASSERT_EQ(chown(path.c_str(), c.owner, c.owner), 0);
        chmod(path.c_str(), c.mode);
        std::snprintf(recText(rec::KwzFilePath), rec::PathSize, "%s", path.c_str());
        ASSERT_EQ(seteuid(Nobody), 0);
        bool saved = saveKwzFile(toplevel);
        ASSERT_EQ(seteuid(0), 0);
        EXPECT_FALSE(saved) << c.message;
        EXPECT_EQ(takeMessage(c.message), "Die Datei\n\"" + path + "\"\n" + c.said);
        EXPECT_EQ(readFile(path), "alt") << c.message;
    }
}

// Load a configuration file, read from a PBX whose ninth answer is broken,
// dismiss the error, "Sichern" onto the same file: it is the file loaded.
TEST(NothingLost, AFailedReadBetweenLoadAndSaveChangesNoByteOfTheFile)
{
    programTop();
    TempDir dir;
    std::string path = dir.file("anlage.cfg");
    std::string loaded(CfgIdDorvan);
    loaded.push_back('\0');
    for (std::size_t k = 0; k < rec::PbxImageSize; ++k)
        loaded.push_back(static_cast<char>(k * 7 + 3));
    writeFile(path, loaded);

    answerFile(path);
    loadCFGFile(nullptr, nullptr, nullptr);
    ASSERT_EQ(recInt(rec::CfgValid), 1);

    PbxLine line;
    pbxsim::Faults f;
    f.answers.push_back({pbxsim::AnswerFault::BadChecksum, 10, 0}); // answer 1 acknowledges the begin
    line.sim.setFaults(f);
    readConfig();
    EXPECT_NE(takeMessage("tranfer_err").find("CRC-Fehler"), std::string::npos);
    ASSERT_TRUE(sensitive("*sichern"));

    std::string text;
    bool defaultNo = false;
    answerFile(path);
    answerOverwrite(true, &text, &defaultNo);
    saveCFGFileAs(nullptr, nullptr, nullptr);
    EXPECT_EQ(readFile(path), loaded);
}
