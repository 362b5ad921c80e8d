// Numbers from text someone else wrote: the command line, a field, a lock
// file.  atoi and sscanf("%d") are undefined for a number out of range and
// take "12abc" as 12; these take the whole text or nothing.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <optional>

// The whole text as a decimal number from low to high; nothing for an empty
// text, leading blanks, anything after the digits or a number out of range.
inline std::optional<long> decimalIn(const char *text, long low, long high)
{
    if (!text || !((*text >= '0' && *text <= '9') || *text == '-' || *text == '+'))
        return std::nullopt;
    char *end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < low || value > high)
        return std::nullopt;
    return value;
}

// A number field's text: empty counts as 0, as it always has in the dialogs.
inline std::optional<long> fieldDecimalIn(const char *text, long low, long high)
{
    if (!text || !*text)
        return low <= 0 && high >= 0 ? std::optional<long>(0) : std::nullopt;
    return decimalIn(text, low, high);
}
