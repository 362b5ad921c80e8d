#include "overview/page.h"

#include "config/names.h"
#include "config/record.h"
#include "overview/drawing.h"
#include "overview/facts.h"
#include "phonebook/latin1.h"
#include "resources/fill.h"
#include "resources/lookup.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>

namespace overview {

namespace {

std::string say(const std::string &which, const std::vector<std::string> &args = {})
{
    return fillPlaceholders(builtinResource("*overview." + which), args);
}

std::string title(const char *dialog) { return builtinResource(std::string("*") + dialog + ".title"); }

// Text kept as it is written, blanks included ("AB  #1").
std::string kept(const std::string &latin1) { return "<span class=\"k\">" + escaped(latin1) + "</span>"; }

std::string cell(const std::string &html, const char *tag = "td") { return std::string("<") + tag + ">" + html + "</" + tag + ">"; }

std::string row(const std::vector<std::string> &cells, const char *tag = "td")
{
    std::string out = "<tr>";
    for (const std::string &c : cells)
        out += cell(c, tag);
    return out + "</tr>\n";
}

// No head row when head is empty.
std::string table(const std::vector<std::string> &head, const std::string &rows, const char *kind = "")
{
    std::string thead = head.empty() ? "" : "<thead>" + row(head, "th") + "</thead>";
    return std::string("<table class=\"") + kind + "\">" + thead + "<tbody>\n" + rows + "</tbody></table>\n";
}

std::string joinedHtml(const std::vector<std::string> &parts, const std::string &none)
{
    if (parts.empty())
        return "<span class=\"none\">" + escaped(none) + "</span>";
    std::string out;
    for (const std::string &p : parts)
        out += (out.empty() ? "" : ", ") + p;
    return out;
}

// The subscribers a mask names, each as the window names it; those that are
// not there marked.
std::string whom(const Facts &facts, std::uint32_t mask)
{
    std::vector<std::string> parts;
    for (int i : named(mask)) {
        const Subscriber &s = facts.subscribers[std::size_t(i)];
        parts.push_back(s.present() ? kept(s.label()) : "<span class=\"absent\">" + kept(s.name) + " (" +
                                                            escaped(s.absence()) + ")</span>");
    }
    return joinedHtml(parts, say("nobody"));
}

// A CSS string: quotes, backslashes and anything HTML could take for a tag escaped.
std::string cssString(const std::string &latin1)
{
    std::string out = "\"";
    for (char ch : latin1) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\' || c == '<' || c == '>' || c == '&' || c < 0x20 || c == 0x7F) {
            char b[8];
            std::snprintf(b, sizeof b, "\\%X ", c);
            out += b;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string style(const PageInput &in)
{
    return "<style>\n"
           "@page { size: A4 portrait; margin: 18mm 15mm 15mm 15mm;\n"
           "  @top-left { content: " + cssString("kelvora: " + in.fileName) + "; font: 9pt sans-serif; }\n"
           "  @top-right { content: " + cssString(say("made", {in.made})) + "; font: 9pt sans-serif; }\n"
           "  @bottom-right { content: counter(page) \" / \" counter(pages); font: 9pt sans-serif; } }\n"
           "body { font: 10.5pt/1.35 sans-serif; color: black; background: white; margin: 1em auto; max-width: 50em; }\n"
           "h1 { font-size: 16pt; margin: 0 0 .2em; } h2 { font-size: 13pt; border-bottom: 1px solid black; "
           "margin: 1.2em 0 .4em; break-after: avoid; } h3 { font-size: 11pt; margin: 1em 0 .3em; break-after: avoid; }\n"
           ".meta { margin: 0 0 1em; }\n"
           "table { border-collapse: collapse; width: calc(100% - 2px); margin: .3em 0 .8em; }\n"
           "th, td { border: 1px solid #444; padding: 2px 5px; text-align: left; vertical-align: top; }\n"
           "th { background: #e8e8e8; } thead { display: table-header-group; }\n"
           "tr, li, svg, .finding { break-inside: avoid; }\n"
           ".k { white-space: pre; } .none { font-style: italic; } .absent { text-decoration: line-through; }\n"
           ".findings li { margin: .3em 0; } .findings strong { white-space: pre-wrap; } .reason { font-size: 9pt; }\n"
           ".small td { font-size: 9pt; }\n"
           "section + section { break-before: page; }\n"
           "@media print { body { margin: 0; max-width: none; } .meta { display: none; } "
           "th { -webkit-print-color-adjust: exact; print-color-adjust: exact; } }\n"
           "</style>\n";
}

// ---------------------------------------------------------------- sections

std::string findingsPart(const std::vector<Finding> &findings)
{
    std::string html = "<h2>" + escaped(say("findings")) + "</h2>\n";
    if (findings.empty())
        return html + "<p>" + escaped(say("noFindings")) + "</p>\n";
    html += "<ul class=\"findings\">\n";
    for (const Finding &f : findings)
        html += "<li class=\"finding\"><strong>" + escaped(f.text) + "</strong><br><span class=\"reason\">" +
                escaped(say("why")) + " " + escaped(reasonOf(f.id)) + "</span></li>\n";
    return html + "</ul>\n";
}

std::string labelled(const Field &f, const unsigned char *record)
{
    return row({escaped(shortLabel(f)), kept(readField(f, record))});
}

std::string pbxPart(const Facts &facts, const unsigned char *record)
{
    std::string html = "<h2>" + escaped(say("pbx")) + "</h2>\n<p><strong>" + escaped(facts.type) + "</strong></p>\n";
    std::string ports;
    for (const Port &p : facts.ports) {
        std::string msns;
        for (const Msn &m : facts.msns)
            if (m.port == p.number)
                msns += (msns.empty() ? "" : ", ") + escaped(m.digits);
        if (!p.exists)
            ports += row({escaped(say("port")) + " " + std::to_string(p.number), escaped(say("portUnused")), "", ""});
        else
            ports += row({escaped(say("port")) + " " + std::to_string(p.number), escaped(p.bus),
                          p.external ? escaped(p.connection) : "", msns});
    }
    html += table({escaped(say("port")), escaped(builtinResource("*anl_busf.title")),
                   escaped(builtinResource("*anl_anschlf.title")), escaped(say("msns"))},
                  ports);
    std::string global;
    global += labelled(configField("rufzuord.hpttyp"), record);
    global += labelled(configField("rufzuord.hptnum"), record);
    for (const Field &f : fieldsOf(FileKind::Configuration))
        if (f.dialog == "globdat_dlg" && !f.extra)
            global += labelled(f, record);
    return html + "<h3>" + escaped(title("globdat_dlg")) + "</h3>\n" + table({}, global, "small");
}

std::string subscriberPart(const Facts &facts, const PageInput &in)
{
    const unsigned char *record = in.record;
    std::vector<std::string> head = {escaped(say("internalNumber")), escaped(say("name")), escaped(say("terminal")),
                                     escaped(say("permissions")), escaped(say("trunk"))};
    if (in.subscriberData)
        head.push_back(escaped(say("subscriberData")));
    std::string rows;
    for (const Subscriber &s : facts.subscribers) {
        if (!s.present())
            continue;
        std::string terminal;
        if (const Field *f = findConfigField("teltyp." + std::to_string(s.index)))
            terminal = escaped(readField(*f, record));
        std::vector<std::string> permissions;
        for (int k = 0; const Field *f = findConfigField("tlnperm." + std::to_string(k)); k++)
            if (wordOf(*f, record) >> s.index & 1)
                permissions.push_back(escaped(shortLabel(*f)));
        std::vector<std::string> cells = {kept("Ruf #" + s.number), kept(s.name), terminal,
                                          joinedHtml(permissions, "-"),
                                          escaped(readField(configField("amtsperm." + std::to_string(s.index)), record))};
        if (in.subscriberData) {
            std::string data;
            // What is set; "(keine)", "(leer)" and the like say nothing.
            for (const Field &f : fieldsOf(FileKind::Subscribers))
                if (std::string value = readField(f, record); f.label.starts_with(s.name + ": ") && !value.starts_with("("))
                    data += (data.empty() ? "" : "<br>") + escaped(shortLabel(f)) + ": " + kept(value);
            cells.push_back(data);
        }
        rows += row(cells);
    }
    std::string html = "<h2>" + escaped(say("subscribers")) + "</h2>\n";
    if (rows.empty())
        return html + "<p>" + escaped(say("noSubscribers")) + "</p>\n";
    return html + table(head, rows, in.subscriberData ? "small" : "");
}

std::string msnPart(const Facts &facts)
{
    std::string html = "<h2>" + escaped(say("msns")) + "</h2>\n";
    if (facts.msns.empty()) {
        html += "<p>" + escaped(say("noMsns")) + "</p>\n";
    } else {
        std::string rows;
        for (const Msn &m : facts.msns)
            rows += row({escaped(say("port")) + " " + std::to_string(m.port), escaped(m.slotName),
                         "<strong>" + escaped(m.digits) + "</strong>",
                         m.mask ? whom(facts, m.mask)
                                : "<span class=\"none\">" + escaped(say("nobody")) + "</span> &rarr; " +
                                      escaped(facts.forwarding < 0 ? "" : facts.functions[std::size_t(facts.forwarding)].name)});
        if (facts.forwarding >= 0)
            rows += row({"", "", "<em>" + escaped(say("unassigned")) + "</em>",
                         escaped(facts.functions[std::size_t(facts.forwarding)].name) + ": " +
                             whom(facts, facts.functions[std::size_t(facts.forwarding)].mask)});
        html += table({escaped(say("port")), "", escaped(say("msn")), escaped(say("rings"))}, rows);
    }
    std::string rows;
    for (const Function &f : facts.functions)
        rows += row({escaped(f.name), whom(facts, f.mask)});
    return html + "<h3>" + escaped(say("distribution")) + "</h3>\n<p>" + escaped(say("dayNight")) + "</p>\n" +
           table({"", escaped(say("rings"))}, rows);
}

std::string picturePart(const Facts &facts)
{
    std::vector<Node> left, right;
    std::vector<Edge> edges;
    std::map<int, std::size_t> at; // subscriber -> right node
    auto target = [&](int i) {
        if (auto found = at.find(i); found != at.end())
            return found->second;
        const Subscriber &s = facts.subscribers[std::size_t(i)];
        right.push_back({s.present() ? s.label() : s.name + " (" + s.absence() + ")", !s.present()});
        return at[i] = right.size() - 1;
    };
    // Every present subscriber, in the window's order, and those named that are not there.
    std::uint32_t named_ = 0;
    for (const Msn &m : facts.msns)
        named_ |= m.mask;
    if (facts.forwarding >= 0)
        named_ |= facts.functions[std::size_t(facts.forwarding)].mask;
    for (const Subscriber &s : facts.subscribers)
        if (s.present() || (named_ >> s.index & 1))
            target(s.index);
    for (const Msn &m : facts.msns) {
        left.push_back({m.digits + " (" + say("port") + " " + std::to_string(m.port) + ")", false});
        for (int i : named(m.mask))
            edges.push_back({left.size() - 1, target(i), false});
    }
    if (facts.forwarding >= 0) {
        left.push_back({say("unassigned"), true});
        for (int i : named(facts.functions[std::size_t(facts.forwarding)].mask))
            edges.push_back({left.size() - 1, target(i), true});
    }
    return "<h2>" + escaped(say("picture")) + "</h2>\n<p>" + escaped(say("pictureNote")) + "</p>\n" +
           linkPicture(left, right, edges, say("picture"));
}

std::string speedDialPart(const unsigned char *record)
{
    std::map<std::string, std::pair<std::string, std::string>> entries; // code -> name, number
    std::string prefixes;
    for (const Field &f : fieldsOf(FileKind::SpeedDial)) {
        std::string value = textOf(f, record);
        if (f.name.starts_with("kwz.") && f.name.ends_with(".number") && !value.empty())
            entries[f.name.substr(4, 3)].second = value;
        else if (f.name.starts_with("kwz.") && f.name.ends_with(".name") && !value.empty())
            entries[f.name.substr(4, 3)].first = value;
        else if ((f.name.starts_with("nahber.") || f.name.starts_with("sperrber.")) && !value.empty())
            prefixes += row({escaped(f.label.substr(0, f.label.find(": "))), escaped(value)});
    }
    std::string html = "<h2>" + escaped(say("speedDial")) + "</h2>\n";
    std::string rows;
    for (const auto &[code, entry] : entries)
        rows += row({code, kept(entry.first), escaped(entry.second)});
    html += rows.empty() ? "<p>" + escaped(say("noSpeedDial")) + "</p>\n"
                         : table({escaped(say("code")), escaped(say("name")), escaped(say("number"))}, rows, "small");
    if (!prefixes.empty())
        html += table({"", escaped(say("number"))}, prefixes, "small");
    return html;
}

// ---------------------------------------------------------------- calls

std::string extensionName(const Facts &facts, const std::string &code)
{
    for (const Subscriber &s : facts.subscribers)
        if (s.present() && s.number == code)
            return s.label();
    return code;
}

std::string money(long cents)
{
    char b[32];
    std::snprintf(b, sizeof b, "%ld,%02ld", cents / 100, cents % 100);
    return b;
}

std::string callsPart(const Facts &facts, const Calls &calls, const std::string &heading)
{
    std::string html = "<h2>" + escaped(heading) + "</h2>\n";
    if (calls.calls.empty())
        return html + "<p>" + escaped(say("noCalls")) + "</p>\n";
    std::map<std::tuple<int, int, int>, int> days;
    int hours[24] = {};
    std::map<std::string, std::pair<int, long>> extensions; // count, cents
    for (const Call &c : calls.calls) {
        if (c.date.year != 0)
            days[{c.date.year, c.date.month, c.date.day}]++;
        if (c.hour >= 0 && c.hour < 24)
            hours[c.hour]++;
        auto &e = extensions[c.extension];
        e.first++;
        e.second += std::max(c.cents, 0L);
    }
    std::vector<Bar> perDay, perHour, perExtension, charges;
    for (const auto &[day, count] : days) {
        char label[16];
        std::snprintf(label, sizeof label, "%02d.%02d.", std::get<2>(day), std::get<1>(day));
        perDay.push_back({label, double(count), std::to_string(count)});
    }
    // A long list: its latest days.
    if (perDay.size() > 62)
        perDay.erase(perDay.begin(), perDay.end() - 62);
    for (int h = 0; h < 24; h++)
        perHour.push_back({std::to_string(h), double(hours[h]), std::to_string(hours[h])});
    std::string chargeRows;
    long total = 0;
    for (const auto &[code, e] : extensions) {
        std::string name = extensionName(facts, code);
        perExtension.push_back({name, double(e.first), std::to_string(e.first)});
        charges.push_back({name, double(e.second), money(e.second)});
        chargeRows += row({kept(name), std::to_string(e.first), money(e.second)});
        total += e.second;
    }
    html += "<h3>" + escaped(say("perDay")) + "</h3>\n" + columnChart(perDay, heading + " " + say("perDay"));
    html += "<h3>" + escaped(say("perHour")) + "</h3>\n" + columnChart(perHour, heading + " " + say("perHour"));
    html += "<h3>" + escaped(say("perExtension")) + "</h3>\n" + barChart(perExtension, heading + " " + say("perExtension"));
    if (calls.outgoing) {
        chargeRows += row({"<strong>" + escaped(say("total")) + "</strong>", std::to_string(calls.calls.size()),
                           "<strong>" + money(total) + "</strong>"});
        html += "<h3>" + escaped(say("charges")) + "</h3>\n" + barChart(charges, say("charges")) +
                table({escaped(say("name")), escaped(say("callCount")), escaped(say("chargeSum"))}, chargeRows);
    }
    return html;
}

} // namespace

std::string madeNow()
{
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%d.%m.%Y %H:%M", &local);
    return text;
}

std::string overviewPage(const PageInput &in)
{
    Facts facts = derive(in.record);
    std::vector<Finding> findings = check(facts, in.record);
    std::string head = say("title") + ": " + in.fileName;
    std::string html = "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"generator\" content=\"kelvora\">\n<title>" + escaped(head) + "</title>\n" +
                       style(in) + "</head>\n<body>\n";
    html += "<section>\n<h1>" + escaped(say("title")) + "</h1>\n<p class=\"meta\">" +
            escaped(say("file", {in.fileName})) + "<br>" + escaped(say("made", {in.made})) + "</p>\n";
    html += findingsPart(findings) + pbxPart(facts, in.record) + "</section>\n";
    html += "<section>\n" + subscriberPart(facts, in) + "</section>\n";
    html += "<section>\n" + msnPart(facts) + "</section>\n";
    html += "<section>\n" + picturePart(facts) + "</section>\n";
    if (in.speedDial)
        html += "<section>\n" + speedDialPart(in.record) + "</section>\n";
    if (in.outgoing)
        html += "<section>\n" + callsPart(facts, *in.outgoing, say("outgoing")) + "</section>\n";
    if (in.incoming)
        html += "<section>\n" + callsPart(facts, *in.incoming, say("incoming")) + "</section>\n";
    html += "</body>\n</html>\n";
    return phonebook::latin1ToUtf8(html);
}

} // namespace overview
