#!/usr/bin/env python3
"""Draws the program's own pictures: its icon, the submenu mark, the event list's row icons and
the side picture of the installer's first and last pages.

Usage: make_resources.py OUTPUT_FOLDER
"""
import sys
from pathlib import Path

from PIL import Image, ImageDraw

RED = (220, 30, 40)
DARK = (30, 30, 30)
LIGHT = (230, 230, 230)
MAGENTA = (255, 0, 255)  # transparent in the row icons


def program_icon(size):
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    r = max(2, size // 6)
    d.rounded_rectangle([0, 0, size - 1, size - 1], radius=r, fill=DARK + (255,),
                        outline=RED + (255,), width=max(1, size // 16))
    # The brand's "V": two strokes meeting at the bottom.
    w = max(2, size // 7)
    top, bottom = size * 0.22, size * 0.80
    d.line([(size * 0.22, top), (size * 0.5, bottom)], fill=RED + (255,), width=w)
    d.line([(size * 0.78, top), (size * 0.5, bottom)], fill=RED + (255,), width=w)
    return img


def submenu_mark():
    img = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    ImageDraw.Draw(img).polygon([(6, 4), (11, 8), (6, 12)], fill=LIGHT + (255,))
    return img


def row_icon(kind):
    img = Image.new("RGB", (16, 16), MAGENTA)
    d = ImageDraw.Draw(img)
    if kind == "pause":  # a clock
        d.ellipse([2, 2, 13, 13], outline=LIGHT, width=1)
        d.line([(8, 8), (8, 4)], fill=LIGHT)
        d.line([(8, 8), (11, 8)], fill=LIGHT)
    elif kind == "down":  # arrow down, red
        d.polygon([(3, 7), (12, 7), (8, 13)], fill=RED)
        d.rectangle([6, 2, 9, 7], fill=RED)
    elif kind == "up":  # arrow up, light
        d.polygon([(3, 8), (12, 8), (8, 2)], fill=LIGHT)
        d.rectangle([6, 8, 9, 13], fill=LIGHT)
    else:  # a mouse
        d.rounded_rectangle([4, 1, 11, 14], radius=3, outline=LIGHT, width=1)
        d.line([(8, 1), (8, 6)], fill=LIGHT)
        d.line([(4, 6), (11, 6)], fill=LIGHT)
    return img


def installer_side():
    # The size the installer's welcome and finish pages show at 96 DPI.
    img = Image.new("RGB", (164, 314), DARK)
    icon = program_icon(96)
    img.paste(icon, (34, 40), icon)
    ImageDraw.Draw(img).rectangle([0, 300, 163, 313], fill=RED)
    return img


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    sizes = [16, 24, 32, 48, 64, 256]
    program_icon(256).save(out / "t30config.ico", sizes=[(s, s) for s in sizes])
    submenu_mark().save(out / "submenu.ico", sizes=[(16, 16)])
    for name in ("pause", "up", "down", "mouse"):
        row_icon(name).save(out / f"row_{name}.bmp")
    installer_side().save(out / "installer_side.bmp")


if __name__ == "__main__":
    main()
