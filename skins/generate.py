#!/usr/bin/env python3
"""Writes the development skin set into a folder: the six description files, their state
pictures and masks, the region-button masks, the slider knob, the DPI stage mask and the mouse
pictures. Every window is checked first; any problem stops the build.

    generate.py OUTPUT_FOLDER
"""

import importlib
import os
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from layout import WINDOWS  # noqa: E402
from layout import button_page, common  # noqa: E402
from skinkit import paint as P  # noqa: E402
from skinkit.model import STATES, description_file, picture_name, validate  # noqa: E402

KNOB_KEY = (255, 0, 255)  # the knob's top-left pixel colour is cut out of its shape


def load_windows():
    return [importlib.import_module("layout." + name).window() for name in WINDOWS]


def render(window, state):
    image = Image.new("RGB", window.size, P.WINDOW_BG)
    if window.decorate:
        window.decorate(image, state)
    for control in window.controls:
        if control.paint and not control.hidden:
            control.paint(image, control.rect, state)
    return image


def knob():
    """The slider knob: a red pointer whose tip rests on the track's groove."""
    image = Image.new("RGB", (13, 16), KNOB_KEY)
    d = ImageDraw.Draw(image)
    body = [(1, 1), (11, 1), (11, 8), (6, 13), (1, 8)]
    d.polygon(body, fill=P.RED, outline=(255, 120, 120))
    d.line((3, 3, 9, 3), fill=(250, 90, 90))
    return image


def cross_checks(windows):
    """What no single window can check: shared masks and the DPI stage window's parts."""
    problems = []
    for w in windows:
        for c in w.controls:
            if c.region_mask in ("ok_mask.bmp", "cancel_mask.bmp"):
                size = (c.rect[2] - c.rect[0], c.rect[3] - c.rect[1])
                if size != common.REGION_SIZE:
                    problems.append("%s key %s: %r is not the size of %s" %
                                    (w.ini, c.key, size, c.region_mask))
    dpi = (0, 0) + button_page.DPI_SIZE
    for part in (button_page.DPI_SELECTOR, button_page.DPI_TITLE, button_page.DPI_SLIDER,
                 button_page.DPI_VALUE):
        if not (part[0] >= 0 and part[1] >= 0 and part[2] <= dpi[2] and part[3] <= dpi[3]):
            problems.append("DPI stage part %r lies outside %r" % (part, dpi))
    knob_h = knob().size[1]
    slider_h = button_page.DPI_SLIDER[3] - button_page.DPI_SLIDER[1]
    if knob_h > slider_h:
        problems.append("knob (%d high) is taller than the DPI slider (%d)" % (knob_h, slider_h))
    return problems


def save(image, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if path.endswith(".jpg"):
        image.save(path, "JPEG", quality=95, subsampling=0)
    elif path.endswith(".bmp"):
        image.save(path, "BMP")
    else:
        raise ValueError("only BMP and JPEG pictures: " + path)


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    out = argv[1]
    windows = load_windows()
    problems = cross_checks(windows)
    for w in windows:
        problems += ["%s: %s" % (w.ini, p) for p in validate(w)]
    if problems:
        for p in problems:
            print("skin error: " + p, file=sys.stderr)
        return 1
    extra = {}
    for w in windows:
        for state in STATES:
            save(render(w, state), os.path.join(out, picture_name(w, state)))
        save(w.mask().convert("L"), os.path.join(out, picture_name(w, "Mask")))
        for name, make in w.extra_files:
            extra[name] = make
        with open(os.path.join(out, w.ini), "wb") as f:
            f.write(description_file(w))
    for name, make in extra.items():
        picture = make()
        save(picture.convert("L") if "mask" in name.lower() else picture,
             os.path.join(out, name))
    save(knob(), os.path.join(out, "scroll_arrow_down.bmp"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
