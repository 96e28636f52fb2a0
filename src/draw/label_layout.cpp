#include "draw/label_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "draw/text_fit.h"

namespace kinship::draw {
namespace {

constexpr double label_gap = 4.0;     // between two labels side by side
constexpr double shape_gap = 2.0;     // between a shape and the name under it
constexpr double widest_name = 150.0;
constexpr double smallest_name_font = 6.0;
constexpr double infinity = std::numeric_limits<double>::infinity();

struct Box {
    double x, top, bottom, half_width;
    bool family; // a family node: a name may run over its small dot
};

} // namespace

std::vector<NodeLabel> lay_out_labels(const gml::KinshipAttributes& attributes,
                                      const NamesTable& names)
{
    const ogdf::Graph& graph = attributes.constGraph();
    std::vector<Box> boxes;
    for (const ogdf::node v : graph.nodes) {
        boxes.push_back({attributes.x(v), attributes.y(v) - attributes.height(v) / 2,
                         attributes.y(v) + attributes.height(v) / 2, attributes.width(v) / 2,
                         attributes.is_family(v)});
    }
    // The nodes from top to bottom, for the scans over one row and below it.
    std::vector<std::size_t> by_top(boxes.size());
    for (std::size_t i = 0; i < by_top.size(); ++i) {
        by_top[i] = i;
    }
    std::ranges::sort(by_top, {}, [&boxes](std::size_t i) { return boxes[i].top; });

    double tallest = 0.0;
    for (const Box& box : boxes) {
        tallest = std::max(tallest, box.bottom - box.top);
    }
    // The boxes whose tops lie between `low` and `high`.
    const auto tops_between = [&](double low, double high) {
        const auto top = [&boxes](std::size_t k) { return boxes[k].top; };
        return std::ranges::subrange(std::ranges::lower_bound(by_top, low, {}, top),
                                     std::ranges::upper_bound(by_top, high, {}, top));
    };

    const double name_band = shape_gap + 2 * name_font_size * name_line_spacing;
    // The distance from box i to the nearest box beside it, less the gap between labels:
    // beside means its top (and so its name's top) or, for ids, its centre is within
    // `band` of box i's.
    const auto room_beside = [&](std::size_t i, double band, bool by_centre) {
        const auto level = [&](std::size_t k) {
            return by_centre ? (boxes[k].top + boxes[k].bottom) / 2 : boxes[k].top;
        };
        double room = infinity;
        for (const std::size_t k : tops_between(boxes[i].top - band - tallest,
                                                boxes[i].top + band + tallest)) {
            if (k != i && !boxes[k].family && std::abs(level(k) - level(i)) < band) {
                room = std::min(room, std::abs(boxes[k].x - boxes[i].x) - label_gap);
            }
        }
        return room;
    };
    // The free height under box i over a label `room` wide, up to the height of a name.
    const auto room_below = [&](std::size_t i, double room) {
        double below = name_band;
        for (const std::size_t k :
             tops_between(std::nextafter(boxes[i].bottom, infinity), boxes[i].bottom + name_band)) {
            if (!boxes[k].family &&
                std::abs(boxes[k].x - boxes[i].x) < room / 2 + boxes[k].half_width) {
                below = std::min(below, boxes[k].top - boxes[i].bottom);
            }
        }
        return below;
    };

    std::vector<NodeLabel> labels;
    std::size_t i = 0;
    for (const ogdf::node v : graph.nodes) {
        NodeLabel label;
        if (attributes.is_family(v)) {
            label.lines = {""};
            labels.push_back(std::move(label));
            ++i;
            continue;
        }
        const std::string id = attributes.label(v);
        const auto name = names.find(id);
        if (name == names.end() || name->second.empty()) {
            const FittedId fitted =
                fit_id(id, room_beside(i, id_font_size, true), id_font_size);
            label.lines = {fitted.text};
            label.font_size = fitted.font_size;
        } else {
            const double room = std::min(room_beside(i, name_band, false), widest_name);
            const double below = room_below(i, room);
            label.is_name = true;
            label.full_name = name->second;
            label.top = boxes[i].bottom + shape_gap;
            label.font_size = std::clamp((below - shape_gap) / name_line_spacing,
                                         smallest_name_font, name_font_size);
            label.lines = fit_name(name->second, room, label.font_size,
                                   below >= name_band ? 2 : 1);
        }
        labels.push_back(std::move(label));
        ++i;
    }
    return labels;
}

} // namespace kinship::draw
