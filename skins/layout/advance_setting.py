"""Advanced page: pointer speed, scroll speed and double-click speed on the left; the macro
editor (macro list, event list, recording controls, repeat count) on the right."""

from PIL import ImageDraw

from skinkit import controls as C
from skinkit import paint as P
from skinkit.model import Control, Text, Window, rect_wh

W, H = 900, 480
GROUP_TOPS = (42, 179, 316)  # tops of the three setting labels, fixed by the program
SLIDER_X = (212, 372)
SPIN_X = 394

TEXTS = [
    Text(200, (69, 42, 187, 72), 15, align="centre"),
    Text(201, (69, 179, 187, 209), 15, align="centre"),
    Text(202, (69, 316, 187, 346), 15, align="centre"),
    Text(203, (462, 42, 596, 72), 15, align="centre"),
    Text(204, (449, 69, 570, 101), 15, align="centre"),
    Text(205, (572, 69, 692, 101), 15, align="centre"),
    Text(206, (694, 69, 828, 101), 15, align="centre"),
    Text(207, (700, 172, 828, 192), 15, align="left"),
]


def decorate(image, state):
    d = ImageDraw.Draw(image)
    d.rectangle((0, 0, W - 1, H - 1), fill=P.PAGE_BG)
    for top in GROUP_TOPS:
        d.rounded_rectangle((16, top - 14, 430, top + 92), 4, fill=P.PANEL, outline=P.PANEL_EDGE)
        d.rectangle((16, top - 14, 19, top + 92), fill=P.RED)
        y = top + 15
        P.text(d, (SLIDER_X[0] - 8, y + 3), "\u2212", 16, P.TEXT_DIM, bold=True, anchor="rm")
        P.text(d, (SLIDER_X[1] + 6, y + 3), "+", 16, P.TEXT_DIM, bold=True, anchor="lm")
    d.line((440, 30, 440, 460), fill=(48, 48, 48))
    P.heading_plate(d, (462, 46, 596, 68))
    # column rule under the three column headings
    d.line((449, 101, 828, 101), fill=P.FRAME)


def slider(key, name, top):
    return Control(key, name, (SLIDER_X[0], top + 7, SLIDER_X[1], top + 23), C.track())


def spin(key, name, top):
    return Control(key, name, rect_wh(SPIN_X, top - 7, 22, 43), C.spin())


def check(key, name, rect, string_id):
    return Control(key, name, rect, C.check(),
                   texts=[Text(string_id, (22, 0, rect[2] - rect[0], rect[3] - rect[1]), 15,
                               colour=(255, 255, 255))])


def push(key, name, rect, string_id, icon=None, indent=0):
    w, h = rect[2] - rect[0], rect[3] - rect[1]
    return Control(key, name, rect, C.push(icon=icon),
                   texts=[Text(string_id, (indent, 0, w, h), 15,
                               align="left" if indent else "centre", wrap=bool(indent),
                               colour=(255, 255, 255))])


def window():
    a, b, c = GROUP_TOPS
    controls = [
        slider("1", "speed", a),
        spin("3", "speedspin", a),
        slider("4", "wheel", b),
        spin("6", "wheelspin", b),
        slider("7", "dblclick", c),
        spin("8", "dblclickspin", c),
        check("2", "precision", rect_wh(40, a + 50, 380, 28), 208),
        check("5", "pagescroll", rect_wh(40, b + 50, 380, 28), 209),
        push("9", "defaults", rect_wh(40, 440, 170, 28), 210),
        push("10", "new", rect_wh(450, 412, 118, 28), 214),
        push("11", "delete", rect_wh(574, 412, 118, 28), 215),
        push("20", "import", rect_wh(450, 444, 118, 28), 216),
        push("21", "export", rect_wh(574, 444, 118, 28), 217),
        Control("12", "lamp", rect_wh(842, 109, 24, 24), C.lamp()),
        push("15", "record", rect_wh(700, 106, 128, 30), 211, icon=C.icon_record, indent=35),
        push("16", "stop", rect_wh(700, 140, 128, 30), 212, icon=C.icon_stop, indent=35),
        Control("17", "repeat", rect_wh(700, 196, 60, 24), C.framed(),
                texts=[Text(None, (3, 0, 60, 24), 16, wrap=False, colour=(0, 0, 0),
                            sample="1")]),
        Control("13", "macros", rect_wh(450, 104, 118, 300), C.framed(),
                texts=[Text(None, (5, 0, 118, 20), 15, wrap=False, sample="Jump")]),
        Control("14", "events", rect_wh(574, 104, 118, 300), C.framed(),
                texts=[Text(None, (5, 0, 118, 20), 15, wrap=False, sample="A"),
                       Text(None, (5, 20, 118, 40), 15, wrap=False, sample="100 ms")]),
        check("19", "delays", rect_wh(700, 230, 180, 28), 213),
    ]
    required = [str(k) for k in list(range(1, 18)) + [19, 20, 21]]
    return Window(ini="skin_advance_setting.ini", section="SCREEN", prefix="advance_setting",
                  size=(W, H), required_keys=required, controls=controls, texts=TEXTS,
                  decorate=decorate, mask=lambda: P.white_outside((W, H)))
