#include "model/pedigree.h"

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
}

std::span<const int> Pedigree::children(int i) const
{
    const auto at = static_cast<std::size_t>(i);
    return std::span<const int>(child_list_).subspan(child_start_[at],
                                                      child_start_[at + 1] - child_start_[at]);
}

int Pedigree::find(int id) const
{
    const auto it = index_of_id_.find(id);
    return it == index_of_id_.end() ? none : it->second;
}

} // namespace kinship
