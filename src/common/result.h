#pragma once

// The one way a step of this project reports that it failed: it returns a Failure as a
// value, and only a program's main prints it and ends the process.

#include "common/failure.h"

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace kinship {

// Either the value a step produced or the Failure that stopped it.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }

    const Failure& failure() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};

// A step that produces nothing but may fail.
struct Done {};
inline constexpr Done done{};
using Status = Result<Done>;

// The failure's message, or an empty text when the step succeeded.
template <typename T>
std::string message_of(const Result<T>& result)
{
    return result ? std::string() : result.failure().message;
}

} // namespace kinship
