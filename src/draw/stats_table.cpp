#include "draw/stats_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "common/whole_file.h"
#include "common/xml_text.h"
#include "draw/svg_text.h"
#include "model/table_rows.h"

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

// Reads the table PATH of kinship-stats, whose header names at least `columns`, and calls
// `take(fields, fail)` with each row's fields in the order of `columns`; `fail(what)` makes
// the failure "PATH:LINE: what".
template <typename Take>
Status read_stats_tsv(const std::string& path, const std::vector<std::string_view>& columns,
                      Take take)
{
    const Result<std::string> text = read_whole_file(path, "the table of kinship-stats");
    if (!text) {
        return text.failure();
    }
    std::size_t number = 1;
    const auto fail = [&](const std::string& what) { return failure_of({path, number, what}); };
    const std::vector<std::string_view> header = tab_fields(table_header(text.value()));
    std::vector<std::size_t> places;
    std::string names;
    for (const std::string_view column : columns) {
        places.push_back(static_cast<std::size_t>(std::ranges::find(header, column) - header.begin()));
        names += (names.empty() ? "" : ", ") + std::string(column);
    }
    if (std::ranges::max(places) >= header.size()) {
        return fail("expected the header of kinship-stats' " +
                    std::filesystem::path(path).filename().string() + ", with the columns " + names);
    }
    std::vector<std::string_view> wanted;
    const Result<std::string_view> rows = for_each_table_row(
        text.value(),
        [&](std::size_t line_number, std::string_view, const std::vector<std::string_view>& row) -> Status {
            number = line_number;
            if (row.size() != header.size()) {
                return fail("expected " + std::to_string(header.size()) + " fields, found " +
                            std::to_string(row.size()));
            }
            wanted.clear();
            for (const std::size_t place : places) {
                wanted.push_back(row[place]);
            }
            return take(wanted, fail);
        });
    if (!rows) {
        return rows.failure();
    }
    return done;
}

// `text` as a number, or the failure that says it is not one.
template <typename Fail>
Status read_number(std::string_view text, std::string_view what, double& value, Fail fail)
{
    const auto [past, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || past != text.data() + text.size()) {
        return fail("the " + std::string(what) + " " + quoted(text) + " is not a number");
    }
    return done;
}

} // namespace

Result<StatsTable> load_stats_table(const std::string& folder)
{
    StatsTable table;
    const Status read = read_stats_tsv(
        folder + "/people.tsv", {"id", "generation", "inbreeding"},
        [&table](const std::vector<std::string_view>& row, const auto& fail) -> Status {
            PersonStats stats{text::xml_text(row[1]), text::xml_text(row[2]), 0};
            if (const Status number = read_number(row[2], "inbreeding", stats.f, fail); !number) {
                return number;
            }
            table.insert_or_assign(text::xml_text(row[0]), std::move(stats));
            return done;
        });
    if (!read) {
        return read.failure();
    }
    return table;
}

Result<CoupleKinship> load_couple_kinship(const std::string& folder)
{
    CoupleKinship couples;
    const Status read = read_stats_tsv(
        folder + "/couples.tsv", {"father", "mother", "kinship"},
        [&couples](const std::vector<std::string_view>& row, const auto& fail) -> Status {
            double kinship = 0;
            if (const Status number = read_number(row[2], "kinship", kinship, fail); !number) {
                return number;
            }
            if (kinship > 0) {
                couples.insert(couple_key(text::xml_text(row[0]), text::xml_text(row[1])));
            }
            return done;
        });
    if (!read) {
        return read.failure();
    }
    return couples;
}

std::string couple_key(std::string_view one, std::string_view other)
{
    return one < other ? std::string(one) + '\t' + std::string(other)
                       : std::string(other) + '\t' + std::string(one);
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
