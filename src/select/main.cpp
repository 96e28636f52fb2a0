// kinship-select PEDIGREE_FILE OUTPUT_FILE SELECTION... [--generations N] [--with-partners]
//                [--names NAMES_FILE]
//
// Cuts the part of a pedigree around a person, a line between two people or a clan out of
// a clan pedigree file, as a clan pedigree file the other tools take; see
// select_options.h for the command line and selections.h for what each selection chooses.

#include "common/tool_main.h"
#include "select/select_command.h"
#include "select/select_options.h"

int main(int argc, char** argv)
{
    namespace tool = kinship::select;
    return kinship::run_tool<tool::SelectOptions>(
        argc, argv, {"kinship-select", tool::parse_select_options, tool::select_help, tool::run_select});
}
