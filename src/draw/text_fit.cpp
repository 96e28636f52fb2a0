#include "draw/text_fit.h"

#include <cmath>
#include <vector>

namespace kinship::draw {
namespace {

constexpr double smallest_id_font = 5.0;

} // namespace

FittedId fit_id(std::string_view id, double room, double font_size)
{
    const double width = text_width(id, font_size);
    if (width <= room) {
        return {std::string(id), font_size};
    }
    const double smaller = std::floor(font_size * room / width * 10.0) / 10.0;
    if (smaller >= smallest_id_font) {
        return {std::string(id), smaller};
    }
    // Keep the end: ids of one register share their first digits.
    const std::vector<std::string_view> chars = text::characters(id);
    std::string kept;
    for (auto c = chars.rbegin(); c != chars.rend(); ++c) {
        std::string longer = std::string(*c) + kept;
        if (!kept.empty() &&
            text_width(std::string(text::ellipsis) + longer, smallest_id_font) > room) {
            break;
        }
        kept = std::move(longer);
    }
    return {std::string(text::ellipsis) + kept, smallest_id_font};
}

} // namespace kinship::draw
