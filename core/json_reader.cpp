#include "core/json_reader.h"

#include <charconv>
#include <cmath>

namespace celestra {

namespace {

constexpr int kMaxDepth = 32;
constexpr size_t kMaxText = 1 << 20;

void appendUtf8(unsigned code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    bool Document(JsonValue& out) {
        SkipSpace();
        if (!Value(out, 0)) return false;
        SkipSpace();
        if (m_pos != m_text.size()) return Fail("unexpected text after the value");
        return true;
    }

    std::string error;

private:
    // Keeps the first fault (the innermost, where it was found).
    bool Fail(const char* message) {
        if (error.empty()) error = "column " + std::to_string(m_pos + 1) + ": " + message;
        return false;
    }

    void SkipSpace() {
        while (m_pos < m_text.size() &&
               (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\r' || m_text[m_pos] == '\n'))
            ++m_pos;
    }

    bool Consume(char c) {
        if (m_pos >= m_text.size() || m_text[m_pos] != c) return false;
        ++m_pos;
        return true;
    }

    bool Literal(std::string_view word) {
        if (m_text.substr(m_pos, word.size()) != word) return false;
        m_pos += word.size();
        return true;
    }

    bool Value(JsonValue& out, int depth) {
        if (depth > kMaxDepth) return Fail("nesting deeper than 32 levels");
        if (m_pos >= m_text.size()) return Fail("expected a value");
        out.offset = m_pos;
        const char c = m_text[m_pos];
        if (c == '{') return Object(out, depth);
        if (c == '[') return Array(out, depth);
        if (c == '"') {
            out.kind = JsonValue::Kind::String;
            return String(out.text);
        }
        if (Literal("true") || Literal("false")) {
            out.kind = JsonValue::Kind::Bool;
            out.boolean = c == 't';
            out.text = out.boolean ? "true" : "false";
            return true;
        }
        if (Literal("null")) return true;
        return Number(out);
    }

    // JSON's grammar: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    bool Number(JsonValue& out) {
        const size_t start = m_pos;
        auto digits = [&] {
            const size_t from = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') ++m_pos;
            return m_pos > from;
        };
        Consume('-');
        if (!Consume('0') && !digits()) return Fail("expected a value");
        if (Consume('.') && !digits()) return Fail("expected digits after '.'");
        if (Consume('e') || Consume('E')) {
            if (!Consume('+')) Consume('-');
            if (!digits()) return Fail("expected digits in the exponent");
        }
        double value = 0.0;
        const auto result = std::from_chars(m_text.data() + start, m_text.data() + m_pos, value);
        if (result.ec != std::errc() || !std::isfinite(value)) {
            m_pos = start;
            return Fail("number out of range");
        }
        out.kind = JsonValue::Kind::Number;
        out.number = value;
        out.text = std::string(m_text.substr(start, m_pos - start));
        return true;
    }

    bool Hex4(unsigned& code) {
        if (m_pos + 4 > m_text.size()) return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const int d = hexDigit(m_text[m_pos++]);
            if (d < 0) return false;
            code = code * 16 + static_cast<unsigned>(d);
        }
        return true;
    }

    bool String(std::string& out) {
        if (!Consume('"')) return Fail("expected a string in double quotes");
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size()) break;
            const char e = m_text[m_pos++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    unsigned code = 0;
                    if (!Hex4(code)) return Fail("bad \\u escape");
                    if (code >= 0xD800 && code < 0xDC00) {  // a surrogate pair
                        unsigned low = 0;
                        if (!Literal("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF)
                            return Fail("unpaired surrogate in \\u escape");
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    } else if (code >= 0xDC00 && code <= 0xDFFF) {
                        return Fail("unpaired surrogate in \\u escape");
                    }
                    appendUtf8(code, out);
                    break;
                }
                default: --m_pos; return Fail("bad escape");
            }
        }
        return Fail("unterminated string");
    }

    bool Array(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Array;
        ++m_pos;
        SkipSpace();
        if (Consume(']')) return true;
        while (true) {
            SkipSpace();
            JsonValue item;
            if (!Value(item, depth + 1)) return false;
            out.items.push_back(std::move(item));
            SkipSpace();
            if (Consume(']')) return true;
            if (!Consume(',')) return Fail("expected ',' or ']'");
        }
    }

    bool Object(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Object;
        ++m_pos;
        SkipSpace();
        if (Consume('}')) return true;
        while (true) {
            SkipSpace();
            std::string name;
            if (!String(name)) return false;
            SkipSpace();
            if (!Consume(':')) return Fail("expected ':'");
            SkipSpace();
            JsonValue value;
            if (!Value(value, depth + 1)) return false;
            out.members.push_back(JsonMember{std::move(name), std::move(value)});
            SkipSpace();
            if (Consume('}')) return true;
            if (!Consume(',')) return Fail("expected ',' or '}'");
        }
    }

    std::string_view m_text;
    size_t m_pos = 0;
};

}  // namespace

const JsonValue* JsonValue::Find(std::string_view name) const {
    if (kind != Kind::Object) return nullptr;
    for (const auto& member : members)
        if (member.name == name) return &member.value;
    return nullptr;
}

std::optional<double> JsonValue::Number(std::string_view name) const {
    const JsonValue* v = Find(name);
    if (!v || v->kind != Kind::Number) return std::nullopt;
    return v->number;
}

std::optional<std::string> JsonValue::String(std::string_view name) const {
    const JsonValue* v = Find(name);
    if (!v || v->kind != Kind::String) return std::nullopt;
    return v->text;
}

std::optional<bool> JsonValue::Bool(std::string_view name) const {
    const JsonValue* v = Find(name);
    if (!v || v->kind != Kind::Bool) return std::nullopt;
    return v->boolean;
}

std::optional<JsonValue> parseJson(std::string_view text, std::string* error) {
    if (error) error->clear();
    if (text.size() > kMaxText) {
        if (error) *error = "text longer than 1 MiB";
        return std::nullopt;
    }
    JsonValue value;
    Reader reader(text);
    if (!reader.Document(value)) {
        if (error) *error = reader.error;
        return std::nullopt;
    }
    return value;
}

}  // namespace celestra
