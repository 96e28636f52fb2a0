#include "select/selections.h"

#include <algorithm>
#include <queue>
#include <utility>

namespace kinship::select {
namespace {

// Breadth-first walk from `person` over the links `next(i)` gives, to `limit` steps.
template <typename Next>
std::vector<int> steps_from(const Pedigree& pedigree, int person, int limit, Next next)
{
    std::vector<int> steps(static_cast<std::size_t>(pedigree.size()), -1);
    std::vector<int> queue{person};
    steps[static_cast<std::size_t>(person)] = 0;
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const int from = queue[head];
        const int reached = steps[static_cast<std::size_t>(from)];
        if (reached == limit) {
            continue;
        }
        next(from, [&](int to) {
            if (to != Pedigree::none && steps[static_cast<std::size_t>(to)] < 0) {
                steps[static_cast<std::size_t>(to)] = reached + 1;
                queue.push_back(to);
            }
        });
    }
    return steps;
}

void choose_reached(const std::vector<int>& steps, Chosen& chosen)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] >= 0) {
            chosen[i] = 1;
        }
    }
}

int choose_where(const Pedigree& pedigree, Chosen& chosen, auto matches)
{
    int count = 0;
    for (int i = 0; i < pedigree.size(); ++i) {
        if (matches(pedigree.person(i))) {
            chosen[static_cast<std::size_t>(i)] = 1;
            ++count;
        }
    }
    return count;
}

// Marks everyone on a shortest line up from the person `up` was measured from to one of
// `tops`: going down from the tops, a child is on such a line when it is one generation
// nearer that person.
void choose_lines_down(const Pedigree& pedigree, const std::vector<int>& up,
                       std::vector<int> tops, Chosen& chosen)
{
    for (std::size_t head = 0; head < tops.size(); ++head) {
        const int from = tops[head];
        const int nearer = up[static_cast<std::size_t>(from)] - 1;
        if (nearer < 0) {
            continue; // the person themselves
        }
        for (const int child : pedigree.children(from)) {
            if (up[static_cast<std::size_t>(child)] == nearer &&
                !chosen[static_cast<std::size_t>(child)]) {
                chosen[static_cast<std::size_t>(child)] = 1;
                tops.push_back(child);
            }
        }
    }
}

} // namespace

std::vector<int> generations_up(const Pedigree& pedigree, int person, int limit)
{
    return steps_from(pedigree, person, limit, [&](int i, auto visit) {
        visit(pedigree.father(i));
        visit(pedigree.mother(i));
    });
}

std::vector<int> generations_down(const Pedigree& pedigree, int person, int limit)
{
    return steps_from(pedigree, person, limit, [&](int i, auto visit) {
        for (const int child : pedigree.children(i)) {
            visit(child);
        }
    });
}

void choose_ancestors(const Pedigree& pedigree, int person, int limit, Chosen& chosen)
{
    choose_reached(generations_up(pedigree, person, limit), chosen);
}

void choose_descendants(const Pedigree& pedigree, int person, int limit, Chosen& chosen)
{
    choose_reached(generations_down(pedigree, person, limit), chosen);
}

void choose_relatives(const Pedigree& pedigree, int person, int limit, Chosen& chosen)
{
    // Each reached individual keeps the most generations it may still reach down; the
    // largest allowances go first, so each individual is expanded with its largest one.
    const std::vector<int> up = generations_up(pedigree, person, limit);
    const int headroom = std::min(limit, pedigree.size());
    std::vector<int> allowance(up.size(), -1);
    std::priority_queue<std::pair<int, int>> pending;
    for (std::size_t i = 0; i < up.size(); ++i) {
        if (up[i] >= 0) {
            allowance[i] = up[i] + headroom;
            pending.emplace(allowance[i], static_cast<int>(i));
        }
    }
    while (!pending.empty()) {
        const auto [left, from] = pending.top();
        pending.pop();
        if (left != allowance[static_cast<std::size_t>(from)]) {
            continue; // a larger allowance has been seen since
        }
        chosen[static_cast<std::size_t>(from)] = 1;
        if (left == 0) {
            continue;
        }
        for (const int child : pedigree.children(from)) {
            if (allowance[static_cast<std::size_t>(child)] < left - 1) {
                allowance[static_cast<std::size_t>(child)] = left - 1;
                pending.emplace(left - 1, child);
            }
        }
    }
}

bool choose_path(const Pedigree& pedigree, int a, int b, Chosen& chosen)
{
    const std::vector<int> up_a = generations_up(pedigree, a, unlimited);
    const std::vector<int> up_b = generations_up(pedigree, b, unlimited);
    std::vector<int> closest;
    int fewest = unlimited;
    for (std::size_t i = 0; i < up_a.size(); ++i) {
        if (up_a[i] < 0 || up_b[i] < 0) {
            continue;
        }
        const int sum = up_a[i] + up_b[i];
        if (sum < fewest) {
            fewest = sum;
            closest.clear();
        }
        if (sum == fewest) {
            closest.push_back(static_cast<int>(i));
        }
    }
    if (closest.empty()) {
        return false;
    }
    Chosen on_lines(chosen.size(), 0);
    for (const int top : closest) {
        on_lines[static_cast<std::size_t>(top)] = 1;
    }
    choose_lines_down(pedigree, up_a, closest, on_lines);
    choose_lines_down(pedigree, up_b, closest, on_lines);
    std::ranges::transform(chosen, on_lines, chosen.begin(), [](char x, char y) -> char {
        return x | y;
    });
    return true;
}

int choose_clan(const Pedigree& pedigree, std::string_view name, Chosen& chosen)
{
    return choose_where(pedigree, chosen, [&](const Person& p) { return p.clan == name; });
}

int choose_subclan(const Pedigree& pedigree, std::string_view name, Chosen& chosen)
{
    return choose_where(pedigree, chosen, [&](const Person& p) { return p.subclan == name; });
}

void choose_partners(const Pedigree& pedigree, std::span<const Couple> marriages,
                     Chosen& chosen)
{
    // A chosen child with a chosen parent brings in both parents; judged on the people
    // the selections chose, not on the partners added here.
    Chosen partners = chosen;
    for (int child = 0; child < pedigree.size(); ++child) {
        const int father = pedigree.father(child);
        const int mother = pedigree.mother(child);
        if (!chosen[static_cast<std::size_t>(child)] || father == Pedigree::none ||
            mother == Pedigree::none) {
            continue;
        }
        if (chosen[static_cast<std::size_t>(father)] || chosen[static_cast<std::size_t>(mother)]) {
            partners[static_cast<std::size_t>(father)] = 1;
            partners[static_cast<std::size_t>(mother)] = 1;
        }
    }
    for (const Couple& couple : marriages) {
        const auto husband = static_cast<std::size_t>(couple.husband);
        const auto wife = static_cast<std::size_t>(couple.wife);
        if (chosen[husband] || chosen[wife]) {
            partners[husband] = partners[wife] = 1;
        }
    }
    chosen = std::move(partners);
}

} // namespace kinship::select
