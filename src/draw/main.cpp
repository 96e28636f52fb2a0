// kinship-draw DRAWING_FILE [SVG_FILE|PAGE.html] [--names NAMES_FILE]
//              [--colour-by sex|clan|subclan|inbreeding] [--stats OUTPUT_FOLDER]
//
// Draws a drawing file (hierarchical-layout's "whl-gml-..." or kinship-layout's) as an SVG
// picture or as a page to explore in a web browser; see draw_options.h for the command
// line and draw_command.h for the picture.

#include "common/tool_main.h"
#include "draw/draw_command.h"
#include "draw/draw_options.h"

int main(int argc, char** argv)
{
    namespace tool = kinship::draw;
    return kinship::run_tool<tool::DrawOptions>(
        argc, argv, {"kinship-draw", tool::parse_draw_options, tool::draw_help, tool::draw_file});
}
