#include "draw/page_people.h"

#include <array>
#include <cstdio>
#include <vector>

#include "draw/text_fit.h"

namespace kinship::draw {
namespace {

void append_ids(std::string& json, const std::vector<std::string>& ids)
{
    json += '[';
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i > 0) {
            json += ',';
        }
        json += json_string(ids[i]);
    }
    json += ']';
}

} // namespace

std::string json_string(std::string_view text)
{
    std::string json = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::string_view rest = text.substr(i);
        if (c == '"' || c == '\\') {
            (json += '\\') += static_cast<char>(c);
        } else if (c < 0x20 || c == '<' || c == '>' || c == '&') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            json += escaped;
        } else if (rest.starts_with("\u2028") || rest.starts_with("\u2029")) {
            json += rest[2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            json += static_cast<char>(c);
        }
    }
    return json + '"';
}

std::string people_json(const gml::KinshipAttributes& attributes, const NamesTable& names,
                        const StatsTable& stats)
{
    const ogdf::Graph& graph = attributes.constGraph();
    ogdf::NodeArray<std::string> id(graph);
    ogdf::NodeArray<int> place(graph);
    int next = 0;
    for (const ogdf::node v : graph.nodes) {
        id[v] = attributes.label(v);
        place[v] = next++;
    }

    std::string json = "{\"people\":[";
    for (const ogdf::node v : graph.nodes) {
        const std::string templ = attributes.templateNode(v);
        std::vector<std::string_view> words = split_words(templ);
        if (words.size() != 4) {
            words.assign(4, {});
        }
        const auto named = names.find(id[v]);
        std::vector<std::string> parents, children;
        for (const ogdf::adjEntry adj : v->adjEntries) {
            const ogdf::edge e = adj->theEdge();
            if (e->target() == v && e->source() != v) {
                parents.push_back(id[e->source()]);
            } else if (e->source() == v && e->target() != v) {
                children.push_back(id[e->target()]);
            }
        }
        if (place[v] > 0) {
            json += ',';
        }
        json += "\n{\"id\":" + json_string(id[v]);
        json += ",\"name\":" + json_string(named == names.end() ? "" : named->second);
        json += ",\"sex\":";
        json += attributes.shape(v) == ogdf::Shape::Ellipse ? "\"woman or not recorded\""
                                                            : "\"man\"";
        constexpr std::array<const char*, 4> fields = {"clan", "subclan", "birth", "death"};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            json += std::string(",\"") + fields[i] + "\":" + json_string(words[i]);
        }
        if (const auto measured = stats.find(id[v]); measured != stats.end()) {
            json += ",\"generation\":" + json_string(measured->second.generation);
            json += ",\"inbreeding\":" + json_string(measured->second.inbreeding);
        }
        json += ",\"parents\":";
        append_ids(json, parents);
        json += ",\"children\":";
        append_ids(json, children);
        json += '}';
    }
    json += "],\n\"links\":[";
    for (const ogdf::edge e : graph.edges) {
        if (e != graph.firstEdge()) {
            json += ',';
        }
        json += '[' + std::to_string(place[e->source()]) + ',' +
                std::to_string(place[e->target()]) + ']';
    }
    return json + "]}";
}

} // namespace kinship::draw
