// kinship-layout PEDIGREE_FILE DRAWING_FILE [--names NAMES_FILE]
//
// Lays a clan pedigree out as families (partners side by side, their children under a
// family node) and writes the drawing file kinship-draw reads; see family_drawing.h.

#include "common/tool_main.h"
#include "family_layout/layout_command.h"
#include "family_layout/layout_options.h"

int main(int argc, char** argv)
{
    namespace tool = kinship::family;
    return kinship::run_tool<tool::LayoutOptions>(
        argc, argv, {"kinship-layout", tool::parse_layout_options, tool::layout_help, tool::run_layout});
}
