#include "family_layout/layout_command.h"

#include "common/shell_word.h"
#include "family_layout/family_drawing.h"
#include "gml/drawing_gml_writer.h"
#include "model/marriages.h"
#include "model/parents_first.h"
#include "model/pedigree_reader.h"

#include <filesystem>

namespace kinship::family {
namespace {

std::string counted(int count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The SVG file the next command draws: the drawing file's name with ".svg" for its
// extension.
std::string picture_path(const std::string& drawing_path)
{
    std::filesystem::path picture(drawing_path);
    if (picture.extension() == ".svg") {
        return drawing_path + ".svg";
    }
    return picture.replace_extension(".svg").string();
}

} // namespace

Status run_layout(const LayoutOptions& options, std::ostream& out)
{
    Result<Pedigree> read = load_pedigree_model(options.pedigree_path);
    if (!read) {
        return read.failure();
    }
    Pedigree& pedigree = read.value();
    if (!options.marriages_path.empty()) {
        if (const Status added = add_marriages(options.marriages_path, pedigree); !added) {
            return added.failure();
        }
    }
    if (const auto order = parents_first(pedigree, options.pedigree_path); !order) {
        return order.failure();
    }
    ogdf::Graph graph;
    gml::KinshipAttributes attributes(graph);
    const DrawingCounts counts = draw_families(pedigree, graph, attributes);
    if (const Status written = gml::write_drawing_gml(attributes, options.drawing_path);
        !written) {
        return written.failure();
    }
    int childless = 0;
    for (int c = 0; c < static_cast<int>(pedigree.couples().size()); ++c) {
        childless += pedigree.couple_children(c).empty();
    }
    out << "Laid out " << counted(counts.people, "person", "people") << " and "
        << counted(counts.couples, "couple", "couples")
        << (childless > 0 ? " (" + std::to_string(childless) + " without children)" : "")
        << " in "
        << counted(counts.layers, "layer", "layers") << " into "
        << options.drawing_path << ".\nNext: kinship-draw " << shell_word(options.drawing_path)
        << " " << shell_word(picture_path(options.drawing_path)) << '\n';
    return done;
}

} // namespace kinship::family
