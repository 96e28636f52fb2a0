#include "draw/draw_command.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <ostream>
#include <unordered_set>

#include "common/atomic_file.h"
#include "common/whole_file.h"
#include "common/xml_text.h"
#include "draw/clan_colours.h"
#include "draw/double_lines.h"
#include "draw/label_layout.h"
#include "draw/page_document.h"
#include "draw/page_data.h"
#include "draw/stats_table.h"
#include "draw/svg_drawing.h"
#include "draw/svg_text.h"
#include "gml/kinship_gml_reader.h"
#include "model/names_table.h"

namespace kinship::draw {
namespace {

// The labels and templates as text an XML document takes, once for every part that shows
// them: the picture, the tooltips, the legend and the page.
void clean_node_texts(gml::KinshipAttributes& attributes)
{
    for (const ogdf::node v : attributes.constGraph().nodes) {
        attributes.label(v) = text::xml_text(attributes.label(v));
        attributes.templateNode(v) = text::xml_text(attributes.templateNode(v));
    }
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

Status draw_file(const DrawOptions& options, std::ostream& out)
{
    const std::string& drawing_path = options.drawing_path;
    const Result<std::string> file = read_whole_file(drawing_path, "the drawing file");
    if (!file) {
        return file.failure();
    }

    ogdf::Graph graph;
    gml::KinshipAttributes attributes(graph);
    attributes.addAttributes(ogdf::GraphAttributes::edgeArrow); // the arrow heads to draw
    if (const Status read =
            gml::read_kinship_gml_text(file.value(), drawing_path, graph, attributes);
        !read) {
        return read.failure();
    }
    clean_node_texts(attributes);
    if (!has_positions(attributes)) {
        return failure_of({drawing_path, 0,
                           "no node has a position, so this is not a drawing file (the first "
                           "GML file of a run has none; draw the whl-gml- file)"});
    }

    NamesTable names;
    if (options.names_path) {
        auto parsed = load_names_table(*options.names_path);
        if (!parsed) {
            return parsed.failure();
        }
        names = std::move(parsed).value();
    }

    const bool has_families = std::ranges::any_of(
        graph.nodes, [&attributes](ogdf::node v) { return attributes.is_family(v); });
    StatsTable stats;
    CoupleKinship couples;
    if (options.stats_folder) {
        auto loaded = load_stats_table(*options.stats_folder);
        if (!loaded) {
            return loaded.failure();
        }
        stats = std::move(loaded).value();
        // Only a family drawing has a line for a couple to draw double.
        if (has_families) {
            auto related = load_couple_kinship(*options.stats_folder);
            if (!related) {
                return related.failure();
            }
            couples = std::move(related).value();
        }
    }

    Decorations decorations;
    if (options.names_path || options.colour_by) {
        const ColourBy colour_by = options.colour_by.value_or(ColourBy::sex);
        decorations.legend = colour_by == ColourBy::sex ? sex_legend(attributes)
                             : colour_by == ColourBy::inbreeding
                                 ? colour_by_inbreeding(attributes, stats)
                                 : colour_by_clan(attributes, colour_by == ColourBy::subclan);
    }
    if (options.stats_folder) {
        decorations.tooltip_ends = stats_tooltips(attributes, stats);
    }
    decorations.labels = lay_out_labels(attributes, names);
    if (!couples.empty()) {
        decorations.double_lines = double_lines(attributes, couples);
    }

    const bool page = options.output == DrawOptions::Output::page;
    std::string written_text;
    if (page) {
        written_text = page_document(
            page_data(attributes, decorations, names, stats, decorations.double_lines),
            text::xml_text(std::filesystem::path(drawing_path).filename().string()));
    } else {
        const std::string title =
            text::xml_text(std::filesystem::path(drawing_path).filename().string());
        Result<std::string> picture = draw_svg(attributes, title, decorations);
        if (!picture) {
            return failure_of(
                {drawing_path, 0, "cannot draw the network", picture.failure().message});
        }
        written_text = std::move(picture).value();
    }
    if (const Status written = write_file_atomically(options.output_path, written_text);
        !written) {
        return written.failure();
    }
    const auto counted = [](std::size_t count, const char* noun) {
        return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
    };
    const auto families = static_cast<std::size_t>(std::ranges::count_if(
        graph.nodes, [&attributes](ogdf::node v) { return attributes.is_family(v); }));
    out << (page ? "The page (" : "The picture (") << options.output_path << ") has been created: "
        << counted(static_cast<std::size_t>(graph.numberOfNodes()) - families, "individual")
        << ", ";
    if (families > 0) {
        out << counted(families, "couple") << ", ";
    }
    out << counted(static_cast<std::size_t>(graph.numberOfEdges()), "link");
    if (options.names_path) {
        std::unordered_set<std::string> ids;
        for (const ogdf::node v : graph.nodes) {
            if (!attributes.is_family(v)) {
                ids.insert(attributes.label(v));
            }
        }
        const auto named = std::ranges::count_if(
            decorations.labels, [](const NodeLabel& label) { return label.is_name; });
        const auto unmatched = std::ranges::count_if(
            names, [&ids](const auto& row) { return !ids.contains(row.first); });
        out << "; " << named << " named; ids of the names table not in the drawing: "
            << unmatched;
    }
    out << ".\n";
    if (page) {
        out << "Open it in a web browser; " << options.output_path
            << "#id=ID opens it with that person selected.\n";
    }
    return done;
}

} // namespace kinship::draw
