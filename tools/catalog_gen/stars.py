"""The bright-star table, its proper names and constellation-figure links, and
the constellation label table, from the Bright Star Catalogue (5th revised
edition, fixed-width `catalog.dat`) and the western sky-culture files."""

import math
import re

from . import cpp_out

STAR_COUNT = 9110
# Catalogue numbers that denote novae or clusters rather than stars.
PLACEHOLDERS = (92, 95, 182, 1057, 1841, 2472, 2496, 3515, 3671, 6309, 6515, 7189, 7539, 8296)
PLACEHOLDER_MAGNITUDE = 10000
NO_LINK = -1
IAU_STAR_NAME_REFERENCE = "6"  # reference.fab: IAU Catalog of Star Names


def _field(line, first, last):
    """Columns first..last (1-based, inclusive) as in the catalogue's ReadMe."""
    return line[first - 1:last]


def _number(text):
    text = text.strip()
    return float(text) if text else None


def spectral_class_letter(sptype):
    """First class letter of a spectral type: a lower-case luminosity prefix
    ("g" in "gG9", "sd" in "sdB5") and its ':' are skipped; "DA..." gives "D";
    a type with no class letter at all (such as "pec") gives "P"."""
    text = sptype.strip()
    if not text:
        return "0"
    match = re.match(r"[a-z:]*([A-Z])", text)
    return match.group(1) if match else "P"


def parse_bsc(path):
    stars = []
    with open(path, encoding="latin-1") as f:
        for line in f:
            line = line.rstrip("\r\n").ljust(197)
            number = int(_field(line, 1, 4))
            if number != len(stars) + 1:
                raise ValueError("catalogue out of order at HR %d" % number)
            identity = _field(line, 5, 14)
            star = {"number": number, "identity": identity if identity.strip() else "",
                    "name": "", "links": []}
            if number in PLACEHOLDERS:
                if _field(line, 76, 77).strip():
                    raise ValueError("placeholder HR %d has a position" % number)
                star.update(ra=0.0, dec=0.0, magnitude=PLACEHOLDER_MAGNITUDE, pm_ra=0.0,
                            pm_dec=0.0, parallax=0.0, radial_velocity=0.0, spectral="0")
                stars.append(star)
                continue
            ra = (int(_field(line, 76, 77)) + int(_field(line, 78, 79)) / 60.0
                  + float(_field(line, 80, 83)) / 3600.0)
            dec = (int(_field(line, 85, 86)) + int(_field(line, 87, 88)) / 60.0
                   + int(_field(line, 89, 90)) / 3600.0)
            if _field(line, 84, 84) == "-":
                dec = -dec
            vmag = _number(_field(line, 103, 107))
            # Catalogue proper motions are arcsec/yr along the great circle; the
            # table keeps RA in seconds of time per Julian century of RA itself.
            pm_ra_arcsec = _number(_field(line, 149, 154)) or 0.0
            pm_dec_arcsec = _number(_field(line, 155, 160)) or 0.0
            cos_dec = math.cos(math.radians(dec))
            star.update(
                ra=ra, dec=dec,
                magnitude=int(round(vmag * 1000)) if vmag is not None else PLACEHOLDER_MAGNITUDE,
                pm_ra=pm_ra_arcsec / (15.0 * cos_dec) * 100.0,
                pm_dec=pm_dec_arcsec * 100.0,
                parallax=_number(_field(line, 162, 166)) or 0.0,
                radial_velocity=_number(_field(line, 167, 170)) or 0.0,
                spectral=spectral_class_letter(_field(line, 128, 147)))
            stars.append(star)
    if len(stars) != STAR_COUNT:
        raise ValueError("expected %d stars, found %d" % (STAR_COUNT, len(stars)))
    return stars


def parse_cross_id(path):
    """HIP number -> HR number; where one HIP is two HR stars, the component
    "" or "A" is taken."""
    hip_to_hr = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            cols = line.rstrip("\n").split("\t")
            if len(cols) < 5 or not cols[4].strip():
                continue
            hip, component, hr = int(cols[0]), cols[1].strip(), int(cols[4])
            if hip not in hip_to_hr or component in ("", "A"):
                hip_to_hr[hip] = hr
    return hip_to_hr


def apply_iau_names(stars, names_path, hip_to_hr):
    """Proper names carrying the IAU reference; the first such name per star."""
    pattern = re.compile(r'^\s*(\d+)\|_\("([^"]+)"\)\s*([\d,]*)')
    count = 0
    with open(names_path, encoding="utf-8") as f:
        for line in f:
            match = pattern.match(line)
            if not match:
                continue
            hip, name, refs = int(match.group(1)), match.group(2), match.group(3).split(",")
            if IAU_STAR_NAME_REFERENCE not in refs or hip not in hip_to_hr:
                continue
            star = stars[hip_to_hr[hip] - 1]
            if star["name"]:
                continue
            if len(name) > 17 or not name.isascii():
                raise ValueError("star name %r does not fit the table" % name)
            star["name"] = name
            count += 1
    return count


def parse_figures(path, hip_to_hr):
    """{abbreviation: [(hr, hr), ...]} of the constellation stick figures."""
    figures = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            words = line.split()
            if not words:
                continue
            abbr, count, hips = words[0], int(words[1]), [int(w) for w in words[2:]]
            if len(hips) != 2 * count:
                raise ValueError("figure %s: %d pairs announced, %d numbers" % (abbr, count, len(hips)))
            figures[abbr] = [(hip_to_hr[hips[i]], hip_to_hr[hips[i + 1]]) for i in range(0, len(hips), 2)]
    return figures


def assign_links(stars, figures):
    """Gives every distinct figure segment to one of its two stars, at most two
    per star. First as many segments as possible go to distinct stars (a
    maximum matching of segments to their end stars, by augmenting paths), so
    second links appear only where a figure has more segments than stars;
    the rest go to an end with room, shifting a chain of segments when both
    ends are full."""
    segments = []
    seen = set()
    for abbr in sorted(figures):
        for a, b in figures[abbr]:
            key = (min(a, b), max(a, b))
            if a != b and key not in seen:
                seen.add(key)
                segments.append(key)

    first_owner = {}  # star -> the segment it carries as its first link

    def augment(seg, visited):
        for star in seg:
            if star in visited:
                continue
            visited.add(star)
            if star not in first_owner or augment(first_owner[star], visited):
                first_owner[star] = seg
                return True
        return False

    left_over = [seg for seg in segments if not augment(seg, set())]
    owner = {seg: star for star, seg in first_owner.items()}
    load = {star: 1 for star in first_owner}

    def relieve(star, visited):
        # Moves one of `star`'s segments to its other end, recursively.
        for seg in [s for s, o in owner.items() if o == star]:
            other = seg[0] if seg[1] == star else seg[1]
            if other in visited:
                continue
            visited.add(other)
            if load.get(other, 0) < 2 or relieve(other, visited):
                owner[seg] = other
                load[star] -= 1
                load[other] = load.get(other, 0) + 1
                return True
        return False

    for seg in left_over:
        a = min(seg, key=lambda s: (load.get(s, 0), s))
        if load.get(a, 0) >= 2 and not relieve(a, {a}):
            raise ValueError("cannot place figure segment %s" % (seg,))
        owner[seg] = a
        load[a] = load.get(a, 0) + 1
    for seg, star in owner.items():
        partner = seg[0] if seg[1] == star else seg[1]
        stars[star - 1]["links"].append(partner)
    for star in stars:
        star["links"].sort()
    return len(segments)


# The label names as the chart shows them, in stored order, with the figure
# each belongs to.
LABELS = [
    ("Andromeda", "And"), ("Antlia", "Ant"), ("Apus", "Aps"), ("Aquarius", "Aqr"),
    ("Aquila", "Aql"), ("Ara", "Ara"), ("Aries", "Ari"), ("Auriga", "Aur"),
    ("Bootes", "Boo"), ("Camelopardalis", "Cam"), ("Cancer", "Cnc"),
    ("Canes Venatici", "CVn"), ("Canis Major", "CMa"), ("Canis Minor", "CMi"),
    ("Capricornus", "Cap"), ("Carina", "Car"), ("Cassiopeia", "Cas"),
    ("Centaurus", "Cen"), ("Cepheus", "Cep"), ("Cetus", "Cet"), ("Chamaeleon", "Cha"),
    ("Circinus", "Cir"), ("Columba", "Col"), ("Coma Berenices", "Com"),
    ("Corona Australis", "CrA"), ("Corona Borealis", "CrB"), ("Corvus", "Crv"),
    ("Crater", "Crt"), ("Crux", "Cru"), ("Cygnus", "Cyg"), ("Delphinus", "Del"),
    ("Dorado", "Dor"), ("Draco", "Dra"), ("Equuleus", "Equ"), ("Eridanus", "Eri"),
    ("Fornax", "For"), ("Gemini", "Gem"), ("Grus", "Gru"), ("Hercules", "Her"),
    ("Hydra", "Hya"), ("Hydrus", "Hyi"), ("Indus", "Ind"), ("Lacerta", "Lac"),
    ("Leo", "Leo"), ("Leo Minor", "LMi"), ("Lepus", "Lep"), ("Libra", "Lib"),
    ("Lupus", "Lup"), ("Lynx", "Lyn"), ("Lyra", "Lyr"), ("Microscopus", "Mic"),
    ("Monocerus", "Mon"), ("Musca", "Mus"), ("Octans", "Oct"), ("Ophiuchus", "Oph"),
    ("Orion", "Ori"), ("Pavo", "Pav"), ("Pegasus", "Peg"), ("Perseus", "Per"),
    ("Phoenix", "Phe"), ("Pictor", "Pic"), ("Pisces Austrinus", "PsA"),
    ("Pisces", "Psc"), ("Puppis", "Pup"), ("Reticulum", "Ret"), ("Sagitta", "Sge"),
    ("Sagittarius", "Sgr"), ("Scorpius", "Sco"), ("Sculptor", "Scl"), ("Scutum", "Sct"),
    ("Serpens", "Ser"), ("Sextans", "Sex"), ("Taurus", "Tau"), ("Telescopium", "Tel"),
    ("Triangulum Australis", "TrA"), ("Triangulum", "Tri"), ("Tucana", "Tuc"),
    ("Ursa Major", "UMa"), ("Ursa Minor", "UMi"), ("Vela", "Vel"), ("Virgo", "Vir"),
    ("Volans", "Vol"),
]
# Rows whose anchor and threshold are fixed examples rather than derived.
FIXED_LABELS = {"Andromeda": (269, 2000), "Aquila": (7570, 0), "Antlia": (4104, 4000)}
THRESHOLDS = (-1500, -320, 0, 320, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500)


def label_rows(stars, figures):
    """Anchor: the brightest star of the figure. Threshold: the table value
    nearest the anchor's magnitude in thousandths (the fainter on a tie), so
    the brightest constellations are labelled first as the level rises."""
    rows = []
    for name, abbr in LABELS:
        if name in FIXED_LABELS:
            anchor, threshold = FIXED_LABELS[name]
        else:
            members = {hr for seg in figures[abbr] for hr in seg}
            anchor = min(members, key=lambda hr: (stars[hr - 1]["magnitude"], hr))
            mag = stars[anchor - 1]["magnitude"]
            threshold = min(THRESHOLDS, key=lambda t: (abs(t - mag), -t))
        rows.append((name, anchor, threshold))
    return rows


def write_star_table(stars, stats, sources):
    out = [cpp_out.header_comment("The Bright Star Catalogue, 5th revised edition, one record per HR number.",
                                  sources + ["", "Counts: %s." % stats])]
    out.append('#include "catalogs/catalog_tables.h"\n\nnamespace celestra {\n\n'
               'namespace {\nconstexpr char kNone[] = "";\n}  // namespace\n\n'
               "// number, identity, name, RA h, Dec deg, mag/1000, pmRA s/cy, pmDec \"/cy,\n"
               "// parallax \", radial velocity km/s, figure links, spectral class\n"
               "const StarEntry kBrightStarTable[kBrightStarCount] = {\n")
    for s in stars:
        links = s["links"] + [NO_LINK] * (2 - len(s["links"]))
        out.append("    {%d, %s, %s, %s, %s, %d, %s, %s, %s, %s, %d, %d, '%s'},\n" % (
            s["number"], cpp_out.c_string(s["identity"]) if s["identity"] else "kNone",
            cpp_out.c_string(s["name"]) if s["name"] else "kNone",
            cpp_out.c_float(s["ra"]), cpp_out.c_float(s["dec"]), s["magnitude"],
            cpp_out.c_float(s["pm_ra"]), cpp_out.c_float(s["pm_dec"]),
            cpp_out.c_float(s["parallax"]), cpp_out.c_float(s["radial_velocity"]),
            links[0], links[1], s["spectral"]))
    out.append("};\n\n}  // namespace celestra\n")
    return "".join(out)


def write_label_table(rows, sources):
    out = [cpp_out.header_comment("Constellation name labels: name, anchor star (HR), label-level threshold.",
                                  sources)]
    out.append('#include "catalogs/catalog_tables.h"\n\nnamespace celestra {\n\n'
               "const ConstellationLabel kConstellationLabels[kConstellationLabelCount] = {\n")
    for name, anchor, threshold in rows:
        out.append("    {%s, %d, %d},\n" % (cpp_out.c_string(name), anchor, threshold))
    out.append("};\n\n}  // namespace celestra\n")
    return "".join(out)
