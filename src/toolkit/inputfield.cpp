// Input fields: XmTextField with a character pattern, whole-pattern matching
// and verify/error callbacks run when the text is committed.
#include "toolkit/internal.h"

#include <Xm/TextF.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace xmt {
namespace {

struct Field {
    std::string binding;
    std::string pattern; // empty: anything goes
    bool matchAll = false;
    CallList verify, error;
    std::string accepted; // last text that passed the checks
    std::string current;  // storage for XmtInputFieldGetString
    // What the program last put in, whole, and what the field then showed: a
    // value longer than the pattern shows cut, and reads back whole until the
    // user changes the text.
    std::string given;
    std::string shownGiven;
    bool raw = false;     // our own SetString: no pattern check
    bool committing = false;
    bool activateAccepted = true; // what the last Return's check said
};

std::map<Widget, std::unique_ptr<Field>> &fields()
{
    static std::map<Widget, std::unique_ptr<Field>> table;
    return table;
}

Field *find(Widget w)
{
    auto it = fields().find(w);
    return it == fields().end() ? nullptr : it->second.get();
}

bool isLetter(unsigned char c)
{
    // Latin-1 letters count too: German names are typed here.
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

bool charFits(char p, unsigned char c)
{
    switch (p) {
    case 'd': return c >= '0' && c <= '9';
    case 'a': return isLetter(c);
    case 'c': return c >= 0x20 && c != 0x7F;
    default: return c == static_cast<unsigned char>(p);
    }
}

bool fitsPattern(const Field &f, const std::string &text)
{
    if (f.pattern.empty())
        return true;
    if (text.size() > f.pattern.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (!charFits(f.pattern[i], static_cast<unsigned char>(text[i])))
            return false;
    return true;
}

// The field's text as ISO 8859-1, whatever form the field holds it in.
std::string textOf(Widget w)
{
    char *t = XmTextFieldGetString(w);
    std::string s = fromDisplay(t ? t : "");
    XtFree(t);
    return s;
}

void modifyVerify(Widget w, XtPointer, XtPointer call)
{
    Field *f = find(w);
    auto *cbs = static_cast<XmTextVerifyCallbackStruct *>(call);
    if (!f || f->raw || !cbs->text)
        return;
    std::string old = textOf(w);
    size_t start = std::min<size_t>(static_cast<size_t>(cbs->startPos), old.size());
    size_t end = std::min<size_t>(static_cast<size_t>(cbs->endPos), old.size());
    std::string inserted;
    // A character ISO 8859-1 has not is refused like one the pattern refuses.
    bool representable = fromDisplay(
        cbs->text->ptr ? std::string_view(cbs->text->ptr, static_cast<size_t>(cbs->text->length)) : "", inserted);
    std::string result = old.substr(0, start) + inserted + old.substr(end);
    if (!representable || !fitsPattern(*f, result))
        cbs->doit = False;
}

void commitCallback(Widget w, XtPointer, XtPointer)
{
    inputFieldCommitIfChanged(w);
}

void activateCallback(Widget w, XtPointer, XtPointer)
{
    bool accepted = inputFieldCommitIfChanged(w);
    if (Field *f = find(w))
        f->activateAccepted = accepted;
}

void destroyed(Widget w, XtPointer, XtPointer)
{
    fields().erase(w);
}

// Motif's column is the font's average width: what one more column adds.
int columnWidth(Widget w, int &frame)
{
    short columns = 0;
    XtVaGetValues(w, XmNcolumns, &columns, nullptr);
    XtWidgetGeometry now{}, wider{};
    XtQueryGeometry(w, nullptr, &now);
    XtVaSetValues(w, XmNcolumns, columns + 10, nullptr);
    XtQueryGeometry(w, nullptr, &wider);
    XtVaSetValues(w, XmNcolumns, columns, nullptr);
    int perColumn = (wider.width - now.width) / 10;
    frame = now.width - columns * perColumn;
    return perColumn;
}

// The columns that show the pattern's longest value whole: a digit may be
// wider than the average a column is.
int patternColumns(Widget w, const std::string &pattern, int perColumn)
{
    int columns = int(pattern.size());
    if (pattern.empty() || pattern.find_first_not_of('d') != std::string::npos || perColumn <= 0)
        return columns;
    XmRenderTable table = nullptr;
    XtVaGetValues(w, XmNrenderTable, &table, nullptr);
    Dimension widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit) {
        XmString s = makeRawString(std::string(pattern.size(), digit).c_str());
        widest = std::max(widest, XmStringWidth(table, s));
        XmStringFree(s);
    }
    return std::max(columns, (widest + perColumn - 1) / perColumn);
}

// Row-column boxes size a text field by its columns, whatever its width says, so
// a width given in resources (in any unit type) becomes the columns that fill it;
// never fewer than its pattern's longest value needs.
void fitColumns(Widget w, const std::string &pattern, bool widthGiven)
{
    XtVaSetValues(w, XmNunitType, XmPIXELS, nullptr);
    Dimension wanted = 0;
    short columns = 0;
    XtVaGetValues(w, XmNwidth, &wanted, XmNcolumns, &columns, nullptr);
    int frame = 0, perColumn = columnWidth(w, frame);
    if (perColumn <= 0)
        return;
    int fit = std::max(widthGiven ? (wanted - frame + perColumn / 2) / perColumn : int(columns),
                       patternColumns(w, pattern, perColumn));
    if (widthGiven)
        XtVaSetValues(w, XmNcolumns, fit > 0 ? fit : 1, XmNwidth, std::max(int(wanted), frame + fit * perColumn),
                      nullptr);
    else if (fit != columns)
        XtVaSetValues(w, XmNcolumns, fit, nullptr);
}

} // namespace

Widget createInputField(Widget container, const char *name, const char *binding)
{
    auto f = std::make_unique<Field>();
    f->binding = binding;
    if (const char *p = lookup(container, name, "XmTextField", "pattern"))
        f->pattern = p;
    const char *all = lookup(container, name, "XmTextField", "matchAll");
    f->matchAll = all && (strcasecmp(all, "true") == 0 || strcasecmp(all, "on") == 0 ||
                          strcasecmp(all, "yes") == 0 || strcmp(all, "1") == 0);
    Arg args[1];
    Cardinal n = 0;
    if (!f->pattern.empty()) {
        XtSetArg(args[n], const_cast<char *>(XmNmaxLength), static_cast<int>(f->pattern.size()));
        ++n;
    }
    Widget w = XtCreateWidget(name, xmTextFieldWidgetClass, container, args, n);
    bool widthGiven = lookup(container, name, "XmTextField", "width") != nullptr;
    if (widthGiven || !f->pattern.empty())
        fitColumns(w, f->pattern, widthGiven);
    std::string path = XmtWidgetPath(w);
    if (const char *v = lookup(w, nullptr, nullptr, "verifyCallback"))
        parseCalls(v, path, f->verify);
    if (const char *e = lookup(w, nullptr, nullptr, "errorCallback"))
        parseCalls(e, path, f->error);
    f->accepted = textOf(w);
    XtAddCallback(w, XmNmodifyVerifyCallback, modifyVerify, nullptr);
    XtAddCallback(w, XmNactivateCallback, activateCallback, nullptr);
    XtAddCallback(w, XmNlosingFocusCallback, commitCallback, nullptr);
    XtAddCallback(w, XmNdestroyCallback, destroyed, nullptr);
    fields()[w] = std::move(f);
    return w;
}

const char *inputFieldBinding(Widget field)
{
    Field *f = find(field);
    return f ? f->binding.c_str() : nullptr;
}

bool inputFieldCommitIfChanged(Widget field)
{
    Field *f = find(field);
    if (!f || f->committing || textOf(field) == f->accepted)
        return true;
    return XmtInputFieldCommit(field);
}

bool inputFieldAccepted(Widget field)
{
    Field *f = find(field);
    return !f || f->activateAccepted;
}

bool inputFieldChanged(Widget field)
{
    Field *f = find(field);
    return !f || textOf(field) != f->shownGiven;
}

void inputFieldSetRaw(Widget field, const char *text, size_t len)
{
    Field *f = find(field);
    std::string s(text, len);
    if (f)
        f->given = s;
    if (f && !f->pattern.empty() && s.size() > f->pattern.size())
        s.resize(f->pattern.size());
    if (f)
        f->raw = true;
    XmTextFieldSetString(field, const_cast<char *>(toDisplay(s).c_str()));
    if (f) {
        f->raw = false;
        f->accepted = textOf(field);
        f->shownGiven = f->accepted;
    }
}

} // namespace xmt

using namespace xmt;

bool XmtIsInputField(Widget w)
{
    return find(w) != nullptr;
}

void XmtInputFieldSetString(Widget field, const char *text)
{
    if (!field || !XmIsTextField(field))
        return;
    if (!text)
        text = "";
    inputFieldSetRaw(field, text, strlen(text));
}

const char *XmtInputFieldGetString(Widget field)
{
    Field *f = find(field);
    if (!f)
        return nullptr;
    f->current = inputFieldChanged(field) ? textOf(field) : f->given;
    return f->current.c_str();
}

bool XmtInputFieldCommit(Widget field)
{
    Field *f = find(field);
    if (!f)
        return true;
    std::string text = textOf(field);
    bool okay = fitsPattern(*f, text) && (!f->matchAll || text.size() == f->pattern.size());
    if (okay && !f->verify.empty()) {
        std::vector<char> buf(text.begin(), text.end());
        buf.push_back('\0');
        XmtInputFieldCallbackStruct data{buf.data(), True};
        f->committing = true;
        runCalls(f->verify, field, &data);
        f = find(field);
        if (!f)
            return false;
        f->committing = false;
        okay = data.okay;
    }
    if (okay) {
        f->accepted = text;
        return true;
    }
    std::vector<char> refused(text.begin(), text.end());
    refused.push_back('\0');
    inputFieldSetRaw(field, f->accepted.c_str(), f->accepted.size());
    XmtInputFieldCallbackStruct data{refused.data(), False};
    f->committing = true;
    runCalls(f->error, field, &data);
    if ((f = find(field)))
        f->committing = false;
    return false;
}
