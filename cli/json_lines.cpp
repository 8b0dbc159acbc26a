#include "cli/json_lines.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace celestra::cli {
namespace {

class Parser {
public:
    explicit Parser(const std::string& s) : s_(s) {}

    std::optional<FlatObject> object() {
        FlatObject out;
        skipSpace();
        if (!consume('{')) return failed("expected '{'");
        skipSpace();
        if (consume('}')) return finish(out);
        for (;;) {
            skipSpace();
            std::string key;
            if (!string(key)) return std::nullopt;
            skipSpace();
            if (!consume(':')) return failed("expected ':'");
            skipSpace();
            JsonScalar value;
            if (!scalar(value)) return std::nullopt;
            if (!out.emplace(key, value).second) return failed("duplicate key \"" + key + "\"");
            skipSpace();
            if (consume(',')) continue;
            if (consume('}')) return finish(out);
            return failed("expected ',' or '}'");
        }
    }

    std::string error;

private:
    std::optional<FlatObject> finish(FlatObject& out) {
        skipSpace();
        if (pos_ != s_.size()) return failed("unexpected text after the object");
        return std::move(out);
    }

    std::nullopt_t failed(const std::string& message) {
        if (error.empty()) error = "column " + std::to_string(pos_ + 1) + ": " + message;
        return std::nullopt;
    }

    void skipSpace() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r' || s_[pos_] == '\n')) ++pos_;
    }
    bool consume(char c) {
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool literal(const char* word) {
        const std::string w = word;
        if (s_.compare(pos_, w.size(), w) != 0) return false;
        pos_ += w.size();
        return true;
    }

    static void appendUtf8(unsigned code, std::string& out) {
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

    bool hex4(unsigned& code) {
        if (pos_ + 4 > s_.size()) return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = s_[pos_++];
            code <<= 4;
            if (c >= '0' && c <= '9') code |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f') code |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') code |= static_cast<unsigned>(c - 'A' + 10);
            else return false;
        }
        return true;
    }

    bool string(std::string& out) {
        if (!consume('"')) return failed("expected a string in double quotes"), false;
        while (pos_ < s_.size()) {
            const char c = s_[pos_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return failed("control character in a string"), false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size()) break;
            const char e = s_[pos_++];
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
                    if (!hex4(code)) return failed("bad \\u escape"), false;
                    if (code >= 0xD800 && code < 0xDC00) {  // a surrogate pair
                        unsigned low = 0;
                        if (!literal("\\u") || !hex4(low) || low < 0xDC00 || low >= 0xE000)
                            return failed("unpaired surrogate in \\u escape"), false;
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    } else if (code >= 0xDC00 && code < 0xE000) {
                        return failed("unpaired surrogate in \\u escape"), false;
                    }
                    appendUtf8(code, out);
                    break;
                }
                default: return failed(std::string("bad escape \\") + e), false;
            }
        }
        return failed("unterminated string"), false;
    }

    // JSON's number grammar: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    bool numberLiteral(JsonScalar& value) {
        const size_t start = pos_;
        const auto digits = [&] {
            const size_t from = pos_;
            while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
            return pos_ > from;
        };
        consume('-');
        if (consume('0')) {
        } else if (!digits()) {
            return failed("expected a value"), false;
        }
        if (consume('.') && !digits()) return failed("expected digits after '.'"), false;
        if (consume('e') || consume('E')) {
            if (!consume('+')) consume('-');
            if (!digits()) return failed("expected digits in the exponent"), false;
        }
        value.kind = JsonScalar::Kind::Number;
        value.text = s_.substr(start, pos_ - start);
        errno = 0;
        value.number = std::strtod(value.text.c_str(), nullptr);
        if (errno == ERANGE || !std::isfinite(value.number)) {
            pos_ = start;
            return failed("number out of range"), false;
        }
        return true;
    }

    bool scalar(JsonScalar& value) {
        if (pos_ >= s_.size()) return failed("expected a value"), false;
        const char c = s_[pos_];
        if (c == '"') {
            value.kind = JsonScalar::Kind::String;
            return string(value.text);
        }
        if (c == '{' || c == '[') return failed("nested objects and arrays are not accepted"), false;
        for (const bool b : {true, false}) {
            if (literal(b ? "true" : "false")) {
                value.kind = JsonScalar::Kind::Boolean;
                value.boolean = b;
                value.text = b ? "true" : "false";
                return true;
            }
        }
        if (literal("null")) {
            value.kind = JsonScalar::Kind::Null;
            return true;
        }
        return numberLiteral(value);
    }

    const std::string& s_;
    size_t pos_ = 0;
};

}  // namespace

std::optional<FlatObject> parseFlatObject(const std::string& line, std::string& error) {
    Parser parser(line);
    std::optional<FlatObject> out = parser.object();
    error = parser.error;
    return out;
}

}  // namespace celestra::cli
