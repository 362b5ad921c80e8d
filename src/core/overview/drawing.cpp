#include "overview/drawing.h"

#include <algorithm>
#include <cstdio>

namespace overview {

namespace {

// A sans-serif character of 12 px is about 7 px wide; boxes are made to fit.
constexpr double CharWidth = 7.2;
constexpr int Width = 680; // fits A4 portrait between 15 mm margins

std::string num(double v)
{
    char b[32];
    std::snprintf(b, sizeof b, "%.1f", v);
    return b;
}

std::string open(double width, double height, const std::string &title)
{
    return "<svg role=\"img\" viewBox=\"0 0 " + num(width) + " " + num(height) +
           "\" style=\"width:100%;max-width:" + num(width) + "px;height:auto\" font-family=\"sans-serif\" "
           "font-size=\"12\"><title>" + escaped(title) + "</title>\n";
}

std::string textAt(double x, double y, const std::string &text, const std::string &extra = "")
{
    return "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\" " + extra + ">" + escaped(text) + "</text>\n";
}

double textWidth(const std::string &text) { return double(text.size()) * CharWidth; }

} // namespace

std::string escaped(const std::string &latin1)
{
    std::string out;
    for (char ch : latin1) {
        auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) ? '?' : ch;
        }
    }
    return out;
}

std::string linkPicture(const std::vector<Node> &left, const std::vector<Node> &right, const std::vector<Edge> &edges,
                        const std::string &title)
{
    constexpr double Pad = 10, Row = 30, Box = 22;
    double leftWidth = 120, rightWidth = 120;
    for (const Node &n : left)
        leftWidth = std::max(leftWidth, textWidth(n.text) + 16);
    for (const Node &n : right)
        rightWidth = std::max(rightWidth, textWidth(n.text) + 16);
    double gap = std::max(120.0, Width - 2 * Pad - leftWidth - rightWidth);
    std::size_t rows = std::max({left.size(), right.size(), std::size_t(1)});
    double width = 2 * Pad + leftWidth + gap + rightWidth, height = 2 * Pad + double(rows) * Row - (Row - Box);
    // The shorter column stands in the middle of the longer.
    auto top = [&](const std::vector<Node> &column, std::size_t i) {
        return Pad + (double(rows) - double(column.size())) * Row / 2 + double(i) * Row;
    };
    std::string svg = open(width, height, title);
    for (const Edge &e : edges) {
        if (e.from >= left.size() || e.to >= right.size())
            continue;
        double y1 = top(left, e.from) + Box / 2, y2 = top(right, e.to) + Box / 2;
        double x1 = Pad + leftWidth, x2 = Pad + leftWidth + gap;
        svg += "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" + num(y2) +
               "\" stroke=\"black\" stroke-width=\"1.3\"" + (e.dashed ? " stroke-dasharray=\"6 4\"" : "") + "/>\n";
        svg += "<circle cx=\"" + num(x2) + "\" cy=\"" + num(y2) + "\" r=\"3\" fill=\"black\"/>\n";
    }
    auto boxes = [&](const std::vector<Node> &column, double x, double w) {
        for (std::size_t i = 0; i < column.size(); i++) {
            double y = top(column, i);
            svg += "<rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" + num(w) + "\" height=\"" + num(Box) +
                   "\" fill=\"white\" stroke=\"black\"" + (column[i].dashed ? " stroke-dasharray=\"4 3\"" : "") +
                   "/>\n";
            svg += textAt(x + 8, y + 15.5, column[i].text, "style=\"white-space:pre\"");
        }
    };
    boxes(left, Pad, leftWidth);
    boxes(right, Pad + leftWidth + gap, rightWidth);
    return svg + "</svg>\n";
}

std::string columnChart(const std::vector<Bar> &bars, const std::string &title)
{
    constexpr double Pad = 10, Plot = 160, Above = 16;
    bool slanted = bars.size() > 16;
    double below = slanted ? 48 : 20;
    double most = 0;
    for (const Bar &b : bars)
        most = std::max(most, b.value);
    double column = bars.empty() ? 0 : (Width - 2 * Pad) / double(bars.size());
    std::string svg = open(Width, Pad + Above + Plot + below, title);
    double base = Pad + Above + Plot;
    svg += "<line x1=\"" + num(Pad) + "\" y1=\"" + num(base) + "\" x2=\"" + num(Width - Pad) + "\" y2=\"" +
           num(base) + "\" stroke=\"black\"/>\n";
    for (std::size_t i = 0; i < bars.size(); i++) {
        const Bar &b = bars[i];
        double h = most > 0 ? b.value / most * Plot : 0;
        double x = Pad + double(i) * column, w = std::max(1.0, column * 0.7);
        double middle = x + column / 2;
        svg += "<rect x=\"" + num(middle - w / 2) + "\" y=\"" + num(base - h) + "\" width=\"" + num(w) +
               "\" height=\"" + num(h) + "\" fill=\"#555\" stroke=\"black\" stroke-width=\"0.5\"/>\n";
        if (b.value > 0)
            svg += textAt(middle, base - h - 4, b.shown, "font-size=\"9\" text-anchor=\"middle\"");
        if (slanted)
            svg += textAt(middle + 3, base + 8, b.label,
                          "font-size=\"9\" text-anchor=\"end\" transform=\"rotate(-60 " + num(middle + 3) + " " +
                              num(base + 8) + ")\"");
        else
            svg += textAt(middle, base + 14, b.label, "font-size=\"10\" text-anchor=\"middle\"");
    }
    return svg + "</svg>\n";
}

std::string barChart(const std::vector<Bar> &bars, const std::string &title)
{
    constexpr double Pad = 10, Row = 20, Thick = 13;
    double labels = 60, values = 0;
    for (const Bar &b : bars) {
        labels = std::max(labels, textWidth(b.label) + 10);
        values = std::max(values, textWidth(b.shown) + 10);
    }
    double most = 0;
    for (const Bar &b : bars)
        most = std::max(most, b.value);
    double room = std::max(60.0, Width - 2 * Pad - labels - values);
    std::string svg = open(Width, 2 * Pad + double(std::max<std::size_t>(bars.size(), 1)) * Row, title);
    for (std::size_t i = 0; i < bars.size(); i++) {
        const Bar &b = bars[i];
        double y = Pad + double(i) * Row, w = most > 0 ? b.value / most * room : 0;
        svg += textAt(Pad, y + 11, b.label, "style=\"white-space:pre\"");
        svg += "<rect x=\"" + num(Pad + labels) + "\" y=\"" + num(y) + "\" width=\"" + num(w) + "\" height=\"" +
               num(Thick) + "\" fill=\"#555\" stroke=\"black\" stroke-width=\"0.5\"/>\n";
        svg += textAt(Pad + labels + w + 5, y + 11, b.shown);
    }
    return svg + "</svg>\n";
}

} // namespace overview
