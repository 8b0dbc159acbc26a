#include "catalogs/deep_sky.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "catalogs/catalog_tables.h"

namespace celestra {

namespace {

std::string compactLower(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (!std::isspace(c)) out += static_cast<char>(std::tolower(c));
    }
    return out;
}

// Whole decimal number without sign or other characters; -1 otherwise.
int wholeNumber(const std::string& digits) {
    if (digits.empty() || digits.size() > 6) return -1;
    int value = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string percentEncoded(const char* text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (std::isalnum(*p) || std::strchr("-._~", *p)) {
            out += static_cast<char>(*p);
        } else {
            out += '%';
            out += kHex[*p >> 4];
            out += kHex[*p & 15];
        }
    }
    return out;
}

}  // namespace

const StarEntry* messierByNumber(int n) {
    if (n < 1 || n > kMessierCount) return nullptr;
    return &kMessierTable[n - 1];
}

const StarEntry* caldwellByNumber(int n) {
    if (n < 1 || n > kCaldwellCount) return nullptr;
    return &kCaldwellTable[n - 1];
}

std::optional<CatalogueKind> catalogueKind(int k) {
    if (k < 0 || k >= kCatalogueObjectCount) return std::nullopt;
    if (k < kFirstMessierObject) return CatalogueKind::BrightStar;
    if (k < kFirstCaldwellObject) return CatalogueKind::Messier;
    return CatalogueKind::Caldwell;
}

const StarEntry* catalogueObject(int k) {
    const auto kind = catalogueKind(k);
    if (!kind) return nullptr;
    switch (*kind) {
        case CatalogueKind::BrightStar: return starByNumber(k + 1);
        case CatalogueKind::Messier: return messierByNumber(k - kFirstMessierObject + 1);
        case CatalogueKind::Caldwell: return caldwellByNumber(k - kFirstCaldwellObject + 1);
    }
    return nullptr;
}

std::string catalogueObjectLabel(int k) {
    const StarEntry* entry = catalogueObject(k);
    if (!entry) return {};
    return *catalogueKind(k) == CatalogueKind::BrightStar ? starChartLabel(*entry) : std::string(entry->name);
}

std::string catalogueObjectInfoText(int k) {
    const StarEntry* entry = catalogueObject(k);
    if (!entry) return {};
    std::string text = starInfoText(*entry);
    const CatalogueKind kind = *catalogueKind(k);
    if (kind == CatalogueKind::BrightStar) return text;
    // Same layout; the first line names the deep-sky catalogue instead.
    char first[64];
    std::snprintf(
        first, sizeof first, "%-30s%4d\r\n",
        kind == CatalogueKind::Messier ? "Messier Catalog:" : "Caldwell Catalog:", static_cast<int>(entry->number));
    return first + text.substr(text.find("\r\n") + 2);
}

std::string pictureQueryText(int k) {
    const StarEntry* entry = catalogueObject(k);
    if (!entry) return "catalog=unknown&index=0";
    const std::string name = percentEncoded(entry->name);
    char buffer[64];
    switch (*catalogueKind(k)) {
        case CatalogueKind::Messier:
            std::snprintf(buffer, sizeof buffer, "catalog=messier&index=%d&name=", static_cast<int>(entry->number));
            break;
        case CatalogueKind::Caldwell:
            std::snprintf(buffer, sizeof buffer, "catalog=caldwell&index=%d&name=", static_cast<int>(entry->number));
            break;
        case CatalogueKind::BrightStar:
            std::snprintf(buffer, sizeof buffer, "catalog=brightstar&index=%d&name=", 0);
            break;
    }
    return buffer + name;
}

std::optional<int> findCatalogueObject(const std::string& text) {
    const std::string key = compactLower(text);
    if (key.empty()) return std::nullopt;
    if (int k = wholeNumber(key); k >= 0) {
        if (k < kCatalogueObjectCount) return k;
        return std::nullopt;
    }
    auto numberAfter = [&key](const char* prefix) {
        const std::size_t n = std::strlen(prefix);
        return key.compare(0, n, prefix) == 0 ? wholeNumber(key.substr(n)) : -1;
    };
    if (int n = numberAfter("m"); n >= 1) {
        if (messierByNumber(n)) return kFirstMessierObject + n - 1;
        return std::nullopt;
    }
    if (int n = numberAfter("c"); n >= 1) {
        if (caldwellByNumber(n)) return kFirstCaldwellObject + n - 1;
        return std::nullopt;
    }
    for (const char* prefix : {"bs", "hr"}) {
        if (int n = numberAfter(prefix); n >= 1) {
            if (starByNumber(n)) return n - 1;
            return std::nullopt;
        }
    }
    if (const StarEntry* star = findStarByName(text)) return star->number - 1;
    if (const StarEntry* star = findStarByIdentity(text)) return star->number - 1;
    // A deep-sky designation at the start of the identity: "NGC 224" matches
    // "NGC 224 Andromeda Galaxy" but not "NGC 2244"; it ends in its number.
    if (!std::isdigit(static_cast<unsigned char>(key.back()))) return std::nullopt;
    for (int k = kFirstMessierObject; k < kCatalogueObjectCount; ++k) {
        const std::string identity = catalogueObject(k)->identity;
        const std::string compactIdentity = compactLower(identity);
        if (compactIdentity.compare(0, key.size(), key) != 0) continue;
        const std::size_t next = key.size();
        if (next == compactIdentity.size() || !std::isdigit(static_cast<unsigned char>(compactIdentity[next]))) {
            return k;
        }
    }
    return std::nullopt;
}

}  // namespace celestra
