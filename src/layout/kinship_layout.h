#pragma once

// The layered drawing of a kinship network: parents above their children, few crossing
// parent-child lines, unrelated families packed in rows.

#include <ogdf/layered/SugiyamaLayout.h>

namespace kinship {

// Smallest vertical gap between the boxes of neighbouring layers.
inline constexpr double layer_distance = 20.0;
// Smallest horizontal gap between the boxes of neighbouring nodes of a layer.
inline constexpr double node_distance = 15.0;

// Puts the kinship configuration into `layout`: median crossing reduction and the fast
// hierarchy placement with the two distances above. Every other module and setting is set
// explicitly too, even where it equals the library's default, so that a library release
// with other defaults still gives the same drawing. Crossing reduction runs on the calling
// thread only, which keeps the drawing independent of thread scheduling.
void configure_kinship_layout(ogdf::SugiyamaLayout& layout);

// Runs `layout` on `attributes` (node sizes in; positions and bend points out). The
// crossing reduction shuffles layer orders with the library's pseudo-random generator,
// which is reset to a fixed seed first: the same network always gives the same drawing,
// also when several are laid out in one process.
void run_kinship_layout(ogdf::SugiyamaLayout& layout, ogdf::GraphAttributes& attributes);

} // namespace kinship
