"""Button assignment page: assignment buttons and the mouse drawing on the left; report rate,
lighting and the six DPI stages with their colours on the right."""

from PIL import ImageDraw

from skinkit import controls as C
from skinkit import paint as P
from skinkit.model import Control, Text, Window, rect_wh
from skinkit.mouse import draw_mouse

W, H = 900, 480
MOUSE = rect_wh(294, 64, 160, 340)

# Button index -> number shown before its function (fixed by the program)
DISPLAY_NUMBER = [1, 2, 3, 5, 4, 0, 7, 8, 9, 6, 11, 12]
SAMPLE_FUNCTION = ["Left Click", "Right Click", "Middle Click", "Forward", "Back", "Disabled",
                   "DPI Up", "DPI Down", "Fire Key", "Report Rate", "Scroll Up", "Scroll Down"]
# Every function name a button can show (after its number and a dot)
FUNCTION_LABELS = tuple(range(1003, 1063)) + (1078,) + tuple(range(1104, 1111)) + (1142, 1147,
                                                                                   1148)
# Rows from the top: buttons in the order of their numbers, the unnumbered one (0) last.
ROW_ORDER = sorted(range(12), key=lambda i: DISPLAY_NUMBER[i] if DISPLAY_NUMBER[i] else 99)

# DPI stage window: size and inner layout (window coordinates) that the page gives it
DPI_SIZE = (355, 30)
DPI_SELECTOR = (13, 11, 31, 29)
DPI_TITLE = (35, 0, 310, 14)
DPI_SLIDER = (35, 14, 300, 30)
DPI_VALUE = (309, 13, 347, 27)
DPI_LEFT, DPI_TOP, DPI_STRIDE = 505, 264, 35

# Texts the page paints (string, rectangle, alignment), fixed by the program
TEXTS = [
    Text(150, (294, 40, 454, 57), 16, align="centre"),
    Text(151, (522, 40, 658, 57), 16, align="centre"),
    Text(152, (522, 239, 658, 256), 16, align="centre"),
    Text(153, (522, 109, 658, 129), 16, align="centre"),
    Text(154, (520, 130, 672, 150), 16, align="left"),
    Text(155, (520, 176, 672, 196), 16, align="left"),
    Text(159, (686, 125, 860, 145), 16, align="left"),
]


def decorate(image, state):
    d = ImageDraw.Draw(image)
    d.rectangle((0, 0, W - 1, H - 1), fill=P.PAGE_BG)
    P.heading_plate(d, (294, 38, 454, 59))
    P.heading_plate(d, (522, 38, 658, 59), line_to=884)
    P.heading_plate(d, (522, 108, 658, 129), line_to=884)
    P.heading_plate(d, (522, 237, 658, 258), line_to=884)
    d.line((486, 30, 486, 460), fill=(48, 48, 48))
    image.paste(draw_mouse((MOUSE[2] - MOUSE[0], MOUSE[3] - MOUSE[1])), MOUSE[:2])


def assignment_button(index):
    row = ROW_ORDER.index(index)
    sample = "%d.%s" % (DISPLAY_NUMBER[index], SAMPLE_FUNCTION[index])
    return Control(str(index + 1), "button%d" % (index + 1), rect_wh(20, 40 + row * 30, 262, 26),
                   C.dropdown(), texts=[Text(None, (0, 1, 262, 27), 15, wrap=False, indent=10,
                                             colour=(255, 255, 255), sample=sample,
                                             also=FUNCTION_LABELS)])


def hidden_button(index):
    # Slots 12..23 are a second bank that the mouse never receives; showing twelve more
    # buttons all numbered 1 would only confuse, so they get no area.
    return Control(str(index + 1), "button%d" % (index + 1), (0, 0, 0, 0),
                   hidden="second bank of slots, not sent to the mouse")


def dpi_window(k):
    left, top = DPI_LEFT, DPI_TOP + k * DPI_STRIDE
    w, h = DPI_SIZE
    return Control(str(72 + k), "dpi%d" % (k + 1), rect_wh(left, top, w, h),
                   C.dpi_stage(DPI_SELECTOR, DPI_SLIDER, DPI_VALUE),
                   texts=[Text(160 + k, DPI_TITLE, 14, wrap=False, colour=(110, 110, 110)),
                          Text(None, DPI_VALUE, 14, align="centre", wrap=False,
                               colour=(200, 200, 200), sample=str((8 + 16 * k) * 38))])


def stage_colour(k):
    top = DPI_TOP + k * DPI_STRIDE + 9
    return Control(str(30 + k), "colour%d" % (k + 1), rect_wh(866, top, 24, 18), C.swatch())


def report_rate(j):
    return Control(str(68 + j), "rate%d" % (j + 1), rect_wh(522 + j * 90, 66, 84, 28),
                   C.push(label=("125 Hz", "250 Hz", "500 Hz", "1000 Hz")[j]))


def dpi_mask():
    return P.white_outside(DPI_SIZE, radius=4)


def write_mouse(marked):
    return lambda: draw_mouse((MOUSE[2] - MOUSE[0], MOUSE[3] - MOUSE[1]), marked)


def window():
    controls = [assignment_button(i) for i in range(12)]
    controls += [hidden_button(i) for i in range(12, 24)]
    controls += [stage_colour(k) for k in range(5)]
    controls += [
        Control("67", "restore", rect_wh(20, 412, 262, 28), C.push(),
                texts=[Text(158, (0, 0, 262, 28), 15, align="centre", wrap=False,
                            colour=(255, 255, 255))]),
    ]
    controls += [report_rate(j) for j in range(4)]
    controls += [dpi_window(k) for k in range(6)]
    controls += [
        Control("87", "effect", rect_wh(520, 152, 152, 24), C.dropdown(),
                texts=[Text(1125, (0, 0, 152, 24), 15, wrap=False, indent=10,
                            colour=(255, 255, 255), also=(1124, 1126, 1144, 1145))]),
        Control("88", "level", rect_wh(520, 198, 152, 24), C.dropdown(),
                texts=[Text(1085, (0, 0, 152, 24), 15, wrap=False, indent=10,
                            colour=(255, 255, 255),
                            also=(1080, 1081, 1082, 1084, 1086))]),
        Control("90", "colour", rect_wh(686, 152, 60, 24), C.swatch()),
        Control("105", "picture", MOUSE, C.nothing()),
    ]
    extra = [("DPI_Window_Mask.bmp", dpi_mask), ("mouse.jpg", write_mouse(None)),
             ("Mouse/mouse.jpg", write_mouse(None))]
    extra += [("Mouse/mouse%d.jpg" % n, write_mouse(n)) for n in range(1, 10)]
    required = [str(k) for k in list(range(1, 25)) + list(range(30, 35)) + list(range(67, 78))
                + [87, 88, 90, 105]]
    return Window(ini="skin_button_page.ini", section="Screen", prefix="button_page",
                  size=(W, H), required_keys=required, controls=controls, texts=TEXTS,
                  decorate=decorate, mask=lambda: P.white_outside((W, H)),
                  extra_files=extra)
