#pragma once

#include <iosfwd>
#include <string>

namespace kinship::draw {

// The picture's name when none is given: the drawing file's name with ".svg" added.
std::string default_svg_path(const std::string& drawing_path);

// Reads the drawing file at `drawing_path`, draws it and writes the SVG to `svg_path`,
// replacing any file there in one step. Says what it wrote on `out`.
//
// Returns 0 on success. Returns 1, with a message on `err` that starts with the file's
// name, when the drawing file cannot be read, is not well-formed GML, is not a graph this
// reader takes, or has no node positions (the first GML file of a run, say), and when
// the SVG cannot be written; no SVG is written or changed then.
int draw_file(const std::string& drawing_path, const std::string& svg_path, std::ostream& out,
              std::ostream& err);

} // namespace kinship::draw
