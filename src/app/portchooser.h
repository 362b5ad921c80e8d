// Choosing the serial line in the window, and remembering it for the next start.
#pragma once

#include <X11/Intrinsic.h>
#include <string>
#include <vector>

struct PortChoice {
    std::string device; // what the program opens
    std::string shown;  // its line in the chooser
};

// The serial devices there are below root ("" for the running system; tests
// plant their own tree): the adapters in /dev/serial/by-id with their names,
// then /dev/ttyS*, /dev/ttyUSB*, /dev/ttyACM* in number order.  Paths as the
// system names them, without root.
std::vector<PortChoice> availablePorts(const std::string &root = "");
// The adapter's name in a by-id link's name ("usb-FTDI_FT232R_USB_UART_A1-if00-port0"
// gives "FTDI FT232R USB UART A1").
std::string adapterName(const std::string &linkName);

// $XDG_CONFIG_HOME/kelvora/port, ~/.config/kelvora/port without it.
std::string rememberedPortFile();
// The device chosen last time; "" when none was.
std::string rememberedPort();
// Keeps device for the next start; false (errno set) when it could not be written.
bool rememberPort(const std::string &device);
// The device when the command line names none: $KELVORA_DEVICE, else the one
// remembered; nullptr when there is neither.  The text stays valid.
const char *deviceWithoutArgument();

// The chooser over parent, listing what is below root; on OK the choice
// (any typed text as it is) becomes the device, is remembered and shown in the
// title.  False when cancelled.
bool choosePort(Widget parent, const std::string &root = "");
// True when the device in use is the one chosen here or last time (not one
// the command line or the environment named).
bool deviceIsAChosenOne();
// "Schnittstelle..." in the main window.
void choosePortButton(Widget, XtPointer, XtPointer);
