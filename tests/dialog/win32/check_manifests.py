#!/usr/bin/env python3
"""Reads the application manifest out of each built program (wrestool, resource type 24, id 1)
and checks what Windows takes from it: the windows' themed controls and DPI awareness, and for
every program the supported Windows versions and no elevation.

    check_manifests.py --quorvel quorvel.exe --lookup quorvel-lookup.exe
"""

import argparse
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
COMPATIBILITY = "urn:schemas-microsoft-com:compatibility.v1"
SETTINGS_2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
SETTINGS_2016 = "http://schemas.microsoft.com/SMI/2016/WindowsSettings"

SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # Windows 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # Windows 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # Windows 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # Windows 10 and 11
}


def path(*steps):
    """An element path below the assembly element from (namespace, name) steps."""
    return "/".join(f"{{{namespace}}}{name}" for namespace, name in steps)


def read_manifest(program, wrestool):
    """The program's manifest resource (type 24, id 1) as an element tree."""
    extracted = subprocess.run([wrestool, "-x", "--raw", "--type=24", "--name=1", program],
                               capture_output=True, check=False)
    if extracted.returncode != 0 or not extracted.stdout:
        raise ValueError(f"no manifest resource 1 {extracted.stderr.decode(errors='replace')}")
    return ElementTree.fromstring(extracted.stdout)


def attribute(name):
    return lambda elements: [element.get(name) for element in elements]


def text(elements):
    return [(element.text or "").strip() for element in elements]


def first_choice(elements):
    """The first of a dpiAwareness element's comma-separated choices, the one Windows tries."""
    return [choice.split(",")[0].strip() for choice in text(elements)]


def identity(elements):
    return [(e.get("name"), e.get("version"), e.get("publicKeyToken")) for e in elements]


# (what, the elements' path, what is read off them, the value due); the window's rows come on
# top of every program's.
EVERY_PROGRAM = [
    ("supported Windows versions",
     path((COMPATIBILITY, "compatibility"), (COMPATIBILITY, "application"), (COMPATIBILITY, "supportedOS")),
     lambda elements: set(attribute("Id")(elements)), SUPPORTED_OS),
    ("execution level",
     path((ASM_V3, "trustInfo"), (ASM_V3, "security"), (ASM_V3, "requestedPrivileges"),
          (ASM_V3, "requestedExecutionLevel")),
     attribute("level"), ["asInvoker"]),
]
WINDOW = EVERY_PROGRAM + [
    ("Common Controls",
     path((ASM_V1, "dependency"), (ASM_V1, "dependentAssembly"), (ASM_V1, "assemblyIdentity")),
     identity, [("Microsoft.Windows.Common-Controls", "6.0.0.0", "6595b64144ccf1df")]),
    ("DPI awareness",
     path((ASM_V3, "application"), (ASM_V3, "windowsSettings"), (SETTINGS_2016, "dpiAwareness")),
     first_choice, ["PerMonitorV2"]),
    ("DPI awareness for Windows before 10 1607",
     path((ASM_V3, "application"), (ASM_V3, "windowsSettings"), (SETTINGS_2005, "dpiAware")),
     text, ["true/pm"]),
]


def problems_of(program, rows, wrestool):
    try:
        root = read_manifest(program, wrestool)
    except (ValueError, ElementTree.ParseError) as error:
        return [f"{program}: {error}"]
    if root.tag != path((ASM_V1, "assembly")):
        return [f"{program}: the manifest's root is {root.tag}"]
    problems = []
    for what, elements, read, expected in rows:
        found = read(root.findall(elements))
        if found != expected:
            problems.append(f"{program}: {what} {found!r}, expected {expected!r}")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quorvel", required=True)
    parser.add_argument("--lookup", required=True)
    parser.add_argument("--wrestool", default="wrestool")
    options = parser.parse_args()
    problems = (problems_of(options.quorvel, WINDOW, options.wrestool)
                + problems_of(options.lookup, EVERY_PROGRAM, options.wrestool))
    for problem in problems:
        print("FAILED: " + problem)
    if not problems:
        print("both programs carry their manifests")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
