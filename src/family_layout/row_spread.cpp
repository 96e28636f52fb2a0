#include "family_layout/row_spread.h"

#include "family_layout/flow_placement.h"
#include "family_layout/linear_program.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace kinship::family {
namespace {

// What a unit costs, against a line's sideways run (line_weight): the part's width (as
// much: the chart grows only where couples come over their children by it), and two
// neighbours in a row standing apart (little: it only keeps rows together where nothing
// else pulls).
constexpr double width_weight = line_weight;
constexpr double row_weight = 1;
// Where a couple's weight falls to half when the program is solved again (it is 200 units
// the first time): near enough for the couples the first solve brought close.
constexpr double again_halved_at = 100;

// A person or a passing line in a layer of the part.
struct Placed {
    int person; // or -1 for a passing line
    int item;
    double half_width;
};

// A point of a line as a sum of terms and a constant.
struct Point {
    std::vector<Term> terms;
    double constant = 0;
};

class PartSpread {
public:
    PartSpread(const Families& families, const Units& units, PlacedLayers& placed,
               const std::function<double(int)>& person_width, const SpreadSettings& settings,
               std::vector<double>& x)
        : families_(families), units_(units), placed_(placed), width_(person_width),
          settings_(settings), x_(x), column_of_person_(x.size(), -1),
          column_of_item_(placed.x.size(), -1)
    {
    }

    // Spreads the part of `layers` and `walks` where that puts more couples over their
    // children; nothing where they all are, or the program would have more than
    // `most_columns` columns.
    void spread(const std::vector<std::size_t>& layers, const std::vector<Walk>& walks,
                std::size_t most_columns)
    {
        couples_.clear();
        for (const Walk& walk : walks) {
            if (walk.couple >= 0 &&
                !families_.couples[static_cast<std::size_t>(walk.couple)].children.empty()) {
                couples_.push_back(walk.couple);
            }
        }
        const std::vector<double> before = distances({});
        std::size_t placed_here = 0; // people and passing lines
        for (const std::size_t l : layers) {
            for (const int item : placed_.layers[l]) {
                const auto i = static_cast<std::size_t>(item);
                placed_here += i < units_.members.size() ? units_.members[i].size() : 1;
            }
        }
        // A column for each of them and two for each couple, at least.
        if (std::ranges::count(before, 0.0) == static_cast<long>(before.size()) ||
            placed_here + 2 * couples_.size() > most_columns) {
            return;
        }
        LinearProgram lp;
        add_layers(lp, layers);
        for (const Walk& walk : walks) {
            add_lines(lp, walk);
        }
        add_couples(lp, before);
        if (lp.columns() > most_columns) {
            return;
        }
        std::vector<double> value = lp.solve();
        if (value.empty()) {
            return;
        }
        // Solved again with each couple weighed by how far off that leaves it, the weights
        // falling off twice as fast: the couples it brought near come over their children,
        // those still far off give way to them.
        const auto over = [](const std::vector<double>& off) {
            return std::ranges::count(off, 0.0);
        };
        const std::vector<double> first_off = distances(value);
        if (over(first_off) < static_cast<long>(first_off.size())) {
            for (std::size_t k = 0; k < couples_.size(); ++k) {
                const double weight =
                    line_weight * weight_off_children(first_off[k], again_halved_at);
                lp.set_cost(couple_columns_[k].first, weight);
                lp.set_cost(couple_columns_[k].second, weight);
            }
            std::vector<double> again = lp.solve();
            if (!again.empty() && over(distances(again)) > over(first_off)) {
                value = std::move(again);
            }
        }
        if (over(distances(value)) <= over(before)) {
            return;
        }
        // The part keeps its left edge; places in eighths.
        double left_before = std::numeric_limits<double>::max();
        double left_after = std::numeric_limits<double>::max();
        for (const Placed& p : all_) {
            left_before = std::min(left_before, place(p) - p.half_width);
            left_after = std::min(left_after, value[column(p)] - p.half_width);
        }
        for (const Placed& p : all_) {
            place(p) = std::round((value[column(p)] - left_after + left_before) * place_scale) /
                       place_scale;
        }
    }

private:
    std::size_t column(const Placed& p) const
    {
        return static_cast<std::size_t>(p.person >= 0
            ? column_of_person_[static_cast<std::size_t>(p.person)]
            : column_of_item_[static_cast<std::size_t>(p.item)]);
    }
    double& place(const Placed& p)
    {
        return p.person >= 0 ? x_[static_cast<std::size_t>(p.person)]
                             : placed_.x[static_cast<std::size_t>(p.item)];
    }
    int person_column(int p) const { return column_of_person_[static_cast<std::size_t>(p)]; }

    // Each layer's people and passing lines, left to right, a column each; the order and
    // the gaps along the layer; a row costs a little for opening; the part's width.
    void add_layers(LinearProgram& lp, const std::vector<std::size_t>& layers)
    {
        all_.clear();
        std::vector<std::vector<Placed>> sequence;
        for (const std::size_t l : layers) {
            auto& in_layer = sequence.emplace_back();
            const auto add = [&](const Placed& p) {
                (p.person >= 0 ? column_of_person_[static_cast<std::size_t>(p.person)]
                               : column_of_item_[static_cast<std::size_t>(p.item)]) =
                    lp.add_column(0, LinearProgram::unbounded, place(p));
                in_layer.push_back(p);
            };
            for (const int item : placed_.layers[l]) {
                if (static_cast<std::size_t>(item) >= units_.members.size()) {
                    add({-1, item, 0.0});
                    continue;
                }
                std::vector<int> members = units_.members[static_cast<std::size_t>(item)];
                std::ranges::sort(members, {},
                                  [&](int p) { return x_[static_cast<std::size_t>(p)]; });
                for (const int p : members) {
                    add({p, item, width_(p) / 2});
                }
            }
            all_.insert(all_.end(), in_layer.begin(), in_layer.end());
        }
        double lo = std::numeric_limits<double>::max();
        double hi = std::numeric_limits<double>::lowest();
        for (const Placed& p : all_) {
            lo = std::min(lo, place(p) - p.half_width);
            hi = std::max(hi, place(p) + p.half_width);
        }
        const int left_edge = lp.add_column(-width_weight, LinearProgram::unbounded, lo);
        const int right_edge = lp.add_column(width_weight, LinearProgram::unbounded, hi);
        for (const auto& in_layer : sequence) {
            if (in_layer.empty()) {
                continue;
            }
            const auto first = static_cast<int>(column(in_layer.front()));
            const auto last = static_cast<int>(column(in_layer.back()));
            lp.add_row({{first, 1.0}, {left_edge, -1.0}}, true, in_layer.front().half_width);
            lp.add_row({{right_edge, 1.0}, {last, -1.0}}, true, in_layer.back().half_width);
            for (std::size_t k = 1; k < in_layer.size(); ++k) {
                const Placed& a = in_layer[k - 1];
                const Placed& b = in_layer[k];
                const bool same_row = a.person >= 0 && b.person >= 0 && a.item == b.item;
                const double gap = a.person < 0 || b.person < 0 ? settings_.line_gap
                    : same_row ? settings_.partner_gap : settings_.box_gap;
                const auto ca = static_cast<int>(column(a));
                const auto cb = static_cast<int>(column(b));
                lp.add_row({{cb, 1.0}, {ca, -1.0}}, true, a.half_width + b.half_width + gap);
                if (same_row) {
                    lp.add_cost(cb, row_weight);
                    lp.add_cost(ca, -row_weight);
                }
            }
        }
    }

    // A person's centre, a passing line, or the family node between two partners side by
    // side (the middle of the gap between their shapes).
    Point point(const Step& s) const
    {
        if (s.person >= 0) {
            return {{{person_column(s.person), 1.0}}, 0.0};
        }
        if (s.couple < 0) {
            return {{{column_of_item_[static_cast<std::size_t>(s.item)], 1.0}}, 0.0};
        }
        const Family& f = families_.couples[static_cast<std::size_t>(s.couple)];
        const bool father_left =
            x_[static_cast<std::size_t>(f.father)] < x_[static_cast<std::size_t>(f.mother)];
        const int left = father_left ? f.father : f.mother;
        const int right = father_left ? f.mother : f.father;
        return {{{person_column(left), 0.5}, {person_column(right), 0.5}},
                (width_(left) - width_(right)) / 4};
    }

    // A line's sideways run: a column at least the difference of its ends either way.
    void add_line(LinearProgram& lp, const Step& from, const Step& to)
    {
        const Point a = point(from);
        const Point b = point(to);
        double now = a.constant - b.constant;
        for (const Term& t : a.terms) {
            now += t.coefficient * lp.start(t.column);
        }
        for (const Term& t : b.terms) {
            now -= t.coefficient * lp.start(t.column);
        }
        const int run = lp.add_column(line_weight, 0.0, std::abs(now));
        std::vector<Term> terms;
        for (const double sign : {1.0, -1.0}) {
            terms.assign(1, {run, 1.0});
            for (const Term& t : a.terms) {
                terms.push_back({t.column, -sign * t.coefficient});
            }
            for (const Term& t : b.terms) {
                terms.push_back({t.column, sign * t.coefficient});
            }
            lp.add_row(terms, true, sign * (a.constant - b.constant));
        }
    }

    // The lines the layout placed the part by; partners in different layers kept apart.
    void add_lines(LinearProgram& lp, const Walk& walk)
    {
        const auto unit_of = [&](int p) { return units_.unit_of[static_cast<std::size_t>(p)]; };
        for_each_line(walk, families_, unit_of, [&](const Step& from, const Step& to, bool) {
            add_line(lp, from, to);
        });
        if (walk.upper >= 0) {
            const int upper = person_column(walk.upper);
            const int lower = person_column(walk.source.person);
            const double side = lp.start(lower) < lp.start(upper) ? -1.0 : 1.0;
            lp.add_row({{lower, side}, {upper, -side}}, true, settings_.layers_apart_gap);
        }
    }

    // Each couple's middle, for each unit outside its outermost children's span, costs its
    // weight: less the farther off it stood (`before`).
    void add_couples(LinearProgram& lp, const std::vector<double>& before)
    {
        const auto at = [&](int p) { return x_[static_cast<std::size_t>(p)]; };
        couple_columns_.clear();
        for (std::size_t k = 0; k < couples_.size(); ++k) {
            const Family& f = families_.couples[static_cast<std::size_t>(couples_[k])];
            const auto [first, last] = std::ranges::minmax(f.children, {}, at);
            const double weight = line_weight * weight_off_children(before[k]);
            const double middle = (at(f.father) + at(f.mother)) / 2;
            const double reach = settings_.tolerance - span_margin;
            const int left = lp.add_column(weight, 0.0, std::max(0.0, at(first) - reach - middle));
            const int right = lp.add_column(weight, 0.0, std::max(0.0, middle - at(last) - reach));
            couple_columns_.emplace_back(left, right);
            const int father = person_column(f.father);
            const int mother = person_column(f.mother);
            lp.add_row({{father, 0.5}, {mother, 0.5}, {left, 1.0}, {person_column(first), -1.0}},
                       true, -reach);
            lp.add_row({{father, 0.5}, {mother, 0.5}, {right, -1.0}, {person_column(last), -1.0}},
                       false, reach);
        }
    }

    // How far each couple's middle lies outside its children's span, by the columns'
    // `value`s (the places as they stand where empty).
    std::vector<double> distances(const std::vector<double>& value) const
    {
        const auto at = [&](int p) {
            return value.empty() ? x_[static_cast<std::size_t>(p)]
                                 : value[static_cast<std::size_t>(person_column(p))];
        };
        std::vector<double> off;
        for (const int c : couples_) {
            const Family& f = families_.couples[static_cast<std::size_t>(c)];
            double lo = std::numeric_limits<double>::max();
            double hi = std::numeric_limits<double>::lowest();
            for (const int child : f.children) {
                lo = std::min(lo, at(child) - settings_.tolerance);
                hi = std::max(hi, at(child) + settings_.tolerance);
            }
            const double middle = (at(f.father) + at(f.mother)) / 2;
            off.push_back(std::max({0.0, lo - middle, middle - hi}));
        }
        return off;
    }

    const Families& families_;
    const Units& units_;
    PlacedLayers& placed_;
    const std::function<double(int)>& width_;
    const SpreadSettings& settings_;
    std::vector<double>& x_;
    std::vector<int> column_of_person_;
    std::vector<int> column_of_item_;
    std::vector<int> couples_; // with children, in the part
    std::vector<std::pair<int, int>> couple_columns_; // how far each lies left, right
    std::vector<Placed> all_;  // the part's people and passing lines
};

} // namespace

void spread_rows(const Families& families, const Units& units, PlacedLayers& placed,
                 const std::vector<std::vector<Walk>>& walks,
                 const std::function<double(int)>& person_width, const SpreadSettings& settings,
                 std::size_t most_columns, std::vector<double>& x)
{
    const std::vector<std::vector<std::size_t>> part_layers = layers_by_part(placed);
    PartSpread part(families, units, placed, person_width, settings, x);
    for (std::size_t q = 0; q < std::min(walks.size(), part_layers.size()); ++q) {
        part.spread(part_layers[q], walks[q], most_columns);
    }
}

} // namespace kinship::family
