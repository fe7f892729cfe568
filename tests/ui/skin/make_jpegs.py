#!/usr/bin/env python3
"""Writes the JPEG test pictures into a folder: NAME.jpg each, and NAME.bgrx with the pixels
libjpeg-turbo (through PIL, default settings) decodes from it, as rows of blue, green, red, 0.

    make_jpegs.py OUTPUT_FOLDER

The pictures cover what the skin decoder takes (4:4:4, 4:2:2, 4:2:0, greyscale, restart
intervals, 16-bit quantisation tables, optimised Huffman tables, odd and tiny sizes) and two it
must leave to the system decoder (progressive, CMYK). Deterministic for one libjpeg version.
"""
import io
import os
import struct
import sys

from PIL import Image, ImageDraw


def pattern(width, height):
    """Gradients, a hard-edged disc and a noisy checker: every block has detail to get wrong."""
    image = Image.new("RGB", (width, height))
    px = image.load()
    seed = 12345
    for y in range(height):
        for x in range(width):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            noisy = ((x // 5) + (y // 3)) % 2 == 0
            px[x, y] = ((x * 7 + y * 3) % 256,
                        (seed >> 16) % 256 if noisy else (x * x + y * 5) % 256,
                        (y * 11) % 256)
    d = ImageDraw.Draw(image)
    d.ellipse((width // 4, height // 4, width * 3 // 4, height * 3 // 4), fill=(250, 20, 30))
    return image


def split_jpeg(data):
    """(header up to and including the SOS segment, entropy-coded data, SOF offset)."""
    pos, sof = 2, None
    while True:
        marker, length = data[pos + 1], struct.unpack(">H", data[pos + 2:pos + 4])[0]
        if marker in (0xC0, 0xC1):
            sof = pos
        pos += 2 + length
        if marker == 0xDA:
            end = data.rindex(b"\xff\xd9")
            return data[:pos], data[pos:end], sof


def with_restarts(image, options, mcu_height):
    """The picture with a restart marker after every row of MCUs.

    PIL cannot write restart intervals, so every MCU row is encoded alone: each such stream starts
    with zero DC predictions and ends byte-aligned, exactly what an encoder writes between two
    restart markers. The first strip's header, with the whole height and a DRI segment, leads.
    """
    width, height = image.size
    strips = []
    for top in range(0, height, mcu_height):
        out = io.BytesIO()
        image.crop((0, top, width, min(top + mcu_height, height))).save(out, "JPEG", **options)
        strips.append(out.getvalue())
    header, _, sof = split_jpeg(strips[0])
    header = bytearray(header)
    header[sof + 5:sof + 7] = struct.pack(">H", height)
    mcus_per_row = (width + mcu_height - 1) // mcu_height
    dri = b"\xff\xdd\x00\x04" + struct.pack(">H", mcus_per_row)
    body = bytearray(header[:2] + dri + header[2:])
    for i, strip in enumerate(strips):
        if i:
            body += bytes((0xFF, 0xD0 + (i - 1) % 8))
        body += split_jpeg(strip)[1]
    return bytes(body) + b"\xff\xd9"


# Coarse tables whose larger factors do not fit a byte: libjpeg writes them 16-bit (and SOF1).
WIDE_TABLES = [[8 + (i * 5) % 300 for i in range(64)], [16 + (i * 7) % 400 for i in range(64)]]

CASES = {
    # name: (size, mode, save options)
    "solid_444": ((41, 29), "solid", dict(quality=95, subsampling=0)),
    "pattern_444": ((37, 23), "RGB", dict(quality=95, subsampling=0)),
    "pattern_422": ((37, 23), "RGB", dict(quality=95, subsampling=1)),
    "pattern_420": ((37, 23), "RGB", dict(quality=95, subsampling=2)),
    "grey": ((37, 23), "L", dict(quality=90)),
    "quality100_444": ((40, 16), "RGB", dict(quality=100, subsampling=0)),
    "quality5_420": ((40, 16), "RGB", dict(quality=5, subsampling=2)),
    "wide_tables_444": ((33, 17), "RGB", dict(qtables=WIDE_TABLES, subsampling=0)),
    "optimised_420": ((50, 30), "RGB", dict(quality=85, subsampling=2, optimize=True)),
    "tiny_1x1_444": ((1, 1), "RGB", dict(quality=95, subsampling=0)),
    "tiny_1x1_420": ((1, 1), "RGB", dict(quality=95, subsampling=2)),
    "narrow_3x5_420": ((3, 5), "RGB", dict(quality=95, subsampling=2)),
    "narrow_5x9_422": ((5, 9), "RGB", dict(quality=95, subsampling=1)),
    "tall_1x40_444": ((1, 40), "RGB", dict(quality=95, subsampling=0)),
    "large_300x200_444": ((300, 200), "RGB", dict(quality=95, subsampling=0)),
    "large_301x201_420": ((301, 201), "RGB", dict(quality=90, subsampling=2)),
    # Restart markers after every MCU row (more than eight rows: the marker numbers wrap).
    "restart_444": ((61, 83), "RGB-restart8", dict(quality=95, subsampling=0)),
    "restart_420": ((61, 150), "RGB-restart16", dict(quality=80, subsampling=2)),
    "restart_grey": ((61, 83), "L-restart8", dict(quality=80)),
    "progressive": ((37, 23), "RGB", dict(quality=90, progressive=True)),
    "cmyk": ((37, 23), "CMYK", dict(quality=90)),
}


def make(name, size, mode):
    if mode == "solid":
        return Image.new("RGB", size, (51, 102, 153))
    image = pattern(*size)
    return image.convert(mode) if mode != "RGB" else image


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, (size, mode, options) in CASES.items():
        path = os.path.join(out, name + ".jpg")
        if "-restart" in mode:
            mode, mcu_height = mode.split("-restart")
            with open(path, "wb") as f:
                f.write(with_restarts(make(name, size, mode), options, int(mcu_height)))
        else:
            make(name, size, mode).save(path, "JPEG", **options)
        with Image.open(path) as decoded:
            rgb = decoded.convert("RGB").tobytes() if decoded.mode in ("RGB", "L") else b""
        bgrx = bytearray()
        for i in range(0, len(rgb), 3):
            bgrx += bytes((rgb[i + 2], rgb[i + 1], rgb[i], 0))
        with open(os.path.join(out, name + ".bgrx"), "wb") as f:
            f.write(bgrx)


if __name__ == "__main__":
    main()
