#include "draw/page_document.h"

#include "draw/page_assets.h"

namespace kinship::draw {
namespace {

std::string html_text(std::string_view text)
{
    std::string html;
    for (const char c : text) {
        switch (c) {
        case '&': html += "&amp;"; break;
        case '<': html += "&lt;"; break;
        case '>': html += "&gt;"; break;
        case '"': html += "&quot;"; break;
        default: html += c;
        }
    }
    return html;
}

} // namespace

std::string page_document(std::string_view data, std::string_view title)
{
    const std::string escaped_title = html_text(title);
    // The build has checked that the skeleton names each part once and nothing else.
    const auto part = [&](std::string_view name) {
        return name == "title"   ? std::string_view(escaped_title)
               : name == "style" ? page_style
               : name == "data"  ? data
                                 : page_script;
    };
    std::string page;
    page.reserve(page_skeleton.size() + page_style.size() + page_script.size() + data.size() +
                 escaped_title.size());
    std::string_view rest = page_skeleton;
    for (std::size_t open; (open = rest.find("{{")) != std::string_view::npos;) {
        const std::size_t close = rest.find("}}", open);
        page.append(rest.substr(0, open));
        page.append(part(rest.substr(open + 2, close - open - 2)));
        rest.remove_prefix(close + 2);
    }
    return page.append(rest);
}

} // namespace kinship::draw
