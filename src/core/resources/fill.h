// Filling the placeholders of a resource text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text with "%1" .. "%9" replaced by that argument and each "%s" by the
// next one, left to right; what an argument brings in is not looked at again.
// Not printf: the text may come from a user's resources, and a placeholder
// without its argument stays as it is.
std::string fillPlaceholders(const std::string &text, const std::vector<std::string> &args);

// User text or a device name as a message quotes it: at most 60 characters
// (then "..."), control characters as \xHH, so that nothing the user gave
// can move the cursor, clear the screen or fill it.
std::string shownText(std::string_view text);
// The text with every control character but the line feed as \xHH.
std::string escapedControls(std::string_view text);
