// kinship-draw DRAWING_FILE [SVG_FILE]
//
// Draws the drawing file of hierarchical-layout ("whl-gml-...") as an SVG picture that a
// web browser shows: individuals with their shapes and colours, labelled with their ids,
// links along their routes with arrow heads, and each individual's clan, sub-clan, birth
// and death as a tooltip. The picture goes to SVG_FILE, by default the drawing file's
// name with ".svg" added.

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "draw/draw_command.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: kinship-draw DRAWING_FILE [SVG_FILE] (SVG_FILE defaults to "
                     "DRAWING_FILE.svg)\n";
        return 2;
    }
    const std::string drawing_path = argv[1];
    const std::string svg_path =
        argc == 3 ? std::string(argv[2]) : kinship::draw::default_svg_path(drawing_path);
    std::error_code ignored;
    if (std::filesystem::equivalent(drawing_path, svg_path, ignored)) {
        std::cerr << "usage: kinship-draw DRAWING_FILE [SVG_FILE]: the SVG file " << svg_path
                  << " would replace the drawing file\n";
        return 2;
    }
    return kinship::draw::draw_file(drawing_path, svg_path, std::cout, std::cerr);
}
