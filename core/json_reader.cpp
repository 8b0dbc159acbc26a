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
    explicit Reader(std::string_view text) : text_(text) {}

    bool Document(JsonValue& out) {
        SkipSpace();
        if (!Value(out, 0)) return false;
        SkipSpace();
        if (pos_ != text_.size()) return Fail("unexpected text after the value");
        return true;
    }

    std::string error;

private:
    // Keeps the first fault (the innermost, where it was found).
    bool Fail(const char* message) {
        if (error.empty()) error = "column " + std::to_string(pos_ + 1) + ": " + message;
        return false;
    }

    void SkipSpace() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n'))
            ++pos_;
    }

    bool Consume(char c) {
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }

    bool Literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    bool Value(JsonValue& out, int depth) {
        if (depth > kMaxDepth) return Fail("nesting deeper than 32 levels");
        if (pos_ >= text_.size()) return Fail("expected a value");
        out.offset = pos_;
        const char c = text_[pos_];
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
        const size_t start = pos_;
        auto digits = [&] {
            const size_t from = pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
            return pos_ > from;
        };
        Consume('-');
        if (!Consume('0') && !digits()) return Fail("expected a value");
        if (Consume('.') && !digits()) return Fail("expected digits after '.'");
        if (Consume('e') || Consume('E')) {
            if (!Consume('+')) Consume('-');
            if (!digits()) return Fail("expected digits in the exponent");
        }
        double value = 0.0;
        const auto result = std::from_chars(text_.data() + start, text_.data() + pos_, value);
        if (result.ec != std::errc() || !std::isfinite(value)) {
            pos_ = start;
            return Fail("number out of range");
        }
        out.kind = JsonValue::Kind::Number;
        out.number = value;
        out.text = std::string(text_.substr(start, pos_ - start));
        return true;
    }

    bool Hex4(unsigned& code) {
        if (pos_ + 4 > text_.size()) return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const int d = hexDigit(text_[pos_++]);
            if (d < 0) return false;
            code = code * 16 + static_cast<unsigned>(d);
        }
        return true;
    }

    bool String(std::string& out) {
        if (!Consume('"')) return Fail("expected a string in double quotes");
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) break;
            const char e = text_[pos_++];
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
                default: --pos_; return Fail("bad escape");
            }
        }
        return Fail("unterminated string");
    }

    bool Array(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Array;
        ++pos_;
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
        ++pos_;
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

    std::string_view text_;
    size_t pos_ = 0;
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
