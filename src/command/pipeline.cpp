#include "command/pipeline.h"

#include "export/kinship_gml_writer.h"
#include "gml/drawing_gml_writer.h"
#include "gml/kinship_gml_reader.h"
#include "layout/kinship_layout.h"

#include <ogdf/layered/SugiyamaLayout.h>

namespace kinship {

OutputNames output_names(const std::string& pedigree_path)
{
    OutputNames names;
    names.first_gml = "gml-" + pedigree_path;
    names.drawing_gml = "whl-" + names.first_gml;
    return names;
}

Result<pedigree::DigraphPtr> read_pedigree(const std::string& pedigree_path,
                                           pedigree::Notes* notes)
{
    return pedigree::read_pedigree_file(pedigree_path.c_str(), pedigree::Passes::two,
                                        pedigree::read_clan_pedigree, notes);
}

Status write_first_gml(const digraph& pedigree, const std::string& first_gml)
{
    return write_kinship_gml(pedigree, first_gml);
}

Status load_first_gml(const std::string& first_gml, ogdf::Graph& graph,
                      gml::KinshipAttributes& attributes)
{
    if (const Status read = gml::read_kinship_gml(first_gml, graph, attributes); !read) {
        return Failure{"Could not load " + first_gml + " extension gml\n  " +
                       read.failure().message};
    }
    return done;
}

Status lay_out(gml::KinshipAttributes& attributes)
{
    ogdf::SugiyamaLayout layout;
    configure_kinship_layout(layout);
    run_kinship_layout(layout, attributes);
    return done;
}

Status run_stages(const std::string& pedigree_path, const StageHook& hook)
{
    const OutputNames names = output_names(pedigree_path);
    {
        pedigree::DigraphPtr pedigree;
        const Status read = hook(Stage::read, [&]() -> Status {
            pedigree::Notes notes;
            Result<pedigree::DigraphPtr> read = read_pedigree(pedigree_path, &notes);
            pedigree::print_notes(notes);
            if (!read) {
                return read.failure();
            }
            pedigree = std::move(read).value();
            return done;
        });
        if (!read) {
            return read;
        }
        if (Status written =
                hook(Stage::first_gml, [&] { return write_first_gml(*pedigree, names.first_gml); });
            !written) {
            return written;
        }
    }
    ogdf::Graph graph;
    gml::KinshipAttributes attributes(graph);
    if (Status loaded = hook(Stage::reload,
                             [&] { return load_first_gml(names.first_gml, graph, attributes); });
        !loaded) {
        return loaded;
    }
    if (Status drawn = hook(Stage::layout, [&] { return lay_out(attributes); }); !drawn) {
        return drawn;
    }
    return hook(Stage::drawing, [&] { return write_drawing(attributes, names.drawing_gml); });
}

Status write_drawing(const gml::KinshipAttributes& attributes, const std::string& drawing_gml)
{
    if (const Status written = gml::write_drawing_gml(attributes, drawing_gml); !written) {
        return Failure{"Could not write the drawing file: " + written.failure().message};
    }
    return done;
}

} // namespace kinship
