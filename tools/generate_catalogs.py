#!/usr/bin/env python3
"""Regenerates the catalogue tables under catalogs/data/ from public
catalogues shipped in Debian bookworm packages.

The packages are fetched with `apt-get download` into a temporary folder and
unpacked there with `dpkg -x`; nothing is installed and the system's apt
configuration is left alone (the non-free `yale` package is reached through a
temporary sources list with its own state and cache folders). Python standard
library only. Usage:

    python3 tools/generate_catalogs.py [--work DIR] [--keep]

--work reuses (or fills) DIR instead of a fresh temporary folder, so a second
run needs no download; --keep leaves the temporary folder in place.
"""

import argparse
import glob
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from catalog_gen import cpp_out, deep_sky, places, stars  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(REPO, "catalogs", "data")
MIRROR = "http://deb.debian.org/debian"
KEYRING = "/usr/share/keyrings/debian-archive-keyring.gpg"

PACKAGES = {
    "yale": "5.0.95-3",
    "stellarium-data": "0.22.2-1",
    "r-cran-maps": "3.4.1-1",
    "libtimezonemap-data": "0.4.6-3",
}
FILES = {
    "bsc": ("yale", "usr/share/stardata/yale/catalog.dat"),
    "star_names": ("stellarium-data", "usr/share/stellarium/skycultures/western/star_names.fab"),
    "cross_id": ("stellarium-data", "usr/share/stellarium/stars/default/cross-id.dat"),
    "figures": ("stellarium-data", "usr/share/stellarium/skycultures/western/constellationship.fab"),
    "nebulae": ("stellarium-data", "usr/share/stellarium/nebulae/default/catalog.dat"),
    "nebula_names": ("stellarium-data", "usr/share/stellarium/nebulae/default/names.dat"),
    "rdx": ("r-cran-maps", "usr/lib/R/site-library/maps/data/Rdata.rdx"),
    "rdb": ("r-cran-maps", "usr/lib/R/site-library/maps/data/Rdata.rdb"),
    "geonames": ("libtimezonemap-data", "usr/share/libtimezonemap/ui/cities15000.txt"),
    "geonames_countries": ("libtimezonemap-data", "usr/share/libtimezonemap/ui/countryInfo.txt"),
}


def fetch(work):
    """Downloads and unpacks the pinned package versions into `work`."""
    state = os.path.join(work, "apt")
    for sub in ("lists/partial", "cache/archives/partial"):
        os.makedirs(os.path.join(state, sub), exist_ok=True)
    sources = os.path.join(state, "sources.list")
    with open(sources, "w") as f:
        f.write("deb [signed-by=%s] %s bookworm main non-free\n" % (KEYRING, MIRROR))
    apt = ["apt-get", "-q", "-o", "Dir::Etc::sourcelist=" + sources,
           "-o", "Dir::Etc::sourceparts=/nonexistent",
           "-o", "Dir::State::Lists=" + os.path.join(state, "lists"),
           "-o", "Dir::Cache=" + os.path.join(state, "cache")]
    debs = os.path.join(work, "debs")
    os.makedirs(debs, exist_ok=True)
    missing = [p for p, v in PACKAGES.items() if not glob.glob(os.path.join(debs, "%s_%s_*.deb" % (p, v)))]
    if missing:
        subprocess.run(apt + ["update"], check=True)
        subprocess.run(apt + ["download"] + ["%s=%s" % (p, PACKAGES[p]) for p in missing],
                       check=True, cwd=debs)
    roots = {}
    for package, version in PACKAGES.items():
        deb = glob.glob(os.path.join(debs, "%s_%s_*.deb" % (package, version)))[0]
        root = os.path.join(work, "unpacked", package)
        if not os.path.isdir(root):
            os.makedirs(root)
            subprocess.run(["dpkg", "-x", deb, root], check=True)
        roots[package] = root
    return roots


def sha256(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for chunk in iter(lambda: f.read(1 << 20), b""):
            h.update(chunk)
    return h.hexdigest()


def source_line(key, paths):
    package, rel = FILES[key]
    return "%s %s: %s" % (package, PACKAGES[package], rel)


def generate(roots):
    paths = {key: os.path.join(roots[p], rel) for key, (p, rel) in FILES.items()}
    results = {}

    bsc = stars.parse_bsc(paths["bsc"])
    hip_to_hr = stars.parse_cross_id(paths["cross_id"])
    named = stars.apply_iau_names(bsc, paths["star_names"], hip_to_hr)
    figures = stars.parse_figures(paths["figures"], hip_to_hr)
    segments = stars.assign_links(bsc, figures)
    first = sum(1 for s in bsc if len(s["links"]) >= 1)
    second = sum(1 for s in bsc if len(s["links"]) == 2)
    identities = sum(1 for s in bsc if s["identity"] and s["number"] not in stars.PLACEHOLDERS)
    no_parallax = sum(1 for s in bsc if s["parallax"] == 0)
    stats = ("%d stars, %d placeholders, %d Bayer/Flamsteed identities (%d with the\n"
             "// placeholders' own texts), %d proper names, %d without parallax, %d figure\n"
             "// segments from %d pairs in %d figures: %d first links, %d second links") % (
        len(bsc), len(stars.PLACEHOLDERS), identities, identities + len(stars.PLACEHOLDERS), named,
        no_parallax, segments, sum(len(v) for v in figures.values()), len(figures), first, second)
    star_sources = [source_line(k, paths) for k in ("bsc", "star_names", "cross_id", "figures")]
    results["bright_stars.cpp"] = stars.write_star_table(bsc, stats, star_sources)
    results["constellations.cpp"] = stars.write_label_table(
        stars.label_rows(bsc, figures), [source_line(k, paths) for k in ("bsc", "figures", "cross_id")])

    records = deep_sky.parse_catalog(paths["nebulae"])
    names = deep_sky.parse_names(paths["nebula_names"])
    messier = deep_sky.build_table(records, names, "M", 110)
    caldwell = deep_sky.build_table(records, names, "C", 109)
    results["deep_sky.cpp"] = deep_sky.write_tables(
        messier, caldwell, [source_line(k, paths) for k in ("nebulae", "nebula_names")])

    rows = places.load_world_cities(paths["rdx"], paths["rdb"])
    zone_cities, country_codes = places.load_geonames_zones(paths["geonames"], paths["geonames_countries"])
    place_rows, countries, notes = places.build(rows, places.load_geonames(paths["geonames"]), zone_cities,
                                                country_codes)
    results["places.cpp"] = places.write_tables(
        place_rows, countries,
        [source_line(k, paths) for k in ("rdx", "rdb", "geonames", "geonames_countries")] + [""] + notes)

    for name, text in results.items():
        cpp_out.write_if_changed(os.path.join(OUT_DIR, name), text)
    cpp_out.write_if_changed(os.path.join(OUT_DIR, "SOURCES.md"), sources_md(paths))
    print(stats.replace("\n// ", " "))
    print("%d Messier, %d Caldwell, %d places, %d countries" % (len(messier), len(caldwell),
                                                              len(place_rows), len(countries)))


LICENCES = {
    "yale": "Bright Star Catalogue, 5th revised edition (Hoffleit & Warren 1991, NSSDC/ADC; CDS V/50). "
            "Redistributable with acknowledgement of the ADC and the authors (see the package's "
            "copyright file); the table is a conversion of its values into this program's units.",
    "stellarium-data": "GPL-2.0-or-later (Stellarium's data files). Star names after the IAU "
                       "Catalog of Star Names (IAU WGSN); figures and the consolidated deep-sky "
                       "catalogue by the Stellarium data authors (see the package's CREDITS.md).",
    "r-cran-maps": "GPL-2 (R package maps; its world.cities data frame).",
    "libtimezonemap-data": "cities15000.txt and countryInfo.txt: GeoNames (geonames.org community), CC-BY-4.0.",
}


def sources_md(paths):
    lines = ["# Sources of the generated catalogue tables", "",
             "The `.cpp` files in this folder are generated by `tools/generate_catalogs.py`",
             "from the files below (Debian bookworm packages, downloaded and unpacked into a",
             "temporary folder; nothing is installed). The program never reads these files.", "",
             "| package | version | file | SHA-256 | used for |", "|---|---|---|---|---|"]
    uses = {"bsc": "stars: every field", "star_names": "star proper names (IAU reference 6)",
            "cross_id": "HIP to HR numbers", "figures": "constellation figure links, label anchors",
            "nebulae": "Messier and Caldwell positions, magnitudes, distances",
            "nebula_names": "deep-sky common names", "rdx": "world places (index)",
            "rdb": "world places (world.cities)",
            "geonames": "accents of place names; IANA time zones of places (column 18)",
            "geonames_countries": "ISO codes of countries, to take a place's zone from its own country"}
    for key, (package, rel) in FILES.items():
        lines.append("| %s | %s | `%s` | `%s` | %s |" % (package, PACKAGES[package], rel,
                                                       sha256(paths[key]), uses[key]))
    lines += ["", "## Licences and credits", ""]
    for package, text in LICENCES.items():
        lines.append("- `%s`: %s" % (package, text))
    lines += ["", "The R maps package's `world.cities` was compiled by its authors from public",
              "gazetteers; accents restored from GeoNames (CC-BY-4.0, https://www.geonames.org/).",
              "Each place's IANA time-zone identifier is GeoNames' zone of the city of the same",
              "name and country within 0.5 degrees, else of the country's nearest city in",
              "cities15000.txt; Yaren (Nauru) and Fakaofo (Tokelau), whose countries have no",
              "city there, take the tz database's zone of their country. The program reads the",
              "zones' rules from the system's tz database (`/usr/share/zoneinfo`, Debian's",
              "`tzdata`).",
              "The 23 reference ellipsoids in `catalogs/places.cpp` are the published",
              "defining constants of each ellipsoid.", ""]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--work", help="folder for downloads and unpacked packages (kept)")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()
    work = args.work or tempfile.mkdtemp(prefix="celestra-catalogs-")
    # apt's download user must reach the folder (mkdtemp makes it private).
    os.chmod(work, 0o755)
    try:
        generate(fetch(work))
    finally:
        if not args.work and not args.keep:
            shutil.rmtree(work, ignore_errors=True)
        elif not args.work:
            print("kept", work)


if __name__ == "__main__":
    main()
