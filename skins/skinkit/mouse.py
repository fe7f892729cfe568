"""The drawing of the mouse seen from above, with any one of its buttons marked."""

import math

from PIL import Image, ImageChops, ImageDraw

from . import paint as P

S = P.SCALE


def _body(w, h):
    """Outline points of the body: a rounded shell, narrower at the front."""
    cx = w / 2
    pts = []
    for i in range(180):
        a = 2 * math.pi * i / 180
        c, s = math.cos(a), math.sin(a)
        x = math.copysign(abs(c) ** (2 / 2.6), c)
        y = math.copysign(abs(s) ** (2 / 2.6), s)
        half = 0.36 * w * (1 - 0.12 * (1 - (y + 1) / 2))  # front (top) a little narrower
        pts.append((cx + x * half, h / 2 + y * (h / 2 - 10)))
    return pts


# Buttons by number: (kind, geometry in fractions of width and height)
def _buttons(w, h):
    cx = w / 2
    top = 10
    split = top + 0.46 * (h - 20)
    return {
        1: ("shell", (0, 0, cx - 2, split)),
        2: ("shell", (cx + 2, 0, w, split)),
        3: ("pill", (cx - 6, top + 36, cx + 6, top + 88)),
        7: ("pill", (cx - 6, top + 98, cx + 6, top + 116)),
        8: ("pill", (cx - 6, top + 120, cx + 6, top + 138)),
        6: ("dot", (cx, split + 36, 8)),
        9: ("side", (w * 0.14 - 3, top + 90, w * 0.14 + 7, top + 122)),
        5: ("side", (w * 0.14 - 4, split + 28, w * 0.14 + 6, split + 70)),
        4: ("side", (w * 0.14 - 3, split + 76, w * 0.14 + 7, split + 118)),
    }


_NUMBER_AT = {  # where each button's number is written, as offsets from the button
    1: lambda g, w: ((g[0] + g[2]) / 2 + 8, g[3] - 40),
    2: lambda g, w: ((g[0] + g[2]) / 2 - 8, g[3] - 40),
    3: lambda g, w: (g[2] + 10, (g[1] + g[3]) / 2),
    7: lambda g, w: (g[2] + 10, (g[1] + g[3]) / 2),
    8: lambda g, w: (g[2] + 10, (g[1] + g[3]) / 2),
    6: lambda g, w: (g[0] + 16, g[1]),
    9: lambda g, w: (g[0] - 8, (g[1] + g[3]) / 2),
    5: lambda g, w: (g[0] - 8, (g[1] + g[3]) / 2),
    4: lambda g, w: (g[0] - 8, (g[1] + g[3]) / 2),
}


def draw_mouse(size, marked=None, background=P.PAGE_BG):
    """The mouse in size (width, height); marked is the number of the button shown in red."""
    w, h = size
    big = Image.new("RGB", (w * S, h * S), background)
    d = ImageDraw.Draw(big)
    body = [(x * S, y * S) for x, y in _body(w, h)]
    d.polygon(body, fill=(46, 46, 46))
    shell_mask = Image.new("L", big.size, 0)
    ImageDraw.Draw(shell_mask).polygon(body, fill=255)
    buttons = _buttons(w, h)

    def fill_for(n):
        return P.RED if n == marked else (58, 58, 58)

    for n, (kind, g) in buttons.items():
        if kind != "shell":
            continue
        part = Image.new("L", big.size, 0)
        ImageDraw.Draw(part).rectangle([v * S for v in g], fill=255)
        part = ImageChops.multiply(part, shell_mask)
        big.paste(fill_for(n), (0, 0), part)
    # seams between the shell buttons and the body
    split = buttons[1][1][3]
    d.line((w / 2 * S, 0, w / 2 * S, split * S), fill=(26, 26, 26), width=2 * S)
    d.line((0, split * S, w * S, split * S), fill=(26, 26, 26), width=2 * S)
    big.paste(background, (0, 0), ImageChops.invert(shell_mask))
    for n, (kind, g) in buttons.items():
        if kind == "pill" or kind == "side":
            r = (g[2] - g[0]) / 2
            d.rounded_rectangle([v * S for v in g], r * S, fill=fill_for(n),
                                outline=(20, 20, 20), width=S)
        elif kind == "dot":
            cx, cy, r = g
            d.ellipse(((cx - r) * S, (cy - r) * S, (cx + r) * S, (cy + r) * S),
                      fill=fill_for(n), outline=(20, 20, 20), width=S)
    d.line(body + body[:1], fill=(96, 96, 96), width=int(1.5 * S), joint="curve")
    # the cable
    d.line((w / 2 * S, 0, w / 2 * S, 10 * S), fill=(70, 70, 70), width=3 * S)
    image = big.resize(size, Image.LANCZOS)
    dd = ImageDraw.Draw(image)
    for n, (kind, g) in buttons.items():
        x, y = _NUMBER_AT[n](g, w)
        colour = (255, 255, 255) if n == marked else (150, 150, 150)
        P.text(dd, (x, y), str(n), 13, colour, bold=(n == marked), anchor="mm")
    return image
