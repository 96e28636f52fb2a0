#include "family_layout/layer_order.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <numeric>
#include <span>

namespace kinship::family {
namespace {

constexpr int sweep_pairs = 12;
// Sweeps stop early after this many pairs in a row that crossed no less than the best:
// by then they go round the same few orders.
constexpr int sweep_patience = 3;
constexpr int transpose_passes = 4;
// Sifting passes (down, up, ...) over layers of at most `sift_limit` items (it takes time
// in proportion to the square of a layer's items).
constexpr int sift_passes = 2;
constexpr std::size_t sift_limit = 200;
// A try from the best order shaken moves one item in `shake_share` (and one more) of every
// layer elsewhere, then sweeps and sifts a little.
constexpr std::size_t shake_share = 10;
constexpr int shaken_sweep_pairs = 3;
constexpr int shaken_sift_passes = 2;
// Tries in a row that find nothing better before a part is left as it is. Large parts
// still find better orders after 25 fruitless tries (presidents-2020 crosses 72 times on
// average over eight sequences with 35, 75 with 25; 25 ms more), while small ones stop
// by the number of tries anyway.
constexpr int fails_to_stop = 35;

// Where a link's end lies in its item's row, as a shift within (-0.5, 0.5) of the item's
// place in its layer.
double end_shift(const PlacedLayers& placed, int item, double offset)
{
    const double w = placed.width[static_cast<std::size_t>(item)];
    return w > 0 ? offset / (w + 1) : 0.0;
}

// Sorts v[first, last): by insertion where there are a few, as there mostly are (the ends
// of one item, the links from one place).
template <typename T>
void sort_few(std::vector<T>& v, std::size_t first, std::size_t last)
{
    if (last - first > 16) {
        std::sort(v.begin() + static_cast<std::ptrdiff_t>(first),
                  v.begin() + static_cast<std::ptrdiff_t>(last));
        return;
    }
    for (std::size_t i = first + 1; i < last; ++i) {
        const T value = v[i];
        std::size_t j = i;
        for (; j > first && value < v[j - 1]; --j) {
            v[j] = v[j - 1];
        }
        v[j] = value;
    }
}

// Sorts `v`, counting the pairs out of order (strictly greater first): runs of a few
// sorted by insertion, then merged bottom up.
long sort_counting(std::vector<double>& v, std::vector<double>& scratch)
{
    constexpr std::size_t run = 8;
    long count = 0;
    const std::size_t n = v.size();
    for (std::size_t lo = 0; lo < n; lo += run) {
        const std::size_t hi = std::min(lo + run, n);
        for (std::size_t i = lo + 1; i < hi; ++i) {
            const double x = v[i];
            std::size_t j = i;
            while (j > lo && v[j - 1] > x) {
                v[j] = v[j - 1];
                --j;
            }
            count += static_cast<long>(i - j);
            v[j] = x;
        }
    }
    scratch.resize(n);
    for (std::size_t width = run; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, n);
            const std::size_t hi = std::min(lo + 2 * width, n);
            std::size_t i = lo;
            std::size_t j = mid;
            std::size_t k = lo;
            while (i < mid && j < hi) {
                if (v[j] < v[i]) {
                    count += static_cast<long>(mid - i);
                    scratch[k++] = v[j++];
                } else {
                    scratch[k++] = v[i++];
                }
            }
            while (i < mid) {
                scratch[k++] = v[i++];
            }
            while (j < hi) {
                scratch[k++] = v[j++];
            }
        }
        v.swap(scratch);
    }
    return count;
}

// What the lines between a layer and the next cross, by the order each is taken from:
// [upper][lower], 0 for the best order so far and 1 for a try's.
using GapCrossings = std::array<std::array<long, 2>, 2>;

// The order to take each layer of a chain from, so that all the chain's gaps together cross
// least: a shortest path down the layers, ties going to the best order so far. `choice` gets
// one entry per layer (one more than `gaps`); the crossings are returned.
long cheapest_mix(const std::vector<GapCrossings>& gaps, std::vector<int>& choice)
{
    choice.assign(gaps.size() + 1, 0);
    std::vector<std::array<int, 2>> came_from(gaps.size() + 1, {0, 0});
    std::array<long, 2> cost{0, 0};
    for (std::size_t i = 0; i < gaps.size(); ++i) {
        std::array<long, 2> next{};
        for (std::size_t lower = 0; lower < 2; ++lower) {
            const long via_best = cost[0] + gaps[i][0][lower];
            const long via_try = cost[1] + gaps[i][1][lower];
            next[lower] = std::min(via_best, via_try);
            came_from[i + 1][lower] = via_try < via_best ? 1 : 0;
        }
        cost = next;
    }
    int at = cost[1] < cost[0] ? 1 : 0;
    const long total = cost[static_cast<std::size_t>(at)];
    for (std::size_t i = gaps.size() + 1; i-- > 0;) {
        choice[i] = at;
        at = came_from[i][static_cast<std::size_t>(at)];
    }
    return total;
}

// Crossings of the links between each layer and the next, by the places the items were last
// numbered with: the links sorted by their upper ends, the lower ends out of order counted.
class GapCounter {
public:
    explicit GapCounter(const PlacedLayers& placed)
        : placed_(placed), place_(placed.x.size(), 0.0), below_(placed.layers.size())
    {
        std::vector<std::size_t> layer_of(placed.x.size(), 0);
        for (std::size_t l = 0; l < placed.layers.size(); ++l) {
            for (const int item : placed.layers[l]) {
                layer_of[static_cast<std::size_t>(item)] = l;
            }
            number(placed.layers[l]);
        }
        for (std::size_t l = 0; l < placed.links.size(); ++l) {
            const PlacedLayers::Link& link = placed.links[l];
            below_[layer_of[static_cast<std::size_t>(link.upper)]].push_back(
                {link.upper, link.lower, end_shift(placed, link.upper, link.upper_offset),
                 end_shift(placed, link.lower, link.lower_offset)});
        }
    }

    // The places of a layer's items by their order.
    void number(const std::vector<int>& layer)
    {
        for (std::size_t k = 0; k < layer.size(); ++k) {
            place_[static_cast<std::size_t>(layer[k])] = static_cast<double>(k);
        }
    }

    // Each item's place in its layer.
    std::vector<double>& places() { return place_; }

    // Below layer `l`.
    long count(std::size_t l)
    {
        // The links sorted by their upper ends: by the upper item's place first (counted
        // out), then each item's few by their ends.
        const std::vector<GapLink>& links = below_[l];
        bucket_.assign(placed_.layers[l].size() + 1, 0);
        const auto at = [&](int item) { return place_[static_cast<std::size_t>(item)]; };
        for (const GapLink& link : links) {
            ++bucket_[static_cast<std::size_t>(at(link.upper)) + 1];
        }
        std::partial_sum(bucket_.begin(), bucket_.end(), bucket_.begin());
        pairs_.resize(links.size());
        for (const GapLink& link : links) {
            pairs_[bucket_[static_cast<std::size_t>(at(link.upper))]++] = {
                at(link.upper) + link.upper_shift, at(link.lower) + link.lower_shift};
        }
        // Now each place's links end where the next place's begin.
        std::size_t from = 0;
        for (const std::size_t to : bucket_) {
            sort_few(pairs_, from, to);
            from = to;
        }
        lower_ends_.clear();
        for (const auto& p : pairs_) {
            lower_ends_.push_back(p.second);
        }
        return sort_counting(lower_ends_, scratch_);
    }

    long count_all()
    {
        long count = 0;
        for (std::size_t l = 0; l < below_.size(); ++l) {
            count += this->count(l);
        }
        return count;
    }

private:
    // A link by its items and the shifts of its ends.
    struct GapLink {
        int upper, lower;
        double upper_shift, lower_shift;
    };

    const PlacedLayers& placed_;
    std::vector<double> place_;
    std::vector<std::vector<GapLink>> below_; // per layer, the links to the next
    std::vector<std::pair<double, double>> pairs_;
    std::vector<double> lower_ends_, scratch_;
    std::vector<std::size_t> bucket_;
};

// The cheapest mix for one part, its layers `chain` (top down) taken from the orders `best`
// or `tried`: `gaps` and `choice` as for cheapest_mix, the crossings returned. The places
// are numbered by `tried` before and after. `best_gap`, where given, holds what `best`
// crosses below each layer.
long mix_part(GapCounter& counter, const std::vector<std::size_t>& chain,
              const std::vector<std::vector<int>>& best, const std::vector<std::vector<int>>& tried,
              const std::vector<long>* best_gap, std::vector<GapCrossings>& gaps,
              std::vector<int>& choice)
{
    gaps.assign(chain.empty() ? 0 : chain.size() - 1, {});
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        gaps[i][1][1] = counter.count(chain[i]);
    }
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        const std::size_t upper = chain[i];
        const std::size_t lower = chain[i + 1];
        const bool upper_same = best[upper] == tried[upper];
        const bool lower_same = best[lower] == tried[lower];
        auto& gap = gaps[i];
        gap[0][0] = gap[0][1] = gap[1][0] = gap[1][1];
        if (!upper_same) {
            counter.number(best[upper]);
            gap[0][1] = counter.count(upper);
        }
        if (!lower_same) {
            counter.number(best[lower]);
            gap[0][0] = best_gap != nullptr ? (*best_gap)[upper] : counter.count(upper);
            counter.number(tried[upper]);
            gap[1][0] = upper_same ? gap[0][0] : counter.count(upper);
            counter.number(tried[lower]);
        } else {
            gap[0][0] = gap[0][1]; // the lower layer is the same either way
            counter.number(tried[upper]);
        }
    }
    return cheapest_mix(gaps, choice);
}

} // namespace

long count_crossings(const PlacedLayers& placed)
{
    return GapCounter(placed).count_all();
}

void keep_cheapest_mix(PlacedLayers& placed, const std::vector<std::vector<int>>& other)
{
    GapCounter counter(placed);
    std::vector<GapCrossings> gaps;
    std::vector<int> choice;
    const std::vector<std::vector<int>> own = placed.layers;
    for (const auto& layer : other) {
        counter.number(layer);
    }
    for (const auto& chain : layers_by_part(placed)) {
        mix_part(counter, chain, own, other, nullptr, gaps, choice);
        for (std::size_t i = 0; i < chain.size(); ++i) {
            if (choice[i] == 1) {
                placed.layers[chain[i]] = other[chain[i]];
            }
        }
    }
}

void order_layers(PlacedLayers& placed, int shakes, std::uint64_t shaking)
{
    const std::vector<std::size_t> order = layers_by_depth(placed);
    GapCounter counter(placed);
    std::vector<double>& place = counter.places();
    const auto number = [&](const std::vector<int>& layer) { counter.number(layer); };
    // Per item, the far ends of its links up and down, one item's after another's: the
    // item there and the end's shift, read without going through the links.
    struct FarEnd {
        int item;
        double shift;
    };
    struct FarEnds {
        std::vector<FarEnd> end;
        std::vector<std::uint32_t> start; // item i's: end[start[i]] up to end[start[i + 1]]
    };
    std::array<FarEnds, 2> far; // [0] down, [1] up
    {
        const ItemLinks item_links = links_by_item(placed);
        for (const bool upward : {false, true}) {
            FarEnds& side = far[upward ? 1 : 0];
            side.start.assign(1, 0);
            for (const auto& links : upward ? item_links.up : item_links.down) {
                for (const std::size_t l : links) {
                    const PlacedLayers::Link& link = placed.links[l];
                    const int item = upward ? link.upper : link.lower;
                    side.end.push_back(
                        {item, end_shift(placed, item, upward ? link.upper_offset
                                                              : link.lower_offset)});
                }
                side.start.push_back(static_cast<std::uint32_t>(side.end.size()));
            }
        }
    }
    // The ends on the other side of an item's links, up or down, added to `out`.
    const auto add_ends = [&](int item, bool upward, std::vector<double>& out) {
        const FarEnds& side = far[upward ? 1 : 0];
        const auto i = static_cast<std::size_t>(item);
        for (std::size_t e = side.start[i]; e < side.start[i + 1]; ++e) {
            out.push_back(place[static_cast<std::size_t>(side.end[e].item)] +
                          side.end[e].shift);
        }
    };
    // The ends of the links of a layer's items (by their places when loaded), sorted, on
    // both sides, one item after another in one run; the layers around stay as they are
    // while the layer is reordered. Each item's first and last end and their number are
    // kept beside, so that two items whose ends lie apart are compared without reading
    // the ends.
    struct Extent {
        double first = 0;
        double last = 0;
        std::size_t start = 0;
        std::size_t count = 0;
    };
    struct LoadedEnds {
        std::vector<double> value;
        std::vector<Extent> extent; // per loaded item

        std::span<const double> of(std::size_t k) const
        {
            return {value.data() + extent[k].start, extent[k].count};
        }
    };
    LoadedEnds ups, downs;
    const auto load_side = [&](const std::vector<int>& layer, bool upward, LoadedEnds& side) {
        side.value.clear();
        side.extent.clear();
        for (const int item : layer) {
            const std::size_t first = side.value.size();
            add_ends(item, upward, side.value);
            sort_few(side.value, first, side.value.size());
            Extent e{0.0, 0.0, first, side.value.size() - first};
            if (e.count > 0) {
                e.first = side.value[first];
                e.last = side.value.back();
            }
            side.extent.push_back(e);
        }
    };
    const auto load = [&](const std::vector<int>& layer) {
        load_side(layer, true, ups);
        load_side(layer, false, downs);
    };
    // How much more the links of loaded items u and v cross with u left of v than with v
    // left of u: one merge per side.
    const auto excess = [&](std::size_t u, std::size_t v) {
        long more = 0;
        for (const LoadedEnds* side : {&ups, &downs}) {
            const Extent& eu = side->extent[u];
            const Extent& ev = side->extent[v];
            if (eu.count == 0 || ev.count == 0) {
                continue;
            }
            // Apart, every pair crosses one way round and none the other.
            const auto pairs = static_cast<long>(eu.count * ev.count);
            if (ev.last < eu.first) {
                more += pairs;
                continue;
            }
            if (eu.last < ev.first) {
                more -= pairs;
                continue;
            }
            const std::span<const double> a = side->of(u);
            const std::span<const double> b = side->of(v);
            std::size_t below = 0; // ends of v before x
            std::size_t up_to = 0; // ends of v at or before x
            for (const double x : a) {
                while (below < b.size() && b[below] < x) {
                    ++below;
                }
                up_to = std::max(up_to, below);
                while (up_to < b.size() && b[up_to] <= x) {
                    ++up_to;
                }
                // u left: pairs with x > y cross; v left: pairs with x < y.
                more += static_cast<long>(below) - static_cast<long>(b.size() - up_to);
            }
        }
        return more;
    };
    std::vector<std::size_t> slot; // the loaded items in their current order
    // Per place k: the items at k and k + 1 were found in the order that crosses no more,
    // and have not moved since (the two ways round of a pair depend on nothing else).
    std::vector<char> pair_settled;
    const auto transpose = [&](std::vector<int>& layer) {
        load(layer);
        slot.resize(layer.size());
        std::iota(slot.begin(), slot.end(), std::size_t{0});
        pair_settled.assign(layer.size(), 0);
        for (int pass = 0; pass < transpose_passes; ++pass) {
            bool swapped = false;
            for (std::size_t k = 0; k + 1 < layer.size(); ++k) {
                if (pair_settled[k]) {
                    continue;
                }
                pair_settled[k] = 1;
                if (excess(slot[k], slot[k + 1]) > 0) {
                    std::swap(slot[k], slot[k + 1]);
                    std::swap(layer[k], layer[k + 1]);
                    place[static_cast<std::size_t>(layer[k])] = static_cast<double>(k);
                    place[static_cast<std::size_t>(layer[k + 1])] =
                        static_cast<double>(k + 1);
                    pair_settled[k + 1] = 0;
                    if (k > 0) {
                        pair_settled[k - 1] = 0;
                    }
                    swapped = true;
                }
            }
            if (!swapped) {
                return;
            }
        }
    };
    // Sifting: each item of a layer in turn is taken out and put back at the place where
    // its links cross least those of the others, with both neighbouring layers. Each move
    // crosses at most as often as before; layers too long for this are left as they are.
    std::vector<int> item_of;
    std::vector<long> cost_at;
    // Which loaded items of a layer of n have a link crossing another item's: on either side,
    // some end of an item to its left lies beyond its first end, or some end of an item to
    // its right lies before its last.
    std::vector<char> crossing;
    const auto mark_crossing = [&](std::size_t n) {
        crossing.assign(n, 0);
        for (const LoadedEnds* side : {&ups, &downs}) {
            double furthest = -std::numeric_limits<double>::infinity();
            for (std::size_t k = 0; k < n; ++k) {
                const std::span<const double> e = side->of(k);
                if (!e.empty()) {
                    crossing[k] |= furthest > e.front();
                    furthest = std::max(furthest, e.back());
                }
            }
            double nearest = std::numeric_limits<double>::infinity();
            for (std::size_t k = n; k-- > 0;) {
                const std::span<const double> e = side->of(k);
                if (!e.empty()) {
                    crossing[k] |= nearest < e.back();
                    nearest = std::min(nearest, e.front());
                }
            }
        }
    };
    const auto sift = [&](std::vector<int>& layer) {
        const std::size_t n = layer.size();
        if (n < 3 || n > sift_limit) {
            return;
        }
        load(layer);
        slot.resize(n);
        std::iota(slot.begin(), slot.end(), std::size_t{0});
        item_of = layer;
        mark_crossing(n);
        for (std::size_t u = 0; u < n; ++u) {
            if (!crossing[u]) { // nowhere to go that crosses less
                continue;
            }
            const auto at = static_cast<std::size_t>(std::ranges::find(slot, u) - slot.begin());
            slot.erase(slot.begin() + static_cast<std::ptrdiff_t>(at));
            // The crossings of u at each place, relative to the first: each step right
            // past an item adds the difference of the two ways round.
            cost_at.resize(slot.size() + 1);
            cost_at[0] = 0;
            for (std::size_t k = 0; k < slot.size(); ++k) {
                cost_at[k + 1] = cost_at[k] - excess(u, slot[k]);
            }
            std::size_t best_place = at; // moves only for a gain
            for (std::size_t k = 0; k < cost_at.size(); ++k) {
                if (cost_at[k] < cost_at[best_place]) {
                    best_place = k;
                }
            }
            slot.insert(slot.begin() + static_cast<std::ptrdiff_t>(best_place), u);
        }
        for (std::size_t k = 0; k < n; ++k) {
            layer[k] = item_of[slot[k]];
        }
        number(layer);
    };
    std::vector<double> key;
    std::vector<double> a;
    std::vector<std::size_t> linked, by_key;
    std::vector<int> sorted;
    std::vector<char> settled(placed.layers.size(), 0); // layers of parts crossing nowhere
    const auto sweep = [&](bool downward) {
        for (std::size_t n = 0; n < order.size(); ++n) {
            if (settled[order[downward ? n : order.size() - 1 - n]]) {
                continue;
            }
            auto& layer = placed.layers[order[downward ? n : order.size() - 1 - n]];
            key.assign(layer.size(), 0.0);
            // Items linked that way are sorted by their barycentres into the places of
            // the linked ones; the others keep their places.
            linked.clear();
            for (std::size_t k = 0; k < layer.size(); ++k) {
                a.clear();
                add_ends(layer[k], downward, a);
                if (!a.empty()) {
                    key[k] =
                        std::accumulate(a.begin(), a.end(), 0.0) / static_cast<double>(a.size());
                    linked.push_back(k);
                }
            }
            by_key = linked;
            // Ties keep their order, as in a stable sort, without its buffer.
            std::ranges::sort(by_key, [&](std::size_t a, std::size_t b) {
                return key[a] != key[b] ? key[a] < key[b] : a < b;
            });
            sorted = layer;
            for (std::size_t j = 0; j < linked.size(); ++j) {
                sorted[linked[j]] = layer[by_key[j]];
            }
            layer.swap(sorted);
            number(layer);
            transpose(layer);
        }
    };
    // What the layers that may move cross below them.
    const auto count_moving = [&] {
        long count = 0;
        for (std::size_t l = 0; l < placed.layers.size(); ++l) {
            count += settled[l] ? 0 : counter.count(l);
        }
        return count;
    };
    // Sweeps from the layers as they stand, the order crossing least kept, then sifting.
    std::vector<std::vector<int>> best_layers;
    const auto improve = [&](int pairs, int sifts) {
        long best = count_moving();
        best_layers = placed.layers;
        for (int n = 0, last_better = 0; n < pairs && best > 0 && n - last_better < sweep_patience;
             ++n) {
            sweep(true);
            sweep(false);
            const long now = count_moving();
            if (now < best) {
                best = now;
                best_layers = placed.layers;
                last_better = n + 1;
            }
        }
        placed.layers.swap(best_layers);
        for (const auto& layer : placed.layers) {
            number(layer);
        }
        for (int pass = 0; pass < sifts; ++pass) {
            for (std::size_t n = 0; n < order.size(); ++n) {
                const std::size_t l = order[pass % 2 == 0 ? n : order.size() - 1 - n];
                if (!settled[l]) {
                    sift(placed.layers[l]);
                }
            }
        }
    };
    improve(sweep_pairs, sift_passes);
    // Then tries from the best order shaken: in each layer some items moved elsewhere, at
    // places drawn from a fixed sequence (the same every run).
    std::uint64_t state = 0x9e3779b97f4a7c15ULL + shaking * 0x2545f4914f6cdd1dULL;
    const auto draw = [&](std::size_t below) { // splitmix64
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return static_cast<std::size_t>((z ^ (z >> 31)) % below);
    };
    const std::vector<std::vector<std::size_t>> part_layers = layers_by_part(placed);
    const std::size_t parts = part_layers.size();
    // The crossings below each layer in the best order, and in each part.
    std::vector<long> best_gap(placed.layers.size());
    std::vector<long> best_part(parts, 0);
    for (std::size_t part = 0; part < parts; ++part) {
        for (const std::size_t l : part_layers[part]) {
            best_gap[l] = counter.count(l);
            best_part[part] += best_gap[l];
        }
    }
    // A part is done once it crosses nowhere, or after `fails_to_stop` tries in a row that
    // found nothing better for it; the tries end when every part is done.
    std::vector<int> failed(parts, 0);
    std::vector<GapCrossings> gaps;
    std::vector<int> choice;
    std::vector<std::vector<int>> kept; // the best order, while a try is made
    for (int t = 0; t < shakes; ++t) {
        bool any = false;
        for (std::size_t l = 0; l < placed.layers.size(); ++l) {
            const std::size_t part =
                placed.part.empty() ? 0 : static_cast<std::size_t>(placed.part[l]);
            settled[l] = best_part[part] == 0 || failed[part] >= fails_to_stop;
            any = any || !settled[l];
        }
        if (!any) {
            break;
        }
        kept = placed.layers;
        for (std::size_t l = 0; l < placed.layers.size(); ++l) {
            auto& layer = placed.layers[l];
            const std::size_t moved =
                settled[l] || layer.size() <= 2 ? 0 : 1 + layer.size() / shake_share;
            for (std::size_t m = 0; m < moved; ++m) {
                const std::size_t from = draw(layer.size());
                const int item = layer[from];
                layer.erase(layer.begin() + static_cast<std::ptrdiff_t>(from));
                const std::size_t to = draw(layer.size() + 1);
                layer.insert(layer.begin() + static_cast<std::ptrdiff_t>(to), item);
            }
            number(layer);
        }
        improve(shaken_sweep_pairs, shaken_sift_passes);
        // Each part takes, layer by layer, the try's order or the best one, whichever mix
        // crosses least there: what the lines below each layer cross, for the four ways of
        // taking it and the next, then the cheapest way down the layers.
        for (std::size_t part = 0; part < parts; ++part) {
            const auto& chain = part_layers[part];
            if (chain.empty() || settled[chain.front()]) {
                continue;
            }
            const long mixed =
                mix_part(counter, chain, kept, placed.layers, &best_gap, gaps, choice);
            const bool better = mixed < best_part[part];
            for (std::size_t i = 0; i < chain.size(); ++i) {
                if (!better || choice[i] == 0) {
                    placed.layers[chain[i]] = kept[chain[i]];
                    number(placed.layers[chain[i]]);
                }
                if (better && i + 1 < chain.size()) {
                    best_gap[chain[i]] = gaps[i][static_cast<std::size_t>(choice[i])]
                                             [static_cast<std::size_t>(choice[i + 1])];
                }
            }
            failed[part] = better ? 0 : failed[part] + 1;
            best_part[part] = std::min(best_part[part], mixed);
        }
    }
}

} // namespace kinship::family
