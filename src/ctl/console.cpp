#include "console.h"

#include "link/protocol.h"
#include "resources/fill.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <langinfo.h>
#include <libintl.h>

namespace {

bool utf8 = false;

std::string latin1ToUtf8(const std::string &text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The window's texts break their lines for a dialog box; one line reads
// better on a terminal.
std::string oneLine(std::string text)
{
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos;)
        text.replace(at, 1, at > 0 && text[at - 1] == ' ' ? "" : " ");
    return text;
}

} // namespace

void setUpConsole()
{
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_MESSAGES, "");
    // System error texts join the program's own, which are ISO 8859-1.
    bind_textdomain_codeset("libc", "ISO-8859-1");
    const char *set = nl_langinfo(CODESET);
    utf8 = set && (std::strcmp(set, "UTF-8") == 0 || std::strcmp(set, "utf8") == 0);
}

std::string forLocale(const std::string &latin1) { return utf8 ? latin1ToUtf8(latin1) : latin1; }

bool fromLocale(const std::string &text, std::string &latin1)
{
    latin1.clear();
    if (!utf8) {
        latin1 = text;
        return true;
    }
    for (std::size_t i = 0; i < text.size(); i++) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            latin1 += char(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size() && (text[i + 1] & 0xC0) == 0x80) {
            latin1 += char((c & 0x03) << 6 | (text[++i] & 0x3F));
        } else {
            return false;
        }
    }
    return true;
}

void complain(const std::string &latin1)
{
    // What the user gave (a file name, a value) may hold control characters:
    // none reaches the terminal raw.  Our own texts hold none but the line feed.
    std::string shown = escapedControls(latin1);
    std::string text = forLocale(shown);
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2)
        text.replace(at, 1, "\n  ");
    std::fprintf(stderr, "kelvoractl: %s\n", text.c_str());
}

void ConsoleObserver::started(const TransferShow &show)
{
    message_ = show.message;
    max_ = show.scaleMax > 0 ? show.scaleMax : 100;
    scale_ = show.scale;
    shown_ = -1;
    if (!showProgress_)
        return;
    std::fprintf(stderr, "%s", forLocale(message_).c_str());
    onLine_ = true;
    std::fflush(stderr);
}

void ConsoleObserver::progress(int value)
{
    if (!showProgress_ || !scale_)
        return;
    int percent = value * 100 / max_;
    if (percent == shown_)
        return;
    shown_ = percent;
    std::fprintf(stderr, "\r%s %3d %%", forLocale(message_).c_str(), percent);
    onLine_ = true;
    std::fflush(stderr);
}

void ConsoleObserver::endLine()
{
    if (onLine_)
        std::fprintf(stderr, "\n");
    onLine_ = false;
}

void ConsoleObserver::tell(const TransferTrouble &trouble, const char *head)
{
    complain(head + oneLine(trouble.text));
    if (trouble.partly)
        complain(builtinAdvice(advice::Partly, ""));
    std::string advice = builtinAdvice(trouble.advice, trouble.adviceArg);
    if (!advice.empty())
        complain(advice);
    told_ = true;
}

void ConsoleObserver::ended(const TransferTrouble *trouble)
{
    endLine();
    told_ = false;
    if (trouble)
        tell(*trouble, "Fehler bei der Uebertragung: ");
}

void ConsoleObserver::portFailed(const TransferTrouble &trouble)
{
    endLine();
    told_ = false;
    if (!trouble.text.empty())
        tell(trouble, "");
}
