#!/usr/bin/env python3
"""Renders a preview of every skinned window for a human to look at: the resting picture with
each control's rectangle outlined and the texts the program will draw (English strings from the
language library's source) placed where the program draws them, plus a sheet of the four state
pictures. Output goes to a folder of PNG files (keep it out of the source tree).

    preview.py SKIN_FOLDER LANGUAGE_RC OUTPUT_FOLDER
"""

import dataclasses
import importlib
import os
import re
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from layout import WINDOWS  # noqa: E402
from skinkit import paint as P  # noqa: E402
from skinkit.model import STATES, picture_name  # noqa: E402

OUTLINE = (0, 200, 255)
# Controls shown checked (cut from the pressed picture), as the program shows them at rest.
CHECKED = {"main": ("1", "10"), "button_page": ("71", "72"), "advance_setting": ("2",),
           "select_macro": ("5",), "key": ("6", "7")}
TEXT_BOX = (255, 200, 0)


def load_strings(rc_path):
    folder = os.path.dirname(rc_path)
    ids = {}
    with open(os.path.join(folder, "string_ids.h"), encoding="utf-8") as f:
        for m in re.finditer(r"#define\s+(IDS_\w+)\s+(\d+)", f.read()):
            ids[m.group(1)] = int(m.group(2))
    strings = {}
    with open(rc_path, encoding="utf-8") as f:
        for m in re.finditer(r'^\s*(IDS_\w+)\s+"(.*)"\s*$', f.read(), re.M):
            strings[ids[m.group(1)]] = m.group(2)
    return strings


def wrap(draw, s, font, width):
    lines = []
    for para in s.split("\n"):
        words = para.split(" ")
        line = ""
        for word in words:
            trial = (line + " " + word).strip()
            if draw.textlength(trial, font=font) <= width or not line:
                line = trial
            else:
                lines.append(line)
                line = word
        lines.append(line)
    return lines


def text_fits(t, s):
    """Whether the program's text s has room in its rectangle: one line no wider than the
    rectangle (less the indent), or wrapped lines no taller than it."""
    d = ImageDraw.Draw(Image.new("RGB", (1, 1)))
    font = P.font(t.height)
    width = t.rect[2] - t.rect[0] - t.indent
    if not t.wrap:
        return d.textlength(s, font=font) <= width
    lines = wrap(d, s, font, width)
    return all(d.textlength(line, font=font) <= width for line in lines) and \
        len(lines) * t.height <= t.rect[3] - t.rect[1]


def draw_text(image, origin, t, strings, boxes):
    """Like the program's DrawText: word-wrapped (or one line), left or centred, vertically
    centred when the text is lower than its rectangle, clipped to the rectangle."""
    s = strings.get(t.string_id, "") if t.string_id is not None else t.sample
    ox, oy = origin
    l, top, r, b = t.rect
    l, r = l + ox + t.indent, r + ox
    top, b = top + oy, b + oy
    layer = Image.new("RGBA", image.size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    font = P.font(t.height)
    line_h = t.height
    lines = wrap(d, s, font, r - l) if t.wrap else [s]
    total = line_h * len(lines)
    y = top + (b - top - total) // 2 if total < b - top and t.valign == "centre" else top
    for line in lines:
        if t.align == "centre":
            d.text(((l + r) / 2, y + line_h / 2), line, font=font, fill=t.colour, anchor="mm")
        else:
            d.text((l, y + line_h / 2), line, font=font, fill=t.colour, anchor="lm")
        y += line_h
    clip = Image.new("L", image.size, 0)
    ImageDraw.Draw(clip).rectangle((l, top, r - 1, b - 1), fill=255)
    layer.putalpha(Image.composite(layer.getchannel("A"), Image.new("L", image.size, 0), clip))
    image.paste(layer, (0, 0), layer)
    if boxes:
        ImageDraw.Draw(image).rectangle((l - t.indent, top, r - 1, b - 1), outline=TEXT_BOX)
        if not text_fits(t, s):
            ImageDraw.Draw(image).rectangle((l - t.indent - 1, top - 1, r, b), outline=(255, 0, 0))
            print("  text %r does not fit %r" % (s, t.rect), file=sys.stderr)


def compose(window, skin, state, strings, boxes, checked=None):
    image = Image.open(os.path.join(skin, picture_name(window, state))).convert("RGB")
    mask = Image.open(os.path.join(skin, picture_name(window, "Mask"))).convert("L")
    outside = mask.point(lambda v: 255 if v == 255 else 0)
    image.paste((255, 255, 255), (0, 0), outside)
    knob = Image.open(os.path.join(skin, "scroll_arrow_down.bmp")).convert("RGB")
    key = knob.getpixel((0, 0))
    knob_mask = Image.new("L", knob.size, 0)
    for y in range(knob.size[1]):
        for x in range(knob.size[0]):
            if knob.getpixel((x, y)) != key:
                knob_mask.putpixel((x, y), 255)
    if state == "Normal":
        down = Image.open(os.path.join(skin, picture_name(window, "Down"))).convert("RGB")
        if checked is None:
            checked = CHECKED.get(window.prefix, ())
        for key in checked:
            rect = window.control(key).rect
            image.paste(down.crop(rect), rect[:2])
    for t in window.texts:
        draw_text(image, (0, 0), t, strings, boxes)
    d = ImageDraw.Draw(image)
    for c in window.controls:
        if c.hidden:
            continue
        for t in c.texts:
            if c.key in (checked or ()) and t.colour == (110, 110, 110):
                t = dataclasses.replace(t, colour=(255, 255, 255))  # current DPI stage title
            draw_text(image, c.rect[:2], t, strings, boxes)
        if c.paint and c.paint.__qualname__.startswith(("track", "dpi_stage")):
            if c.paint.__qualname__.startswith("track"):
                l, top = c.rect[0] + (c.rect[2] - c.rect[0]) // 3, c.rect[1]
            else:
                l, top = c.rect[0] + 35 + 90, c.rect[1] + 14
            image.paste(knob, (l, top), knob_mask)
        if boxes:
            d.rectangle((c.rect[0], c.rect[1], c.rect[2] - 1, c.rect[3] - 1), outline=OUTLINE)
            d.text((c.rect[0] + 1, c.rect[1]), c.key, font=P.font(10), fill=OUTLINE)
    return image


def main(argv):
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    skin, rc, out = argv[1:]
    strings = load_strings(rc)
    os.makedirs(out, exist_ok=True)
    for name in WINDOWS:
        window = importlib.import_module("layout." + name).window()
        print(window.ini, file=sys.stderr)
        image = compose(window, skin, "Normal", strings, True)
        image.save(os.path.join(out, window.prefix + ".png"))
        if window.prefix == "main":
            # the whole window as the user sees it, with each page in the page rectangle
            page = window.control("9").rect
            for page_name in ("button_page", "advance_setting"):
                page_window = importlib.import_module("layout." + page_name).window()
                tab = ("1", "10") if page_name == "button_page" else ("2", "10")
                whole = compose(window, skin, "Normal", strings, False, tab)
                whole.paste(compose(page_window, skin, "Normal", strings, False), page[:2])
                whole.save(os.path.join(out, "main_with_%s.png" % page_name))
        w, h = window.size
        sheet = Image.new("RGB", (w * 2 + 10, h * 2 + 10), (255, 255, 255))
        for i, state in enumerate(STATES):
            sheet.paste(compose(window, skin, state, strings, False),
                        ((i % 2) * (w + 10), (i // 2) * (h + 10)))
        sheet.save(os.path.join(out, window.prefix + "_states.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
