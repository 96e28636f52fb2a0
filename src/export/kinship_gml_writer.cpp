#include "export/kinship_gml_writer.h"

#include "common/atomic_file.h"
#include "common/gml_text.h"

#include <cstdlib>
#include <string_view>

namespace kinship {

namespace {

struct NodeStyle {
    std::string_view fill;
    std::string_view line;
    std::string_view shape;
};

constexpr NodeStyle male_style{"#ADD8E6", "#4682b4", "rectangle"};
constexpr NodeStyle female_style{"#FFE4E1", "#FFDAB9", "oval"};

// Only a lower-case 'm' marks a male; every other character is drawn as female.
const NodeStyle& style_for(char sexo)
{
    return sexo == 'm' ? male_style : female_style;
}

// Every string goes out in the one GML string form, so that a clan word holding a double
// quote or a backslash stays well-formed and reads back to the same text.
std::string quoted(std::string_view text)
{
    std::string out;
    gml::append_string(out, text);
    return out;
}

void append_line(std::string& out, std::string_view key, std::string_view value)
{
    out.append(key).append(" ").append(value).append("\n");
}

void append_node(std::string& out, const digraph& G, int v)
{
    const NodeStyle& style = style_for(G.sexo[v]);
    const std::string id = std::to_string(G.id[v]);

    const std::string template_text =
        quoted(std::string(G.cla[v]) + ' ' + G.subcla[v] + ' ' + std::to_string(G.nasc[v]) + ' ' +
               std::to_string(G.morte[v]));

    append_line(out, "node", "[");
    append_line(out, "id", id);
    append_line(out, "template", template_text);
    append_line(out, "label", quoted(id));
    append_line(out, "graphics", "[");
    append_line(out, "w", "30.000000");
    append_line(out, "h", "30.000000");
    append_line(out, "fill", quoted(style.fill));
    append_line(out, "line", quoted(style.line));
    append_line(out, "type", quoted(style.shape));
    append_line(out, "pattern", "\"1\"");
    append_line(out, "stipple", "1");
    append_line(out, "lineWidth", "2.000000");
    append_line(out, "width", "1.000000");
    out += "]\n";
    out += "]\n";
}

void append_edge(std::string& out, const digraph& G, int parent, int child)
{
    append_line(out, "edge", "[");
    append_line(out, "source", std::to_string(G.id[parent]));
    append_line(out, "target", std::to_string(G.id[child]));
    append_line(out, "graphics", "[");
    append_line(out, "type", "\"line\"");
    append_line(out, "arrow", "\"none\"");
    append_line(out, "stipple", "1");
    append_line(out, "lineWidth", "2.000000");
    append_line(out, "fill", "\"#000000\"");
    out += "]\n";
    out += "]\n";
}

// Writes the arcs of parent v in child index order: from its child list, or from its
// matrix row when the list could not be kept.
void append_edges_of(std::string& out, const digraph& G, int v)
{
    const lista_filhos& children = G.filhos[v];
    if (children.n < 0) {
        for (int w = 0; w < G.V; ++w) {
            if (G.adj[v][w] == 1) {
                append_edge(out, G, v, w);
            }
        }
        return;
    }
    for (int k = 0; k < children.n; ++k) {
        append_edge(out, G, v, children.itens[k]);
    }
}

} // namespace

std::string format_kinship_gml(const digraph& G)
{
    std::string out;
    // About what a node and an arc take, so that the text is rarely copied as it grows.
    out.reserve(300 * static_cast<std::size_t>(G.V) + 120 * static_cast<std::size_t>(G.A));
    append_line(out, "directed", "1");
    append_line(out, "graph", "[");
    for (int v = 0; v < G.V; ++v) {
        append_node(out, G, v);
    }
    // Edges in parent index order, then child index order.
    for (int v = 0; v < G.V; ++v) {
        append_edges_of(out, G, v);
    }
    out += "]\n";
    return out;
}

Status write_kinship_gml(const digraph& G, const std::string& path)
{
    if (const Status written = write_file_atomically(path, format_kinship_gml(G)); !written) {
        return Failure{"Cannot write the GML file: " + written.failure().message};
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
