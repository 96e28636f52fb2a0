#include "command/pipeline.h"

#include "export/kinship_gml_writer.h"
#include "gml/drawing_gml_writer.h"
#include "gml/kinship_gml_reader.h"
#include "layout/kinship_layout.h"
#include "pedigree/ed_with_cla.h"

#include <ogdf/layered/SugiyamaLayout.h>

#include <cstdio>

namespace kinship {

namespace {

void report_failure(const std::string& message)
{
    // Keep the progress already printed ahead of the failure when both streams go to
    // one place.
    std::fflush(stdout);
    std::fputs(message.c_str(), stderr);
}

} // namespace

OutputNames output_names(const std::string& pedigree_path)
{
    OutputNames names;
    names.first_gml = "gml-" + pedigree_path;
    names.drawing_gml = "whl-" + names.first_gml;
    return names;
}

void write_first_gml(const std::string& pedigree_path, const std::string& first_gml)
{
    Digraph pedigree = DIGRAPHcreate_with_cla(pedigree_path.c_str());
    parse_and_file(pedigree, first_gml.c_str());
    DIGRAPHdestroy(pedigree);
}

bool load_first_gml(const std::string& first_gml, ogdf::Graph& graph,
                    gml::KinshipAttributes& attributes)
{
    if (const auto error = gml::read_kinship_gml(first_gml, graph, attributes)) {
        report_failure("Could not load " + first_gml + " extension gml\n  " + error->describe() +
                       "\n");
        return false;
    }
    return true;
}

void lay_out(gml::KinshipAttributes& attributes)
{
    ogdf::SugiyamaLayout layout;
    configure_kinship_layout(layout);
    run_kinship_layout(layout, attributes);
}

bool write_drawing(const gml::KinshipAttributes& attributes, const std::string& drawing_gml)
{
    if (const auto error = gml::write_drawing_gml(attributes, drawing_gml)) {
        report_failure("Could not write the drawing file: " + *error + "\n");
        return false;
    }
    return true;
}

} // namespace kinship
