#pragma once

// The order within each layer that crosses few lines: sweeps down and up the layers, each
// sorting a layer by the mean place of what its items link to in the layer just swept
// (barycentres), then swapping neighbours where that crosses fewer lines with both
// layers around; the order with the fewest crossings over all sweeps is kept, and the
// sweeps stop once a few in a row find none better. Then each item in turn is moved to
// the place in its layer where its lines cross least (sifting). Every sweep takes time in
// proportion to the items and links (a sort per layer aside); sifting, in proportion to
// the square of a layer's items, is left to layers of at most a few hundred.

#include "family_layout/row_placement.h"

namespace kinship::family {

// Reorders `placed.layers` by `placed.links` (their offsets place the ends within rows).
// Then up to `shakes` times, the best order so far with some items moved elsewhere in every
// layer is ordered again, and each unconnected part (`placed.part`) keeps it where it
// crosses less there; a part stops being shaken when it crosses nowhere or many tries in a
// row found nothing better.
void order_layers(PlacedLayers& placed, int shakes);

// Crossing pairs of links over all neighbouring layers, by the order of `placed.layers`.
long count_crossings(const PlacedLayers& placed);

} // namespace kinship::family
