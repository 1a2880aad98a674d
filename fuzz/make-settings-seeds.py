#!/usr/bin/env python3
"""Writes the seed corpus of fuzz-settings into fuzz/corpus/settings/.

Settings files in both forms (XML and binary) with each key holding each kind of value, then cut
short and corrupted copies of them, and hand-made binary lists that probe the bounds checked before
libplist sees a file: nesting at and past the depth bound, reference cycles, shared objects,
trailer fields and offsets out of range, and XML markup that parsers read differently.

Deterministic: the same run always writes the same files. Seeds already there (regression cases
among them) are left alone; rerun after changing the generator and commit what changes.
"""

import datetime
import os
import plistlib
import random
import struct

import settings_keys

KEYS = settings_keys.keys()

VALUES = {
    "true": True,
    "false": False,
    "zero": 0,
    "one": 1,
    "minus-one": -1,
    "int-max": 2**31 - 1,
    "int-min": -(2**31),
    "past-int": 2**40,
    "int64-max": 2**63 - 1,
    "int64-min": -(2**63),
    "half": 0.5,
    "negative-real": -2.5,
    "huge-real": 1e300,
    "infinity": float("inf"),
    "nan": float("nan"),
    "string-number": "100",
    "string-padded": "  42abc",
    "string-negative": "-7",
    "string-exponent": "1e3",
    "string-yes": "YES",
    "string-empty": "",
    "string-unicode": "\u00e9\u6f22\U0001f600",
    "data": b"\x00\x01\xff",
    "date": datetime.datetime(2001, 1, 1, 0, 0, 1),
    "array": [1, 2],
    "dictionary": {"speed": 5},
}


def forms(value):
    """The value as an XML and as a binary list, where the format can hold it."""
    out = {}
    for name, fmt in (("xml", plistlib.FMT_XML), ("binary", plistlib.FMT_BINARY)):
        try:
            out[name] = plistlib.dumps(value, fmt=fmt, sort_keys=False)
        except (TypeError, ValueError, OverflowError):
            pass
    return out


def big_endian(value, size):
    return value.to_bytes(size, "big")


class BinaryList:
    """A binary list made object by object, with `size`-byte offsets and references."""

    def __init__(self, size=1):
        self.body = bytearray(b"bplist00")
        self.offsets = []
        self.size = size

    def add(self, obj):
        self.offsets.append(len(self.body))
        self.body += obj
        return len(self.offsets) - 1

    def refs(self, indices):
        return b"".join(big_endian(i, self.size) for i in indices)

    def container(self, marker, count, references):
        head = bytes([marker | count]) if count < 15 else bytes([marker | 15, 0x13]) + big_endian(
            count, 8)
        return head + self.refs(references)

    def finish(self, top, trailer_patch=None):
        out = bytes(self.body)
        table = len(out)
        out += b"".join(big_endian(o, self.size) for o in self.offsets)
        fields = [self.size, self.size, len(self.offsets), top, table]
        if trailer_patch:
            trailer_patch(fields)
        out += bytes(6) + bytes([fields[0] & 0xFF, fields[1] & 0xFF])
        out += b"".join(big_endian(f % 2**64, 8) for f in fields[2:])
        return out


def nested_binary(depth):
    """{"k": [[[…]]]} with `depth` levels, the root included."""
    b = BinaryList(size=4)
    key = b.add(b"\x51k")
    root_index = 1
    b.add(b"\xd1" + b.refs([key, 2]))
    for level in range(2, depth + 1):
        b.add(b"\xa0" if level == depth else b"\xa1" + b.refs([root_index + level]))
    return b.finish(root_index)


def nested_xml(depth):
    return (b"<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>k</key>" +
            b"<array>" * (depth - 1) + b"</array>" * (depth - 1) + b"</dict></plist>")


def probes():
    seeds = {}
    seeds["bounds-depth-128.bplist"] = nested_binary(128)
    seeds["bounds-depth-129.bplist"] = nested_binary(129)
    seeds["bounds-depth-128.xml"] = nested_xml(128)
    seeds["bounds-depth-129.xml"] = nested_xml(129)
    seeds["bounds-open-arrays.xml"] = b"<plist><dict><key>k</key>" + b"<array>" * 300

    # {"k": [itself]}: a cycle.
    b = BinaryList()
    b.add(b"\x51k")
    b.add(b"\xd1" + b.refs([0, 2]))
    b.add(b"\xa1" + b.refs([2]))
    seeds["bounds-cycle.bplist"] = b.finish(1)

    # Every level refers twice to the next: 2^n copies once libplist has read it.
    for levels in (3, 20):
        b = BinaryList(size=2)
        b.add(b"\x51k")
        b.add(b"\xd1" + b.refs([0, 2]))
        for level in range(levels):
            b.add(b"\xa2" + b.refs([3 + level, 3 + level]))
        b.add(b"\x09")
        seeds["bounds-shared-%d.bplist" % levels] = b.finish(1)

    # A settings file with every key, then with trailer fields and offsets out of range.
    b = BinaryList()
    keys = [b.add(bytes([0x50 | len(k)]) + k.encode()) for k in KEYS]
    values = [b.add(v) for v in (b"\x09", b"\x11\x00\x64", b"\x10\x46", b"\x10\x02", b"\x13" +
                                 big_endian(2**64 - 1, 8), b"\x08")]
    root = b.add(b"\xd6" + b.refs(keys + values))
    seeds["keys-handmade.bplist"] = b.finish(root)

    def patched(name, patch):
        seeds["bounds-" + name + ".bplist"] = b.finish(root, patch)

    patched("offset-size-0", lambda f: f.__setitem__(0, 0))
    patched("offset-size-9", lambda f: f.__setitem__(0, 9))
    patched("reference-size-0", lambda f: f.__setitem__(1, 0))
    patched("object-count-huge", lambda f: f.__setitem__(2, 2**62))
    patched("object-count-wraps", lambda f: f.__setitem__(2, 2**63 + 1))
    patched("top-past-objects", lambda f: f.__setitem__(3, 2**64 - 1))
    patched("table-past-end", lambda f: f.__setitem__(4, 2**64 - 8))
    patched("table-in-header", lambda f: f.__setitem__(4, 3))

    # Lengths past the end of the object area, for each kind that has one.
    for name, marker in (("string", 0x5F), ("data", 0x4F), ("unicode", 0x6F), ("array", 0xAF),
                         ("dictionary", 0xDF)):
        for size_code, size in ((0x10, 1), (0x13, 8)):
            b = BinaryList()
            k = b.add(b"\x51k")
            v = b.add(bytes([marker, size_code]) + b"\xff" * size)
            r = b.add(b"\xd1" + b.refs([k, v]))
            seeds["bounds-%s-length-%d.bplist" % (name, size)] = b.finish(r)
    # Integers and reals of every width marker, UIDs, and a lone high surrogate.
    for marker in list(range(0x10, 0x20)) + list(range(0x20, 0x30)) + [0x33, 0x34, 0x80, 0x8F]:
        b = BinaryList()
        k = b.add(b"\x55speed")
        v = b.add(bytes([marker]) + b"\x7f" * 16)
        r = b.add(b"\xd1" + b.refs([k, v]))
        seeds["marker-%02x.bplist" % marker] = b.finish(r)
    b = BinaryList()
    k = b.add(b"\x55speed")
    v = b.add(b"\x61\xd8\x00")
    r = b.add(b"\xd1" + b.refs([k, v]))
    seeds["unicode-lone-surrogate.bplist"] = b.finish(r)
    for name, key in (("utf16-key-nul", b"\x62\x00s\x00\x00"), ("utf16-key", b"\x62\x00s\x00\xe9"),
                      ("ascii-key-nul", b"\x53s\x00p")):
        b = BinaryList()
        k = b.add(key)  # libplist 2.2.0 asserts on a UTF-16 key holding U+0000
        v = b.add(b"\x09")
        r = b.add(b"\xd1" + b.refs([k, v]))
        seeds["dictionary-%s.bplist" % name] = b.finish(r)
    b = BinaryList()
    k = b.add(b"\x10\x01")  # a key that is not a string
    v = b.add(b"\x09")
    r = b.add(b"\xd1" + b.refs([k, v]))
    seeds["dictionary-integer-key.bplist"] = b.finish(r)

    # XML markup read differently by different parsers, and entities, comments, CDATA.
    tricks = {
        "comment-gt": b"<array><!-- > </array> -->",
        "attribute-gt": b"<array a=\"></array>\">",
        "cdata": b"<array><string><![CDATA[</string></array>]]></string>",
    }
    for name, trick in tricks.items():
        seeds["xml-trick-%s.xml" % name] = (b"<plist><dict><key>k</key>" + trick * 150 +
                                           b"</array>" * 150 + b"</dict></plist>")
    seeds["xml-entities.xml"] = (b"<plist><dict><key>sp&#101;ed</key><string>&#x31;&lt;2&amp;"
                                 b"</string></dict></plist>")
    seeds["xml-doctype.xml"] = (b"<?xml version=\"1.0\"?><!DOCTYPE plist PUBLIC \"-//Apple//DTD "
                                b"PLIST 1.0//EN\" \"x.dtd\"><plist><dict><key>speed</key>"
                                b"<integer>0x10</integer><key>topArea</key><real>2.9e0</real>"
                                b"</dict></plist>")
    seeds["xml-data-base64.xml"] = (b"<plist><dict><key>speed</key><data>AAE=\n=</data>"
                                    b"<key>x</key><date>2001-01-01T00:00:00Z</date></dict></plist>")
    seeds["xml-unterminated.xml"] = b"<plist><dict><key>speed</key><integer>12"
    marked = plistlib.dumps({"speed": 120, "topArea": 2, "caf\u00e9": "\U0001F600"},
                            fmt=plistlib.FMT_XML)
    seeds["xml-bom-utf8.xml"] = b"\xef\xbb\xbf" + marked
    seeds["xml-bom-utf16le.xml"] = b"\xff\xfe" + marked.decode().encode("utf-16-le")
    seeds["xml-bom-utf16be.xml"] = b"\xfe\xff" + marked.decode().encode("utf-16-be")
    seeds["xml-shallow-markup.xml"] = (b"<?x \"?>\"?><plist><!-- > <array> --><dict><key>k</key>"
                                       b"<array>" + b"<array></array>" * 300 +
                                       b"</array></dict></plist>")
    seeds["xml-colliding-keys.xml"] = (b"<plist><dict>" + b"".join(
        b"<key>k%s</key><true/>" % b"".join([b"bn", b"cM", b"d,"][i // 3**d % 3] for d in range(5))
        for i in range(200)) + b"</dict></plist>")
    return seeds


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "settings")
    os.makedirs(folder, exist_ok=True)
    seeds = {}
    for key in KEYS:
        for kind, value in VALUES.items():
            for form, data in forms({key: value}).items():
                seeds["%s-%s.%s" % (key, kind, form)] = data
    everything = dict(zip(KEYS, [True, 100, 20, 2, 1, False]))
    everything["other"] = [{"nested": b"\x01"}]
    rng = random.Random(20240601)
    for form, data in forms(everything).items():
        seeds["all-keys.%s" % form] = data
        for cut in (1, 8, 16, len(data) // 3, len(data) // 2, len(data) - 33, len(data) - 1):
            seeds["all-keys-cut-%d.%s" % (cut, form)] = data[:cut]
        for n in range(12):
            corrupted = bytearray(data)
            for _ in range(1 + n % 4):
                at = rng.randrange(len(corrupted))
                corrupted[at] = rng.randrange(256)
            seeds["all-keys-corrupt-%d.%s" % (n, form)] = bytes(corrupted)
    seeds["array-root.xml"] = plistlib.dumps([1, 2], fmt=plistlib.FMT_XML)
    seeds["array-root.bplist"] = plistlib.dumps([1, 2], fmt=plistlib.FMT_BINARY)
    seeds["uid.bplist"] = plistlib.dumps({"speed": plistlib.UID(7)}, fmt=plistlib.FMT_BINARY)
    seeds["empty"] = b""
    seeds["garbage"] = bytes(rng.randrange(256) for _ in range(300))
    seeds.update(probes())
    for name, data in sorted(seeds.items()):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)
    print("wrote %d seeds into %s" % (len(seeds), folder))


if __name__ == "__main__":
    main()
