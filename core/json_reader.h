// A small strict JSON reader (RFC 8259): objects, arrays, strings (\uXXXX
// escapes and surrogate pairs to UTF-8), numbers, true, false, null. It
// refuses anything malformed, nesting deeper than 32 and texts over 1 MiB
// instead of guessing, and says where: "column 12: expected ':'". Used for
// gpsd's one-line reports and the command line's JSON-lines input.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace celestra {

struct JsonMember;

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;                 // String: decoded UTF-8; Number: the literal as written
    std::vector<JsonValue> items;     // Array
    std::vector<JsonMember> members;  // Object, in order (duplicate names kept)
    std::size_t offset = 0;           // 0-based byte offset of the value's first character

    // Member of an object (the first of that name), or nullptr.
    const JsonValue* Find(std::string_view name) const;
    std::optional<double> Number(std::string_view name) const;
    std::optional<std::string> String(std::string_view name) const;
    std::optional<bool> Bool(std::string_view name) const;
};

struct JsonMember {
    std::string name;
    JsonValue value;
};

// The value of the whole text (surrounding white space allowed), or nullopt
// with `error` (when given) naming the 1-based column of the fault. Numbers
// outside the range of a double are refused.
std::optional<JsonValue> parseJson(std::string_view text, std::string* error = nullptr);

}  // namespace celestra
