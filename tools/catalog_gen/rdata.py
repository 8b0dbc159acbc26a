"""Reader for R's lazy-load data files (Rdata.rdx index + Rdata.rdb objects).

The objects are R's XDR serialisation format (versions 2 and 3), each stored
in the .rdb file as a 4-byte big-endian length followed by a zlib stream; the
.rdx index is a gzip-compressed serialised list giving each variable's
(offset, length) in the .rdb. Only the value kinds that the package's data
frames use are decoded (vectors, pairlists, symbols, attributes); anything
else, ALTREP-compacted vectors included, raises ValueError so a format change
is noticed, not guessed.
"""

import gzip
import struct
import zlib

NA_INTEGER = -2147483648


class RObject:
    """A decoded R value: `value` holds the Python data, `attributes` a dict."""

    def __init__(self, kind, value, attributes=None):
        self.kind = kind
        self.value = value
        self.attributes = attributes or {}

    def attr(self, name):
        return self.attributes.get(name)


class _Reader:
    def __init__(self, data):
        self.data = data
        self.pos = 0
        self.refs = []

    def take(self, n):
        if self.pos + n > len(self.data):
            raise ValueError("R serialisation truncated")
        chunk = self.data[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def int(self):
        return struct.unpack(">i", self.take(4))[0]

    def header(self):
        if self.take(2) != b"X\n":
            raise ValueError("not an XDR R serialisation")
        version = self.int()
        self.int()  # writer's R version
        self.int()  # oldest R version that reads it
        if version == 3:
            self.take(self.int())  # native encoding name
        elif version != 2:
            raise ValueError("unsupported R serialisation version %d" % version)

    def item(self):
        flags = self.int()
        kind = flags & 0xFF
        has_attr = bool(flags & (1 << 9))
        has_tag = bool(flags & (1 << 10))
        if kind == 254:  # NULL
            return None
        if kind in (242, 241, 253):  # empty, base and global environments
            return RObject("env", None)
        if kind == 255:  # reference to an earlier symbol or environment
            index = flags >> 8
            if index == 0:
                index = self.int()
            return self.refs[index - 1]
        if kind == 1:  # symbol
            sym = RObject("symbol", self.item().value)
            self.refs.append(sym)
            return sym
        if kind in (2, 6):  # pairlist or call: attributes, tag, head, tail
            attributes = self.attributes() if has_attr else {}
            items = []
            while True:
                tag = self.item().value if has_tag else None
                items.append((tag, self.item()))
                nxt = self.int()
                self.pos -= 4
                if (nxt & 0xFF) not in (2, 6):
                    tail = self.item()
                    if tail is not None:
                        raise ValueError("improper pairlist")
                    break
                nflags = self.int()
                has_tag = bool(nflags & (1 << 10))
                if nflags & (1 << 9):
                    self.attributes()
            return RObject("pairlist", items, attributes)
        if kind == 9:  # CHARSXP
            n = self.int()
            if n == -1:
                return RObject("char", None)
            return RObject("char", self.take(n).decode("utf-8", "replace"))
        if kind in (10, 13):  # logical, integer
            n = self.int()
            values = list(struct.unpack(">%di" % n, self.take(4 * n)))
            return self._finish(RObject("int", values), has_attr)
        if kind == 14:  # double
            n = self.int()
            values = list(struct.unpack(">%dd" % n, self.take(8 * n)))
            return self._finish(RObject("real", values), has_attr)
        if kind == 16:  # character vector
            n = self.int()
            values = [self.item().value for _ in range(n)]
            return self._finish(RObject("str", values), has_attr)
        if kind == 19:  # list
            n = self.int()
            values = [self.item() for _ in range(n)]
            return self._finish(RObject("list", values), has_attr)
        raise ValueError("unsupported R value kind %d" % kind)

    def _finish(self, obj, has_attr):
        if has_attr:
            obj.attributes = self.attributes()
        return obj

    def attributes(self):
        return self._pairlist_to_dict(self.item())

    @staticmethod
    def _pairlist_to_dict(pl):
        if pl is None:
            return {}
        return {tag: value for tag, value in pl.value}


def unserialize(data):
    reader = _Reader(data)
    reader.header()
    return reader.item()


def load_lazy_data(rdx_path, rdb_path, name):
    """Returns the R object `name` from a package's data/Rdata.{rdx,rdb}."""
    with open(rdx_path, "rb") as f:
        raw = f.read()
    index = unserialize(gzip.decompress(raw) if raw[:2] == b"\x1f\x8b" else zlib.decompress(raw[4:]))
    entries = {tag: value for tag, value in zip(index.attr("names").value, index.value)}
    variables = entries["variables"]
    names = variables.attr("names").value
    if name not in names:
        raise ValueError("%s not in %s" % (name, rdx_path))
    offset, length = (int(v) for v in variables.value[names.index(name)].value)
    with open(rdb_path, "rb") as f:
        f.seek(offset)
        blob = f.read(length)
    expected = struct.unpack(">I", blob[:4])[0]
    payload = zlib.decompress(blob[4:])
    if len(payload) != expected:
        raise ValueError("length mismatch for %s" % name)
    return unserialize(payload)


def data_frame_columns(frame):
    """A data frame as {column name: list of values}."""
    names = frame.attr("names").value
    return {n: col.value for n, col in zip(names, frame.value)}
