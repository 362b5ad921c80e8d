#include "resources/fill.h"

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
