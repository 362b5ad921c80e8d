#include "support/e2e_pbxlog.h"

#include <sstream>

std::vector<PbxLogEntry> parsePbxLog(const std::string &text)
{
    std::vector<PbxLogEntry> log;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty())
            continue;
        PbxLogEntry e;
        e.dir = line[0];
        if (e.dir == '#') {
            e.note = line.size() > 2 ? line.substr(2) : "";
        } else {
            std::istringstream words(line.substr(1));
            std::string word;
            while (words >> word) {
                if (word.rfind("00*", 0) == 0)
                    e.zeros = std::stoul(word.substr(3));
                else
                    e.bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
            }
        }
        log.push_back(e);
    }
    return log;
}

std::vector<std::vector<std::uint8_t>> framesOf(const std::vector<PbxLogEntry> &log, char dir)
{
    std::vector<std::vector<std::uint8_t>> frames;
    for (const PbxLogEntry &e : log)
        if (e.dir == dir && !e.bytes.empty())
            frames.push_back(e.bytes);
    return frames;
}
