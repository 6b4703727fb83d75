#!/usr/bin/env python3
"""Writes small seed corpora for the fuzz targets.

usage: make_seeds.py OUT_DIR [DATA_DIR]

OUT_DIR/<target>/ gets hand-written records for every target; when DATA_DIR
(a game data folder, e.g. build/data) is given, its class, placement, trigger,
map and sound files are added as well, cut to sizes a fuzzer handles well.
"""
import os
import struct
import sys

SEP = b"@@@@"


def wav(channels=1, bits=8, rate=11025, samples=b"\x80\x90\xa0\x90\x80\x70",
        extra_chunk=False, fmt_size=16):
    block = channels * bits // 8
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * block, block, bits)
    if fmt_size == 18:
        fmt += b"\0\0"
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    if extra_chunk:
        body += b"LIST" + struct.pack("<I", 3) + b"abc\0"   # odd size, padded
    body += b"data" + struct.pack("<I", len(samples)) + samples
    if len(samples) % 2:
        body += b"\0"
    return b"RIFF" + struct.pack("<I", len(body)) + body


def tga(w, h, bits, image_type=2, ident=b""):
    head = struct.pack("<BBB", len(ident), 0, image_type) + b"\0" * 9
    head += struct.pack("<HHBB", w, h, bits, 0)
    return head + ident + bytes((i * 7) & 255 for i in range(w * h * bits // 8))


def fnv(data, h=0xcbf29ce484222325):
    for b in data:
        h = ((h ^ b) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
    return h


def demo(records, version=1):
    """A demo file of (tag, body) records, its header counted from them."""
    world, body, frames = fnv(b""), b"", 0
    for tag, data in records:
        if tag == b"F":
            world = fnv(struct.pack("<H", len(data) - 14) + b"\0\0" + data[2:], world)
        frames += tag in (b"I", b"K")
        body += tag + data
    return b"QUARNDEM" + struct.pack("<IIIQ", version, frames, len(body), world) + body


def named(name, size, rest):
    return struct.pack("<H", len(name)) + name + struct.pack("<I", size) + rest


def keys(*vks):
    k = bytearray(32)
    for vk in vks:
        k[vk >> 3] |= 1 << (vk & 7)
    return bytes(k)


def map_words(words):
    return b"".join(struct.pack("<I", w) for w in words)


CLASSES = b"""classes
man 16,32,0,100,100,-1,0,1,4,4,1,4,1,0,0,0
urn 8,8,1,50,-1,-1,0,0,4,4,1,0,0,0,0,0
1a 20,5,10,1,10,100,1,0,4,4,0,5,4,3,255,1
a 64,64,68,0,3,0,0,0,4,4,0,0,5,0,128,0
"""

PLACEMENTS = b"""placements
urnfull 3,10,5,7,20,0,0,3,0,50
greendoor 73,5,0,10,0,0,0,0,2,0
waspnest 91,92,0,50,0,64,4,0,0,0
dropper 103,93,0,50,0,4,0,0,1,10
"""

TRIGGERS = b"""triggers
first 1,90,50,4,4
second 2,0,0,1,1
never -1,92,53,1,1
"""

HAND = {
    "classes": {
        "records": CLASSES,
        "header-only": b"classes\n",
        "partial": b"h\nman 16,32,0\nurn 8,8,1,50,-1,-1,0,0,4,4,1,0,0,0,0,0\n",
    },
    "placements": {
        "records": PLACEMENTS,
        "partial": b"p\nrock 4,1,2\nurn 2,1,1,1,1,0,0,0,0,0\n",
    },
    "triggers": {
        "records": TRIGGERS,
        "bad": b"t\nx 1,2,3\ny 1,2,3,4,5,6\n",
    },
    "map": {
        "words": map_words([1, 17 | 1 << 28, 255 | 3 << 28, 0x0101, 5]),
        "odd": b"\x01\x00\x00\x00\x11\x00",
    },
    "mask": {
        "plane0": b"\x01" + bytes((i * 13) & 255 for i in range(4096)),
        "plane1": b"\x02" + b"\xff" * 64 + b"\x80" * 64,
    },
    "raw": {
        "2x2": bytes([3, 3, 1]) + bytes([0, 255, 255, 0, 255, 254, 1, 255, 255, 9, 9, 9]),
        "16x2": bytes([5, 3, 0]) + bytes((i * 5) & 255 for i in range(16 * 2 * 3)),
    },
    "tga": {
        "rgb": tga(2, 2, 24),
        "rgba": tga(4, 2, 32, ident=b"id"),
        "grey": tga(2, 4, 8, image_type=3),
    },
    "wav": {
        "mono8": wav(),
        "stereo16": wav(2, 16, 22050, bytes(range(16)), extra_chunk=True, fmt_size=18),
    },
    "demo": {
        "empty": demo([]),
        # no sound; walk, a click, the editor, a save, Escape
        "play": demo([(b"A", struct.pack("<i", 0)), (b"R", struct.pack("<ii", 800, 600)), (b"D", b""),
                      (b"K", keys(ord("W"))), (b"D", b""), (b"I", b""),
                      (b"M", struct.pack("<iiii", 0, 0, 400, 300)), (b"M", struct.pack("<iiii", 0, 1, 400, 300)),
                      (b"D", b""), (b"K", keys(ord("2"))), (b"D", b""), (b"K", keys(ord("8"))), (b"D", b""),
                      (b"K", keys(0x1B)), (b"E", struct.pack("<Q", 0))]),
        # a map of 8 bytes the session saved over, a missing trigger file,
        # sound on, the window closed
        "files": demo([(b"F", named(b"map\\phoebus.qnm", 8, struct.pack("<Q", fnv(bytes(range(8)))))),
                       (b"F", named(b"map\\phoebus.trg", 0xFFFFFFFF, struct.pack("<Q", 0))),
                       (b"S", named(b"map\\phoebus.qnm", 8, bytes(range(8)))),
                       (b"A", struct.pack("<i", 1)), (b"I", b""), (b"A", struct.pack("<i", 3)),
                       (b"A", struct.pack("<i", 1)), (b"D", b""), (b"C", b""), (b"E", struct.pack("<Q", 7))]),
    },
}

# one key per frame (an index into the body's key list), 0xE0 and up also
# clicks at the next two bytes: walk, pick up, fly, select, fire, editor on,
# click, save, reload, menu, HUD, quit
KEYS = bytes([1, 1, 1, 3, 4, 4, 8, 7, 7, 31, 0xE0, 100, 100, 35, 34, 29, 29, 30, 40])


def startup_seeds():
    small_map = map_words([(i % 7) + (i % 3 << 28) if i % 5 else 0 for i in range(512)])
    return {
        "all": SEP.join([CLASSES, PLACEMENTS, TRIGGERS, small_map, wav(), KEYS]),
        "classes-only": CLASSES,
        "no-map": SEP.join([CLASSES, PLACEMENTS, TRIGGERS, b"", wav(2, 16), KEYS]),
    }


def write(out, target, name, data):
    d = os.path.join(out, target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    for target, seeds in HAND.items():
        for name, data in seeds.items():
            write(out, target, name, data)
    for name, data in startup_seeds().items():
        write(out, "startup", name, data)

    if len(sys.argv) > 2:
        data_dir = sys.argv[2]

        def read(*p, limit=None):
            path = os.path.join(data_dir, *p)
            if not os.path.exists(path):
                return None
            with open(path, "rb") as f:
                return f.read(limit) if limit else f.read()

        ent = read("map", "phoebus.ent")
        epo = read("map", "phoebus.epo")
        trg = read("map", "phoebus.trg")
        qnm = read("map", "phoebus.qnm")
        snd = read("sfx", "pistolshot.wav", limit=4096)
        if ent:
            write(out, "classes", "world", ent)
        if epo:
            write(out, "placements", "world", epo)
        if trg:
            write(out, "triggers", "world", trg)
        if qnm:
            write(out, "map", "world", qnm)
            # the columns around the player's start, as a short map
            write(out, "map", "world-start", qnm[92 * 1024:96 * 1024])
        for s in ("pistolshot", "explosion2", "splash"):
            w = read("sfx", s + ".wav", limit=4096)
            if w:
                write(out, "wav", "world-" + s, w)
        if ent and epo:
            # the player's start columns repeat across the fuzzed map
            cols = qnm[92 * 1024:93 * 1024] if qnm else b""
            write(out, "startup", "world",
                  SEP.join([ent, epo, trg or b"", cols, snd or b"", KEYS]))


if __name__ == "__main__":
    main()
