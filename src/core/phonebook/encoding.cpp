#include "phonebook/encoding.h"

#include "phonebook/latin1.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace phonebook {

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF", Utf16LeMark = "\xFF\xFE", Utf16BeMark = "\xFE\xFF";
constexpr std::string_view Replacement = "\xEF\xBF\xBD"; // U+FFFD

bool asciiLetter(unsigned char b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

// A letter in either code page: an ASCII letter or any byte above ASCII.
bool letterish(std::string_view bytes, std::size_t i)
{
    if (i >= bytes.size())
        return false;
    auto b = static_cast<unsigned char>(bytes[i]);
    return asciiLetter(b) || b >= 0x80;
}

// bytes from the code set from into UTF-8 through iconv.  A unit iconv
// refuses (unit bytes, or what is left) becomes U+FFFD, or with latin1Gaps
// the ISO 8859-1 character of the byte.
std::string throughIconv(std::string_view bytes, const char *from, std::size_t unit, bool latin1Gaps)
{
    iconv_t cd = iconv_open("UTF-8", from);
    if (cd == iconv_t(-1))
        return latin1ToUtf8(bytes); // a C library without the code page: the nearest we have
    std::string out(bytes.size() * 3 + 16, '\0');
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = bytes.size(), done = 0;
    while (inLeft > 0) {
        char *to = out.data() + done;
        std::size_t room = out.size() - done;
        std::size_t converted = iconv(cd, &in, &inLeft, &to, &room);
        done = std::size_t(to - out.data());
        if (converted != std::size_t(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        std::size_t skip = std::min(unit, inLeft);
        std::string gap = latin1Gaps ? latin1ToUtf8(std::string_view(in, skip)) : std::string(Replacement);
        if (out.size() - done < gap.size())
            out.resize(out.size() * 2 + gap.size());
        out.replace(done, gap.size(), gap);
        done += gap.size();
        in += skip;
        inLeft -= skip;
    }
    iconv_close(cd);
    out.resize(done);
    return out;
}

} // namespace

std::string_view encodingName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8: return "UTF-8";
    case Encoding::Utf8Mark: return "UTF-8 mit BOM";
    case Encoding::Utf16Le: return "UTF-16LE";
    case Encoding::Utf16Be: return "UTF-16BE";
    case Encoding::Windows1252: return "Windows-1252";
    case Encoding::MacRoman: return "Mac Roman";
    }
    return "";
}

bool macRomanLikely(std::string_view bytes)
{
    int mac = 0, windows = 0;
    bool high80 = false, lineFeed = false, carriageReturn = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        lineFeed = lineFeed || b == '\n';
        carriageReturn = carriageReturn || b == '\r';
        if (b < 0x80)
            continue;
        bool inWord = i > 0 && letterish(bytes, i - 1) && letterish(bytes, i + 1);
        if (b < 0xA0) {
            high80 = true;
            if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
                return true; // nothing in the Windows code page
            // 0x92 is the Windows apostrophe, as in O'Neill.
            mac += inWord && b != 0x92;
        } else if (b == 0xA7) {
            mac += inWord; // Mac Roman's sharp s, the Windows section sign
        } else if (b >= 0xC0) {
            windows += inWord;
        }
    }
    return mac > windows || (carriageReturn && !lineFeed && high80 && windows == 0);
}

Encoding encodingOf(std::string_view bytes)
{
    if (bytes.starts_with(Utf8Mark))
        return Encoding::Utf8Mark;
    if (bytes.starts_with(Utf16LeMark))
        return Encoding::Utf16Le;
    if (bytes.starts_with(Utf16BeMark))
        return Encoding::Utf16Be;
    if (isUtf8(bytes))
        return Encoding::Utf8;
    return macRomanLikely(bytes) ? Encoding::MacRoman : Encoding::Windows1252;
}

std::string toUtf8(std::string_view bytes, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8: return std::string(bytes);
    case Encoding::Utf8Mark: return std::string(bytes.substr(std::min(bytes.size(), Utf8Mark.size())));
    case Encoding::Utf16Le: return throughIconv(bytes.substr(std::min(bytes.size(), std::size_t(2))), "UTF-16LE", 2, false);
    case Encoding::Utf16Be: return throughIconv(bytes.substr(std::min(bytes.size(), std::size_t(2))), "UTF-16BE", 2, false);
    case Encoding::Windows1252: return throughIconv(bytes, "CP1252", 1, true);
    case Encoding::MacRoman: return throughIconv(bytes, "MACINTOSH", 1, true);
    }
    return std::string(bytes);
}

} // namespace phonebook
