#include "common/text_measure.h"

#include "common/utf8.h"

#include <algorithm>
#include <cmath>

namespace kinship::text {
namespace {

char32_t code_point(std::string_view character)
{
    return decode_utf8(character).code_point;
}

// Width in ems, at or a little above that of DejaVu Sans, the widest of the fonts a
// sans-serif label usually gets (Arial and Helvetica are narrower).
double em_width(char32_t c)
{
    if (c >= 0x0300 && c <= 0x036F) {
        return 0.0; // combining accents
    }
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x1F300;
    if (wide) {
        return 1.0;
    }
    if (c >= 0x80) {
        return 0.8; // accented capitals are as wide as the widest Latin letters
    }
    if (std::string_view(" .,;:'!|()[]-ijlftrI").find(static_cast<char>(c)) !=
        std::string_view::npos) {
        return 0.42;
    }
    if (std::string_view("MWmw").find(static_cast<char>(c)) != std::string_view::npos) {
        return 1.0;
    }
    return c >= 'A' && c <= 'Z' ? 0.8 : 0.64;
}

std::string joined(const std::vector<std::string_view>& parts)
{
    std::string text;
    for (const std::string_view part : parts) {
        if (!part.empty()) {
            (text += text.empty() ? "" : " ") += part;
        }
    }
    return text;
}

// "Conceição" -> "C."; particles ("da", "van") give nothing.
std::string initial(std::string_view word)
{
    if (word[0] >= 'a' && word[0] <= 'z') {
        return {};
    }
    return std::string(characters(word)[0]) + ".";
}

std::string initials(const std::vector<std::string_view>& given, std::size_t from)
{
    std::string text;
    for (std::size_t i = from; i < given.size(); ++i) {
        text = joined({text, initial(given[i])});
    }
    return text;
}

// The longest start of `text` that fits with "…" after it; at least one character.
std::string cut(std::string_view text, double room, double font_size)
{
    const std::vector<std::string_view> chars = characters(text);
    std::string kept(chars[0]);
    for (std::size_t i = 1; i < chars.size(); ++i) {
        std::string longer = kept + std::string(chars[i]);
        if (text_width(longer + std::string(ellipsis), font_size) > room) {
            break;
        }
        kept = std::move(longer);
    }
    return kept + std::string(ellipsis);
}

} // namespace

std::vector<std::string_view> characters(std::string_view text)
{
    std::vector<std::string_view> result;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = std::max<std::size_t>(1, decode_utf8(text.substr(i)).length);
        result.push_back(text.substr(i, length));
        i += length;
    }
    return result;
}

std::vector<std::string_view> split_words(std::string_view text)
{
    std::vector<std::string_view> result;
    std::size_t i = 0;
    while ((i = text.find_first_not_of(" \t", i)) != std::string_view::npos) {
        const std::size_t end = std::min(text.find_first_of(" \t", i), text.size());
        result.push_back(text.substr(i, end - i));
        i = end;
    }
    return result;
}

double text_width(std::string_view text, double font_size)
{
    double ems = 0.0;
    for (const std::string_view character : characters(text)) {
        ems += em_width(code_point(character));
    }
    return ems * font_size;
}

std::vector<std::string> fit_name(std::string_view name, double room, double font_size,
                                  int max_lines)
{
    const auto fits = [&](const std::string& text) {
        return !text.empty() && text_width(text, font_size) <= room;
    };
    const auto first_fitting = [&](std::initializer_list<std::string> candidates,
                                   std::string_view last_resort) {
        for (const std::string& candidate : candidates) {
            if (fits(candidate)) {
                return candidate;
            }
        }
        return cut(last_resort, room, font_size);
    };
    std::vector<std::string_view> given = split_words(name);
    if (given.empty()) {
        return {};
    }
    const std::string whole = joined(given);
    if (given.size() == 1 || fits(whole)) {
        return {fits(whole) ? whole : cut(whole, room, font_size)};
    }
    const std::string surname(given.back());
    given.pop_back();
    const std::string first(given[0]);
    const std::string all_initials = initials(given, 0);
    const std::string first_initial = all_initials.substr(0, all_initials.find(' '));
    if (max_lines >= 2) {
        return {first_fitting({joined(given), joined({first, initials(given, 1)}), first,
                               all_initials, first_initial},
                              first),
                fits(surname) ? surname : cut(surname, room, font_size)};
    }
    return {first_fitting(
        {joined({all_initials, surname}), joined({first_initial, surname}), surname}, surname)};
}

double name_width(std::string_view name, double font_size)
{
    std::vector<std::string_view> given = split_words(name);
    if (given.size() < 2) {
        return given.empty() ? 0.0 : text_width(given[0], font_size);
    }
    const double surname = text_width(given.back(), font_size);
    given.pop_back();
    return std::max(text_width(joined(given), font_size), surname);
}

double name_slot_width(std::string_view name, double shape_width)
{
    return std::max(shape_width, std::min(name_width(name, name_font_size), widest_name));
}

} // namespace kinship::text
