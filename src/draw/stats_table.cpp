#include "draw/stats_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/whole_file.h"
#include "draw/svg_text.h"

namespace kinship::draw {
namespace {

constexpr const char* no_f = "#EEEEEE";
constexpr const char* outline = "#333333";

// Viridis at nine even steps from 0 to 1.
constexpr std::array<std::array<int, 3>, 9> viridis = {
    {{0x44, 0x01, 0x54}, {0x47, 0x2d, 0x7b}, {0x3b, 0x52, 0x8b}, {0x2c, 0x72, 0x8e},
     {0x21, 0x91, 0x8c}, {0x28, 0xae, 0x80}, {0x5e, 0xc9, 0x62}, {0xad, 0xdc, 0x30},
     {0xfd, 0xe7, 0x25}}};

std::string viridis_at(double t)
{
    const double at = std::clamp(t, 0.0, 1.0) * (viridis.size() - 1);
    const auto low = std::min(static_cast<std::size_t>(at), viridis.size() - 2);
    const double part = at - static_cast<double>(low);
    std::array<char, 8> text{};
    int rgb[3];
    for (int c = 0; c < 3; ++c) {
        rgb[c] = static_cast<int>(std::lround(viridis[low][c] * (1 - part) +
                                              viridis[low + 1][c] * part));
    }
    std::snprintf(text.data(), text.size(), "#%02X%02X%02X", rgb[0], rgb[1], rgb[2]);
    return text.data();
}

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> result;
    for (std::size_t from = 0;;) {
        const std::size_t tab = line.find('\t', from);
        result.push_back(line.substr(from, tab - from));
        if (tab == std::string_view::npos) {
            return result;
        }
        from = tab + 1;
    }
}

} // namespace

Result<StatsTable> load_stats_table(const std::string& folder)
{
    const std::string path = folder + "/people.tsv";
    const Result<std::string> text = read_whole_file(path, "the table of kinship-stats");
    if (!text) {
        return text.failure();
    }
    StatsTable table;
    std::size_t id = 0, generation = 0, inbreeding = 0, columns = 0, number = 0;
    const auto fail = [&](const std::string& what) {
        return failure_of({path, number, what});
    };
    for (std::size_t start = 0; start < text.value().size();) {
        const std::size_t end = std::min(text.value().find('\n', start), text.value().size());
        std::string_view line = std::string_view(text.value()).substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const std::vector<std::string_view> row = fields(line);
        if (number == 1) {
            const auto column = [&](std::string_view name) {
                return static_cast<std::size_t>(std::ranges::find(row, name) - row.begin());
            };
            id = column("id"), generation = column("generation");
            inbreeding = column("inbreeding"), columns = row.size();
            if (std::max({id, generation, inbreeding}) >= columns) {
                return fail("expected the header of kinship-stats' people.tsv, with the columns "
                            "id, generation and inbreeding");
            }
            continue;
        }
        if (line.empty()) {
            continue;
        }
        if (row.size() != columns) {
            return fail("expected " + std::to_string(columns) + " fields, found " +
                        std::to_string(row.size()));
        }
        PersonStats stats{xml_text(row[generation]), xml_text(row[inbreeding]), 0};
        const std::string_view f = row[inbreeding];
        const auto [past, error] = std::from_chars(f.data(), f.data() + f.size(), stats.f);
        if (error != std::errc() || past != f.data() + f.size()) {
            return fail("the inbreeding " + quoted(f) + " is not a number");
        }
        table.insert_or_assign(xml_text(row[id]), std::move(stats));
    }
    return table;
}

std::vector<std::string> stats_tooltips(const gml::KinshipAttributes& attributes,
                                        const StatsTable& table)
{
    std::vector<std::string> lines;
    for (const ogdf::node v : attributes.constGraph().nodes) {
        const auto found = table.find(attributes.label(v));
        lines.push_back(found == table.end()
                            ? std::string()
                            : "\ngeneration: " + found->second.generation +
                                  "\nF: " + found->second.inbreeding);
    }
    return lines;
}

std::vector<LegendEntry> colour_by_inbreeding(gml::KinshipAttributes& attributes,
                                              const StatsTable& table)
{
    const ogdf::Graph& graph = attributes.constGraph();
    const auto f_of = [&](ogdf::node v) {
        const auto found = table.find(attributes.label(v));
        return found == table.end() ? 0.0 : found->second.f;
    };
    double largest = 0;
    for (const ogdf::node v : graph.nodes) {
        largest = std::max(largest, f_of(v));
    }
    for (const ogdf::node v : graph.nodes) {
        if (attributes.is_family(v)) {
            continue; // family nodes keep their own colour
        }
        const double f = f_of(v);
        attributes.set_node_fill(v, f > 0 ? viridis_at(f / largest) : no_f);
        attributes.set_node_line(v, outline);
    }
    std::vector<LegendEntry> legend = {
        {LegendEntry::Mark::man, "#FFFFFF", outline, "man"},
        {LegendEntry::Mark::woman, "#FFFFFF", outline, "woman or not recorded"},
        {LegendEntry::Mark::swatch, no_f, outline, "F = 0"}};
    if (largest > 0) {
        for (const double t : {0.0, 0.25, 0.5, 0.75, 1.0}) {
            std::array<char, 32> value{};
            std::snprintf(value.data(), value.size(), "%.4g", t * largest);
            legend.push_back({LegendEntry::Mark::swatch, viridis_at(t), outline,
                              t == 0 ? std::string("F near 0") : "F = " + std::string(value.data())});
        }
    }
    return legend;
}

} // namespace kinship::draw
