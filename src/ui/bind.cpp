#include "ui/bind.h"

#include "config/record.h"
#include "fields/fields.h"
#include "toolkit/toolkit.h"
#include "ui/access.h"
#include "ui/subscribers.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

int chooserState(Widget dialog, const char *name)
{
    int state = 0;
    getChooserState(dialog, name, &state);
    return state;
}

void fillOne(Widget dialog, const Binding &b, const unsigned char *p)
{
    char text[8];
    switch (b.codec) {
    case Codec::ChooserByte:
    case Codec::ChooserBits:
        setChooserState(dialog, b.widget, p[0]);
        break;
    case Codec::Dec8:
        SetNumField(dialog, b.widget, -1, p[0]);
        break;
    case Codec::Dec16:
        SetNumField(dialog, b.widget, -1, getLe16(p));
        break;
    case Codec::HexTime16:
        std::snprintf(text, sizeof text, "%04X", unsigned(getLe16(p)));
        SetField(dialog, b.widget, text);
        break;
    case Codec::SubscriberMask:
        showSubscriberMask(dialog, b.widget, getLe32(p));
        break;
    case Codec::Text:
        break; // the toolkit's buffer binding
    }
}

void storeOne(Widget dialog, const Binding &b, unsigned char *p)
{
    unsigned value = 0;
    switch (b.codec) {
    case Codec::ChooserByte:
    case Codec::ChooserBits:
        p[0] = static_cast<unsigned char>(chooserState(dialog, b.widget));
        break;
    case Codec::Dec8:
        p[0] = static_cast<unsigned char>(GetNumField(dialog, b.widget, -1));
        break;
    case Codec::Dec16:
        putLe16(p, static_cast<std::uint16_t>(GetNumField(dialog, b.widget, -1)));
        break;
    case Codec::HexTime16:
        if (const char *text = GetField(dialog, b.widget); text && std::sscanf(text, "%4X", &value) == 1)
            putLe16(p, static_cast<std::uint16_t>(value));
        break;
    case Codec::SubscriberMask:
        putLe32(p, (getLe32(p) & ~SubscriberBits) | readSubscriberMask(dialog, b.widget));
        break;
    case Codec::Text:
        break;
    }
}

// Nothing for raw bytes: no widget shows them, so such a row binds nothing.
std::optional<Codec> codecOf(const DescribedBinding &b)
{
    switch (b.reading) {
    case Reading::Text: return Codec::Text;
    case Reading::Decimal: return b.size == 1 ? Codec::Dec8 : Codec::Dec16;
    case Reading::TimeOfDay: return Codec::HexTime16;
    case Reading::Choice: return Codec::ChooserByte;
    case Reading::Bits: return Codec::ChooserBits;
    case Reading::Subscribers: return Codec::SubscriberMask;
    case Reading::Bytes: break;
    }
    return std::nullopt;
}

std::span<const Binding> tableOf(const RecordDialog &d) { return d.table.empty() ? describedTable(d.name) : d.table; }

} // namespace

std::span<const Binding> describedTable(const char *dialog)
{
    static std::map<std::string, std::vector<Binding>> tables; // its nodes stay where they are
    auto at = tables.find(dialog);
    if (at == tables.end()) {
        std::vector<Binding> table;
        for (const DescribedBinding &b : describedBindings(dialog))
            if (std::optional<Codec> codec = codecOf(b))
                table.push_back({b.widget, *codec, b.offset, b.size});
        at = tables.emplace(dialog, std::move(table)).first;
    }
    return at->second;
}

void endForMissingResources(const char *what, const char *name)
{
    std::fprintf(stderr, "kelvora: %s %s\n", what, name);
    std::exit(1);
}

Widget buildDialogOnce(Widget &dialog, Widget parent, const char *name, XtResourceList resources, Cardinal count)
{
    if (!dialog) {
        dialog = XmtBuildDialog(parent, name, resources, count);
        if (!dialog)
            endForMissingResources("cannot build", name);
    }
    return dialog;
}

void fillBindings(Widget dialog, std::span<const Binding> table, const unsigned char *block)
{
    for (const Binding &b : table)
        fillOne(dialog, b, block + b.offset);
}

void storeBindings(Widget dialog, std::span<const Binding> table, unsigned char *block)
{
    for (const Binding &b : table)
        storeOne(dialog, b, block + b.offset);
}

Widget buildRecordDialog(RecordDialog &d, Widget parent)
{
    if (d.shell)
        return d.shell;
    std::vector<XtResource> buffers;
    for (const Binding &b : tableOf(d))
        if (b.codec == Codec::Text)
            buffers.push_back({const_cast<char *>(b.widget), const_cast<char *>(b.widget),
                               const_cast<char *>("Buffer"), Cardinal(b.size), Cardinal(b.offset), nullptr, nullptr});
    return buildDialogOnce(d.shell, parent, d.name, buffers.data(), Cardinal(buffers.size()));
}

bool runRecordDialog(RecordDialog &d, Widget parent, const std::function<void(Widget)> &prepare)
{
    buildRecordDialog(d, parent);
    unsigned char *block = recAt(d.block());
    fillBindings(d.shell, tableOf(d), block);
    if (prepare)
        prepare(d.shell);
    if (!XmtDialogDo(d.shell, block))
        return false;
    storeBindings(d.shell, tableOf(d), block);
    incRecInt(d.counter);
    return true;
}
