"""Painters for the controls: each returns paint(image, rect, state), drawing the control as it
looks in one of the four whole-window state pictures. Captions that the program draws are
never painted here; only marks that no language string carries (icons, check marks, the
modifier names of the shortcut dialog, report rates in hertz)."""

from PIL import ImageDraw

from . import paint as P


def push(label=None, icon=None, radius=3, label_height=14):
    """A push button face, optionally with a baked label or icon in the state's mark colour."""
    def draw(image, rect, state):
        d = ImageDraw.Draw(image)
        P.face(d, rect, state, radius)
        if label:
            P.centred_text(d, rect, label, label_height, P.GLYPH[state], bold=True)
        if icon:
            icon(image, rect, state)
    return draw


def region(polygon):
    """A region button: the face follows the outline of its mask."""
    def draw(image, rect, state):
        d = ImageDraw.Draw(image)
        f = P.FACE[state]
        pts = polygon(rect)
        d.polygon(pts, fill=f["fill"], outline=f["edge"])
        if state == "Down":
            l, t, r, b = rect
            d.line((l + 2, b - 3, r - 12, b - 3), fill=P.RED)
    return draw


def tab(polygon):
    """A page tab; its pressed (checked) face joins the page below it."""
    def draw(image, rect, state):
        d = ImageDraw.Draw(image)
        pts = polygon(rect)
        l, t, r, b = rect
        if state == "Down":
            d.polygon(pts, fill=P.PAGE_BG, outline=P.FRAME)
            d.line((l + 10, t, r - 11, t), fill=P.RED, width=1)
            d.line((l + 9, t + 1, r - 10, t + 1), fill=P.RED, width=1)
            d.line((l + 1, b - 1, r - 2, b - 1), fill=P.PAGE_BG)
        else:
            f = P.FACE[state]
            d.polygon(pts, fill=f["fill"], outline=f["edge"] if state == "Over" else P.FRAME)
    return draw


def dropdown():
    """A button that opens a menu: a face with a small arrow at its right end."""
    def draw(image, rect, state):
        d = ImageDraw.Draw(image)
        P.face(d, rect, state)
        l, t, r, b = rect
        cy = (t + b) / 2
        P.triangle(image, (r - 16, cy - 2.5, r - 8, cy + 2.5), "down", P.GLYPH[state])
    return draw


def check(label=None, radio=False, label_height=14):
    """A check (or radio) mark at the left of the control: empty at rest, outlined red when
    hovered, ticked when pressed or checked, dim when disabled. The caption, when the program
    draws one, begins 22 units from the left, right of the box."""
    def draw(image, rect, state):
        l, t, r, b = rect
        cy = (t + b) // 2
        bx = (l + 3, cy - 8, l + 19, cy + 8)
        edge = {"Normal": (140, 140, 140), "Over": P.RED, "Down": P.RED,
                "Disable": (70, 70, 70)}[state]
        fill = {"Normal": (24, 24, 24), "Over": (24, 24, 24), "Down": (24, 24, 24),
                "Disable": (36, 36, 36)}[state]
        d = ImageDraw.Draw(image)
        if radio:
            P.circle(image, ((bx[0] + bx[2]) / 2, (bx[1] + bx[3]) / 2), 7.5, fill=fill,
                     outline=edge, width=1.2)
        else:
            d.rounded_rectangle((bx[0], bx[1], bx[2] - 1, bx[3] - 1), 2, fill=fill, outline=edge)
        if state == "Down":
            P.check_mark(image, (bx[0] + 1, bx[1] + 1, bx[2] - 1, bx[3] - 1), P.RED_BRIGHT, 2.2)
        if label:
            colour = {"Normal": P.TEXT, "Over": (255, 0, 0), "Down": (255, 0, 0),
                      "Disable": (110, 110, 110)}[state]
            P.text(d, (l + 24, cy), label, label_height, colour, bold=True, anchor="lm")
    return draw


def swatch():
    """Frame of a colour button; the program fills the inside (inset 2) with the colour, except
    when disabled, when the hatched inside shows that there is no colour to choose."""
    def draw(image, rect, state):
        d = ImageDraw.Draw(image)
        l, t, r, b = rect
        edge = {"Normal": (110, 110, 110), "Over": P.RED, "Down": P.RED_BRIGHT,
                "Disable": (60, 60, 60)}[state]
        d.rectangle((l, t, r - 1, b - 1), outline=edge, width=2)
        d.rectangle((l + 2, t + 2, r - 3, b - 3), fill=(40, 40, 40))
        if state == "Disable":
            for x in range(l - (b - t), r, 5):
                d.line((max(x, l + 2), t + 2 + max(0, l + 2 - x), min(x + b - t, r - 3),
                        min(b - 3, t + 2 + (min(x + b - t, r - 3) - x))), fill=(58, 58, 58))
    return draw


def track(ticks=11):
    """Slider track: a groove near the bottom with tick marks; the knob rides on it."""
    def draw(image, rect, state):
        d = ImageDraw.Draw(image)
        l, t, r, b = rect
        y = b - 4
        d.rounded_rectangle((l + 1, y - 1, r - 2, y + 1), 1, fill=(16, 16, 16),
                            outline=(80, 80, 80))
        if ticks > 1:
            for i in range(ticks):
                x = round(l + 6 + (r - l - 13) * i / (ticks - 1))
                d.line((x, y - 5, x, y - 3), fill=(90, 90, 90))
    return draw


def spin():
    """The two arrows of a spin control: up in the top 21 rows, down from row 22."""
    def draw(image, rect, state):
        d = ImageDraw.Draw(image)
        l, t, r, b = rect
        up = (l, t, r, t + 21)
        down = (l, t + 22, r, b)
        for part, direction in ((up, "up"), (down, "down")):
            P.face(d, part, state if state != "Down" else "Down", 2)
            pl, pt, pr, pb = part
            cx, cy = (pl + pr) / 2, (pt + pb) / 2
            P.triangle(image, (cx - 4.5, cy - 3, cx + 4.5, cy + 3), direction, P.GLYPH[state])
    return draw


def framed(colour=P.FRAME):
    """A control that paints itself (list, edit, label): only a frame just outside it."""
    def draw(image, rect, state):
        d = ImageDraw.Draw(image)
        l, t, r, b = rect
        d.rectangle((l - 1, t - 1, r, b), outline=colour)
    return draw


def nothing():
    def draw(image, rect, state):
        pass
    return draw


# Icons for push buttons ------------------------------------------------------------------

def icon_close(image, rect, state):
    l, t, r, b = rect
    cx, cy = (l + r) / 2, (t + b) / 2
    c = P.GLYPH[state]
    P.polyline(image, [(cx - 5, cy - 5), (cx + 5, cy + 5)], c, 1.8)
    P.polyline(image, [(cx + 5, cy - 5), (cx - 5, cy + 5)], c, 1.8)


def icon_minimise(image, rect, state):
    l, t, r, b = rect
    cx, cy = (l + r) / 2, (t + b) / 2
    P.polyline(image, [(cx - 6, cy + 4), (cx + 6, cy + 4)], P.GLYPH[state], 2)


def icon_folder(image, rect, state):
    l, t, r, b = rect
    cx, cy = (l + r) / 2, (t + b) / 2
    c = P.GLYPH[state]
    P.polyline(image, [(cx - 8, cy - 5), (cx - 3, cy - 5), (cx - 1, cy - 3), (cx + 8, cy - 3),
                       (cx + 8, cy + 6), (cx - 8, cy + 6)], c, 1.4, closed=True)


def icon_record(image, rect, state):
    l, t, r, b = rect
    P.circle(image, (l + 17, (t + b) / 2), 6, fill=P.RED if state != "Disable" else (90, 40, 40))


def icon_stop(image, rect, state):
    l, t, r, b = rect
    cy = (t + b) / 2
    d = ImageDraw.Draw(image)
    colour = P.GLYPH[state] if state != "Normal" else (200, 200, 200)
    d.rectangle((l + 12, cy - 5, l + 22, cy + 5), fill=colour)


def lamp():
    """The recording lamp: the program disables this button while a recording runs, so its
    disabled picture is the lit lamp."""
    def draw(image, rect, state):
        l, t, r, b = rect
        centre = ((l + r) / 2, (t + b) / 2)
        if state == "Disable":
            P.circle(image, centre, 9, fill=(90, 10, 10))
            P.circle(image, centre, 6.5, fill=P.RED_BRIGHT)
        else:
            P.circle(image, centre, 9, fill=(34, 34, 34), outline=(80, 80, 80), width=1.2)
            P.circle(image, centre, 5.5, fill=(70, 30, 30))
    return draw


def emblem():
    """The brand mark at the top left; the spare button it sits on does nothing, so it looks
    the same in every state."""
    def draw(image, rect, state):
        l, t, r, b = rect
        P.polyline(image, [(l + 3, t + 5), (l + 14, t + 23), (l + 25, t + 5), (l + 19, t + 5),
                           (l + 14, t + 14), (l + 9, t + 5)], None, fill=P.RED)
    return draw


def dpi_stage(selector, slider, value):
    """One DPI stage window, in window coordinates of its inner parts. The current stage is
    shown with the pressed picture: a red bar and top line and a filled selector. The slider's
    track is cut from the resting picture, so nothing changes under it."""
    def draw(image, rect, state):
        d = ImageDraw.Draw(image)
        l, t, r, b = rect
        d.rectangle((l, t, r - 1, b - 1), fill=(26, 26, 26))
        if state == "Down":
            d.rectangle((l, t, l + 3, b - 1), fill=P.RED)
            d.line((l, t, r - 1, t), fill=P.RED)
        sl, st, sr, sb = selector
        centre = (l + (sl + sr) / 2, t + (st + sb) / 2)
        ring = {"Normal": (140, 140, 140), "Over": P.RED, "Down": P.RED,
                "Disable": (70, 70, 70)}[state]
        P.circle(image, centre, 7.5, fill=(24, 24, 24), outline=ring, width=1.4)
        if state == "Down":
            P.circle(image, centre, 4, fill=P.RED_BRIGHT)
        tl, tt, tr, tb = slider
        track(ticks=0)(image, (l + tl, t + tt, l + tr, t + tb), state)
        vl, vt, vr, vb = value
        d.rectangle((l + vl - 1, t + vt - 1, l + vr, t + vb), outline=P.FRAME)
    return draw
