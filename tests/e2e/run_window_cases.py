#!/usr/bin/env python3
"""Runs end-to-end cases through the real quorvel window, under Xvfb, in the network sandbox.

    run_window_cases.py --quorvel BUILD/dialog/wx/quorvel [CASE...]
    run_window_cases.py --wine --quorvel BUILD/dialog/win32/quorvel.exe [CASE...]
    run_window_cases.py --quorvel BUILD/dialog/wx/quorvel --desktop quorvel_desktop \
                        --during-lookup responsive|close

Takes the cases that name a `destination` (all of them by default). For each: the case's DNS
and stand-in registries come up, a fresh Xvfb and quorvel start, the destination is typed into
the address box and Enter pressed. Once every expected request has reached the stand-in
registries and the window has had a moment to show the result, Tab, Tab, Ctrl+A and Ctrl+C
select and copy the information box's text, which is read back from the clipboard. (Keys sent
while the lookup runs are not reliably kept: the disabled controls drop them.) The text must equal the
case's expected quorvel-lookup stdout as the window shows it: one line break for each CR LF
(and CR CR LF), without the line feed quorvel-lookup adds at the end.

--during-lookup looks at the Linux window while a lookup waits on the case silent-server-times-out
(APNIC takes the query and never answers), with the desktop tool (tests/dialog/DesktopTool.cpp),
counting from when the stand-in received the query:
    responsive  1 s and 6 s in, the desktop's ping is answered within 1 s; 2 s in, a window
                covers the dialog for 0.5 s, and 1 s after it has gone no pixel of it is left
    close       2 s in, the close box ends the program with status 0 within 5 s
"""

import argparse
import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import time

import sandbox
from cases import load_all, run_all
from run_cases import case_network, compare_bytes

START_LIMIT = 20  # seconds for Xvfb and the window to come up
RESULT_LIMIT = 150  # seconds for the lookup: above the client's own 60 s per exchange
SETTLE = 1.5  # seconds after the last expected request for the window to show the result
SILENT_CASE = "silent-server-times-out"  # the lookup that waits: APNIC never answers
PING_LIMIT_MS = 1000  # a desktop marks a window that has not answered by then as hung
CLOSE_LIMIT = 5  # seconds from the close request to the program's end
WINE_SCREEN = "1280x1024"  # the size of wine's virtual desktop (scripts/wine-sandbox.sh)


class WindowError(Exception):
    pass


def shown_text(lookup_stdout):
    """What the information box shows for a case's expected quorvel-lookup stdout."""
    text = lookup_stdout
    if text.endswith(b"\n") and not text.endswith(b"\r\n"):
        text = text[:-1]  # the line feed quorvel-lookup adds to a text without one
    return text.replace(b"\r\r\n", b"\n").replace(b"\r\n", b"\n")


def start_xvfb(screen="1024x768"):
    """A fresh X server with a screen of that size; returns (process, display)."""
    read_end, write_end = os.pipe()
    process = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-noreset", "-screen", "0", f"{screen}x24"],
        pass_fds=(write_end,),
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        process.kill()
        raise WindowError("Xvfb did not start")
    return process, ":" + number


def x_tool(display, *args, timeout=START_LIMIT):
    return subprocess.run(
        list(args), env=dict(os.environ, DISPLAY=display), capture_output=True, timeout=timeout
    )


def wait_for_window(display):
    deadline = time.monotonic() + START_LIMIT
    while time.monotonic() < deadline:
        found = x_tool(display, "xdotool", "search", "--onlyvisible", "--name", "^Quorvel$")
        if found.returncode == 0 and found.stdout.split():
            return found.stdout.split()[0].decode()
        time.sleep(0.2)
    raise WindowError(f"no visible window named Quorvel within {START_LIMIT} s")


def wait_for_requests(whois, expected):
    deadline = time.monotonic() + RESULT_LIMIT
    while len(whois.requests()) < len(expected) and time.monotonic() < deadline:
        time.sleep(0.1)
    time.sleep(SETTLE)


def read_clipboard(display):
    """The clipboard's text once the window has copied one, or None after a while."""
    deadline = time.monotonic() + START_LIMIT
    while time.monotonic() < deadline:
        try:
            copied = x_tool(display, "xclip", "-o", "-selection", "clipboard", timeout=10)
            if copied.returncode == 0:
                return copied.stdout
        except subprocess.TimeoutExpired:
            pass  # the window did not hand over the text in time; ask again
        time.sleep(0.25)
    return None


@contextlib.contextmanager
def window_on_xvfb(quorvel, wine):
    """A fresh Xvfb with quorvel on it, for as long as the block runs: yields the display, the
    quorvel process and its window's id."""
    xvfb, display = start_xvfb(WINE_SCREEN if wine else "1024x768")
    # The window keeps its settings (size, place, history) in a scratch folder, never the
    # user's, and starts each case without any. (Under wine they are the build's own prefix's.)
    settings = tempfile.mkdtemp(prefix="quorvel-settings-")
    env = dict(os.environ, DISPLAY=display, NO_AT_BRIDGE="1", GTK_A11Y="none",
               XDG_CONFIG_HOME=settings)
    # Under wine the server starts after the X server, so that its desktop has the display.
    command = sandbox.wine_command(quorvel) if wine else [quorvel]
    window = subprocess.Popen(
        command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    try:
        yield display, window, wait_for_window(display)
    finally:
        if wine:
            # Closing the window ends wine's server with it; a window that does not close is
            # ended with the server.
            x_tool(display, "xdotool", "key", "alt+F4")
            try:
                window.wait(timeout=10)
            except subprocess.TimeoutExpired:
                subprocess.run(["wineserver", "-k"], env=env, check=False)
        for process in (window, xvfb):
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        shutil.rmtree(settings, ignore_errors=True)


def start_locate(display, window_id, destination):
    """Types the destination into the address box and presses Enter. A destination with
    characters beyond ASCII is pasted instead, as such names mostly reach the box: xdotool
    types those through keys it maps on the fly, which wine's windows do not follow."""
    x_tool(display, "xdotool", "windowfocus", "--sync", window_id)
    if destination.isascii():
        x_tool(display, "xdotool", "type", "--delay", "20", "--", destination)
    else:
        put_on_clipboard(display, destination)
        x_tool(display, "xdotool", "key", "ctrl+v")
    x_tool(display, "xdotool", "key", "Return")


def put_on_clipboard(display, text):
    """xclip holds the text on the clipboard, in the background, until another client takes
    the clipboard over (the window, when it copies its information box) or the display ends."""
    subprocess.run(
        ["xclip", "-selection", "clipboard", "-i"],
        input=text.encode("utf-8"),
        env=dict(os.environ, DISPLAY=display),
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
        timeout=START_LIMIT,
        check=True,
    )


def locate_in_window(quorvel, case, whois, wine):
    """Types the destination, presses Enter, copies the information box; returns its text."""
    with window_on_xvfb(quorvel, wine) as (display, _, window_id):
        start_locate(display, window_id, case.destination)
        wait_for_requests(whois, case.expected_requests())
        x_tool(display, "xdotool", "key", "--delay", "50", "Tab", "Tab", "ctrl+a", "ctrl+c")
        text = read_clipboard(display)
        if text is None:
            raise WindowError("nothing copied from the information box")
        return text


def query_received(whois, asked_before=0):
    """When the stand-in registries received a request after the `asked_before` first ones
    (monotonic seconds)."""
    deadline = time.monotonic() + START_LIMIT
    while len(whois.requests()) <= asked_before:
        if time.monotonic() > deadline:
            raise WindowError(f"no request reached the stand-in registries within {START_LIMIT} s")
        time.sleep(0.01)
    return time.monotonic()


def wait_until(moment):
    time.sleep(max(0.0, moment - time.monotonic()))


def responsive_during_lookup(display, window, whois, tool):
    """Pings at 1 s and 6 s into the lookup, the cover at 2 s."""
    received = query_received(whois)
    problems = []
    for at, verb, args in ((1, "ping", [str(PING_LIMIT_MS)]), (2, "cover", []),
                           (6, "ping", [str(PING_LIMIT_MS)])):
        wait_until(received + at)
        result = x_tool(display, tool, verb, "Quorvel", *args)
        report = f"{at} s into the lookup: {result.stdout.decode(errors='replace').strip()}"
        if result.returncode != 0:
            problems.append(report)
        else:
            print("  " + report)
    return problems


def close_during_lookup(display, window, whois, tool):
    """The close request 2 s into the lookup; the program must end with status 0 soon after."""
    wait_until(query_received(whois) + 2)
    result = x_tool(display, tool, "close", "Quorvel")
    if result.returncode != 0:
        return [result.stdout.decode(errors="replace").strip()]
    return ended_within(window, CLOSE_LIMIT, "after the close request")


def ended_within(process, limit, after):
    """Problems unless the process ends with status 0 within `limit` s from now; says when it
    ended. `after` names what happened just before, for the messages."""
    asked = time.monotonic()
    try:
        status = process.wait(timeout=limit)
    except subprocess.TimeoutExpired:
        return [f"still running {limit} s {after}"]
    print(f"  ended with status {status} {time.monotonic() - asked:.3f} s {after}")
    return [] if status == 0 else [f"exit status {status} {after}"]


DURING_LOOKUP = {"responsive": responsive_during_lookup, "close": close_during_lookup}


def run_during_lookup(case, quorvel, tool, behaviour):
    with case_network(case) as whois:
        started = time.monotonic()
        try:
            with window_on_xvfb(quorvel, False) as (display, window, window_id):
                start_locate(display, window_id, case.args[0])
                problems = DURING_LOOKUP[behaviour](display, window, whois, tool)
        except (WindowError, subprocess.TimeoutExpired) as error:
            problems = [str(error)]
        return problems, time.monotonic() - started


def run_case(case, quorvel, wine):
    with case_network(case) as whois:
        started = time.monotonic()
        try:
            text = locate_in_window(quorvel, case, whois, wine)
        except (WindowError, subprocess.TimeoutExpired) as error:
            return [str(error)], time.monotonic() - started
        elapsed = time.monotonic() - started
        requests = whois.requests()
    problems = compare_bytes("information box", text, shown_text(case.stdout))
    if requests != case.expected_requests():
        problems.append(f"requests {requests!r},\n    expected {case.expected_requests()!r}")
    return problems, elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quorvel", required=True, help="the quorvel window program to run")
    parser.add_argument("--wine", action="store_true", help="the window is a Windows program: run it under wine")
    parser.add_argument("--desktop", help="the desktop tool (--during-lookup)")
    parser.add_argument("--during-lookup", choices=sorted(DURING_LOOKUP),
                        help=f"what to check of the Linux window during the lookup of {SILENT_CASE}")
    parser.add_argument("cases", nargs="*", help="case names (default: all with a destination)")
    options = parser.parse_args()
    quorvel = os.path.abspath(options.quorvel)
    if not os.access(quorvel, os.X_OK):
        sys.exit(f"e2e: {quorvel} is not an executable program")
    if options.during_lookup:
        if options.wine or not options.desktop or options.cases:
            parser.error("--during-lookup takes --desktop, and neither --wine nor cases")
        cases = load_all([SILENT_CASE])
        tool = os.path.abspath(options.desktop)
        run_case_here = lambda case: run_during_lookup(case, quorvel, tool, options.during_lookup)  # noqa: E731
        label = f"window, {options.during_lookup} during the lookup: "
    else:
        cases = [case for case in load_all(options.cases) if case.destination is not None]
        run_case_here = lambda case: run_case(case, quorvel, options.wine)  # noqa: E731
        label = "wine window " if options.wine else "window "
    sandbox.enter(tools=("Xvfb", "xdotool", "xclip") + (("wine",) if options.wine else ()))
    # A private X socket folder: the sandbox's X servers neither meet nor disturb others.
    os.makedirs("/tmp/.X11-unix", mode=0o1777, exist_ok=True)
    subprocess.run(["mount", "-t", "tmpfs", "-o", "mode=1777", "tmpfs", "/tmp/.X11-unix"], check=True)
    run_all(cases, run_case_here, label=label)

if __name__ == "__main__":
    main()
