#include "navigation/navigational_stars.h"

#include <strings.h>

#include <algorithm>

#include "catalogs/star_catalog.h"

namespace celestra {

namespace {

struct StarName {
    const char* name;
    const char* bayer;  // used when the catalogue's proper name differs
};

// The almanac's 57 selected stars and Polaris.
constexpr StarName kNavigationalStarNames[] = {
    {"Acamar", "the1 Eri"},
    {"Achernar", "alp Eri"},
    {"Acrux", "alp1 Cru"},
    {"Adhara", "eps CMa"},
    {"Aldebaran", "alp Tau"},
    {"Alioth", "eps UMa"},
    {"Alkaid", "eta UMa"},
    {"Al Na'ir", "alp Gru"},
    {"Alnilam", "eps Ori"},
    {"Alphard", "alp Hya"},
    {"Alphecca", "alp CrB"},
    {"Alpheratz", "alp And"},
    {"Altair", "alp Aql"},
    {"Ankaa", "alp Phe"},
    {"Antares", "alp Sco"},
    {"Arcturus", "alp Boo"},
    {"Atria", "alp TrA"},
    {"Avior", "eps Car"},
    {"Bellatrix", "gam Ori"},
    {"Betelgeuse", "alp Ori"},
    {"Canopus", "alp Car"},
    {"Capella", "alp Aur"},
    {"Deneb", "alp Cyg"},
    {"Denebola", "bet Leo"},
    {"Diphda", "bet Cet"},
    {"Dubhe", "alp UMa"},
    {"Elnath", "bet Tau"},
    {"Eltanin", "gam Dra"},
    {"Enif", "eps Peg"},
    {"Fomalhaut", "alp PsA"},
    {"Gacrux", "gam Cru"},
    {"Gienah", "gam Crv"},
    {"Hadar", "bet Cen"},
    {"Hamal", "alp Ari"},
    {"Kaus Australis", "eps Sgr"},
    {"Kochab", "bet UMi"},
    {"Markab", "alp Peg"},
    {"Menkar", "alp Cet"},
    {"Menkent", "the Cen"},
    {"Miaplacidus", "bet Car"},
    {"Mirfak", "alp Per"},
    {"Nunki", "sig Sgr"},
    {"Peacock", "alp Pav"},
    {"Pollux", "bet Gem"},
    {"Procyon", "alp CMi"},
    {"Rasalhague", "alp Oph"},
    {"Regulus", "alp Leo"},
    {"Rigel", "bet Ori"},
    {"Rigil Kentaurus", "alp1 Cen"},
    {"Sabik", "eta Oph"},
    {"Schedar", "alp Cas"},
    {"Shaula", "lam Sco"},
    {"Sirius", "alp CMa"},
    {"Spica", "alp Vir"},
    {"Suhail", "lam Vel"},
    {"Vega", "alp Lyr"},
    {"Zubenelgenubi", "alp2 Lib"},
    {"Polaris", "alp UMi"},
};

}  // namespace

const std::vector<NavigationalStar>& navigationalStars() {
    static const std::vector<NavigationalStar> stars = [] {
        std::vector<NavigationalStar> out;
        for (const StarName& s : kNavigationalStarNames) {
            // The identity decides when the name finds another star (or none).
            const StarEntry* byName = findStarByName(s.name);
            const StarEntry* byIdentity = findStarByIdentity(s.bayer);
            const StarEntry* entry = byIdentity ? byIdentity : byName;
            if (byName && (!byIdentity || byName->number == byIdentity->number)) entry = byName;
            if (entry) out.push_back({s.name, entry->number});
        }
        std::sort(out.begin(), out.end(), [](const NavigationalStar& a, const NavigationalStar& b) {
            return ::strcasecmp(a.name, b.name) < 0;
        });
        return out;
    }();
    return stars;
}

const char* navigationalStarName(int number) {
    for (const NavigationalStar& s : navigationalStars())
        if (s.number == number) return s.name;
    return nullptr;
}

}  // namespace celestra
