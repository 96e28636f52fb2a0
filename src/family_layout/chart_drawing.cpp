#include "family_layout/chart_drawing.h"

#include "family_layout/chart_packing.h"
#include "family_layout/chart_routes.h"
#include "family_layout/family_drawing.h"
#include "family_layout/rising_lines.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kinship::family {
namespace {

// Between lines that drop from one person's box.
constexpr double drop_spacing = 6.0;

// Bend points of a route through `points` from `start` to `end`: no repeated point and no
// point in the middle of a straight run.
Route clean_route(const Point& start, const std::vector<Point>& points, const Point& end)
{
    std::vector<Point> all{start};
    const auto same = [](const Point& a, const Point& b) {
        return std::abs(a.x - b.x) < 1e-9 && std::abs(a.y - b.y) < 1e-9;
    };
    for (const Point& p : points) {
        if (!same(p, all.back())) {
            all.push_back(p);
        }
    }
    if (!same(end, all.back())) {
        all.push_back(end);
    }
    Route route;
    for (std::size_t k = 1; k + 1 < all.size(); ++k) {
        const Point& a = route.empty() ? all.front() : route.back();
        const Point& p = all[k];
        const Point& b = all[k + 1];
        const bool straight = (std::abs(a.x - p.x) < 1e-9 && std::abs(p.x - b.x) < 1e-9) ||
                              (std::abs(a.y - p.y) < 1e-9 && std::abs(p.y - b.y) < 1e-9);
        if (!straight) {
            route.push_back(p);
        }
    }
    return route;
}


// The lines of one laid-out chart, drawn in three steps: where each line leaves its
// person's box, the families' descents through the layers, then the heights and routes.
class ChartLines {
public:
    explicit ChartLines(const LaidOutChart& laid_out)
        : laid_out(laid_out), families(laid_out.families), x(laid_out.x), layer(laid_out.layer),
          part(laid_out.part), row(laid_out.row), walks(laid_out.walks),
          side_by_side(laid_out.side_by_side), lower_partner(laid_out.lower_partner),
          at(laid_out.at), people(x.size()), couples(families.couples.size()),
          components(walks.size()), drop(components), sideways(people, {0.0, 0.0}),
          rising(components), rise_way(components), drops_of(people), descents(components),
          upper_line(components), heights(components)
    {
    }

    Chart draw()
    {
        join_above();
        leave_boxes();
        make_descents();
        place_lines();
        if (nest_drops()) {
            make_descents();
            place_lines();
        }
        return route();
    }

private:
    void join_above();
    void leave_boxes();
    void make_descents();
    void place_lines();
    bool nest_drops();
    Chart route();

    // The points taking a line from the centre of the box at (x, y) to x + dx at its foot.
    std::vector<Point> leave_box(int p, double px, double py, double dx) const
    {
        std::vector<Point> points;
        const auto& side = sideways[static_cast<std::size_t>(p)];
        if (dx != 0 && (dx == side[0] || dx == side[1])) {
            points.push_back({px + dx, py});
        }
        points.push_back({px + dx, py + person_size / 2});
        return points;
    }

    const LaidOutChart& laid_out;
    const Families& families;
    const std::vector<double>& x;
    const std::vector<int>& layer;
    const std::vector<std::size_t>& part;
    const std::vector<int>& row;
    const std::vector<std::vector<Walk>>& walks;
    const std::vector<char>& side_by_side;
    const std::vector<int>& lower_partner;
    const std::function<double(const Step&)>& at;
    const std::size_t people;
    const std::size_t couples;
    const std::size_t components;

    // Several lines dropping from one person (to partners who do not stand beside them,
    // or to children without a recorded other parent) leave the box at x of their own, so
    // that none runs along another: sideways from the centre, or straight down, where
    // those ways are free, else by a short slant. Those going left leave left of those
    // going right; on each side the one going farthest leaves nearest the other side, so
    // that it can pass under the nearer ones without crossing their lines, until the
    // heights are known (nest_drops).
    std::vector<std::vector<std::pair<double, double>>> drop; // per walk: father or parent, mother
    // Per person, the drops (left, right) that leave the centre sideways, not slanting.
    std::vector<std::array<double, 2>> sideways;
    // Childless partners apart in one layer: per walk, whether they are joined above it.
    std::vector<std::vector<char>> rising;
    // Per rising walk, how each partner's line leaves the box (father, mother).
    std::vector<std::vector<std::pair<RiseWay, RiseWay>>> rise_way;
    // Per person with several drops, which walks' lines they are, on each side (left, right).
    struct DropOf {
        std::size_t comp, walk;
        bool mother;
    };
    std::vector<std::array<std::vector<DropOf>, 2>> drops_of;
    std::vector<std::vector<Descent>> descents;
    // Per part, (walk, descent of its upper partner's line).
    std::vector<std::vector<std::pair<std::size_t, std::size_t>>> upper_line;
    std::vector<ChartHeights> heights; // per part
};

// Which childless partners standing apart in one layer are joined in the space above it.
void ChartLines::join_above()
{
    for (std::size_t comp = 0; comp < components; ++comp) {
        std::vector<LayerLines> lines(laid_out.layers[comp]);
        for (const Walk& walk : walks[comp]) {
            if (walk.paths.empty()) {
                continue;
            }
            const int top = walk.couple >= 0 ? lower_partner[static_cast<std::size_t>(walk.couple)]
                                             : walk.source.person;
            auto& down = lines[static_cast<std::size_t>(layer[static_cast<std::size_t>(top)])].down;
            if (walk.couple >= 0 && !side_by_side[static_cast<std::size_t>(walk.couple)]) {
                const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                down.push_back(x[static_cast<std::size_t>(f.father)]);
                down.push_back(x[static_cast<std::size_t>(f.mother)]);
            } else { // a line to each child comes down from here
                down.insert(down.end(), walk.paths.size(), at(walk.source));
            }
            for (const auto& path : walk.paths) {
                const auto child = static_cast<std::size_t>(path.back().person);
                lines[static_cast<std::size_t>(layer[child])].up.push_back(x[child]);
            }
        }
        for (LayerLines& l : lines) {
            std::ranges::sort(l.down);
            std::ranges::sort(l.up);
        }
        rising[comp].assign(walks[comp].size(), 0);
        rise_way[comp].assign(walks[comp].size(), {RiseWay::slant, RiseWay::slant});
        for (std::size_t w = 0; w < walks[comp].size(); ++w) {
            const Walk& walk = walks[comp][w];
            if (walk.couple < 0 || side_by_side[static_cast<std::size_t>(walk.couple)] ||
                walk.upper >= 0 || !walk.paths.empty()) {
                continue;
            }
            const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
            const auto l = static_cast<std::size_t>(layer[static_cast<std::size_t>(f.father)]);
            rising[comp][w] = l > 0 && joined_above(lines[l], x[static_cast<std::size_t>(f.father)],
                                                    x[static_cast<std::size_t>(f.mother)]);
        }
    }
}

// Where each line leaves its person's box.
void ChartLines::leave_boxes()
{
    struct Drop {
        double toward;
        std::size_t comp, walk;
        bool mother;
    };
    std::vector<std::vector<Drop>> drops(people);
    std::vector<std::vector<Drop>> rises(people); // lines up to partners joined above
    for (std::size_t comp = 0; comp < components; ++comp) {
        drop[comp].assign(walks[comp].size(), {0.0, 0.0});
        for (std::size_t w = 0; w < walks[comp].size(); ++w) {
            const Walk& walk = walks[comp][w];
            if (walk.couple < 0) {
                double toward = 0;
                for (const auto& path : walk.paths) {
                    toward += at(path.front()) / static_cast<double>(walk.paths.size());
                }
                drops[static_cast<std::size_t>(walk.source.person)].push_back({toward, comp, w, false});
            } else if (!side_by_side[static_cast<std::size_t>(walk.couple)]) {
                const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                const double mid = (x[static_cast<std::size_t>(f.father)] + x[static_cast<std::size_t>(f.mother)]) / 2;
                (rising[comp][w] ? rises : drops)[static_cast<std::size_t>(f.father)].push_back({mid, comp, w, false});
                (rising[comp][w] ? rises : drops)[static_cast<std::size_t>(f.mother)].push_back({mid, comp, w, true});
            }
        }
    }
    // Sides of a box where a partner standing beside it is joined.
    std::vector<std::array<char, 2>> joined(people, {0, 0});
    for (std::size_t c = 0; c < couples; ++c) {
        if (side_by_side[c]) {
            const Family& f = families.couples[c];
            const bool father_left = x[static_cast<std::size_t>(f.father)] <
                                     x[static_cast<std::size_t>(f.mother)];
            joined[static_cast<std::size_t>(f.father)][father_left ? 1 : 0] = 1;
            joined[static_cast<std::size_t>(f.mother)][father_left ? 0 : 1] = 1;
        }
    }
    for (std::size_t p = 0; p < people; ++p) {
        auto& list = drops[p];
        if (list.size() < 2) {
            continue;
        }
        std::ranges::stable_sort(list, [&](const Drop& a, const Drop& b) {
            const bool a_right = a.toward > x[p];
            const bool b_right = b.toward > x[p];
            return a_right != b_right ? b_right : a.toward > b.toward;
        });
        // Where each can leave the centre its own way (left, down, right, on the
        // sides no partner takes), it does: every segment horizontal or vertical.
        std::vector<double> ways;
        for (const double way : {-1.0, 0.0, 1.0}) {
            if (way == 0 || !joined[p][way < 0 ? 0 : 1]) {
                ways.push_back(way);
            }
        }
        std::vector<double> dx(list.size());
        if (list.size() <= ways.size()) {
            if (list.size() == 2 && ways.size() == 3) {
                ways = {-1.0, 1.0};
            }
            for (std::size_t k = 0; k < list.size(); ++k) {
                dx[k] = ways[k] * drop_spacing / 2;
            }
        } else {
            // Too many: evenly spaced within the shape (which stays person_size wide
            // in a wider slot), one of them straight down; the outermost leave
            // sideways where they can, the others slant.
            const double n = static_cast<double>(list.size());
            const bool even = list.size() % 2 == 0;
            const double spacing = std::min(drop_spacing, (person_size - 6) / (even ? n : n - 1));
            for (std::size_t k = 0; k < list.size(); ++k) {
                dx[k] = (static_cast<double>(k) - (n - 1) / 2 + (even ? 0.5 : 0.0)) * spacing;
            }
        }
        if (dx.front() < 0 && !joined[p][0]) {
            sideways[p][0] = dx.front();
        }
        if (dx.back() > 0 && !joined[p][1]) {
            sideways[p][1] = dx.back();
        }
        for (std::size_t k = 0; k < list.size(); ++k) {
            auto& slot = drop[list[k].comp][list[k].walk];
            (list[k].mother ? slot.second : slot.first) = dx[k];
            drops_of[p][list[k].toward > x[p] ? 1 : 0].push_back(
                {list[k].comp, list[k].walk, list[k].mother});
        }
    }
    // Lines up to partners joined above leave the top of the box (see rising_lines.h).
    std::vector<char> comes_in(people, 0);
    for (const auto& component_walks : walks) {
        for (const Walk& walk : component_walks) {
            for (const auto& path : walk.paths) {
                comes_in[static_cast<std::size_t>(path.back().person)] = 1;
            }
        }
    }
    std::vector<Rise> placed_rises;
    for (std::size_t p = 0; p < people; ++p) {
        if (rises[p].empty()) {
            continue;
        }
        placed_rises.clear();
        for (const Drop& r : rises[p]) {
            placed_rises.push_back({r.toward, 0.0, RiseWay::slant});
        }
        place_rises(x[p], placed_rises, !comes_in[p],
                    {!joined[p][0] && sideways[p][0] == 0, !joined[p][1] && sideways[p][1] == 0},
                    drop_spacing, person_size / 2 - 3);
        for (std::size_t k = 0; k < rises[p].size(); ++k) {
            const Drop& r = rises[p][k];
            auto& slot = drop[r.comp][r.walk];
            auto& way = rise_way[r.comp][r.walk];
            (r.mother ? slot.second : slot.first) = placed_rises[k].dx;
            (r.mother ? way.second : way.first) = placed_rises[k].way;
        }
    }
}

// Each family's descent through the layers, its lines moved aside where they would run
// along another's.
void ChartLines::make_descents()
{
    std::vector<Descent> upper_lines;
    for (std::size_t comp = 0; comp < components; ++comp) {
        descents[comp].clear();
        upper_line[comp].clear();
        for (std::size_t w = 0; w < walks[comp].size(); ++w) {
            const Walk& walk = walks[comp][w];
            Descent descent;
            const int top = walk.couple >= 0
                ? lower_partner[static_cast<std::size_t>(walk.couple)]
                : walk.source.person;
            descent.layer = layer[static_cast<std::size_t>(top)];
            if (walk.upper >= 0) {
                // The upper partner's line: a descent of its own down to the lower
                // partner's layer, from where it comes down into the family's space.
                const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                const bool father_up = walk.upper == f.father;
                Descent line;
                line.layer = layer[static_cast<std::size_t>(walk.upper)];
                line.tops = {x[static_cast<std::size_t>(walk.upper)] +
                             (father_up ? drop[comp][w].first : drop[comp][w].second)};
                auto& xs = line.paths.emplace_back();
                for (const Step& s : walk.upper_path) {
                    xs.push_back(at(s));
                }
                upper_line[comp].emplace_back(w, walks[comp].size() + upper_lines.size());
                upper_lines.push_back(std::move(line));
                // The first top is set once the lines have moved aside.
                descent.tops = {0.0, x[static_cast<std::size_t>(top)] +
                                         (father_up ? drop[comp][w].second : drop[comp][w].first)};
            } else if (walk.couple >= 0 && rising[comp][w]) {
                // Joined in the space above: two lines come up into it, as if to children.
                const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                descent.layer -= 1;
                descent.paths = {{x[static_cast<std::size_t>(f.father)] + drop[comp][w].first},
                                 {x[static_cast<std::size_t>(f.mother)] + drop[comp][w].second}};
                descents[comp].push_back(std::move(descent));
                continue;
            } else if (walk.couple >= 0 && !side_by_side[static_cast<std::size_t>(walk.couple)]) {
                const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
                descent.tops = {x[static_cast<std::size_t>(f.father)] + drop[comp][w].first,
                                x[static_cast<std::size_t>(f.mother)] + drop[comp][w].second};
            } else {
                descent.tops = {at(walk.source) + drop[comp][w].first};
            }
            for (const auto& path : walk.paths) {
                auto& xs = descent.paths.emplace_back();
                for (const Step& s : path) {
                    xs.push_back(at(s));
                }
            }
            descents[comp].push_back(std::move(descent));
        }
        for (Descent& line : upper_lines) {
            descents[comp].push_back(std::move(line));
        }
        upper_lines.clear();
    }

    for (std::size_t comp = 0; comp < components; ++comp) {
        move_aside(descents[comp]);
        for (const auto& [w, line] : upper_line[comp]) {
            descents[comp][w].tops[0] = descents[comp][line].paths[0].back();
        }
        for (std::size_t d = 0; d < descents[comp].size(); ++d) {
            Descent& descent = descents[comp][d];
            if (d >= walks[comp].size()) { // an upper partner's line
                descent.start = descent.tops[0];
                continue;
            }
            const Walk& walk = walks[comp][d];
            const auto [first, second] = drop[comp][d];
            if (rising[comp][d]) {
                descent.start = (descent.paths[0][0] + descent.paths[1][0]) / 2;
            } else if (walk.couple < 0 || side_by_side[static_cast<std::size_t>(walk.couple)]) {
                descent.start = descent.tops[0];
            } else if (!descent.paths.empty()) {
                // Partners apart: the node sits on the line between them (a node's width
                // clear of where their lines come down), over the middle of the children
                // where it can. The lines to the children run together from it, so every
                // line that comes down across that stretch crosses them all.
                std::vector<double> below;
                for (const auto& path : descent.paths) {
                    below.push_back(path.front());
                }
                std::ranges::sort(below);
                const double middle = (below[(below.size() - 1) / 2] + below[below.size() / 2]) / 2;
                const double from = std::min(descent.tops[0], descent.tops[1]) + family_node_size;
                const double to = std::max(descent.tops[0], descent.tops[1]) - family_node_size;
                descent.start = from < to ? std::clamp(middle, from, to) : (from + to) / 2;
            } else if (walk.upper >= 0) {
                descent.start = (descent.tops[0] +
                                 x[static_cast<std::size_t>(
                                     lower_partner[static_cast<std::size_t>(walk.couple)])]) / 2;
            } else {
                descent.start = (descent.tops[0] + descent.tops[1] - first - second) / 2;
            }
        }
    }

}

// The heights of each part's layers and of its families' lines.
void ChartLines::place_lines()
{
    for (std::size_t comp = 0; comp < components; ++comp) {
        heights[comp] = chart_heights(static_cast<int>(laid_out.layers[comp]), person_size,
                                      descents[comp]);
    }
}

// Lines dropping from one person to one side leave the box in the order of their heights,
// the lowest line innermost: a line running under another's then passes under where that
// one comes down, rather than across it. Whether anything moved.
bool ChartLines::nest_drops()
{
    bool moved = false;
    std::vector<std::pair<double, double*>> lines; // (height, where its drop is kept)
    std::vector<double> dx;
    for (std::size_t p = 0; p < people; ++p) {
        for (const int side : {0, 1}) {
            const auto& list = drops_of[p][static_cast<std::size_t>(side)];
            if (list.size() < 2) {
                continue;
            }
            lines.clear();
            dx.clear();
            for (const DropOf& d : list) {
                const Walk& walk = walks[d.comp][d.walk];
                std::size_t descent = d.walk;
                const auto upper_is_mother = [&] {
                    const auto c = static_cast<std::size_t>(walk.couple);
                    return walk.upper == families.couples[c].mother;
                };
                if (walk.upper >= 0 && upper_is_mother() == d.mother) {
                    descent = std::ranges::find_if(upper_line[d.comp], [&](const auto& e) {
                                  return e.first == d.walk;
                              })->second;
                }
                auto& slot = drop[d.comp][d.walk];
                double* kept = d.mother ? &slot.second : &slot.first;
                lines.emplace_back(heights[d.comp].line_y[descent].front(), kept);
                dx.push_back(*kept);
            }
            // Leftward lines: the lowest leaves rightmost; rightward: leftmost.
            std::ranges::stable_sort(lines, [&](const auto& a, const auto& b) {
                return side == 0 ? a.first < b.first : a.first > b.first;
            });
            std::ranges::sort(dx);
            for (std::size_t k = 0; k < lines.size(); ++k) {
                moved = moved || *lines[k].second != dx[k];
                *lines[k].second = dx[k];
            }
        }
    }
    return moved;
}

// Every route from the heights, and the parts packed.
Chart ChartLines::route()
{
    Chart chart;
    chart.person.resize(people);
    chart.family.resize(couples);
    chart.father_line.resize(couples);
    chart.mother_line.resize(couples);
    chart.child_line.resize(couples);
    chart.single_line.resize(families.single_links.size());
    std::vector<std::vector<double>> layer_y(components);
    for (std::size_t comp = 0; comp < components; ++comp) {
        const ChartHeights& chart_y = heights[comp];
        layer_y[comp] = chart_y.layer_y;
        chart.layers = std::max(chart.layers, static_cast<int>(chart_y.layer_y.size()));
        for (std::size_t d = 0; d < walks[comp].size(); ++d) {
            const Walk& walk = walks[comp][d];
            const Descent& descent = descents[comp][d];
            const auto& line_y = chart_y.line_y[d];
            if (rising[comp][d]) {
                // Up from the top of each box (over to where the line was moved aside,
                // if it was, just above the box) to the line, and along it to the node.
                const auto c = static_cast<std::size_t>(walk.couple);
                const Family& f = families.couples[c];
                chart.family[c] = {descent.start, line_y[0]};
                const auto partner_route = [&](int p, double dx, RiseWay way, double at_line) {
                    const auto pp = static_cast<std::size_t>(p);
                    const Point start{x[pp], chart_y.layer_y[static_cast<std::size_t>(layer[pp])]};
                    const double top = start.y - person_size / 2;
                    std::vector<Point> points;
                    if (way == RiseWay::sideways) {
                        points.push_back({x[pp] + dx, start.y});
                    }
                    points.push_back({x[pp] + dx, top});
                    if (at_line != x[pp] + dx) {
                        points.push_back({x[pp] + dx, top - turn_above_box});
                        points.push_back({at_line, top - turn_above_box});
                    }
                    points.push_back({at_line, line_y[0]});
                    return clean_route(start, points, chart.family[c]);
                };
                chart.father_line[c] = partner_route(f.father, drop[comp][d].first,
                                                     rise_way[comp][d].first, descent.paths[0][0]);
                chart.mother_line[c] = partner_route(f.mother, drop[comp][d].second,
                                                     rise_way[comp][d].second, descent.paths[1][0]);
                continue;
            }
            const double start_x = descent.start;
            const double top_y = chart_y.layer_y[static_cast<std::size_t>(descent.layer)];
            const auto route_down = [&](const Point& start, const std::vector<double>& path,
                                        int child) {
                std::vector<Point> points;
                if (walk.couple < 0 && drop[comp][d].first != 0) { // out of the parent's box
                    points = leave_box(walk.source.person, start_x - drop[comp][d].first, top_y,
                                       drop[comp][d].first);
                }
                for (std::size_t k = 0; k < path.size(); ++k) {
                    points.push_back({k == 0 ? start_x : path[k - 1], line_y[k]});
                    points.push_back({path[k], line_y[k]});
                }
                const double child_y =
                    chart_y.layer_y[static_cast<std::size_t>(layer[static_cast<std::size_t>(child)])];
                if (path.back() != x[static_cast<std::size_t>(child)]) {
                    // Moved aside: over to the centre just above the box, under every
                    // family's horizontal line.
                    const double turn = child_y - person_size / 2 - turn_above_box;
                    points.push_back({path.back(), turn});
                    points.push_back({x[static_cast<std::size_t>(child)], turn});
                }
                return clean_route(start, points, {x[static_cast<std::size_t>(child)], child_y});
            };
            if (walk.couple < 0) {
                const Point parent{start_x - drop[comp][d].first, top_y};
                for (std::size_t k = 0; k < walk.links.size(); ++k) {
                    chart.single_line[walk.links[k]] = route_down(
                        parent, descent.paths[k], families.single_links[walk.links[k]].child);
                }
                continue;
            }
            const auto c = static_cast<std::size_t>(walk.couple);
            const Family& f = families.couples[c];
            if (side_by_side[c]) {
                chart.family[c] = {start_x, top_y};
            } else {
                chart.family[c] = {start_x, line_y[0]};
                const auto partner_route = [&](int p, double dx) {
                    const auto pp = static_cast<std::size_t>(p);
                    const Point start{x[pp], chart_y.layer_y[static_cast<std::size_t>(layer[pp])]};
                    std::vector<Point> points = leave_box(p, x[pp], start.y, dx);
                    points.push_back({x[pp] + dx, line_y[0]});
                    return clean_route(start, points, chart.family[c]);
                };
                chart.father_line[c] = partner_route(f.father, drop[comp][d].first);
                chart.mother_line[c] = partner_route(f.mother, drop[comp][d].second);
                if (walk.upper >= 0) { // down through the layers to the family's space
                    const std::size_t line = std::ranges::find_if(upper_line[comp], [&](const auto& e) {
                                                 return e.first == d;
                                             })->second;
                    const auto& ly = chart_y.line_y[line];
                    const auto& xs = descents[comp][line].paths[0];
                    const auto up = static_cast<std::size_t>(walk.upper);
                    const double dx = walk.upper == f.father ? drop[comp][d].first : drop[comp][d].second;
                    const Point start{x[up], chart_y.layer_y[static_cast<std::size_t>(layer[up])]};
                    std::vector<Point> points = leave_box(walk.upper, x[up], start.y, dx);
                    for (std::size_t k = 0; k < xs.size(); ++k) {
                        points.push_back({k == 0 ? x[up] + dx : xs[k - 1], ly[k]});
                        points.push_back({xs[k], ly[k]});
                    }
                    points.push_back({xs.back(), line_y[0]});
                    (walk.upper == f.father ? chart.father_line[c] : chart.mother_line[c]) =
                        clean_route(start, points, chart.family[c]);
                }
            }
            for (std::size_t k = 0; k < f.children.size(); ++k) {
                chart.child_line[c].push_back(route_down(chart.family[c], descent.paths[k], f.children[k]));
            }
        }
    }
    for (std::size_t c = 0; c < couples; ++c) { // childless couples side by side
        const Family& f = families.couples[c];
        if (side_by_side[c] && f.children.empty()) {
            const double mid = at({row[static_cast<std::size_t>(f.father)], -1, static_cast<int>(c)});
            chart.family[c] = {mid, layer_y[part[static_cast<std::size_t>(f.father)]][static_cast<std::size_t>(
                                         layer[static_cast<std::size_t>(f.father)])]};
        }
    }
    for (std::size_t p = 0; p < people; ++p) {
        chart.person[p] = {x[p], layer_y[part[p]][static_cast<std::size_t>(layer[p])]};
    }

    pack_parts(chart, families, part, components, laid_out.person_width);
    return chart;
}

} // namespace

Chart draw_chart(const LaidOutChart& laid_out)
{
    return ChartLines(laid_out).draw();
}

} // namespace kinship::family
