#include "program.h"

#include "app/app.h"
#include "config/cfgfile.h"
#include "config/record.h"
#include "support/answers.h"
#include "support/gui.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"

#include <Xm/FileSB.h>
#include <Xm/TextF.h>
#include <cstring>
#include <sys/stat.h>
#include <vector>

namespace {

std::vector<char> fileBytes(const std::string &path)
{
    std::string s = readFile(path);
    return {s.begin(), s.end()};
}

void fillRecord()
{
    for (std::size_t i = 0; i < rec::RecordSize - 816; ++i)
        all[i] = static_cast<unsigned char>(i * 13 + 1);
}

class ConfigFiles : public ::testing::Test {
protected:
    Widget top = programTop();
    TempDir dir;
    std::string save(const char *name, int vendor)
    {
        setChooserState(toplevel, "*whsel", vendor);
        std::string path = dir.file(name);
        answerFile(path);
        saveCFGFileAs(nullptr, nullptr, nullptr);
        return path;
    }
    void load(const std::string &path)
    {
        answerFile(path);
        loadCFGFile(nullptr, nullptr, nullptr);
    }
};

TEST_F(ConfigFiles, VendorChooserPicksTheIdentification)
{
    fillRecord();
    int before = recInt(rec::CfgFileCount);
    std::vector<char> hembel = fileBytes(save("h.cfg", 0));
    std::vector<char> wendholt = fileBytes(save("w.cfg", 1));
    ASSERT_EQ(hembel.size(), 2134u);
    ASSERT_EQ(wendholt.size(), 2134u);
    EXPECT_STREQ(hembel.data(), "Daten Konfigurator DORVAN IS-x V1.4");
    EXPECT_STREQ(wendholt.data(), "Daten Konfigurator OSTRALE 18x V1.4");
    EXPECT_EQ(hembel[35], 0);
    EXPECT_TRUE(std::equal(hembel.begin() + 36, hembel.end(), reinterpret_cast<char *>(all)));
    EXPECT_EQ(recInt(rec::CfgFileCount), before + 2);
    EXPECT_EQ(recInt(rec::CfgChanges), 0);
    EXPECT_STREQ(recText(rec::CfgFilePath), dir.file("w.cfg").c_str());
}

TEST_F(ConfigFiles, SaveAndLoadRestoreTheImageOnly)
{
    fillRecord();
    std::vector<unsigned char> saved(all, all + rec::RecordSize);
    std::string path = save("round.cfg", 1);
    std::memset(all, 0x99, rec::RecordSize - 816);
    load(path);
    EXPECT_TRUE(std::equal(all, all + rec::PbxImageSize, saved.begin()));
    EXPECT_TRUE(std::all_of(all + rec::PbxImageSize, all + rec::DevicePathSlot, [](unsigned char c) { return c == 0x99; }))
        << "subscriber and speed-dial areas are not in the file";
    EXPECT_EQ(recInt(rec::CfgValid), 1);
    EXPECT_EQ(recInt(rec::CfgChanges), 0);
    EXPECT_TRUE(sensitive("*grund"));
    EXPECT_TRUE(sensitive("*absel"));
    int state = -1;
    getChooserState(toplevel, "*whsel", &state);
    EXPECT_EQ(state, 1) << "loading leaves the vendor chooser alone";
}

TEST_F(ConfigFiles, ShortFileLoadsAsFarAsItReaches)
{
    std::vector<char> bytes(1000);
    std::strcpy(bytes.data(), "Daten Konfigurator irgendwas");
    for (std::size_t i = 36; i < bytes.size(); ++i)
        bytes[i] = char(i);
    writeFile(dir.file("short.cfg"), std::string(bytes.begin(), bytes.end()));
    std::memset(all, 0x5A, rec::PbxImageSize);
    load(dir.file("short.cfg"));
    EXPECT_TRUE(std::equal(all, all + 964, reinterpret_cast<unsigned char *>(bytes.data()) + 36));
    EXPECT_TRUE(std::all_of(all + 964, all + rec::PbxImageSize, [](unsigned char c) { return c == 0x5A; }));
    EXPECT_EQ(recInt(rec::CfgValid), 1);
}

TEST_F(ConfigFiles, DirectoryIsNotWritten)
{
    std::string sub = dir.file("ordner");
    ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);

    // Saving into a directory is not accepted: the dialog stays up until cancelled.
    guiWhenActive([sub](Widget fsb) {
        XmTextFieldSetString(XmFileSelectionBoxGetChild(fsb, XmDIALOG_TEXT), const_cast<char *>(sub.c_str()));
        guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_OK_BUTTON));
        guiLater(200, [fsb] { guiPress(XmFileSelectionBoxGetChild(fsb, XmDIALOG_CANCEL_BUTTON)); });
    });
    int files = recInt(rec::CfgFileCount);
    saveCFGFileAs(nullptr, nullptr, nullptr);
    EXPECT_EQ(recInt(rec::CfgFileCount), files);
    struct stat st;
    ASSERT_EQ(stat(sub.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(ConfigFiles, QuickSaveNeedsAValidConfiguration)
{
    std::string path = dir.file("quick.cfg");
    std::strcpy(recText(rec::CfgFilePath), path.c_str());
    saveCFGFile(nullptr, nullptr, nullptr);
    EXPECT_EQ(fileBytes(path).size(), 0u);
    setFlags(all, 1);
    saveCFGFile(nullptr, nullptr, nullptr);
    EXPECT_EQ(fileBytes(path).size(), 2134u);
}

} // namespace
