#!/usr/bin/env python3
"""Reads the real quorvel window's accessibility tree over AT-SPI, as a screen reader does, and
checks that each control has the name and role a screen reader announces.

    accessible_names.py QUORVEL DESKTOP_TOOL     (run under run-under-xvfb.sh)

Starts a D-Bus session of its own (the accessibility bus comes up inside it), runs the program
with GTK's accessibility bridge, finds its window in the tree, checks the controls, and closes
the window with its close box (the desktop tool).
"""

import os
import subprocess
import sys
import time

INSIDE_MARKER = "QUORVEL_A11Y_SESSION"
# Debian's python3-pyatspi installs into the system's Python, which another python3 first on
# the PATH (a version manager's) does not see.
SYSTEM_PYTHON = "/usr/bin/python3"
LIMIT = 20  # seconds for the window to appear in the tree

# (role, name) of each control a screen reader stops at, and the label that names it, if any:
# the address box (a combo box, and the text field in it that takes the keys), the Locate
# button, and the information box.
EXPECTED = [
    ("combo box", "Destination Address", None),
    ("text", "Destination Address", "Destination Address:"),
    ("push button", "Locate", None),
    ("text", "Destination Information", "Destination Information"),
]


def controls(node, found):
    """Every accessible below `node`, depth first."""
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is None:
            continue
        found.append(child)
        controls(child, found)
    return found


def labelled_by(accessible, pyatspi):
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return []


def find_window(pyatspi, program):
    deadline = time.monotonic() + LIMIT
    while time.monotonic() < deadline:
        if program.poll() is not None:
            raise RuntimeError(f"quorvel ended with status {program.returncode}")
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is None or application.name != "quorvel":
                continue
            for window_index in range(application.childCount):
                window = application.getChildAtIndex(window_index)
                if window is not None and window.name == "Quorvel":
                    return window
        time.sleep(0.2)
    raise RuntimeError(f"no window Quorvel in the accessibility tree within {LIMIT} s")


def check(pyatspi, window):
    problems = []
    found = controls(window, [])
    for role, name, label in EXPECTED:
        matches = [a for a in found if a.getRoleName() == role]
        named = [a for a in matches if a.name == name]
        if not named:
            seen = ", ".join(f"{a.getRoleName()} {a.name!r}" for a in found)
            problems.append(f"no {role} named {name!r}; the tree holds: {seen}")
            continue
        print(f"  {role} {name!r}")
        if label and label not in labelled_by(named[0], pyatspi):
            problems.append(f"the {role} {name!r} is not labelled by {label!r} "
                            f"(labelled by {labelled_by(named[0], pyatspi)})")
    return problems


def main():
    quorvel, desktop_tool = sys.argv[1:3]
    if os.environ.get(INSIDE_MARKER) != "1":
        env = dict(os.environ, **{INSIDE_MARKER: "1"})
        env.pop("NO_AT_BRIDGE", None)  # run-under-xvfb.sh turns the bridge off for the others
        sys.exit(subprocess.run(["dbus-run-session", "--", SYSTEM_PYTHON] + sys.argv,
                                env=env).returncode)

    import pyatspi  # noqa: E402  (only inside the D-Bus session)

    program = subprocess.Popen([quorvel], stdin=subprocess.DEVNULL)
    try:
        problems = check(pyatspi, find_window(pyatspi, program))
    except RuntimeError as error:
        problems = [str(error)]
    subprocess.run([desktop_tool, "close", "Quorvel"], check=False)
    try:
        status = program.wait(timeout=20)
        if status != 0:
            problems.append(f"quorvel ended with status {status}")
    except subprocess.TimeoutExpired:
        program.kill()
        problems.append("quorvel did not end after its close box")
    for problem in problems:
        print("FAILED: " + problem)
    print(f"accessible names: {'FAIL' if problems else 'ok'}")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
