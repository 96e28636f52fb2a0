#include "family_layout/layout_command.h"

#include "common/gml_text.h"
#include "common/shell_word.h"
#include "common/text_measure.h"
#include "family_layout/family_drawing.h"
#include "gml/drawing_gml_writer.h"
#include "model/marriages.h"
#include "model/names_table.h"
#include "model/parents_first.h"

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

// The width each person takes in their row, in pedigree order: what kinship-draw needs to
// show their name from `names` whole (see text::name_slot_width).
std::vector<double> name_widths(const Pedigree& pedigree, const NamesTable& names)
{
    std::vector<double> widths;
    std::string id;
    for (const Person& person : pedigree.people()) {
        id.clear();
        gml::append_integer(id, person.id);
        const auto name = names.find(id);
        widths.push_back(text::name_slot_width(name == names.end() ? "" : name->second,
                                               person_size));
    }
    return widths;
}

} // namespace

Status run_layout(const LayoutOptions& options, std::ostream& out)
{
    Result<Pedigree> read = load_pedigree_with_marriages(options.pedigree_path, options.marriages_path);
    if (!read) {
        return read.failure();
    }
    Pedigree& pedigree = read.value();
    if (const auto order = parents_first(pedigree, options.pedigree_path); !order) {
        return order.failure();
    }
    std::vector<double> widths;
    if (options.names_path) {
        const Result<NamesTable> names = load_names_table(*options.names_path);
        if (!names) {
            return names.failure();
        }
        widths = name_widths(pedigree, names.value());
    }
    ogdf::Graph graph;
    gml::KinshipAttributes attributes(graph);
    const DrawingCounts counts = draw_families(pedigree, graph, attributes, widths);
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
        << " " << shell_word(picture_path(options.drawing_path));
    if (options.names_path) {
        out << " --names " << shell_word(*options.names_path);
    }
    out << '\n';
    return done;
}

} // namespace kinship::family
