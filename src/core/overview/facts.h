// What a configuration means to its owner: which telephones ring for which of
// his numbers, by day and by night, who has which internal number, and what
// will lose calls.  Derived once from the field table and the record; the
// overview page, kelvoractl's check and the question before programming all
// read it.
#pragma once

#include "fields/fields.h"

#include <cstdint>
#include <string>
#include <vector>

namespace overview {

// A field of the configuration by its key in the field table ("port1.msn0");
// nullptr when there is none.
const Field *findConfigField(const std::string &key);
// The same for a key that is there.
const Field &configField(const std::string &key);
// The index of the field's item that the record's byte names; -1 none.
int choiceIndex(const Field &field, const unsigned char *record);
// A field's text up to its zero byte, as it is (ISO 8859-1).
std::string textOf(const Field &field, const unsigned char *record);
// A 32-bit field as a number.
std::uint32_t wordOf(const Field &field, const unsigned char *record);
// The dialog's title and ": " taken off a label ("Rufverteilung: Anrufvariante 1"
// reads "Anrufvariante 1").
std::string shortLabel(const Field &field);

struct Port {
    int number = 0;        // 1..3, as "Port-Auswahl" counts
    bool exists = false;   // within the PBX type
    std::string bus, connection; // the window's words
    bool external = false, internal = false, multiDevice = false;
};

struct Subscriber {
    int index = 0;
    std::string name;   // "AB  #1", "TFE #1", "SO  #3", "S1  #0"
    std::string number; // internal number as stored; "" none
    bool busMissing = false; // a terminal of an S0 bus whose port is no internal bus
    bool present() const { return !number.empty() && !busMissing; }
    // "Ruf #21 (SO  #0)" for a present subscriber, else the name.
    std::string label() const;
    // Why it is not present ("ohne interne Rufnummer", ...); "" when it is.
    std::string absence() const;
};

struct Msn {
    int port = 0;           // 1..3
    int slot = 0;           // 0..9
    std::string slotName;   // "MSN 0"
    std::string digits;
    std::uint32_t mask = 0; // subscribers 0-29 that ring for it
};

// A function of "Rufverteilung" and whom it names.
struct Function {
    std::string name; // "Anrufvariante 1"
    std::uint32_t mask = 0;
};

struct Facts {
    std::string type; // "Dorvan IS-3 / Ostrale 182"
    std::vector<Port> ports;
    std::vector<Subscriber> subscribers; // all 30
    // The MSNs that reach the PBX: set, on a port within the type that is an
    // external bus in multi-device mode.
    std::vector<Msn> msns;
    std::vector<Function> functions; // in the dialog's order
    int forwarding = -1;             // the function that rings for an MSN assigned to nobody
};

constexpr std::uint32_t SubscriberBits = 0x3FFFFFFF;

Facts derive(const unsigned char *record);
// The subscribers a mask names, in index order.
std::vector<int> named(std::uint32_t mask);

struct Finding {
    std::string id;   // the row of the check's table
    std::string text; // one line, German (ISO 8859-1)
};

// What will lose calls or reach nobody; empty when nothing does.
std::vector<Finding> check(const Facts &facts, const unsigned char *record);
// Why a finding of that id is a fault, German.
std::string reasonOf(const std::string &id);
// The ids of the check's table, in its order.
std::vector<std::string> findingIds();

} // namespace overview
