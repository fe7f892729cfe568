"""Macro selection dialog: macro list on the left, the three run modes and the option on
the right, OK and Cancel below."""

from skinkit import controls as C
from skinkit.model import Control, Text, Window, rect_wh

from . import common

W, H = 400, 350

TEXTS = [
    Text(300, (20, 1, 200, 49), 18),
    Text(301, (30, 50, 350, 80), 14),
    Text(302, (210, 72, 380, 136), 14),
    Text(303, (210, 137, 380, 185), 14),
    Text(304, (210, 181, 380, 259), 14),
]


def window():
    controls = [
        common.region_button("1", "ok", 184, 308, 107, "ok_mask.bmp"),
        common.region_button("2", "cancel", 290, 308, 108, "cancel_mask.bmp"),
        common.close_button("3", 364, 12),
        Control("4", "macros", rect_wh(24, 86, 156, 206), C.framed(),
                texts=[Text(None, (5, 0, 156, 20), 15, wrap=False, colour=(0, 0, 0),
                            sample="Jump")]),
        Control("5", "mode1", rect_wh(184, 93, 24, 22), C.check(radio=True)),
        Control("6", "mode2", rect_wh(184, 150, 24, 22), C.check(radio=True)),
        Control("7", "mode3", rect_wh(184, 209, 24, 22), C.check(radio=True)),
        Control("8", "option", rect_wh(186, 264, 200, 28), C.check(),
                texts=[Text(305, (22, 0, 200, 28), 15, colour=(255, 255, 255))]),
    ]

    return Window(ini="skin_select_macro.ini", section="SCREEN", prefix="select_macro",
                  size=(W, H), required_keys=[str(k) for k in range(1, 9)], controls=controls,
                  texts=TEXTS, decorate=common.dialog_decor(),
                  mask=lambda: common.dialog_mask((W, H)))
