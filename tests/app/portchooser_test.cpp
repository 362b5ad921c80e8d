// The port chooser: what it lists for the devices there are, and the device
// kept from one start to the next.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/portchooser.h"
#include "config/record.h"
#include "support/gui.h"
#include "support/program.h"
#include "support/tempdir.h"
#include "toolkit/toolkit.h"

#include <Xm/List.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A /dev below a temporary root, with the nodes a case plants (plain files
// stand in for the devices; "link -> target" makes a by-id link).
struct FakeDev {
    TempDir root;
    explicit FakeDev(const std::vector<std::string> &nodes)
    {
        fs::create_directories(root.file("dev"));
        for (const std::string &node : nodes) {
            size_t arrow = node.find(" -> ");
            std::string path = root.path() + (arrow == std::string::npos ? node : node.substr(0, arrow));
            fs::create_directories(fs::path(path).parent_path());
            if (arrow == std::string::npos)
                writeFile(path, "");
            else
                fs::create_symlink(node.substr(arrow + 4), path);
        }
    }
};

std::vector<std::string> linesOf(const std::vector<PortChoice> &ports, bool shown)
{
    std::vector<std::string> lines;
    for (const PortChoice &p : ports)
        lines.push_back(shown ? p.shown : p.device);
    return lines;
}

TEST(PortChooser, ListsTheSerialDevicesThere)
{
    const std::string adapter = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    struct Case {
        const char *what;
        std::vector<std::string> planted;
        std::vector<std::string> devices, shown = {}; // shown empty: the devices themselves
    } cases[] = {
        {"nothing there", {}, {}},
        {"no /dev/serial at all, other terminals left out",
         {"/dev/tty0", "/dev/tty12", "/dev/ttyAMA0", "/dev/ttyS", "/dev/ttySx", "/dev/console", "/dev/ttyACM0"},
         {"/dev/ttyACM0"}},
        {"numbers in number order, families in a fixed order",
         {"/dev/ttyUSB1", "/dev/ttyS10", "/dev/ttyACM0", "/dev/ttyS2", "/dev/ttyUSB0", "/dev/ttyS0"},
         {"/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0"}},
        {"an adapter first, with its name and the node it points to",
         {"/dev/ttyS0", "/dev/ttyUSB0", adapter + " -> ../../ttyUSB0",
          "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0 -> ../../ttyUSB1",
          "/dev/ttyUSB1"},
         {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
          "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0", "/dev/ttyS0",
          "/dev/ttyUSB0", "/dev/ttyUSB1"},
         {"FTDI FT232R USB UART A50285BI (ttyUSB0)", "Prolific Technology Inc. USB-Serial Controller (ttyUSB1)",
          "/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        FakeDev dev(c.planted);
        std::vector<PortChoice> ports = availablePorts(dev.root.path());
        EXPECT_EQ(linesOf(ports, false), c.devices);
        EXPECT_EQ(linesOf(ports, true), c.shown.empty() ? c.devices : c.shown);
    }
}

TEST(PortChooser, AdapterNameFromItsLink)
{
    const std::pair<const char *, const char *> cases[] = {
        {"usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "FTDI FT232R USB UART A50285BI"},
        {"usb-1a86_USB2.0-Serial-if00-port0", "1a86 USB2.0-Serial"},
        {"usb-Arduino__www.arduino.cc__0043_7523-if00", "Arduino  www.arduino.cc  0043 7523"},
        {"pci-Digi_Neo-port3", "Digi Neo"},
        {"usb-Dongle-port", "Dongle-port"}, // no number: part of the name
        {"Selbstgebaut", "Selbstgebaut"},
    };
    for (const auto &[link, name] : cases)
        EXPECT_EQ(adapterName(link), name) << link;
}

// Each start reads the environment and the file afresh.
struct RememberedPort : ::testing::Test {
    TempDir home;
    std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "/";
    void SetUp() override
    {
        setenv("HOME", home.path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", home.file("cfg").c_str(), 1);
        unsetenv("KELVORA_DEVICE");
    }
    void TearDown() override
    {
        setenv("HOME", oldHome.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("KELVORA_DEVICE");
    }
    static std::string startWith(std::vector<std::string> args)
    {
        args.insert(args.begin(), "kelvora");
        std::vector<char *> argv;
        for (std::string &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        parseCommandLine(int(args.size()), argv.data());
        return devicePath();
    }
};

// The command line wins, then $KELVORA_DEVICE, then what was chosen last time.
TEST_F(RememberedPort, UsedOnTheNextStartWhenNothingElseNamesADevice)
{
    EXPECT_EQ(deviceWithoutArgument(), nullptr) << "nothing kept yet";
    ASSERT_TRUE(rememberPort("rfc2217://pbx.local:4001"));
    EXPECT_EQ(readFile(home.file("cfg/kelvora/port")), "rfc2217://pbx.local:4001\n");
    EXPECT_EQ(startWith({}), "rfc2217://pbx.local:4001") << "a typed string goes through unchanged";
    EXPECT_EQ(startWith({"/dev/ttyS1"}), "/dev/ttyS1");
    setenv("KELVORA_DEVICE", "/dev/ttyUSB3", 1);
    EXPECT_EQ(startWith({}), "/dev/ttyUSB3");
    EXPECT_EQ(startWith({"/dev/ttyS1"}), "/dev/ttyS1");
    unsetenv("KELVORA_DEVICE");

    // A new choice replaces the old; the device the running program uses stays put.
    std::string before = startWith({});
    const char *inUse = devicePath();
    ASSERT_TRUE(rememberPort("/dev/ttyACM0"));
    EXPECT_EQ(std::string(inUse), before);
    EXPECT_EQ(startWith({}), "/dev/ttyACM0");
}

TEST_F(RememberedPort, KeptInTheUsersConfigFolder)
{
    struct Case {
        const char *xdg; // nullptr: unset
        std::string file;
    } cases[] = {
        {nullptr, home.file(".config/kelvora/port")},
        {"", home.file(".config/kelvora/port")},
        {"relativ/cfg", home.file(".config/kelvora/port")}, // only an absolute one counts
        {"@/anders", home.file("anders/kelvora/port")},
    };
    for (const Case &c : cases) {
        if (!c.xdg)
            unsetenv("XDG_CONFIG_HOME");
        else
            setenv("XDG_CONFIG_HOME", c.xdg[0] == '@' ? (home.path() + (c.xdg + 1)).c_str() : c.xdg, 1);
        SCOPED_TRACE(c.xdg ? c.xdg : "(unset)");
        EXPECT_EQ(rememberedPortFile(), c.file);
        ASSERT_TRUE(rememberPort("/dev/ttyS3"));
        EXPECT_EQ(readFile(c.file), "/dev/ttyS3\n");
        EXPECT_EQ(rememberedPort(), "/dev/ttyS3");
        fs::remove(c.file);
    }
    // A folder that cannot be made: nothing kept, said so.
    writeFile(home.file("blockiert"), "");
    setenv("XDG_CONFIG_HOME", home.file("blockiert").c_str(), 1);
    EXPECT_FALSE(rememberPort("/dev/ttyS3"));
    EXPECT_EQ(rememberedPort(), "");
}

// The main window's button: a line picked in the list becomes the device,
// shown in the title and kept; Abbrechen changes nothing.
TEST_F(RememberedPort, ChooserFromTheMainWindow)
{
    REQUIRE_DISPLAY();
    Widget top = programTop();
    FakeDev dev({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0 -> ../../ttyUSB0"});
    const char *before = devicePath();
    char *title = nullptr;
    XtVaGetValues(top, XmNtitle, &title, nullptr);
    const std::string startTitle = title;
    std::vector<std::string> items;
    guiWhenActive([&](Widget dialog) {
        Widget list = guiFind(dialog, "*ports");
        items = listItems(list);
        XmListSelectPos(list, 3, True);
        guiPress(guiFind(dialog, "*cancel"));
    });
    EXPECT_FALSE(choosePort(top, dev.root.path()));
    EXPECT_EQ(items, (std::vector<std::string>{"FTDI FT232R USB UART A1 (ttyUSB0)", "/dev/ttyS0", "/dev/ttyUSB0"}));
    EXPECT_EQ(devicePath(), before);
    EXPECT_EQ(rememberedPort(), "");
    XtVaGetValues(top, XmNtitle, &title, nullptr);
    EXPECT_EQ(std::string(title), startTitle);

    guiWhenActive([&](Widget dialog) {
        XmListSelectPos(guiFind(dialog, "*ports"), 1, True);
        guiPress(guiFind(dialog, "*okay"));
    });
    EXPECT_TRUE(choosePort(top, dev.root.path()));
    const std::string adapter = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
    EXPECT_EQ(devicePath(), adapter);
    EXPECT_TRUE(deviceIsAChosenOne());
    EXPECT_EQ(rememberedPort(), adapter);
    XtVaGetValues(top, XmNtitle, &title, nullptr);
    EXPECT_EQ(std::string(title), "Ostrale 18x/Dorvan ISx Konfigurator - " + adapter);
    XtVaSetValues(top, XmNtitle, startTitle.c_str(), nullptr);
    setDevicePath(before);
}

} // namespace
