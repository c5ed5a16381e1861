#!/usr/bin/python3
"""Black-box scenarios for the editor: each starts the real kestrivane.exe as a
process of its own under Wine, in a fresh folder holding a qx7set.dat, acts as
a user through the X server with xdotool (keys and mouse clicks), and judges
the run by the process's exit code and the bytes left in the file.

Usage: driver.py SCENARIO KESTRIVANE_EXE [WINEPREFIX]
The prefix argument is used only when the environment names none. DISPLAY must
name a running X server whose Wine prefix has Managed=N, so that Wine gives X
focus to its own windows.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

TABLE_FILE = "qx7set.dat"
# The main window's title; xdotool matches it regardless of case, so it also
# matches the caption "Kestrivane" of the editor's message boxes.
MAIN_WINDOW = "^kestrivane$"
QUESTION_BOX = r"^QX7005SET\.DAT$"
ABOUT_BOX = "^About$"
FIELD_BYTES = 32
SLOTS = 151

# Bounds of every wait; polling stops as soon as the condition holds.
WINDOW_TIMEOUT = 20.0
EXIT_TIMEOUT = 10.0
POLL_INTERVAL = 0.05
XDOTOOL_TIMEOUT = "5"

# Wine's caption buttons, measured from the top-right corner of the window's
# frame: the close box is 16 x 14 pixels, its centre 14 pixels in from the
# right edge and 12 down from the top.
CLOSE_BOX_FROM_RIGHT = 14
CLOSE_BOX_FROM_TOP = 12
# A point of the tileset list, from the top-left corner of the window's frame:
# the list spans about 9 to 190 pixels across and 29 to 330 down the client area.
TILESET_LIST_X = 60
TILESET_LIST_Y = 140

# The process's own memory, whose first page is never mapped: the table file
# opens, and its first read fails.
UNREADABLE_TARGET = "/proc/self/mem"


class ScenarioFailed(Exception):
    pass


def field(text):
    if len(text) > FIELD_BYTES:
        raise ValueError("field text longer than 32 bytes")
    return text + b"\0" * (FIELD_BYTES - len(text))


def header(count, slots_per_tileset=SLOTS):
    return struct.pack("<BI", count, slots_per_tileset)


def entry(name, ambient, slots, slots_per_tileset=SLOTS):
    padded = list(slots) + [b""] * (slots_per_tileset - len(slots))
    return field(name) + bytes([ambient]) + b"".join(field(slot) for slot in padded)


def sample_table(desert_slot_1=b"Quicksand\xe9"):
    """Three tilesets; the scenarios rename slot 1 of the second, a ten-byte
    text whose last byte is above 0x7F."""
    return (header(3)
            + entry(b"Grassland", 7, [b"Grass", b"ABCDEFGHIJ", b"", b"Flowers"])
            + entry(b"Desert", 9, [b"Sand", desert_slot_1, b"Dune \xc0\xff"])
            + entry(b"Caves", 0, [b"", b"", b"Rock"]))


ORIGINAL_TABLE = sample_table()
# "Lava" typed over the ten bytes: the typed text and its zero replace the
# first five, the old tail "sand\xe9" and its zero stay behind it.
RENAMED_TABLE = sample_table(b"Lava\0sand\xe9")


def xdotool(*arguments):
    result = subprocess.run(["timeout", XDOTOOL_TIMEOUT, "xdotool"] + [str(a) for a in arguments],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    return result.returncode, result.stdout


class Editor:
    """kestrivane.exe running in a folder of its own."""

    def __init__(self, executable, prefix, table=None, link=None):
        """The folder holds table as qx7set.dat, or a symbolic link to link."""
        self.folder = tempfile.mkdtemp(prefix="kestrivane-e2e-")
        if link is not None:
            os.symlink(link, self.path())
        else:
            with open(self.path(), "wb") as out:
                out.write(table)
        environment = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all")
        self.process = subprocess.Popen(["wine", executable], cwd=self.folder, env=environment,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    def path(self):
        return os.path.join(self.folder, TABLE_FILE)

    def table_bytes(self):
        with open(self.path(), "rb") as source:
            return source.read()

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def visible_windows(self, name):
        """The visible X windows of the process whose title matches name."""
        code, output = xdotool("search", "--all", "--onlyvisible", "--pid", self.process.pid, "--name", name)
        return output.split() if code == 0 else []

    def wait_for_window(self, name):
        deadline = time.monotonic() + WINDOW_TIMEOUT
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise ScenarioFailed("the editor exited with %d before %s appeared"
                                     % (self.process.returncode, name))
            windows = self.visible_windows(name)
            if windows:
                return windows[0]
            time.sleep(POLL_INTERVAL)
        raise ScenarioFailed("no visible window %s within %.0f s; %s" % (name, WINDOW_TIMEOUT, self.describe()))

    def wait_for_message_box(self):
        """The editor's message box, shown over its main window: the smaller of
        the two windows whose title matches MAIN_WINDOW."""
        deadline = time.monotonic() + WINDOW_TIMEOUT
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise ScenarioFailed("the editor exited with %d before its message box appeared"
                                     % self.process.returncode)
            windows = self.visible_windows(MAIN_WINDOW)
            if len(windows) == 2:
                return min(windows, key=self.area)
            time.sleep(POLL_INTERVAL)
        raise ScenarioFailed("no message box within %.0f s; %s" % (WINDOW_TIMEOUT, self.describe()))

    def area(self, window):
        geometry = self.geometry(window)
        return int(geometry["WIDTH"]) * int(geometry["HEIGHT"])

    def geometry(self, window):
        _, output = xdotool("getwindowgeometry", "--shell", window)
        return dict(line.split("=", 1) for line in output.split())

    def wait_until_gone(self, window):
        deadline = time.monotonic() + WINDOW_TIMEOUT
        while time.monotonic() < deadline:
            if window not in self.visible_windows("."):
                return
            time.sleep(POLL_INTERVAL)
        raise ScenarioFailed("window %s still visible after %.0f s" % (window, WINDOW_TIMEOUT))

    def wait_for_exit(self):
        try:
            return self.process.wait(timeout=EXIT_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise ScenarioFailed("the editor still runs %.0f s after closing; %s" % (EXIT_TIMEOUT, self.describe()))

    def describe(self):
        names = [xdotool("getwindowname", window)[1].strip() for window in self.visible_windows(".")]
        return "visible windows of the editor: %s" % (names or "none")

    def focus(self, window):
        code, _ = xdotool("windowfocus", "--sync", window)
        if code != 0:
            raise ScenarioFailed("could not give window %s the X focus" % window)

    def keys(self, window, *keys):
        self.focus(window)
        xdotool("key", *keys)

    def type(self, window, text):
        self.focus(window)
        xdotool("type", text)

    def click(self, window, x, y):
        self.focus(window)
        xdotool("mousemove", "--window", window, x, y)
        xdotool("click", "1")

    def click_close_box(self, window):
        self.click(window, int(self.geometry(window)["WIDTH"]) - CLOSE_BOX_FROM_RIGHT, CLOSE_BOX_FROM_TOP)


def rename_desert_slot(editor, window):
    """Tab to the tileset list, select Desert, Tab to the slot list, select
    slot 1, Tab past Save into the slot name field, select its whole text and
    type "Lava" over it. The focus stays in the slot name field."""
    editor.keys(window, "Tab", "Home", "Down", "Tab", "Home", "Down", "Tab", "Tab", "End", "shift+Home")
    editor.type(window, "Lava")


def expect_exit(editor, expected):
    code = editor.wait_for_exit()
    if code != expected:
        raise ScenarioFailed("exit code %d, expected %d" % (code, expected))


def expect_table(editor, expected):
    actual = editor.table_bytes()
    if actual == expected:
        return
    if len(actual) != len(expected):
        raise ScenarioFailed("qx7set.dat holds %d bytes, expected %d" % (len(actual), len(expected)))
    first = next(i for i in range(len(actual)) if actual[i] != expected[i])
    raise ScenarioFailed("qx7set.dat differs from offset %d: %r, expected %r"
                         % (first, actual[first:first + 16], expected[first:first + 16]))


def answer_question(editor, key):
    box = editor.wait_for_window(QUESTION_BOX)
    editor.keys(box, key)
    return box


def escape_exits_with_2(editor):
    window = editor.wait_for_window(MAIN_WINDOW)
    editor.keys(window, "Escape")
    expect_exit(editor, 2)
    expect_table(editor, ORIGINAL_TABLE)


def alt_f4_exits_with_2(editor):
    window = editor.wait_for_window(MAIN_WINDOW)
    editor.keys(window, "alt+F4")
    expect_exit(editor, 2)


def close_box_exits_with_2(editor):
    window = editor.wait_for_window(MAIN_WINDOW)
    editor.click_close_box(window)
    expect_exit(editor, 2)
    expect_table(editor, ORIGINAL_TABLE)


def enter_in_list_exits_with_1(editor):
    window = editor.wait_for_window(MAIN_WINDOW)
    editor.keys(window, "Tab", "Home", "Return")
    expect_exit(editor, 1)
    expect_table(editor, ORIGINAL_TABLE)


def enter_at_start_opens_about(editor):
    """The About button has the focus at start-up, so Enter presses it;
    Escape ends the About box and leaves the editor running."""
    window = editor.wait_for_window(MAIN_WINDOW)
    editor.keys(window, "Return")
    box = editor.wait_for_window(ABOUT_BOX)
    editor.keys(box, "Escape")
    editor.wait_until_gone(box)
    if editor.process.poll() is not None:
        raise ScenarioFailed("the editor exited with %d after the About box" % editor.process.returncode)
    editor.keys(window, "Escape")
    expect_exit(editor, 2)
    expect_table(editor, ORIGINAL_TABLE)


def rename_save_close_writes_the_rename(editor):
    window = editor.wait_for_window(MAIN_WINDOW)
    rename_desert_slot(editor, window)
    # Back to Save, press it, and close: no question is left to ask.
    editor.keys(window, "shift+Tab", "space", "Escape")
    expect_exit(editor, 2)
    expect_table(editor, RENAMED_TABLE)


def unsaved_rename_yes_saves(editor):
    window = editor.wait_for_window(MAIN_WINDOW)
    rename_desert_slot(editor, window)
    editor.keys(window, "Escape")
    answer_question(editor, "y")
    expect_exit(editor, 2)
    expect_table(editor, RENAMED_TABLE)


def unsaved_rename_no_discards(editor):
    window = editor.wait_for_window(MAIN_WINDOW)
    rename_desert_slot(editor, window)
    # Enter in the slot name field closes through OK.
    editor.keys(window, "Return")
    answer_question(editor, "n")
    expect_exit(editor, 1)
    expect_table(editor, ORIGINAL_TABLE)


def unsaved_rename_cancel_keeps_editing(editor):
    window = editor.wait_for_window(MAIN_WINDOW)
    rename_desert_slot(editor, window)
    editor.keys(window, "Escape")
    box = answer_question(editor, "Escape")
    editor.wait_until_gone(box)
    if editor.process.poll() is not None:
        raise ScenarioFailed("the editor exited with %d after Cancel" % editor.process.returncode)
    if window not in editor.visible_windows(MAIN_WINDOW):
        raise ScenarioFailed("the main window is gone after Cancel")
    expect_table(editor, ORIGINAL_TABLE)
    # Back to the slot list past Save; Enter there closes through OK and asks again.
    editor.keys(window, "shift+Tab", "shift+Tab", "Return")
    answer_question(editor, "y")
    expect_exit(editor, 1)
    expect_table(editor, RENAMED_TABLE)


def unreadable_table_is_reported_and_never_saved_over(editor):
    box = editor.wait_for_message_box()
    editor.keys(box, "Return")
    editor.wait_until_gone(box)
    window = editor.wait_for_window(MAIN_WINDOW)
    # Into the tileset list, then on past the slot list to Save, and press it.
    editor.click(window, TILESET_LIST_X, TILESET_LIST_Y)
    editor.keys(window, "Tab", "Tab", "space")
    box = editor.wait_for_message_box()
    editor.keys(box, "Return")
    editor.wait_until_gone(box)
    editor.keys(window, "Escape")
    expect_exit(editor, 2)
    if not os.path.islink(editor.path()) or os.readlink(editor.path()) != UNREADABLE_TARGET:
        raise ScenarioFailed("qx7set.dat is no longer the link to %s" % UNREADABLE_TARGET)


SCENARIOS = {
    "escape": escape_exits_with_2,
    "alt-f4": alt_f4_exits_with_2,
    "close-box": close_box_exits_with_2,
    "enter-in-list": enter_in_list_exits_with_1,
    "enter-at-start": enter_at_start_opens_about,
    "rename-save-close": rename_save_close_writes_the_rename,
    "rename-close-yes": unsaved_rename_yes_saves,
    "rename-close-no": unsaved_rename_no_discards,
    "rename-close-cancel": unsaved_rename_cancel_keeps_editing,
    "unreadable-table": unreadable_table_is_reported_and_never_saved_over,
}
# Scenarios whose folder holds a symbolic link in place of the table.
LINKED_TABLES = {
    "unreadable-table": UNREADABLE_TARGET,
}


def main(arguments):
    if len(arguments) not in (2, 3) or arguments[0] not in SCENARIOS:
        print("usage: driver.py {%s} KESTRIVANE_EXE [WINEPREFIX]" % "|".join(SCENARIOS), file=sys.stderr)
        return 2
    if not os.environ.get("DISPLAY"):
        print("no DISPLAY: run under an X server (scripts/lib.sh run_under_wine)", file=sys.stderr)
        return 1
    scenario, executable = arguments[0], arguments[1]
    prefix = os.environ.get("WINEPREFIX") or (arguments[2] if len(arguments) == 3 else "")
    if not prefix:
        print("no Wine prefix: set WINEPREFIX or name one", file=sys.stderr)
        return 1
    editor = Editor(executable, prefix, ORIGINAL_TABLE, LINKED_TABLES.get(scenario))
    started = time.monotonic()
    try:
        SCENARIOS[scenario](editor)
    except ScenarioFailed as failure:
        print("FAILED %s: %s" % (scenario, failure))
        return 1
    finally:
        editor.close()
    print("passed %s in %.1f s" % (scenario, time.monotonic() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
