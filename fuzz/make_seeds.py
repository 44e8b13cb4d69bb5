#!/usr/bin/env python3
"""Writes the fuzz seeds that are not plain replies.

    make_seeds.py --replies tests/data/replies --out BUILD/fuzz/seeds

lookup_address/: one input per registry reply (see LookupInput.h for the layout), with the
reply placed where the referral chain reaches its registry and the other registries answering
with ordinary records, so that fuzzing starts from every stage.
dotted_address/: the dotted-notation forms the parser accepts, and near misses.
"""

import argparse
import pathlib
import re

SEPARATOR = b"\f"
SECTIONS = ["address", "apnic", "twnic", "arin", "arin_handle", "ripe", "lacnic"]

# Which written APNIC reply sends the lookup on to each registry.
ROUTE_FROM_APNIC = {
    "arin": "written/apnic-arin-cidr-block.txt",
    "ripe": "written/apnic-ripe-cidr-block.txt",
    "lacnic": "written/apnic-lacnic-cidr-block.txt",
}

# What the other registries answer unless the seed is about them.
ORDINARY_REPLIES = {
    "apnic": "whois.apnic.net/ipv4-1.1.1.1_apnic-labs.txt",
    "twnic": "written/apnic-taiwan-hinet-tw.txt",
    "arin": "whois.arin.net/ipv4-74.125.225.229_google.txt",
    "arin_handle": "whois.arin.net/ipv4-74.125.225.229_google.txt",
    "ripe": "whois.ripe.net/ipv4-62.239.237.1_bt-corporate.txt",
    "lacnic": "whois.lacnic.net/ipv4-200.57.141.161_triara-mx_crlf.txt",
}

DOTTED_FORMS = [
    "192.0.2.1", "0.0.0.0", "255.255.255.254", "255.255.255.255", "1.2.3", "1.2", "3221225985",
    "0xC0.0x00.0x02.0x01", "0300.0.02.01", "0x7f.1", "1.2.3.4.5", "256.1.1.1", "1..2.3", "1.2.3.",
    "0x", "09.1.1.1", "1.2.65535", "1.16777215", "4294967296", "203.66.1.1 ",
]


def registry_of(path):
    """The registry a reply file belongs to, from its folder or its written name."""
    folder = path.parent.name
    if folder.startswith("whois."):
        return folder.split(".")[1]
    return path.name.split("-")[0]


def address_of(path):
    """The address a captured reply answered, or one that fits the reply's story."""
    found = re.match(r"ipv4-(\d+)\.(\d+|x)\.?(\d+|x)?\.?(\d+|x)?", path.name)
    if found:
        parts = [part if part and part != "x" else "1" for part in found.groups()]
        return ".".join(parts)
    if "-tw" in path.name:
        return "203.66.1.1"
    return "192.0.2.1"


def lookup_seed(replies, path):
    registry = registry_of(path)
    chosen = {name: (replies / reply).read_bytes() for name, reply in ORDINARY_REPLIES.items()}
    chosen["address"] = address_of(path).encode()
    if registry in ROUTE_FROM_APNIC:
        chosen["apnic"] = (replies / ROUTE_FROM_APNIC[registry]).read_bytes()
    chosen[registry] = path.read_bytes()
    return SEPARATOR.join(chosen[name].replace(SEPARATOR, b"") for name in SECTIONS)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--replies", type=pathlib.Path, required=True)
    parser.add_argument("--out", type=pathlib.Path, required=True)
    args = parser.parse_args()

    lookup_dir = args.out / "lookup_address"
    lookup_dir.mkdir(parents=True, exist_ok=True)
    for path in sorted(args.replies.rglob("*.txt")):
        if registry_of(path) in SECTIONS:
            (lookup_dir / path.name).write_bytes(lookup_seed(args.replies, path))

    dotted_dir = args.out / "dotted_address"
    dotted_dir.mkdir(parents=True, exist_ok=True)
    for index, form in enumerate(DOTTED_FORMS):
        (dotted_dir / f"form-{index:02d}").write_bytes(form.encode())


if __name__ == "__main__":
    main()
