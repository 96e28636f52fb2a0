// The scanf-like item reader: see text_scanner.h for the rules it follows.

#include "pedigree/text_scanner.h"

#include "common/text.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace pedigree {

namespace {

using kinship::text::is_digit;
using kinship::text::is_space;

template <typename T> T* target_as(const ScanTarget& target)
{
    T* const* p = std::get_if<T*>(&target);
    if (p == nullptr || *p == nullptr) {
        throw std::invalid_argument("scan target does not match its conversion");
    }
    return *p;
}

} // namespace

void TextScanner::skip_whitespace()
{
    while (pos_ < text_.size() && is_space(text_[pos_])) {
        ++pos_;
    }
}

bool TextScanner::at_end()
{
    skip_whitespace();
    return pos_ == text_.size();
}

std::size_t TextScanner::line_of(std::size_t position) const
{
    const std::string_view before = text_.substr(0, position);
    return 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

std::size_t TextScanner::last_line() const
{
    std::size_t end = text_.size();
    while (end > 0 && is_space(text_[end - 1])) {
        --end;
    }
    return line_of(end == 0 ? 0 : end - 1);
}

// The run of non-whitespace starting at `start`: what a reader of the file would call the
// item that stood there.
std::string_view TextScanner::token_at(std::size_t start) const
{
    std::size_t end = start;
    while (end < text_.size() && !is_space(text_[end])) {
        ++end;
    }
    return text_.substr(start, end - start);
}

std::optional<ScanProblem> TextScanner::read_int(int& value, std::string_view& found)
{
    const std::size_t start = pos_;
    if (start == text_.size()) {
        return ScanProblem::end_of_input;
    }
    const bool negative = text_[pos_] == '-';
    if (text_[pos_] == '-' || text_[pos_] == '+') {
        ++pos_;
    }
    const std::size_t digits = pos_;
    // The magnitude is accumulated only up to just past the int range, so any number of
    // digits is read without overflow.
    const long long limit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long magnitude = 0;
    while (pos_ < text_.size() && is_digit(text_[pos_])) {
        if (magnitude <= limit) {
            magnitude = magnitude * 10 + (text_[pos_] - '0');
        }
        ++pos_;
    }
    if (pos_ == digits || (pos_ < text_.size() && !is_space(text_[pos_]))) {
        found = token_at(start);
        return ScanProblem::not_an_integer;
    }
    const long long signed_value = negative ? -magnitude : magnitude;
    if (signed_value < std::numeric_limits<int>::min() ||
        signed_value > std::numeric_limits<int>::max()) {
        found = text_.substr(start, pos_ - start);
        return ScanProblem::out_of_range;
    }
    value = static_cast<int>(signed_value);
    return std::nullopt;
}

std::optional<ScanProblem> TextScanner::read_char(char& value, std::string_view& found)
{
    if (pos_ == text_.size()) {
        return ScanProblem::end_of_input;
    }
    const std::size_t start = pos_;
    value = text_[pos_++];
    if (pos_ < text_.size() && !is_space(text_[pos_])) {
        found = token_at(start);
        pos_ = start + found.size();
        return ScanProblem::not_one_character;
    }
    return std::nullopt;
}

std::optional<ScanProblem> TextScanner::read_word(Word& word)
{
    if (pos_ == text_.size()) {
        return ScanProblem::end_of_input;
    }
    const std::string_view run = token_at(pos_);
    pos_ += run.size();
    word.text = run;
    if (run.size() > word.max_length) {
        return ScanProblem::word_too_long;
    }
    if (run.find('\0') != std::string_view::npos) {
        return ScanProblem::nul_in_word;
    }
    return std::nullopt;
}

std::optional<ScanFailure> TextScanner::scan_list(std::string_view pattern,
                                                  std::span<const ScanTarget> targets)
{
    std::size_t item = 0;
    for (std::size_t p = 0; p < pattern.size(); ++p) {
        if (is_space(pattern[p])) {
            skip_whitespace();
            continue;
        }
        if (pattern[p] != '%' || p + 1 == pattern.size() || item == targets.size()) {
            throw std::invalid_argument("unsupported scan pattern");
        }
        const char conversion = pattern[++p];
        const ScanTarget& target = targets[item];
        std::optional<ScanProblem> problem;
        std::string_view found;
        if (conversion != 'c') {
            skip_whitespace(); // so that a failure points at the item, not the blanks before it
        }
        const std::size_t start = pos_;
        switch (conversion) {
        case 'd':
            problem = read_int(*target_as<int>(target), found);
            break;
        case 'c':
            problem = read_char(*target_as<char>(target), found);
            break;
        case 's': {
            Word& word = *target_as<Word>(target);
            problem = read_word(word);
            found = word.text;
            break;
        }
        default:
            throw std::invalid_argument("unsupported scan conversion");
        }
        if (problem) {
            if (*problem == ScanProblem::end_of_input) {
                found = {};
            }
            return ScanFailure{item, *problem, found, start};
        }
        ++item;
    }
    if (item != targets.size()) {
        throw std::invalid_argument("more scan targets than conversions");
    }
    return std::nullopt;
}

} // namespace pedigree
