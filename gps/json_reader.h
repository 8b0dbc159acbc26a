// A small JSON reader for the one-line reports of gpsd: objects, arrays,
// strings (\uXXXX escapes to UTF-8), numbers, true, false, null. Refuses
// anything malformed, nesting deeper than 32 and texts over 1 MiB instead of
// guessing.
#pragma once

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
    std::string text;
    std::vector<JsonValue> items;                             // Array
    std::vector<JsonMember> members;                          // Object, in order

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

// The value of the whole text (surrounding white space allowed), or nullopt.
std::optional<JsonValue> parseJson(std::string_view text);

}  // namespace celestra
