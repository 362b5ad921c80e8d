// Inline SVG drawn by our own code, black on white so that it prints on any
// printer: who rings for which MSN, and bar charts.  Texts come in and go
// out as ISO 8859-1, escaped for HTML.
#pragma once

#include <string>
#include <vector>

namespace overview {

// HTML's special characters escaped; control characters as '?'.
std::string escaped(const std::string &latin1);

struct Node {
    std::string text;
    bool dashed = false; // drawn dashed: not there, or not a number of its own
};
struct Edge {
    std::size_t from, to; // left node, right node
    bool dashed = false;
};
// Left nodes, right nodes and the lines between them.
std::string linkPicture(const std::vector<Node> &left, const std::vector<Node> &right, const std::vector<Edge> &edges,
                        const std::string &title);

struct Bar {
    std::string label;
    double value = 0;
    std::string shown; // the value as written beside the bar
};
// Columns side by side, labels below (hours, days).
std::string columnChart(const std::vector<Bar> &bars, const std::string &title);
// One bar a row, labels left (extensions).
std::string barChart(const std::vector<Bar> &bars, const std::string &title);

} // namespace overview
