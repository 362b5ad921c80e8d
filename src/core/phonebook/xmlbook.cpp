#include "phonebook/xmlbook.h"

#include "phonebook/latin1.h"

#include <cstring>
#include <expat.h>
#include <iconv.h>

namespace phonebook::xmlbook {

namespace {

struct Reader {
    XML_Parser parser;
    Book book;
    std::size_t depth = 0; // elements open
    // How many of those the reader asks about are open: counted, as a file
    // may nest elements a million deep.
    int persons = 0, telephonies = 0, contacts = 0;
    std::string text; // of the element being read
    Card card;
    bool inContact = false;
    std::string numberType;
    int numberLine = 0;

    int line() const { return int(XML_GetCurrentLineNumber(parser)); }
    int *counter(const char *name)
    {
        return std::strcmp(name, "person") == 0      ? &persons
               : std::strcmp(name, "telephony") == 0 ? &telephonies
               : std::strcmp(name, "contact") == 0   ? &contacts
                                                     : nullptr;
    }
};

std::string attribute(const XML_Char **attributes, const char *name)
{
    for (int k = 0; attributes[k]; k += 2)
        if (std::strcmp(attributes[k], name) == 0)
            return attributes[k + 1];
    return "";
}

void XMLCALL started(void *data, const XML_Char *name, const XML_Char **attributes)
{
    auto &r = *static_cast<Reader *>(data);
    if (r.depth++ == 0)
        r.book.root = name;
    if (int *n = r.counter(name))
        ++*n;
    r.text.clear();
    if (std::strcmp(name, "contact") == 0 && !r.inContact) {
        r.card = Card{};
        r.card.line = r.line();
        r.inContact = true;
    } else if (std::strcmp(name, "number") == 0) {
        r.numberType = attribute(attributes, "type");
        r.numberLine = r.line();
    }
}

void XMLCALL ended(void *data, const XML_Char *name)
{
    auto &r = *static_cast<Reader *>(data);
    --r.depth;
    if (int *n = r.counter(name))
        --*n;
    if (!r.inContact) {
        r.text.clear();
        return;
    }
    std::string value(trimmed(r.text));
    r.text.clear();
    if (std::strcmp(name, "realName") == 0 && r.persons > 0 && r.card.name.empty()) {
        r.card.name = value;
    } else if (std::strcmp(name, "number") == 0 && r.telephonies > 0) {
        bool dialled = r.numberType != "intern" && r.numberType != "memo";
        if (dialled && !value.empty())
            r.card.tels.push_back({r.numberLine, value, r.numberType.find("fax") != std::string::npos});
    } else if (std::strcmp(name, "contact") == 0 && r.contacts == 0) {
        r.book.cards.push_back(std::move(r.card));
        r.inContact = false;
    }
}

void XMLCALL characters(void *data, const XML_Char *s, int length)
{
    static_cast<Reader *>(data)->text.append(s, std::size_t(length));
}

void XMLCALL declared(void *data, const XML_Char *, const XML_Char *encoding, int)
{
    if (encoding)
        static_cast<Reader *>(data)->book.declaredEncoding = encoding;
}

// A single-byte code page expat does not know (windows-1252 and its like):
// each byte's character through iconv.
int XMLCALL unknownEncoding(void *, const XML_Char *name, XML_Encoding *info)
{
    iconv_t cd = iconv_open("UCS-4LE", name);
    if (cd == iconv_t(-1))
        return XML_STATUS_ERROR;
    for (int b = 0; b < 256; ++b) {
        char in = char(b);
        unsigned char out[4];
        char *from = &in, *to = reinterpret_cast<char *>(out);
        std::size_t inLeft = 1, outLeft = 4;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        bool one = iconv(cd, &from, &inLeft, &to, &outLeft) != std::size_t(-1) && outLeft == 0;
        info->map[b] = one ? int(out[0] | out[1] << 8 | out[2] << 16 | unsigned(out[3]) << 24) : -1;
    }
    iconv_close(cd);
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

} // namespace

bool looksLikeXml(std::string_view text)
{
    std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '<';
}

Book read(std::string_view bytes)
{
    Reader r{};
    r.parser = XML_ParserCreate(nullptr);
    if (!r.parser) {
        r.book.error = "out of memory";
        return r.book;
    }
    XML_SetUserData(r.parser, &r);
    XML_SetElementHandler(r.parser, started, ended);
    XML_SetCharacterDataHandler(r.parser, characters);
    XML_SetXmlDeclHandler(r.parser, declared);
    XML_SetUnknownEncodingHandler(r.parser, unknownEncoding, nullptr);
    if (XML_Parse(r.parser, bytes.data(), int(bytes.size()), XML_TRUE) == XML_STATUS_ERROR) {
        r.book.errorLine = std::max(1, r.line());
        r.book.error = XML_ErrorString(XML_GetErrorCode(r.parser));
    }
    XML_ParserFree(r.parser);
    return std::move(r.book);
}

} // namespace phonebook::xmlbook
