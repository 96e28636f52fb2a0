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

#include <cstdint>
#include <vector>

namespace kinship::family {

// Reorders `placed.layers` by `placed.links` (their offsets place the ends within rows).
// Then up to `shakes` times, the best order so far with some items moved elsewhere in every
// layer is ordered again, and each unconnected part (`placed.part`) takes, layer by layer,
// this try's order or the best one, whichever mix crosses least there; a part stops being
// shaken when it crosses nowhere or many tries in a row found nothing better. `shaking`
// picks one of many fixed sequences of tries (the same every run).
void order_layers(PlacedLayers& placed, int shakes, std::uint64_t shaking = 0);

// Each part of `placed` takes each of its layers' order from `placed.layers` or from `other`
// (the same items in every layer), whichever mix crosses least over the part.
void keep_cheapest_mix(PlacedLayers& placed, const std::vector<std::vector<int>>& other);

// Crossing pairs of links over all neighbouring layers, by the order of `placed.layers`.
long count_crossings(const PlacedLayers& placed);

} // namespace kinship::family
