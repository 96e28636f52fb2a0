#include "family_layout/chart_routes.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kinship::family {
namespace {

// Space between a layer's boxes and the first horizontal line under them (room for two
// lines of a name under each box), between the last line and the boxes of the layer below,
// and between two lines.
constexpr double name_room = 34.0;
constexpr double line_margin = 12.0;
static_assert(turn_above_box < line_margin);
constexpr double line_spacing = 7.0;
// Two families' lines closer than this along a height would read as one.
constexpr double line_clearance = 5.0;
// How far a line moves aside from another family's.
constexpr double aside = 4.0;

// What one descent does in one space between layers: its horizontal line spans
// [left, right]. Every line of a family is drawn whole from its node to its child, so the
// lines to several children run along one another there, and a line coming down through
// them crosses each one it meets.
struct Span {
    double left = 0;
    double right = 0;
    int descent = 0;
    int space = 0;               // the k-th space of the descent
    std::vector<double> tops;    // x of its lines coming down into the space, one per line
    std::vector<double> bottoms; // x of its lines going on down, one per line
    std::vector<double> lows;    // its lines' horizontal pieces in the space: left ends
    std::vector<double> highs;   // and right ends (all four sorted)
};

// How many of the horizontal pieces of `s` a vertical line at x crosses.
long pieces_over(const Span& s, double x)
{
    return (std::ranges::lower_bound(s.lows, x - 1e-6) - s.lows.begin()) -
           (std::ranges::upper_bound(s.highs, x + 1e-6) - s.highs.begin());
}

// How many crossings the vertical lines at `xs` (sorted) make with the pieces of `s`.
long crossings_with(const std::vector<double>& xs, const Span& s)
{
    long crossings = 0;
    for (auto x = std::ranges::upper_bound(xs, s.left + 1e-6);
         x != xs.end() && *x < s.right - 1e-6; ++x) {
        crossings += pieces_over(s, *x);
    }
    return crossings;
}

// A span overlapping another: what the other's line costs in crossings when it lies
// above this one's, and when it lies under.
struct Overlap {
    std::size_t other;
    long other_above;
    long other_under;
};

// Each span's overlapping ones: a line above another is crossed by the other's lines coming
// down inside its span, a line under another by the other's lines going on down inside its
// span. Each span weighs at most `neighbours` overlapping ones, which bounds the time in a
// crowded space.
std::vector<std::vector<Overlap>> overlaps_of(const std::vector<Span>& spans)
{
    constexpr std::size_t neighbours = 64;
    std::vector<std::size_t> order(spans.size());
    std::iota(order.begin(), order.end(), 0);
    std::ranges::sort(order, {}, [&](std::size_t k) { return spans[k].left; });
    std::vector<std::vector<Overlap>> overlaps(spans.size());
    std::vector<std::size_t> active;
    for (const std::size_t i : order) {
        const Span& a = spans[i];
        if (a.right - a.left < 1e-9) {
            continue;
        }
        std::erase_if(active, [&](std::size_t j) { return spans[j].right <= a.left; });
        for (std::size_t n = active.size() > neighbours ? active.size() - neighbours : 0;
             n < active.size(); ++n) {
            const Span& b = spans[active[n]];
            const long a_above = crossings_with(b.tops, a) + crossings_with(a.bottoms, b);
            const long b_above = crossings_with(a.tops, b) + crossings_with(b.bottoms, a);
            overlaps[i].push_back({active[n], b_above, a_above});
            overlaps[active[n]].push_back({i, a_above, b_above});
        }
        active.push_back(i);
    }
    return overlaps;
}

// The order from the top down among overlapping spans (a span lies under every overlapping
// one before it): first by how much each gains from lying above the ones it overlaps, then
// each span in turn moved to the place among its overlapping ones that crosses least, for
// a few rounds. Returns a key per span, smaller higher up.
std::vector<double> stacking_keys(const std::vector<Span>& spans)
{
    constexpr int rounds = 4;
    const auto overlaps = overlaps_of(spans);
    std::vector<long> gain(spans.size(), 0);
    for (std::size_t i = 0; i < spans.size(); ++i) {
        for (const Overlap& o : overlaps[i]) {
            gain[i] += o.other_under - o.other_above;
        }
    }
    std::vector<std::size_t> order(spans.size());
    std::iota(order.begin(), order.end(), 0);
    std::ranges::sort(order, [&](std::size_t i, std::size_t j) {
        const Span& a = spans[i];
        const Span& b = spans[j];
        if (gain[i] != gain[j]) {
            return gain[i] > gain[j];
        }
        const double wa = a.right - a.left;
        const double wb = b.right - b.left;
        if (wa != wb) {
            return wa > wb;
        }
        return a.left != b.left ? a.left < b.left : a.descent < b.descent;
    });
    std::vector<double> key(spans.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        key[order[k]] = static_cast<double>(k);
    }
    std::vector<Overlap> around;
    for (int round = 0; round < rounds; ++round) {
        bool moved = false;
        for (const std::size_t i : order) {
            if (overlaps[i].empty()) {
                continue;
            }
            around = overlaps[i];
            std::ranges::sort(around, {}, [&](const Overlap& o) { return key[o.other]; });
            // Cost with the first `k` of them above: start with all under.
            long cost = 0;
            for (const Overlap& o : around) {
                cost += o.other_under;
            }
            long now = -1;
            long best = cost;
            std::size_t best_k = 0;
            for (std::size_t k = 0; k <= around.size(); ++k) {
                if (k > 0) {
                    cost += around[k - 1].other_above - around[k - 1].other_under;
                }
                if (now < 0 && (k == around.size() || key[around[k].other] > key[i])) {
                    now = cost;
                }
                if (cost < best) {
                    best = cost;
                    best_k = k;
                }
            }
            if (best < now) {
                const double before = best_k == 0 ? key[around.front().other] - 1.0
                                                  : key[around[best_k - 1].other];
                const double after = best_k == around.size() ? key[around.back().other] + 1.0
                                                             : key[around[best_k].other];
                key[i] = (before + after) / 2;
                moved = true;
            }
        }
        if (!moved) {
            break;
        }
    }
    return key;
}

// Largest value over ranges of slots, where values are only ever raised over a range.
class RangeMax {
public:
    explicit RangeMax(std::size_t size) : size_(std::max<std::size_t>(size, 1)),
        best_(4 * size_, -1), raised_(4 * size_, -1) {}
    int max(std::size_t from, std::size_t to) const { return max(1, 0, size_, from, to); }
    void raise(std::size_t from, std::size_t to, int value) { raise(1, 0, size_, from, to, value); }

private:
    int max(std::size_t at, std::size_t lo, std::size_t hi, std::size_t from, std::size_t to) const
    {
        if (to <= lo || hi <= from) {
            return -1;
        }
        if (from <= lo && hi <= to) {
            return best_[at];
        }
        const std::size_t mid = (lo + hi) / 2;
        return std::max({raised_[at], max(2 * at, lo, mid, from, to),
                         max(2 * at + 1, mid, hi, from, to)});
    }
    void raise(std::size_t at, std::size_t lo, std::size_t hi, std::size_t from, std::size_t to,
               int value)
    {
        if (to <= lo || hi <= from) {
            return;
        }
        best_[at] = std::max(best_[at], value);
        if (from <= lo && hi <= to) {
            raised_[at] = std::max(raised_[at], value);
            return;
        }
        const std::size_t mid = (lo + hi) / 2;
        raise(2 * at, lo, mid, from, to, value);
        raise(2 * at + 1, mid, hi, from, to, value);
    }

    std::size_t size_;
    std::vector<int> best_;
    std::vector<int> raised_;
};

// Gives each span a line index in its space: wider spans first and higher up, each span
// one line under every span placed before it that it would run along. Putting the wide
// ones on top lets the short lines of the families they pass over come down without
// crossing them. Returns the number of lines of the space.
int stack_lines(std::vector<Span>& spans, std::vector<int>& line_of)
{
    std::vector<double> ends;
    for (const Span& s : spans) {
        ends.push_back(s.left);
        ends.push_back(s.right + line_clearance);
    }
    std::ranges::sort(ends);
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
    const auto slot = [&](double x) {
        return static_cast<std::size_t>(std::ranges::lower_bound(ends, x) - ends.begin());
    };
    const std::vector<double> key = stacking_keys(spans);
    std::vector<std::size_t> order(spans.size());
    std::iota(order.begin(), order.end(), 0);
    std::ranges::stable_sort(order, {}, [&](std::size_t k) { return key[k]; });
    std::vector<Span> sorted;
    for (const std::size_t k : order) {
        sorted.push_back(std::move(spans[k]));
    }
    spans = std::move(sorted);
    RangeMax taken(ends.size());
    int lines = 1;
    for (std::size_t k = 0; k < spans.size(); ++k) {
        const Span& s = spans[k];
        if (s.right - s.left < 1e-9) {
            line_of[k] = 0; // a straight drop holds no height
            continue;
        }
        const std::size_t from = slot(s.left);
        const std::size_t to = slot(s.right + line_clearance);
        const int line = taken.max(from, to) + 1;
        taken.raise(from, to, line);
        line_of[k] = line;
        lines = std::max(lines, line + 1);
    }
    return lines;
}

} // namespace

void move_aside(std::vector<Descent>& descents)
{
    // Where lines come down into (top) and leave (not top) each space.
    struct End {
        int space;
        double x;
        std::size_t descent;
        bool top;
        std::size_t path, step;
    };
    std::vector<End> ends;
    for (std::size_t d = 0; d < descents.size(); ++d) {
        const Descent& descent = descents[d];
        for (const double x : descent.tops) {
            ends.push_back({descent.layer, x, d, true, 0, 0});
        }
        for (std::size_t c = 0; c < descent.paths.size(); ++c) {
            const auto& path = descent.paths[c];
            for (std::size_t k = 0; k < path.size(); ++k) {
                const int space = descent.layer + static_cast<int>(k);
                ends.push_back({space, path[k], d, false, c, k});
                if (k + 1 < path.size()) {
                    ends.push_back({space + 1, path[k], d, true, c, k});
                }
            }
        }
    }
    std::ranges::sort(ends, [](const End& a, const End& b) {
        return a.space != b.space ? a.space < b.space : a.x < b.x;
    });
    // Where lines were moved to, per space.
    std::vector<std::pair<int, double>> moved_to;
    // Whether x is clear of every line's end in the space (ends from `from` on are its).
    const auto clear = [&](std::size_t from, int space, double x) {
        for (std::size_t k = from; k < ends.size() && ends[k].space == space && ends[k].x < x + 0.5; ++k) {
            if (ends[k].x > x - 0.5) {
                return false;
            }
        }
        return std::ranges::none_of(moved_to, [&](const auto& m) {
            return m.first == space && std::abs(m.second - x) < 0.5;
        });
    };
    std::size_t space_start = 0;
    for (std::size_t first = 0; first < ends.size();) {
        if (ends[first].space != ends[space_start].space) {
            space_start = first;
            moved_to.clear();
        }
        std::size_t last = first + 1;
        while (last < ends.size() && ends[last].space == ends[first].space &&
               ends[last].x - ends[first].x < 0.5) {
            ++last;
        }
        for (std::size_t b = first; b < last; ++b) {
            const End& leaving = ends[b];
            const bool met = std::any_of(ends.begin() + static_cast<long>(first),
                                         ends.begin() + static_cast<long>(last), [&](const End& e) {
                                             return e.top && e.descent != leaving.descent;
                                         });
            if (leaving.top || !met) {
                continue;
            }
            // The passage is the trunk's, shared by the paths that go on through it; an
            // individual line is its child's alone.
            auto& paths = descents[leaving.descent].paths;
            const double was = leaving.x;
            const bool passage = leaving.step + 1 < paths[leaving.path].size();
            // Aside to the right, else left, else further, where no other line is.
            double to = was + aside;
            for (int n = 1; n <= 8 && !clear(space_start, leaving.space, to); ++n) {
                to = was + (n % 2 == 1 ? -1 : 1) * aside * static_cast<double>((n + 2) / 2);
            }
            moved_to.emplace_back(leaving.space, to);
            for (auto& path : paths) {
                if (leaving.step < path.size() && path[leaving.step] == was &&
                    (leaving.step + 1 < path.size()) == passage) {
                    path[leaving.step] = to;
                }
            }
        }
        first = last;
    }
}

ChartHeights chart_heights(int layers, double box_height, const std::vector<Descent>& descents)
{
    std::vector<std::vector<Span>> spaces(static_cast<std::size_t>(std::max(layers, 1)));
    ChartHeights heights;
    heights.line_y.resize(descents.size());
    for (std::size_t d = 0; d < descents.size(); ++d) {
        const Descent& descent = descents[d];
        std::size_t depth = 1;
        for (const auto& path : descent.paths) {
            depth = std::max(depth, path.size());
        }
        heights.line_y[d].assign(depth, 0.0);
        for (std::size_t k = 0; k < depth; ++k) {
            double left = 1e300;
            double right = -1e300;
            const auto take = [&](double x) {
                left = std::min(left, x);
                right = std::max(right, x);
            };
            if (k == 0) {
                std::ranges::for_each(descent.tops, take);
            }
            for (const auto& path : descent.paths) {
                if (k < path.size()) {
                    take(path[k]);
                    if (k > 0) {
                        take(path[k - 1]);
                    }
                }
            }
            if (left <= right) {
                Span span{left, right, static_cast<int>(d), static_cast<int>(k), {}, {}, {}, {}};
                const auto piece = [&](double from, double to) {
                    span.lows.push_back(std::min(from, to));
                    span.highs.push_back(std::max(from, to));
                };
                if (k == 0 && descent.tops.size() > 1) { // partners apart: a line from each
                    for (const double top : descent.tops) {
                        span.tops.push_back(top);
                        piece(top, descent.start);
                    }
                }
                for (const auto& path : descent.paths) {
                    if (k < path.size()) {
                        span.bottoms.push_back(path[k]);
                        piece(k == 0 ? descent.start : path[k - 1], path[k]);
                        if (k > 0) {
                            span.tops.push_back(path[k - 1]);
                        } else if (descent.tops.size() == 1) {
                            span.tops.push_back(descent.tops[0]);
                        }
                    }
                }
                std::ranges::sort(span.tops);
                std::ranges::sort(span.bottoms);
                std::ranges::sort(span.lows);
                std::ranges::sort(span.highs);
                spaces[static_cast<std::size_t>(descent.layer) + k].push_back(std::move(span));
            }
        }
    }
    heights.layer_y.resize(static_cast<std::size_t>(layers));
    double y = box_height / 2;
    for (std::size_t layer = 0; layer < heights.layer_y.size(); ++layer) {
        heights.layer_y[layer] = y;
        std::vector<Span>& spans = spaces[layer];
        std::vector<int> line_of(spans.size(), 0);
        const int lines = stack_lines(spans, line_of);
        const double first = y + box_height / 2 + name_room;
        for (std::size_t k = 0; k < spans.size(); ++k) {
            heights.line_y[static_cast<std::size_t>(spans[k].descent)]
                          [static_cast<std::size_t>(spans[k].space)] = first + line_of[k] * line_spacing;
        }
        y = first + (lines - 1) * line_spacing + line_margin + box_height / 2;
    }
    return heights;
}

} // namespace kinship::family
