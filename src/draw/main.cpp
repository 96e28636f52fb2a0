// kinship-draw DRAWING_FILE [SVG_FILE] [--names NAMES_FILE]
//              [--colour-by sex|clan|subclan|inbreeding] [--stats OUTPUT_FOLDER]
//
// Draws the drawing file of hierarchical-layout ("whl-gml-...") as an SVG picture that a
// web browser shows; see draw_options.h for the command line and draw_command.h for the
// picture.

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "draw/draw_command.h"
#include "draw/draw_options.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    const auto options = kinship::draw::parse_draw_options(args);
    if (!options) {
        kinship::print_failure(options.failure());
        return options.failure().status;
    }
    using Action = kinship::draw::DrawOptions::Action;
    if (options.value().action != Action::draw) {
        std::cout << (options.value().action == Action::help ? kinship::draw::draw_help()
                                                              : kinship::draw::draw_version())
                  << '\n';
        return 0;
    }
    const kinship::Status drawn = kinship::draw::draw_file(options.value(), std::cout);
    if (!drawn) {
        kinship::print_failure(drawn.failure());
        return drawn.failure().status;
    }
    return 0;
}
