#include "gml/kinship_gml_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

#include "common/gml_text.h"
#include "common/whole_file.h"
#include "gml/edge_route.h"
#include "gml/gml_parser.h"

namespace kinship::gml {
namespace {

// What one node entry says; unset fields take the reading's defaults (texts are then
// empty). Texts are views into the parsed document, which outlives the entries.
struct NodeEntry {
    std::optional<std::int64_t> id;
    std::string_view label, templ, fill, line, type;
    std::optional<double> x, y, w, h, line_width;
    std::optional<std::int64_t> stipple, pattern, family;
};

// What one edge entry says.
struct EdgeEntry {
    std::size_t line = 0;
    std::optional<std::int64_t> source, target;
    std::optional<std::int64_t> stipple;
    std::optional<double> line_width;
    std::string_view fill, arrow;
    std::vector<ogdf::DPoint> route;
};

// The later of repeated keys wins; a value of another form leaves the field as it was.
void take(std::optional<std::int64_t>& field, const GmlValue& value)
{
    if (const auto v = value.integer()) {
        field = *v;
    }
}

void take(std::optional<double>& field, const GmlValue& value)
{
    if (const auto v = value.real()) {
        field = *v;
    }
}

void take(std::string_view& field, const GmlValue& value)
{
    if (const auto v = value.string()) {
        field = *v;
    }
}

// What one pass over the graph list finds: the entries in file order (the nodes are made
// in the order in which node entries and edge ends name them) and the first failure of
// each kind.
struct Reading {
    std::string_view file;
    std::vector<NodeEntry> nodes = {};
    std::vector<EdgeEntry> edges = {};
    std::vector<bool> is_node = {}; // the graph list's entries in file order: node or edge
    std::optional<bool> directed = {};
    std::int64_t min_id = std::numeric_limits<std::int64_t>::max();
    std::int64_t max_id = std::numeric_limits<std::int64_t>::min();
    std::optional<Failure> node_without_id = {};
    std::optional<Failure> line_width_too_large = {};

    Failure at(std::size_t line, const std::string& what) const
    {
        return failure_of({file, line, what});
    }
};

// Line widths are stored as floats: a real beyond the float range would become inf.
void check_line_width(const GmlPair& pair, Reading& reading)
{
    const auto width = pair.key() == "lineWidth" ? pair.value.real() : std::nullopt;
    if (width && std::abs(*width) > std::numeric_limits<float>::max() &&
        !reading.line_width_too_large) {
        std::string what = "lineWidth ";
        append_real(what, *width);
        reading.line_width_too_large =
            reading.at(pair.line(), what + " is too large for a line width");
    }
}

// Lists under these keys have their line widths checked even where no table reads them.
bool holds_line_widths(std::string_view key)
{
    return key == "node" || key == "edge" || key == "graphics";
}

void check_line_widths(const GmlList& pairs, Reading& reading)
{
    for (const GmlPair& pair : pairs) {
        check_line_width(pair, reading);
        if (holds_line_widths(pair.key())) {
            check_line_widths(pair.value.list(), reading);
        }
    }
}

// Each kind of entry (graph, node, node graphics, edge, edge graphics) has a table of the
// keys it reads. A key that is not in the table is ignored, apart from the line widths
// under it.
template <typename Entry>
struct KeyRule {
    std::string_view key;
    void (*read)(Entry& entry, const GmlPair& pair, Reading& reading);
};

template <typename Entry, std::size_t N>
void read_list(const GmlList& pairs, const KeyRule<Entry> (&table)[N], Entry& entry,
               Reading& reading)
{
    for (const GmlPair& pair : pairs) {
        check_line_width(pair, reading);
        const auto rule = std::find_if(std::begin(table), std::end(table),
                                       [&pair](const auto& r) { return r.key == pair.key(); });
        if (rule != std::end(table)) {
            rule->read(entry, pair, reading);
        } else if (holds_line_widths(pair.key())) {
            check_line_widths(pair.value.list(), reading);
        }
    }
}

// A rule that takes the value into one field of the entry.
template <auto field, typename Entry>
void take_into(Entry& entry, const GmlPair& pair, Reading& /*reading*/)
{
    take(entry.*field, pair.value);
}

// A "Line" gives the route: its "point" entries in order; a point without real "x" and
// "y" is left out. A later "Line" replaces an earlier one. Nothing inside is checked.
void read_route(EdgeEntry& entry, const GmlPair& pair, Reading& /*reading*/)
{
    if (!pair.value.is_list()) {
        return;
    }
    entry.route.clear();
    for (const GmlPair& point : pair.value.list()) {
        if (point.key() != "point" || !point.value.is_list()) {
            continue;
        }
        std::optional<double> x, y;
        for (const GmlPair& coordinate : point.value.list()) {
            if (coordinate.key() == "x") {
                take(x, coordinate.value);
            } else if (coordinate.key() == "y") {
                take(y, coordinate.value);
            }
        }
        if (x && y) {
            entry.route.emplace_back(*x, *y);
        }
    }
}

constexpr KeyRule<NodeEntry> node_graphics_keys[] = {
    {"x", take_into<&NodeEntry::x>},
    {"y", take_into<&NodeEntry::y>},
    {"w", take_into<&NodeEntry::w>},
    {"h", take_into<&NodeEntry::h>},
    {"fill", take_into<&NodeEntry::fill>},
    {"line", take_into<&NodeEntry::line>},
    {"type", take_into<&NodeEntry::type>},
    {"stipple", take_into<&NodeEntry::stipple>},
    {"pattern", take_into<&NodeEntry::pattern>},
    {"lineWidth", take_into<&NodeEntry::line_width>},
};

constexpr KeyRule<NodeEntry> node_keys[] = {
    {"id", take_into<&NodeEntry::id>},
    {"label", take_into<&NodeEntry::label>},
    {"family", take_into<&NodeEntry::family>},
    {"template", take_into<&NodeEntry::templ>},
    {"graphics",
     [](NodeEntry& entry, const GmlPair& pair, Reading& reading) {
         read_list(pair.value.list(), node_graphics_keys, entry, reading);
     }},
};

constexpr KeyRule<EdgeEntry> edge_graphics_keys[] = {
    {"stipple", take_into<&EdgeEntry::stipple>},
    {"lineWidth", take_into<&EdgeEntry::line_width>},
    {"fill", take_into<&EdgeEntry::fill>},
    {"arrow", take_into<&EdgeEntry::arrow>},
    {"Line", read_route},
};

constexpr KeyRule<EdgeEntry> edge_keys[] = {
    {"source", take_into<&EdgeEntry::source>},
    {"target", take_into<&EdgeEntry::target>},
    {"graphics",
     [](EdgeEntry& entry, const GmlPair& pair, Reading& reading) {
         read_list(pair.value.list(), edge_graphics_keys, entry, reading);
     }},
};

void read_node(Reading& reading, const GmlPair& pair, Reading& /*reading, the same*/)
{
    if (!pair.value.is_list()) {
        return;
    }
    NodeEntry& entry = reading.nodes.emplace_back();
    read_list(pair.value.list(), node_keys, entry, reading);
    reading.is_node.push_back(true);
    if (!entry.id) {
        if (!reading.node_without_id) {
            reading.node_without_id = reading.at(pair.line(), "node entry without an integer id");
        }
        return;
    }
    reading.min_id = std::min(reading.min_id, *entry.id);
    reading.max_id = std::max(reading.max_id, *entry.id);
}

void read_edge(Reading& reading, const GmlPair& pair, Reading& /*reading, the same*/)
{
    if (!pair.value.is_list()) {
        return;
    }
    EdgeEntry& entry = reading.edges.emplace_back();
    entry.line = pair.line();
    read_list(pair.value.list(), edge_keys, entry, reading);
    reading.is_node.push_back(false);
}

constexpr KeyRule<Reading> graph_keys[] = {
    {"directed",
     [](Reading& reading, const GmlPair& pair, Reading&) {
         if (const auto flag = pair.value.integer()) {
             reading.directed = *flag > 0;
         }
     }},
    {"node", read_node},
    {"edge", read_edge},
};

// The first edge whose source or target is missing or lies outside the span of node ids.
std::optional<Failure> faulty_edge(const Reading& reading)
{
    for (const EdgeEntry& entry : reading.edges) {
        for (const auto& [end, name] :
             {std::pair{entry.source, "source"}, {entry.target, "target"}}) {
            if (!end) {
                return reading.at(entry.line, std::string("edge entry without an integer ") + name);
            }
            if (*end < reading.min_id || *end > reading.max_id) {
                return reading.at(entry.line, std::string("edge ") + name + " " +
                                                  std::to_string(*end) +
                                                  " lies outside the span of node ids");
            }
        }
    }
    return std::nullopt;
}

// Line styles are numbered 0 none, 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot,
// as the library's StrokeType enumerates them; a number outside 1..5 means no line.
ogdf::StrokeType stroke_type(std::optional<std::int64_t> stipple)
{
    if (!stipple) {
        return ogdf::StrokeType::Solid;
    }
    if (*stipple < 1 || *stipple > 5) {
        return ogdf::StrokeType::None;
    }
    return static_cast<ogdf::StrokeType>(*stipple);
}

// Fill patterns are numbered 0 none, 1 solid, 2..8 dense 1..7, 9 horizontal, 10 vertical,
// 11 cross, 12 backward diagonal, 13 forward diagonal, 14 diagonal cross, as the
// library's FillPattern enumerates them; other numbers are ignored.
ogdf::FillPattern fill_pattern(std::optional<std::int64_t> pattern)
{
    constexpr auto last = static_cast<std::int64_t>(ogdf::FillPattern::DiagonalCross);
    if (!pattern || *pattern < 0 || *pattern > last) {
        return ogdf::FillPattern::Solid;
    }
    return static_cast<ogdf::FillPattern>(*pattern);
}

void apply(const NodeEntry& entry, ogdf::node v, KinshipAttributes& attributes)
{
    attributes.x(v) = entry.x.value_or(0.0);
    attributes.y(v) = entry.y.value_or(0.0);
    attributes.width(v) = entry.w.value_or(0.0);
    attributes.height(v) = entry.h.value_or(0.0);
    attributes.shape(v) = entry.type == "oval" ? ogdf::Shape::Ellipse : ogdf::Shape::Rect;
    attributes.label(v) = std::string(entry.label);
    attributes.templateNode(v) = std::string(entry.templ);
    attributes.set_node_fill(v, entry.fill);
    attributes.set_node_line(v, entry.line);
    attributes.strokeWidth(v) = static_cast<float>(entry.line_width.value_or(1.0));
    attributes.strokeType(v) = stroke_type(entry.stipple);
    attributes.fillPattern(v) = fill_pattern(entry.pattern);
    attributes.set_family(v, entry.family.value_or(0) > 0);
}

// "none", "last", "first" and "both" name the arrow heads; any other text leaves the
// arrow undefined, which the library's renderers take as "by the directed flag".
ogdf::EdgeArrow edge_arrow(std::string_view arrow)
{
    if (arrow == "none") {
        return ogdf::EdgeArrow::None;
    }
    if (arrow == "last") {
        return ogdf::EdgeArrow::Last;
    }
    if (arrow == "first") {
        return ogdf::EdgeArrow::First;
    }
    if (arrow == "both") {
        return ogdf::EdgeArrow::Both;
    }
    return ogdf::EdgeArrow::Undefined;
}

void apply(const EdgeEntry& entry, ogdf::edge e, KinshipAttributes& attributes)
{
    ogdf::DPolyline& bends = attributes.bends(e);
    bends.clear();
    for (const ogdf::DPoint& point : entry.route) {
        bends.pushBack(point);
    }
    if (attributes.has(ogdf::GraphAttributes::edgeArrow)) {
        attributes.arrowType(e) = edge_arrow(entry.arrow);
    }
    attributes.strokeType(e) = stroke_type(entry.stipple);
    attributes.strokeWidth(e) = static_cast<float>(entry.line_width.value_or(1.0));
    attributes.set_edge_colour(e, entry.fill);
}

// Makes the graph from a reading that has no failure.
void build(const Reading& reading, ogdf::Graph& graph, KinshipAttributes& attributes)
{
    if (reading.directed) {
        attributes.directed() = *reading.directed;
    }
    std::unordered_map<std::int64_t, ogdf::node> nodes;
    nodes.reserve(reading.nodes.size());
    const auto node_for = [&](std::int64_t id) {
        auto [it, inserted] = nodes.try_emplace(id, nullptr);
        if (inserted) {
            it->second = graph.newNode();
        }
        return it->second;
    };
    auto node = reading.nodes.begin();
    auto edge = reading.edges.begin();
    for (const bool is_node : reading.is_node) {
        if (is_node) {
            apply(*node, node_for(*node->id), attributes);
            ++node;
        } else {
            const ogdf::node source = node_for(*edge->source);
            const ogdf::node target = node_for(*edge->target);
            apply(*edge, graph.newEdge(source, target), attributes);
            ++edge;
        }
    }
    for (const ogdf::edge e : graph.edges) {
        drop_read_centres(attributes, e);
    }
}

} // namespace

Status read_kinship_gml_text(std::string_view text, std::string_view file, ogdf::Graph& graph,
                             KinshipAttributes& attributes)
{
    if (&attributes.constGraph() != &graph) {
        return failure_of({file, 0, "the attributes belong to another graph"});
    }
    const Result<GmlDocument> parsed = parse_gml(text, file);
    if (!parsed) {
        return parsed.failure();
    }
    const GmlList& pairs = parsed.value().pairs();
    const auto graph_pair = std::find_if(pairs.begin(), pairs.end(),
                                         [](const GmlPair& p) { return p.key() == "graph"; });
    if (graph_pair == pairs.end()) {
        return failure_of({file, 0, "no top-level \"graph\" list"});
    }
    if (!graph_pair->value.is_list()) {
        return failure_of({file, graph_pair->line(), "\"graph\" is not a list"});
    }
    graph.clear();
    Reading reading{.file = file};
    read_list(graph_pair->value.list(), graph_keys, reading, reading);
    for (const std::optional<Failure>& failure :
         {reading.node_without_id, reading.line_width_too_large, faulty_edge(reading)}) {
        if (failure) {
            return *failure;
        }
    }
    build(reading, graph, attributes);
    return done;
}

Status read_kinship_gml(const std::string& path, ogdf::Graph& graph,
                        KinshipAttributes& attributes)
{
    const Result<std::string> text = read_whole_file(path, "the GML file");
    if (!text) {
        return text.failure();
    }
    return read_kinship_gml_text(text.value(), path, graph, attributes);
}

} // namespace kinship::gml
