#include "catalogs/places.h"

#include <cmath>

#include "catalogs/catalog_tables.h"

namespace celestra {

namespace {

// Defining constants of the reference ellipsoids: a in metres, e².
// The two trailing blanks and the spelling "Nambia" are the table's own.
constexpr EllipsoidEntry kEllipsoids[kEllipsoidCount] = {
    {1, "Airy", 6377563.0, 0.00667054},
    {2, "Australian National", 6378160.0, 0.006694542},
    {3, "Bessel 1841", 6377397.0, 0.006674372},
    {4, "Bessel 1841 (Nambia) ", 6377484.0, 0.006674372},
    {5, "Clarke 1866", 6378206.0, 0.006768658},
    {6, "Clarke 1880", 6378249.0, 0.006803511},
    {7, "Everest", 6377276.0, 0.006637847},
    {8, "Fischer 1960 (Mercury) ", 6378166.0, 0.006693422},
    {9, "Fischer 1968", 6378150.0, 0.006693422},
    {10, "GRS 1967", 6378160.0, 0.006694605},
    {11, "GRS 1980", 6378137.0, 0.00669438},
    {12, "Helmert 1906", 6378200.0, 0.006693422},
    {13, "Hough", 6378270.0, 0.00672267},
    {14, "International", 6378388.0, 0.00672267},
    {15, "Krassovsky", 6378245.0, 0.006693422},
    {16, "Modified Airy", 6377340.0, 0.00667054},
    {17, "Modified Everest", 6377304.0, 0.006637847},
    {18, "Modified Fischer 1960", 6378155.0, 0.006693422},
    {19, "South American 1969", 6378160.0, 0.006694542},
    {20, "WGS 60", 6378165.0, 0.006693422},
    {21, "WGS 66", 6378145.0, 0.006694542},
    {22, "WGS-72", 6378135.0, 0.006694318},
    {23, "WGS-84", 6378137.0, 0.00669438},
};

// Base letter (lower case) of U+00C0..U+024F and of U+1E00..U+1EFF; '?'
// where a character has none.
constexpr char kLatinFold[] =
    "aaaaaaaceeeeiiiidnooooo?ouuuuytsaaaaaaaceeeeiiiidnooooo?ouuuuyty"
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiiiiijjkk?lllllll"
    "lllnnnnnn???oooooooorrrrrrsssssssstttt??uuuuuuuuuuuuwwyyyzzzzzzs"
    "??????????????????f?????????????oo?????????????uu???????????????"
    "????dddlllnnnaaiioouuuuuuuuuu?aaaa????ggkkoooo??jdddgg??nnaa????"
    "aaaaeeeeiiiioooorrrruuuusstt??hh??????aaeeooooooooyy????????????"
    "????????????????";
constexpr char kLatinAdditionalFold[] =
    "aabbbbbbccddddddddddeeeeeeeeeeffgghhhhhhhhhhiiiikkkkkkllllllllmm"
    "mmmmnnnnnnnnoooooooopppprrrrrrrrssssssssssttttttttuuuuuuuuuuvvvv"
    "wwwwwwwwwwxxxxyyzzzzzzhtwyas????aaaaaaaaaaaaaaaaaaaaaaaaeeeeeeee"
    "eeeeeeeeiiiioooooooooooooooooooooooouuuuuuuuuuuuuuyyyyyyyy??????";
static_assert(sizeof kLatinFold - 1 == 0x250 - 0xC0);
static_assert(sizeof kLatinAdditionalFold - 1 == 0x100);

}  // namespace

int placeCount() { return kPlaceCount; }

const PlaceEntry* place(int i) {
    if (i < 0 || i >= kPlaceCount) return nullptr;
    return &kPlaceTable[i];
}

double placeLatitude(int i) {
    const PlaceEntry* p = place(i);
    return p ? p->latitude / 100.0 : 0.0;
}

double placeLongitude(int i) {
    const PlaceEntry* p = place(i);
    return p ? p->longitude / 100.0 : 0.0;
}

int countryCount() { return kCountryCount; }

const char* countryName(int index) {
    if (index < 0 || index >= kCountryCount) return "";
    return kCountryList[index];
}

std::string foldForSearch(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
            ++i;
            continue;
        }
        // Decode one UTF-8 sequence; a malformed byte is copied as it is.
        const int length = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        bool wellFormed = length > 1 && i + length <= text.size();
        char32_t code = length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; wellFormed && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            wellFormed = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!wellFormed) {
            out += text[i];
            ++i;
            continue;
        }
        char base = '?';
        if (code >= 0xC0 && code < 0x250) base = kLatinFold[code - 0xC0];
        if (code >= 0x1E00 && code < 0x1F00) base = kLatinAdditionalFold[code - 0x1E00];
        if (base != '?') {
            out += base;
        } else {
            out.append(text, i, length);
        }
        i += length;
    }
    return out;
}

std::vector<int> findPlaces(const std::string& text) {
    const std::string wanted = foldForSearch(text);
    std::vector<int> found;
    for (int i = kCustomPlaceSlots; i < kPlaceCount; ++i) {
        const PlaceEntry& p = kPlaceTable[i];
        if (foldForSearch(p.name).find(wanted) != std::string::npos ||
            foldForSearch(countryName(p.country)).find(wanted) != std::string::npos) {
            found.push_back(i);
        }
    }
    return found;
}

const EllipsoidEntry* ellipsoid(int id) {
    if (id < 1 || id > kEllipsoidCount) return nullptr;
    return &kEllipsoids[id - 1];
}

double ellipsoidSemiMinorAxis(const EllipsoidEntry& e) {
    return e.semiMajorAxis * std::sqrt(1.0 - e.eccentricitySquared);
}

double ellipsoidFlattening(const EllipsoidEntry& e) { return 1.0 - std::sqrt(1.0 - e.eccentricitySquared); }

}  // namespace celestra
