#include "sky/sky_search.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

#include "catalogs/constellations.h"
#include "catalogs/deep_sky.h"
#include "catalogs/places.h"
#include "catalogs/star_catalog.h"

namespace celestra {
namespace {

constexpr const char* kBodyNames[11] = {"Mercury", "Venus",   "Earth", "Mars", "Jupiter", "Saturn",
                                        "Uranus",  "Neptune", "Pluto", "Sun",  "Moon"};

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::string withoutBlanks(const std::string& s) {
    std::string out;
    for (char c : s)
        if (!std::isspace(static_cast<unsigned char>(c))) out += c;
    return out;
}

// "messier31" / "caldwell14" / "m 31": the number after a prefix, else -1.
int numberAfter(const std::string& folded, const std::string& prefix) {
    if (folded.size() <= prefix.size() || folded.compare(0, prefix.size(), prefix) != 0) return -1;
    const std::string digits = folded.substr(prefix.size());
    if (digits.size() > 4 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::atoi(digits.c_str());
}

// The deep-sky record's names: its identity after the leading designation
// ("NGC 224 Andromeda Galaxy" -> "Andromeda Galaxy"), or "" when only the
// designation is there.
std::string deepSkyCommonName(const StarEntry& e) {
    const std::string identity = e.identity ? e.identity : "";
    size_t at = identity.find(' ');
    if (at == std::string::npos) return "";
    at = identity.find(' ', at + 1);  // past the designation's number
    if (at == std::string::npos) return "";
    return trim(identity.substr(at + 1));
}

SkySearchHit objectHit(int k) {
    SkySearchHit hit;
    hit.kind = SkySearchHit::Kind::Object;
    hit.id = k;
    hit.label = catalogueObjectLabel(k);
    return hit;
}

}  // namespace

const char* bodyName(int body) { return body >= 1 && body <= 11 ? kBodyNames[body - 1] : ""; }

std::optional<SkySearchHit> findSkyObject(const std::string& text) {
    const std::string t = trim(text);
    if (t.empty()) return std::nullopt;
    const std::string folded = withoutBlanks(foldForSearch(t));

    for (int b = 1; b <= 11; ++b) {
        if (folded == foldForSearch(kBodyNames[b - 1]))
            return SkySearchHit{SkySearchHit::Kind::Body, b, kBodyNames[b - 1]};
    }
    if (int n = numberAfter(folded, "messier"); n >= 1 && n <= kMessierCount)
        return objectHit(kFirstMessierObject + n - 1);
    if (int n = numberAfter(folded, "caldwell"); n >= 1 && n <= kCaldwellCount)
        return objectHit(kFirstCaldwellObject + n - 1);

    const ConstellationLabel* labels = constellationLabels();
    for (int i = 0; i < kConstellationLabelCount; ++i) {
        if (labels[i].anchorStar < 1 || labels[i].anchorStar > kBrightStarCount) continue;
        if (folded == withoutBlanks(foldForSearch(labels[i].name))) {
            SkySearchHit hit = objectHit(labels[i].anchorStar - 1);
            hit.label = std::string(labels[i].name) + ": " + hit.label;
            return hit;
        }
    }
    // A plain number is a Bright Star number, as the field's hint says; the
    // catalogue tables' combined numbers (where 1708 is BS 1709) stay inside.
    if (std::all_of(folded.begin(), folded.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const auto k = findCatalogueObject("BS" + folded);
        return k ? std::optional(objectHit(*k)) : std::nullopt;
    }
    if (auto k = findCatalogueObject(t)) return objectHit(*k);

    // A deep-sky object by the common name in its record.
    for (int k = kFirstMessierObject; k < kCatalogueObjectCount; ++k) {
        const StarEntry* e = catalogueObject(k);
        if (!e) continue;
        const std::string name = deepSkyCommonName(*e);
        if (!name.empty() && withoutBlanks(foldForSearch(name)) == folded) return objectHit(k);
    }
    return std::nullopt;
}

const std::vector<std::string>& skySearchCandidates() {
    static const std::vector<std::string> list = [] {
        std::set<std::string> names;
        for (const char* b : kBodyNames) names.insert(b);
        const ConstellationLabel* labels = constellationLabels();
        for (int i = 0; i < kConstellationLabelCount; ++i)
            if (labels[i].anchorStar >= 1 && labels[i].anchorStar <= kBrightStarCount) names.insert(labels[i].name);
        for (int n = 1; n <= kBrightStarCount; ++n) {
            const StarEntry* e = starByNumber(n);
            if (e && e->name && *e->name) names.insert(e->name);
        }
        for (int n = 1; n <= kMessierCount; ++n) names.insert("M" + std::to_string(n));
        for (int n = 1; n <= kCaldwellCount; ++n) names.insert("C" + std::to_string(n));
        for (int k = kFirstMessierObject; k < kCatalogueObjectCount; ++k) {
            const StarEntry* e = catalogueObject(k);
            if (!e) continue;
            const std::string name = deepSkyCommonName(*e);
            // Names that another object also bears resolve to the first; keep them out of the list.
            if (!name.empty()) {
                auto hit = findSkyObject(name);
                if (hit && hit->id == k) names.insert(name);
            }
        }
        return std::vector<std::string>(names.begin(), names.end());
    }();
    return list;
}

}  // namespace celestra
