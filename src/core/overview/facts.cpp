#include "overview/facts.h"

#include "config/names.h"
#include "config/record.h"
#include "fields/assign.h"
#include "resources/fill.h"
#include "resources/lookup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>

namespace overview {

namespace {

// The items of the port choosers, in the dialog's order.
constexpr int BusExternal = 1, BusInternal = 2, ConnectionMultiDevice = 0;

std::string text(const std::string &which, const std::vector<std::string> &args = {})
{
    return fillPlaceholders(builtinResource("*overview." + which), args);
}

std::string listOf(const std::vector<std::string> &parts)
{
    std::string out;
    for (const std::string &p : parts)
        out += (out.empty() ? "" : ", ") + p;
    return out;
}

std::string absentOnes(const Facts &facts, std::uint32_t mask)
{
    std::vector<std::string> parts;
    for (int i : named(mask))
        if (!facts.subscribers[std::size_t(i)].present())
            parts.push_back(facts.subscribers[std::size_t(i)].name + " (" + facts.subscribers[std::size_t(i)].absence() +
                            ")");
    return listOf(parts);
}

// Text of the record as a finding names it: a byte that is no character,
// which a terminal could take for a command, as \xHH (as show writes it).
std::string shown(const std::string &latin1)
{
    std::string out;
    for (char ch : latin1) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02X", c);
            out += b;
        } else {
            out += ch;
        }
    }
    return out;
}

bool namesPresent(const Facts &facts, std::uint32_t mask)
{
    for (int i : named(mask))
        if (facts.subscribers[std::size_t(i)].present())
            return true;
    return false;
}

// ---------------------------------------------------------------- the check's table

using Finder = void (*)(const Facts &, const unsigned char *, std::vector<Finding> &);

void firstPortNotExternal(const Facts &facts, const unsigned char *, std::vector<Finding> &out)
{
    const Port &p = facts.ports.front();
    if (!p.external)
        out.push_back({"firstPortNotExternal", text("finding.firstPortNotExternal", {p.bus})});
}

void msnUnreachable(const Facts &facts, const unsigned char *, std::vector<Finding> &out)
{
    for (const Msn &m : facts.msns)
        if ((m.mask & SubscriberBits) != 0 && !namesPresent(facts, m.mask))
            out.push_back({"msnUnreachable", text("finding.msnUnreachable", {shown(m.digits), std::to_string(m.port),
                                                                             absentOnes(facts, m.mask)})});
}

void msnNobody(const Facts &facts, const unsigned char *, std::vector<Finding> &out)
{
    std::uint32_t forwarding = facts.forwarding < 0 ? 0 : facts.functions[std::size_t(facts.forwarding)].mask;
    if (namesPresent(facts, forwarding))
        return;
    std::string name = facts.forwarding < 0 ? "" : facts.functions[std::size_t(facts.forwarding)].name;
    for (const Msn &m : facts.msns)
        if ((m.mask & SubscriberBits) == 0)
            out.push_back({"msnNobody", text("finding.msnNobody", {shown(m.digits), std::to_string(m.port), name})});
}

void numberInvalid(const Facts &facts, const unsigned char *record, std::vector<Finding> &out)
{
    // What the internal-number dialog would not take; the scratch record
    // only receives the trial.
    std::vector<unsigned char> scratch(record, record + rec::RecordSize);
    for (const Subscriber &s : facts.subscribers) {
        if (s.number.empty() || s.busMissing)
            continue;
        Target target;
        target.field = &configField("rufzuord.num" + std::to_string(s.index));
        // Into an empty field: a value the field holds already is taken unseen.
        std::fill_n(scratch.begin() + long(target.field->offset), target.field->size, 0);
        std::string why = assignField(target, readField(*target.field, record), scratch.data(), Rules::Dialog);
        if (!why.empty())
            out.push_back({"numberInvalid", text("finding.numberInvalid", {s.name, readField(*target.field, record), why})});
    }
}

void numberTwice(const Facts &facts, const unsigned char *, std::vector<Finding> &out)
{
    std::map<std::string, std::vector<std::string>> holders;
    std::vector<std::string> order;
    for (const Subscriber &s : facts.subscribers)
        if (s.present()) {
            if (holders[s.number].empty())
                order.push_back(s.number);
            holders[s.number].push_back(s.name);
        }
    for (const std::string &number : order)
        if (holders[number].size() > 1)
            out.push_back({"numberTwice", text("finding.numberTwice", {shown(number), listOf(holders[number])})});
}

void functionAbsent(const Facts &facts, const unsigned char *, std::vector<Finding> &out)
{
    for (const Function &f : facts.functions)
        if (std::string absent = absentOnes(facts, f.mask); !absent.empty())
            out.push_back({"functionAbsent", text("finding.functionAbsent", {f.name, absent})});
}

struct Row {
    const char *id;
    Finder find;
};

// One row per kind of finding; its text and the reason why it is a fault
// are the resource lines "*overview.finding.<id>" and "*overview.reason.<id>".
const Row rows[] = {
    {"firstPortNotExternal", firstPortNotExternal},
    {"msnUnreachable", msnUnreachable},
    {"msnNobody", msnNobody},
    {"numberInvalid", numberInvalid},
    {"numberTwice", numberTwice},
    {"functionAbsent", functionAbsent},
};

} // namespace

const Field *findConfigField(const std::string &key)
{
    static std::map<std::string, const Field *> byKey;
    if (byKey.empty())
        for (const Field &f : fieldsOf(FileKind::Configuration))
            byKey[f.name] = &f;
    auto at = byKey.find(key);
    return at == byKey.end() ? nullptr : at->second;
}

const Field &configField(const std::string &key)
{
    if (const Field *f = findConfigField(key))
        return *f;
    throw std::logic_error("no configuration field " + key);
}

int choiceIndex(const Field &field, const unsigned char *record)
{
    unsigned v = record[field.offset] & field.mask;
    for (std::size_t i = 0; i < field.items.size(); i++)
        if (field.items[i].value == v)
            return int(i);
    return -1;
}

std::string textOf(const Field &field, const unsigned char *record)
{
    const char *p = reinterpret_cast<const char *>(record + field.offset);
    return std::string(p, strnlen(p, field.size));
}

std::uint32_t wordOf(const Field &field, const unsigned char *record)
{
    return getLe(record + field.offset, field.size);
}

std::string shortLabel(const Field &field)
{
    std::size_t at = field.label.find(": ");
    return at == std::string::npos ? field.label : field.label.substr(at + 2);
}

std::string Subscriber::label() const
{
    return present() ? "Ruf #" + number + " (" + name + ")" : name;
}

std::string Subscriber::absence() const
{
    if (number.empty())
        return text("noNumber");
    return busMissing ? text("noBus") : "";
}

std::vector<int> named(std::uint32_t mask)
{
    std::vector<int> out;
    for (int i = 0; i < rec::TlnCount; i++)
        if (mask >> i & 1)
            out.push_back(i);
    return out;
}

Facts derive(const unsigned char *record)
{
    Facts f;
    const Field &type = configField("anltyp.typ");
    f.type = readField(type, record);
    int highest = choiceIndex(type, record);
    for (int p = 1; p <= 3; p++) {
        Port port;
        port.number = p;
        // Every type has port 1, also a type byte no item names.
        port.exists = p == 1 || highest >= p - 1;
        const Field &bus = configField("port" + std::to_string(p) + ".bus");
        const Field &connection = configField("port" + std::to_string(p) + ".anschl");
        port.bus = readField(bus, record);
        port.connection = readField(connection, record);
        port.external = port.exists && choiceIndex(bus, record) == BusExternal;
        port.internal = port.exists && choiceIndex(bus, record) == BusInternal;
        port.multiDevice = port.external && choiceIndex(connection, record) == ConnectionMultiDevice;
        f.ports.push_back(port);
    }
    for (int i = 0; i < rec::TlnCount; i++) {
        Subscriber s;
        s.index = i;
        s.name = subscriberName(i);
        s.number = textOf(configField("rufzuord.num" + std::to_string(i)), record);
        // The terminals of the first and second internal bus are those of ports 2 and 3.
        s.busMissing = i >= 10 && !f.ports[std::size_t(i / 10)].internal;
        f.subscribers.push_back(s);
    }
    for (const Port &port : f.ports) {
        if (!port.multiDevice)
            continue;
        for (std::size_t k = 0; k < rec::MsnCount; k++) {
            std::string key = "port" + std::to_string(port.number) + ".";
            const Field &digits = configField(key + "msn" + std::to_string(k));
            Msn m;
            m.port = port.number;
            m.slot = int(k);
            const std::string &label = configField(key + "zuord" + std::to_string(k)).label;
            m.slotName = label.substr(label.rfind(": ") + 2);
            m.digits = textOf(digits, record);
            m.mask = wordOf(configField(key + "zuord" + std::to_string(k)), record) & SubscriberBits;
            if (!m.digits.empty())
                f.msns.push_back(m);
        }
    }
    // The call distribution's functions are its words in the field table.
    std::string forwarding = builtinResource("*overview.forwardingFunction");
    for (int k = 0;; k++) {
        const Field *field = findConfigField("calldist." + std::to_string(k));
        if (!field)
            break;
        Function fn;
        fn.name = shortLabel(*field);
        fn.mask = wordOf(*field, record) & SubscriberBits;
        if (fn.name == forwarding)
            f.forwarding = k;
        f.functions.push_back(fn);
    }
    return f;
}

std::vector<Finding> check(const Facts &facts, const unsigned char *record)
{
    std::vector<Finding> out;
    for (const Row &row : rows)
        row.find(facts, record, out);
    return out;
}

std::string reasonOf(const std::string &id) { return text("reason." + id); }

std::vector<std::string> findingIds()
{
    std::vector<std::string> ids;
    for (const Row &row : rows)
        ids.push_back(row.id);
    return ids;
}

} // namespace overview
