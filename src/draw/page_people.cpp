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
    ogdf::NodeArray<int> place(graph, -1);
    std::vector<int> family_places; // among all nodes
    int next = 0, next_node = 0;
    for (const ogdf::node v : graph.nodes) {
        id[v] = attributes.label(v);
        if (attributes.is_family(v)) {
            family_places.push_back(next_node);
        } else {
            place[v] = next++;
        }
        ++next_node;
    }
    // A person's parents and children, seen through family nodes: the people at the other
    // end of the lines, or, where that end is a family node, the couple or its children.
    const auto ends = [&](ogdf::node v, bool up) {
        std::vector<ogdf::node> found;
        for (const ogdf::adjEntry adj : v->adjEntries) {
            const ogdf::edge e = adj->theEdge();
            const ogdf::node other = up ? e->source() : e->target();
            if ((up ? e->target() : e->source()) == v && other != v) {
                found.push_back(other);
            }
        }
        return found;
    };
    const auto relatives = [&](ogdf::node v, bool up) {
        std::vector<ogdf::node> people;
        for (const ogdf::node other : ends(v, up)) {
            if (!attributes.is_family(other)) {
                people.push_back(other);
                continue;
            }
            for (const ogdf::node beyond : ends(other, up)) {
                if (!attributes.is_family(beyond) && beyond != v) {
                    people.push_back(beyond);
                }
            }
        }
        return people;
    };
    const auto ids_of = [&](const std::vector<ogdf::node>& nodes) {
        std::vector<std::string> ids;
        for (const ogdf::node v : nodes) {
            ids.push_back(id[v]);
        }
        return ids;
    };

    std::string json = "{\"people\":[";
    for (const ogdf::node v : graph.nodes) {
        if (attributes.is_family(v)) {
            continue;
        }
        const std::string templ = attributes.templateNode(v);
        std::vector<std::string_view> words = split_words(templ);
        if (words.size() != 4) {
            words.assign(4, {});
        }
        const auto named = names.find(id[v]);
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
        append_ids(json, ids_of(relatives(v, true)));
        json += ",\"children\":";
        append_ids(json, ids_of(relatives(v, false)));
        json += '}';
    }
    json += "],\n\"links\":[";
    for (const ogdf::edge e : graph.edges) {
        if (e != graph.firstEdge()) {
            json += ',';
        }
        const ogdf::node from = e->source(), to = e->target();
        if (!attributes.is_family(from) && !attributes.is_family(to)) {
            json += '[' + std::to_string(place[from]) + ',' + std::to_string(place[to]) + ']';
            continue;
        }
        // A line at a family node stands for every parent-child pair that runs along it.
        const auto side = [&](ogdf::node v, bool up) {
            return attributes.is_family(v) ? relatives(v, up) : std::vector<ogdf::node>{v};
        };
        json += '[';
        const char* separator = "";
        for (const ogdf::node parent : side(from, true)) {
            for (const ogdf::node child : side(to, false)) {
                json += separator;
                json += '[' + std::to_string(place[parent]) + ',' + std::to_string(place[child]) +
                        ']';
                separator = ",";
            }
        }
        json += ']';
    }
    json += ']';
    if (!family_places.empty()) {
        json += ",\n\"families\":[";
        for (std::size_t k = 0; k < family_places.size(); ++k) {
            json += (k > 0 ? "," : "") + std::to_string(family_places[k]);
        }
        json += ']';
    }
    return json + '}';
}

} // namespace kinship::draw
