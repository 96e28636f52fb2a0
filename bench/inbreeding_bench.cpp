// inbreeding-bench PEDIGREE_FILE [--no-plain]
//
// Times the inbreeding coefficients of kinship-stats (stats/ancestry.h) on one and two
// workers against the plain method they improve on: Meuwissen and Luo (1992) for each
// person in turn, the ancestors taken from a priority queue. Prints the seconds of each
// and the largest difference between their values. For measuring only.

#include "model/parents_first.h"
#include "model/pedigree_reader.h"
#include "stats/ancestry.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <queue>
#include <string>
#include <vector>

namespace {

// F of each person (by index), worked out person by person.
std::vector<double> plain_meuwissen_luo(const kinship::Pedigree& p, const std::vector<int>& order)
{
    const auto n = static_cast<std::size_t>(p.size());
    std::vector<int> place(n);
    for (std::size_t k = 0; k < n; ++k) {
        place[static_cast<std::size_t>(order[k])] = static_cast<int>(k);
    }
    std::vector<int> father(n, -1), mother(n, -1);
    for (std::size_t k = 0; k < n; ++k) {
        const int i = order[k];
        father[k] = p.father(i) < 0 ? -1 : place[static_cast<std::size_t>(p.father(i))];
        mother[k] = p.mother(i) < 0 ? -1 : place[static_cast<std::size_t>(p.mother(i))];
    }
    std::vector<double> f(n, 0.0), d(n, 1.0), l(n, 0.0);
    const auto at = [](int k) { return static_cast<std::size_t>(k); };
    std::priority_queue<int> queue; // the latest in the order first: children before parents
    for (std::size_t k = 0; k < n; ++k) {
        const int s = father[k], m = mother[k];
        d[k] = s >= 0 && m >= 0   ? 0.5 - 0.25 * (f[at(s)] + f[at(m)])
               : s >= 0 || m >= 0 ? 0.75 - 0.25 * f[at(std::max(s, m))]
                                  : 1.0;
        if (s < 0 || m < 0) {
            continue;
        }
        double sum = 0;
        l[k] = 1;
        queue.push(static_cast<int>(k));
        while (!queue.empty()) {
            const auto j = static_cast<std::size_t>(queue.top());
            queue.pop();
            sum += l[j] * l[j] * d[j];
            for (const int parent : {father[j], mother[j]}) {
                if (parent >= 0) {
                    if (l[static_cast<std::size_t>(parent)] == 0) {
                        queue.push(parent);
                    }
                    l[static_cast<std::size_t>(parent)] += 0.5 * l[j];
                }
            }
            l[j] = 0;
        }
        f[k] = sum - 1;
    }
    std::vector<double> by_index(n);
    for (std::size_t k = 0; k < n; ++k) {
        by_index[static_cast<std::size_t>(order[k])] = f[k];
    }
    return by_index;
}

// Wall seconds; the processor seconds of all threads are added to `cpu`, as the machine
// may be busy with other work.
template <typename Work> double seconds(Work&& work, double& cpu)
{
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t start_cpu = std::clock();
    work();
    cpu = static_cast<double>(std::clock() - start_cpu) / CLOCKS_PER_SEC;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: inbreeding-bench PEDIGREE_FILE [--no-plain]\n");
        return 2;
    }
    const auto read = kinship::load_pedigree_model(argv[1]);
    if (!read) {
        kinship::print_failure(read.failure());
        return 1;
    }
    const auto order = kinship::parents_first(read.value(), argv[1]);
    if (!order) {
        kinship::print_failure(order.failure());
        return 1;
    }
    kinship::stats::Ancestry one, two;
    double one_cpu = 0, two_cpu = 0, plain_cpu = 0;
    const auto& p = read.value();
    using kinship::stats::measure_ancestry;
    const double one_s = seconds([&] { one = measure_ancestry(p, order.value(), 1); }, one_cpu);
    const double two_s = seconds([&] { two = measure_ancestry(p, order.value(), 2); }, two_cpu);
    std::printf("one_worker=%.2fs/%.2fcpu two=%.2fs/%.2fcpu identical=%s", one_s, one_cpu,
                two_s, two_cpu, one.inbreeding == two.inbreeding ? "yes" : "no");
    if (argc < 3 || std::string(argv[2]) != "--no-plain") {
        std::vector<double> plain;
        const double plain_s =
            seconds([&] { plain = plain_meuwissen_luo(p, order.value()); }, plain_cpu);
        double largest = 0;
        for (std::size_t i = 0; i < plain.size(); ++i) {
            largest = std::max(largest, std::abs(plain[i] - two.inbreeding[i]));
        }
        std::printf(" plain=%.2fs/%.2fcpu difference=%.1e", plain_s, plain_cpu, largest);
    }
    std::printf("\n");
    return 0;
}
