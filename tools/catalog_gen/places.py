"""The world place table and its country list, from the R maps package's
world.cities data frame, with accents restored from the GeoNames
cities15000 list and each place's IANA time zone taken from it."""

import math
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

# GeoNames' ISO 3166 codes of the table's countries whose names differ from
# GeoNames' countryInfo (regions the table lists apart, former countries).
COUNTRY_CODES = {
    "Canary Islands": ["ES"], "Congo": ["CG"], "Congo Democratic Republic": ["CD"],
    "Guernsey and Alderney": ["GG"], "Korea North": ["KP"], "Korea South": ["KR"],
    "North Macedonia": ["MK"], "Palestine": ["PS"], "Saint Vincent and The Grenadines": ["VC"],
    "Turks and Caicos": ["TC"], "United States of America": ["US"], "US Virgin Islands": ["VI"],
    "Vatican City": ["VA"], "Wallis & Futuna": ["WF"], "Yugoslavia": ["RS", "ME", "XK"],
    "Netherlands Antilles": ["CW", "BQ", "SX"],
}
# Countries without a city in cities15000: the tz database's zone of the country.
ZONE_OVERRIDES = {("Yaren", "Nauru"): "Pacific/Nauru", ("Fakaofo", "Tokelau"): "Pacific/Fakaofo"}
# A GeoNames city of the same name counts as the place within this many degrees.
SAME_NAME_DEGREES = 0.5

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


def _tab_rows(path):
    """The columns of each line of a GeoNames tab-separated file, comment
    lines left out."""
    with open(path, encoding="utf-8") as f:
        for line in f:
            if not line.startswith("#"):
                yield line.rstrip("\n").split("\t")


def load_geonames(path):
    """[(name, lat, lon)] of cities15000.txt (GeoNames' tab-separated dump)."""
    return [(cols[1], float(cols[4]), float(cols[5])) for cols in _tab_rows(path) if len(cols) > 5]


def load_geonames_zones(cities_path, countries_path):
    """(cities, codes): cities15000's cities as dicts of name, ascii name,
    lat, lon, country code and IANA time zone; codes maps countryInfo's
    country names to their ISO codes."""
    cities = [{"name": cols[1], "ascii": cols[2], "lat": float(cols[4]), "lon": float(cols[5]), "cc": cols[8],
               "zone": cols[17]} for cols in _tab_rows(cities_path) if len(cols) > 17 and cols[17]]
    codes = {cols[4]: cols[0] for cols in _tab_rows(countries_path) if len(cols) > 4}
    return cities, codes


def _arc_degrees(lat1, lon1, lat2, lon2):
    p1, p2, dl = math.radians(lat1), math.radians(lat2), math.radians(lon1 - lon2)
    c = math.sin(p1) * math.sin(p2) + math.cos(p1) * math.cos(p2) * math.cos(dl)
    return math.degrees(math.acos(max(-1.0, min(1.0, c))))


def assign_zones(places, countries, cities, codes):
    """The IANA zone of each place (after the custom slots): that of a
    GeoNames city of the same country and name within SAME_NAME_DEGREES,
    else that of the country's nearest GeoNames city (zone boundaries run
    between towns, and a neighbour across a border would give the wrong
    country's rules). Returns (zones, counts by name, by nearest city and by
    override)."""
    by_country = {}
    for c in cities:
        by_country.setdefault(c["cc"], []).append(c)
    zones, named, overridden = [], 0, 0
    for name, lat, lon, country in places:
        country_name = countries[country]
        if (name, country_name) in ZONE_OVERRIDES:
            zones.append(ZONE_OVERRIDES[(name, country_name)])
            overridden += 1
            continue
        wanted = COUNTRY_CODES.get(country_name) or [codes[country_name]]
        pool = [c for cc in wanted for c in by_country.get(cc, ())]
        if not pool:
            raise ValueError("no GeoNames city for %s, %s" % (name, country_name))
        la, lo = lat / 100.0, lon / 100.0
        key = fold(name)
        same = [c for c in pool if key in (fold(c["name"]), fold(c["ascii"]))
                and _arc_degrees(la, lo, c["lat"], c["lon"]) < SAME_NAME_DEGREES]
        if same:
            named += 1
        best = min(same or pool, key=lambda c: _arc_degrees(la, lo, c["lat"], c["lon"]))
        zones.append(best["zone"])
    return zones, (named, len(zones) - named - overridden, overridden)


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


def build(rows, geonames, zone_cities, country_codes):
    """Returns (places, countries, notes); places as (name, lat, lon, country
    index, IANA zone), notes the selection rule with its counts."""
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
    chosen_places = [(n, lat, lon, index[c]) for n, lat, lon, c in entries]
    zones, zone_counts = assign_zones(chosen_places, countries, zone_cities, country_codes)
    places = [("Custom %d" % (i + 1), 0, 0, 0, "") for i in range(CUSTOM_SLOTS)]
    places += [p + (z,) for p, z in zip(chosen_places, zones)]
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
        "Time zones: %d from the GeoNames city of the same name, %d from the" % zone_counts[:2],
        "country's nearest GeoNames city, %d from the tz database's zone of the country." % zone_counts[2],
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
               "// positive), country index, IANA time zone\n"
               "const PlaceEntry kPlaceTable[kPlaceCount] = {\n")
    for name, lat, lon, country, zone in places:
        out.append("    {%s, %d, %d, %d, %s},\n" % (cpp_out.c_string(name), lat, lon, country,
                                                    cpp_out.c_string(zone)))
    out.append("};\n\n}  // namespace celestra\n")
    return "".join(out)
