#include "draw/clan_colours.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>

#include "common/clan_word.h"
#include "draw/text_fit.h"

namespace kinship::draw {
namespace {

// Okabe-Ito without its black, which would hide the outline.
constexpr const char* palette[] = {"#E69F00", "#56B4E9", "#009E73", "#F0E442",
                                   "#0072B2", "#D55E00", "#CC79A7"};
constexpr const char* neutral = "#BBBBBB";
constexpr const char* outline = "#333333";

// Keys of the groups that are no clan: a group name never holds a line break.
const std::string no_clan_key = "\nclan";
const std::string no_subclan_key = "\nsub-clan";

// The group an individual is coloured by, as the legend names it: its clan, or its clan and
// sub-clan; a key above when either is the word for none; empty when the template is not
// the four words of a clan pedigree.
std::string group_of(const gml::KinshipAttributes& attributes, ogdf::node v, bool by_subclan)
{
    const std::string templ = attributes.templateNode(v);
    const std::vector<std::string_view> parts = split_words(templ);
    if (parts.size() != 4) {
        return {};
    }
    if (clan::is_no_clan(parts[0])) {
        return no_clan_key;
    }
    if (!by_subclan) {
        return clan::display_clan(parts[0]);
    }
    if (clan::is_no_clan(parts[1])) {
        return no_subclan_key;
    }
    return clan::display_clan(parts[0]) + " / " + clan::display_clan(parts[1]);
}

std::string people(int count)
{
    return std::to_string(count) + (count == 1 ? " person" : " people");
}

} // namespace

std::vector<LegendEntry> colour_by_clan(gml::KinshipAttributes& attributes, bool by_subclan)
{
    const ogdf::Graph& graph = attributes.constGraph();
    std::map<std::string, int> sizes;
    for (const ogdf::node v : graph.nodes) {
        if (!attributes.is_family(v)) {
            ++sizes[group_of(attributes, v, by_subclan)];
        }
    }
    const auto take = [&sizes](const std::string& key) {
        const int size = sizes.contains(key) ? sizes[key] : 0;
        sizes.erase(key);
        return size;
    };
    const int unknown = take("");
    const int no_clan = take(no_clan_key), no_subclan = take(no_subclan_key);
    std::vector<std::pair<std::string, int>> ranked(sizes.begin(), sizes.end());
    std::ranges::stable_sort(ranked, std::greater{}, &std::pair<std::string, int>::second);

    std::map<std::string, std::string> colour;
    std::vector<LegendEntry> legend = {
        {LegendEntry::Mark::man, "#FFFFFF", outline, "man"},
        {LegendEntry::Mark::woman, "#FFFFFF", outline, "woman or not recorded"}};
    int others = unknown, other_groups = 0;
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        const auto& [group, size] = ranked[i];
        if (i < std::size(palette)) {
            colour[group] = palette[i];
            legend.push_back({LegendEntry::Mark::swatch, palette[i], outline,
                              group + " (" + std::to_string(size) + ")"});
        } else {
            others += size;
            ++other_groups;
        }
    }
    if (no_clan > 0) {
        legend.push_back({LegendEntry::Mark::swatch, neutral, outline,
                          "no clan recorded (" + std::to_string(no_clan) + ")"});
    }
    if (no_subclan > 0) {
        legend.push_back({LegendEntry::Mark::swatch, neutral, outline,
                          "no sub-clan recorded (" + std::to_string(no_subclan) + ")"});
    }
    if (others > 0) {
        const std::string what = std::string(by_subclan ? " sub-clan" : " clan") +
                                 (other_groups == 1 ? ", " : "s, ");
        legend.push_back({LegendEntry::Mark::swatch, neutral, outline,
                          other_groups > 0 ? "other: " + std::to_string(other_groups) + what +
                                                 people(others)
                                           : "no clan: " + people(others)});
    }
    for (const ogdf::node v : graph.nodes) {
        if (attributes.is_family(v)) {
            continue; // family nodes keep their own colour
        }
        const auto found = colour.find(group_of(attributes, v, by_subclan));
        attributes.set_node_fill(v, found == colour.end() ? neutral : found->second);
        attributes.set_node_line(v, outline);
    }
    return legend;
}

} // namespace kinship::draw
