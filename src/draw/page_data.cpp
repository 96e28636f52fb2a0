#include "draw/page_data.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <map>

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

// Appends [a,b,...] of items already written as JSON.
template <std::size_t count>
void append_array_items(std::string& json, const std::array<std::string, count>& items)
{
    json += '[';
    for (std::size_t i = 0; i < count; ++i) {
        (json += i > 0 ? "," : "") += items[i];
    }
    json += ']';
}

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
    std::vector<ogdf::node> people, families;
    std::vector<const NodeLabel*> labels;
    auto label = decorations.labels.begin();
    for (const ogdf::node v : graph.nodes) {
        const bool labelled = label != decorations.labels.end();
        if (attributes.is_family(v)) {
            families.push_back(v);
        } else {
            people.push_back(v);
            if (labelled) {
                labels.push_back(&*label);
            }
        }
        label += labelled ? 1 : 0;
    }
    std::vector<ogdf::node> nodes = people;
    nodes.insert(nodes.end(), families.begin(), families.end());
    ogdf::NodeArray<int> place(graph, -1);
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        place[nodes[k]] = static_cast<int>(k);
    }

    std::string json = "{\"people\":" + std::to_string(people.size());
    const auto numbers = [&json](std::string_view key, const std::vector<ogdf::node>& of,
                                 auto value) {
        append_array(json, key, of,
                     [&value](std::string& out, ogdf::node v) { append_number(out, value(v)); });
    };
    const auto texts = [&json](std::string_view key, const std::vector<ogdf::node>& of,
                               auto text) {
        append_array(json, key, of,
                     [&text](std::string& out, ogdf::node v) { append_text(out, text(v)); });
    };
    numbers("x", nodes, [&](ogdf::node v) { return attributes.x(v); });
    numbers("y", nodes, [&](ogdf::node v) { return attributes.y(v); });
    using Look = std::array<std::string, 6>;
    Table<Look> looks;
    append_array(json, "look", nodes, [&](std::string& out, ogdf::node v) {
        const bool ellipse = attributes.shape(v) == ogdf::Shape::Ellipse;
        out += std::to_string(looks.place(
            {ellipse ? "\"e\"" : "\"r\"", svg_number(attributes.width(v)),
             svg_number(attributes.height(v)),
             json_string(colour(attributes.node_fill_text(v), attributes.fillColor(v))),
             json_string(colour(attributes.node_line_text(v), attributes.strokeColor(v))),
             svg_number(attributes.strokeWidth(v))}));
    });
    append_array(json, "looks", looks.values(), [](std::string& out, const Look& look) {
        append_array_items(out, look);
    });

    texts("ids", people, [&](ogdf::node v) { return attributes.label(v); });
    texts("names", people, [&](ogdf::node v) {
        const auto named = names.find(attributes.label(v));
        return named == names.end() ? std::string() : named->second;
    });
    texts("templates", people, [&](ogdf::node v) { return attributes.templateNode(v); });
    if (!labels.empty()) {
        append_array(json, "labels", labels, [](std::string& out, const NodeLabel* label) {
            std::string lines;
            for (const std::string& line : label->lines) {
                (lines += lines.empty() ? "" : "\n") += line;
            }
            append_text(out, lines);
        });
        append_array(json, "sizes", labels, [](std::string& out, const NodeLabel* label) {
            append_number(out, label->font_size);
        });
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
            return found == stats.end() ? PersonStats{} : found->second;
        };
        texts("generations", people, [&](ogdf::node v) { return measured(v).generation; });
        texts("inbreeding", people, [&](ogdf::node v) { return measured(v).inbreeding; });
    }
    texts("years", families, [&](ogdf::node v) { return attributes.templateNode(v); });

    using Stroke = std::array<std::string, 5>;
    Table<Stroke> strokes;
    const auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    // From the centre as written, so that the steps add up to the points.
    const auto rounded = [](double value) { return std::round(value * 100) / 100; };
    std::size_t edge_place = 0;
    append_array(json, "lines", graph.edges, [&](std::string& out, ogdf::edge e) {
        ogdf::EdgeArrow arrow = attributes.has(ogdf::GraphAttributes::edgeArrow)
                                    ? attributes.arrowType(e)
                                    : ogdf::EdgeArrow::Undefined;
        if (arrow == ogdf::EdgeArrow::Undefined) {
            arrow = attributes.directed() ? ogdf::EdgeArrow::Last : ogdf::EdgeArrow::None;
        }
        const std::size_t index = edge_place++;
        const int stroke = strokes.place(
            {json_string(colour(attributes.edge_colour_text(e), attributes.strokeColor(e))),
             svg_number(attributes.strokeWidth(e)),
             flag(arrow == ogdf::EdgeArrow::First || arrow == ogdf::EdgeArrow::Both),
             flag(arrow == ogdf::EdgeArrow::Last || arrow == ogdf::EdgeArrow::Both),
             flag(index < double_lines.size() && double_lines[index])});
        const ogdf::DPolyline& bends = attributes.bends(e);
        out += std::to_string(place[e->source()]) + ',' + std::to_string(place[e->target()]) +
               ',' + std::to_string(stroke) + ',' + std::to_string(bends.size());
        double x = rounded(attributes.x(e->source())), y = rounded(attributes.y(e->source()));
        for (const ogdf::DPoint& point : bends) {
            out += ',' + svg_number(point.m_x - x) + ',' + svg_number(point.m_y - y);
            x += rounded(point.m_x - x);
            y += rounded(point.m_y - y);
        }
    });
    append_array(json, "strokes", strokes.values(), [](std::string& out, const Stroke& stroke) {
        append_array_items(out, stroke);
    });
    append_array(json, "legend", decorations.legend, [](std::string& out,
                                                         const LegendEntry& entry) {
        const char* mark = entry.mark == LegendEntry::Mark::man     ? "man"
                           : entry.mark == LegendEntry::Mark::woman ? "woman"
                                                                    : "swatch";
        append_array_items(out, std::array<std::string, 4>{
                                    json_string(mark), json_string(entry.fill),
                                    json_string(entry.line), json_string(entry.text)});
    });
    return json + '}';
}

} // namespace kinship::draw
