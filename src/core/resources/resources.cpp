#include "resources/resources.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

#define KELVORA_SECTION_ENTRY(name) res_##name,
const char *const sections[] = {KELVORA_RESOURCE_SECTIONS(KELVORA_SECTION_ENTRY)};
#undef KELVORA_SECTION_ENTRY

// A line ending in an odd number of backslashes goes on in the next one.
bool continues(const std::string &line)
{
    std::size_t n = 0;
    while (n < line.size() && line[line.size() - 1 - n] == '\\')
        ++n;
    return n % 2 == 1;
}

} // namespace

const char **kelvoraFallbackResources()
{
    static std::vector<std::string> lines;
    static std::vector<const char *> table;
    if (!table.empty())
        return table.data();
    for (const char *section : sections) {
        const char *p = section;
        while (*p) {
            const char *end = std::strchr(p, '\n');
            std::string line = end ? std::string(p, end) : std::string(p);
            p = end ? end + 1 : p + line.size();
            while (*p && continues(line)) {
                line.pop_back();
                end = std::strchr(p, '\n');
                std::string next = end ? std::string(p, end) : std::string(p);
                p = end ? end + 1 : p + next.size();
                line += next;
            }
            std::size_t first = line.find_first_not_of(" \t");
            if (first == std::string::npos || line[first] == '!' || line[first] == '#')
                continue;
            lines.push_back(line.substr(first));
        }
    }
    for (const std::string &l : lines)
        table.push_back(l.c_str());
    table.push_back(nullptr);
    return table.data();
}
