#include "draw/label_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "draw/text_fit.h"

namespace kinship::draw {
namespace {

constexpr double label_gap = 4.0;     // between two labels side by side
constexpr double shape_gap = 2.0;     // between a shape and the name under it
constexpr double smallest_name_font = 6.0;
// What the positions of a drawing file may be off by, being written to ten digits.
constexpr double position_slack = 1.0;
constexpr double infinity = std::numeric_limits<double>::infinity();

struct Box {
    double x, top, bottom, half_width;
    bool family; // a family node: a name may run over its small dot
};

// Whether `lines` show every word of `name`.
bool shows_whole(const std::vector<std::string>& lines, std::string_view name)
{
    std::string shown;
    for (const std::string& line : lines) {
        (shown += shown.empty() ? "" : " ") += line;
    }
    std::string whole;
    for (const std::string_view word : split_words(name)) {
        (whole += whole.empty() ? "" : " ") += word;
    }
    return shown == whole;
}

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

    // A name under box i within `room`, in the font and on the lines the free height
    // below leaves.
    const auto fit_name_label = [&](std::size_t i, const std::string& name, double room) {
        const double below = room_below(i, room);
        NodeLabel label;
        label.is_name = true;
        label.full_name = name;
        label.top = boxes[i].bottom + shape_gap;
        label.font_size = std::clamp((below - shape_gap) / name_line_spacing, smallest_name_font,
                                     name_font_size);
        label.lines = fit_name(name, room, label.font_size, below >= name_band ? 2 : 1);
        return label;
    };
    // The width box i's label or shape takes, whichever is wider.
    const auto taken = [&](std::size_t i, const NodeLabel& label) {
        double width = 2 * boxes[i].half_width;
        for (const std::string& line : label.lines) {
            width = std::max(width, text_width(line, label.font_size));
        }
        return width;
    };

    std::vector<NodeLabel> labels;
    std::vector<const std::string*> name_of(boxes.size(), nullptr);
    std::vector<double> room_of(boxes.size(), 0.0);
    std::vector<double> slot(boxes.size(), 0.0); // the width a layout for names gives
    std::vector<double> width_taken(boxes.size(), 0.0);
    std::size_t i = 0;
    for (const ogdf::node v : graph.nodes) {
        NodeLabel label;
        slot[i] = 2 * boxes[i].half_width;
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
            name_of[i] = &name->second;
            room_of[i] = std::min(room_beside(i, name_band, false), text::widest_name);
            slot[i] = text::name_slot_width(name->second, slot[i]);
            label = fit_name_label(i, name->second, room_of[i]);
        }
        width_taken[i] = taken(i, label);
        labels.push_back(std::move(label));
        ++i;
    }

    // The people whose names stand beside n's.
    const auto beside = [&](std::size_t n) {
        std::vector<std::size_t> found;
        for (const std::size_t k :
             tops_between(boxes[n].top - name_band - tallest, boxes[n].top + name_band + tallest)) {
            if (k != n && !boxes[k].family && std::abs(boxes[k].top - boxes[n].top) < name_band) {
                found.push_back(k);
            }
        }
        return found;
    };
    // A drawing laid out for names (kinship-layout --names) keeps each person's slot at
    // least slot_gap from the slots of the people beside them. One laid out without them
    // has people a shape and a gap apart whatever their names, so somewhere a long name
    // stands closer than that to its neighbour, and its labels stay as above.
    bool laid_out_for_names = true;
    for (std::size_t n = 0; n < boxes.size() && laid_out_for_names; ++n) {
        if (!boxes[n].family) {
            laid_out_for_names = std::ranges::all_of(beside(n), [&](std::size_t k) {
                return std::abs(boxes[k].x - boxes[n].x) >=
                       (slot[n] + slot[k]) / 2 + text::slot_gap - position_slack;
            });
        }
    }
    // There, a name the room above cut short takes its slot, stopping short of its
    // neighbours' labels as they stand, so that no two meet. Where shapes close below
    // leave room for one line only, the name goes on two lines in a smaller font when that
    // shows it whole.
    for (std::size_t n = 0; n < boxes.size() && laid_out_for_names; ++n) {
        if (name_of[n] == nullptr) {
            continue;
        }
        double room = slot[n];
        for (const std::size_t k : beside(n)) {
            room = std::min(room, 2 * (std::abs(boxes[k].x - boxes[n].x) - label_gap -
                                       width_taken[k] / 2));
        }
        if (room > room_of[n]) {
            labels[n] = fit_name_label(n, *name_of[n], room);
        }
        if (!shows_whole(labels[n].lines, *name_of[n])) {
            NodeLabel smaller = labels[n];
            smaller.font_size = (room_below(n, room) - shape_gap) / (2 * name_line_spacing);
            smaller.lines = fit_name(*name_of[n], room, smaller.font_size, 2);
            if (smaller.font_size >= smallest_name_font &&
                shows_whole(smaller.lines, *name_of[n])) {
                labels[n] = std::move(smaller);
            }
        }
        width_taken[n] = taken(n, labels[n]);
    }
    return labels;
}

} // namespace kinship::draw
