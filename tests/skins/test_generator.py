#!/usr/bin/env python3
"""Checks of the skin generator: that its reading of an entry matches the program's grammar,
that its checks catch broken layouts, and that the generated folder is what the windows read.

    test_generator.py SKINS_SOURCE_FOLDER GENERATED_SKIN_FOLDER
"""

import configparser
import dataclasses
import importlib
import os
import sys
import unittest

from PIL import Image

SOURCE, GENERATED = sys.argv[1], sys.argv[2]
sys.path.insert(0, SOURCE)

from layout import WINDOWS  # noqa: E402
from skinkit.model import (Control, STATES, Text, parse_skin_entry, picture_name,  # noqa: E402
                           skin_entry, validate)


def open_picture(name):
    with Image.open(os.path.join(GENERATED, name)) as image:
        image.load()
        return image


def windows():
    return [importlib.import_module("layout." + name).window() for name in WINDOWS]


class EntryGrammar(unittest.TestCase):
    def test_reads_entries_as_the_program_does(self):
        cases = [
            ("a,10,20,30,40", ("a", (10, 20, 40, 60), "40")),
            ("a,10,20,30,40,Save file", ("a", (10, 20, 40, 60), "Save file")),
            ("10,20,30,40", ("10", (20, 30, 60, 30), "40")),
            ("", ("", (0, 0, 0, 0), "")),
            ("ok,20,300,80,24", ("ok", (20, 300, 100, 324), "24")),
            ("x,5,6,x,8", ("x", (5, 6, 5, 6), "8")),
            ("close,364,12,26,22, Close ", ("close", (364, 12, 390, 34), "Close")),
        ]
        for value, expected in cases:
            with self.subTest(value=value):
                self.assertEqual(parse_skin_entry(value), expected)


class LayoutChecks(unittest.TestCase):
    """Each broken variant of a real window must be reported."""

    def broken(self, window, change):
        controls = [dataclasses.replace(c) for c in window.controls]
        texts = list(window.texts)
        change(controls, texts)
        return validate(dataclasses.replace(window, controls=controls, texts=texts))

    def test_real_windows_are_clean(self):
        for w in windows():
            with self.subTest(window=w.ini):
                self.assertEqual(validate(w), [])

    def test_faults_are_found(self):
        main = next(w for w in windows() if w.ini == "skin_main.ini")
        ok = main.control("3").rect
        cases = {
            "missing key": lambda cs, ts: cs.remove(next(c for c in cs if c.key == "20")),
            "empty rectangle": lambda cs, ts: setattr(cs[0], "rect", (5, 5, 5, 30)),
            "outside the window": lambda cs, ts: setattr(cs[0], "rect", (900, 600, 990, 640)),
            "overlap": lambda cs, ts: setattr(cs[3], "rect", ok),
            "text on a control": lambda cs, ts: ts.append(Text(1, ok, 15)),
            "comma in a name": lambda cs, ts: setattr(cs[0], "name", "a,b"),
            "hidden with an area": lambda cs, ts: setattr(cs[0], "hidden", "why"),
        }
        for name, change in cases.items():
            with self.subTest(fault=name):
                self.assertNotEqual(self.broken(main, change), [])


class TextsHaveRoom(unittest.TestCase):
    """Every text the program draws from the language library fits where it is drawn, in
    each language the project ships."""

    def test_every_language(self):
        import preview
        lang = os.path.join(os.path.dirname(os.path.abspath(SOURCE)), "lang")
        for rc in ("lan_en.rc", "lan_de.rc"):
            strings = preview.load_strings(os.path.join(lang, rc))
            for w in windows():
                texts = list(w.texts) + [t for c in w.controls for t in c.texts]
                for t in texts:
                    ids = ([t.string_id] if t.string_id is not None else []) + list(t.also)
                    for string_id in ids:
                        with self.subTest(language=rc, window=w.ini, string=string_id):
                            self.assertTrue(preview.text_fits(t, strings[string_id]),
                                            strings[string_id])


class GeneratedFolder(unittest.TestCase):
    def read_ini(self, w):
        path = os.path.join(GENERATED, w.ini)
        with open(path, "rb") as f:
            raw = f.read()
        self.assertNotIn(b"\n", raw.replace(b"\r\n", b""), "line ends must be CRLF")
        ini = configparser.ConfigParser(interpolation=None)
        ini.optionxform = str.lower  # private-profile keys ignore case
        ini.read_string(raw.decode("ascii"))
        return ini

    def test_description_files_name_the_layout(self):
        for w in windows():
            ini = self.read_ini(w)
            section = next(s for s in ini.sections() if s.lower() == w.section.lower())
            for c in w.controls:
                with self.subTest(window=w.ini, key=c.key):
                    name, rect, text = parse_skin_entry(ini["BUTTONPOS"][c.key])
                    self.assertEqual(rect, c.rect)
            for key in w.required_keys:
                self.assertIn(key, ini["BUTTONPOS"])
            for state in ("Mask",) + STATES:
                self.assertEqual(ini[section][state.lower()], picture_name(w, state))

    def test_pictures_fit_their_windows(self):
        for w in windows():
            for state in ("Mask",) + STATES:
                with self.subTest(window=w.ini, state=state):
                    image = open_picture(picture_name(w, state))
                    self.assertIn(image.format, ("BMP", "JPEG", "GIF"))
                    self.assertEqual(image.size, w.size)

    def test_masks_are_black_and_white(self):
        names = [picture_name(w, "Mask") for w in windows()]
        names += ["basic_mask.bmp", "advanced_mask.bmp", "ok_mask.bmp", "cancel_mask.bmp",
                  "DPI_Window_Mask.bmp"]
        for name in names:
            with self.subTest(mask=name):
                image = open_picture(name)
                self.assertEqual(image.format, "BMP")
                colours = {v for _, v in image.convert("L").getcolors()}
                self.assertLessEqual(colours, {0, 255})
                self.assertIn(0, colours, "a mask with nothing inside hides its window")

    def test_region_masks_match_their_buttons(self):
        for w in windows():
            for c in w.controls:
                if not c.region_mask:
                    continue
                with self.subTest(window=w.ini, key=c.key):
                    mask = open_picture(c.region_mask)
                    self.assertEqual(mask.size, (c.rect[2] - c.rect[0], c.rect[3] - c.rect[1]))

    def test_knob_and_mouse_pictures(self):
        knob = open_picture("scroll_arrow_down.bmp").convert("RGB")
        key = knob.getpixel((0, 0))
        self.assertTrue(any(p != key for p in knob.getdata()), "the knob would be invisible")
        page = next(w for w in windows() if w.ini == "skin_button_page.ini")
        picture = page.control("105").rect
        size = (picture[2] - picture[0], picture[3] - picture[1])
        names = ["mouse.jpg", "Mouse/mouse.jpg"] + ["Mouse/mouse%d.jpg" % n for n in range(1, 10)]
        for name in names:
            with self.subTest(picture=name):
                image = open_picture(name)
                self.assertEqual((image.format, image.size), ("JPEG", size))
                # the plain pictures mark nothing; each numbered one marks its button in red
                red = sum(1 for r, g, b in image.convert("RGB").getdata() if r > 170 and g < 80)
                if name[-5].isdigit():
                    self.assertGreater(red, 40)
                else:
                    self.assertEqual(red, 0)

    def test_only_pictures_the_program_can_decode(self):
        for folder, _, files in os.walk(GENERATED):
            for name in files:
                with self.subTest(file=name):
                    self.assertRegex(name.lower(), r"\.(ini|bmp|jpg|gif)$")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
