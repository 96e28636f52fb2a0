#include "draw/draw_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <ostream>

#include "common/atomic_file.h"
#include "common/whole_file.h"
#include "draw/svg_drawing.h"
#include "gml/kinship_gml_reader.h"

namespace kinship::draw {
namespace {

struct FileText {
    std::string text;
    std::optional<std::string> error;
};

FileText read_whole_file(const std::string& path)
{
    const auto reason = [](const char* what) {
        return [what](int error) { return Failure{std::string(what) + std::strerror(error)}; };
    };
    Result<std::string> text = kinship::read_whole_file(
        path, {.cannot_open = reason("cannot open the drawing file: "),
               .cannot_read = reason("cannot read the drawing file: "),
               .not_rewindable = {}});
    if (!text) {
        return {{}, text.failure().message};
    }
    return {std::move(text).value(), std::nullopt};
}

// A drawing file places its nodes; the first GML file of a run leaves every node at the
// origin, and drawing it would pile all individuals on one spot.
bool has_positions(const gml::KinshipAttributes& attributes)
{
    const ogdf::Graph& graph = attributes.constGraph();
    if (graph.empty()) {
        return true;
    }
    for (const ogdf::node v : graph.nodes) {
        if (attributes.x(v) != 0.0 || attributes.y(v) != 0.0) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string default_svg_path(const std::string& drawing_path)
{
    return drawing_path + ".svg";
}

int draw_file(const std::string& drawing_path, const std::string& svg_path, std::ostream& out,
              std::ostream& err)
{
    const auto fail = [&err](const std::string& message) {
        err << message << '\n';
        return 1;
    };
    const FileText file = read_whole_file(drawing_path);
    if (file.error) {
        return fail(drawing_path + ": " + *file.error);
    }

    ogdf::Graph graph;
    gml::KinshipAttributes attributes(graph);
    attributes.addAttributes(ogdf::GraphAttributes::edgeArrow); // the arrow heads to draw
    if (const auto error = gml::read_kinship_gml_text(file.text, graph, attributes)) {
        return fail(drawing_path + ": the drawing file is malformed: " + error->describe());
    }
    if (!has_positions(attributes)) {
        return fail(drawing_path +
                    ": no node has a position, so this is not a drawing file (the first GML "
                    "file of a run has none; draw the whl-gml- file)");
    }

    const SvgPicture picture =
        draw_svg(attributes, std::filesystem::path(drawing_path).filename().string());
    if (picture.error) {
        return fail(drawing_path + ": cannot draw the network: " + *picture.error);
    }
    if (const auto error = write_file_atomically(svg_path, picture.svg)) {
        return fail("Cannot write the SVG file: " + *error);
    }
    const auto counted = [](int count, const char* noun) {
        return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
    };
    out << "The picture (" << svg_path
        << ") has been created: " << counted(graph.numberOfNodes(), "individual") << ", "
        << counted(graph.numberOfEdges(), "link") << ".\n";
    return 0;
}

} // namespace kinship::draw
