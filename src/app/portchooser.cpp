#include "app/portchooser.h"

#include "app/app.h"
#include "config/atomicfile.h"
#include "config/record.h"
#include "toolkit/toolkit.h"

#include <Xm/List.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <forward_list>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The devices read or chosen; setDevicePath keeps a pointer into the last,
// so none is ever changed or freed.
std::forward_list<std::string> &devices()
{
    static std::forward_list<std::string> kept;
    return kept;
}

const char *keep(const std::string &device)
{
    devices().push_front(device);
    return devices().front().c_str();
}

bool chosenHere = false; // chosen, but the file could not keep it

std::vector<std::string> namesIn(const std::string &dir)
{
    std::vector<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (const dirent *e = readdir(d))
            if (e->d_name[0] != '.')
                names.emplace_back(e->d_name);
        closedir(d);
    }
    return names;
}

// "ttyS10" after "ttyS2": the number part compared as a number.
bool numberOrder(const std::string &a, const std::string &b)
{
    auto split = [](const std::string &s) {
        size_t digits = s.find_last_not_of("0123456789") + 1;
        return std::make_pair(s.substr(0, digits), digits < s.size() ? std::stol(s.substr(digits)) : -1L);
    };
    return split(a) < split(b);
}

bool isNumber(const std::string &s)
{
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

std::string homeDirectory()
{
    const char *home = std::getenv("HOME");
    if (home && *home)
        return home;
    const passwd *pw = getpwuid(getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "";
}

std::string configFolder()
{
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    // Relative values are to be ignored, as other programs do.
    std::string base = xdg && *xdg == '/' ? xdg : homeDirectory() + "/.config";
    return base + "/kelvora";
}

struct ChooserState {
    std::vector<PortChoice> ports;
    Widget field = nullptr;
};

// A line picked in the list puts its device into the field.
void picked(Widget, XtPointer client, XtPointer call)
{
    auto *state = static_cast<ChooserState *>(client);
    int at = static_cast<XmListCallbackStruct *>(call)->item_position - 1;
    if (at >= 0 && at < int(state->ports.size()))
        XmtInputFieldSetString(state->field, state->ports[at].device.c_str());
}

void pickedAndDone(Widget w, XtPointer client, XtPointer call)
{
    picked(w, client, call);
    XmtDialogOkayCallback(w, nullptr, nullptr);
}

Widget chooserDialog;

} // namespace

std::string adapterName(const std::string &linkName)
{
    std::string name = linkName;
    for (const char *bus : {"usb-", "pci-", "platform-"})
        if (name.rfind(bus, 0) == 0) {
            name.erase(0, std::strlen(bus));
            break;
        }
    // "-if00-port0", "-if00", "-port0": the interface, not the adapter
    for (const char *tail : {"-port", "-if"}) {
        size_t at = name.rfind(tail);
        if (at != std::string::npos && at > 0 && isNumber(name.substr(at + std::strlen(tail))))
            name.erase(at);
    }
    std::replace(name.begin(), name.end(), '_', ' ');
    return name;
}

std::vector<PortChoice> availablePorts(const std::string &root)
{
    std::vector<PortChoice> ports;
    const std::string byId = "/dev/serial/by-id";
    std::vector<std::string> links = namesIn(root + byId);
    std::sort(links.begin(), links.end());
    for (const std::string &link : links) {
        std::string device = byId + "/" + link;
        char target[4096];
        ssize_t n = readlink((root + device).c_str(), target, sizeof target - 1);
        std::string shown = adapterName(link);
        if (n > 0) {
            std::string to(target, size_t(n));
            shown += " (" + to.substr(to.rfind('/') + 1) + ")";
        }
        ports.push_back({device, shown});
    }
    std::vector<std::string> names = namesIn(root + "/dev");
    std::sort(names.begin(), names.end(), numberOrder);
    for (const char *family : {"ttyS", "ttyUSB", "ttyACM"})
        for (const std::string &name : names) {
            std::string number = name.substr(std::min(name.size(), std::strlen(family)));
            if (name.rfind(family, 0) == 0 && isNumber(number))
                ports.push_back({"/dev/" + name, "/dev/" + name});
        }
    return ports;
}

std::string rememberedPortFile()
{
    return configFolder() + "/port";
}

std::string rememberedPort()
{
    std::ifstream in(rememberedPortFile());
    std::string device;
    std::getline(in, device);
    return device;
}

bool rememberPort(const std::string &device)
{
    std::string folder = configFolder();
    // ~/.config may not be there yet either
    size_t slash = folder.rfind('/');
    mkdir(folder.substr(0, slash).c_str(), 0700);
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    return writeFileAtomically(rememberedPortFile().c_str(), [&device](FILE *f) {
               return std::fprintf(f, "%s\n", device.c_str()) > 0;
           }) == FileWrite::Written;
}

const char *deviceWithoutArgument()
{
    const char *env = std::getenv("KELVORA_DEVICE");
    if (env && *env)
        return env;
    if (chosenHere)
        return devices().front().c_str();
    std::string remembered = rememberedPort();
    return remembered.empty() ? nullptr : keep(remembered);
}

bool deviceIsAChosenOne()
{
    for (const std::string &d : devices())
        if (devicePath() == d.c_str())
            return true;
    return false;
}

bool choosePort(Widget parent, const std::string &root)
{
    static ChooserState state;
    if (!chooserDialog) {
        chooserDialog = XmtBuildDialog(parent, "port_dlg", nullptr, 0);
        if (!chooserDialog)
            return false;
        Widget list = XmtNameToWidget(chooserDialog, "*ports");
        XtAddCallback(list, XmNbrowseSelectionCallback, picked, &state);
        XtAddCallback(list, XmNdefaultActionCallback, pickedAndDone, &state);
        state.field = XmtNameToWidget(chooserDialog, "*device");
    }
    state.ports = availablePorts(root);
    Widget list = XmtNameToWidget(chooserDialog, "*ports");
    XmListDeleteAllItems(list);
    for (PortChoice &p : state.ports) {
        XmString item = XmtCreateXmString(p.shown.data());
        XmListAddItem(list, item, 0);
        XmStringFree(item);
    }
    const char *now = devicePath() ? devicePath() : deviceWithoutArgument();
    XmtInputFieldSetString(state.field, now ? now : "");
    if (!XmtDialogRun(chooserDialog))
        return false;
    const char *typed = XmtInputFieldGetString(state.field);
    if (!typed || !*typed)
        return false;
    const char *device = keep(typed);
    setDevicePath(device);
    // Kept in the file, it is read from there like any other start's.
    chosenHere = !rememberPort(device);
    if (chosenHere)
        XmtDisplayWarningMsg(parent, "portNotKept",
                             "Die Schnittstelle gilt bis zum Programmende;\nfür den nächsten Start "
                             "kann sie nicht\nin \"%s\" vermerkt werden:\n%s",
                             "Schnittstelle", nullptr, rememberedPortFile().c_str(), std::strerror(errno));
    showWindowTitle();
    return true;
}

void choosePortButton(Widget, XtPointer, XtPointer)
{
    choosePort(toplevel);
}
