"""What a skinned window is made of, how its description file is written, and the checks.

A window is described once (skins/layout/*.py); pictures, masks and the description file are
all derived from that one description, so coordinates and pictures cannot drift apart.
"""

from dataclasses import dataclass, field
from typing import Callable, List, Optional, Tuple

Rect = Tuple[int, int, int, int]  # left, top, right, bottom

STATES = ("Normal", "Over", "Down", "Disable")


def rect_wh(left, top, width, height) -> Rect:
    return (left, top, left + width, top + height)


def is_empty(r: Rect) -> bool:
    return r[2] <= r[0] or r[3] <= r[1]


def overlaps(a: Rect, b: Rect) -> bool:
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def inside(inner: Rect, outer: Rect) -> bool:
    return (inner[0] >= outer[0] and inner[1] >= outer[1] and inner[2] <= outer[2]
            and inner[3] <= outer[3])


@dataclass
class Text:
    """A text the program draws itself over the window (never baked into a picture)."""
    string_id: Optional[int]  # language string, or None for a sample value (sample)
    rect: Rect
    height: int  # font height in logical units, as the program asks for it
    align: str = "left"  # left | centre
    valign: str = "centre"  # centre | top
    colour: Tuple[int, int, int] = (230, 230, 230)
    wrap: bool = True
    sample: str = ""  # used when string_id is None (numbers, key names)
    indent: int = 0  # where the text starts inside rect (bitmap-button layouts)
    also: Tuple[int, ...] = ()  # other strings drawn at the same place at other times


@dataclass
class Control:
    key: str  # "BUTTONPOS" key
    name: str  # name field of the entry (not read by the program; helps humans)
    rect: Rect
    paint: Optional[Callable] = None  # paint(image, rect, state) for the state pictures
    hidden: str = ""  # reason, when the control is deliberately given no area
    texts: List[Text] = field(default_factory=list)  # what the program draws on it
    tooltip: str = ""  # text field of the entry, when the window reads it
    may_overlap: Tuple[str, ...] = ()  # keys this control is meant to share area with
    region_mask: Optional[str] = None  # mask file of a region button (checked against shape)


@dataclass
class Window:
    ini: str  # description file name
    section: str  # section of the state pictures
    prefix: str  # file name prefix of the pictures
    size: Tuple[int, int]
    required_keys: List[str]
    controls: List[Control]
    texts: List[Text] = field(default_factory=list)  # drawn by the window itself
    decorate: Optional[Callable] = None  # decorate(image, state) before the controls
    mask: Optional[Callable] = None  # mask(image) paints white outside the window shape
    extra_files: List[Tuple[str, Callable]] = field(default_factory=list)  # (name, writer)

    def control(self, key: str) -> Control:
        return next(c for c in self.controls if c.key == key)


def skin_entry(control: Control) -> str:
    """The BUTTONPOS value: name,left,top,width,height[,text]."""
    left, top, right, bottom = control.rect
    value = "%s,%d,%d,%d,%d" % (control.name, left, top, right - left, bottom - top)
    if control.tooltip:
        value += "," + control.tooltip
    return value


def parse_skin_entry(value: str):
    """The program's reading of an entry, rule by rule, to prove what the file says."""
    comma = value.find(",")
    name = value[:comma] if comma >= 0 else ""
    rest = value[comma + 1:] if comma >= 0 else value
    numbers = []
    pos = 0
    for _ in range(4):  # "%d,%d,%d,%d": stops at the first character that does not fit
        j = pos
        while j < len(rest) and rest[j] in " \t":
            j += 1
        k = j
        if k < len(rest) and rest[k] in "+-":
            k += 1
        d = k
        while d < len(rest) and rest[d].isdigit():
            d += 1
        if d == k:
            break
        numbers.append(int(rest[j:d]))
        pos = d
        if len(numbers) < 4:
            if pos < len(rest) and rest[pos] == ",":
                pos += 1
            else:
                break
    numbers += [0] * (4 - len(numbers))
    left, top, width, height = numbers
    last = rest.rfind(",")
    text = (rest[last + 1:] if last >= 0 else rest).strip()
    return name[:39], (left, top, left + width, top + height), text[:99]


def description_file(window: Window) -> bytes:
    """The description file: 8-bit text with CRLF line ends."""
    lines = ["[%s]" % window.section]
    for state in ("Mask",) + STATES:
        lines.append("%s=%s" % (state, picture_name(window, state)))
    lines.append("")
    lines.append("[BUTTONPOS]")
    for control in window.controls:
        lines.append("%s=%s" % (control.key, skin_entry(control)))
    lines.append("")
    return "\r\n".join(lines).encode("ascii")


def picture_name(window: Window, state: str) -> str:
    if state == "Mask":
        return "%s_mask.bmp" % window.prefix
    return "%s_%s.jpg" % (window.prefix, state.lower())


class SkinError(Exception):
    pass


def validate(window: Window) -> List[str]:
    """Everything that would make the window look or behave wrong; empty when all is well."""
    problems = []
    bounds = (0, 0) + window.size
    keys = [c.key for c in window.controls]
    for key in window.required_keys:
        if key not in keys:
            problems.append("key %s missing" % key)
    if len(set(keys)) != len(keys):
        problems.append("a key is given twice")
    for c in window.controls:
        entry = skin_entry(c)
        name, rect, text = parse_skin_entry(entry)
        if rect != c.rect or name != c.name:
            problems.append("key %s: entry %r reads back as %r %r" % (c.key, entry, name, rect))
        if c.tooltip and text != c.tooltip:
            problems.append("key %s: tooltip %r reads back as %r" % (c.key, c.tooltip, text))
        if "," in c.name or len(c.name) > 39:
            problems.append("key %s: bad name %r" % (c.key, c.name))
        if c.hidden:
            if not is_empty(c.rect):
                problems.append("key %s is marked hidden but has an area" % c.key)
            continue
        if is_empty(c.rect):
            problems.append("key %s: empty rectangle %r" % (c.key, c.rect))
        elif not inside(c.rect, bounds):
            problems.append("key %s: %r lies outside the window %r" % (c.key, c.rect, bounds))
    visible = [c for c in window.controls if not c.hidden]
    for i, a in enumerate(visible):
        for b in visible[i + 1:]:
            if overlaps(a.rect, b.rect) and b.key not in a.may_overlap \
                    and a.key not in b.may_overlap:
                problems.append("keys %s and %s overlap" % (a.key, b.key))
    for t in window.texts:
        if not inside(t.rect, bounds):
            problems.append("text %s at %r lies outside the window" % (t.string_id, t.rect))
        for c in visible:
            if overlaps(t.rect, c.rect):
                problems.append("text %s at %r runs into key %s" % (t.string_id, t.rect, c.key))
    return problems
