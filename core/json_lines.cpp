#include "core/json_lines.h"

#include "core/json_reader.h"

namespace celestra {
namespace {

std::string atColumn(std::size_t offset, const std::string& message) {
    return "column " + std::to_string(offset + 1) + ": " + message;
}

}  // namespace

std::optional<FlatObject> parseFlatObject(const std::string& line, std::string& error) {
    std::optional<JsonValue> value = parseJson(line, &error);
    const std::size_t start = line.find_first_not_of(" \t\r\n");
    if (start == std::string::npos || line[start] != '{') {
        error = atColumn(start == std::string::npos ? line.size() : start, "expected '{'");
        return std::nullopt;
    }
    if (!value) {
        if (const std::size_t at = error.find("after the value"); at != std::string::npos)
            error.replace(at, 15, "after the object");
        return std::nullopt;
    }
    FlatObject out;
    for (const JsonMember& member : value->members) {
        const JsonValue& v = member.value;
        JsonScalar scalar;
        switch (v.kind) {
            case JsonValue::Kind::Null: scalar.kind = JsonScalar::Kind::Null; break;
            case JsonValue::Kind::Bool: scalar.kind = JsonScalar::Kind::Boolean; break;
            case JsonValue::Kind::Number: scalar.kind = JsonScalar::Kind::Number; break;
            case JsonValue::Kind::String: scalar.kind = JsonScalar::Kind::String; break;
            case JsonValue::Kind::Array:
            case JsonValue::Kind::Object:
                error = atColumn(v.offset, "nested objects and arrays are not accepted");
                return std::nullopt;
        }
        scalar.text = v.text;
        scalar.number = v.number;
        scalar.boolean = v.boolean;
        if (!out.emplace(member.name, std::move(scalar)).second) {
            error = atColumn(v.offset, "duplicate key \"" + member.name + "\"");
            return std::nullopt;
        }
    }
    error.clear();
    return out;
}

}  // namespace celestra
