#pragma once

// A linear program solved with COIN-OR's Clp (which comes with OGDF): minimise the sum of
// each column's cost times its value, each column at least its lower bound, each row (a
// sum of terms) bounded on one side. Solved by the primal simplex from each column's
// starting value: where those are a feasible solution near the optimum, as places from a
// layout already made are, it takes a fraction of the time of a solve from nothing. Solved
// again with other costs, it starts from the optimum it found before.

#include <cstddef>
#include <memory>
#include <vector>

class ClpSimplex;

namespace kinship::family {

struct Term {
    int column;
    double coefficient;
};

class LinearProgram {
public:
    static constexpr double unbounded = -1e300;

    LinearProgram();
    ~LinearProgram();
    LinearProgram(const LinearProgram&) = delete;
    LinearProgram& operator=(const LinearProgram&) = delete;

    // A new column; its number.
    int add_column(double cost, double lower, double start);
    void add_cost(int column, double cost);
    // Replaces a column's cost, also after a solve.
    void set_cost(int column, double cost);
    // sum(terms) >= rhs where `at_least`, else sum(terms) <= rhs.
    void add_row(const std::vector<Term>& terms, bool at_least, double rhs);

    std::size_t columns() const { return cost_.size(); }
    double start(int column) const { return start_[static_cast<std::size_t>(column)]; }

    // The columns' values at an optimum; empty if none was found. Columns and rows are
    // added before the first solve.
    std::vector<double> solve();

private:
    struct Entry {
        int column;
        int row;
        double value;
    };
    std::vector<double> cost_, lower_, start_, row_lower_, row_upper_;
    std::vector<Entry> entries_;
    std::unique_ptr<ClpSimplex> model_; // once solved
};

} // namespace kinship::family
