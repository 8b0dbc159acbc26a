// A reader for JSON lines whose every line is one flat object: keys mapped to
// strings, numbers, true, false or null (a layer over core/json_reader that
// refuses nested objects and arrays and duplicate keys with the column of the
// fault).
#pragma once

#include <map>
#include <optional>
#include <string>

namespace celestra {

struct JsonScalar {
    enum class Kind { String, Number, Boolean, Null };
    Kind kind = Kind::Null;
    std::string text;  // the string's decoded UTF-8, or the number's literal text
    double number = 0.0;
    bool boolean = false;
};

using FlatObject = std::map<std::string, JsonScalar>;

// Parses one line. On failure returns nullopt and sets `error` to a message
// that names the 1-based column ("column 12: expected ':'").
std::optional<FlatObject> parseFlatObject(const std::string& line, std::string& error);

}  // namespace celestra
