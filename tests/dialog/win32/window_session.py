#!/usr/bin/env python3
"""Runs quorvel.exe under wine on Xvfb, in a network sandbox, and checks one behaviour of the
window with real key and mouse events.

    window_session.py --quorvel quorvel.exe --probe quorvel_dialog_probe.exe --out FOLDER BEHAVIOUR

The window runs in the wine prefix's virtual desktop (so that it has a caption and a close box;
scripts/wine-sandbox.sh sets it up, 1280x1024: room for the window to grow to twice its size),
beside a wine server of the sandbox's own, with the network of an end-to-end case: by default
silent-server-times-out, a DNS server that knows the registries' names alone, and an APNIC
stand-in that takes the query for 1.0.0.2 and never answers. Each session starts without the
settings (HKEY_CURRENT_USER\Software\Quorvel) of an earlier one. The dialog's controls are read
with the probe, beside it under wine; the information box's text through the clipboard.
Screenshots land in FOLDER. Behaviours:

    layout           both dialogs' controls: ids, window classes, texts and rectangles as the
                     dialog layouts give them in dialog units; "Ready." in the information box
    locate-loopback  127.0.0.1 and Enter: the hosts file's name and the loopback text
    locate-private   192.168.0.1 and Enter: no reverse name, the private-address text
    escape-inert     Escape leaves the dialog open
    about            Alt+Space, the About item, the About box, closed with OK
    close            the close box ends the program with status 0
    fixed-pitch      a line of W and a line of i in the information box end together on the
                     screen; then a RIPE NCC record (case ipv6-iana-to-ripe-2a00.2381)
    resize           the window dragged to twice its size: the information box and its group
                     grow, the other controls stay; dragged below its layout's size: refused
    kept-settings    two runs: the window moved, enlarged, three destinations located and the
                     window maximised; the second run opens maximised, restores to where the
                     first left it and lists the three, newest first; a destination picked from
                     the list and Enter locate it and move it to the top; 21 lookups keep 20;
                     Clear history in the system menu empties the list; a lookup locks it; a
                     third run, stored maximised where no monitor shows it, opens maximised and
                     restores to the stored size in the middle of the primary monitor's work area

and, counting from when the APNIC stand-in received the query for 1.0.0.2:

    responsive_during_lookup  the dialog answers WM_NULL within 1 s every 250 ms from 0 to 8 s,
                              and Windows never marks it hung
    close_during_lookup       the close box, and in a second run a posted WM_CLOSE, 2 s in: the
                              program ends with status 0 within 5 s
"""

import argparse
import os
import struct
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.normpath(os.path.join(HERE, "..", "..", ".."))
sys.path[:0] = [os.path.join(SOURCE, "tests", "e2e"), os.path.join(SOURCE, "resources")]

import sandbox  # noqa: E402
import xrc_to_rc  # noqa: E402
from cases import load_all  # noqa: E402
from run_cases import case_network  # noqa: E402
from run_window_cases import (  # noqa: E402
    CLOSE_LIMIT, SILENT_CASE, WINE_SCREEN, WindowError, ended_within, query_received, read_clipboard,
    shown_text, start_xvfb, wait_until, x_tool)

INSIDE_MARKER = "QUORVEL_WIN_WINDOW_SESSION"  # set once the X and wine servers run
START_LIMIT = 30  # seconds for wine to show the window
ICON_SIZE = 32
CLASSES = {"EDIT": "Edit", "BUTTON": "Button", "STATIC": "Static", "COMBOBOX": "ComboBox"}
SCREEN = WINE_SCREEN  # as large as wine's desktop: room for the window at twice its size
RIPE_CASE = "ipv6-iana-to-ripe-2a00.2381"  # a RIPE NCC record, laid out in columns
# A window stored maximised where no monitor shows it: 640 x 480 at 5000,4000.
LOST_MONITOR = """REGEDIT4

[HKEY_CURRENT_USER\\Software\\Quorvel]
"Left"=dword:00001388
"Top"=dword:00000fa0
"Right"=dword:00001608
"Bottom"=dword:00001180
"Maximized"=dword:00000001
"""
LOST_MONITOR_SIZE = (640, 480)
FRAME_SLACK = 4  # pixels a window's place may be off by, for the frame drawn around it
# No settings of an earlier session, for the session to start from and to leave behind.
FORGET_SETTINGS = "REGEDIT4\n\n[-HKEY_CURRENT_USER\\Software\\Quorvel]\n"
LAYOUTS = []  # the dialog layouts the build wrote (--layouts)


class SessionError(Exception):
    pass


def resource_ids():
    """{name: number} of ResourceIds.h, with the system's own IDOK and the unnamed -1."""
    ids = {"IDOK": 1, xrc_to_rc.NO_ID: 0xFFFF}  # -1 reads back as a 16-bit id
    with open(os.path.join(SOURCE, "resources", "ResourceIds.h"), encoding="ascii") as file:
        for line in file:
            parts = line.split()
            if len(parts) == 3 and parts[0] == "#define":
                ids[parts[1]] = int(parts[2], 0)
    return ids


def expected_controls(dialog_name, base):
    """What the probe should read for a dialog of the layouts: (id, class, text, rectangle)."""
    ids = resource_ids()
    for layout in LAYOUTS:
        root = ElementTree.parse(layout).getroot()
        for dialog in root.findall(xrc_to_rc.XRC + "object"):
            if dialog.get("name") != dialog_name:
                continue
            width, height = xrc_to_rc.dialog_units(dialog, "size")
            controls = []
            for element in dialog.findall(xrc_to_rc.XRC + "object"):
                statement, label, styles, _ = xrc_to_rc.control_line(element)
                x, y = xrc_to_rc.dialog_units(element, "pos")
                w, h = xrc_to_rc.dialog_units(element, "size")
                left, top, right, bottom = pixels((x, y, w, h), base)
                text = label
                if statement == "ICON":
                    # A picture control takes its icon's size, 32 x 32, and shows no text.
                    text, right, bottom = "", left + ICON_SIZE, top + ICON_SIZE
                controls.append((ids[xrc_to_rc.control_id(element)], CLASSES[styles[0]], text,
                                 (left, top, right, bottom)))
            return pixels((0, 0, width, height), base)[2:], controls
    raise SessionError(f"no dialog {dialog_name} in the layouts")


def pixels(rectangle, base):
    """A rectangle (x, y, width, height) in dialog units as the dialog manager places it:
    (left, top, right, bottom) in pixels, each of x, y, width and height scaled on its own,
    x * base x / 4 and y * base y / 8, rounded."""
    x, y, width, height = rectangle
    scale = lambda value, unit, per: (2 * value * unit + per) // (2 * per)  # noqa: E731
    left, top = scale(x, base[0], 4), scale(y, base[1], 8)
    return (left, top, left + scale(width, base[0], 4), top + scale(height, base[1], 8))


def import_registry(env, text):
    """Merges a .reg file's text into the wine prefix's registry (of this session's server)."""
    with tempfile.NamedTemporaryFile("w", suffix=".reg", delete=False) as file:
        file.write(text)
    try:
        subprocess.run(["wine", "regedit", "/S", "Z:" + file.name.replace("/", "\\")], env=env,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60, check=False)
    finally:
        os.unlink(file.name)


class Session:
    def __init__(self, quorvel, probe, out, display, whois, case, fresh=True):
        self.quorvel = quorvel
        self.probe_program = probe
        self.out = out
        self.display = display
        self.whois = whois  # the stand-in registries
        self.case = case  # whose network they are
        self.env = dict(os.environ, DISPLAY=display)
        if fresh:
            import_registry(self.env, FORGET_SETTINGS)
        self.window = subprocess.Popen(
            ["wine", quorvel], env=self.env, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        )
        self.main = self.wait_for("^Quorvel$")
        time.sleep(1)  # for the dialog to be painted whole before keys and screenshots

    def wait_for(self, name, limit=START_LIMIT):
        deadline = time.monotonic() + limit
        while time.monotonic() < deadline:
            found = x_tool(self.display, "xdotool", "search", "--onlyvisible", "--name", name)
            if found.returncode == 0 and found.stdout.split():
                return found.stdout.split()[0].decode()
            if self.window.poll() is not None:
                raise SessionError(f"quorvel.exe ended with status {self.window.returncode}")
            time.sleep(0.2)
        raise SessionError(f"no window {name} within {limit} s")

    def shown(self, name):
        found = x_tool(self.display, "xdotool", "search", "--onlyvisible", "--name", name)
        return found.returncode == 0 and bool(found.stdout.split())

    def keys(self, *keys):
        x_tool(self.display, "xdotool", "key", "--delay", "100", *keys)

    def type(self, text):
        x_tool(self.display, "xdotool", "type", "--delay", "30", "--", text)

    def probe(self, *args):
        result = subprocess.run(["wine", self.probe_program, *args], env=self.env,
                                capture_output=True, timeout=60, stdin=subprocess.DEVNULL)
        if result.returncode != 0:
            raise SessionError(f"probe {' '.join(args)}: {result.stdout.decode(errors='replace')}")
        return result.stdout.decode("utf-8")

    def start_probe(self, *args):
        """The probe in a mode that waits for a line on its input (see DialogProbe.cpp), once it
        has said it is ready."""
        probe = subprocess.Popen(["wine", self.probe_program, *args], env=self.env,
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        ready = probe.stdout.readline()
        if ready.strip() != b"ready":
            probe.kill()
            raise SessionError(f"probe {' '.join(args)}: {ready.decode(errors='replace')}")
        return probe

    def lookup_started(self, asked_before):
        """Types 1.0.0.2 and Enter, and waits for the silent stand-in to receive the query;
        returns when it did (monotonic seconds)."""
        self.type("1.0.0.2")
        self.keys("Return")
        return query_received(self.whois, asked_before)

    def screenshot(self, name):
        bitmap = os.path.join(tempfile.mkdtemp(prefix="quorvel-win-shot-"), "screen.bmp")
        self.probe("screen", bitmap)
        write_png(os.path.join(self.out, name), *read_bitmap(bitmap))

    def information_text(self, expected, limit=15):
        """The information box's text, copied until it is `expected` or `limit` s have gone."""
        deadline = time.monotonic() + limit
        text = None
        while time.monotonic() < deadline:
            self.keys("Tab", "Tab", "ctrl+a", "ctrl+c")
            text = read_clipboard(self.display)
            if text == expected:
                break
            self.keys("shift+Tab", "shift+Tab")  # back to the address box
            time.sleep(0.5)
        return text

    def again(self):
        """A new run of the program in this session, with the settings the last run left."""
        return Session(self.quorvel, self.probe_program, self.out, self.display, self.whois,
                       self.case, fresh=False)

    def state(self):
        """The probe's `state`: {"window": rect, "normal": rect, "maximized": bool,
        "work": rect, "enabled": {id: bool}, "items": [text]}."""
        state = {"enabled": {}, "items": []}
        for line in self.probe("state", "Quorvel").splitlines():
            kind, _, rest = line.partition(" ")
            if kind == "window":
                state["window"] = tuple(int(n) for n in rest.split())
            elif kind == "normal":
                numbers = [int(n) for n in rest.split()]
                state["normal"], state["maximized"] = tuple(numbers[:4]), numbers[4] == 1
            elif kind == "work":
                state["work"] = tuple(int(n) for n in rest.split())
            elif kind == "enabled":
                control, enabled = rest.split()
                state["enabled"][int(control)] = enabled == "1"
            elif kind == "item":
                state["items"].append(rest)
        return state

    def geometry(self):
        """The window's X geometry: (x, y, width, height) on the screen."""
        shell = x_tool(self.display, "xdotool", "getwindowgeometry", "--shell", self.main)
        values = dict(line.split("=") for line in shell.stdout.decode().split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def drag(self, start, by):
        """Presses the left button at `start`, moves it `by` and lets go, as a user drags."""
        end = (max(start[0] + by[0], 0), max(start[1] + by[1], 0))
        x_tool(self.display, "xdotool", "mousemove", str(start[0] + 5), str(start[1] + 5))
        x_tool(self.display, "xdotool", "mousemove", "--sync", str(start[0]), str(start[1]),
               "mousedown", "1")
        time.sleep(0.3)
        x_tool(self.display, "xdotool", "mousemove", str((start[0] + end[0]) // 2),
               str((start[1] + end[1]) // 2))
        time.sleep(0.3)
        x_tool(self.display, "xdotool", "mousemove", str(end[0]), str(end[1]), "mouseup", "1")
        time.sleep(1)

    def drag_corner(self, by):
        """Drags the window's lower right corner (its sizing border) by `by` pixels."""
        x, y, width, height = self.geometry()
        self.drag((x + width - 2, y + height - 2), by)

    def locate_and_wait(self, destination):
        """Replaces the address box's text with the destination, presses Enter and waits until
        the lookup has ended, which puts the destination on top of the drop-down's list."""
        self.keys("End", "shift+Home")
        self.type(destination)
        self.keys("Return")
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            state = self.state()
            if state["items"][:1] == [destination] and state["enabled"].get(1000):
                return
            time.sleep(0.3)
        self.screenshot("quorvel-win-lookup-not-ended.png")
        raise SessionError(f"the lookup of {destination} did not end in the list within 15 s "
                           f"(quorvel-win-lookup-not-ended.png; the list: {state['items']})")

    def end(self):
        if self.window.poll() is None:
            self.window.terminate()
            self.window.wait(timeout=10)


def read_bitmap(path):
    """(width, height, RGB rows top-down) of a 24-bit bottom-up bitmap file."""
    with open(path, "rb") as file:
        data = file.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    rows = []
    for row in range(height - 1, -1, -1):
        bgr = data[offset + row * stride: offset + row * stride + width * 3]
        rgb = bytearray(bgr)
        rgb[0::3], rgb[2::3] = bgr[2::3], bgr[0::3]
        rows.append(bytes(rgb))
    return width, height, rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    image = zlib.compress(b"".join(b"\0" + row for row in rows), 9)
    with open(path, "wb") as file:
        file.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                   + chunk(b"IDAT", image) + chunk(b"IEND", b""))


def read_controls(session, caption):
    lines = session.probe("controls", caption).splitlines()
    base = tuple(int(n) for n in lines[0].split()[1:3])
    client = tuple(int(n) for n in lines[1].split()[1:3])
    controls = []
    for line in lines[2:]:
        parts = line.split(" ", 7)
        controls.append((int(parts[1]), parts[2], parts[7] if len(parts) > 7 else "",
                         tuple(int(n) for n in parts[3:7])))
    return base, client, controls


def check_layout(session, caption, dialog_name, shown_texts):
    """Problems with the dialog's controls against the layout; `shown_texts` replaces the
    layout's (empty) text of controls whose text the program sets."""
    base, client, controls = read_controls(session, caption)
    expected_client, expected = expected_controls(dialog_name, base)
    expected = [(i, c, shown_texts.get(i, t), r) for i, c, t, r in expected]
    # A closed drop-down is as tall as its font makes it, whatever the template says.
    expected = [(i, c, t, r[:3] + (controls[n][3][3],) if c == "ComboBox" and n < len(controls) else r)
                for n, (i, c, t, r) in enumerate(expected)]
    problems = []
    if client != expected_client:
        problems.append(f"{dialog_name}: client area {client}, expected {expected_client}")
    if controls != expected:
        problems.append(f"{dialog_name}: controls\n    {controls}\n  expected\n    {expected}")
    return problems


def layout(session):
    problems = check_layout(session, "Quorvel", "IDD_MAIN", {1002: "Ready."})
    session.keys("alt+space", "Up", "Return")
    session.wait_for("^About Quorvel$")
    problems += check_layout(session, "About Quorvel", "IDD_ABOUTBOX", {})
    session.keys("Return")
    return problems


def locate(destination, expected, screenshot=None):
    def run(session):
        session.type(destination)
        session.keys("Return")
        text = session.information_text(expected)
        if screenshot:
            session.screenshot(screenshot)
        return [] if text == expected else [f"information box {text!r},\n    expected {expected!r}"]
    return run


def escape_inert(session):
    session.keys("Escape")
    time.sleep(1.5)
    return [] if session.shown("^Quorvel$") else ["Escape closed the dialog"]


def about(session):
    session.keys("alt+space")
    time.sleep(1)
    session.screenshot("quorvel-win-sysmenu.png")
    session.keys("Up", "Return")  # the last item, "About Quorvel..."
    session.wait_for("^About Quorvel$")
    session.screenshot("quorvel-win-about.png")
    session.keys("Return")  # OK, the default button
    deadline = time.monotonic() + 10
    while session.shown("^About Quorvel$") and time.monotonic() < deadline:
        time.sleep(0.2)
    problems = ["OK did not close the About box"] if session.shown("^About Quorvel$") else []
    if not session.shown("^Quorvel$"):
        problems.append("the main dialog went with the About box")
    return problems


def click_close_box(session):
    geometry = x_tool(session.display, "xdotool", "getwindowgeometry", "--shell", session.main)
    values = dict(line.split("=") for line in geometry.stdout.decode().split())
    right, top = int(values["X"]) + int(values["WIDTH"]), int(values["Y"])
    # The pointer away first: a move with --sync to where the pointer already is waits for a
    # motion that never comes.
    x_tool(session.display, "xdotool", "mousemove", str(right - 40), str(top + 40))
    # The close box: the caption's last button, at its right end.
    x_tool(session.display, "xdotool", "mousemove", "--sync", str(right - 12), str(top + 11), "click", "1")


def close(session):
    click_close_box(session)
    return ended_within(session.window, 15, "after the close box")


def responsive_during_lookup(session):
    probe = session.start_probe("responsive", "Quorvel")
    session.lookup_started(0)
    probe.stdin.write(b"go\n")
    probe.stdin.flush()
    try:
        report, _ = probe.communicate(timeout=30)
    except subprocess.TimeoutExpired:
        probe.kill()
        return ["the probe did not end"]
    report = report.decode(errors="replace").strip().splitlines()
    if probe.returncode == 0:
        print(report[-1])  # the summary
        return []
    return report


def close_during_lookup(session):
    """The close box in this session, a posted WM_CLOSE in a second one, each 2 s in."""
    wait_until(session.lookup_started(0) + 2)
    click_close_box(session)
    problems = ended_within(session.window, CLOSE_LIMIT, "after the close box, 2 s into the lookup")
    session.end()
    second = session.again()
    try:
        probe = second.start_probe("close", "Quorvel")
        wait_until(second.lookup_started(len(session.whois.requests())) + 2)
        probe.communicate(b"go\n", timeout=30)
        problems += ended_within(second.window, CLOSE_LIMIT, "after WM_CLOSE, 2 s into the lookup")
    finally:
        second.end()
    return problems


def show_ripe_record(session, screenshot):
    """Locates the RIPE NCC case's destination; problems unless its record is shown."""
    expected = shown_text(session.case.stdout)
    session.keys("End", "shift+Home")
    session.type(session.case.args[-1])
    session.keys("Return")
    text = session.information_text(expected)
    session.keys("ctrl+Home")  # the copy selected the whole text: the record as a user sees it
    session.screenshot(screenshot)
    return [] if text == expected else [f"information box {text!r},\n    expected {expected!r}"]


def fixed_pitch(session):
    ink = [tuple(int(n) for n in line.split()[1:3])
           for line in session.probe("pitch", "Quorvel").splitlines() if line.startswith("ink ")]
    problems = []
    if len(ink) < 2:
        problems.append(f"the lines of W and of i show as {ink}")
    else:
        # The first inked rows are the W, the last the stems of the i. In a proportional font
        # the line of i is about a third as wide; in a fixed-pitch one they differ by less than
        # a letter, an i's ink being narrower than its cell.
        wide, narrow = ink[0][1] - ink[0][0], ink[-1][1] - ink[-1][0]
        print(f"  ink of 20 W: {wide} pixels wide, of 20 i: {narrow}")
        if narrow * 10 < wide * 9:
            problems.append(f"a line of 20 i is {narrow} pixels wide, of 20 W {wide}")
    return problems + show_ripe_record(session, "quorvel-win-ripe.png")


def rectangles(controls):
    return [(control_id, kind, rect) for control_id, kind, _, rect in controls]


def grown(controls, by):
    """The controls' rectangles with the information box and its group box grown `by`."""
    result = []
    for control_id, kind, text, (left, top, right, bottom) in controls:
        if control_id == 1002 or text == "Destination Information":
            right, bottom = right + by[0], bottom + by[1]
        result.append((control_id, kind, (left, top, right, bottom)))
    return result


def resize(session):
    _, client, controls = read_controls(session, "Quorvel")
    session.drag_corner(client)
    _, twice, at_twice = read_controls(session, "Quorvel")
    problems = []
    if twice != (2 * client[0], 2 * client[1]):
        problems.append(f"dragged to twice the size, the client area is {twice}, not twice {client}")
    growth = (twice[0] - client[0], twice[1] - client[1])
    if rectangles(at_twice) != grown(controls, growth):
        problems.append(f"grown by {growth}: controls\n    {rectangles(at_twice)}\n  expected\n"
                        f"    {grown(controls, growth)}")
    problems += show_ripe_record(session, "quorvel-win-enlarged.png")
    session.drag_corner((-3 * client[0], -3 * client[1]))
    _, smallest, at_smallest = read_controls(session, "Quorvel")
    if smallest != client:
        problems.append(f"dragged below the layout's size, the client area is {smallest}, not {client}")
    if rectangles(at_smallest) != rectangles(controls):
        problems.append(f"at the smallest size: controls\n    {rectangles(at_smallest)}\n  expected\n"
                        f"    {rectangles(controls)}")
    return problems


def centred(size, area):
    """The rectangle of a window of `size` in the middle of `area`."""
    left = area[0] + (area[2] - area[0] - size[0]) // 2
    top = area[1] + (area[3] - area[1] - size[1]) // 2
    return left, top, left + size[0], top + size[1]


def kept_settings(session):
    problems = []
    x, y, _, _ = session.geometry()
    session.drag((x + 100, y + 8), (50, 30))  # by the caption
    session.drag_corner((120, 80))
    # A click on the caption: wine's desktop leaves the window inactive after the drags.
    x, y, _, _ = session.geometry()
    x_tool(session.display, "xdotool", "mousemove", "--sync", str(x + 100), str(y + 8), "click", "1")
    time.sleep(0.5)
    first = ["127.0.0.1", "10.0.0.1", "192.168.0.1"]
    for destination in reversed(first):
        session.locate_and_wait(destination)
    left = session.state()
    session.keys("alt+space", "x")  # Maximize
    time.sleep(1)
    if not session.state()["maximized"]:
        problems.append("Maximize in the system menu did not maximise the window")
    click_close_box(session)
    problems += ended_within(session.window, 15, "after the close box")
    session.end()

    second = session.again()
    try:
        if not second.state()["maximized"]:
            problems.append("the second run does not open maximised")
        second.keys("alt+space", "r")  # Restore
        time.sleep(1)
        restored = second.state()
        if restored["window"] != left["window"]:
            problems.append(f"restored to {restored['window']}, the first run left {left['window']}")
        if restored["items"] != first:
            problems.append(f"the drop-down lists {restored['items']}, expected {first}")
        # The list opened from the keyboard (F4), its second entry chosen, and Enter.
        second.keys("F4", "Down", "Down", "Return")
        time.sleep(0.5)
        picked = [text for control_id, _, text, _ in read_controls(second, "Quorvel")[2]
                  if control_id == 1000]
        if picked != ["10.0.0.1"]:
            problems.append(f"picking the second entry gives {picked}")
        second.keys("Return")
        time.sleep(1.5)
        moved = second.state()["items"]
        if moved != ["10.0.0.1", "127.0.0.1", "192.168.0.1"]:
            problems.append(f"after locating the entry picked the list is {moved}")
        newest = [f"10.1.0.{n}" for n in range(21, 0, -1)][:20]
        for destination in reversed(newest + ["10.1.0.1"]):
            second.locate_and_wait(destination)
        listed = second.state()["items"]
        if listed != newest:
            problems.append(f"after 21 lookups the list is {listed}")
        second.keys("alt+space", "Up", "Up", "Return")  # Clear history, above About
        time.sleep(1)
        cleared = second.state()["items"]
        if cleared:
            problems.append(f"Clear history left {cleared}")
        second.keys("End", "shift+Home")
        second.lookup_started(len(second.whois.requests()))  # 1.0.0.2: APNIC never answers
        if second.state()["enabled"].get(1000):
            problems.append("the drop-down is not locked during a lookup")
    finally:
        second.end()

    # A third run, stored maximised where no monitor shows it (a monitor unplugged): it opens
    # maximised, and restores to the stored size in the middle of the primary monitor's work area.
    import_registry(session.env, LOST_MONITOR)
    third = session.again()
    try:
        if not third.state()["maximized"]:
            problems.append("stored maximised at 5000,4000, the window does not open maximised")
        third.keys("alt+space", "r")  # Restore
        time.sleep(1)
        restored = third.state()
        expected = centred(LOST_MONITOR_SIZE, restored["work"])
        window = restored["window"]
        size = (window[2] - window[0], window[3] - window[1])
        if (size != LOST_MONITOR_SIZE or
                any(abs(a - b) > FRAME_SLACK for a, b in zip(window[:2], expected[:2]))):
            problems.append(f"stored at 5000,4000, the window restores to {window}, not to "
                            f"{expected}, the stored 640 x 480 in the middle of the work area "
                            f"{restored['work']}")
    finally:
        third.end()
    return problems


LOOPBACK_TEXT = b"Name:    localhost\nAddress: 127.0.0.1\n\nThis is a loopback address for this local computer."
PRIVATE_TEXT = b"Name:    192.168.0.1\nAddress: 192.168.0.1\n\nThis is a private IP address."
BEHAVIOURS = {
    "layout": layout,
    "locate-loopback": locate("127.0.0.1", LOOPBACK_TEXT),
    "locate-private": locate("192.168.0.1", PRIVATE_TEXT, "quorvel-win-main.png"),
    "escape-inert": escape_inert,
    "about": about,
    "close": close,
    "responsive_during_lookup": responsive_during_lookup,
    "close_during_lookup": close_during_lookup,
    "fixed-pitch": fixed_pitch,
    "resize": resize,
    "kept-settings": kept_settings,
}
# The end-to-end case whose network a behaviour runs in, where it is not SILENT_CASE.
CASES = {"fixed-pitch": RIPE_CASE, "resize": RIPE_CASE}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quorvel", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--out", required=True, help="folder for the screenshots")
    parser.add_argument("--layouts", nargs="+", required=True,
                        help="the dialog layouts as the build wrote them")
    parser.add_argument("behaviour", choices=sorted(BEHAVIOURS))
    options = parser.parse_args()
    LAYOUTS[:] = options.layouts
    sandbox.enter(tools=("Xvfb", "xdotool", "xclip", "wine"))
    if os.environ.get(INSIDE_MARKER) != "1":
        # The X server first: wine's server and its desktop must start with the display.
        # Private X sockets, as the window cases have: this sandbox's Xvfb meets no other.
        subprocess.run(["mount", "-t", "tmpfs", "-o", "mode=1777", "tmpfs", "/tmp/.X11-unix"], check=True)
        xvfb, os.environ["DISPLAY"] = start_xvfb(SCREEN)
        try:
            command = sandbox.with_wine_server([sys.executable] + sys.argv)
            status = subprocess.run(command, env=dict(os.environ, **{INSIDE_MARKER: "1"})).returncode
        finally:
            xvfb.terminate()
            xvfb.wait()
        sys.exit(status)

    started = time.monotonic()
    case = load_all([CASES.get(options.behaviour, SILENT_CASE)])[0]
    with case_network(case) as whois:
        session = None
        try:
            session = Session(os.path.abspath(options.quorvel), os.path.abspath(options.probe),
                              os.path.abspath(options.out), os.environ["DISPLAY"], whois, case)
            problems = BEHAVIOURS[options.behaviour](session)
        except (SessionError, WindowError, subprocess.TimeoutExpired) as error:
            problems = [str(error)]
        finally:
            if session:
                session.end()
                # The prefix's registry keeps no settings of this session for the next.
                import_registry(session.env, FORGET_SETTINGS)
    elapsed = time.monotonic() - started
    for problem in problems:
        print("FAILED: " + problem)
    print(f"{'FAIL' if problems else 'ok  '} window under wine: {options.behaviour} ({elapsed:.1f} s)")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
