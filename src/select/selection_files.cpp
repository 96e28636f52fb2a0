#include "select/selection_files.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <unordered_set>

namespace kinship::select {
namespace {

void append_number(std::string& text, int value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}

} // namespace

void write_pedigree(const Pedigree& pedigree, const Chosen& chosen, AtomicFile& out)
{
    std::string& text = out.buffer();
    const auto is_chosen = [&](int parent_id) {
        const int parent = pedigree.find(parent_id);
        return parent != Pedigree::none && chosen[static_cast<std::size_t>(parent)];
    };
    append_number(text, static_cast<int>(std::ranges::count(chosen, 1)));
    text += '\n';
    for (int i = 0; i < pedigree.size(); ++i) {
        if (!chosen[static_cast<std::size_t>(i)]) {
            continue;
        }
        const Person& p = pedigree.person(i);
        append_number(text, p.id);
        (text += ' ') += p.sex;
        for (const int parent_id : {p.father_id, p.mother_id}) {
            text += ' ';
            append_number(text, parent_id != 0 && is_chosen(parent_id) ? parent_id : 0);
        }
        (((text += ' ') += p.clan) += ' ') += p.subclan;
        text += ' ';
        append_number(text, p.birth);
        text += ' ';
        append_number(text, p.death);
        text += '\n';
        out.write_if_full();
    }
}

int write_names(const NamesRows& names, const Pedigree& pedigree, const Chosen& chosen,
                AtomicFile& out)
{
    std::unordered_set<std::string> ids;
    for (int i = 0; i < pedigree.size(); ++i) {
        if (chosen[static_cast<std::size_t>(i)]) {
            ids.insert(std::to_string(pedigree.person(i).id));
        }
    }
    std::string& text = out.buffer();
    (text += names.header) += '\n';
    int written = 0;
    for (const NamesRow& row : names.rows) {
        if (ids.contains(row.id)) {
            (text += row.line) += '\n';
            ++written;
            out.write_if_full();
        }
    }
    return written;
}

int write_marriages(const MarriagesTable& marriages, const Chosen& chosen, AtomicFile& out)
{
    std::string& text = out.buffer();
    (text += marriages.header) += '\n';
    int written = 0;
    for (const Marriage& row : marriages.rows) {
        if (chosen[static_cast<std::size_t>(row.couple.husband)] &&
            chosen[static_cast<std::size_t>(row.couple.wife)]) {
            (text += row.row) += '\n';
            ++written;
            out.write_if_full();
        }
    }
    return written;
}

} // namespace kinship::select
