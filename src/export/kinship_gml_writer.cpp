#include "export/kinship_gml_writer.h"

#include "common/atomic_file.h"
#include "common/gml_text.h"

#include <algorithm>
#include <cstdio>
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

// Writes the arcs of parent v in child index order and returns how many. A matrix row holds few
// arcs, so it is scanned a block at a time with a branch-free test that the compiler vectorises,
// and only blocks holding an entry are looked at one by one.
int append_edges_of(std::string& out, const digraph& G, int v)
{
    constexpr int block = 64;
    int written = 0;
    const int* row = G.adj[v];
    for (int start = 0; start < G.V; start += block) {
        const int end = std::min(start + block, G.V);
        int any = 0;
        for (int w = start; w < end; ++w) {
            any |= row[w];
        }
        if (any == 0) {
            continue;
        }
        for (int w = start; w < end; ++w) {
            if (row[w] == 1) {
                append_edge(out, G, v, w);
                ++written;
            }
        }
    }
    return written;
}

} // namespace

std::string format_kinship_gml(const digraph& G)
{
    std::string out;
    append_line(out, "directed", "1");
    append_line(out, "graph", "[");
    for (int v = 0; v < G.V; ++v) {
        append_node(out, G, v);
    }
    // Edges in parent index order, then child index order. The scan stops once all A arcs
    // are written: the youngest generation, at the end of most files, has no children.
    int written = 0;
    for (int v = 0; v < G.V && written < G.A; ++v) {
        written += append_edges_of(out, G, v);
    }
    out += "]\n";
    return out;
}

} // namespace kinship

void parse_and_file(Digraph G, const char* path)
{
    const std::string text = kinship::format_kinship_gml(*G);
    if (const auto error = kinship::write_file_atomically(path, text)) {
        std::fflush(stdout);
        std::fprintf(stderr, "Cannot write the GML file: %s\n", error->c_str());
        std::exit(1);
    }
}
