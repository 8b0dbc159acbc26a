"""The world place table and its country list, from the R maps package's
world.cities data frame, with accents restored from the GeoNames
cities15000 list."""

import unicodedata

from . import cpp_out, rdata

CUSTOM_SLOTS = 5
PLACE_COUNT = 1736
FIRST_NAME, LAST_NAME = "Abidjan", "Zwedru"

# Country names as the table spells them, where world.cities differs; and
# regions that world.cities lists as countries folded into their country.
COUNTRY_RENAMES = {
    "UK": "United Kingdom", "USA": "United States of America",
    "Wallis and Futuna": "Wallis & Futuna",
    "Azores": "Portugal", "Madeira": "Portugal", "Easter Island": "Chile",
    "Sicily": "Italy", "Serbia": "Yugoslavia", "Montenegro": "Yugoslavia",
    "Kosovo": "Yugoslavia", "Saint-Barthelemy": "Guadeloupe", "Saint-Martin": "Guadeloupe",
}
# Left out: its sovereignty is disputed and the country list has no entry.
EXCLUDED_COUNTRIES = {"Western Sahara"}
# Spellings the table fixes whatever the sources say.
NAME_OVERRIDES = {("Abu Dhabi", "United Arab Emirates"): "Abû Zabi"}
# Always in the table: (name, world.cities country) looked up in the source.
INCLUDE = [("Zwedru", "Liberia"), ("London", "UK"), ("London", "Canada")]
# Always in the table, not in world.cities: name, lat, lon (hundredths), country.
EXTRA_PLACES = [("Greenwich", 5148, 0, "United Kingdom")]  # the Royal Observatory

# Letters that NFKD does not split into base + accent but that a plain-ASCII
# spelling writes as the base letter.
_STROKED = str.maketrans("łŁøØđĐħĦıæÆœŒßðÐþÞ", "lLoOdDhHiaAoOsdDtT")


def fold(text):
    """Accent- and case-free form used for sorting and for matching."""
    decomposed = unicodedata.normalize("NFKD", text.translate(_STROKED))
    return "".join(c for c in decomposed if not unicodedata.combining(c)).casefold()


def sort_key(name):
    return (fold(name), name)


def load_world_cities(rdx, rdb):
    cols = rdata.data_frame_columns(rdata.load_lazy_data(rdx, rdb, "world.cities"))
    rows = []
    for i in range(len(cols["name"])):
        # A leading apostrophe transliterates the Arabic ayn ("'Amman"); the
        # table writes the name without it so that it sorts by its letters.
        rows.append({"name": cols["name"][i].lstrip("'"), "source_country": cols["country.etc"][i],
                     "pop": cols["pop"][i], "lat": cols["lat"][i], "lon": cols["long"][i],
                     "capital": cols["capital"][i]})
    return rows


def load_geonames(path):
    """[(name, lat, lon)] of cities15000.txt (GeoNames' tab-separated dump)."""
    places = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            cols = line.rstrip("\n").split("\t")
            if len(cols) > 5:
                places.append((cols[1], float(cols[4]), float(cols[5])))
    return places


def restore_accents(rows, geonames):
    """Takes the GeoNames spelling of a place within 0.2 degrees that differs
    from the world.cities name by accents only."""
    index = {}
    for name, lat, lon in geonames:
        if not name.isascii():
            index.setdefault(fold(name), []).append((name, lat, lon))
    for row in rows:
        for name, lat, lon in index.get(fold(row["name"]), ()):
            if (name != row["name"] and row["name"].isascii()
                    and abs(lat - row["lat"]) < 0.2 and abs(lon - row["lon"]) < 0.2):
                row["ascii_name"] = row["name"]
                row["name"] = name
                break


def select_places(rows):
    """Capitals, the include list, then the most populous places, until the
    table is full; only names that sort from "Abidjan" to "Zwedru" qualify."""
    low, high = sort_key(FIRST_NAME), sort_key(LAST_NAME)
    candidates = [r for r in rows
                  if r["source_country"] not in EXCLUDED_COUNTRIES
                  and low <= sort_key(r["name"]) <= high]
    wanted = PLACE_COUNT - CUSTOM_SLOTS - len(EXTRA_PLACES)
    chosen = []
    ids = set()

    def take(r):
        if id(r) not in ids and len(chosen) < wanted:
            ids.add(id(r))
            chosen.append(r)

    for name, country in INCLUDE:
        matches = [r for r in candidates if r["name"] == name and r["source_country"] == country]
        if len(matches) != 1:
            raise ValueError("include %s, %s: %d matches" % (name, country, len(matches)))
        take(matches[0])
    for r in sorted((r for r in candidates if r["capital"] == 1), key=lambda r: -r["pop"]):
        take(r)
    for r in sorted(candidates, key=lambda r: (-r["pop"], sort_key(r["name"]))):
        take(r)
    return chosen


def build(rows, geonames):
    """Returns (places, countries, notes); places as (name, lat, lon, country
    index), notes the selection rule with its counts."""
    restore_accents(rows, geonames)
    chosen = select_places(rows)
    entries = []
    for r in chosen:
        country = COUNTRY_RENAMES.get(r["source_country"], r["source_country"])
        name = NAME_OVERRIDES.get((r["name"], country), r["name"])
        entries.append((name, int(round(r["lat"] * 100)), int(round(r["lon"] * 100)), country))
    entries.extend(EXTRA_PLACES)
    countries = sorted({COUNTRY_RENAMES.get(r["source_country"], r["source_country"])
                        for r in rows if r["source_country"] not in EXCLUDED_COUNTRIES},
                       key=sort_key)
    index = {c: i for i, c in enumerate(countries)}
    entries.sort(key=lambda e: (sort_key(e[0]), sort_key(e[3])))
    places = [("Custom %d" % (i + 1), 0, 0, 0) for i in range(CUSTOM_SLOTS)]
    places += [(n, lat, lon, index[c]) for n, lat, lon, c in entries]
    capitals = sum(1 for r in chosen if r["capital"] == 1)
    accented = sum(1 for r in chosen if "ascii_name" in r)
    smallest = min(r["pop"] for r in chosen if r["capital"] != 1
                   and (r["name"], r["source_country"]) not in INCLUDE)
    notes = [
        "%d places: %d custom slots, %d chosen from world.cities' %d, %d added." % (
            len(places), CUSTOM_SLOTS, len(chosen), len(rows), len(EXTRA_PLACES)),
        "Rule: among the names that sort from \"%s\" to \"%s\" (accents and case" % (FIRST_NAME, LAST_NAME),
        "ignored), outside Western Sahara: the include list (%s)," % ", ".join(
            "%s/%s" % i for i in INCLUDE),
        "the %d capitals, then by population down to %d inhabitants; plus" % (capitals, smallest),
        "Greenwich (the Royal Observatory, 51.48 N 0.00 E), which world.cities lacks.",
        "%d names took their accents from GeoNames; %d countries." % (accented, len(countries)),
    ]
    return places, countries, notes


def write_tables(places, countries, sources):
    out = [cpp_out.header_comment("World places (five custom slots, then by name) and their countries.",
                                  sources)]
    out.append('#include "catalogs/catalog_tables.h"\n\nnamespace celestra {\n\n'
               "const char* const kCountryList[kCountryCount] = {\n")
    for c in countries:
        out.append("    %s,\n" % cpp_out.c_string(c))
    out.append("};\n\n// name, latitude and longitude in hundredths of a degree (north, east\n"
               "// positive), country index\n"
               "const PlaceEntry kPlaceTable[kPlaceCount] = {\n")
    for name, lat, lon, country in places:
        out.append("    {%s, %d, %d, %d},\n" % (cpp_out.c_string(name), lat, lon, country))
    out.append("};\n\n}  // namespace celestra\n")
    return "".join(out)
