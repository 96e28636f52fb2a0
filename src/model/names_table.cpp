#include "model/names_table.h"

#include "common/xml_text.h"
#include "model/names_rows.h"

namespace kinship {
namespace {

NamesTable names_of(const NamesRows& table)
{
    NamesTable names;
    for (const NamesRow& row : table.rows) {
        if (std::string name = text::xml_text(row.name); !name.empty()) {
            names.emplace(row.id, std::move(name));
        }
    }
    return names;
}

} // namespace

Result<NamesTable> load_names_table(const std::string& path)
{
    std::string text;
    const Result<NamesRows> table = load_names_rows(path, text);
    if (!table) {
        return table.failure();
    }
    return names_of(table.value());
}

} // namespace kinship
