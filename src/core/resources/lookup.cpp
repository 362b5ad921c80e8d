#include "resources/lookup.h"

#include "resources/resources.h"

#include <cstring>

std::string builtinResource(const std::string &key)
{
    for (const char **line = kelvoraFallbackResources(); *line; ++line) {
        const char *colon = std::strchr(*line, ':');
        if (!colon || std::size_t(colon - *line) != key.size() || key.compare(0, key.size(), *line, key.size()) != 0)
            continue;
        const char *p = colon + 1;
        while (*p == ' ' || *p == '\t')
            ++p;
        std::string value;
        for (; *p; ++p) {
            if (*p == '\\' && p[1] == 'n') {
                value += '\n';
                ++p;
            } else if (*p == '\\' && p[1]) {
                value += *++p;
            } else {
                value += *p;
            }
        }
        return value;
    }
    return "";
}

std::vector<std::string> builtinList(const std::string &key)
{
    std::string text = builtinResource(key);
    std::vector<std::string> out;
    std::size_t p = 0;
    auto blank = [&text](std::size_t at) { return text[at] == ' ' || text[at] == '\t' || text[at] == '\n'; };
    for (;;) {
        while (p < text.size() && blank(p))
            ++p;
        if (p >= text.size())
            break;
        std::string item;
        if (text[p] == '"') {
            std::size_t end = text.find('"', p + 1);
            item = text.substr(p + 1, end == std::string::npos ? std::string::npos : end - p - 1);
            p = end == std::string::npos ? text.size() : text.find(',', end);
        } else {
            std::size_t end = text.find(',', p);
            item = text.substr(p, end == std::string::npos ? std::string::npos : end - p);
            while (!item.empty() && (item.back() == ' ' || item.back() == '\t' || item.back() == '\n'))
                item.pop_back();
            p = end;
        }
        out.push_back(item);
        if (p == std::string::npos || p >= text.size())
            break;
        ++p; // the comma
    }
    return out;
}

std::string labelText(const std::string &text)
{
    std::size_t from = text.find_first_not_of(" \t");
    if (from == std::string::npos)
        return "";
    std::size_t to = text.find_last_not_of(" \t:");
    return to == std::string::npos || to < from ? "" : text.substr(from, to - from + 1);
}
