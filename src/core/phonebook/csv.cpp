#include "phonebook/csv.h"

#include "phonebook/latin1.h"

namespace phonebook::csv {

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

bool lineEnd(char c) { return c == '\n' || c == '\r'; }

} // namespace

char separatorOf(std::string_view text)
{
    bool quoted = false, seen = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ';')
            return ';';
        else if (!quoted && lineEnd(c) && seen)
            break;
        seen = seen || !(blank(c) || lineEnd(c));
    }
    return ',';
}

std::vector<Record> read(std::string_view text, char separator, std::vector<int> *unclosedQuotes)
{
    std::vector<Record> records;
    const std::size_t n = text.size();
    std::size_t i = 0;
    int line = 1;
    while (i < n) {
        Record record;
        record.line = line;
        bool empty = true; // one blank field only: a blank line
        for (;;) {
            std::size_t j = i;
            while (j < n && blank(text[j]))
                ++j;
            std::string value;
            bool closed = false;
            if (j < n && text[j] == '"') {
                empty = false;
                int opened = line;
                for (i = j + 1; i < n;) {
                    char c = text[i++];
                    if (c == '"') {
                        if (i < n && text[i] == '"') {
                            value += '"';
                            ++i;
                            continue;
                        }
                        closed = true;
                        break;
                    }
                    if (c == '\n' || (c == '\r' && (i == n || text[i] != '\n')))
                        ++line;
                    value += c;
                }
                if (!closed) {
                    // A stray quote, not a field: read on from it as plain text.
                    if (unclosedQuotes)
                        unclosedQuotes->push_back(opened);
                    line = opened;
                    i = j;
                }
            }
            if (closed) {
                std::size_t rest = i;
                while (i < n && text[i] != separator && !lineEnd(text[i]))
                    ++i;
                value += trimmed(text.substr(rest, i - rest));
            } else {
                std::size_t from = i;
                while (i < n && text[i] != separator && !lineEnd(text[i]))
                    ++i;
                value = trimmed(text.substr(from, i - from));
                empty = empty && value.empty();
            }
            record.fields.push_back(std::move(value));
            if (i < n && text[i] == separator) {
                ++i;
                empty = false;
                continue;
            }
            if (i < n) {
                i += text[i] == '\r' && i + 1 < n && text[i + 1] == '\n' ? 2 : 1;
                ++line;
            }
            break;
        }
        if (!empty)
            records.push_back(std::move(record));
    }
    return records;
}

std::string field(std::string_view value, char separator)
{
    bool quote = !value.empty() && (blank(value.front()) || blank(value.back()));
    for (char c : value)
        quote = quote || c == separator || c == ',' || c == ';' || c == '"' || lineEnd(c);
    if (!quote)
        return std::string(value);
    std::string out = "\"";
    for (char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

} // namespace phonebook::csv
