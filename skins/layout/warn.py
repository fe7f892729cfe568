"""Warning dialog, shared by all five warnings: red title line, message, OK and Cancel."""

from skinkit.model import Text, Window

from . import common

W, H = 400, 258

TEXTS = [
    Text(251, (20, 1, 200, 49), 18, colour=(255, 0, 0)),
    Text(260, (40, 80, 360, 200), 15, align="centre", also=(252, 254, 256, 258, 265)),
]


def window():
    controls = [
        common.region_button("1", "ok", 184, 216, 107, "ok_mask.bmp"),
        common.region_button("2", "cancel", 290, 216, 108, "cancel_mask.bmp"),
        common.close_button("3", 364, 12),
    ]
    return Window(ini="skin_warn.ini", section="SCREEN", prefix="warn", size=(W, H),
                  required_keys=["1", "2", "3"], controls=controls, texts=TEXTS,
                  decorate=common.dialog_decor(), mask=lambda: common.dialog_mask((W, H)))
