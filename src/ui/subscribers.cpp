#include "ui/subscribers.h"

#include "toolkit/toolkit.h"
#include "ui/access.h"

#include <string>

namespace {

constexpr std::uint32_t GroupBits = 0x3FF;

std::string group(const char *prefix, int g) { return prefix + std::to_string(g); }

} // namespace

void showSubscriberMask(Widget dialog, const char *prefix, std::uint32_t mask)
{
    for (int g = 0; g < 3; g++)
        setChooserState(dialog, group(prefix, g).c_str(), int(mask >> (10 * g) & GroupBits));
}

std::uint32_t readSubscriberMask(Widget dialog, const char *prefix)
{
    std::uint32_t mask = 0;
    for (int g = 0; g < 3; g++) {
        int state = 0;
        getChooserState(dialog, group(prefix, g).c_str(), &state);
        mask |= (std::uint32_t(state) & GroupBits) << (10 * g);
    }
    return mask;
}

void showFunctionMask(FunctionMasks &masks, Widget dialog, int function)
{
    masks.shown = function;
    showSubscriberMask(dialog, masks.prefix, masks.words[std::size_t(function)]);
}

void keepFunctionMask(FunctionMasks &masks, Widget dialog)
{
    std::uint32_t &word = masks.words[std::size_t(masks.shown)];
    word = (word & ~SubscriberBits) | readSubscriberMask(dialog, masks.prefix);
}

bool switchFunctionMask(FunctionMasks &masks, Widget dialog, XtPointer chooserCall)
{
    auto *cbs = static_cast<XmtChooserCallbackStruct *>(chooserCall);
    if (!cbs || cbs->state < 0 || std::size_t(cbs->state) >= masks.words.size())
        return false;
    keepFunctionMask(masks, dialog);
    showFunctionMask(masks, dialog, cbs->state);
    return true;
}

void labelSubscriberItems(Widget dialog, const char *prefix)
{
    setItemLabels(dialog, prefix, "Ruf #", 0, 0, 7);
    for (int g = 1; g <= 2; g++)
        if (hasPort(dialog, g))
            setItemLabels(dialog, prefix, "Ruf #", g, 0, 9);
}

void captionSubscriberFields(Widget dialog, const char *prefix, int last)
{
    setItemCaptions(dialog, prefix, "Ruf #", 0, last < 7 ? last : 7);
    for (int g = 1; g <= 2; g++)
        if (hasPort(dialog, g) && last >= 10 * g)
            setItemCaptions(dialog, prefix, "Ruf #", 10 * g, last < 10 * g + 9 ? last : 10 * g + 9);
}

void senseSubscriberGroups(Widget dialog, const char *prefix)
{
    for (int g = 1; g <= 2; g++)
        setChooserSensitive(dialog, group(prefix, g).c_str(), hasPort(dialog, g));
}

void senseSubscriberRows(Widget dialog, const char *prefix)
{
    for (int k = 0; k < 10; k++) {
        set_activegrp(dialog, prefix, k, 1);
        set_activegrp(dialog, prefix, 10 + k, hasPort(dialog, 1));
        set_activegrp(dialog, prefix, 20 + k, hasPort(dialog, 2));
    }
}
