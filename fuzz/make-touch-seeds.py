#!/usr/bin/env python3
"""Writes the seed corpus of fuzz-touches into fuzz/corpus/touches/.

Each seed is a program in the byte code that fuzz/touches.cc reads (its `step` function): one
operation byte (taken modulo 16), then the operation's operands. The seeds are sessions a person
would have, swipes of each kind among them, and the hostile turns the fuzzer is to build on:
settings rewritten or garbled mid-swipe, a player closed or switched mid-swipe, two fingers,
coordinates no screen has, a screen of no size, the rate stepper tapped past its ends.

Deterministic; seeds already there (regression cases among them) are left alone.
"""

import os
import struct

import settings_keys

DOWN, MOVE, UP, CANCEL, SETTING, FILE, OPEN, CLOSE, CURRENT, TAP, CONTROLS, OTHER = (
    0, 2, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15)

# FuzzInput::anyInteger's table, by value.
INTEGERS = [0, 1, 2, 3, 4, -1, -2, 10, 70, 100, 250, 2**31 - 1, -(2**31), 2**63 - 1, -(2**63),
            2**31, 2**32 - 1, (2**31 - 1) // 10, -(2**31) // 10 + 1]
# FuzzInput::specialDouble's table, by name.
SPECIALS = ["0", "-0", "1", "-1", "0.5", "187.5", "subnormal", "1e9", "-1e9", "2^64", "1e300",
            "-1e300", "max", "-max", "inf", "-inf", "nan", "2*FLT_MAX"]
# The touch target's key indices: the table's rows in order, then a key the library does not read.
KEYS = settings_keys.keys() + ["unknownKey"]


def coordinate(value):
    """A coordinate: a number on the fine grid around the screen, or a special's name."""
    if isinstance(value, str):
        return bytes([255, 0, SPECIALS.index(value)])
    selector = int((value + 100) // 4)
    fraction = round((value + 100 - 4 * selector) * 64)
    return bytes([selector, fraction])


def points(*pts):
    head = bytes([0 if len(pts) == 2 else 1])
    return head + b"".join(coordinate(x) + coordinate(y) for x, y in pts)


def down(*pts, taps=1):
    tap = {1: 0, 0: 160, 2: 162, 3: 163}[taps]
    return bytes([DOWN]) + points(*pts) + bytes([tap])


def move(*pts):
    return bytes([MOVE]) + points(*pts)


def swipe(start, end, steps=20):
    out = down(start)
    for i in range(1, steps + 1):
        t = i / steps
        out += move((start[0] + (end[0] - start[0]) * t, start[1] + (end[1] - start[1]) * t))
    return out + bytes([UP])


def setting(key, value, notify=True):
    """value: an integer from INTEGERS, a bool, or bytes for a string."""
    out = bytes([SETTING, KEYS.index(key)])
    if isinstance(value, bool):
        out += bytes([1, int(value)])
    elif isinstance(value, int):
        out += bytes([2, INTEGERS.index(value)])
    else:
        out += bytes([5, 0, len(value)]) + value
    return out + bytes([1 if notify else 0])


def garbage_file(data):
    return bytes([FILE, 1, len(data)]) + data


def notify():
    return bytes([FILE, 0])


def open_player(width=374, height=210, rates=(0.25, 0.5, 1.0, 1.5, 2.0)):
    def length(v):
        return bytes([int((v - 50) // 4)])

    out = bytes([OPEN]) + length(width) + length(height) + bytes([len(rates), 1])
    for rate in rates:
        out += bytes([2, int(rate * 64)])
    return out


def close(index=0):
    return bytes([CLOSE, index])


def current(index):
    return bytes([CURRENT, index])


def tap(increment, direct=False):
    return bytes([TAP, 1 if increment else 0, 1 if direct else 0])


def controls_shown(shown):
    return bytes([CONTROLS, 0, 1 if shown else 0])


def host_rate(index):
    return bytes([CONTROLS, 3, 1, index])


def wait(ms):
    return bytes([OTHER, 1, 1, ms % 32])


def screen(width, height):
    def length(v):
        return bytes([255, 0, SPECIALS.index(v)]) if isinstance(v, str) else bytes(
            [int((v - 50) // 4)])

    return bytes([OTHER, 0, 0]) + length(width) + length(height)


def volume(special):
    return bytes([OTHER, 0, 1, 0, SPECIALS.index(special)])


SEEDS = {
    "volume-swipe": open_player() + swipe((300, 50), (100, 50)) + wait(20),
    "seek-swipe": open_player() + swipe((60, 150), (300, 150)),
    "brightness-swipe": setting("topArea", 2) + open_player() + swipe((100, 40), (320, 40)),
    "no-kind-swipe": setting("bottomArea", 10) + open_player() + swipe((60, 150), (300, 150)),
    "speed-reload-mid-swipe": open_player() + down((300, 50)) +
    b"".join(move((300 - 12 * i, 50)) for i in range(1, 10)) + setting("speed", 2**31 - 1) +
    b"".join(move((192 - 12 * i, 50)) for i in range(1, 10)) + setting("speed", -(2**31)) +
    move((20, 50)) + bytes([UP]) + wait(20),
    "garbage-mid-swipe": open_player() + down((300, 50)) +
    b"".join(move((300 - 15 * i, 50)) for i in range(1, 8)) + garbage_file(b"bplist00\xff" * 8) +
    b"".join(move((195 - 15 * i, 50)) for i in range(1, 8)) + bytes([UP]) + wait(31),
    "close-mid-swipe": open_player() + open_player() + down((300, 50)) +
    b"".join(move((300 - 15 * i, 50)) for i in range(1, 8)) + close(1) +
    b"".join(move((195 - 15 * i, 50)) for i in range(1, 4)) + bytes([UP]) + wait(31),
    "switch-mid-swipe": open_player() + open_player() + down((60, 150)) +
    b"".join(move((60 + 20 * i, 150)) for i in range(1, 8)) + current(0) + move((250, 150)) +
    bytes([UP]) + swipe((300, 50), (100, 50)),
    "stepper-taps": open_player() + tap(True) + tap(True) + tap(False, direct=True) +
    tap(True, direct=True) * 6 + tap(False) * 8 + host_rate(2) + tap(True),
    "stepper-hidden": open_player() + controls_shown(False) + tap(True) + controls_shown(True) +
    tap(False),
    "two-fingers": open_player() + down((300, 50), (300, 150)) + move((200, 50), (200, 150)) +
    move((100, 50), (100, 150)) + bytes([UP]) + down((300, 50)) + move((200, 50)) +
    down((250, 100)) + move((100, 50)) + bytes([CANCEL]),
    "taps-before-drag": open_player() + down((300, 50), taps=2) + move((100, 50)) +
    move((50, 50)) + bytes([UP]) + down((300, 50), taps=0) + move((100, 50)) + bytes([UP]),
    "coordinates-no-screen-has": open_player() + down((300, 50)) + move(("nan", 50)) +
    move(("inf", "nan")) + move(("-inf", 50)) + move(("max", 50)) + move(("1e300", 50)) +
    move(("-max", "-0")) + bytes([UP]) + down(("nan", "nan")) + move((100, 50)) + bytes([UP]),
    "screen-of-no-size": screen("0", "0") + open_player() + swipe((300, 50), (100, 50)) +
    screen("nan", 667) + swipe((300, 150), (10, 150)),
    "negative-settings": setting("speed", -1) + setting("activateAfter", -(2**31)) +
    open_player() + swipe((300, 50), (100, 50)) + setting("speed", 0) + swipe((60, 150),
                                                                              (300, 150)),
    "huge-settings": setting("speed", 2**31 - 1) + setting("activateAfter", 2**31 - 1) +
    open_player() + swipe((300, 50), (100, 50)) + setting("speed", b"99999999999999999999") +
    open_player() + swipe((300, 50), (100, 50)),
    "no-rates": open_player(rates=()) + tap(True) + tap(False) + host_rate(0),
    "outside-volume": volume("nan") + volume("inf") + open_player() + swipe((300, 50),
                                                                            (100, 50)) + wait(31),
}


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "touches")
    os.makedirs(folder, exist_ok=True)
    for name, program in sorted(SEEDS.items()):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(program)
    print("wrote %d seeds into %s" % (len(SEEDS), folder))


if __name__ == "__main__":
    main()
