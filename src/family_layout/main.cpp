// kinship-layout PEDIGREE_FILE DRAWING_FILE
//
// Lays a clan pedigree out as families (partners side by side, their children under a
// family node) and writes the drawing file kinship-draw reads; see family_drawing.h.

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "family_layout/layout_command.h"
#include "family_layout/layout_options.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    const auto options = kinship::family::parse_layout_options(args);
    if (!options) {
        kinship::print_failure(options.failure());
        return options.failure().status;
    }
    using Action = kinship::family::LayoutOptions::Action;
    if (options.value().action != Action::lay_out) {
        std::cout << (options.value().action == Action::help ? kinship::family::layout_help()
                                                              : kinship::family::layout_version())
                  << '\n';
        return 0;
    }
    const kinship::Status laid_out = kinship::family::run_layout(options.value(), std::cout);
    if (!laid_out) {
        kinship::print_failure(laid_out.failure());
        return laid_out.failure().status;
    }
    return 0;
}
