"""Palette, fonts and drawing primitives shared by every window of the skin set."""

from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/liberation/"

# Dark theme; the program's own text colours are white (normal), red (hover, pressed, checked)
# and grey (disabled), so button faces stay dark in every state.
WINDOW_BG = (30, 30, 30)
PAGE_BG = (36, 36, 36)
BAND_BG = (22, 22, 22)
PANEL = (42, 42, 42)
PANEL_EDGE = (58, 58, 58)
FRAME = (72, 72, 72)
TEXT = (230, 230, 230)
TEXT_DIM = (150, 150, 150)
TEXT_OFF = (100, 100, 100)
RED = (220, 28, 28)
RED_DARK = (120, 18, 18)
RED_BRIGHT = (255, 40, 40)

FACE = {  # button faces by state
    "Normal": dict(fill=(52, 52, 52), edge=(74, 74, 74)),
    "Over": dict(fill=(64, 64, 64), edge=RED),
    "Down": dict(fill=(26, 26, 26), edge=RED),
    "Disable": dict(fill=(40, 40, 40), edge=(52, 52, 52)),
}

GLYPH = {  # colour of baked marks and icons by state, matching the program's caption colours
    "Normal": (225, 225, 225),
    "Over": (255, 0, 0),
    "Down": (255, 0, 0),
    "Disable": (110, 110, 110),
}

SCALE = 4  # supersampling factor for anti-aliased shapes


def font(height, bold=False):
    """A Liberation Sans font whose cell height matches a Windows font height in logical units
    (Arial's ascent and descent add up to 1.117 em)."""
    name = "LiberationSans-Bold.ttf" if bold else "LiberationSans-Regular.ttf"
    return ImageFont.truetype(FONT_DIR + name, max(1, round(height / 1.117)))


def box(rect, inset=0):
    l, t, r, b = rect
    return (l + inset, t + inset, r - 1 - inset, b - 1 - inset)


def face(draw, rect, state, radius=3, fill=None, edge=None):
    """A flat button face with a one-pixel edge; the pressed face gets a red base line."""
    f = FACE[state]
    draw.rounded_rectangle(box(rect), radius, fill=fill or f["fill"], outline=edge or f["edge"])
    if state == "Down":
        l, t, r, b = rect
        draw.line((l + radius, b - 2, r - 1 - radius, b - 2), fill=RED, width=1)


class Smooth:
    """Draw shapes four times larger on a transparent layer, then shrink and paste them,
    for clean circles, arrows and check marks at icon sizes."""

    def __init__(self, image, rect):
        self.image = image
        self.rect = rect
        w, h = rect[2] - rect[0], rect[3] - rect[1]
        self.layer = Image.new("RGBA", (w * SCALE, h * SCALE), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.layer)

    def s(self, *values):
        """Scale coordinates given in pixels of the rectangle (fractions allowed)."""
        return [v * SCALE for v in values]

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        w, h = self.rect[2] - self.rect[0], self.rect[3] - self.rect[1]
        small = self.layer.resize((w, h), Image.LANCZOS)
        self.image.paste(small, self.rect[:2], small)
        return False


def circle(image, centre, radius, fill=None, outline=None, width=1.0):
    cx, cy = centre
    pad = int(radius + width + 2)
    rect = (int(cx) - pad, int(cy) - pad, int(cx) + pad + 1, int(cy) + pad + 1)
    with Smooth(image, rect) as s:
        ox, oy = cx - rect[0], cy - rect[1]
        s.draw.ellipse(s.s(ox - radius, oy - radius, ox + radius, oy + radius),
                       fill=fill, outline=outline, width=int(width * SCALE))


def polyline(image, points, colour, width=1.5, closed=False, fill=None):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    pad = int(width + 2)
    rect = (int(min(xs)) - pad, int(min(ys)) - pad, int(max(xs)) + pad + 1,
            int(max(ys)) + pad + 1)
    with Smooth(image, rect) as s:
        pts = [(s.s(x - rect[0])[0], s.s(y - rect[1])[0]) for x, y in points]
        if fill is not None:
            s.draw.polygon(pts, fill=fill)
        if colour is not None:
            if closed:
                pts = pts + pts[:1]
            s.draw.line(pts, fill=colour, width=int(width * SCALE), joint="curve")


def check_mark(image, rect, colour, width=2.0):
    l, t, r, b = rect
    w, h = r - l, b - t
    polyline(image, [(l + w * 0.2, t + h * 0.52), (l + w * 0.42, t + h * 0.74),
                     (l + w * 0.8, t + h * 0.28)], colour, width)


def triangle(image, rect, direction, colour):
    l, t, r, b = rect
    cx = (l + r) / 2
    cy = (t + b) / 2
    if direction == "down":
        pts = [(l, t), (r, t), (cx, b)]
    elif direction == "up":
        pts = [(l, b), (r, b), (cx, t)]
    elif direction == "right":
        pts = [(l, t), (r, cy), (l, b)]
    else:
        pts = [(r, t), (l, cy), (r, b)]
    polyline(image, pts, None, fill=colour)


def text(draw, xy, s, height, colour, bold=False, anchor="la"):
    draw.text(xy, s, font=font(height, bold), fill=colour, anchor=anchor)


def centred_text(draw, rect, s, height, colour, bold=False):
    l, t, r, b = rect
    draw.text(((l + r) / 2, (t + b) / 2), s, font=font(height, bold), fill=colour, anchor="mm")


def chamfer_polygon(rect, cut):
    """Outline with the top-left and bottom-right corners cut: the shape of the region
    buttons (masks and faces come from the same points)."""
    l, t, r, b = rect
    return [(l + cut, t), (r - 1, t), (r - 1, b - 1 - cut), (r - 1 - cut, b - 1), (l, b - 1),
            (l, t + cut)]


def tab_polygon(rect, cut):
    """A page tab: both top corners cut."""
    l, t, r, b = rect
    return [(l + cut, t), (r - 1 - cut, t), (r - 1, t + cut), (r - 1, b - 1), (l, b - 1),
            (l, t + cut)]


def white_outside(size, polygon=None, radius=None):
    """A mask picture: white outside the shape, black inside."""
    mask = Image.new("RGB", size, (255, 255, 255))
    d = ImageDraw.Draw(mask)
    if polygon is not None:
        d.polygon(polygon, fill=(0, 0, 0))
    else:
        d.rounded_rectangle((0, 0, size[0] - 1, size[1] - 1), radius or 0, fill=(0, 0, 0))
    return mask


def heading_plate(draw, rect, line_to=None):
    """The plate behind a section heading (the program draws the heading text on it)."""
    l, t, r, b = rect
    draw.rectangle((l - 4, t, r + 3, b - 1), fill=PANEL)
    draw.rectangle((l - 4, t, l - 2, b - 1), fill=RED)
    if line_to:
        draw.line((r + 10, (t + b) // 2, line_to, (t + b) // 2), fill=FRAME)
