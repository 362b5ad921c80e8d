// The file writers and the port clearing take the record they work on: the bytes come from that
// record, and the program's own (`all`) keeps every byte and counter, so that
// kelvoractl writes an edited file without the global in between.
#include <gtest/gtest.h>

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
