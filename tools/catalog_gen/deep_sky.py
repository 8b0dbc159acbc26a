"""Messier and Caldwell tables from the deep-sky catalogue of the western sky
culture files: a gzip-compressed Qt data stream (big-endian) of records, and a
text file of common names under any designation."""

import gzip
import math
import re
import struct

from . import cpp_out

LIGHT_YEARS_PER_KPC = 3261.56
LIGHT_YEARS_PER_PARSEC_SHOWN = 3.26  # the information text's 3.26 / parallax
NO_MAGNITUDE = 99.0  # the source's "no value"
# Stored for an object with neither V nor B: fainter than every chart limit.
UNKNOWN_MAGNITUDE = 20000
INT_DESIGNATIONS_1 = ("NGC", "IC", "M", "C", "B", "Sh2", "vdB", "RCW", "LDN", "LBN",
                      "Cr", "Mel", "PGC", "UGC")
STR_DESIGNATIONS = ("PK", "PN G", "SNR G", "ACO", "HCG", "ESO", "vdBH")

# Identities the table spells in its own words.
IDENTITY_OVERRIDES = {("M", 45): "Subaru, Pleiades, Seven Sisters"}
# C14 is listed twice in the source (NGC 869 and NGC 884); the table has one
# record for the pair, at the mean position.
DOUBLE_CLUSTER = ("C", 14)
DOUBLE_CLUSTER_IDENTITY = "NGC 869 & NGC 884 Double Cluster"


class _Stream:
    def __init__(self, data):
        self.data = data
        self.pos = 0

    def unpack(self, fmt):
        size = struct.calcsize(fmt)
        if self.pos + size > len(self.data):
            raise ValueError("deep-sky catalogue truncated")
        values = struct.unpack(fmt, self.data[self.pos:self.pos + size])
        self.pos += size
        return values[0] if len(values) == 1 else values

    def qstring(self):
        n = self.unpack(">I")
        if n == 0xFFFFFFFF:
            return ""
        if n % 2 or self.pos + n > len(self.data):
            raise ValueError("bad string length in deep-sky catalogue")
        text = self.data[self.pos:self.pos + n].decode("utf-16-be")
        self.pos += n
        return text


def parse_catalog(path):
    s = _Stream(gzip.open(path).read())
    version, edition = s.qstring(), s.qstring()
    if not version.startswith("3.") or edition != "standard":
        raise ValueError("unexpected deep-sky catalogue header %r %r" % (version, edition))
    records = []
    while s.pos < len(s.data):
        r = {"id": s.unpack(">i")}
        r["ra"], r["dec"], r["bmag"], r["vmag"] = s.unpack(">4d")
        r["type"] = s.unpack(">i")
        r["morphology"] = s.qstring()
        r["major"], r["minor"] = s.unpack(">2d")
        r["orientation"] = s.unpack(">i")
        (r["z"], r["z_err"], r["plx"], r["plx_err"],
         r["dist_kpc"], r["dist_err"]) = s.unpack(">6d")
        ids = {}
        for name in INT_DESIGNATIONS_1:
            ids[name] = s.unpack(">i")
        ids["Ced"] = s.qstring()
        ids["Arp"], ids["VV"] = s.unpack(">2i")
        for name in STR_DESIGNATIONS:
            ids[name] = s.qstring()
        s.unpack(">5i")
        r["ids"] = ids
        records.append(r)
    return records


def parse_names(path):
    """{(prefix, id text): [names in file order]}"""
    names = {}
    pattern = re.compile(r'_\("([^"]+)"\)')
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or len(line) < 21:
                continue
            match = pattern.search(line[20:])
            if match:
                key = (line[0:5].strip(), line[5:20].strip())
                names.setdefault(key, []).append(match.group(1))
    return names


def _common_name(record, names):
    ids = record["ids"]
    for prefix in ("M", "C", "NGC", "IC"):
        if ids[prefix]:
            found = names.get((prefix, str(ids[prefix])))
            if found:
                return found[0]
    return ""


def _designation(record):
    ids = record["ids"]
    if ids["NGC"]:
        return "NGC %d" % ids["NGC"]
    if ids["IC"]:
        return "IC %d" % ids["IC"]
    for prefix in ("Cr", "Mel", "B", "Sh2", "LDN"):
        if ids[prefix]:
            return "%s %d" % (prefix, ids[prefix])
    return ""


def _magnitude(record):
    for mag in (record["vmag"], record["bmag"]):
        if mag < NO_MAGNITUDE - 1:
            return int(round(mag * 1000))
    return UNKNOWN_MAGNITUDE


def _parallax(record):
    """Distance as a parallax in arcsec, so that 3.26 / parallax gives light
    years; 0 where the source has neither a distance nor a parallax."""
    if record["dist_kpc"] > 0:
        return LIGHT_YEARS_PER_PARSEC_SHOWN / (record["dist_kpc"] * LIGHT_YEARS_PER_KPC)
    if record["plx"] > 0:
        return record["plx"] / 1000.0  # source parallax is in mas
    return 0.0


def build_table(records, names, prefix, count):
    by_number = {}
    for r in records:
        n = r["ids"][prefix]
        if n:
            by_number.setdefault(n, []).append(r)
    rows = []
    for n in range(1, count + 1):
        found = by_number.get(n)
        if not found:
            raise ValueError("%s%d missing from the deep-sky catalogue" % (prefix, n))
        if (prefix, n) == DOUBLE_CLUSTER:
            identity = DOUBLE_CLUSTER_IDENTITY
            ra = _mean_ra([r["ra"] for r in found])
            dec = sum(r["dec"] for r in found) / len(found)
            r = min(found, key=_magnitude)
        else:
            if len(found) != 1:
                raise ValueError("%s%d listed %d times" % (prefix, n, len(found)))
            r = found[0]
            ra, dec = r["ra"], r["dec"]
            identity = IDENTITY_OVERRIDES.get((prefix, n))
            if identity is None:
                identity = " ".join(t for t in (_designation(r), _common_name(r, names)) if t)
        rows.append({"number": n, "identity": identity, "name": "%s%d" % (prefix, n),
                     "ra": (math.degrees(ra) / 15.0) % 24.0, "dec": math.degrees(dec),
                     "magnitude": _magnitude(r), "parallax": _parallax(r)})
    return rows


def _mean_ra(angles):
    x = sum(math.cos(a) for a in angles)
    y = sum(math.sin(a) for a in angles)
    return math.atan2(y, x) % (2 * math.pi)


def write_tables(messier, caldwell, sources):
    out = [cpp_out.header_comment("Messier and Caldwell objects in the star record layout.", sources)]
    out.append('#include "catalogs/catalog_tables.h"\n\nnamespace celestra {\n\n'
               "// number, identity, label, RA h, Dec deg, mag/1000, no proper motion,\n"
               "// distance as parallax \" (3.26 / parallax = light years), no radial\n"
               "// velocity, no figure links, class '0'\n")
    for symbol, count_name, rows in (("kMessierTable", "kMessierCount", messier),
                                     ("kCaldwellTable", "kCaldwellCount", caldwell)):
        out.append("const StarEntry %s[%s] = {\n" % (symbol, count_name))
        for r in rows:
            out.append("    {%d, %s, %s, %s, %s, %d, 0.0f, 0.0f, %s, 0.0f, -1, -1, '0'},\n" % (
                r["number"], cpp_out.c_string(r["identity"]), cpp_out.c_string(r["name"]),
                cpp_out.c_float(r["ra"]), cpp_out.c_float(r["dec"]), r["magnitude"],
                cpp_out.c_float(r["parallax"])))
        out.append("};\n\n")
    out.append("}  // namespace celestra\n")
    return "".join(out)
