// kinship-select PEDIGREE_FILE OUTPUT_FILE SELECTION... [--generations N] [--with-partners]
//                [--names NAMES_FILE]
//
// Cuts the part of a pedigree around a person, a line between two people or a clan out of
// a clan pedigree file, as a clan pedigree file the other tools take; see
// select_options.h for the command line and selections.h for what each selection chooses.

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "select/select_command.h"
#include "select/select_options.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    const auto options = kinship::select::parse_select_options(args);
    if (!options) {
        kinship::print_failure(options.failure());
        return options.failure().status;
    }
    using Action = kinship::select::SelectOptions::Action;
    if (options.value().action != Action::select) {
        std::cout << (options.value().action == Action::help ? kinship::select::select_help()
                                                              : kinship::select::select_version())
                  << '\n';
        return 0;
    }
    pedigree::Notes notes;
    const kinship::Status selected = kinship::select::run_select(options.value(), std::cout, notes);
    std::cout.flush();
    pedigree::print_notes(notes);
    if (!selected) {
        kinship::print_failure(selected.failure());
        return selected.failure().status;
    }
    return 0;
}
