#include "family_layout/linear_program.h"

#include <coin/ClpSimplex.hpp>

#include <algorithm>

namespace kinship::family {

LinearProgram::LinearProgram() = default;
LinearProgram::~LinearProgram() = default;

int LinearProgram::add_column(double cost, double lower, double start)
{
    cost_.push_back(cost);
    lower_.push_back(lower <= unbounded ? -COIN_DBL_MAX : lower);
    start_.push_back(start);
    return static_cast<int>(cost_.size() - 1);
}

void LinearProgram::add_cost(int column, double cost)
{
    cost_[static_cast<std::size_t>(column)] += cost;
}

void LinearProgram::set_cost(int column, double cost)
{
    cost_[static_cast<std::size_t>(column)] = cost;
    if (model_) {
        model_->setObjectiveCoefficient(column, cost);
    }
}

void LinearProgram::add_row(const std::vector<Term>& terms, bool at_least, double rhs)
{
    for (const Term& t : terms) {
        entries_.push_back({t.column, static_cast<int>(row_lower_.size()), t.coefficient});
    }
    row_lower_.push_back(at_least ? rhs : -COIN_DBL_MAX);
    row_upper_.push_back(at_least ? COIN_DBL_MAX : rhs);
}

std::vector<double> LinearProgram::solve()
{
    if (model_) {
        model_->primal(); // from the last optimum, still feasible under the new costs
        if (!model_->isProvenOptimal()) {
            return {};
        }
        const double* solution = model_->primalColumnSolution();
        return {solution, solution + cost_.size()};
    }
    // Clp takes the matrix column by column.
    std::vector<Entry> by_column = entries_;
    std::ranges::stable_sort(by_column, {}, &Entry::column);
    std::vector<CoinBigIndex> begin(cost_.size() + 1, 0);
    std::vector<int> row;
    std::vector<double> value;
    row.reserve(by_column.size());
    value.reserve(by_column.size());
    for (const Entry& e : by_column) {
        ++begin[static_cast<std::size_t>(e.column) + 1];
        row.push_back(e.row);
        value.push_back(e.value);
    }
    for (std::size_t c = 0; c < cost_.size(); ++c) {
        begin[c + 1] += begin[c];
    }
    const std::vector<double> upper(cost_.size(), COIN_DBL_MAX);
    model_ = std::make_unique<ClpSimplex>();
    model_->setLogLevel(0);
    model_->loadProblem(static_cast<int>(cost_.size()), static_cast<int>(row_lower_.size()),
                        begin.data(), row.data(), value.data(), lower_.data(), upper.data(),
                        cost_.data(), row_lower_.data(), row_upper_.data());
    std::ranges::copy(start_, model_->primalColumnSolution());
    model_->primal(1); // a values pass from the starting values first
    if (!model_->isProvenOptimal()) {
        return {};
    }
    const double* solution = model_->primalColumnSolution();
    return {solution, solution + cost_.size()};
}

} // namespace kinship::family
