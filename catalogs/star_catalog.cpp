#include "catalogs/star_catalog.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "catalogs/catalog_tables.h"
#include "core/number_text.h"

namespace celestra {

namespace {

// Width of the name and identity lines: the value ends at this column.
constexpr std::size_t kInfoValueEnd = 34;
// The identity never starts before this column, so it cannot cover its label.
constexpr std::size_t kIdentityEarliestStart = 10;

std::string formatted(const char* format, double value) {
    char buffer[64];
    snprintfC(buffer, sizeof buffer, format, value);
    return buffer;
}

// Label padded with blanks to 34 characters, the value written so that it
// ends at column 34 but starts no earlier than `earliest` (a longer value
// runs past column 34 rather than over the label).
std::string alignedLine(const char* label, const char* value, std::size_t earliest) {
    std::string line(label);
    line.resize(kInfoValueEnd, ' ');
    const std::size_t length = std::strlen(value);
    std::size_t start = length < kInfoValueEnd ? kInfoValueEnd - length : 0;
    if (start < earliest) start = earliest;
    line.replace(start, std::string::npos, value);
    return line + "\r\n";
}

// Lower-case copy without blanks, for identity and name comparison.
std::string compact(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (!std::isspace(c)) out += static_cast<char>(std::tolower(c));
    }
    return out;
}

std::string trimmedLower(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    std::string out;
    for (std::size_t i = b; i < e; ++i) out += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    return out;
}

}  // namespace

const StarEntry* starByNumber(int n) {
    if (n < 1 || n > kBrightStarCount) return nullptr;
    return &kBrightStarTable[n - 1];
}

bool isPlaceholderStar(int n) {
    // By number: deep-sky records share the class '0' and can have magnitude 10.0.
    static constexpr int kPlaceholders[] = {92,   95,   182,  1057, 1841, 2472, 2496,
                                            3515, 3671, 6309, 6515, 7189, 7539, 8296};
    for (int p : kPlaceholders) {
        if (p == n) return true;
    }
    return false;
}

double starMagnitude(const StarEntry& entry) { return entry.magnitude * 0.001; }

bool starDistanceLightYears(const StarEntry& entry, double& lightYears) {
    lightYears = 0.0;
    if (!(entry.parallax > 0.0f)) return false;
    lightYears = kLightYearsPerParsecShown / static_cast<double>(entry.parallax);
    return true;
}

std::string starInfoText(const StarEntry& entry) {
    char first[64];
    snprintfC(first, sizeof first, "Bright Star Catalog:          %4d\r\n", static_cast<int>(entry.number));
    std::string text = first;
    text += alignedLine("Name:", entry.name, 0);
    text += alignedLine("Identity:", entry.identity, kIdentityEarliestStart);
    text += "Right Ascension (hours):" + formatted("%10.4f\r\n", entry.rightAscension);
    text += "Declination   (degrees):" + formatted("%10.4f\r\n", entry.declination);
    text += "Magnitude:              " + formatted("%10.4lf\r\n", starMagnitude(entry));
    text += "PropMotion RA:          " + formatted("%10.4f\r\n", entry.properMotionRa);
    text += "  (seconds / century)\r\n";
    text += "PropMotion Dec:         " + formatted("%10.4f\r\n", entry.properMotionDec);
    text += "  (arcseconds/century)\r\n";
    text += "Parallax (arcsec):      " + formatted("%10.4f\r\n", entry.parallax);
    double lightYears = 0.0;
    text += "Distance (light years): ";
    text += starDistanceLightYears(entry, lightYears) ? formatted("%10.4f\r\n", lightYears) : "Data Missing\r\n";
    text += "Radial velocity:        " + formatted("%10.4f\r\n", entry.radialVelocity);
    text += "  (km/sec)\r\n";
    return text;
}

std::string starChartLabel(const StarEntry& entry) {
    if (entry.name[0] != '\0') return entry.name;
    return "BS: " + std::to_string(entry.number);
}

std::string starStatusText(const StarEntry& entry) {
    char buffer[32];
    snprintfC(buffer, sizeof buffer, "BS: %4d\n\r", static_cast<int>(entry.number));
    return buffer;
}

const StarEntry* findStarByName(const std::string& text) {
    const std::string wanted = trimmedLower(text);
    if (wanted.empty()) return nullptr;
    for (const StarEntry& star : kBrightStarTable) {
        if (star.name[0] != '\0' && trimmedLower(star.name) == wanted) return &star;
    }
    return nullptr;
}

const StarEntry* findStarByIdentity(const std::string& text) {
    const std::string wanted = compact(text);
    if (wanted.empty()) return nullptr;
    for (const StarEntry& star : kBrightStarTable) {
        // Columns 1-3 Flamsteed number, 4-7 Bayer letter and superscript,
        // 8-10 constellation; placeholders carry other texts.
        if (std::strlen(star.identity) != 10 || isPlaceholderStar(star.number)) continue;
        const std::string id(star.identity);
        const std::string flamsteed = compact(id.substr(0, 3));
        const std::string bayer = compact(id.substr(3, 4));
        const std::string constellation = compact(id.substr(7, 3));
        if (wanted == compact(id)) return &star;
        if (!bayer.empty() && wanted == bayer + constellation) return &star;
        if (!flamsteed.empty() && wanted == flamsteed + constellation) return &star;
    }
    return nullptr;
}

}  // namespace celestra
