#include "draw/legend.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

#include "draw/label_layout.h"
#include "draw/svg_text.h"
#include "draw/text_fit.h"

namespace kinship::draw {
namespace {

// Sizes for a picture up to 1200 wide; a wider one, shown smaller, gets a larger legend.
constexpr double font_size = name_font_size;
constexpr double mark_size = 14.0;
constexpr double padding = 10.0;
constexpr double narrowest = 400.0; // a legend is at least this wide
constexpr double widest_unscaled = 1200.0;
constexpr double largest_scale = 8.0;

void set(pugi::xml_node element, const char* name, double value)
{
    element.append_attribute(name) = svg_number(value).c_str();
}

void draw_mark(pugi::xml_node legend, const LegendEntry& entry, double x, double y,
               double scale)
{
    const double size = mark_size * scale;
    pugi::xml_node mark = legend.append_child(
        entry.mark == LegendEntry::Mark::woman ? "ellipse" : "rect");
    if (entry.mark == LegendEntry::Mark::woman) {
        set(mark, "cx", x + size / 2);
        set(mark, "cy", y + size / 2);
        set(mark, "rx", size / 2);
        set(mark, "ry", size / 2);
    } else {
        set(mark, "x", x);
        set(mark, "y", y);
        set(mark, "width", size);
        set(mark, "height", size);
    }
    mark.append_attribute("fill") = entry.fill.c_str();
    mark.append_attribute("stroke") = entry.line.c_str();
    set(mark, "stroke-width", (entry.mark == LegendEntry::Mark::swatch ? 1.0 : 2.0) * scale);
}

} // namespace

std::vector<LegendEntry> sex_legend(const gml::KinshipAttributes& attributes)
{
    std::vector<LegendEntry> entries;
    for (const bool man : {true, false}) {
        for (const ogdf::node v : attributes.constGraph().nodes) {
            if (!attributes.is_family(v) &&
                (attributes.shape(v) == ogdf::Shape::Ellipse) != man) {
                entries.push_back({man ? LegendEntry::Mark::man : LegendEntry::Mark::woman,
                                   attributes.fillColor(v).toString(),
                                   attributes.strokeColor(v).toString(),
                                   man ? "man" : "woman or not recorded"});
                break;
            }
        }
    }
    return entries;
}

void add_legend(pugi::xml_node svg, const std::vector<LegendEntry>& entries)
{
    ViewBox box = read_view_box(svg);
    const double scale = std::clamp(box.width / widest_unscaled, 1.0, largest_scale);
    const double left = box.x + padding * scale;
    const double right = box.x + std::max(box.width, narrowest) - padding * scale;
    const double mark = mark_size * scale, gap = padding * scale, row_height = mark * 1.6;
    double x = left;
    double y = box.y + box.height + gap;

    pugi::xml_node legend = svg.append_child("g");
    legend.append_child("title").text() = "legend";
    for (const LegendEntry& entry : entries) {
        const double width = mark + gap / 2 + text_width(entry.text, font_size * scale);
        if (x > left && x + width > right) {
            x = left;
            y += row_height;
        }
        draw_mark(legend, entry, x, y, scale);
        pugi::xml_node text = legend.append_child("text");
        set(text, "x", x + mark + gap / 2);
        set(text, "y", y + mark * 0.85);
        text.append_attribute("font-family") = "Arial, Helvetica, sans-serif";
        set(text, "font-size", font_size * scale);
        text.text() = entry.text.c_str();
        x += width + 2 * gap;
    }
    box.height = y + mark + gap - box.y;
    box.width = std::max(box.width, narrowest);
    write_view_box(svg, box);
}

} // namespace kinship::draw
