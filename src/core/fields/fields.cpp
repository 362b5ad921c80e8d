#include "fields/fields.h"

#include "config/lists.h"
#include "config/names.h"
#include "config/record.h"
#include "link/number.h"
#include "resources/lookup.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>

namespace {

// ---------------------------------------------------------------- labels

// The window's own words: dialog titles, captions and chooser items.
std::string title(const char *dialog) { return builtinResource(std::string("*") + dialog + ".title"); }

std::string caption(const char *key, std::size_t i)
{
    std::vector<std::string> all = builtinList(key);
    return i < all.size() ? labelText(all[i]) : "";
}

std::vector<FieldItem> indexed(const std::vector<std::string> &strings, unsigned base = 0)
{
    std::vector<FieldItem> items;
    for (std::size_t i = 0; i < strings.size(); i++)
        items.push_back({unsigned(i) + base, strings[i]});
    return items;
}

// Check box items as bits; "---" marks a box without a function.
std::vector<FieldItem> bitsOf(const std::vector<std::string> &strings)
{
    std::vector<FieldItem> items;
    for (std::size_t i = 0; i < strings.size() && i < 8; i++)
        if (strings[i] != "---")
            items.push_back({1u << i, strings[i]});
    return items;
}

// The text an error callback shows: the second quoted argument of
// XmtDisplayWarningMsg("msg1", "...") with its escapes read.
std::string warningOf(const std::string &callback)
{
    std::size_t at = callback.find('"');
    at = at == std::string::npos ? at : callback.find('"', at + 1);
    at = at == std::string::npos ? at : callback.find('"', at + 1);
    std::string text;
    if (at == std::string::npos)
        return text;
    for (std::size_t i = at + 1; i < callback.size() && callback[i] != '"'; i++) {
        char c = callback[i];
        if (c == '\\' && i + 1 < callback.size()) {
            c = callback[++i];
            c = c == 'n' ? '\n' : c == 't' ? '\t' : c;
        }
        text += c;
    }
    return text;
}

struct Table {
    std::vector<Field> fields;

    // The last field is the dialog's; its widget (when the dialog's binding
    // table binds it) and the resource lines that say what it takes: the
    // widget's own ("*globdat*okz") or its container's ("*st_sensor").
    void in(const char *dialog, std::string widget = "", const std::string &lines = "")
    {
        Field &f = fields.back();
        f.dialog = dialog;
        f.widget = std::move(widget);
        if (lines.empty())
            return;
        std::string own = lines.back() == '*' ? lines : lines + ".";
        f.rule.lines = own;
        f.rule.pattern = builtinResource(own + "pattern");
        std::string matchAll = builtinResource(own + "matchAll");
        f.rule.wholePattern = matchAll == "True";
        f.rule.check = checkNamed(builtinResource(own + "verifyCallback"));
        f.rule.refusal = warningOf(builtinResource(own + "errorCallback"));
    }

    void add(std::string name, std::string label, std::size_t offset, std::size_t size, Reading reading,
             unsigned mask = 0xFF, std::vector<FieldItem> items = {})
    {
        fields.push_back({std::move(name), std::move(label), offset, size, reading, mask, std::move(items)});
    }
    void text(std::string name, std::string label, std::size_t offset, std::size_t size)
    {
        add(std::move(name), std::move(label), offset, size, Reading::Text);
    }
    void choice(std::string name, std::string label, std::size_t offset, std::vector<FieldItem> items,
                unsigned mask = 0xFF)
    {
        add(std::move(name), std::move(label), offset, 1, Reading::Choice, mask, std::move(items));
    }
    void bits(std::string name, std::string label, std::size_t offset, std::vector<FieldItem> items, unsigned mask)
    {
        add(std::move(name), std::move(label), offset, 1, Reading::Bits, mask, std::move(items));
    }
};

std::string num(int n) { return std::to_string(n); }

// ---------------------------------------------------------------- configuration

// A named stretch of the PBX image, for the bytes no dialog shows.
struct Region {
    std::size_t offset, size;
    std::string name, key;
};

std::vector<Region> configRegions()
{
    std::string b = "Anlage B: ";
    std::vector<Region> r;
    r.push_back({rec::TypeByte, 1, title("anltyp_dlg"), "anltyp"});
    for (int p = 0; p < 3; p++)
        r.push_back({rec::PortBlock0 + rec::PortBlockSize * std::size_t(p), rec::PortBlockSize,
                     title("anltyp_dlg") + ": Port " + num(p + 1), "port" + num(p + 1)});
    r.push_back({rec::PortAreaB, rec::PortAreaSize, b + title("anltyp_dlg"), "b.ports"});
    // The lists held for two PBXs: each PBX's share is what one write sends.
    struct Shared {
        int readCode;
        const char *dialog, *key;
    };
    const Shared shared[] = {
        {K_READ_TLN_RUFNR_LIST, "rufzuord_dlg", "rufnr"},   {K_READ_TLN_BER_LIST, "tlnperm_dlg", "ber"},
        {K_READ_TLN_RUF_VERT_LIST, "calldist_dlg", "rufvert"}, {K_READ_TLN_GEB_KONF_LIST, "gebdat_dlg", "gebkonf"},
        {K_READ_ST_KON_LIST, "steuer_dlg", "stkon"},
    };
    for (const Shared &s : shared) {
        const ConfigList &l = listOfRead(s.readCode);
        r.push_back({l.region, l.writeSize, title(s.dialog), s.key});
        r.push_back({l.region + l.writeSize, l.writeSize, b + title(s.dialog), std::string("b.") + s.key});
    }
    const ConfigList &anldat = listOfRead(K_READ_ANL_DAT_LIST);
    r.push_back({anldat.region, anldat.readSize, title("globdat_dlg"), "anldat"});
    return r;
}

void subscriberWords(Table &t, const char *owner, const std::string &dialog, const char *key, std::size_t block,
                     const std::vector<std::string> &functions, const std::vector<std::size_t> &offsets)
{
    for (std::size_t k = 0; k < functions.size() && k < offsets.size(); k++)
    {
        t.add(std::string(key) + "." + num(int(k)), dialog + ": " + functions[k], block + offsets[k], 4,
              Reading::Subscribers);
        t.in(owner);
    }
}

void configFields(Table &t)
{
    // PBX type and ports.
    std::string anl = title("anltyp_dlg");
    t.choice("anltyp.typ", anl + ": " + builtinResource("*anl_typf.title"), rec::TypeByte,
             indexed(builtinList("*anltyp*typ.strings")));
    t.in("anltyp_dlg");
    std::vector<std::string> bus = builtinList("*anltyp*s0bus.strings");
    std::vector<std::string> conn = builtinList("*anltyp*anschl.strings");
    // The bus bits of the port's mode byte in the order of the menu's items.
    const unsigned busBits[4] = {0x00, 0x80, 0x40, 0xC0};
    std::string msnTitle = title("msns_dlg"), zuordTitle = title("zuord_dlg");
    std::vector<std::string> msnNames = builtinList("*zuord*msn.strings");
    for (int p = 0; p < 3; p++) {
        std::size_t block = rec::PortBlock0 + rec::PortBlockSize * std::size_t(p);
        std::string port = anl + ": Port " + num(p + 1) + ": ";
        std::string key = "port" + num(p + 1) + ".";
        std::vector<FieldItem> busItems;
        for (std::size_t i = 0; i < bus.size() && i < 4; i++)
            busItems.push_back({busBits[i], bus[i]});
        t.choice(key + "bus", port + builtinResource("*anl_busf.title"), block, busItems, 0xC0);
        t.in("anltyp_dlg");
        std::vector<FieldItem> connItems;
        if (conn.size() == 2)
            connItems = {{0x10, conn[0]}, {0x00, conn[1]}};
        t.choice(key + "anschl", port + builtinResource("*anl_anschlf.title"), block, connItems, 0x30);
        t.in("anltyp_dlg");
        for (int k = 0; k < int(rec::MsnCount); k++) {
            t.text(key + "msn" + num(k), port + msnTitle + ": " + (k < int(msnNames.size()) ? msnNames[k] : num(k)),
                   block + rec::MsnInBlock + rec::MsnSize * std::size_t(k), rec::MsnSize);
            t.in("msns_dlg", "msn" + num(k), "*ms_cols*");
        }
        for (int k = 0; k < int(rec::MsnCount); k++) {
            t.add(key + "zuord" + num(k),
                  port + zuordTitle + ": " + (k < int(msnNames.size()) ? msnNames[k] : num(k)),
                  block + rec::MsnZuordInBlock + rec::MsnZuordSize * std::size_t(k), 4, Reading::Subscribers);
            t.in("zuord_dlg");
        }
    }

    // Internal numbers.
    std::string rnz = title("rufzuord_dlg");
    t.choice("rufzuord.hpttyp", rnz + ": " + builtinResource("*rnz_hpt.title") + " " +
                                    labelText(builtinResource("*rufzuord*hpttyp.caption")),
             rec::RufnrList + rec::HptTypInShare, indexed(builtinList("*rufzuord*hpttyp.strings"), 1));
    t.in("rufzuord_dlg");
    t.text("rufzuord.hptnum",
           rnz + ": " + builtinResource("*rnz_hpt.title") + " " + labelText(builtinResource("*rufzuord*hptnum.caption")),
           rec::RufnrList + rec::HptNumInShare, rec::HptNumSize);
    t.in("rufzuord_dlg", "hptnum", "*rufzuord*hptnum");
    for (int i = 0; i < rec::TlnCount; i++) {
        t.text("rufzuord.num" + num(i), rnz + ": " + subscriberName(i),
               rec::RufnrList + rec::IntNumInShare + rec::IntNumSize * std::size_t(i), rec::IntNumSize);
        t.in("rufzuord_dlg", "num" + num(i), "*rnz_nst*");
    }

    // Permissions, terminal types and trunk permissions share one list.
    subscriberWords(t, "tlnperm_dlg", title("tlnperm_dlg"), "tlnperm", rec::BerList, builtinList("*tlnperm*funk.strings"),
                    {0, 4, 8});
    std::string amts = title("amtsperm_dlg");
    std::vector<FieldItem> levels = indexed(builtinList("*am_grp*strings"));
    for (int i = 0; i < rec::TlnCount; i++) {
        t.choice("amtsperm." + num(i), amts + ": " + subscriberName(i), rec::BerList + 12 + std::size_t(i), levels);
        t.in("amtsperm_dlg", "*tele" + num(i));
    }
    std::string tt = title("teltyp_dlg");
    for (int i = 0; i < 8; i++) {
        t.choice("teltyp." + num(i), tt + ": " + subscriberName(i), rec::BerList + 42 + std::size_t(i),
                 indexed(builtinList(i == 0 ? "*tt_typen*tln0.strings" : "*tt_typen*strings")));
        t.in("teltyp_dlg", "*tln" + num(i));
    }

    // Call distribution; its last two bytes belong to the global data dialog.
    subscriberWords(t, "calldist_dlg", title("calldist_dlg"), "calldist", rec::RufVertList, builtinList("*calldist*todo.strings"),
                    {0, 8, 16, 24, 32, 40, 44});
    std::string glob = title("globdat_dlg");
    t.add("globdat.rwst", glob + ": " + caption("*gl_lower.captions", 5), rec::RwsTime, 1, Reading::Decimal);
    t.in("globdat_dlg", "*rwst", "*globdat*rwst");
    t.choice("globdat.autamt", glob + ": " + caption("*gl_menus.captions", 1), rec::RufVertList + 49,
             indexed(builtinList("*globdat*autamt.strings")));
    t.in("globdat_dlg", "*autamt");

    // Charge settings and the internal rates.
    std::string geb = title("gebdat_dlg");
    subscriberWords(t, "gebdat_dlg", geb, "gebdat", rec::GebKonfList, builtinList("*gebdat*slct.strings"), {0, 4, 8, 12, 16});
    t.add("gebdat.base", geb + ": " + caption("*gd_misc.captions", 0), rec::GebKonfList + 51, 1, Reading::Decimal);
    t.in("gebdat_dlg", "*base", "*gd_misc*");
    std::string rates = title("loccharge_dlg");
    for (int i = 0; i < rec::TlnCount; i++) {
        t.add("loccharge." + num(i), rates + ": " + subscriberName(i), rec::GebKonfList + 52 + std::size_t(i), 1,
              Reading::Decimal);
        t.in("loccharge_dlg", "", "*lc_rates*");
    }
    std::vector<std::string> com = builtinList("*gebdat*com.strings");
    t.choice("gebdat.com", geb + ": " + builtinResource("*gd_comf.title"), rec::GebKonfList + 83,
             indexed(com, 1), 0x03);
    t.in("gebdat_dlg");
    // A check box: bit 2 one box, bit 3 the other, neither when both are clear.
    std::vector<FieldItem> callItems = bitsOf(builtinList("*gebdat*calls.strings"));
    for (FieldItem &item : callItems)
        item.value <<= 2;
    t.bits("gebdat.calls", geb + ": " + builtinResource("*gd_callsf.title"), rec::GebKonfList + 83, callItems, 0x0C);
    t.in("gebdat_dlg");
    std::vector<std::string> pulse = builtinList("*gebdat*impuls.strings");
    std::vector<FieldItem> pulseItems;
    for (std::size_t i = 0; i < pulse.size(); i++)
        pulseItems.push_back({unsigned(i + 1) << 5, pulse[i]});
    t.choice("gebdat.impuls", geb + ": " + builtinResource("*gd_impf.title"), rec::GebKonfList + 85, pulseItems,
             0xE0);
    t.in("gebdat_dlg");
    t.add("gebdat.zlanz", geb + ": " + caption("*gd_misc.captions", 1), rec::GebKonfList + 87, 1, Reading::Decimal);
    t.in("gebdat_dlg", "*zlanz", "*gd_misc*");

    // Control contacts.
    std::string st = title("steuer_dlg");
    std::size_t s = rec::StKonList;
    std::string sensor = builtinResource("*st_sensor.title");
    t.add("steuer.start", st + ": " + sensor + " " + caption("*st_sensor.captions", 0), s + 0, 2, Reading::TimeOfDay);
    t.in("steuer_dlg", "*start", "*st_sensor*");
    t.add("steuer.end", st + ": " + sensor + " " + caption("*st_sensor.captions", 1), s + 2, 2, Reading::TimeOfDay);
    t.in("steuer_dlg", "*end", "*st_sensor*");
    std::string switchTime = labelText(builtinResource("*st_lower*XmTextField.caption"));
    std::vector<FieldItem> actions = indexed(builtinList("*st_lower*strings"));
    t.add("steuer.ask1", st + ": " + builtinResource("*st_akt1.title") + " " + switchTime, s + 4, 2,
          Reading::Decimal);
    t.in("steuer_dlg", "*ask1", "*st_lower*");
    t.add("steuer.ask2", st + ": " + builtinResource("*st_akt2.title") + " " + switchTime, s + 6, 2,
          Reading::Decimal);
    t.in("steuer_dlg", "*ask2", "*st_lower*");
    t.choice("steuer.akt1", st + ": " + builtinResource("*st_akt1.title"), s + 8, actions);
    t.in("steuer_dlg", "*akt1");
    t.choice("steuer.akt2", st + ": " + builtinResource("*st_akt2.title"), s + 9, actions);
    t.in("steuer_dlg", "*akt2");
    t.bits("steuer.auto", st + ": " + builtinResource("*steuer*auto.strings"), s + 10,
           bitsOf(builtinList("*steuer*auto.strings")), 0x01);
    t.in("steuer_dlg", "*auto");
    const std::size_t texts[][2] = {{11, 25}, {36, 25}, {61, 25}, {86, 33}};
    const char *const buffers[] = {"rnr1", "rnr2", "rnr3", "utou"};
    for (std::size_t k = 0; k < 4; k++) {
        std::string lines = std::string("*steuer*") + buffers[k];
        t.text(std::string("steuer.") + buffers[k], st + ": " + labelText(builtinResource(lines + ".caption")),
               s + texts[k][0], texts[k][1]);
        t.in("steuer_dlg", buffers[k], lines);
    }

    // Global data.
    std::size_t a = rec::AnlDatList;
    const std::size_t globTexts[][2] = {{0, 33}, {33, 7}, {40, 7}, {47, 6}, {53, 25}};
    const char *const globBuffers[] = {"uus", "code", "lkz", "okz", "hot"};
    for (std::size_t k = 0; k < 5; k++) {
        t.text(std::string("globdat.") + globBuffers[k], glob + ": " + caption("*gl_lower.captions", k),
               a + globTexts[k][0], globTexts[k][1]);
        t.in("globdat_dlg", globBuffers[k], std::string("*globdat*") + globBuffers[k]);
    }
    t.choice("globdat.moh", glob + ": " + caption("*gl_menus.captions", 0), a + 78,
             indexed(builtinList("*globdat*moh.strings")));
    t.in("globdat_dlg", "*moh");
    // The check boxes have no caption of their own in the window.  Bits 4-7
    // are the PBX's own: the check box carries them through, so that "OK"
    // never changes what it cannot show.
    t.bits("globdat.amtamt", glob + ": Optionen", a + 79,
           bitsOf(builtinList("*globdat*amtamt.strings")), 0x0F);
    t.in("globdat_dlg", "*amtamt");
    t.choice("globdat.ava", glob + ": " + caption("*gl_menus.captions", 2), a + 111,
             indexed(builtinList("*globdat*ava.strings")));
    t.in("globdat_dlg", "*ava");
}

// What no field shows: whole bytes in rows of 16 within their region, and
// the bits of a byte that its fields leave over.
void fillGaps(Table &t, std::size_t from, std::size_t size, const std::vector<Region> &regions)
{
    std::vector<unsigned> covered(size, 0);
    for (const Field &f : t.fields)
        for (std::size_t i = 0; i < f.size; i++)
            if (f.offset + i >= from && f.offset + i < from + size)
                covered[f.offset + i - from] |= f.size == 1 ? f.mask : 0xFFu;
    for (const Region &r : regions) {
        std::size_t i = r.offset;
        while (i < r.offset + r.size) {
            unsigned have = covered[i - from];
            if (have == 0xFF) {
                ++i;
                continue;
            }
            if (have != 0) {
                char label[64];
                std::snprintf(label, sizeof label, ", Byte %zu: weitere Bits", i - r.offset);
                t.bits(r.key + ".bits" + num(int(i - r.offset)), r.name + label, i, {}, ~have & 0xFFu);
                t.fields.back().extra = true;
                ++i;
                continue;
            }
            std::size_t start = i;
            while (i < r.offset + r.size && covered[i - from] == 0 && i - start < 16)
                ++i;
            char label[64];
            std::snprintf(label, sizeof label, ", Bytes %zu-%zu", start - r.offset, i - 1 - r.offset);
            t.add(r.key + ".bytes" + num(int(start - r.offset)), r.name + label, start, i - start, Reading::Bytes);
            t.fields.back().extra = true;
        }
    }
}

// ---------------------------------------------------------------- speed dial

void speedDialFields(Table &t)
{
    t.text("kwz.kennung", "Kennung", rec::KwzHeader, rec::KwzHeaderSize);
    std::string name = caption("*ed_fields.captions", 0), number = caption("*ed_fields.captions", 1);
    for (int i = 0; i < rec::KwzCount; i++) {
        std::string entry = "Kurzwahl " + num(100 + i);
        t.text("kwz." + num(100 + i) + ".number", entry + ": " + number,
               rec::KwzNumbers + rec::KwzNumberSize * std::size_t(i), rec::KwzNumberSize);
        t.in("editentry_dlg", "", "*editentry*number");
        t.text("kwz." + num(100 + i) + ".name", entry + ": " + name, rec::KwzNames + rec::KwzNameSize * std::size_t(i),
               rec::KwzNameSize);
        t.in("editentry_dlg", "", "*editentry*name");
    }
    struct Prefixes {
        std::size_t table;
        const char *dialog, *left, *right, *key, *lines;
    };
    const Prefixes lists[] = {
        {rec::NahBerList, "nahber_dlg", "*nb_left.captions", "*nb_right.captions", "nahber", "*nb_fields*"},
        {rec::SperrBerList, "sperrber_dlg", "*sb_left.captions", "*sb_right.captions", "sperrber", "*sb_fields*"}};
    for (const Prefixes &p : lists)
        for (int k = 0; k < rec::PrefixCount; k++) {
            t.text(std::string(p.key) + "." + num(k + 1),
                   title(p.dialog) + ": " + caption(k < 10 ? p.left : p.right, std::size_t(k % 10)),
                   p.table + rec::PrefixSlotSize * std::size_t(k), rec::PrefixSlotSize);
            t.in(p.dialog, "num" + num(k), p.lines);
        }
}

// ---------------------------------------------------------------- subscribers

void subscriberFields(Table &t)
{
    std::string funk = builtinResource("*tn_funk.title");
    std::string weck = builtinResource("*tn_weck.title");
    std::string umleit = builtinResource("*tn_umleit.title");
    std::vector<FieldItem> f1 = bitsOf(builtinList("*tndat*settings1.strings"));
    std::vector<FieldItem> f2 = bitsOf(builtinList("*tndat*settings2.strings"));
    for (int i = 0; i < rec::TlnCount; i++) {
        std::size_t r = rec::TlnData + rec::TlnDataSize * std::size_t(i);
        std::string who = std::string(subscriberName(i)) + ": ";
        std::string key = "tln" + num(i) + ".";
        t.bits(key + "funk1", who + funk, r + rec::TlnFunc1, f1, 0xFF);
        t.in("tndat_dlg", "*settings1");
        t.bits(key + "funk2", who + funk + " (" + weck + ")", r + rec::TlnFunc2, f2, 0xFF);
        t.in("tndat_dlg", "*settings2");
        t.add(key + "weckz", who + weck, r + rec::TlnWake, 2, Reading::TimeOfDay);
        t.in("tndat_dlg", "", "*tndat*weckz");
        t.text(key + "nbb", who + umleit + " " + caption("*tn_umleit.captions", 0), r + rec::TlnBusyTarget,
               rec::TlnTargetSize);
        t.in("tndat_dlg", "", "*tndat*nbb");
        t.text(key + "ziel", who + umleit + " " + caption("*tn_umleit.captions", 1) + "/" +
                                 caption("*tn_umleit.captions", 2),
               r + rec::TlnTarget, rec::TlnTargetSize);
        t.in("tndat_dlg", "", "*tndat*numl");
        t.add(key + "rufz", who + umleit + " " + caption("*tn_umleit.captions", 3), r + rec::TlnRingTime, 1,
              Reading::Decimal);
        t.in("tndat_dlg", "", "*tndat*rufz");
    }
}

// ---------------------------------------------------------------- readings

std::string hex(const unsigned char *bytes, std::size_t count)
{
    std::string out;
    char b[4];
    for (std::size_t i = 0; i < count; i++) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", bytes[i]);
        out += b;
    }
    return out;
}

// Printable ISO 8859-1 as it is, anything else escaped, so that two texts
// read alike only when their bytes are alike.
std::string printable(const unsigned char *bytes, std::size_t count)
{
    std::string out;
    for (std::size_t i = 0; i < count; i++) {
        unsigned char c = bytes[i];
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02X", c);
            out += b;
        } else {
            out += char(c);
        }
    }
    return out;
}

std::string readText(const unsigned char *p, std::size_t size)
{
    std::size_t length = strnlen(reinterpret_cast<const char *>(p), size);
    std::string out = length ? printable(p, length) : "(leer)";
    // A text that reads like an empty one or like the bytes behind one is
    // told apart by an escape.
    if (length && out == "(leer)")
        out.replace(0, 1, "\\x28");
    for (std::size_t at = 0; (at = out.find(" [dahinter ", at)) != std::string::npos;)
        out.replace(at + 1, 1, "\\x5B");
    std::size_t last = size;
    while (last > length && p[last - 1] == 0)
        --last;
    if (last > length + 1)
        out += " [dahinter " + hex(p + length + 1, last - length - 1) + "]";
    return out;
}

// What a set of items or subscribers reads as.
std::string setText(const std::vector<std::string> &parts) { return parts.empty() ? "(keine)" : joined(parts); }

std::string hexByte(unsigned v)
{
    char b[8];
    std::snprintf(b, sizeof b, "0x%02X", v);
    return b;
}

} // namespace

const std::vector<FieldCheck> &fieldChecks()
{
    static const std::vector<FieldCheck> checks = {
        {"CheckLeadZero", -1, -1, true, false}, {"Check_11_97", 11, 97, false, false},
        {"Check_0_255", 0, 255, false, false},   {"Check_0_999", 0, 999, false, false},
        {"Check_0_2359", 0, 0x2359, false, true},
    };
    return checks;
}

const FieldCheck *checkNamed(const std::string &procedure)
{
    std::string name = procedure.substr(0, procedure.find('('));
    for (const FieldCheck &c : fieldChecks())
        if (name == c.procedure)
            return &c;
    return nullptr;
}

bool checkAccepts(const FieldCheck &c, const char *text)
{
    const char *t = text ? text : "";
    if (c.noLeadingZero && t[0] == '0')
        return false;
    if (c.packedTime) {
        // Minutes above 59 are not looked at; a field without digits holds no time.
        unsigned value = 0;
        return std::sscanf(t, "%4X", &value) == 1 && long(value) <= c.high;
    }
    return c.low < 0 || fieldDecimalIn(t, c.low, c.high).has_value();
}

const Field &fieldNamed(FileKind kind, const std::string &name)
{
    for (const Field &f : fieldsOf(kind))
        if (f.name == name)
            return f;
    throw std::logic_error("no field " + name);
}

int choiceIndex(const Field &f, unsigned byte)
{
    for (std::size_t i = 0; i < f.items.size(); i++)
        if (f.items[i].value == (byte & f.mask))
            return int(i);
    return -1;
}

unsigned char withChoice(const Field &f, unsigned byte, int index)
{
    if (index < 0 || std::size_t(index) >= f.items.size())
        return static_cast<unsigned char>(byte);
    return static_cast<unsigned char>((byte & ~f.mask) | f.items[std::size_t(index)].value);
}

namespace {

int lowestBit(unsigned mask) { return mask ? std::countr_zero(mask) : 0; }

} // namespace

unsigned boxesOf(const Field &f, unsigned byte) { return (byte & f.mask) >> lowestBit(f.mask); }

unsigned char withBoxes(const Field &f, unsigned byte, unsigned state)
{
    return static_cast<unsigned char>((byte & ~f.mask) | (state << lowestBit(f.mask) & f.mask));
}

std::string joined(const std::vector<std::string> &parts, const char *between)
{
    std::string out;
    for (const std::string &p : parts)
        out += (out.empty() ? "" : between) + p;
    return out;
}

const std::vector<Field> &fieldsOf(FileKind kind)
{
    static std::vector<Field> tables[3];
    std::vector<Field> &fields = tables[int(kind)];
    if (!fields.empty())
        return fields;
    Table t;
    switch (kind) {
    case FileKind::Configuration:
        configFields(t);
        fillGaps(t, 0, rec::PbxImageSize, configRegions());
        break;
    case FileKind::SpeedDial:
        speedDialFields(t);
        break;
    case FileKind::Subscribers:
        subscriberFields(t);
        break;
    }
    // In the record's order, a byte's fields together.
    std::stable_sort(t.fields.begin(), t.fields.end(),
                     [](const Field &a, const Field &b) { return a.offset < b.offset; });
    if (kind == FileKind::SpeedDial) {
        // Entry by entry: number and name of one speed-dial code together.
        std::stable_sort(t.fields.begin(), t.fields.end(), [](const Field &a, const Field &b) {
            auto entry = [](const Field &f) -> std::size_t {
                if (f.offset >= rec::KwzNumbers && f.offset < rec::KwzNames)
                    return 1 + (f.offset - rec::KwzNumbers) / rec::KwzNumberSize;
                if (f.offset >= rec::KwzNames && f.offset < rec::NahBerList)
                    return 1 + (f.offset - rec::KwzNames) / rec::KwzNameSize;
                return f.offset < rec::KwzNumbers ? 0 : 1000;
            };
            return entry(a) < entry(b);
        });
    }
    fields = std::move(t.fields);
    return fields;
}

std::string readField(const Field &f, const unsigned char *record)
{
    const unsigned char *p = record + f.offset;
    switch (f.reading) {
    case Reading::Text:
        return readText(p, f.size);
    case Reading::Decimal:
        return std::to_string(getLe(p, f.size));
    case Reading::Choice: {
        unsigned v = p[0] & f.mask;
        for (const FieldItem &item : f.items)
            if (item.value == v)
                return item.text;
        return "? (" + hexByte(v) + ")";
    }
    case Reading::Bits: {
        unsigned v = p[0] & f.mask;
        std::vector<std::string> set;
        for (const FieldItem &item : f.items)
            if (v & item.value) {
                set.push_back(item.text);
                v &= ~item.value;
            }
        if (v)
            set.push_back(hexByte(v));
        return setText(set);
    }
    case Reading::TimeOfDay: {
        unsigned v = unsigned(getLe(p, 2));
        if (v == NoTimeOfDay)
            return "(keine)";
        char b[8];
        std::snprintf(b, sizeof b, "%02X:%02X", v >> 8, v & 0xFF);
        return b;
    }
    case Reading::Subscribers: {
        std::uint32_t v = getLe(p, 4);
        std::vector<std::string> set;
        for (int i = 0; i < 32; i++)
            if (v >> i & 1)
                set.push_back(i < rec::TlnCount ? std::string(subscriberName(i)) : "Bit " + num(i));
        return setText(set);
    }
    case Reading::Bytes:
        return hex(p, f.size);
    }
    return "";
}

bool fieldDiffers(const Field &f, const unsigned char *a, const unsigned char *b)
{
    if (f.size == 1)
        return ((a[f.offset] ^ b[f.offset]) & f.mask) != 0;
    return std::memcmp(a + f.offset, b + f.offset, f.size) != 0;
}

namespace {

// Where each dialog's block lies for the first PBX, and how far its first
// instance reaches (one port's MSNs, one subscriber's record).
struct DialogPlace {
    const char *dialog;
    FileKind kind;
    std::size_t base, extent, share; // share: the second PBX's block lies that much further
};

const DialogPlace places[] = {
    {"globdat_dlg", FileKind::Configuration, 0, rec::PbxImageSize, 0},
    {"steuer_dlg", FileKind::Configuration, rec::StKonList, rec::StKonShare, rec::StKonShare},
    {"teltyp_dlg", FileKind::Configuration, rec::BerList, rec::BerShare, rec::BerShare},
    {"tlnperm_dlg", FileKind::Configuration, rec::BerList, rec::BerShare, rec::BerShare},
    {"calldist_dlg", FileKind::Configuration, rec::RufVertList, rec::RufVertShare, rec::RufVertShare},
    {"amtsperm_dlg", FileKind::Configuration, rec::BerList, rec::BerShare, rec::BerShare},
    {"rufzuord_dlg", FileKind::Configuration, rec::RufnrList, rec::RufnrShare, rec::RufnrShare},
    {"gebdat_dlg", FileKind::Configuration, rec::GebKonfList, rec::GebKonfShare, rec::GebKonfShare},
    {"loccharge_dlg", FileKind::Configuration, rec::GebKonfList, rec::GebKonfShare, rec::GebKonfShare},
    {"msns_dlg", FileKind::Configuration, rec::PortBlock0 + rec::MsnInBlock, rec::MsnSize * rec::MsnCount, 0},
    {"nahber_dlg", FileKind::SpeedDial, rec::NahBerList, rec::PrefixListSize, 0},
    {"sperrber_dlg", FileKind::SpeedDial, rec::SperrBerList, rec::PrefixListSize, 0},
    {"tndat_dlg", FileKind::Subscribers, rec::TlnData, rec::TlnDataSize, 0},
};

const DialogPlace *placeOf(const char *dialog)
{
    for (const DialogPlace &p : places)
        if (std::strcmp(p.dialog, dialog) == 0)
            return &p;
    return nullptr;
}

} // namespace

const std::vector<DescribedBinding> &describedBindings(const char *dialog)
{
    static std::map<std::string, std::vector<DescribedBinding>> known; // its nodes stay where they are
    if (auto at = known.find(dialog); at != known.end())
        return at->second;
    std::vector<DescribedBinding> bindings;
    if (const DialogPlace *p = placeOf(dialog))
        for (const Field &f : fieldsOf(p->kind))
            if (f.dialog == dialog && !f.widget.empty() && f.offset >= p->base && f.offset < p->base + p->extent)
                bindings.push_back({f.widget.c_str(), f.reading, f.offset - p->base, f.size});
    return known.emplace(dialog, std::move(bindings)).first->second;
}

std::size_t dialogBlock(const char *dialog)
{
    const DialogPlace *p = placeOf(dialog);
    return p ? p->base + p->share * std::size_t(curPbx()) : 0;
}

std::size_t offsetInBlock(const Field &f)
{
    const DialogPlace *p = placeOf(f.dialog.c_str());
    if (!p || f.offset < p->base || f.offset >= p->base + p->extent)
        throw std::logic_error("no block holds " + f.name);
    return f.offset - p->base;
}
