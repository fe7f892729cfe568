"""Pieces shared by several windows: the OK and Cancel region buttons (one shape everywhere,
since their masks are shared files), dialog frames and title bands."""

from PIL import ImageDraw

from skinkit import controls as C
from skinkit import paint as P
from skinkit.model import Control, Text, rect_wh

REGION_SIZE = (100, 30)
REGION_CUT = 8


def region_shape(rect):
    return P.chamfer_polygon(rect, REGION_CUT)


def region_mask_picture():
    w, h = REGION_SIZE
    return P.white_outside((w, h), polygon=region_shape((0, 0, w, h)))


def region_button(key, name, left, top, caption_id, mask):
    return Control(key, name, rect_wh(left, top, *REGION_SIZE), C.region(region_shape),
                   region_mask=mask, texts=[Text(caption_id, (0, 0) + REGION_SIZE, 15,
                                                 align="centre", wrap=False,
                                                 colour=(255, 255, 255))])


def dialog_decor(title_band=48):
    """Dark dialog body with a darker title band and a red line under it."""
    def decorate(image, state):
        d = ImageDraw.Draw(image)
        w, h = image.size
        d.rectangle((0, 0, w - 1, h - 1), fill=P.WINDOW_BG)
        d.rectangle((0, 0, w - 1, title_band - 1), fill=P.BAND_BG)
        d.line((0, title_band, w - 1, title_band), fill=P.RED)
        d.rounded_rectangle((0, 0, w - 1, h - 1), 8, outline=P.FRAME)
    return decorate


def dialog_mask(image_size, radius=8):
    return P.white_outside(image_size, radius=radius)


def close_button(key, left, top, tooltip=""):
    return Control(key, "close", rect_wh(left, top, 26, 22),
                   C.push(icon=C.icon_close, radius=3), tooltip=tooltip)
