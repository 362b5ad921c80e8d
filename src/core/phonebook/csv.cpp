#include "phonebook/csv.h"

#include "phonebook/latin1.h"

namespace phonebook::csv {

namespace {

// Tabs are blanks unless they separate.
bool blank(char c, char separator) { return c == ' ' || (c == '\t' && separator != '\t'); }

bool lineEnd(char c) { return c == '\n' || c == '\r'; }

struct Counts {
    int tabs = 0, semicolons = 0, commas = 0;
};

// The candidates outside quotes in the first line that is not blank; tabs
// before its first character are no separators.
Counts countsOf(std::string_view text)
{
    Counts counts;
    bool quoted = false, seen = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && lineEnd(c) && seen) {
            break;
        } else if (!quoted) {
            counts.tabs += c == '\t' && seen;
            counts.semicolons += c == ';';
            counts.commas += c == ',';
        }
        seen = seen || !(c == ' ' || c == '\t' || lineEnd(c));
    }
    return counts;
}

} // namespace

char separatorOf(std::string_view text)
{
    Counts c = countsOf(text);
    if (c.tabs > c.semicolons && c.tabs > c.commas)
        return '\t';
    return c.semicolons > 0 ? ';' : ',';
}

bool separated(std::string_view text)
{
    Counts c = countsOf(text);
    return c.tabs + c.semicolons + c.commas > 0;
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
            while (j < n && blank(text[j], separator))
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
    bool quote = !value.empty() && (blank(value.front(), 0) || blank(value.back(), 0));
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
