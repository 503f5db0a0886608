#!/usr/bin/python3
"""Writes a library of models and materials in the library's order
(header, 12,600-byte thumbnail, pixels) for the listing benchmark.

    makeLibrary.py ROOT MODELS MATERIALS [MODEL_WxH MATERIAL_WxH]

Files go to ROOT/ORXWEBTRY: M000.MDL ... and C000.CLO ...; pictures are
320x240 models and 160x160 materials unless given. Every picture is one of
256 gradients, so that neighbouring thumbnails differ.
"""
import functools
import os
import struct
import sys

HEADER, THUMB = 256, 12600
LINK_MAGIC = b"KOVA IMAGING SYSTEMS CO., LTD. DynamicLinkImage"
MODEL_MAGIC = b"KOVA IMAGING SYSTEMS CO., LTD. MDL file"


def header(magic, w, h, model):
    raw = bytearray(HEADER)
    raw[:len(magic)] = magic
    if model:
        struct.pack_into("<8h", raw, 41, 0, 0, w - 1, h - 1, 0, 0, w - 1, h - 1)
    pixels = 3 * w * h
    struct.pack_into("<h", raw, 64, 1)
    struct.pack_into("<IIII", raw, 66, w, h, HEADER + THUMB, pixels)
    struct.pack_into("<hhhh", raw, 82, 100, 100, 70, 60)
    struct.pack_into("<III", raw, 90, HEADER, THUMB, HEADER + THUMB)
    raw[105] = raw[106] = 1
    return bytes(raw)


@functools.lru_cache(maxsize=None)
def picture(w, h, seed):
    row = bytes((x * 255 // max(1, w - 1) + seed) & 255 for x in range(w))
    out = bytearray()
    for y in range(h):
        g = (y * 255 // max(1, h - 1)) & 255
        for x in range(w):
            out += bytes((row[x], g, seed & 255))
    return bytes(out)


def write(path, magic, w, h, seed, model):
    thumb = picture(70, 60, seed & 255)
    pixels = picture(w, h, seed & 255)
    with open(path, "wb") as f:
        f.write(header(magic, w, h, model))
        f.write(thumb)
        f.write(pixels)


def size(text):
    w, h = text.lower().split("x")
    return int(w), int(h)


def main():
    root, models, materials = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    mw, mh = size(sys.argv[4]) if len(sys.argv) > 4 else (320, 240)
    cw, ch = size(sys.argv[5]) if len(sys.argv) > 5 else (160, 160)
    folder = os.path.join(root, "ORXWEBTRY")
    os.makedirs(folder, exist_ok=True)
    for i in range(models):
        write(os.path.join(folder, "M%03d.MDL" % i), MODEL_MAGIC, mw, mh, i * 7, True)
    for i in range(materials):
        write(os.path.join(folder, "C%03d.CLO" % i), LINK_MAGIC, cw, ch, i * 11, False)


if __name__ == "__main__":
    main()
