#pragma once

// How often the lines of a family chart cross: proper crossings between a horizontal and
// a vertical segment of lines of different families (a couple's lines, or a single
// parent's lines to their children, are one family). The few slanted segments inside a
// box are left out.

#include "family_layout/family_chart.h"

namespace kinship::family {

long count_chart_crossings(const Chart& chart, const Families& families);

} // namespace kinship::family
