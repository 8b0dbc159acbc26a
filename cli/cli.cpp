#include "cli/cli.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/number_text.h"

namespace celestra::cli {

int exitCode(Status status) {
    switch (status) {
        case Status::Ok: return kExitOk;
        case Status::BadArgument: return 2;
        case Status::OutsideEphemeris: return 3;
        case Status::Missing:
        case Status::IoError:
        case Status::Damaged: return 4;
        case Status::Device: return 5;
        case Status::Failed: break;
    }
    return 1;
}

void fail(Status status, const std::string& message) { throw CliError{status, message}; }
void usageError(const std::string& message) { throw CliError{Status::BadArgument, message}; }

namespace {
std::map<std::string, Command>& registry() {
    static std::map<std::string, Command> r;
    return r;
}
bool contains(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}
}  // namespace

bool registerCommand(Command command) {
    registry()[command.name] = std::move(command);
    return true;
}

const std::map<std::string, Command>& commands() { return registry(); }

std::optional<double> parseNumber(const std::string& text) { return parseDecimal(text); }

Args::Args(std::vector<std::string> words, const std::vector<std::string>& valueOptions,
           const std::vector<std::string>& flagOptions) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() > 2 && w.rfind("--", 0) == 0) {
            std::string name = w.substr(2);
            std::optional<std::string> inlineValue;
            if (auto eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
            if (contains(valueOptions, name)) {
                if (inlineValue) {
                    values_[name] = *inlineValue;
                } else {
                    if (i + 1 >= words.size()) usageError("option --" + name + " needs a value");
                    values_[name] = words[++i];
                }
            } else if (contains(flagOptions, name) && !inlineValue) {
                flags_[name] = true;
            } else {
                usageError("unknown option --" + name);
            }
        } else {
            positional_.push_back(w);
        }
    }
}

bool Args::flag(const std::string& name) const { return flags_.count(name) != 0; }
bool Args::has(const std::string& name) const { return values_.count(name) != 0; }

std::optional<std::string> Args::value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::string Args::require(const std::string& name) const {
    auto v = value(name);
    if (!v) usageError("option --" + name + " is required");
    return *v;
}

std::optional<double> Args::number(const std::string& name) const {
    auto v = value(name);
    if (!v) return std::nullopt;
    auto n = parseNumber(*v);
    if (!n) usageError("option --" + name + " needs a number, not \"" + *v + "\"");
    return n;
}

double Args::number(const std::string& name, double fallback) const {
    auto n = number(name);
    return n ? *n : fallback;
}

double Args::number(const std::string& name, double fallback, double low, double high) const {
    const double v = number(name, fallback);
    if (!(v >= low && v <= high)) {
        char text[128];
        std::snprintf(text, sizeof text, "--%s must lie between %g and %g", name.c_str(), low, high);
        usageError(text);
    }
    return v;
}

std::optional<long> Args::integer(const std::string& name) const {
    auto n = number(name);
    if (!n) return std::nullopt;
    if (*n != std::floor(*n) || std::fabs(*n) > 2e9) usageError("option --" + name + " needs a whole number");
    return static_cast<long>(*n);
}

std::string jsonEscape(const std::string& s) {
    std::string out;
    out.reserve(s.size() + 2);
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

void Json::separator() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) out_ += ',';
        first_.back() = false;
    }
}

Json& Json::beginObject() {
    separator();
    out_ += '{';
    first_.push_back(true);
    return *this;
}
Json& Json::endObject() {
    out_ += '}';
    first_.pop_back();
    return *this;
}
Json& Json::beginArray() {
    separator();
    out_ += '[';
    first_.push_back(true);
    return *this;
}
Json& Json::endArray() {
    out_ += ']';
    first_.pop_back();
    return *this;
}
Json& Json::key(const std::string& k) {
    separator();
    out_ += '"' + jsonEscape(k) + "\":";
    afterKey_ = true;
    return *this;
}
Json& Json::value(const std::string& v) {
    separator();
    out_ += '"' + jsonEscape(v) + '"';
    return *this;
}
Json& Json::value(const char* v) { return value(std::string(v)); }
Json& Json::value(double v) {
    separator();
    if (!std::isfinite(v)) {
        out_ += "null";
    } else {
        // Shortest text that reads back to the same double ("90", "0.1", "1e+22").
        char buf[64];
        const auto result = std::to_chars(buf, buf + sizeof buf - 1, v);
        *result.ptr = '\0';
        out_ += buf;
    }
    return *this;
}
Json& Json::value(int v) { return value(static_cast<long long>(v)); }
Json& Json::value(long v) { return value(static_cast<long long>(v)); }
Json& Json::value(long long v) {
    separator();
    out_ += std::to_string(v);
    return *this;
}
Json& Json::value(bool v) {
    separator();
    out_ += v ? "true" : "false";
    return *this;
}
Json& Json::null() {
    separator();
    out_ += "null";
    return *this;
}

}  // namespace celestra::cli
