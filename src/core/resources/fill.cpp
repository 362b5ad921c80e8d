#include "resources/fill.h"

#include <cstdio>

std::string fillPlaceholders(const std::string &text, const std::vector<std::string> &args)
{
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char mark = i + 1 < text.size() && text[i] == '%' ? text[i + 1] : '\0';
        std::size_t arg = mark >= '1' && mark <= '9' ? std::size_t(mark - '1') : mark == 's' ? next++ : args.size();
        if (arg < args.size()) {
            out += args[arg];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string escapedControls(std::string_view text)
{
    std::string out;
    for (char ch : text) {
        auto b = static_cast<unsigned char>(ch);
        if ((b < 0x20 && ch != '\n') || b == 0x7F || (b >= 0x80 && b < 0xA0)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", unsigned(b));
            out += escaped;
        } else {
            out += ch;
        }
    }
    return out;
}

std::string shownText(std::string_view text)
{
    constexpr std::size_t Shown = 60;
    std::string out;
    for (char ch : text.substr(0, Shown))
        out += ch == '\n' ? std::string("\\x0A") : escapedControls(std::string_view(&ch, 1));
    if (text.size() > Shown)
        out += "...";
    return out;
}
