#include "resources/resources.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

const char *const sections[] = {
    res_common, res_main, res_help, res_messages, res_rufzuord, res_anltyp, res_msns, res_zuord,
};

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
