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

std::string noticeText(const Line &line, const Notice &n)
{
    switch (n.kind) {
    case NoticeKind::LostZero: return fillPlaceholders(line("lostZero"), {n.number});
    case NoticeKind::UnclosedQuote: return line("unclosedQuote");
    case NoticeKind::CodeIgnored:
        return fillPlaceholders(line("codeIgnored"), {shownInMessage(n.code), std::to_string(n.storedAt)});
    }
    return "";
}

// What the file was read as: format, encoding, and of a CSV its separator and
// header.
std::string readAs(const ImportResult &r, const Line &line)
{
    std::string encoding = !r.declaredEncoding.empty() ? shownInMessage(r.declaredEncoding)
                                                       : std::string(encodingName(r.encoding));
    switch (r.format) {
    case Format::VCard: return fillPlaceholders(line("readVCard"), {encoding});
    case Format::Ldif: return fillPlaceholders(line("readLdif"), {encoding});
    case Format::Xml:
        return fillPlaceholders(line(r.trouble == Trouble::Clear || r.trouble == Trouble::NoEntries ? "readXml" : "readOtherXml"),
                                {encoding});
    case Format::Unknown: return fillPlaceholders(line("readUnknown"), {encoding});
    case Format::Csv: break;
    }
    std::string separator = line(r.separator == '\t' ? "tab" : r.separator == ';' ? "semicolon" : "comma");
    std::string text = fillPlaceholders(line("readCsv"), {encoding, separator});
    if (r.headerLine > 0)
        text += fillPlaceholders(line("headerAt"), {std::to_string(r.headerLine)});
    else if (r.contacts > 0)
        text += line("noHeader");
    return text;
}

std::string troubleText(const ImportResult &r, const Line &line)
{
    switch (r.trouble) {
    case Trouble::Clear: break;
    case Trouble::NoFormat: return line("noFormat");
    case Trouble::NoEntries: return line("noEntries");
    case Trouble::ColumnsUnknown: return fillPlaceholders(line("columnsUnknown"), {quotedList(r.header)});
    case Trouble::ColumnMissing:
        return fillPlaceholders(line("columnMissing"), {shownInMessage(r.missingColumn), quotedList(r.header)});
    case Trouble::BrokenXml:
        return fillPlaceholders(line("brokenXml"), {std::to_string(r.errorLine), shownInMessage(r.error)});
    case Trouble::NoPhoneBook: return fillPlaceholders(line("noPhoneBook"), {shownInMessage(r.xmlRoot)});
    }
    return "";
}

} // namespace

std::vector<std::string> summaryLines(const ImportResult &r, const Line &line)
{
    std::vector<std::string> out = {fillPlaceholders(
        line("counts"), {std::to_string(r.imported.size()), std::to_string(r.cutCount()), std::to_string(r.skipped.size())}),
        readAs(r, line)};
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
        said.push_back({n.line, n.name, noticeText(line, n)});
    std::stable_sort(said.begin(), said.end(), [](const Said &a, const Said &b) { return a.line < b.line; });
    for (const Said &s : said)
        out.push_back(s.name.empty() ? fillPlaceholders(line("line"), {std::to_string(s.line), s.text})
                                     : fillPlaceholders(line("namedLine"), {std::to_string(s.line), shownInMessage(s.name), s.text}));
    if (r.trouble != Trouble::Clear)
        out.push_back(troubleText(r, line));
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
