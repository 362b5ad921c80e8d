#include "fields/assign.h"

#include "config/names.h"
#include "config/record.h"
#include "resources/fill.h"
#include "resources/lookup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

// The mark the speed-dial readers look for.
constexpr const char *KwzMarkText = "KwDaten";

// ---------------------------------------------------------------- labels

struct Labels {
    std::map<std::string, Target> targets;
    std::vector<const std::pair<const std::string, Target> *> sorted; // the same, by label
    std::vector<std::string> lowered;                                   // their labels in lower case
    std::size_t longest = 0;
};

std::string lowered(const std::string &s);

const Labels &labelsOf(FileKind kind)
{
    static std::map<int, Labels> all;
    auto at = all.find(int(kind));
    if (at != all.end())
        return at->second;
    Labels labels;
    for (const Field &f : fieldsOf(kind)) {
        labels.targets[f.label] = {&f, 0, kind};
        if (f.extra)
            continue;
        if (f.reading == Reading::Bits)
            for (const FieldItem &item : f.items)
                labels.targets[f.label + ": " + item.text] = {&f, item.value, kind};
        if (f.reading == Reading::Subscribers)
            for (int i = 0; i < rec::TlnCount; i++)
                labels.targets[f.label + ": " + subscriberName(i)] = {&f, 1u << i, kind};
    }
    Labels &kept = all.emplace(int(kind), std::move(labels)).first->second;
    for (const auto &entry : kept.targets) {
        kept.sorted.push_back(&entry);
        kept.lowered.push_back(lowered(entry.first));
        kept.longest = std::max(kept.longest, entry.first.size());
    }
    return kept;
}

std::string lowered(const std::string &s)
{
    std::string out = s;
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return out;
}

// The edit distance, or limit + 1 as soon as it must be more than limit.
std::size_t editDistance(const std::string &a, const std::string &b, std::size_t limit)
{
    std::size_t apart = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (apart > limit)
        return limit + 1;
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); j++)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); i++) {
        std::size_t diagonal = row[0];
        row[0] = i;
        std::size_t least = row[0];
        for (std::size_t j = 1; j <= b.size(); j++) {
            std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
            least = std::min(least, row[j]);
        }
        if (least > limit)
            return limit + 1;
    }
    return row[b.size()];
}

// ---------------------------------------------------------------- values

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool hexByte(const std::string &s, std::size_t at, unsigned &value)
{
    if (at + 2 > s.size() || hexDigit(s[at]) < 0 || hexDigit(s[at + 1]) < 0)
        return false;
    value = unsigned(hexDigit(s[at]) * 16 + hexDigit(s[at + 1]));
    return true;
}

// "00 42 07": bytes in hex, one blank between.
bool hexBytes(const std::string &s, std::vector<unsigned char> &bytes)
{
    bytes.clear();
    for (std::size_t at = 0; at < s.size(); at += 3) {
        unsigned v;
        if (!hexByte(s, at, v) || (at + 2 < s.size() && s[at + 2] != ' '))
            return false;
        bytes.push_back(static_cast<unsigned char>(v));
    }
    return !s.empty() && s.back() != ' ';
}

// "0x07" as show prints a value no item names.
bool rawValue(const std::string &s, unsigned &value)
{
    return s.size() == 4 && s.compare(0, 2, "0x") == 0 && hexByte(s, 2, value);
}

bool isNumber(const std::string &s)
{
    return !s.empty() && s.size() <= 10 && s.find_first_not_of("0123456789") == std::string::npos;
}

std::string itemList(const Field &f)
{
    std::vector<std::string> texts;
    for (const FieldItem &item : f.items)
        texts.push_back(item.text);
    return joined(texts);
}

// A list as show prints it: names (longest first where one starts another),
// ", " between, "(keine)" for none.
bool nameList(const std::string &s, const std::vector<std::pair<std::string, std::uint32_t>> &names,
              std::uint32_t &bits, std::string &unknown)
{
    bits = 0;
    if (s == "(keine)")
        return true;
    std::size_t at = 0;
    while (at <= s.size()) {
        std::size_t best = 0;
        std::uint32_t value = 0;
        for (const auto &[name, b] : names)
            if (name.size() > best && s.compare(at, name.size(), name) == 0 &&
                (at + name.size() == s.size() || s.compare(at + name.size(), 2, ", ") == 0)) {
                best = name.size();
                value = b;
            }
        if (!best) {
            std::size_t end = s.find(", ", at);
            unknown = s.substr(at, end == std::string::npos ? std::string::npos : end - at);
            return false;
        }
        bits |= value;
        at += best;
        if (at == s.size())
            return true;
        at += 2;
    }
    return true;
}

struct TextValue {
    std::string text;
    std::vector<unsigned char> behind;
};

// The escapes of show undone: "\\" a backslash, "\xHH" any byte; "(leer)" none.
std::string decodeText(const std::string &value, TextValue &out)
{
    std::string s = value;
    out = {};
    if (std::size_t at = s.rfind(" [dahinter "); at != std::string::npos && s.back() == ']') {
        if (!hexBytes(s.substr(at + 11, s.size() - at - 12), out.behind))
            return "hinter \"[dahinter\" stehen Bytes in Hex, z. B. [dahinter 00 07]";
        s.resize(at);
    }
    if (s == "(leer)")
        return "";
    for (std::size_t i = 0; i < s.size(); i++) {
        if (s[i] != '\\') {
            out.text += s[i];
            continue;
        }
        unsigned v;
        if (i + 1 < s.size() && s[i + 1] == '\\') {
            out.text += '\\';
            i++;
        } else if (i + 1 < s.size() && s[i + 1] == 'x' && hexByte(s, i + 2, v) && v != 0) {
            out.text += char(v);
            i += 3;
        } else {
            return "ein \\ steht nur als \\\\ oder \\xHH (HH nicht 00)";
        }
    }
    return "";
}

bool fitsPattern(const std::string &pattern, const std::string &text)
{
    if (text.size() > pattern.size())
        return false;
    for (std::size_t i = 0; i < text.size(); i++) {
        auto c = static_cast<unsigned char>(text[i]);
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
        bool fits = pattern[i] == 'd' ? c >= '0' && c <= '9'
                    : pattern[i] == 'a' ? letter
                    : pattern[i] == 'c' ? c >= 0x20 && c != 0x7F
                                        : c == static_cast<unsigned char>(pattern[i]);
        if (!fits)
            return false;
    }
    return true;
}

// What a pattern allows, in words.
std::string patternWords(const FieldRule &r)
{
    bool digits = r.pattern.find_first_not_of('d') == std::string::npos;
    std::string count = std::to_string(r.pattern.size());
    std::string what = digits ? (r.pattern.size() == 1 ? " Ziffer" : " Ziffern") : " Zeichen";
    return (r.wholePattern ? "genau " : "bis zu ") + count + what;
}

std::string rangeWords(long low, long high)
{
    return "Der Wert muß zwischen " + std::to_string(low) + " und " + std::to_string(high) + " liegen";
}

std::string rangeWords(const FieldCheck &c) { return rangeWords(c.low, c.high); }

std::string assignText(const Field &f, const std::string &value, unsigned char *p, Rules rules)
{
    TextValue v;
    if (std::string error = decodeText(value, v); !error.empty())
        return error;
    if (rules == Rules::Dialog) {
        const FieldRule &r = f.rule;
        if (!v.behind.empty())
            return "Bytes hinter dem Text nimmt kein Dialog";
        std::size_t room = std::min(f.size - 1, r.pattern.empty() ? f.size - 1 : r.pattern.size());
        if (v.text.size() > room || (!r.pattern.empty() && !fitsPattern(r.pattern, v.text)) ||
            (r.wholePattern && !v.text.empty() && v.text.size() != r.pattern.size()))
            return r.pattern.empty() ? "erlaubt sind bis zu " + std::to_string(room) + " Zeichen"
                                     : "erlaubt sind " + patternWords(r);
        if (r.check && !checkAccepts(*r.check, v.text.c_str()))
            return r.check->low < 0 ? r.refusal : rangeWords(*r.check);
        // The field reads as given: nothing of the old text stays behind its end.
        std::memset(p, 0, f.size);
        std::memcpy(p, v.text.data(), v.text.size());
        return "";
    }
    if (v.text.size() > f.size || (!v.behind.empty() && v.text.size() + 1 + v.behind.size() > f.size))
        return "das Feld hat " + std::to_string(f.size) + " Bytes";
    std::memset(p, 0, f.size);
    std::memcpy(p, v.text.data(), v.text.size());
    std::copy(v.behind.begin(), v.behind.end(), p + v.text.size() + 1);
    return "";
}

std::string assignDecimal(const Field &f, const std::string &value, unsigned char *p, Rules rules)
{
    std::uint64_t most = f.size >= 4 ? 0xFFFFFFFFull : (1ull << (8 * f.size)) - 1;
    const FieldRule &r = f.rule;
    long low = 0, high = long(most);
    if (rules == Rules::Dialog) {
        if (!r.pattern.empty()) {
            long digits = 1;
            for (std::size_t i = 0; i < r.pattern.size(); i++)
                digits *= 10;
            high = std::min(high, digits - 1);
        }
        if (r.check && r.check->low >= 0) {
            low = std::max(low, r.check->low);
            high = std::min(high, r.check->high);
        }
    }
    if (!isNumber(value) || std::stoull(value) < std::uint64_t(low) || std::stoull(value) > std::uint64_t(high))
        return rangeWords(low, high);
    putLe(p, f.size, std::uint32_t(std::stoull(value)));
    return "";
}

std::string assignChoice(const Field &f, const std::string &value, unsigned char *p, Rules rules)
{
    unsigned v = 0;
    bool found = false;
    for (const FieldItem &item : f.items)
        if (item.text == value) {
            v = item.value;
            found = true;
        }
    if (!found && rules == Rules::Storage && value.size() == 8 && value.compare(0, 3, "? (") == 0 &&
        value.back() == ')' && rawValue(value.substr(3, 4), v) && (v & ~f.mask) == 0)
        found = true;
    if (!found)
        return "erlaubt sind: " + itemList(f);
    p[0] = static_cast<unsigned char>((p[0] & ~f.mask) | v);
    return "";
}

std::string assignBits(const Field &f, const std::string &value, unsigned char *p, Rules rules)
{
    std::vector<std::pair<std::string, std::uint32_t>> names;
    for (const FieldItem &item : f.items)
        names.push_back({item.text, item.value});
    if (rules == Rules::Storage)
        for (unsigned b = 1; b < 0x100; b++)
            if ((b & ~f.mask) == 0) {
                char text[8];
                std::snprintf(text, sizeof text, "0x%02X", b);
                names.push_back({text, b});
            }
    std::uint32_t bits;
    std::string unknown;
    if (!nameList(value, names, bits, unknown))
        return "\"" + shownText(unknown) + "\" ist keins von: " + itemList(f) +
               " (mehrere durch \", \" getrennt, keins: (keine))";
    // The dialog's check box carries the bits it shows no box for.
    unsigned keep = ~f.mask & 0xFFu;
    if (rules == Rules::Dialog)
        for (unsigned b = 1; b < 0x100; b <<= 1)
            if ((f.mask & b) && std::none_of(f.items.begin(), f.items.end(), [b](const FieldItem &i) { return i.value == b; }))
                keep |= b;
    p[0] = static_cast<unsigned char>((p[0] & keep) | (bits & ~keep));
    return "";
}

std::string assignTime(const Field &f, const std::string &value, unsigned char *p, Rules rules)
{
    if (value == "(keine)" && rules == Rules::Storage) {
        putLe(p, 2, NoTimeOfDay);
        return "";
    }
    const char *allowed = rules == Rules::Dialog ? "erlaubt ist hh:mm von 00:00 bis 23:59" : "erlaubt ist hh:mm oder (keine)";
    unsigned hours, minutes;
    if (value.size() != 5 || value[2] != ':' || !hexByte(value, 0, hours) || !hexByte(value, 3, minutes))
        return allowed;
    if (rules == Rules::Dialog) {
        // The field's check takes the four digits as typed; a time without one
        // (the wake-up time) is held to the sensor's.
        const FieldCheck *check = f.rule.check ? f.rule.check : checkNamed("Check_0_2359");
        bool decimal = value.find_first_not_of("0123456789:") == std::string::npos;
        std::string typed = value.substr(0, 2) + value.substr(3);
        if (!decimal || !check || !checkAccepts(*check, typed.c_str()))
            return allowed;
    }
    putLe(p, 2, hours << 8 | minutes);
    return "";
}

std::string assignSubscribers(const Field &f, const std::string &value, unsigned char *p, Rules rules)
{
    (void)f;
    std::vector<std::pair<std::string, std::uint32_t>> names;
    for (int i = 0; i < rec::TlnCount; i++)
        names.push_back({subscriberName(i), 1u << i});
    if (rules == Rules::Storage)
        for (int i = rec::TlnCount; i < 32; i++)
            names.push_back({"Bit " + std::to_string(i), 1u << i});
    std::uint32_t bits;
    std::string unknown;
    if (!nameList(value, names, bits, unknown))
        return "\"" + shownText(unknown) + "\" ist kein Teilnehmer (AB  #1 .. S1  #9, durch \", \" getrennt, keiner: (keine))";
    // As the dialogs: bits 30-31 belong to no subscriber and stay.
    std::uint32_t keep = rules == Rules::Dialog ? 0xC0000000u : 0;
    putLe(p, 4, (getLe(p, 4) & keep) | bits);
    return "";
}

// "Ein" or "Aus", the window's own words for a switch.
std::string assignItem(const Target &t, const std::string &value, unsigned char *p)
{
    std::vector<std::string> words = builtinList("*globdat*ava.strings"); // Aus, Ein
    if (words.size() != 2 || (value != words[0] && value != words[1]))
        return "erlaubt sind: " + joined(words);
    bool on = value == words[1];
    std::size_t size = t.field->size;
    std::uint32_t v = getLe(p, size);
    putLe(p, size, on ? v | t.item : v & ~t.item);
    return "";
}

} // namespace

namespace {

// The shortest label of the kind that text starts with and that the separator
// follows: its length, or npos.  One walk along the text, narrowing the sorted
// labels to those that share what was walked, however long the text or
// however many separators it holds.
std::size_t labelEnd(const Labels &labels, const std::string &text, const std::string &separator, Target &target)
{
    auto lo = labels.sorted.begin(), hi = labels.sorted.end();
    for (std::size_t k = 0; lo != hi; ++k) {
        // Within the range a label of length k comes first.
        if ((*lo)->first.size() == k && text.compare(k, separator.size(), separator) == 0) {
            target = (*lo)->second;
            return k;
        }
        if (k >= text.size())
            break;
        char c = text[k];
        auto charAt = [k](const std::pair<const std::string, Target> *e) {
            return e->first.size() > k ? static_cast<unsigned char>(e->first[k]) : -1;
        };
        lo = std::partition_point(lo, hi, [&](auto *e) { return charAt(e) < static_cast<unsigned char>(c); });
        hi = std::partition_point(lo, hi, [&](auto *e) { return charAt(e) == static_cast<unsigned char>(c); });
    }
    return std::string::npos;
}

} // namespace

bool splitAssignment(const std::string &text, const std::string &separator, const std::vector<FileKind> &kinds,
                     Target &target, std::string &value)
{
    std::size_t best = std::string::npos;
    for (FileKind kind : kinds) {
        Target found;
        std::size_t end = labelEnd(labelsOf(kind), text, separator, found);
        if (end < best) {
            best = end;
            target = found;
        }
    }
    if (best == std::string::npos)
        return false;
    value = text.substr(best + separator.size());
    return true;
}

std::vector<std::string> closestLabels(const std::string &label, const std::vector<FileKind> &kinds)
{
    std::size_t longest = 0;
    for (FileKind kind : kinds)
        longest = std::max(longest, labelsOf(kind).longest);
    // Beyond the longest label a text is no nearer to any: the distance is
    // taken over what could be a label only.
    std::string want = lowered(label.substr(0, longest + 8));
    // The three closest so far, the first found first among equals; a label
    // further away than the third is not worth finishing.
    std::vector<std::pair<std::size_t, const std::string *>> best;
    for (FileKind kind : kinds) {
        const Labels &labels = labelsOf(kind);
        for (std::size_t i = 0; i < labels.sorted.size(); i++) {
            const std::string &have = labels.lowered[i];
            std::size_t limit = best.size() < 3 ? std::string::npos - 1 : best[2].first;
            // A label that holds what was typed is as close as one gets.
            std::size_t d =
                want.size() > 3 && have.find(want) != std::string::npos ? 0 : editDistance(want, have, limit);
            if (best.size() == 3 && d >= best[2].first)
                continue;
            auto at = std::upper_bound(best.begin(), best.end(), d, [](std::size_t v, auto &e) { return v < e.first; });
            best.insert(at, {d, &labels.sorted[i]->first});
            if (best.size() > 3)
                best.pop_back();
        }
    }
    std::vector<std::string> out;
    for (const auto &[d, name] : best)
        out.push_back(*name);
    return out;
}

namespace {

std::string assignReading(const Field &f, const std::string &value, unsigned char *p, Rules rules)
{
    switch (f.reading) {
    case Reading::Text: return assignText(f, value, p, rules);
    case Reading::Decimal: return assignDecimal(f, value, p, rules);
    case Reading::Choice: return assignChoice(f, value, p, rules);
    case Reading::Bits: return assignBits(f, value, p, rules);
    case Reading::TimeOfDay: return assignTime(f, value, p, rules);
    case Reading::Subscribers: return assignSubscribers(f, value, p, rules);
    case Reading::Bytes: {
        std::vector<unsigned char> bytes;
        if (!hexBytes(value, bytes) || bytes.size() != f.size)
            return "erlaubt sind " + std::to_string(f.size) + " Bytes in Hex, durch Leerzeichen getrennt";
        std::copy(bytes.begin(), bytes.end(), p);
        return "";
    }
    }
    return "";
}

// What the readers of a file take as its mark: a field that holds it may be
// set only to what still has it.
std::string markKept(const Field &f, const unsigned char *record)
{
    if (f.name != "kwz.kennung" || std::memcmp(record + f.offset, KwzMarkText, std::strlen(KwzMarkText)) == 0)
        return "";
    return std::string("eine Kurzwahl-Datei beginnt mit \"") + KwzMarkText + "\", sonst lädt sie niemand";
}

} // namespace

std::string assignField(const Target &t, const std::string &value, unsigned char *record, Rules rules)
{
    const Field &f = *t.field;
    unsigned char *p = record + f.offset;
    if (t.item)
        return assignItem(t, value, p);
    if (value == readField(f, record))
        return "";
    if (rules == Rules::Edited)
        rules = f.dialog.empty() ? Rules::Storage : Rules::Dialog;
    if (rules == Rules::Dialog && f.dialog.empty())
        return "das zeigt kein Dialog; nur apply setzt es";
    std::vector<unsigned char> before(p, p + f.size);
    std::string why = assignReading(f, value, p, rules);
    if (why.empty())
        why = markKept(f, record);
    if (!why.empty())
        std::copy(before.begin(), before.end(), p);
    return why;
}
