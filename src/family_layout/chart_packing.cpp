#include "family_layout/chart_packing.h"

#include "family_layout/family_drawing.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kinship::family {
namespace {

constexpr double part_gap = 40.0;

struct Box {
    double width = 0;
    double height = 0;
};

struct Offset {
    double x = 0;
    double y = 0;
};

// Where each box's top left corner goes: the boxes in the order given, left to right in
// rows `gap` apart, a row ending where it would pass the page width (the widest box, or
// the side of a square holding all boxes' area, whichever is larger).
std::vector<Offset> pack_in_rows(const std::vector<Box>& boxes, double gap)
{
    double area = 0;
    double widest = 0;
    for (const Box& b : boxes) {
        area += (b.width + gap) * (b.height + gap);
        widest = std::max(widest, b.width);
    }
    const double page_width = std::max(widest, std::sqrt(area));
    std::vector<Offset> offsets;
    offsets.reserve(boxes.size());
    double x = 0;
    double y = 0;
    double row_height = 0;
    for (const Box& b : boxes) {
        if (x > 0 && x + b.width > page_width) {
            x = 0;
            y += row_height + gap;
            row_height = 0;
        }
        offsets.push_back({x, y});
        x += b.width + gap;
        row_height = std::max(row_height, b.height);
    }
    return offsets;
}

// Every coordinate on a grid of 1/1024 unit: points that the placement put a rounding
// error apart line up exactly, so vertical lines are vertical, and the drawing file
// writes short numbers.
void snap_to_grid(Chart& chart)
{
    const auto snap = [](Point& p) {
        p.x = std::round(p.x * 1024) / 1024;
        p.y = std::round(p.y * 1024) / 1024;
    };
    std::ranges::for_each(chart.person, snap);
    std::ranges::for_each(chart.family, snap);
    for (auto* lines : {&chart.father_line, &chart.mother_line, &chart.single_line}) {
        for (Route& r : *lines) {
            std::ranges::for_each(r, snap);
        }
    }
    for (auto& routes : chart.child_line) {
        for (Route& r : routes) {
            std::ranges::for_each(r, snap);
        }
    }
}

} // namespace

void pack_parts(Chart& chart, const Families& families, const std::vector<std::size_t>& part_of,
                std::size_t parts, std::span<const double> person_width)
{
    const std::size_t people = part_of.size();
    // Each component's box, then the parts packed in rows, tallest first.
    std::vector<double> left(parts, 1e300), right(parts, -1e300), bottom(parts, 0);
    const auto take = [&](std::size_t comp, double lo, double hi, double low) {
        left[comp] = std::min(left[comp], lo);
        right[comp] = std::max(right[comp], hi);
        bottom[comp] = std::max(bottom[comp], low);
    };
    for (std::size_t p = 0; p < people; ++p) {
        const auto comp = part_of[p];
        const double w = (person_width.empty() ? person_size : person_width[p]) / 2;
        take(comp, chart.person[p].x - w, chart.person[p].x + w, chart.person[p].y + person_size / 2);
    }
    const auto take_route = [&](std::size_t comp, const Route& route) {
        for (const Point& b : route) {
            take(comp, b.x, b.x, b.y);
        }
    };
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const auto comp = part_of[static_cast<std::size_t>(families.couples[c].father)];
        take_route(comp, chart.father_line[c]);
        take_route(comp, chart.mother_line[c]);
        for (const Route& r : chart.child_line[c]) {
            take_route(comp, r);
        }
    }
    for (std::size_t k = 0; k < families.single_links.size(); ++k) {
        take_route(part_of[static_cast<std::size_t>(families.single_links[k].parent)],
                   chart.single_line[k]);
    }
    std::vector<std::size_t> order(parts);
    std::iota(order.begin(), order.end(), 0);
    std::ranges::stable_sort(order, [&](std::size_t a, std::size_t b) {
        return bottom[a] > bottom[b];
    });
    std::vector<Box> boxes;
    for (const std::size_t comp : order) {
        boxes.push_back({right[comp] - left[comp], bottom[comp]});
    }
    const std::vector<Offset> packed = pack_in_rows(boxes, part_gap);
    std::vector<Offset> shift(parts);
    for (std::size_t k = 0; k < parts; ++k) {
        shift[order[k]] = {packed[k].x - left[order[k]], packed[k].y};
    }
    const auto move = [&](std::size_t comp, Point& p) {
        p.x += shift[comp].x;
        p.y += shift[comp].y;
    };
    for (std::size_t p = 0; p < people; ++p) {
        move(part_of[p], chart.person[p]);
    }
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const auto comp = part_of[static_cast<std::size_t>(families.couples[c].father)];
        move(comp, chart.family[c]);
        for (Route* r : {&chart.father_line[c], &chart.mother_line[c]}) {
            for (Point& b : *r) {
                move(comp, b);
            }
        }
        for (Route& r : chart.child_line[c]) {
            for (Point& b : r) {
                move(comp, b);
            }
        }
    }
    for (std::size_t k = 0; k < families.single_links.size(); ++k) {
        for (Point& b : chart.single_line[k]) {
            move(part_of[static_cast<std::size_t>(families.single_links[k].parent)], b);
        }
    }
    snap_to_grid(chart);
}

} // namespace kinship::family
