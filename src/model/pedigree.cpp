#include "model/pedigree.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace kinship {

Pedigree::Pedigree(std::vector<Person> people, std::vector<int> father, std::vector<int> mother,
                   std::unordered_map<int, int> index_of_id)
    : people_(std::move(people)), father_(std::move(father)), mother_(std::move(mother)),
      index_of_id_(std::move(index_of_id))
{
    const std::size_t n = people_.size();
    // Counting sort of the links by parent keeps each child list in file order.
    child_start_.assign(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        for (const int parent : {father_[i], mother_[i]}) {
            if (parent != none) {
                ++child_start_[static_cast<std::size_t>(parent) + 1];
            }
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        child_start_[i + 1] += child_start_[i];
    }
    child_list_.resize(child_start_[n]);
    std::vector<std::size_t> next(child_start_.begin(), child_start_.end() - 1);
    for (std::size_t i = 0; i < n; ++i) {
        for (const int parent : {father_[i], mother_[i]}) {
            if (parent != none) {
                child_list_[next[static_cast<std::size_t>(parent)]++] = static_cast<int>(i);
            }
        }
    }
    set_marriages({});
}

std::span<const int> Pedigree::children(int i) const
{
    const auto at = static_cast<std::size_t>(i);
    return std::span<const int>(child_list_).subspan(child_start_[at],
                                                      child_start_[at + 1] - child_start_[at]);
}

std::span<const int> Pedigree::couple_children(int c) const
{
    const auto at = static_cast<std::size_t>(c);
    return std::span<const int>(couple_child_list_)
        .subspan(couple_child_start_[at], couple_child_start_[at + 1] - couple_child_start_[at]);
}

void Pedigree::set_marriages(std::span<const Couple> marriages)
{
    // A couple is one pair whichever partner comes first.
    const auto key = [](int a, int b) {
        return (static_cast<std::uint64_t>(std::min(a, b)) << 32) |
               static_cast<std::uint32_t>(std::max(a, b));
    };
    std::unordered_map<std::uint64_t, int> couple_of;
    couples_.clear();
    for (const Couple& marriage : marriages) {
        const auto [at, added] = couple_of.try_emplace(key(marriage.husband, marriage.wife),
                                                       static_cast<int>(couples_.size()));
        if (added) {
            couples_.push_back(marriage);
        } else if (couples_[static_cast<std::size_t>(at->second)].year == 0) {
            couples_[static_cast<std::size_t>(at->second)].year = marriage.year;
        }
    }
    const std::size_t n = people_.size();
    std::vector<int> couple_of_child(n, none);
    for (std::size_t child = 0; child < n; ++child) {
        const int f = father_[child];
        const int m = mother_[child];
        if (f == none || m == none) {
            continue;
        }
        const auto [at, added] = couple_of.try_emplace(key(f, m), static_cast<int>(couples_.size()));
        if (added) {
            couples_.push_back({f, m, 0});
        }
        couple_of_child[child] = at->second;
    }
    // Counting sort of the children by couple keeps each list in file order.
    couple_child_start_.assign(couples_.size() + 1, 0);
    for (const int c : couple_of_child) {
        if (c != none) {
            ++couple_child_start_[static_cast<std::size_t>(c) + 1];
        }
    }
    for (std::size_t c = 0; c < couples_.size(); ++c) {
        couple_child_start_[c + 1] += couple_child_start_[c];
    }
    couple_child_list_.resize(couple_child_start_.back());
    std::vector<std::size_t> next(couple_child_start_.begin(), couple_child_start_.end() - 1);
    for (std::size_t child = 0; child < n; ++child) {
        if (const int c = couple_of_child[child]; c != none) {
            couple_child_list_[next[static_cast<std::size_t>(c)]++] = static_cast<int>(child);
        }
    }
}

int Pedigree::find(int id) const
{
    const auto it = index_of_id_.find(id);
    return it == index_of_id_.end() ? none : it->second;
}

} // namespace kinship
