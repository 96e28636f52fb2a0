// libFuzzer harness for the GML parser and the kinship reader: any bytes in, either a
// tree and a graph or an error with a message out. What was read is then written as a
// drawing file, which must read back to the same graph: written again, the same text.

#include "fuzz_checks.h"

#include "gml/drawing_gml_writer.h"
#include "gml/gml_parser.h"
#include "gml/kinship_gml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace kinship::fuzz;
    using namespace kinship::gml;
    const std::string_view text = as_text(data, size);

    const kinship::Result<GmlDocument> parsed = parse_gml(text, "fuzz.gml");
    check(parsed || !parsed.failure().message.empty(), "parse error without a message");

    ogdf::Graph graph;
    KinshipAttributes attributes(graph);
    const kinship::Status read = read_kinship_gml_text(text, "fuzz.gml", graph, attributes);
    check(parsed || !read, "the reader accepts text the parser refuses");
    if (!read) {
        check(!read.failure().message.empty(), "read error without a message");
        return 0;
    }

    // The drawing file quotes the fill pattern, as the library's own writer does, and the
    // reader takes a pattern only as an integer: patterns are not carried over.
    for (const ogdf::node v : graph.nodes) {
        attributes.fillPattern(v) = ogdf::FillPattern::Solid;
    }
    const std::string drawing = format_drawing_gml(attributes);
    ogdf::Graph again;
    KinshipAttributes reread(again);
    const kinship::Status reread_status = read_kinship_gml_text(drawing, "drawing.gml", again, reread);
    check(reread_status.ok(), message_of(reread_status).c_str()); // it reads back
    check(format_drawing_gml(reread) == drawing, "the drawing file reads back to another graph");
    return 0;
}
