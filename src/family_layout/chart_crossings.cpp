#include "family_layout/chart_crossings.h"

#include <algorithm>
#include <map>

namespace kinship::family {
namespace {

struct Segment {
    double at;       // y of a horizontal segment, x of a vertical one
    double from, to; // its ends along it, from < to
    long family;
};

// Pairs of a horizontal and a vertical segment crossing strictly inside both: a sweep
// along x with the horizontal segments then open counted by height (Fenwick tree).
long crossing_pairs(std::vector<Segment>& across, std::vector<Segment>& down)
{
    std::vector<double> heights;
    for (const Segment& h : across) {
        heights.push_back(h.at);
    }
    std::ranges::sort(heights);
    heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
    std::vector<long> tree(heights.size() + 1, 0);
    const auto add = [&](double y, long d) {
        for (auto k = static_cast<std::size_t>(std::ranges::lower_bound(heights, y) - heights.begin()) + 1;
             k < tree.size(); k += k & (~k + 1)) {
            tree[k] += d;
        }
    };
    const auto below = [&](double y) { // open segments with height < y
        long n = 0;
        for (auto k = static_cast<std::size_t>(std::ranges::lower_bound(heights, y) - heights.begin());
             k > 0; k -= k & (~k + 1)) {
            n += tree[k];
        }
        return n;
    };
    // Events at one x: ends first, then the vertical segments, then starts.
    struct Event {
        double x;
        int kind; // 0 end, 1 vertical, 2 start
        std::size_t index;
    };
    std::vector<Event> events;
    for (std::size_t k = 0; k < across.size(); ++k) {
        events.push_back({across[k].from, 2, k});
        events.push_back({across[k].to, 0, k});
    }
    for (std::size_t k = 0; k < down.size(); ++k) {
        events.push_back({down[k].at, 1, k});
    }
    std::ranges::sort(events, [](const Event& a, const Event& b) {
        return a.x != b.x ? a.x < b.x : a.kind < b.kind;
    });
    long count = 0;
    for (const Event& e : events) {
        if (e.kind == 1) {
            const Segment& v = down[e.index];
            // strictly between its ends: below(to) counts < to, minus those <= from
            const auto upto = std::ranges::upper_bound(heights, v.from) - heights.begin();
            long at_or_above_from = 0;
            for (auto k = static_cast<std::size_t>(upto); k > 0; k -= k & (~k + 1)) {
                at_or_above_from += tree[k];
            }
            count += below(v.to) - at_or_above_from;
        } else {
            add(across[e.index].at, e.kind == 2 ? 1 : -1);
        }
    }
    return count;
}

void add_route(std::vector<Segment>& across, std::vector<Segment>& down, const Point& start,
               const Route& route, const Point& end, long family)
{
    Point from = start;
    const auto step = [&](const Point& to) {
        if (from.y == to.y && from.x != to.x) {
            across.push_back({from.y, std::min(from.x, to.x), std::max(from.x, to.x), family});
        } else if (from.x == to.x && from.y != to.y) {
            down.push_back({from.x, std::min(from.y, to.y), std::max(from.y, to.y), family});
        }
        from = to;
    };
    for (const Point& p : route) {
        step(p);
    }
    step(end);
}

} // namespace

long count_chart_crossings(const Chart& chart, const Families& families)
{
    std::vector<Segment> across, down;
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const Family& f = families.couples[c];
        const auto family = static_cast<long>(c);
        add_route(across, down, chart.person[static_cast<std::size_t>(f.father)],
                  chart.father_line[c], chart.family[c], family);
        add_route(across, down, chart.person[static_cast<std::size_t>(f.mother)],
                  chart.mother_line[c], chart.family[c], family);
        for (std::size_t k = 0; k < f.children.size(); ++k) {
            add_route(across, down, chart.family[c], chart.child_line[c][k],
                      chart.person[static_cast<std::size_t>(f.children[k])], family);
        }
    }
    for (std::size_t k = 0; k < families.single_links.size(); ++k) {
        const ParentLink& link = families.single_links[k];
        add_route(across, down, chart.person[static_cast<std::size_t>(link.parent)],
                  chart.single_line[k], chart.person[static_cast<std::size_t>(link.child)],
                  -1 - static_cast<long>(link.parent));
    }
    long count = crossing_pairs(across, down);
    // Less the crossings within one family.
    std::map<long, std::pair<std::vector<Segment>, std::vector<Segment>>> own;
    for (const Segment& s : across) {
        own[s.family].first.push_back(s);
    }
    for (const Segment& s : down) {
        if (const auto it = own.find(s.family); it != own.end()) {
            it->second.second.push_back(s);
        }
    }
    for (auto& [family, segments] : own) {
        if (!segments.second.empty()) {
            count -= crossing_pairs(segments.first, segments.second);
        }
    }
    return count;
}

} // namespace kinship::family
