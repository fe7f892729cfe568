"""Settings records as the program writes them, for the shell scenarios to start from.

    python3 "$e2e_dir/records.py" defaults FILE   # a fresh start's Config.data

or, from Python, `import records` (with tests/e2e on sys.path) for `profile(n)` and `block()`.
The offsets are those of the profile record (profile_record.h)."""
import struct
import sys

PROFILE_SIZE = 19892
BLOCK_SIZE = 99952
BUTTONS_AT = 1748  # the first of 24 button slots
SLOT_SIZE = 756


def profile(n):
    """Profile n (1..5) of a fresh start, from the program's own defaults (profile_store.cpp)."""
    p = bytearray(PROFILE_SIZE)
    p[0:500] = ("Default%d" % n).encode("utf-16-le").ljust(500, b"\0")

    def i32(off, *v):
        p[off:off + 4 * len(v)] = struct.pack("<%di" % len(v), *v)

    i32(1500, 6, 3, 0, 6, 10, 0, 3, 0, 0, 1, 8, 8, 8, 1, 1, 1, 26, 42, 63, 84, 126, 126)
    i32(1608, 1, 1, 1, 1, 1, 0, 0, 0)
    p[1640:1652] = bytes([1, 2, 3, 4, 4, 5, 5, 6, 6, 0, 1, 1])
    i32(1652, 3, 2, 6, 1, 1, 10, 2, 1, 4, 1, 0, 1, 0, 0, 0, 0, 1, 0xFF, 0)
    i32(1728, 0xFF, 0xFF00, 0xFF0000, 0xFF00FF, 0xFFFF00)
    for b, code in enumerate([2, 3, 4, 5, 6, 1, 14, 15, 7, 42, 9, 10]):
        p[BUTTONS_AT + SLOT_SIZE * b] = b
        p[BUTTONS_AT + SLOT_SIZE * b + 1] = code
    return p


def block(profiles=None, current=0):
    """A whole settings file: the current index, five profiles, the button marks."""
    profiles = profiles or [profile(n) for n in range(1, 6)]
    data = bytearray(struct.pack("<i", current))
    for p in profiles:
        data += p
    data += bytes(BLOCK_SIZE - len(data))
    assert len(data) == BLOCK_SIZE
    return data


if __name__ == "__main__" and len(sys.argv) == 3 and sys.argv[1] == "defaults":
    open(sys.argv[2], "wb").write(block())
