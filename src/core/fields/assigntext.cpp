#include "fields/assigntext.h"

#include "resources/fill.h"

#include <cstdio>
#include <map>

namespace {

// No value show prints comes near this (the longest, a subscriber list with
// every bit, has a few hundred characters): anything longer is refused before
// it is looked at.
constexpr std::size_t MaxValue = 4096;
// Closest labels are searched for this many unknown labels; the others are
// only named.
constexpr int MaxSuggested = 5;

std::string located(const AssignLine &a, const std::string &message)
{
    return (a.where.empty() ? "" : a.where + ": ") + message;
}

// Messages one by one up to MaxTold, then only counted.
class Told {
public:
    void add(std::string message)
    {
        if (messages_.size() < MaxTold)
            messages_.push_back(std::move(message));
        else
            ++more_;
    }
    std::vector<std::string> done()
    {
        if (more_)
            messages_.push_back("und " + std::to_string(more_) + " weitere Fehler");
        return std::move(messages_);
    }

private:
    std::vector<std::string> messages_;
    std::size_t more_ = 0;
};

// The first byte no text may hold raw: C0 and C1 controls and DEL.  show
// writes them as \xHH.
std::size_t controlByte(const std::string &text)
{
    for (std::size_t i = 0; i < text.size(); i++) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x20 || b == 0x7F || (b >= 0x80 && b < 0xA0))
            return i;
    }
    return std::string::npos;
}

// Two targets set the same bits: the same field, and the whole of it or the
// same item.
bool sameBits(const Target &a, const Target &b)
{
    return a.field == b.field && (a.item == 0 || b.item == 0 || (a.item & b.item) != 0);
}

std::string placeOf(const AssignLine &a, std::size_t index)
{
    return a.where.empty() ? "Angabe " + std::to_string(index + 1) : a.where;
}

} // namespace

std::vector<AssignLine> textLines(std::string_view text, const std::string &name)
{
    std::vector<AssignLine> lines;
    std::size_t number = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        std::string_view line = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        at = end == std::string_view::npos ? text.size() : end + 1;
        ++number;
        // An editor that saves CRLF ends its lines so.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos || line[0] == '#')
            continue;
        lines.push_back({name + ":" + std::to_string(number), std::string(line)});
    }
    return lines;
}

std::vector<std::string> resolveLines(const std::vector<AssignLine> &lines, const std::string &separator,
                                      const std::vector<FileKind> &kinds, std::vector<Resolved> &resolved)
{
    Told told;
    int suggested = 0;
    // The lines found so far by their field: a field has only so many items.
    std::map<const Field *, std::vector<std::size_t>> byField;
    for (std::size_t i = 0; i < lines.size(); i++) {
        const AssignLine &a = lines[i];
        if (std::size_t at = controlByte(a.text); at != std::string::npos) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", unsigned(static_cast<unsigned char>(a.text[at])));
            told.add(located(a, std::string("ein Steuerzeichen (") + code + ") in \"" + shownText(a.text) +
                                    "\"; in einem Text steht es als " + code));
            continue;
        }
        Target target;
        std::string value;
        if (!splitAssignment(a.text, separator, kinds, target, value)) {
            std::size_t end = separator == "=" ? a.text.find('=') : a.text.find(": ");
            std::string label = a.text.substr(0, end);
            std::string message = "kein Feld \"" + shownText(label) + "\"";
            if (suggested++ < MaxSuggested) {
                message += "; am nächsten kommen:";
                for (const std::string &c : closestLabels(label, kinds))
                    message += "\n" + c;
            }
            told.add(located(a, message));
            continue;
        }
        if (value.size() > MaxValue) {
            told.add(located(a, "\"" + target.field->label + "\": der Wert ist länger als " +
                                    std::to_string(MaxValue) + " Zeichen"));
            continue;
        }
        std::vector<std::size_t> &same = byField[target.field];
        bool twice = false;
        for (std::size_t k : same)
            if (sameBits(resolved[k].target, target)) {
                const AssignLine &first = lines[resolved[k].line];
                told.add(located(a, "\"" + target.field->label + "\" steht schon in " +
                                        placeOf(first, resolved[k].line) + "; jedes Feld nur einmal"));
                twice = true;
                break;
            }
        if (!twice) {
            same.push_back(resolved.size());
            resolved.push_back({target, value, i});
        }
    }
    return told.done();
}

std::vector<std::string> assignResolved(const std::vector<AssignLine> &lines, const std::vector<Resolved> &resolved,
                                        unsigned char *record, Rules rules)
{
    Told told;
    for (const Resolved &r : resolved) {
        std::string why = assignField(r.target, r.value, record, rules);
        if (!why.empty())
            told.add(located(lines[r.line], "\"" + r.target.field->label + "\" nimmt \"" + shownText(r.value) +
                                                "\" nicht: " + why));
    }
    return told.done();
}

std::vector<std::string> assignLines(const std::vector<AssignLine> &lines, const std::string &separator,
                                     const std::vector<FileKind> &kinds, unsigned char *record, Rules rules)
{
    std::vector<Resolved> resolved;
    std::vector<std::string> troubles = resolveLines(lines, separator, kinds, resolved);
    if (!troubles.empty())
        return troubles;
    return assignResolved(lines, resolved, record, rules);
}
