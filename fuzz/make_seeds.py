#!/usr/bin/env python3
"""Writes the fuzz seeds that are not plain replies.

    make_seeds.py --data tests/data --out BUILD/fuzz/seeds

lookup_address/: one input per registry reply, captured (replies/) or written (written/) (see
LookupInput.h for the layout), with the reply placed where the referral chain reaches its
registry (from IANA for IPv6 and AS-number replies) and the other registries answering with
ordinary records, so that fuzzing starts from every stage; and a few prefixes.
dotted_address/: the dotted-notation forms the parser accepts, and near misses.
ipv6_address/: the same for IPv6 texts.
destination/: what users paste: URLs, ports, brackets, defanged text, AS numbers, prefixes.
"""

import argparse
import pathlib
import re

SEPARATOR = b"\f"
SECTIONS = ["address", "apnic", "twnic", "arin", "arin_handle", "ripe", "lacnic", "afrinic", "iana"]

# Which written APNIC reply sends the lookup on to each registry.
ROUTE_FROM_APNIC = {
    "arin": "written/whois.apnic.net/elsewhere_arin-cidr-block-168.txt",
    "ripe": "written/whois.apnic.net/elsewhere_ripe-cidr-block-62.txt",
    "lacnic": "written/whois.apnic.net/elsewhere_lacnic-cidr-block-200.txt",
    "afrinic": "written/whois.apnic.net/iana-block_placeholder.txt",
}
# ARIN's reply that sends the lookup on to AFRINIC.
ARIN_TO_AFRINIC = "written/whois.arin.net/today_orgid-afrinic_196.x.txt"

# Which IANA reply refers an IPv6 address to each registry.
REFERRAL_FROM_IANA = {
    "apnic": "written/whois.iana.org/refer-apnic_2400..-12.txt",
    "arin": "written/whois.iana.org/refer-arin_2001.4800..-23.txt",
    "ripe": "written/whois.iana.org/refer-ripe_2a00..-12.txt",
    "lacnic": "written/whois.iana.org/refer-lacnic_2800..-12.txt",
    "afrinic": "written/whois.iana.org/refer-afrinic_2c00..-12.txt",
}

# Which IANA reply refers an AS number to each registry.
AS_REFERRAL_FROM_IANA = {
    "apnic": "written/whois.iana.org/as-refer-apnic_4608-4865.txt",
    "arin": "written/whois.iana.org/as-refer-arin_13312-15359.txt",
    "ripe": "written/whois.iana.org/as-refer-ripe_3154-3353.txt",
    "lacnic": "replies/whois.iana.org/asn-264957_lacnic-block_client-trailer.txt",
    "afrinic": "written/whois.iana.org/as-refer-afrinic_36864-37887.txt",
}

# What the other registries answer unless the seed is about them.
ORDINARY_REPLIES = {
    "apnic": "replies/whois.apnic.net/ipv4-1.1.1.1_apnic-labs.txt",
    "twnic": "written/whois.twnic.net.tw/hinet_203.69.x.txt",
    "arin": "replies/whois.arin.net/ipv4-74.125.225.229_google.txt",
    "arin_handle": "replies/whois.arin.net/ipv4-74.125.225.229_google.txt",
    "ripe": "replies/whois.ripe.net/ipv4-62.239.237.1_bt-corporate.txt",
    "lacnic": "replies/whois.lacnic.net/ipv4-200.57.141.161_triara-mx_crlf.txt",
    "afrinic": "replies/whois.afrinic.net/ipv4-196.11.240.215_mtn-za.txt",
    "iana": "written/whois.iana.org/refer-arin_2001.4800..-23.txt",
}

DOTTED_FORMS = [
    "192.0.2.1", "0.0.0.0", "255.255.255.254", "255.255.255.255", "1.2.3", "1.2", "3221225985",
    "0xC0.0x00.0x02.0x01", "0300.0.02.01", "0x7f.1", "1.2.3.4.5", "256.1.1.1", "1..2.3", "1.2.3.",
    "0x", "09.1.1.1", "1.2.65535", "1.16777215", "4294967296", "203.66.1.1 ",
]

IPV6_FORMS = [
    "2001:db8::1", "::", "::1", "1::", "2001:0DB8:0000:0000:0000:0000:0000:0001",
    "1:2:3:4:5:6:7:8", "1:2:3:4:5:6:7::", "1:0:0:2:0:0:3:4", "::ffff:192.0.2.1",
    "1:2:3:4:5:6:255.0.10.0", "fe80::1%eth0", ":::", "1::2::3", "1:2:3:4:5:6:7::8", "12345::",
    ":1::", "1::2:", "::01.2.3.4", "[::1]", "::1 ",
]

DESTINATION_FORMS = [
    "8.8.8.8", " 127.1\r\n", "2001:4860:4860::8888", "::ffff:1.1.1.1", "example.org",
    "https://dns.google/resolve?name=x", "hxxps://evil[.]example/", "ftp://u:p@h.example:21/",
    "8.8.8[.]8", "evil(dot)example{DOT}org", "2001[:]db8[:][:]1", "[dot)", "x[[.]]y",
    "[203.0.113.5]", "<8.8.8.8>", "\"8.8.8.8\"", "( < '8.8.8.8' > )", "https://(1.1.1.1)/",
    "[2001:4860:4860::8888]:443", "https://[2001:db8::1]:8443/", "[ x]:80", "[IPv6:2001:db8::1]",
    "8.8.8.8:443", "example.org:00443", "example.org:65536", "example.org:000443",
    "fe80::1%eth0", "AS15169", "as13335", "ASN 3356", "AS1.10", "AS65535.65535",
    "AS4294967296", "AS\t1", "8.8.8.8/24", "11.1.2.3/7", "1.2.3.4/33", "8.8.8.0/024", "10.1/16",
    "2001:db8::1/32", "::1/127", "::ffff:8.8.8.8/120",
]


def registry_of(path):
    """The registry a reply file belongs to, from its folder (whois.apnic.net: apnic)."""
    return path.parent.name.split(".")[1]


def address_of(path):
    """The address, prefix or AS number a reply answered, or one that fits the reply's story."""
    found = re.search(r"(?:asn-|aut-num_as|as-refer-[a-z]+_|as-private-use_|_as)(\d+)", path.name)
    if found:
        return "AS" + found.group(1)
    found = re.match(r"ipv6-([0-9a-f.]+)_", path.name)
    if found:
        return found.group(1).replace(".", ":")
    found = re.search(r"_(2[0-9a-f]{3}\.[0-9a-f.]*)-\d+\.txt$", path.name)
    if found:  # a written IPv6 reply names its block
        return found.group(1).replace(".", ":") + "1"
    found = re.match(r"ipv4-(\d+)\.(\d+|x)\.?(\d+|x)?\.?(\d+|x)?", path.name)
    if found:
        parts = [part if part and part != "x" else "1" for part in found.groups()]
        return ".".join(parts)
    if "-tw" in path.name:
        return "203.66.1.1"
    return "192.0.2.1"


def lookup_seed(data, path):
    registry = registry_of(path)
    chosen = {name: (data / reply).read_bytes() for name, reply in ORDINARY_REPLIES.items()}
    address = address_of(path)
    chosen["address"] = address.encode()
    if address.startswith("AS") and registry in AS_REFERRAL_FROM_IANA:
        chosen["iana"] = (data / AS_REFERRAL_FROM_IANA[registry]).read_bytes()
        if registry == "arin":  # ARIN is asked "a <n>", which the handle section answers
            chosen["arin_handle"] = path.read_bytes()
    elif ":" in address and registry in REFERRAL_FROM_IANA:
        chosen["iana"] = (data / REFERRAL_FROM_IANA[registry]).read_bytes()
    elif registry in ROUTE_FROM_APNIC:
        chosen["apnic"] = (data / ROUTE_FROM_APNIC[registry]).read_bytes()
    if registry == "afrinic":
        chosen["arin"] = (data / ARIN_TO_AFRINIC).read_bytes()
    chosen[registry] = path.read_bytes()
    return SEPARATOR.join(chosen[name].replace(SEPARATOR, b"") for name in SECTIONS)


def write_forms(folder, forms):
    """One seed file per address text."""
    folder.mkdir(parents=True, exist_ok=True)
    for index, form in enumerate(forms):
        (folder / f"form-{index:02d}").write_bytes(form.encode())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--data", type=pathlib.Path, required=True)
    parser.add_argument("--out", type=pathlib.Path, required=True)
    args = parser.parse_args()

    lookup_dir = args.out / "lookup_address"
    lookup_dir.mkdir(parents=True, exist_ok=True)
    for path in sorted(args.data.rglob("whois.*/*.txt")):
        if registry_of(path) in SECTIONS:
            (lookup_dir / path.name).write_bytes(lookup_seed(args.data, path))
    # Prefixes, answered by the ordinary replies (IANA's refers to ARIN).
    for index, prefix in enumerate(["8.8.8.8/24", "2001:db8::/32", "10.0.0.0/8", "::1/127"]):
        chosen = {name: (args.data / reply).read_bytes() for name, reply in ORDINARY_REPLIES.items()}
        chosen["address"] = prefix.encode()
        seed = SEPARATOR.join(chosen[name].replace(SEPARATOR, b"") for name in SECTIONS)
        (lookup_dir / f"prefix-{index:02d}").write_bytes(seed)

    write_forms(args.out / "dotted_address", DOTTED_FORMS)
    write_forms(args.out / "ipv6_address", IPV6_FORMS)
    write_forms(args.out / "destination", DESTINATION_FORMS)


if __name__ == "__main__":
    main()
