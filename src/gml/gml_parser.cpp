#include "gml/gml_parser.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <utility>

#include "common/gml_text.h"
#include "common/text.h"

namespace kinship::gml {
namespace {

using text::is_digit;
using text::is_letter;
using text::is_space;

class Parser {
public:
    Parser(std::string_view text, std::string_view file) : text_(text), file_(file) {}

    Result<GmlDocument> run();

private:
    // Skips white space and comment lines; returns false at the end of the text.
    bool skip_blanks();
    // The item starting at the cursor, up to the next blank or bracket, for messages.
    std::string found_here() const;
    Failure error_at(std::size_t line, const std::string& what) const
    {
        return failure_of({file_, line, what});
    }
    Failure error_here(const std::string& what) const { return error_at(line_, what); }

    bool is_delimiter_at(std::size_t at) const;
    std::size_t digits_from(std::size_t at) const;
    // Whether the item at the cursor is inf, infinity or nan (any case, signed or not).
    bool at_non_finite_word() const;

    std::string_view read_key();
    Status read_number(GmlValue& value);
    Status read_string(GmlValue& value);

    std::string_view text_;
    std::string_view file_;
    GmlDocument document_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    bool at_line_start_ = true;
};

bool Parser::skip_blanks()
{
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == '\n') {
            ++line_;
            at_line_start_ = true;
            ++pos_;
        } else if (is_space(c)) {
            ++pos_;
        } else if (c == '#' && at_line_start_) {
            while (pos_ < text_.size() && text_[pos_] != '\n') {
                ++pos_;
            }
        } else {
            return true;
        }
    }
    return false;
}

std::string Parser::found_here() const
{
    constexpr std::size_t max_shown = 24;
    std::size_t end = pos_ + 1;
    while (end < text_.size() && end - pos_ < max_shown && !is_space(text_[end]) &&
           text_[end] != '[' && text_[end] != ']') {
        ++end;
    }
    return quoted(text_.substr(pos_, end - pos_));
}

std::string_view Parser::read_key()
{
    const std::size_t start = pos_;
    ++pos_;
    while (pos_ < text_.size() &&
           (is_letter(text_[pos_]) || is_digit(text_[pos_]) || text_[pos_] == '_')) {
        ++pos_;
    }
    return text_.substr(start, pos_ - start);
}

bool Parser::is_delimiter_at(std::size_t at) const
{
    return at == text_.size() || is_space(text_[at]) || text_[at] == '[' || text_[at] == ']';
}

std::size_t Parser::digits_from(std::size_t at) const
{
    while (at < text_.size() && is_digit(text_[at])) {
        ++at;
    }
    return at;
}

bool Parser::at_non_finite_word() const
{
    std::size_t at = pos_ + (text_[pos_] == '-' || text_[pos_] == '+' ? 1 : 0);
    char word[9];
    std::size_t length = 0;
    for (; at < text_.size() && !is_delimiter_at(at) && length < sizeof word; ++at) {
        word[length++] = static_cast<char>(text_[at] | 0x20); // ASCII lower case
    }
    const std::string_view lower(word, length);
    return is_delimiter_at(at) && (lower == "inf" || lower == "infinity" || lower == "nan");
}

// sign? digits ("." digits?)? ([eE] sign? digits)?, an integer when it has neither a
// point nor an exponent.
Status Parser::read_number(GmlValue& value)
{
    const std::size_t sign = text_[pos_] == '-' || text_[pos_] == '+' ? 1 : 0;
    const std::size_t start = pos_ + sign;
    std::size_t end = digits_from(start);
    bool well_formed = end > start;
    bool is_real = false;
    if (well_formed && end < text_.size() && text_[end] == '.') {
        is_real = true;
        end = digits_from(end + 1);
    }
    if (well_formed && end < text_.size() && (text_[end] == 'e' || text_[end] == 'E')) {
        is_real = true;
        const std::size_t exponent = end + 1 + (end + 1 < text_.size() &&
                                                (text_[end + 1] == '-' || text_[end + 1] == '+'));
        end = digits_from(exponent);
        well_formed = end > exponent;
    }
    if (!well_formed || !is_delimiter_at(end)) {
        return error_here("malformed number " + found_here());
    }

    // Integers of up to 18 digits, the usual ids and flags, cannot overflow: summed here.
    constexpr std::size_t safe_digits = 18;
    if (!is_real && end - start <= safe_digits) {
        std::int64_t integer = 0;
        for (std::size_t at = start; at < end; ++at) {
            integer = integer * 10 + (text_[at] - '0');
        }
        value = GmlValue::of_integer(text_[pos_] == '-' ? -integer : integer);
        pos_ = end;
        return done;
    }
    // from_chars takes a minus sign but no plus sign.
    const char* first = text_.data() + (text_[pos_] == '-' ? pos_ : start);
    const char* last = text_.data() + end;
    std::from_chars_result result;
    if (is_real) {
        double real = 0.0;
        result = std::from_chars(first, last, real);
        if (std::abs(real) > largest_real) {
            result.ec = std::errc::result_out_of_range;
        }
        value = GmlValue::of_real(real);
    } else {
        std::int64_t integer = 0;
        result = std::from_chars(first, last, integer);
        value = GmlValue::of_integer(integer);
    }
    if (result.ec != std::errc() || result.ptr != last) {
        return error_here("number out of range " + found_here());
    }
    pos_ = end;
    return done;
}

Status Parser::read_string(GmlValue& value)
{
    const std::size_t opening_line = line_;
    const std::size_t start = ++pos_; // after the opening quote
    // A string that no escape changes is a view of the text; the others are copied out.
    std::string changed;
    bool is_changed = false;
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == '"') {
            value = GmlValue::of_string(is_changed ? document_.keep_string(std::move(changed))
                                                   : text_.substr(start, pos_ - start));
            ++pos_;
            return done;
        }
        if (c == '\n') {
            ++line_;
        }
        // \" and \\ stand for the character, a backslash before LF or CRLF for nothing.
        std::size_t escape_length = 0;
        std::string_view replacement;
        if (c == '\\' && pos_ + 1 < text_.size()) {
            const char next = text_[pos_ + 1];
            if (next == '"' || next == '\\') {
                escape_length = 2;
                replacement = text_.substr(pos_ + 1, 1);
            } else if (next == '\n') {
                escape_length = 2;
            } else if (next == '\r' && pos_ + 2 < text_.size() && text_[pos_ + 2] == '\n') {
                escape_length = 3;
            }
        }
        if (escape_length == 0) {
            if (is_changed) {
                changed.push_back(c);
            }
            ++pos_;
            continue;
        }
        if (!is_changed) {
            changed.assign(text_.substr(start, pos_ - start));
            is_changed = true;
        }
        changed.append(replacement);
        if (replacement.empty()) {
            ++line_; // the escaped line break
        }
        pos_ += escape_length;
    }
    return error_at(opening_line, "string opened on this line is not closed");
}

Result<GmlDocument> Parser::run()
{
    // The pairs of all open lists wait on one stack, outermost first; each open list
    // records where its pairs start and the line it was opened on. A list is moved into
    // the document when it closes, so its pairs end up side by side.
    std::vector<GmlPair> pending;
    struct OpenList {
        std::size_t first;
        std::size_t line;
    };
    std::vector<OpenList> open{{0, 0}};
    const auto close_innermost = [this, &pending, &open] {
        const std::size_t first = open.back().first;
        const GmlList list = document_.keep_list(std::span(pending).subspan(first));
        pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(first), pending.end());
        open.pop_back();
        return list;
    };
    const auto fail = [](Failure failure) { return Result<GmlDocument>(std::move(failure)); };

    while (true) {
        // Expecting a key, a closing bracket or the end of the text.
        if (!skip_blanks()) {
            if (open.size() > 1) {
                return fail(error_at(open.back().line,
                                            "list opened on this line is not closed"));
            }
            document_.set_pairs(close_innermost());
            return std::move(document_);
        }
        at_line_start_ = false;
        const char c = text_[pos_];
        if (c == ']') {
            if (open.size() == 1) {
                return fail(error_here("\"]\" without an open list"));
            }
            const GmlList list = close_innermost();
            pending.back().value = GmlValue::of_list(list); // the pair that opened it
            ++pos_;
            continue;
        }
        if (!is_letter(c)) {
            return fail(error_here("expected a key, found " + found_here()));
        }
        const std::size_t key_line = line_;
        const std::string_view key = read_key();
        const auto named = [&key] { return "key " + quoted(key); };

        // Expecting the key's value.
        if (!skip_blanks()) {
            return fail(error_here(named() + " has no value, found the end of the text"));
        }
        at_line_start_ = false;
        // The value is read straight into its place on the stack.
        GmlValue& value = pending.emplace_back(key, GmlValue::of_integer(0), key_line).value;
        const char v = text_[pos_];
        if (v == '[') {
            if (open.size() > max_list_depth) {
                return fail(error_here("lists nested deeper than " +
                                       std::to_string(max_list_depth) + " levels"));
            }
            ++pos_;
            value = GmlValue::of_list({});
            open.push_back({pending.size(), line_});
        } else if (v == '"') {
            if (Status read = read_string(value); !read) {
                return fail(read.failure());
            }
        } else if (!is_digit(v) && at_non_finite_word()) {
            return fail(error_here(named() + " has the value " + found_here() +
                                   ", which is not a finite number"));
        } else if (v == '-' || v == '+' || is_digit(v)) {
            if (Status read = read_number(value); !read) {
                return fail(read.failure());
            }
        } else {
            return fail(error_here(named() + " has no value, found " + found_here()));
        }
    }
}

} // namespace

Result<GmlDocument> parse_gml(std::string_view text, std::string_view file)
{
    if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
        return failure_of({file, 0, "the text is 4 GiB or larger, more than a GML text may be"});
    }
    return Parser(kinship::text::without_byte_order_mark(text), file).run();
}

} // namespace kinship::gml
