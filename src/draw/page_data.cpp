#include "draw/page_data.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

#include "draw/svg_text.h"

namespace kinship::draw {
namespace {

// The distinct values of a kind, numbered in the order they first come.
template <typename Value>
class Table {
public:
    int place(const Value& value)
    {
        const auto [found, added] = places_.try_emplace(value, static_cast<int>(order_.size()));
        if (added) {
            order_.push_back(value);
        }
        return found->second;
    }
    const std::vector<Value>& values() const { return order_; }

private:
    std::map<Value, int> places_;
    std::vector<Value> order_;
};

// Appends "key":[...] with `write(json, item)` for each item, a comma before the key.
template <typename Items, typename Write>
void append_array(std::string& json, std::string_view key, const Items& items, Write write)
{
    ((json += ",\n\"") += key) += "\":[";
    bool first = true;
    for (const auto& item : items) {
        if (!first) {
            json += ',';
        }
        first = false;
        write(json, item);
    }
    json += ']';
}

void append_text(std::string& json, std::string_view text) { json += json_string(text); }

void append_number(std::string& json, double value) { json += svg_number(value); }

std::string colour(const std::string& text, const ogdf::Color& fallback)
{
    return text.empty() ? fallback.toString() : text;
}

} // namespace

std::string json_string(std::string_view text)
{
    std::string json = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::string_view rest = text.substr(i);
        if (c == '"' || c == '\\') {
            (json += '\\') += static_cast<char>(c);
        } else if (c < 0x20 || c == '<' || c == '>' || c == '&') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            json += escaped;
        } else if (rest.starts_with("\u2028") || rest.starts_with("\u2029")) {
            json += rest[2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            json += static_cast<char>(c);
        }
    }
    return json + '"';
}

std::string page_data(const gml::KinshipAttributes& attributes, const Decorations& decorations,
                      const NamesTable& names, const StatsTable& stats,
                      const std::vector<bool>& double_lines)
{
    const ogdf::Graph& graph = attributes.constGraph();
    // People first, then family nodes, each in the graph's order.
    std::vector<ogdf::node> nodes, people;
    std::vector<const NodeLabel*> labels;
    ogdf::NodeArray<int> place(graph, -1);
    int index = 0;
    for (const ogdf::node v : graph.nodes) {
        if (!attributes.is_family(v)) {
            people.push_back(v);
            labels.push_back(decorations.labels.empty() ? nullptr
                                                        : &decorations.labels[static_cast<std::size_t>(index)]);
        }
        ++index;
    }
    nodes = people;
    for (const ogdf::node v : graph.nodes) {
        if (attributes.is_family(v)) {
            nodes.push_back(v);
        }
    }
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        place[nodes[k]] = static_cast<int>(k);
    }

    std::string json = "{\"people\":" + std::to_string(people.size());
    append_array(json, "x", nodes, [&](std::string& out, ogdf::node v) { append_number(out, attributes.x(v)); });
    append_array(json, "y", nodes, [&](std::string& out, ogdf::node v) { append_number(out, attributes.y(v)); });
    using Look = std::tuple<std::string, std::string, std::string, std::string, std::string, std::string>;
    Table<Look> looks;
    append_array(json, "look", nodes, [&](std::string& out, ogdf::node v) {
        out += std::to_string(looks.place(
            {attributes.shape(v) == ogdf::Shape::Ellipse ? "e" : "r", svg_number(attributes.width(v)),
             svg_number(attributes.height(v)), colour(attributes.node_fill_text(v), attributes.fillColor(v)),
             colour(attributes.node_line_text(v), attributes.strokeColor(v)),
             svg_number(attributes.strokeWidth(v))}));
    });
    append_array(json, "looks", looks.values(), [](std::string& out, const Look& look) {
        const auto& [shape, width, height, fill, line, line_width] = look;
        out += "[\"" + shape + "\"," + width + ',' + height + ',' + json_string(fill) + ',' +
               json_string(line) + ',' + line_width + ']';
    });

    append_array(json, "ids", people, [&](std::string& out, ogdf::node v) { append_text(out, attributes.label(v)); });
    append_array(json, "names", people, [&](std::string& out, ogdf::node v) {
        const auto named = names.find(attributes.label(v));
        append_text(out, named == names.end() ? "" : named->second);
    });
    append_array(json, "templates", people,
                 [&](std::string& out, ogdf::node v) { append_text(out, attributes.templateNode(v)); });
    if (!decorations.labels.empty()) {
        append_array(json, "labels", labels, [](std::string& out, const NodeLabel* label) {
            std::string lines;
            for (const std::string& line : label->lines) {
                (lines += lines.empty() ? "" : "\n") += line;
            }
            append_text(out, lines);
        });
        append_array(json, "sizes", labels,
                     [](std::string& out, const NodeLabel* label) { append_number(out, label->font_size); });
        std::size_t k = 0;
        append_array(json, "tops", labels, [&](std::string& out, const NodeLabel* label) {
            const ogdf::node v = people[k++];
            if (label->is_name) {
                append_number(out, label->top - attributes.y(v));
            } else {
                out += "null";
            }
        });
    }
    if (!stats.empty()) {
        const auto measured = [&](ogdf::node v) {
            const auto found = stats.find(attributes.label(v));
            return found == stats.end() ? nullptr : &found->second;
        };
        append_array(json, "generations", people, [&](std::string& out, ogdf::node v) {
            append_text(out, measured(v) ? measured(v)->generation : "");
        });
        append_array(json, "inbreeding", people, [&](std::string& out, ogdf::node v) {
            append_text(out, measured(v) ? measured(v)->inbreeding : "");
        });
    }
    const std::vector<ogdf::node> families(nodes.begin() + static_cast<std::ptrdiff_t>(people.size()),
                                           nodes.end());
    append_array(json, "years", families,
                 [&](std::string& out, ogdf::node v) { append_text(out, attributes.templateNode(v)); });

    using Stroke = std::tuple<std::string, std::string, bool, bool, bool>;
    Table<Stroke> strokes;
    std::size_t k = 0;
    append_array(json, "lines", graph.edges, [&](std::string& out, ogdf::edge e) {
        ogdf::EdgeArrow arrow = attributes.has(ogdf::GraphAttributes::edgeArrow)
                                    ? attributes.arrowType(e)
                                    : ogdf::EdgeArrow::Undefined;
        if (arrow == ogdf::EdgeArrow::Undefined) {
            arrow = attributes.directed() ? ogdf::EdgeArrow::Last : ogdf::EdgeArrow::None;
        }
        const bool first = arrow == ogdf::EdgeArrow::First || arrow == ogdf::EdgeArrow::Both;
        const bool last = arrow == ogdf::EdgeArrow::Last || arrow == ogdf::EdgeArrow::Both;
        const bool twice = k < double_lines.size() && double_lines[k];
        ++k;
        const int stroke = strokes.place({colour(attributes.edge_colour_text(e), attributes.strokeColor(e)),
                                          svg_number(attributes.strokeWidth(e)), first, last, twice});
        const ogdf::DPolyline& bends = attributes.bends(e);
        out += std::to_string(place[e->source()]) + ',' + std::to_string(place[e->target()]) + ',' +
               std::to_string(stroke) + ',' + std::to_string(bends.size());
        // From the centre as written, so that the steps add up to the points.
        const auto rounded = [](double value) { return std::round(value * 100) / 100; };
        double x = rounded(attributes.x(e->source())), y = rounded(attributes.y(e->source()));
        for (const ogdf::DPoint& point : bends) {
            out += ',' + svg_number(point.m_x - x) + ',' + svg_number(point.m_y - y);
            x += rounded(point.m_x - x);
            y += rounded(point.m_y - y);
        }
    });
    append_array(json, "strokes", strokes.values(), [](std::string& out, const Stroke& stroke) {
        const auto& [line, width, first, last, twice] = stroke;
        const auto flag = [](bool on) { return on ? "1" : "0"; };
        out += '[' + json_string(line) + ',' + width + ',' + flag(first) + ',' + flag(last) + ',' +
               flag(twice) + ']';
    });
    append_array(json, "legend", decorations.legend, [](std::string& out, const LegendEntry& entry) {
        const char* mark = entry.mark == LegendEntry::Mark::man     ? "man"
                           : entry.mark == LegendEntry::Mark::woman ? "woman"
                                                                    : "swatch";
        out += std::string("[\"") + mark + "\"," + json_string(entry.fill) + ',' +
               json_string(entry.line) + ',' + json_string(entry.text) + ']';
    });
    return json + '}';
}

} // namespace kinship::draw
