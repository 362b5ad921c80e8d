// The text set, apply and edit take, on arbitrary bytes: the first byte picks
// the kind of file, the separator and the rules, the rest is the text.
// Checked: no byte outside the kind's fields changes; a speed-dial file keeps
// its mark; a message quotes no C0 control byte and stays short; a text taken
// whole is one whose show applied to the record before gives the same bytes.
#include "config/record.h"
#include "fields/assigntext.h"
#include "fuzzfile.h"
#include "show/describe.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const FileKind Kinds[] = {FileKind::Configuration, FileKind::SpeedDial, FileKind::Subscribers};
const Rules AllRules[] = {Rules::Storage, Rules::Dialog, Rules::Edited};

// A record as a file of the kind loads it: some bytes of every field set.
std::vector<unsigned char> startingRecord(FileKind kind)
{
    std::vector<unsigned char> r(rec::RecordSize, 0x3C);
    for (const Field &f : fieldsOf(kind))
        for (std::size_t i = 0; i < f.size; i++)
            r[f.offset + i] = static_cast<unsigned char>((f.offset + i) * 7);
    std::memcpy(r.data() + rec::KwzHeader, "KwDaten", 8);
    return r;
}

// Built with clang++, the labels' umlauts are UTF-8, and some of their bytes
// fall among the C1 controls a text may not hold raw: show's own lines of
// such labels are then refused, which in the program (ISO 8859-1) they are
// not.  The round trip is checked where no label has such a byte.
bool labelsInLatin1Range(FileKind kind)
{
    for (const Field &f : fieldsOf(kind))
        for (char c : f.label)
            if (static_cast<unsigned char>(c) >= 0x80 && static_cast<unsigned char>(c) < 0xA0)
                return false;
    return true;
}

// The bytes no field of the kind covers.
std::vector<bool> outside(FileKind kind)
{
    std::vector<bool> out(rec::RecordSize, true);
    for (const Field &f : fieldsOf(kind))
        for (std::size_t i = 0; i < f.size; i++)
            out[f.offset + i] = false;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    FileKind kind = Kinds[data[0] % 3];
    Rules rules = AllRules[(data[0] >> 2) % 3];
    std::string separator = data[0] & 0x80 ? "=" : ": ";
    std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);

    static std::vector<bool> notOfKind[3] = {outside(Kinds[0]), outside(Kinds[1]), outside(Kinds[2])};
    std::vector<unsigned char> before = startingRecord(kind), record = before;
    std::vector<std::string> said = assignLines(textLines(text, "t"), separator, {kind}, record.data(), rules);

    for (std::size_t i = 0; i < record.size(); i++)
        if (notOfKind[int(kind)][i] && record[i] != before[i])
            fuzzFail("assigntext", "a byte outside the kind's fields changed", i);
    if (kind == FileKind::SpeedDial && std::memcmp(record.data() + rec::KwzHeader, "KwDaten", 7) != 0)
        fuzzFail("assigntext", "the speed-dial mark changed", 0);
    if (said.size() > MaxTold + 1)
        fuzzFail("assigntext", "more messages than are told", said.size());
    for (const std::string &m : said) {
        // The place, a label of ours, a quote of at most 60 characters and the
        // closest labels: never anywhere near the text's size.
        if (m.size() > 1200)
            fuzzFail("assigntext", "a message too long", m.size());
        for (std::size_t i = 0; i < m.size(); i++) {
            auto b = static_cast<unsigned char>(m[i]);
            if ((b < 0x20 && b != '\n') || b == 0x7F)
                fuzzFail("assigntext", "a control byte in a message", i);
        }
    }
    static const bool roundTrip[3] = {labelsInLatin1Range(Kinds[0]), labelsInLatin1Range(Kinds[1]),
                                      labelsInLatin1Range(Kinds[2])};
    if (!said.empty() || !roundTrip[int(kind)])
        return 0;

    // Taken whole: what show says of the result, applied to the record before,
    // gives the result byte for byte.
    FileImage result{kind, record};
    std::string shown;
    for (const std::string &line : showLines(result))
        shown += line + "\n";
    std::vector<unsigned char> again = before;
    std::vector<std::string> troubles = assignLines(textLines(shown, "show"), ": ", {kind}, again.data(), Rules::Storage);
    if (!troubles.empty()) {
        std::fprintf(stderr, "%s\n", troubles[0].c_str());
        fuzzFail("assigntext", "show's own text refused", troubles.size());
    }
    for (const Field &f : fieldsOf(kind))
        for (std::size_t i = 0; i < f.size; i++)
            if (again[f.offset + i] != record[f.offset + i])
                fuzzFail("assigntext", "show applied does not give the bytes back", f.offset + i);
    return 0;
}
