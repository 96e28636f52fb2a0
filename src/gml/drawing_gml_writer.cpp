#include "gml/drawing_gml_writer.h"

#include "common/atomic_file.h"
#include "common/gml_text.h"
#include "gml/edge_route.h"

namespace kinship::gml {
namespace {

class DrawingWriter {
public:
    explicit DrawingWriter(const KinshipAttributes& attributes)
        : attributes_(attributes), graph_(attributes.constGraph()), number_(graph_, 0)
    {
    }

    std::string run();
    // Whether every real written was one the parser reads back (not inf, nan or too large).
    bool reals_readable() const { return reals_readable_; }

private:
    void write_node(ogdf::node v);
    void write_edge(ogdf::edge e);
    void write_route(ogdf::edge e);

    // Starts a line: the indentation and the key with its separating blank.
    std::string& key(int indent, const char* name);
    void integer_line(int indent, const char* name, long long value);
    void real_line(int indent, const char* name, double value);
    void string_line(int indent, const char* name, std::string_view text);
    void append_checked_real(double value);
    void open_list(int indent, const char* name) { key(indent, name).append("[\n"); }
    void close_list(int indent);

    const KinshipAttributes& attributes_;
    const ogdf::Graph& graph_;
    ogdf::NodeArray<int> number_;
    std::string out_;
    bool reals_readable_ = true;
};

std::string& DrawingWriter::key(int indent, const char* name)
{
    out_.append(static_cast<std::size_t>(indent), ' ');
    out_.append(name);
    out_.push_back(' ');
    return out_;
}

void DrawingWriter::integer_line(int indent, const char* name, long long value)
{
    key(indent, name).append(std::to_string(value)).push_back('\n');
}

void DrawingWriter::append_checked_real(double value)
{
    reals_readable_ = reals_readable_ && is_writable_real(value);
    append_real(out_, value);
}

void DrawingWriter::real_line(int indent, const char* name, double value)
{
    key(indent, name);
    append_checked_real(value);
    out_.push_back('\n');
}

void DrawingWriter::string_line(int indent, const char* name, std::string_view text)
{
    append_string(key(indent, name), text);
    out_.push_back('\n');
}

void DrawingWriter::close_list(int indent)
{
    out_.append(static_cast<std::size_t>(indent), ' ');
    out_.append("]\n");
}

void DrawingWriter::write_node(ogdf::node v)
{
    open_list(2, "node");
    integer_line(4, "id", number_[v]);
    string_line(4, "template", attributes_.templateNode(v));
    string_line(4, "label", attributes_.label(v));
    open_list(4, "graphics");
    real_line(6, "x", attributes_.x(v));
    real_line(6, "y", attributes_.y(v));
    real_line(6, "w", attributes_.width(v));
    real_line(6, "h", attributes_.height(v));
    string_line(6, "fill", attributes_.node_fill_text(v));
    string_line(6, "line", attributes_.node_line_text(v));
    string_line(6, "pattern", std::to_string(static_cast<int>(attributes_.fillPattern(v))));
    integer_line(6, "stipple", static_cast<int>(attributes_.strokeType(v)));
    real_line(6, "lineWidth", attributes_.strokeWidth(v));
    string_line(6, "type", attributes_.shape(v) == ogdf::Shape::Ellipse ? "oval" : "rectangle");
    key(6, "width").append("1.0\n");
    close_list(4);
    close_list(2);
}

void DrawingWriter::write_route(ogdf::edge e)
{
    const ogdf::DPolyline& bends = attributes_.bends(e);
    auto point_line = [this](double x, double y) {
        out_.append(8, ' ');
        out_.append("point [ x ");
        append_checked_real(x);
        out_.append(" y ");
        append_checked_real(y);
        out_.append(" ]\n");
    };

    open_list(6, "Line");
    const RouteCentres centres = centres_to_write(attributes_, e);
    if (centres.source) {
        point_line(attributes_.x(e->source()), attributes_.y(e->source()));
    }
    for (const ogdf::DPoint& p : bends) {
        point_line(p.m_x, p.m_y);
    }
    if (centres.target) {
        point_line(attributes_.x(e->target()), attributes_.y(e->target()));
    }
    close_list(6);
}

void DrawingWriter::write_edge(ogdf::edge e)
{
    open_list(2, "edge");
    integer_line(4, "source", number_[e->source()]);
    integer_line(4, "target", number_[e->target()]);
    open_list(4, "graphics");
    string_line(6, "type", "line");
    string_line(6, "arrow", attributes_.directed() ? "last" : "none");
    integer_line(6, "stipple", static_cast<int>(attributes_.strokeType(e)));
    real_line(6, "lineWidth", attributes_.strokeWidth(e));
    if (!attributes_.bends(e).empty()) {
        write_route(e);
    }
    if (const std::string& colour = attributes_.edge_colour_text(e); !colour.empty()) {
        string_line(6, "fill", colour);
    }
    close_list(4);
    close_list(2);
}

std::string DrawingWriter::run()
{
    int next = 0;
    for (ogdf::node v : graph_.nodes) {
        number_[v] = next++;
    }
    // About what a node and an edge without bends take, so that the text is rarely
    // copied as it grows.
    out_.reserve(400 * static_cast<std::size_t>(graph_.numberOfNodes()) +
                 200 * static_cast<std::size_t>(graph_.numberOfEdges()));
    out_.append("Creator \"ogdf::GraphAttributes::writeGML\"\n");
    out_.append("graph [\n");
    integer_line(2, "directed", attributes_.directed() ? 1 : 0);
    for (ogdf::node v : graph_.nodes) {
        write_node(v);
    }
    for (ogdf::edge e : graph_.edges) {
        write_edge(e);
    }
    out_.append("]\n");
    return std::move(out_);
}

} // namespace

std::string format_drawing_gml(const KinshipAttributes& attributes)
{
    return DrawingWriter(attributes).run();
}

Status write_drawing_gml(const KinshipAttributes& attributes, const std::string& path)
{
    DrawingWriter writer(attributes);
    const std::string text = writer.run();
    if (!writer.reals_readable()) {
        return Failure{"cannot write " + path +
                       ": a position, size or line width is not a real a GML file can hold"};
    }
    return write_file_atomically(path, text);
}

} // namespace kinship::gml
