// The one place where the window's ISO 8859-1 texts meet the form the fonts
// read: Xft reads UTF-8, a single core font the Latin-1 bytes, a font set the
// locale's multibyte text.  Everything outside the toolkit stays ISO 8859-1.
#include "toolkit/internal.h"

#include <X11/IntrinsicP.h>
#include <X11/Xlib.h>

#include <clocale>
#include <cstring>
#include <initializer_list>
#include <langinfo.h>
#include <strings.h>
#include <utility>
#include <vector>

namespace xmt {

namespace {

TextForm form = TextForm::Latin1;

std::string trimmed(std::string s)
{
    size_t a = s.find_first_not_of(" \t");
    size_t b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// A resource that a label directly under top would get: "renderTable", or
// "<tag>.fontType" of one of its renditions.
const char *labelResource(Widget top, std::initializer_list<std::pair<const char *, const char *>> path)
{
    String appName, appClass;
    XtGetApplicationNameAndClass(XtDisplay(top), &appName, &appClass);
    std::vector<XrmQuark> names{top->core.xrm_name, XrmStringToQuark("label")};
    std::vector<XrmQuark> classes{XrmStringToQuark(appClass), XrmStringToQuark("XmLabel")};
    for (auto [name, cls] : path) {
        names.push_back(XrmStringToQuark(name));
        classes.push_back(XrmStringToQuark(cls));
    }
    names.push_back(NULLQUARK);
    classes.push_back(NULLQUARK);
    XrmDatabase db = XtScreenDatabase(XtScreen(top));
    XrmRepresentation type;
    XrmValue value;
    if (!db || !XrmQGetResource(db, names.data(), classes.data(), &type, &value) ||
        type != XrmStringToQuark(XtRString))
        return nullptr;
    return static_cast<const char *>(value.addr);
}

bool utf8Locale()
{
    const char *codeset = nl_langinfo(CODESET);
    return codeset && (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "utf8") == 0);
}

} // namespace

TextForm textFormFor(FontKind kind, bool utf8_locale)
{
    switch (kind) {
    case FontKind::Xft: return TextForm::Utf8;
    case FontKind::FontSet: return utf8_locale ? TextForm::Utf8 : TextForm::Latin1;
    case FontKind::Single: break;
    }
    return TextForm::Latin1;
}

FontKind fontKindOf(const char *render_table, const char *first_font_type, const char *font_list)
{
    if (render_table) {
        if (first_font_type && strcasestr(first_font_type, "XFT"))
            return FontKind::Xft;
        if (first_font_type && strcasestr(first_font_type, "FONTSET"))
            return FontKind::FontSet;
        return FontKind::Single;
    }
    std::string list = trimmed(font_list ? font_list : "");
    if (!list.empty() && (list.back() == ':' || list.find(';') != std::string::npos))
        return FontKind::FontSet;
    return FontKind::Single;
}

std::string latin1ToUtf8(std::string_view latin1)
{
    std::string out;
    out.reserve(latin1.size() + latin1.size() / 8);
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool utf8ToLatin1(std::string_view utf8, std::string &out)
{
    out.clear();
    bool whole = true;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        unsigned code = length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
        bool ok = length > 1 && i + static_cast<size_t>(length) <= utf8.size();
        for (int k = 1; ok && k < length; ++k) {
            unsigned char d = static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]);
            ok = (d & 0xC0) == 0x80;
            code = (code << 6) | (d & 0x3F);
        }
        if (ok && code >= 0x80 && code <= 0xFF) {
            out += static_cast<char>(code);
            i += static_cast<size_t>(length);
        } else {
            whole = false; // no ISO 8859-1 form (or no UTF-8 at all): left out
            i += ok ? static_cast<size_t>(length) : 1;
        }
    }
    return whole;
}

TextForm textForm()
{
    return form;
}

void setTextForm(TextForm f)
{
    form = f;
}

std::string toDisplay(std::string_view latin1)
{
    return form == TextForm::Utf8 ? latin1ToUtf8(latin1) : std::string(latin1);
}

bool fromDisplay(std::string_view shown, std::string &latin1)
{
    if (form == TextForm::Latin1) {
        latin1.assign(shown);
        return true;
    }
    return utf8ToLatin1(shown, latin1);
}

std::string fromDisplay(std::string_view shown)
{
    std::string latin1;
    fromDisplay(shown, latin1);
    return latin1;
}

void chooseTextForm(Widget top)
{
    const char *renderTable = labelResource(top, {{"renderTable", "RenderTable"}});
    const char *fontType = nullptr;
    if (renderTable) {
        std::string first = renderTable;
        first = trimmed(first.substr(0, first.find(',')));
        fontType = labelResource(top, {{first.c_str(), "Rendition"}, {"fontType", "FontType"}});
    }
    FontKind kind = fontKindOf(renderTable, fontType, labelResource(top, {{"fontList", "FontList"}}));
    // With Xft the text fields work in UTF-8 too, so that typed, composed and
    // pasted text arrives as UTF-8 whatever the user's locale; a single core
    // font keeps the C locale, in which Motif takes typed Latin-1 as it is.
    if (kind == FontKind::Xft) {
        if (!std::setlocale(LC_CTYPE, "") || !utf8Locale())
            std::setlocale(LC_CTYPE, "C.UTF-8");
    } else {
        std::setlocale(LC_CTYPE, kind == FontKind::FontSet ? "" : "C");
    }
    if (XSupportsLocale())
        XSetLocaleModifiers("");
    form = kind == FontKind::Xft ? TextForm::Utf8 : textFormFor(kind, utf8Locale());
}

} // namespace xmt

namespace {

// The code of the UTF-8 character at i and its length; 0 for none.
int utf8At(std::string_view s, size_t i, unsigned &code)
{
    unsigned char c = static_cast<unsigned char>(s[i]);
    int length = c < 0x80 ? 1 : c >= 0xC2 && c < 0xE0 ? 2 : c >= 0xE0 && c < 0xF0 ? 3 : c >= 0xF0 && c < 0xF5 ? 4 : 0;
    if (length == 0 || i + size_t(length) > s.size())
        return 0;
    code = length == 1 ? c : length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
    for (int k = 1; k < length; ++k) {
        unsigned char d = static_cast<unsigned char>(s[i + size_t(k)]);
        if ((d & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (d & 0x3F);
    }
    const unsigned lowest[] = {0, 0, 0x80, 0x800, 0x10000};
    return code >= lowest[length] && code <= 0x10FFFF ? length : 0;
}

char shown(unsigned code)
{
    return code < 0x20 || (code >= 0x7F && code < 0xA0) || code > 0xFF ? '?' : static_cast<char>(code);
}

} // namespace

std::string XmtFileNameText(std::string_view name)
{
    // A name that is no UTF-8 is taken for ISO 8859-1 bytes.
    std::string text;
    unsigned code = 0;
    for (size_t i = 0; i < name.size();) {
        int length = utf8At(name, i, code);
        if (length == 0) {
            text.clear();
            for (unsigned char c : name)
                text += shown(c);
            return text;
        }
        text += shown(code);
        i += size_t(length);
    }
    return text;
}
