"""Shortcut key dialog: the key field, the hint, five modifier check buttons whose pictures
name their meaning, OK and Cancel."""

from skinkit import controls as C
from skinkit.model import Control, Text, Window, rect_wh

from . import common

W, H = 400, 216

TEXTS = [
    Text(262, (20, 1, 300, 49), 18),
    Text(263, (30, 90, 360, 120), 15),
]

# Check button n gives modifier bit n; its picture says what the bit means.
MODIFIERS = [("Key only", 86), ("Shift", 66), ("Ctrl", 60), ("Alt", 54), ("Win", 58)]


def window():
    controls = [
        Control("4", "keyfield", rect_wh(40, 56, 320, 28), C.framed(),
                texts=[Text(None, (0, 0, 320, 28), 16, align="centre", wrap=False,
                            sample="L_Ctrl")]),
        common.region_button("1", "ok", 184, 174, 107, "ok_mask.bmp"),
        common.region_button("2", "cancel", 290, 174, 108, "cancel_mask.bmp"),
        common.close_button("3", 364, 12, tooltip="Close"),
    ]
    x = 24
    for n, (label, width) in enumerate(MODIFIERS):
        controls.append(Control(str(5 + n), "mod%d" % n, rect_wh(x, 126, width, 28),
                                C.check(label=label)))
        x += width + 8
    return Window(ini="skin_key.ini", section="SCREEN", prefix="key", size=(W, H),
                  required_keys=[str(k) for k in range(1, 10)], controls=controls,
                  texts=TEXTS, decorate=common.dialog_decor(),
                  mask=lambda: common.dialog_mask((W, H)))
