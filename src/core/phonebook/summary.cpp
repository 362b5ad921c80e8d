// What an import tells the user, and reading the address book it starts from.
#include "phonebook/latin1.h"
#include "phonebook/phonebook.h"
#include "resources/fill.h"

#include <algorithm>
#include <sys/stat.h>

namespace phonebook {

namespace {

using Line = std::function<std::string(const char *which)>;

std::string reasonText(const Line &line, const SkippedEntry &s)
{
    std::string code = shownInMessage(s.code);
    switch (s.reason) {
    case SkipReason::CodeOutOfRange: return fillPlaceholders(line("codeOutOfRange"), {code});
    case SkipReason::EmptyNumber: return line("emptyNumber");
    case SkipReason::NumberTooLong: return line("numberTooLong");
    case SkipReason::DuplicateCode: return fillPlaceholders(line("duplicateCode"), {code, std::to_string(s.earlierLine)});
    case SkipReason::Occupied: return fillPlaceholders(line("occupied"), {code});
    case SkipReason::DirectoryFull: return line("directoryFull");
    case SkipReason::AlreadyThere: return fillPlaceholders(line("alreadyThere"), {code});
    case SkipReason::OnlyFax: return line("onlyFax");
    }
    return "";
}

std::string quotedList(const std::vector<std::string> &fields)
{
    std::string out;
    for (std::size_t k = 0; k < fields.size() && k < 30; ++k)
        out += (k ? ", \"" : "\"") + shownInMessage(fields[k]) + "\"";
    if (fields.size() > 30)
        out += ", ...";
    return out;
}

} // namespace

std::vector<std::string> summaryLines(const ImportResult &r, const Line &line)
{
    std::vector<std::string> out = {fillPlaceholders(
        line("counts"), {std::to_string(r.imported.size()), std::to_string(r.cutCount()), std::to_string(r.skipped.size())})};
    struct Said {
        int line;
        std::string name, text;
    };
    std::vector<Said> said;
    for (const ImportedEntry &e : r.imported)
        if (e.cut)
            said.push_back({e.line, e.name, fillPlaceholders(line("cut"), {std::to_string(e.code)})});
    for (const SkippedEntry &e : r.skipped)
        said.push_back({e.line, e.name, reasonText(line, e)});
    for (const Notice &n : r.notices)
        said.push_back({n.line, n.name,
                        n.kind == NoticeKind::LostZero ? fillPlaceholders(line("lostZero"), {n.number}) : line("unclosedQuote")});
    std::stable_sort(said.begin(), said.end(), [](const Said &a, const Said &b) { return a.line < b.line; });
    for (const Said &s : said)
        out.push_back(s.name.empty() ? fillPlaceholders(line("line"), {std::to_string(s.line), s.text})
                                     : fillPlaceholders(line("namedLine"), {std::to_string(s.line), shownInMessage(s.name), s.text}));
    if (r.columns == ColumnTrouble::Unknown)
        out.push_back(fillPlaceholders(line("columnsUnknown"), {quotedList(r.header)}));
    else if (r.columns == ColumnTrouble::Missing)
        out.push_back(fillPlaceholders(line("columnMissing"), {shownInMessage(r.missingColumn), quotedList(r.header)}));
    return out;
}

BookRead readBook(FILE *fp, std::string &bytes)
{
    struct stat st;
    if (fstat(fileno(fp), &st) == 0 && S_ISREG(st.st_mode) && std::uintmax_t(st.st_size) > MaxBookSize)
        return BookRead::TooBig;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, std::min(sizeof buffer, MaxBookSize + 1 - bytes.size()), fp)) > 0) {
        bytes.append(buffer, n);
        if (bytes.size() > MaxBookSize)
            return BookRead::TooBig;
    }
    return std::ferror(fp) ? BookRead::Failed : BookRead::Read;
}

} // namespace phonebook
