#!/usr/bin/env python3
"""Writes the shipped keyboard descriptions: data/config.xml and data/layouts/*.xml.

Run from anywhere: python3 tools/layoutgen/make_layouts.py
Key codes are HID keyboard usages (written in hexadecimal), key and light indices
follow the keys row by row, and rectangles come from a grid of 1u = 54 px keys with
a 2 px gap on each side.
"""
import os
from xml.sax.saxutils import quoteattr

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
UNIT = 54        # pixels per key unit
INSET = 2        # gap between a key's cell and its drawn rectangle, each side
MARGIN = 12      # border of the picture around the keys
PAGE_WIDTH = 1280
PICTURE_TOP = 120
VENDOR_ID = 0x3A5C
ROW_GAP_AFTER_FUNCTION_ROW = 0.5

# Lighting capability bits.
BRIGHTNESS, SPEED, DIR_LR, DIR_UD = 0x001, 0x002, 0x004, 0x008
PALETTE, CUSTOM_COLOUR, COLOURS, GRADIENTS = 0x010, 0x020, 0x040, 0x080
PER_KEY, MUSIC, SCREEN = 0x100, 0x200, 0x400

# Lighting modes: text id of the name -> capability bits. The names live in the
# language files under these ids.
MODES = {
    "static": (800, BRIGHTNESS | PALETTE | CUSTOM_COLOUR | COLOURS),
    "breathing": (801, BRIGHTNESS | SPEED | PALETTE | CUSTOM_COLOUR | COLOURS),
    "wave": (802, BRIGHTNESS | SPEED | DIR_LR | GRADIENTS),
    "raindrops": (803, BRIGHTNESS | SPEED | DIR_UD | CUSTOM_COLOUR | COLOURS),
    "spectrum": (804, BRIGHTNESS | SPEED),
    "reactive": (805, BRIGHTNESS | SPEED | CUSTOM_COLOUR | COLOURS),
    "starlight": (806, BRIGHTNESS | SPEED | CUSTOM_COLOUR | COLOURS),
    "per_key": (807, BRIGHTNESS | PALETTE | PER_KEY),
    "music": (808, BRIGHTNESS | MUSIC),
    "screen": (809, BRIGHTNESS | SCREEN),
    "snake": (810, BRIGHTNESS | SPEED | DIR_LR | CUSTOM_COLOUR | COLOURS),
}


def k(code, label, desc=None, w=1.0, h=1.0, fn_locked=False):
    return ("key", code, label, desc or label, w, h, fn_locked)


def gap(w):
    return ("gap", w)


def at(x):
    return ("at", x)


# Rows of keys: (code, label, description, width, height). Codes are HID usages.
def function_row(with_nav):
    row = [k(0x29, "Esc", "Escape"), gap(1)]
    for group in ((0x3A, 0x3B, 0x3C, 0x3D), (0x3E, 0x3F, 0x40, 0x41), (0x42, 0x43, 0x44, 0x45)):
        row += [k(c, "F%d" % (c - 0x39)) for c in group]
        row.append(gap(0.5))
    row.pop()
    if with_nav:
        row += [at(15.5), k(0x46, "PrtSc", "Print Screen"), k(0x47, "ScrLk", "Scroll Lock"),
                k(0x48, "Pause")]
    return row


DIGITS = [k(0x1E + i, str((i + 1) % 10)) for i in range(10)]
QWERTY = [k(0x04 + ord(c) - ord("A"), c) for c in "QWERTYUIOP"]
ASDF = [k(0x04 + ord(c) - ord("A"), c) for c in "ASDFGHJKL"]
ZXCV = [k(0x04 + ord(c) - ord("A"), c) for c in "ZXCVBNM"]


def main_block(bottom_right):
    """The 15u-wide typing block, rows 1-5 of a full keyboard."""
    return [
        [k(0x35, "`", "Grave")] + DIGITS + [k(0x2D, "-", "Minus"), k(0x2E, "=", "Equals"),
                                             k(0x2A, "Backspace", w=2)],
        [k(0x2B, "Tab", w=1.5)] + QWERTY + [k(0x2F, "["), k(0x30, "]"), k(0x31, "\\", "Backslash", w=1.5)],
        [k(0x39, "Caps", "Caps Lock", w=1.75)] + ASDF + [k(0x33, ";"), k(0x34, "'"),
                                                          k(0x28, "Enter", w=2.25)],
        [k(0xE1, "Shift", "Left Shift", w=2.25)] + ZXCV + [k(0x36, ","), k(0x37, "."), k(0x38, "/"),
                                                            k(0xE5, "Shift", "Right Shift", w=2.75)],
        [k(0xE0, "Ctrl", "Left Ctrl", w=1.25), k(0xE3, "Win", "Left Windows", w=1.25),
         k(0xE2, "Alt", "Left Alt", w=1.25), k(0x2C, "Space", w=6.25)] + bottom_right,
    ]


FULL_BOTTOM_RIGHT = [k(0xE6, "Alt", "Right Alt", w=1.25), k(0xAF, "Fn", w=1.25, fn_locked=True),
                     k(0x65, "Menu", "Application", w=1.25), k(0xE4, "Ctrl", "Right Ctrl", w=1.25)]

NAV_ROWS = [
    [at(15.5), k(0x49, "Ins", "Insert"), k(0x4A, "Home"), k(0x4B, "PgUp", "Page Up")],
    [at(15.5), k(0x4C, "Del", "Delete"), k(0x4D, "End"), k(0x4E, "PgDn", "Page Down")],
    [],
    [at(16.5), k(0x52, "Up", "Arrow Up")],
    [at(15.5), k(0x50, "Left", "Arrow Left"), k(0x51, "Down", "Arrow Down"), k(0x4F, "Right", "Arrow Right")],
]

NUMPAD_ROWS = [
    [at(19), k(0x53, "Num", "Num Lock"), k(0x54, "/", "Keypad /"), k(0x55, "*", "Keypad *"),
     k(0x56, "-", "Keypad -")],
    [at(19), k(0x5F, "7", "Keypad 7"), k(0x60, "8", "Keypad 8"), k(0x61, "9", "Keypad 9"),
     k(0x57, "+", "Keypad +", h=2)],
    [at(19), k(0x5C, "4", "Keypad 4"), k(0x5D, "5", "Keypad 5"), k(0x5E, "6", "Keypad 6")],
    [at(19), k(0x59, "1", "Keypad 1"), k(0x5A, "2", "Keypad 2"), k(0x5B, "3", "Keypad 3"),
     k(0x58, "Enter", "Keypad Enter", h=2)],
    [at(19), k(0x62, "0", "Keypad 0", w=2), k(0x63, ".", "Keypad .")],
]


def full_size():
    rows = [function_row(True)]
    for main, nav, pad in zip(main_block(FULL_BOTTOM_RIGHT), NAV_ROWS, NUMPAD_ROWS):
        rows.append(main + nav + pad)
    return rows, True


def tenkeyless():
    rows = [function_row(True)]
    for main, nav in zip(main_block(FULL_BOTTOM_RIGHT), NAV_ROWS):
        rows.append(main + nav)
    return rows, True


def compact_68():
    return [
        [k(0x29, "Esc", "Escape")] + DIGITS + [k(0x2D, "-", "Minus"), k(0x2E, "=", "Equals"),
                                                k(0x2A, "Backspace", w=2), k(0x4A, "Home")],
        [k(0x2B, "Tab", w=1.5)] + QWERTY + [k(0x2F, "["), k(0x30, "]"), k(0x31, "\\", "Backslash", w=1.5),
                                            k(0x4C, "Del", "Delete")],
        [k(0x39, "Caps", "Caps Lock", w=1.75)] + ASDF + [k(0x33, ";"), k(0x34, "'"),
                                                          k(0x28, "Enter", w=2.25), k(0x4B, "PgUp", "Page Up")],
        [k(0xE1, "Shift", "Left Shift", w=2.25)] + ZXCV + [k(0x36, ","), k(0x37, "."), k(0x38, "/"),
                                                            k(0xE5, "Shift", "Right Shift", w=1.75),
                                                            k(0x52, "Up", "Arrow Up"),
                                                            k(0x4E, "PgDn", "Page Down")],
        [k(0xE0, "Ctrl", "Left Ctrl", w=1.25), k(0xE3, "Win", "Left Windows", w=1.25),
         k(0xE2, "Alt", "Left Alt", w=1.25), k(0x2C, "Space", w=6.25),
         k(0xE6, "Alt", "Right Alt"), k(0xAF, "Fn", fn_locked=True), k(0xE4, "Ctrl", "Right Ctrl"),
         k(0x50, "Left", "Arrow Left"), k(0x51, "Down", "Arrow Down"), k(0x4F, "Right", "Arrow Right")],
    ], False


def place(rows, has_function_row):
    """Gives every key its row/column, indices and rectangle; returns keys and picture size."""
    keys, right, bottom = [], 0, 0
    index = 0
    for r, row in enumerate(rows):
        y = r + (ROW_GAP_AFTER_FUNCTION_ROW if has_function_row and r > 0 else 0)
        x, col = 0.0, 0
        for item in row:
            if item[0] == "gap":
                x += item[1]
                continue
            if item[0] == "at":
                x = item[1]
                continue
            _, code, label, desc, w, h, fn_locked = item
            left = MARGIN + round(x * UNIT) + INSET
            top = MARGIN + round(y * UNIT) + INSET
            width = round(w * UNIT) - 2 * INSET
            height = round(h * UNIT) - 2 * INSET
            keys.append(dict(code=code, name=label, desc=desc, key_index=index, light_index=index,
                             row=r, col=col, rect=(left, top, width, height), fn_locked=fn_locked))
            right = max(right, left + width + INSET)
            bottom = max(bottom, top + height + INSET)
            x += w
            col += 1
            index += 1
    return keys, right + MARGIN, bottom + MARGIN


MODELS = [
    dict(device_type=301, name="Vantor K3 Full", layout="vantor_k3_104", shape=full_size,
         cable_pid=0x0301, receiver_pid=0x0311, pid_format="0x%04X", rev="0x0105",
         menu=dict(macro=1, light_mode=1), sleep_time=1,
         firmware=dict(version="1.05", file="vantor_k3_firmware.bin",
                       url="https://updates.vantor.invalid/firmware/k3/",
                       dongle_url="https://updates.vantor.invalid/dongle/k3/"),
         light=dict(rgb_keyboard=1, default_mode=1, default_brightness=4, default_speed=3,
                    brightness_max=5, speed_max=5),
         modes=["static", "breathing", "wave", "raindrops", "spectrum", "reactive", "starlight",
                "per_key", "music", "screen"]),
    dict(device_type=201, name="Vantor K2 TKL", layout="vantor_k2_87", shape=tenkeyless,
         cable_pid=0x0201, receiver_pid=0x0211, pid_format="%04X", rev="0102",
         menu=dict(macro=1, light_mode=1), sleep_time=1,
         firmware=dict(version="1.02", file="vantor_k2_firmware.bin",
                       url="https://updates.vantor.invalid/firmware/k2/",
                       dongle_url="https://updates.vantor.invalid/dongle/k2/"),
         light=dict(rgb_keyboard=1, default_mode=1, default_brightness=3, default_speed=2,
                    brightness_max=4, speed_max=4),
         modes=["static", "breathing", "wave", "raindrops", "spectrum", "reactive", "snake"]),
    dict(device_type=101, name="Vantor K1 Compact", layout="vantor_k1_68", shape=compact_68,
         cable_pid=0x0101, receiver_pid=0x0111, pid_format="0x%04x", rev="0x0100",
         menu=dict(macro=1, light_mode=1), sleep_time=0,
         firmware=dict(version="", file="", url="", dongle_url=""),
         light=dict(rgb_keyboard=1, default_mode=2, default_brightness=4, default_speed=2,
                    brightness_max=4, speed_max=4),
         modes=["static", "breathing", "wave", "spectrum", "reactive", "music"]),
]


def attrs(**values):
    return " ".join("%s=%s" % (name, quoteattr(str(value))) for name, value in values.items())


def layout_xml(model):
    rows, has_function_row = model["shape"]()
    keys, width, height = place(rows, has_function_row)
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           "<!-- Generated by tools/layoutgen/make_layouts.py; edit the script, not this file. -->",
           "<device.info>",
           "  <menu %s/>" % attrs(**model["menu"]),
           "  <function %s/>" % attrs(sleep_time=model["sleep_time"]),
           "  <firmware %s/>" % attrs(**model["firmware"]),
           "  <light %s>" % attrs(**model["light"])]
    for number, mode in enumerate(model["modes"], start=1):
        text_id, caps = MODES[mode]
        out.append("    <info %s/>" % attrs(name=text_id, mode=number, attribute=caps))
    out.append("  </light>")
    out.append("  <Keyboard %s>" % attrs(xpos=(PAGE_WIDTH - width) // 2, ypos=PICTURE_TOP, width=width,
                                         height=height, image="kb_%s.png" % model["layout"],
                                         row_count=len(rows),
                                         col_count=max(sum(1 for i in r if i[0] == "key") for r in rows)))
    out.append("    <KeyItems>")
    for key in keys:
        a = dict(code="0x%02X" % key["code"], name=key["name"], desc=key["desc"],
                 key_index=key["key_index"], light_index=key["light_index"])
        if key["fn_locked"]:
            a["fnlayer_disable"] = 1
        a["row_col"] = "%d_%d" % (key["row"], key["col"])
        a["rect"] = "#".join(str(v) for v in key["rect"])
        out.append("      <key %s/>" % attrs(**a))
    out += ["    </KeyItems>", "  </Keyboard>", "</device.info>", ""]
    return "\n".join(out), len(keys)


def config_xml():
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           "<!-- Generated by tools/layoutgen/make_layouts.py; edit the script, not this file. -->",
           "<config>", "  <device.info>"]
    for m in MODELS:
        out.append("    <keyboard %s>" % attrs(name=m["name"], device_type=m["device_type"],
                                                device_info=m["layout"]))
        for value, desc, pid in ((0, "cable", m["cable_pid"]), (2, "receiver", m["receiver_pid"])):
            out.append("      <mode %s/>" % attrs(
                value=value, desc=desc, vid="0x%04X" % VENDOR_ID, pid=m["pid_format"] % pid, rev=m["rev"],
                hid_interface="VID_%04X&PID_%04X&MI_01" % (VENDOR_ID, pid)))
        out.append("    </keyboard>")
    out += ["  </device.info>",
            '  <software %s>' % attrs(name="Vantor", version="1.0.0"),
            '    <website url="https://www.vantor.invalid/"/>',
            '    <store url="https://store.vantor.invalid/"/>',
            '    <upgrade url="https://updates.vantor.invalid/software/"/>',
            '    <copyright info="Copyright 2026 Vantor"/>',
            "  </software>", "</config>", ""]
    return "\n".join(out)


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def main():
    os.makedirs(os.path.join(ROOT, "data", "layouts"), exist_ok=True)
    for m in MODELS:
        text, count = layout_xml(m)
        write(os.path.join(ROOT, "data", "layouts", m["layout"] + ".xml"), text)
        print("%s: %d keys" % (m["layout"], count))
    write(os.path.join(ROOT, "data", "config.xml"), config_xml())


if __name__ == "__main__":
    main()
