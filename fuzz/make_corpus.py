#!/usr/bin/env python3
"""Writes the seed corpus of every harness to fuzz/corpus/<harness>/ (replacing what is there).

The seeds are the edges a reader must survive: exact record and file sizes and one byte either
side, all-0x00 and all-0xFF images, names without a terminating NUL, counts past their limits,
and for the text readers NUL-only and over-long lines, keys outside any section, and hex that is
odd-length, too long, badly checksummed or not hex at all. Deterministic: run it again and git
shows no change.
"""
import os
import shutil
import struct
import sys

# The fresh profile the end-to-end scenarios start from, kept in one place.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import records  # noqa: E402

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")

# Image sizes of the records as the program lays them out.
MACRO_RECORD = 220  # locked i32, name 24 x UTF-16, repeat i32, count i32, 40 events x 4
BUTTON_SLOT = 756
PROFILE_RECORD = 19892
PROFILE_BLOCK = 99952
BUTTONS_AT = 1748  # offset of the 24 button slots in a profile record


def fill(size, byte):
    return bytes([byte]) * size


def utf16_name(text, units=24, terminate=True):
    raw = text.encode("utf-16-le")
    if terminate:
        raw += b"\0\0"
    return (raw + b"\0" * (2 * units))[: 2 * units]


def event(key, action, delay):
    return struct.pack("<BBH", key, action, delay)


def macro_record(name, events, locked=0, repeat=1, count=None, terminate=True):
    count = len(events) if count is None else count
    body = b"".join(event(*e) for e in events)
    body = (body + b"\0" * 160)[:160]
    return (struct.pack("<i", locked) + utf16_name(name, terminate=terminate) +
            struct.pack("<ii", repeat, count) + body)


def button_slot(function_type, name="", events=(), count=None, repeat=0, run_mode=1,
                index=0, terminate=True):
    count = len(events) if count is None else count
    body = b"".join(event(*e) for e in events)
    body = (body + b"\0" * 160)[:160]
    slot = (struct.pack("<BB", index, function_type) + utf16_name(name, terminate=terminate) +
            b"\0\0" + struct.pack("<iiH", repeat, -1, count & 0xFFFF) + body + b"\0" * 10 +
            struct.pack("<i", run_mode))
    return slot + b"\0" * (BUTTON_SLOT - len(slot))


def profile_with_slots(slots):
    head = b"\0" * BUTTONS_AT
    body = b"".join(slots)
    return head + body + b"\0" * (PROFILE_RECORD - len(head) - len(body))


def ini_hex(data):
    return (data.hex().upper() + "%02X" % (sum(data) & 0xFF)).encode()


def macro_ini(record_hex):
    return b"[Macros]\r\n0=" + record_hex + b"\r\n"


def derive_key():
    acc = 0x5EC7A30D
    for c in "T30k7Mqz":
        acc ^= ord(c) | 0x80
    return acc & 0xFF


def scramble(data, r=77):
    key = derive_key()
    length = len(data) & 0xFF
    out = bytes(b ^ key ^ length for b in data)
    trailer = bytes(b ^ key for b in b"qmvhrkpd\0") + bytes([r % 199])
    trailer += bytes((ord(c) & 0xFF) ^ (r % 199) for c in "T30k7Mqz")
    return out + trailer


# Macro events that stress the report's pair encoding: long pauses before and after each event.
LONG_EVENTS = [(0x04 + i % 30, 1 + i % 2, 0xFFFF) for i in range(40)]
SPIN = macro_record("Spin", [(0x04, 1, 50), (0x04, 2, 1000)])


def sound_profile(number, slots=()):
    """A profile as the program makes it fresh, with `slots` (slot index, ButtonSlot bytes) set:
    it passes the profile check, so the fuzzer starts from input the program takes."""
    p = records.profile(number)
    for b, slot in slots:
        p[BUTTONS_AT + BUTTON_SLOT * b:BUTTONS_AT + BUTTON_SLOT * (b + 1)] = slot
    return bytes(p)


def settings_file():
    macro = button_slot(18, "Spin", [(0x04, 1, 50), (0x04, 2, 1000)], repeat=3, index=4)
    sound = sound_profile(2, [(4, macro), (13, button_slot(17, "", [(0x06, 0x04, 0)], index=13))])
    sound_block = struct.pack("<i", 1) + b"".join(
        sound if n == 2 else sound_profile(n) for n in range(1, 6)) + b"\0" * 488
    overfull = profile_with_slots(
        [button_slot(18 if s % 2 else 50, "A" * 24, LONG_EVENTS, count=0xFFFF, index=s,
                     terminate=False) for s in range(24)])
    return {
        "empty": b"",
        "one_byte": b"\x01",
        "index_only_5": struct.pack("<i", 5),
        "index_only_minus1": struct.pack("<i", -1),
        "index_partial": b"\x02\x00\x00",
        "block_exact_00": fill(PROFILE_BLOCK, 0x00),
        "block_exact_ff": fill(PROFILE_BLOCK, 0xFF),
        "block_short_00": fill(PROFILE_BLOCK - 1, 0x00),
        "block_long_ff": fill(PROFILE_BLOCK + 1, 0xFF),
        "record_exact_00": fill(PROFILE_RECORD, 0x00),
        "record_short_ff": fill(PROFILE_RECORD - 1, 0xFF),
        "record_long_ff": fill(PROFILE_RECORD + 1, 0xFF),
        # A profile file whose every slot is a macro with an unterminated name and a huge count.
        "record_overfull_macros": overfull,
        # The same profile as the first of a settings file.
        "block_overfull_macros": struct.pack("<i", 0) + overfull,
        # Sound profiles: a profile file and a whole block the program takes as they are.
        "record_sound": sound,
        "block_sound": sound_block,
        # The same block with the fourth profile's report rate out of range.
        "block_one_damaged": sound_block[:4 + 3 * PROFILE_RECORD + 1676] + struct.pack("<i", 9) +
                             sound_block[4 + 3 * PROFILE_RECORD + 1680:],
    }


def macro_library():
    greek = macro_record("\u0391\u0392\u0393", [(0x05, 1, 10)])
    greek_lower = macro_record("\u03b1\u03b2\u03b3", [(0x05, 1, 10)])
    return {
        "empty": b"",
        "record_short_00": fill(MACRO_RECORD - 1, 0x00),
        "record_exact_00": fill(MACRO_RECORD, 0x00),
        "record_exact_ff": fill(MACRO_RECORD, 0xFF),
        "record_long_ff": fill(MACRO_RECORD + 1, 0xFF),
        "two_records": SPIN + macro_record("Jump", [(0x2C, 1, 20), (0x2C, 2, 0)]),
        "unterminated_name_bad_count": macro_record("x" * 24, LONG_EVENTS, count=-1,
                                                     terminate=False) +
                                       macro_record("y" * 23, LONG_EVENTS, count=41),
        "names_differ_in_case_and_blanks": SPIN + macro_record(" spin ", []) +
                                           macro_record("SPIN", []) + greek + greek_lower,
        "names_needing_suffix": b"".join(macro_record("z" * 23 if i == 0 else "z" * 21 + "_%d" % i,
                                                      []) for i in range(10)),
        "ten_records_short": b"".join(macro_record("m%d" % i, []) for i in range(10))[:-1],
    }


def macro_file():
    plain = macro_ini(ini_hex(SPIN))
    full = macro_record("w" * 24, LONG_EVENTS, count=0x7FFFFFFF, terminate=False)
    return {
        "empty": b"",
        "plain": plain,
        "scrambled": scramble(plain),
        "scrambled_empty": scramble(b""),
        "trailer_short_00": fill(17, 0x00),
        "trailer_exact_ff": fill(18, 0xFF),
        "trailer_long_00": fill(19, 0x00),
        "plain_unterminated_name": macro_ini(ini_hex(full)),
        "plain_odd_length_hex": macro_ini(ini_hex(SPIN)[:-1]),
        "plain_long_hex": macro_ini(ini_hex(SPIN + b"\0")),
        "plain_bad_checksum": macro_ini(ini_hex(SPIN)[:-2] + b"00"),
        "plain_not_hex": macro_ini(b"G" * (2 * MACRO_RECORD + 2)),
        "plain_lower_case": macro_ini(ini_hex(SPIN).lower()),
        "plain_key_without_section": b"0=" + ini_hex(SPIN) + b"\r\n",
        "scrambled_bad_hex": scramble(macro_ini(b"00" * 3)),
        "scrambled_twice": scramble(scramble(plain), r=5),
    }


def ini_file():
    record = ini_hex(SPIN)
    return {
        "empty": b"",
        "all_00": fill(256, 0x00),
        "all_ff": fill(256, 0xFF),
        "nul_only_line": b"[Macros]\r\n\0\0\0\0\r\n0=" + record + b"\r\n",
        "over_long_line": b"[Macros]\r\n0=" + b"A" * 5000 + b"\r\n",
        "over_long_quoted": b"[Macros]\r\n0=\"" + b"B" * 4094 + b"\"\r\n",
        "key_without_section": b"0=" + record + b"\r\n[Macros]\r\n",
        "struct_one_byte": b"[Macros]\r\n0=0101\r\n",
        "struct_odd_length": b"[Macros]\r\n0=010\r\n",
        "struct_over_long": b"[Macros]\r\n0=" + record + b"00\r\n",
        "struct_record": macro_ini(record),
        "utf8_mark": b"\xEF\xBB\xBF[Macros]\r\n0=\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\r\n",
        "utf8_mark_broken": b"\xEF\xBB\xBF[Macros]\r\n0=\xC3\xE2\x82\xF0\x9F\r\n\xC3",
        "latin1_high": b"[Macros]\r\n0=\x80\x9F\xA0\xFF\r\n",
        "line_ends_mixed": b"[Macros]\r0=0101\n[macros]\n\r0=0202\r\n",
        "section_unclosed": b"[Macros\r\n0=0101\r\n[]\r\n=value\r\n",
        "quotes_alone": b"[Macros]\r\n0=\"\r\n00=\"\"\r\n",
        "blanks_everywhere": b"  [ Macros ]  \r\n\t0\t=\t0101\t\r\n",
        "duplicate_sections": b"[Macros]\r\n1=x\r\n[MACROS]\r\n0=0101\r\n[Macros]\r\n0=0202\r\n",
    }


def feature_reports():
    long_slot = button_slot(18, "Long", LONG_EVENTS, repeat=300, run_mode=0x1FF, index=3)
    paused = button_slot(50, "Pause", [(0x04, 1, 50), (0x04, 2, 1000)], repeat=0, index=2)
    return {
        "empty": b"",
        "one_byte": b"\x17",
        "record_exact_00": fill(PROFILE_RECORD, 0x00),
        "record_exact_ff": fill(PROFILE_RECORD, 0xFF),
        "record_short_00": fill(PROFILE_RECORD - 1, 0x00),
        "record_long_ff": fill(PROFILE_RECORD + 1, 0xFF),
        "slot_long_pauses": long_slot,
        "slot_count_ffff": button_slot(18, "Many", LONG_EVENTS, count=0xFFFF, index=23),
        "slot_empty_macro": button_slot(18, "Empty", [], index=0),
        "slot_paused": paused,
        "slot_short_ff": fill(BUTTON_SLOT - 1, 0xFF),
        "record_all_macros": profile_with_slots(
            [button_slot(18 if s % 2 else 50, "M", LONG_EVENTS, index=s) for s in range(24)]),
    }


def skin_file():
    screen = (b"[SCREEN]\r\nMask=key_mask.bmp\r\nNormal=key_normal.jpg\r\nOver=key_over.jpg\r\n"
              b"Down=key_down.jpg\r\nDisable=key_disable.jpg\r\n")
    big = b"2147483647"
    return {
        "empty": b"",
        "all_00": fill(256, 0x00),
        "all_ff": fill(256, 0xFF),
        "window": screen + b"[BUTTONPOS]\r\n1=ok,184,174,100,30\r\n3=close,364,12,26,22,Close\r\n",
        "name_only": b"[BUTTONPOS]\r\n1=ok\r\n2=,\r\n3=,,,,\r\n4=,,,,,\r\n",
        "saturating": b"[BUTTONPOS]\r\n1=a," + b",".join([big] * 4) + b",x\r\n2=b,-2147483648,"
                      b"-2147483648,-2147483648,-2147483648\r\n3=c,99999999999999999999999,"
                      b"-99999999999999999999999,1,1\r\n",
        "signs_and_blanks": b"[BUTTONPOS]\r\n1=a, +5, -3 ,\t7,8 ,  text  \r\n2=b,--1,+-2,3x,4\r\n",
        "long_name_and_text": b"[BUTTONPOS]\r\n1=" + b"n" * 100 + b",1,2,3,4," + b"t" * 200 +
                              b"\r\n",
        "nul_only_line": b"[BUTTONPOS]\r\n\0\0\0\r\n1=\0,1,2,3,4\r\n",
        "over_long_line": b"[BUTTONPOS]\r\n1=x," + b"1" * 5000 + b",2,3,4\r\n",
        "key_without_section": b"1=ok,1,2,3,4\r\nMask=m.bmp\r\n[BUTTONPOS]\r\n",
        "picture_names_odd": b"[screen]\r\nmask=\"\"\r\nNORMAL=..\\..\\x.jpg\r\nOver=\"a\r\n",
    }


def mask_runs():
    # Header: width, height, flags (1 bottom-up, 2 padded rows), key r g b, tolerance r g b.
    def header(w, h, flags=0, key=(255, 255, 255), tol=(0, 0, 0)):
        return bytes([w, h, flags]) + bytes(key) + bytes(tol)

    white, black = b"\xff\xff\xff\x00", b"\x00\x00\x00\x00"
    stripes = (black + white) * (64 * 64 // 2)  # 2048 one-pixel runs: more than one batch
    return {
        "too_short": header(4, 4)[:8],
        "empty_picture": header(0, 0),
        "all_opaque": header(16, 16) + black * 256,
        "all_transparent": header(16, 16) + white * 256,
        "stripes_batches": header(64, 64) + stripes,
        "stripes_bottom_up_padded": header(64, 64, 3) + stripes,
        "tolerance_wide": header(8, 8, 0, (200, 0, 100), (100, 255, 0)) + bytes(range(256)),
        "short_pixels": header(95, 95, 1) + white * 10,
        "all_ff": fill(300, 0xFF),
        "all_00": fill(300, 0x00),
    }


def jpeg_decode():
    # Small pictures the decoder takes (4:4:4, greyscale, with restart markers) and ones it leaves
    # to the system decoder (subsampled, progressive), as PIL writes them: deterministic.
    import io
    from PIL import Image

    def jpeg(mode, size, **options):
        picture = Image.new(mode, size)
        picture.putdata([((x * 37 + y * 11) % 256, (x * 5) % 256, (y * 29) % 256)[:len(mode)]
                         if mode != "L" else (x * 37 + y * 11) % 256
                         for y in range(size[1]) for x in range(size[0])])
        out = io.BytesIO()
        picture.save(out, "JPEG", **options)
        return out.getvalue()

    colour_444 = jpeg("RGB", (19, 13), quality=95, subsampling=0)
    return {
        "colour_444": colour_444,
        "grey": jpeg("L", (17, 9), quality=80),
        "colour_420": jpeg("RGB", (16, 16), quality=75, subsampling=2),
        "progressive": jpeg("RGB", (12, 12), quality=90, subsampling=0, progressive=True),
        "truncated_444": colour_444[:len(colour_444) // 2],
        "only_start": b"\xff\xd8",
        "all_ff": fill(300, 0xFF),
    }


def main():
    for name, seeds in (("settings_file", settings_file()), ("macro_library", macro_library()),
                        ("macro_file", macro_file()), ("ini_file", ini_file()),
                        ("feature_reports", feature_reports()), ("skin_file", skin_file()),
                        ("mask_runs", mask_runs()), ("jpeg_decode", jpeg_decode())):
        folder = os.path.join(ROOT, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for seed, data in seeds.items():
            with open(os.path.join(folder, seed), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
