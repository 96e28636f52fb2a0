#include "gml/drawing_gml_writer.h"

#include "common/atomic_file.h"
#include "common/gml_text.h"
#include "gml/edge_route.h"

#include <string_view>

namespace kinship::gml {
namespace {

// Appends the drawing file's text to `out`; when `file` is given, `out` is its buffer,
// handed to the file after each node and edge once it is full.
class DrawingWriter {
public:
    DrawingWriter(const KinshipAttributes& attributes, std::string& out, AtomicFile* file)
        : attributes_(attributes), graph_(attributes.constGraph()), number_(graph_, 0),
          out_(out), file_(file)
    {
    }

    void run();
    // Whether every real written was one the parser reads back (not inf, nan or too large).
    bool reals_readable() const { return reals_readable_; }

private:
    void write_node(ogdf::node v);
    void write_edge(ogdf::edge e);
    void write_route(ogdf::edge e);

    // Each appends the text, then the value in its GML form. The texts hold the line
    // breaks, indentation and keys, so that a node or edge goes out in a few appends.
    void integer(std::string_view text, long long value);
    void real(std::string_view text, double value);
    void string(std::string_view text, std::string_view value);
    void append_checked_real(double value);

    const KinshipAttributes& attributes_;
    const ogdf::Graph& graph_;
    ogdf::NodeArray<int> number_;
    std::string& out_;
    AtomicFile* file_;
    bool reals_readable_ = true;
};

void DrawingWriter::integer(std::string_view text, long long value)
{
    append_integer(out_.append(text), value);
}

void DrawingWriter::append_checked_real(double value)
{
    reals_readable_ = reals_readable_ && is_writable_real(value);
    append_real(out_, value);
}

void DrawingWriter::real(std::string_view text, double value)
{
    out_.append(text);
    append_checked_real(value);
}

void DrawingWriter::string(std::string_view text, std::string_view value)
{
    append_string(out_.append(text), value);
}

void DrawingWriter::write_node(ogdf::node v)
{
    integer("  node [\n    id ", number_[v]);
    string("\n    template ", attributes_.templateNode(v));
    string("\n    label ", attributes_.label(v));
    if (attributes_.is_family(v)) {
        out_.append("\n    family 1");
    }
    real("\n    graphics [\n      x ", attributes_.x(v));
    real("\n      y ", attributes_.y(v));
    real("\n      w ", attributes_.width(v));
    real("\n      h ", attributes_.height(v));
    string("\n      fill ", attributes_.node_fill_text(v));
    string("\n      line ", attributes_.node_line_text(v));
    integer("\n      pattern \"", static_cast<int>(attributes_.fillPattern(v)));
    integer("\"\n      stipple ", static_cast<int>(attributes_.strokeType(v)));
    real("\n      lineWidth ", attributes_.strokeWidth(v));
    out_.append(attributes_.shape(v) == ogdf::Shape::Ellipse ? "\n      type \"oval\""
                                                             : "\n      type \"rectangle\"");
    out_.append("\n      width 1.0\n    ]\n  ]\n");
}

void DrawingWriter::write_route(ogdf::edge e)
{
    const ogdf::DPolyline& bends = attributes_.bends(e);
    auto point_line = [this](double x, double y) {
        real("        point [ x ", x);
        real(" y ", y);
        out_.append(" ]\n");
    };

    out_.append("      Line [\n");
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
    out_.append("      ]\n");
}

void DrawingWriter::write_edge(ogdf::edge e)
{
    integer("  edge [\n    source ", number_[e->source()]);
    integer("\n    target ", number_[e->target()]);
    out_.append("\n    graphics [\n      type \"line\"\n      arrow ");
    // A line into a family node joins a partner to the couple: it has no arrow.
    const bool arrow = attributes_.directed() && !attributes_.is_family(e->target());
    out_.append(arrow ? "\"last\"" : "\"none\"");
    integer("\n      stipple ", static_cast<int>(attributes_.strokeType(e)));
    real("\n      lineWidth ", attributes_.strokeWidth(e));
    out_.push_back('\n');
    if (!attributes_.bends(e).empty()) {
        write_route(e);
    }
    if (const std::string& colour = attributes_.edge_colour_text(e); !colour.empty()) {
        string("      fill ", colour);
        out_.push_back('\n');
    }
    out_.append("    ]\n  ]\n");
}

void DrawingWriter::run()
{
    int next = 0;
    for (ogdf::node v : graph_.nodes) {
        number_[v] = next++;
    }
    if (file_ == nullptr) {
        // About what a node and an edge without bends take, so that the text is rarely
        // copied as it grows.
        out_.reserve(400 * static_cast<std::size_t>(graph_.numberOfNodes()) +
                     200 * static_cast<std::size_t>(graph_.numberOfEdges()));
    }
    out_.append("Creator \"ogdf::GraphAttributes::writeGML\"\ngraph [\n");
    integer("  directed ", attributes_.directed() ? 1 : 0);
    out_.push_back('\n');
    for (ogdf::node v : graph_.nodes) {
        write_node(v);
        if (file_ != nullptr) {
            file_->write_if_full();
        }
    }
    for (ogdf::edge e : graph_.edges) {
        write_edge(e);
        if (file_ != nullptr) {
            file_->write_if_full();
        }
    }
    out_.append("]\n");
}

} // namespace

std::string format_drawing_gml(const KinshipAttributes& attributes)
{
    std::string text;
    DrawingWriter(attributes, text, nullptr).run();
    return text;
}

Status write_drawing_gml(const KinshipAttributes& attributes, const std::string& path)
{
    Result<AtomicFile> file = AtomicFile::create(path);
    if (!file) {
        return file.failure();
    }
    DrawingWriter writer(attributes, file.value().buffer(), &file.value());
    writer.run();
    if (!writer.reals_readable()) { // the file is dropped, the target left as it was
        return Failure{"cannot write " + path +
                       ": a position, size or line width is not a real a GML file can hold"};
    }
    return file.value().commit();
}

} // namespace kinship::gml
