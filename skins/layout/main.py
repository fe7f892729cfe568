"""Main window: header with brand, page tabs, the page area, profiles, program binding,
profile file buttons and OK / Apply / Cancel."""

from PIL import ImageDraw

from skinkit import controls as C
from skinkit import paint as P
from skinkit.model import Control, Text, Window, rect_wh

from . import common

W, H = 940, 656
PAGE = rect_wh(20, 84, 900, 480)  # the two pages are 900 x 480
TAB_SIZE = (170, 34)
TAB_CUT = 10


def tab_shape(rect):
    return P.tab_polygon(rect, TAB_CUT)


def tab_mask():
    w, h = TAB_SIZE
    return P.white_outside((w, h), polygon=tab_shape((0, 0, w, h)))


def decorate(image, state):
    d = ImageDraw.Draw(image)
    d.rectangle((0, 0, W - 1, H - 1), fill=P.WINDOW_BG)
    d.rectangle((0, 0, W - 1, 43), fill=P.BAND_BG)
    d.line((0, 44, W - 1, 44), fill=RED_LINE)
    P.text(d, (50, 22), "VANTREL", 22, (235, 235, 235), bold=True, anchor="lm")
    x = 50 + d.textlength("VANTREL ", font=P.font(22, True))
    P.text(d, (x, 22), "T-30", 22, P.RED, bold=True, anchor="lm")
    l, t, r, b = PAGE
    d.rectangle((l - 1, t - 1, r, b), outline=P.FRAME)
    d.line((20, 570, W - 21, 570), fill=(48, 48, 48))
    # the program binding: a small window glyph before the label
    d.rectangle((550, 582, 565, 597), outline=P.TEXT_DIM)
    d.line((550, 586, 565, 586), fill=P.TEXT_DIM)
    d.rounded_rectangle((0, 0, W - 1, H - 1), 10, outline=P.FRAME)


RED_LINE = (150, 20, 20)


def mask():
    return P.white_outside((W, H), radius=10)


def profile_button(i):
    return Control(str(10 + i), "profile%d" % (i + 1), rect_wh(20 + i * 102, 576, 98, 28),
                   C.push(), texts=[Text(102 + i, (0, 0, 98, 28), 15, align="centre",
                                         wrap=False, colour=(255, 255, 255))])


def caption(string_id, w, h):
    return [Text(string_id, (0, 0, w, h), 15, align="centre", wrap=False,
                 colour=(255, 255, 255))]


def window():
    controls = [
        Control("1", "basic", rect_wh(20, 50, *TAB_SIZE), C.tab(tab_shape),
                region_mask="basic_mask.bmp",
                texts=[Text(100, (0, 0) + TAB_SIZE, 18, align="centre", wrap=False,
                            colour=(255, 0, 0))]),
        Control("2", "advanced", rect_wh(194, 50, *TAB_SIZE), C.tab(tab_shape),
                region_mask="advanced_mask.bmp",
                texts=[Text(101, (0, 0) + TAB_SIZE, 18, align="centre", wrap=False,
                            colour=(255, 255, 255))]),
        common.region_button("3", "ok", 608, 614, 107, "ok_mask.bmp"),
        common.region_button("5", "apply", 714, 614, 109, "ok_mask.bmp"),
        common.region_button("4", "cancel", 820, 614, 108, "cancel_mask.bmp"),
        Control("6", "minimise", rect_wh(866, 10, 30, 24), C.push(icon=C.icon_minimise)),
        Control("7", "close", rect_wh(898, 10, 30, 24), C.push(icon=C.icon_close)),
        Control("8", "emblem", rect_wh(14, 8, 28, 28), C.emblem()),
        Control("9", "page", PAGE, C.nothing()),
    ] + [profile_button(i) for i in range(5)] + [
        Control("15", "defaults", rect_wh(20, 614, 150, 30), C.push(),
                texts=caption(210, 150, 30)),
        Control("16", "import", rect_wh(176, 614, 110, 30), C.push(),
                texts=caption(216, 110, 30)),
        Control("17", "export", rect_wh(292, 614, 110, 30), C.push(),
                texts=caption(217, 110, 30)),
        Control("18", "program", rect_wh(572, 578, 276, 24), C.framed(),
                texts=[Text(None, (0, 0, 276, 24), 14, align="centre", wrap=False,
                            colour=(200, 200, 200), sample="game.exe")]),
        Control("19", "browse", rect_wh(852, 578, 32, 24), C.push(icon=C.icon_folder)),
        Control("20", "clear", rect_wh(888, 578, 32, 24), C.push(icon=C.icon_close)),
    ]
    return Window(
        ini="skin_main.ini", section="SCREEN", prefix="main", size=(W, H),
        required_keys=[str(k) for k in range(1, 21)], controls=controls,
        decorate=decorate, mask=mask,
        extra_files=[("basic_mask.bmp", tab_mask), ("advanced_mask.bmp", tab_mask),
                     ("ok_mask.bmp", common.region_mask_picture),
                     ("cancel_mask.bmp", common.region_mask_picture)])
