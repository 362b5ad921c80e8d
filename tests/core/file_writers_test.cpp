// The file writers and loaders, the port clearing and the names beside calls
// take the record they work on: the bytes come from or go into that record,
// and the program's own (`all`) keeps every byte and counter, so that
// kelvoractl works on a record of its own.
#include <gtest/gtest.h>

#include "charges/callsheet.h"
#include "config/cfgfile.h"
#include "config/cfgtransfer.h"
#include "config/record.h"
#include "speeddial/kwzformat.h"
#include "support/tempdir.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes pattern(unsigned char seed)
{
    Bytes b(rec::RecordSize);
    for (std::size_t i = 0; i < b.size(); i++)
        b[i] = static_cast<unsigned char>(i * 7 + seed);
    return b;
}

std::string bytesOf(const Bytes &record, std::size_t from, std::size_t size)
{
    return std::string(reinterpret_cast<const char *>(record.data()) + from, size);
}

TEST(FileWriters, WriteTheRecordGivenAndLeaveTheProgramsAlone)
{
    const Bytes given = pattern(3);
    const std::string dorvan = std::string(CfgIdDorvan) + std::string(CfgIdSize - std::strlen(CfgIdDorvan), '\0');
    const std::string ostrale = std::string(CfgIdOstrale) + std::string(CfgIdSize - std::strlen(CfgIdOstrale), '\0');
    const std::size_t kwzFirst = rec::NahBerList - rec::KwzHeader;
    const struct {
        const char *name;
        std::function<FileWrite(const char *, const unsigned char *)> write;
        std::string bytes;
    } cases[] = {
        {"configuration, Dorvan",
         [](const char *p, const unsigned char *r) { return writeConfigFile(p, CfgVendor::Dorvan, r); },
         dorvan + bytesOf(given, 0, rec::PbxImageSize)},
        {"configuration, Ostrale",
         [](const char *p, const unsigned char *r) { return writeConfigFile(p, CfgVendor::Ostrale, r); },
         ostrale + bytesOf(given, 0, rec::PbxImageSize)},
        {"speed dial", [](const char *p, const unsigned char *r) { return writeKwzFile(p, r); },
         bytesOf(given, rec::KwzHeader, kwzFirst) + bytesOf(given, rec::NahBerList, 2 * rec::PrefixListSize)},
    };
    for (const auto &c : cases) {
        TempDir dir;
        const Bytes program = pattern(101);
        std::copy(program.begin(), program.end(), all);
        std::string path = dir.file("out");
        ASSERT_EQ(c.write(path.c_str(), given.data()), FileWrite::Written) << c.name;
        EXPECT_EQ(readFile(path), c.bytes) << c.name;
        EXPECT_TRUE(std::equal(program.begin(), program.end(), all)) << c.name << ": the program's record changed";
    }
}

// The program's own save still counts: it writes `all` and marks it saved.
TEST(FileWriters, SavingTheProgramsRecordCountsItSaved)
{
    TempDir dir;
    const Bytes program = pattern(5);
    std::copy(program.begin(), program.end(), all);
    setRecInt(rec::CfgChanges, 4);
    setRecInt(rec::KwzChanges, 2);
    std::int32_t files = recInt(rec::CfgFileCount);
    ASSERT_EQ(writeConfigFile(dir.file("a.cfg").c_str(), CfgVendor::Dorvan), FileWrite::Written);
    ASSERT_EQ(writeKwzFile(dir.file("a.kwz").c_str()), FileWrite::Written);
    EXPECT_EQ(recInt(rec::CfgChanges), 0);
    EXPECT_EQ(recInt(rec::CfgFileCount), files + 1);
    EXPECT_EQ(recInt(rec::KwzChanges), 0);
    EXPECT_FALSE(unsavedChanges(FileKind::Configuration));
    EXPECT_FALSE(unsavedChanges(FileKind::SpeedDial));
    EXPECT_EQ(readFile(dir.file("a.cfg")).substr(CfgIdSize), bytesOf(program, 0, rec::PbxImageSize));
}

// Loading a file fills the record given and counts there; the program's own
// keeps every byte and counter.
TEST(FileWriters, LoadersFillTheRecordGivenAndLeaveTheProgramsAlone)
{
    Bytes file = pattern(9);
    std::memcpy(file.data() + rec::KwzHeader, KwzMark, KwzMarkLength);
    const struct {
        const char *name;
        std::function<FileWrite(const char *, const unsigned char *)> write;
        std::function<FileLoad(FILE *, unsigned char *)> load;
        std::size_t from, size;                // a region the file carries as it is
        std::vector<std::size_t> counted;      // counters that go up by one
        std::size_t cleared, set;              // a counter set to 0, one set to 1 (0: none)
    } cases[] = {
        {"configuration",
         [](const char *p, const unsigned char *r) { return writeConfigFile(p, CfgVendor::Dorvan, r); },
         [](FILE *fp, unsigned char *r) { return loadConfigImage(fp, r); }, 0, rec::PbxImageSize,
         {rec::CfgFileCount}, rec::CfgChanges, rec::CfgValid},
        {"speed dial", [](const char *p, const unsigned char *r) { return writeKwzFile(p, r); },
         [](FILE *fp, unsigned char *r) { return loadKwzImage(fp, r); }, rec::KwzNames,
         rec::NahBerList - rec::KwzNames, {rec::KwzPresent, rec::PrefixPresent, rec::KwzFileCount}, rec::KwzChanges, 0},
    };
    for (const auto &c : cases) {
        TempDir dir;
        std::string path = dir.file("in");
        ASSERT_EQ(c.write(path.c_str(), file.data()), FileWrite::Written) << c.name;
        const Bytes program = pattern(101);
        std::copy(program.begin(), program.end(), all);
        Bytes given = pattern(3);
        const Bytes before = given;
        FILE *fp = std::fopen(path.c_str(), "rb");
        ASSERT_NE(fp, nullptr);
        EXPECT_EQ(c.load(fp, given.data()), FileLoad::Loaded) << c.name;
        std::fclose(fp);
        EXPECT_TRUE(bytesOf(given, c.from, c.size) == bytesOf(file, c.from, c.size))
            << c.name << ": not the file's bytes";
        for (std::size_t counter : c.counted)
            EXPECT_EQ(getLe32(given.data() + counter), getLe32(before.data() + counter) + 1)
                << c.name << " @" << counter;
        EXPECT_EQ(getLe32(given.data() + c.cleared), 0u) << c.name;
        if (c.set) {
            EXPECT_EQ(getLe32(given.data() + c.set), 1u) << c.name;
        }
        EXPECT_TRUE(std::equal(program.begin(), program.end(), all)) << c.name << ": the program's record changed";
    }
}

// Names beside calls and the directory's text come from the record given,
// not from the program's, which holds another name for the same number.
TEST(FileWriters, NamesComeFromTheRecordGiven)
{
    auto withEntry = [](unsigned char *r, const char *name) {
        std::memcpy(r + rec::KwzNumbers, "0431", 4);
        std::strcpy(reinterpret_cast<char *>(r + rec::KwzNames), name);
        putLe32(r + rec::KwzPresent, 1);
    };
    std::fill(all, all + rec::RecordSize, 0);
    withEntry(all, "Programm");
    const Bytes program(all, all + rec::RecordSize);
    Bytes given(rec::RecordSize, 0);
    withEntry(given.data(), "Kiel Hafen");
    // An outgoing call to 0431: charge, duration, then the tail.
    Bytes out(std::size_t(OutCallSize) * 2, 0);
    const unsigned char call[] = {0x10, 0, 0, 0, 60, 0, 0x21, 3, 4, 10, 30, 0x04, 0x31, 0xFF};
    std::memcpy(out.data(), call, sizeof call);
    std::fill(out.begin() + 14, out.begin() + OutCallSize, 0xFF);
    auto written = [](const std::function<bool(FILE *)> &write) {
        TempDir dir;
        FILE *fp = std::fopen(dir.file("t").c_str(), "wb");
        bool ok = fp && write(fp);
        if (fp)
            std::fclose(fp);
        return ok ? readFile(dir.file("t")) : std::string("(not written)");
    };
    const struct {
        const char *name;
        std::function<std::string(const unsigned char *)> run;
    } cases[] = {
        {"callName", [](const unsigned char *r) { return callName(r, "0431"); }},
        {"call line", [&](const unsigned char *r) { return outCallLine(0, out.data(), CallForm::Text, r); }},
        {"call lines",
         [&](const unsigned char *r) {
             return written(
                 [&](FILE *fp) { return writeCallLines(outgoingCalls, out, fp, false, CallForm::Spreadsheet, r); });
         }},
        {"call sheet", [&](const unsigned char *r) { return callSheet(outgoingCalls, out, {2026, 3, 1}, r); }},
        {"directory text",
         [&](const unsigned char *r) { return written([r](FILE *fp) { return writeKwzText(fp, r); }); }},
    };
    for (const auto &c : cases) {
        std::string text = c.run(given.data());
        EXPECT_NE(text.find("Kiel Hafen"), std::string::npos) << c.name << ": " << text;
        EXPECT_EQ(text.find("Programm"), std::string::npos) << c.name << ": " << text;
        EXPECT_TRUE(std::equal(program.begin(), program.end(), all)) << c.name << ": the program's record changed";
    }
}

} // namespace

// Before programming, the port blocks the PBX type lacks go out as zeros: in
// the record given, whatever the program's holds.
TEST(FileWriters, UnusedPortsAreClearedInTheRecordGiven)
{
    const struct {
        unsigned char type;
        bool port1, port2; // kept
    } cases[] = {{0, false, false}, {1, true, false}, {2, true, true}, {7, true, true}};
    for (const auto &c : cases) {
        const Bytes program = pattern(101);
        std::copy(program.begin(), program.end(), all);
        Bytes given = pattern(3);
        given[rec::TypeByte] = c.type;
        const Bytes before = given;
        clearUnusedPorts(given.data());
        for (std::size_t port : {1, 2}) {
            std::size_t at = rec::PortBlock0 + port * rec::PortBlockSize;
            bool kept = port == 1 ? c.port1 : c.port2;
            EXPECT_EQ(bytesOf(given, at, rec::PortBlockSize),
                      kept ? bytesOf(before, at, rec::PortBlockSize) : std::string(rec::PortBlockSize, '\0'))
                << "type " << int(c.type) << ", port " << port;
        }
        EXPECT_EQ(bytesOf(given, 0, rec::PortBlock0 + rec::PortBlockSize),
                  bytesOf(before, 0, rec::PortBlock0 + rec::PortBlockSize));
        EXPECT_EQ(bytesOf(given, rec::PortAreaSize, rec::RecordSize - rec::PortAreaSize),
                  bytesOf(before, rec::PortAreaSize, rec::RecordSize - rec::PortAreaSize));
        EXPECT_TRUE(std::equal(program.begin(), program.end(), all)) << "the program's record changed";
    }
}
