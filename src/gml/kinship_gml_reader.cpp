#include "gml/kinship_gml_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
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

NodeEntry node_entry(const GmlList& pairs)
{
    NodeEntry entry;
    for (const GmlPair& pair : pairs) {
        const std::string_view key = pair.key();
        if (key == "id") {
            take(entry.id, pair.value);
        } else if (key == "label") {
            take(entry.label, pair.value);
        } else if (key == "family") {
            take(entry.family, pair.value);
        } else if (key == "template") {
            take(entry.templ, pair.value);
        } else if (key == "graphics" && pair.value.is_list()) {
            for (const GmlPair& g : pair.value.list()) {
                const std::string_view graphics_key = g.key();
                if (graphics_key == "x") {
                    take(entry.x, g.value);
                } else if (graphics_key == "y") {
                    take(entry.y, g.value);
                } else if (graphics_key == "w") {
                    take(entry.w, g.value);
                } else if (graphics_key == "h") {
                    take(entry.h, g.value);
                } else if (graphics_key == "fill") {
                    take(entry.fill, g.value);
                } else if (graphics_key == "line") {
                    take(entry.line, g.value);
                } else if (graphics_key == "type") {
                    take(entry.type, g.value);
                } else if (graphics_key == "stipple") {
                    take(entry.stipple, g.value);
                } else if (graphics_key == "pattern") {
                    take(entry.pattern, g.value);
                } else if (graphics_key == "lineWidth") {
                    take(entry.line_width, g.value);
                }
            }
        }
    }
    return entry;
}

// The points of a "Line" list, in order. A "point" needs real "x" and "y"; one without
// them is left out.
std::vector<ogdf::DPoint> route_points(const GmlList& line)
{
    std::vector<ogdf::DPoint> points;
    for (const GmlPair& pair : line) {
        if (pair.key() != "point" || !pair.value.is_list()) {
            continue;
        }
        std::optional<double> x, y;
        for (const GmlPair& coordinate : pair.value.list()) {
            const std::string_view key = coordinate.key();
            if (key == "x") {
                take(x, coordinate.value);
            } else if (key == "y") {
                take(y, coordinate.value);
            }
        }
        if (x && y) {
            points.emplace_back(*x, *y);
        }
    }
    return points;
}

EdgeEntry edge_entry(const GmlList& pairs)
{
    EdgeEntry entry;
    for (const GmlPair& pair : pairs) {
        const std::string_view key = pair.key();
        if (key == "source") {
            take(entry.source, pair.value);
        } else if (key == "target") {
            take(entry.target, pair.value);
        } else if (key == "graphics" && pair.value.is_list()) {
            for (const GmlPair& g : pair.value.list()) {
                const std::string_view graphics_key = g.key();
                if (graphics_key == "stipple") {
                    take(entry.stipple, g.value);
                } else if (graphics_key == "lineWidth") {
                    take(entry.line_width, g.value);
                } else if (graphics_key == "fill") {
                    take(entry.fill, g.value);
                } else if (graphics_key == "arrow") {
                    take(entry.arrow, g.value);
                } else if (graphics_key == "Line" && g.value.is_list()) {
                    entry.route = route_points(g.value.list());
                }
            }
        }
    }
    return entry;
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

// Line widths are stored as floats: a real beyond the float range would become inf.
Status check_line_widths(const GmlList& pairs)
{
    for (const GmlPair& pair : pairs) {
        const std::string_view key = pair.key();
        const std::optional<double> width = key == "lineWidth" ? pair.value.real() : std::nullopt;
        if (width && std::abs(*width) > std::numeric_limits<float>::max()) {
            std::string message = "lineWidth ";
            append_real(message, *width);
            return failure_at_line(pair.line(), message + " is too large for a line width");
        }
        const bool entry_list = key == "node" || key == "edge" || key == "graphics";
        if (entry_list && pair.value.is_list()) {
            if (Status checked = check_line_widths(pair.value.list()); !checked) {
                return checked;
            }
        }
    }
    return done;
}

class GraphBuilder {
public:
    GraphBuilder(ogdf::Graph& graph, KinshipAttributes& attributes)
        : graph_(graph), attributes_(attributes)
    {
    }

    Status build(const GmlList& graph_list);

private:
    // Finds the span of the node entries' ids; every node entry must have an integer id.
    // The entries themselves are read when the nodes are made.
    Status scan_nodes(const GmlList& graph_list);
    Status add_edge(const GmlPair& pair);
    ogdf::node node_for(std::int64_t id);

    ogdf::Graph& graph_;
    KinshipAttributes& attributes_;
    std::unordered_map<std::int64_t, ogdf::node> nodes_;
    std::int64_t min_id_ = std::numeric_limits<std::int64_t>::max();
    std::int64_t max_id_ = std::numeric_limits<std::int64_t>::min();
};

Status GraphBuilder::scan_nodes(const GmlList& graph_list)
{
    std::size_t node_count = 0;
    for (const GmlPair& pair : graph_list) {
        if (pair.key() != "node" || !pair.value.is_list()) {
            continue;
        }
        std::optional<std::int64_t> id;
        for (const GmlPair& node_pair : pair.value.list()) {
            if (node_pair.key() == "id") {
                take(id, node_pair.value);
            }
        }
        if (!id) {
            return failure_at_line(pair.line(), "node entry without an integer id");
        }
        min_id_ = std::min(min_id_, *id);
        max_id_ = std::max(max_id_, *id);
        ++node_count;
    }
    nodes_.reserve(node_count);
    return done;
}

ogdf::node GraphBuilder::node_for(std::int64_t id)
{
    auto [it, inserted] = nodes_.try_emplace(id, nullptr);
    if (inserted) {
        it->second = graph_.newNode();
    }
    return it->second;
}

Status GraphBuilder::add_edge(const GmlPair& pair)
{
    const EdgeEntry entry = edge_entry(pair.value.list());
    for (const auto& [end, name] : {std::pair{entry.source, "source"}, {entry.target, "target"}}) {
        if (!end) {
            return failure_at_line(pair.line(),
                                   std::string("edge entry without an integer ") + name);
        }
        if (*end < min_id_ || *end > max_id_) {
            return failure_at_line(pair.line(), std::string("edge ") + name + " " +
                                                  std::to_string(*end) +
                                                  " lies outside the span of node ids");
        }
    }
    const ogdf::node source = node_for(*entry.source);
    const ogdf::node target = node_for(*entry.target);
    apply(entry, graph_.newEdge(source, target), attributes_);
    return done;
}

Status GraphBuilder::build(const GmlList& graph_list)
{
    graph_.clear();
    if (Status scanned = scan_nodes(graph_list); !scanned) {
        return scanned;
    }
    if (Status checked = check_line_widths(graph_list); !checked) {
        return checked;
    }
    for (const GmlPair& pair : graph_list) {
        const std::string_view key = pair.key();
        if (key == "directed") {
            if (const auto flag = pair.value.integer()) {
                attributes_.directed() = *flag > 0;
            }
            continue;
        }
        if (!pair.value.is_list()) {
            continue;
        }
        if (key == "node") {
            const NodeEntry entry = node_entry(pair.value.list());
            apply(entry, node_for(*entry.id), attributes_);
        } else if (key == "edge") {
            if (Status added = add_edge(pair); !added) {
                return added;
            }
        }
    }
    for (const ogdf::edge e : graph_.edges) {
        drop_read_centres(attributes_, e);
    }
    return done;
}

} // namespace

Status read_kinship_gml_text(std::string_view text, ogdf::Graph& graph,
                             KinshipAttributes& attributes)
{
    if (&attributes.constGraph() != &graph) {
        return Failure{"the attributes belong to another graph"};
    }
    const Result<GmlDocument> parsed = parse_gml(text);
    if (!parsed) {
        return parsed.failure();
    }
    const GmlList& pairs = parsed.value().pairs();
    const auto graph_pair = std::find_if(pairs.begin(), pairs.end(),
                                         [](const GmlPair& p) { return p.key() == "graph"; });
    if (graph_pair == pairs.end()) {
        return Failure{"no top-level \"graph\" list"};
    }
    if (!graph_pair->value.is_list()) {
        return failure_at_line(graph_pair->line(), "\"graph\" is not a list");
    }
    return GraphBuilder(graph, attributes).build(graph_pair->value.list());
}

Status read_kinship_gml(const std::string& path, ogdf::Graph& graph,
                        KinshipAttributes& attributes)
{
    const auto reason = [&path](const char* what) {
        return [&path, what](int error) {
            return Failure{std::string(what) + path + ": " + std::strerror(error)};
        };
    };
    const Result<std::string> text =
        read_whole_file(path, {.cannot_open = reason("cannot open "),
                               .cannot_read = reason("cannot read "),
                               .not_rewindable = {}});
    if (!text) {
        return text.failure();
    }
    return read_kinship_gml_text(text.value(), graph, attributes);
}

} // namespace kinship::gml
