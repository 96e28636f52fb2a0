#pragma once

namespace kinship {

// The project's version ("0.1.0"), as the tools' --version prints it; CMake sets it from
// the one place it is written, project(... VERSION ...).
const char* project_version();

} // namespace kinship
