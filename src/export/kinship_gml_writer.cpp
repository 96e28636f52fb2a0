#include "export/kinship_gml_writer.h"

#include "common/atomic_file.h"
#include "common/gml_text.h"
#include "common/person_style.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace kinship {

namespace {

// A node's graphics: the same for every node but for the colours and shape, which show the
// sex (see person_style.h).
constexpr std::string_view node_graphics_head = "graphics [\n"
                                                "w 30.000000\n"
                                                "h 30.000000\n";
constexpr std::string_view node_graphics_tail = "pattern \"1\"\n"
                                                "stipple 1\n"
                                                "lineWidth 2.000000\n"
                                                "width 1.000000\n"
                                                "]\n"
                                                "]\n";

// An edge's graphics, the same for every edge.
constexpr std::string_view edge_graphics = "graphics [\n"
                                           "type \"line\"\n"
                                           "arrow \"none\"\n"
                                           "stipple 1\n"
                                           "lineWidth 2.000000\n"
                                           "fill \"#000000\"\n"
                                           "]\n"
                                           "]\n";

// The texts are built in place, piece by piece: the file holds a few hundred bytes per
// person and is written once per run. Every string goes out in the one GML string form,
// so that a clan word holding a double quote or a backslash stays well-formed and reads
// back to the same text.
void append_node(std::string& out, const digraph& G, int v)
{
    out.append("node [\nid ");
    gml::append_integer(out, G.id[v]);
    out.append("\ntemplate ");
    std::string template_text = G.cla[v];
    template_text.append(" ").append(G.subcla[v]).append(" ");
    gml::append_integer(template_text, G.nasc[v]);
    template_text.append(" ");
    gml::append_integer(template_text, G.morte[v]);
    gml::append_string(out, template_text);
    out.append("\nlabel \"");
    gml::append_integer(out, G.id[v]);
    out.append("\"\n").append(node_graphics_head);
    const person_style::Colours& colours = person_style::colours(G.sexo[v]);
    out.append("fill \"").append(colours.fill).append("\"\nline \"").append(colours.line);
    out.append(G.sexo[v] == 'm' ? "\"\ntype \"rectangle\"\n" : "\"\ntype \"oval\"\n");
    out.append(node_graphics_tail);
}

void append_edge(std::string& out, const digraph& G, int parent, int child)
{
    out.append("edge [\nsource ");
    gml::append_integer(out, G.id[parent]);
    out.append("\ntarget ");
    gml::append_integer(out, G.id[child]);
    out.append("\n");
    out.append(edge_graphics);
}

// Writes the arcs of parent v in child index order, calling `written` after each: from
// its child list, or from its matrix row when the list could not be kept.
template <typename Written>
void append_edges_of(std::string& out, const digraph& G, int v, const Written& written)
{
    const lista_filhos& children = G.filhos[v];
    if (children.n < 0) {
        for (int w = 0; w < G.V; ++w) {
            if (G.adj[v][w] == 1) {
                append_edge(out, G, v, w);
                written();
            }
        }
        return;
    }
    for (int k = 0; k < children.n; ++k) {
        append_edge(out, G, v, children.itens[k]);
        written();
    }
}

// Appends the file's text to `out`; when `file` is given, `out` is its buffer, handed to
// the file after each node and arc once it is full.
void append_kinship_gml(std::string& out, const digraph& G, AtomicFile* file)
{
    const auto written = [file] {
        if (file != nullptr) {
            file->write_if_full();
        }
    };
    out.append("directed 1\ngraph [\n");
    for (int v = 0; v < G.V; ++v) {
        append_node(out, G, v);
        written();
    }
    // Edges in parent index order, then child index order.
    for (int v = 0; v < G.V; ++v) {
        append_edges_of(out, G, v, written);
    }
    out += "]\n";
}

} // namespace

std::string format_kinship_gml(const digraph& G)
{
    std::string out;
    // About what a node and an arc take, so that the text is rarely copied as it grows.
    out.reserve(300 * static_cast<std::size_t>(G.V) + 120 * static_cast<std::size_t>(G.A));
    append_kinship_gml(out, G, nullptr);
    return out;
}

Status write_kinship_gml(const digraph& G, const std::string& path)
{
    const auto cannot_write = [](const Failure& failure) {
        return Failure{"Cannot write the GML file: " + failure.message};
    };
    Result<AtomicFile> file = AtomicFile::create(path);
    if (!file) {
        return cannot_write(file.failure());
    }
    append_kinship_gml(file.value().buffer(), G, &file.value());
    if (const Status written = file.value().commit(); !written) {
        return cannot_write(written.failure());
    }
    return done;
}

} // namespace kinship

void parse_and_file(Digraph G, const char* path)
{
    if (const kinship::Status written = kinship::write_kinship_gml(*G, path); !written) {
        kinship::print_failure(written.failure());
        std::exit(written.failure().status);
    }
}
