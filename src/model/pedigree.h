#pragma once

// The pedigree as the newer tools (kinship-select, kinship-stats, kinship-layout) hold it:
// the individuals with their attributes, in file order, each one's father, mother and
// children by index, and the couples. Its size grows with the number of people and links,
// not with its square, so it serves genealogies of a million people.

#include <cstddef>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace kinship {

// One individual as the pedigree file gives them.
struct Person {
    int id = 0;
    char sex = 0;      // 'm' for a man; any other character for a woman
    int father_id = 0; // as written in the file; 0 when not recorded
    int mother_id = 0;
    std::string clan;    // at most 9 bytes; "-" by convention when none is recorded
    std::string subclan;
    int birth = 0;
    int death = 0;
    std::size_t line = 0; // where the record starts in the file, for messages

    bool male() const { return sex == 'm'; }
};

// Two partners: a marriage from the marriages table, or a father and mother with a common
// child. `husband` is the husband column's partner (the father of their children, when
// the couple comes from them only); a couple of the same sex is kept as recorded.
struct Couple {
    int husband = 0; // indices
    int wife = 0;
    int year = 0; // of the marriage; 0 when unknown
};

class Pedigree {
public:
    // The index that stands for a parent who is not recorded.
    static constexpr int none = -1;

    Pedigree() = default;
    // `father` and `mother` give each person's parent index or `none`; both must be the
    // size of `people`, and every index must be in range. `index_of_id` maps each id to
    // its person's index. The child lists are built here, each in file order.
    Pedigree(std::vector<Person> people, std::vector<int> father, std::vector<int> mother,
             std::unordered_map<int, int> index_of_id);

    int size() const { return static_cast<int>(people_.size()); }
    const Person& person(int i) const { return people_[static_cast<std::size_t>(i)]; }
    std::span<const Person> people() const { return people_; }

    int father(int i) const { return father_[static_cast<std::size_t>(i)]; }
    int mother(int i) const { return mother_[static_cast<std::size_t>(i)]; }
    std::span<const int> children(int i) const;

    // The index of the individual with this id, or `none`.
    int find(int id) const;

    // The number of parent-to-child links.
    std::size_t links() const { return child_list_.size(); }

    // The couples: the recorded marriages first, in their order, each pair once whichever
    // way round it is given; then every father and mother with a common child who are not
    // among them, in the file order of their first child. Without recorded marriages these
    // are the parents of common children alone.
    std::span<const Couple> couples() const { return couples_; }
    // The common children of couple `c`, in file order.
    std::span<const int> couple_children(int c) const;

    // Takes `marriages` (indices in range, two different people each) as the recorded
    // marriages, replacing any given before. A pair given again is the same couple; it
    // keeps the first row's year unless only a later row knows one.
    void set_marriages(std::span<const Couple> marriages);

private:
    std::vector<Person> people_;
    std::vector<int> father_;
    std::vector<int> mother_;
    // children(i) is child_list_[child_start_[i] .. child_start_[i + 1]).
    std::vector<std::size_t> child_start_;
    std::vector<int> child_list_;
    std::unordered_map<int, int> index_of_id_;
    std::vector<Couple> couples_;
    // couple_children(c) is couple_child_list_[couple_child_start_[c] .. [c + 1]).
    std::vector<std::size_t> couple_child_start_;
    std::vector<int> couple_child_list_;
};

} // namespace kinship
