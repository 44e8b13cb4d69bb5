#!/usr/bin/env python3
"""An offline demo: quorvel against stand-in registries in a private network sandbox.

    demo.py --build BUILD_DIR [--console]

Brings up the stand-in DNS and whois servers of a few end-to-end cases at once and opens the
quorvel window on the current display, so whole referral chains can be watched without any
internet. Without a local display (or with --console) it runs quorvel-lookup -v on each demo
destination instead. The stand-ins answer as the registries do today, with captured real
registry replies (and a few written ones where no capture exists; see
tests/data/replies/SOURCES.md and tests/data/written/SOURCES.md).
"""

import argparse
import os
import subprocess
import sys

import sandbox
from cases import load_all
from run_cases import case_network

# Cases whose stand-ins serve the demo, with what each shows.
DEMO_CASES = {
    "apnic-record-with-reverse-name": "APNIC's own record",
    "host-name": "a host name, looked up by its address",
    "twnic-addition": "APNIC's record with TWNIC's addition",
    "arin-today-match-list-8.8.8.8": "APNIC's placeholder, ARIN's list, then Google's record",
    "arin-today-level3-4.2.2.1": "APNIC's placeholder, then ARIN's record for Level 3",
    "arin-today-erx-ripe-130.66": "APNIC, ARIN (an early block of RIPE NCC's), RIPE NCC's record",
    "arin-today-to-lacnic-200.57": "APNIC, ARIN, then LACNIC's record",
    "arin-today-to-afrinic-196.11": "APNIC, ARIN (African space), then AFRINIC's record for MTN SA",
    "ipv6-iana-to-arin-google-2001.4860": "IPv6: IANA's referral, then ARIN's record for Google",
    "ipv6-host-name-without-ipv4": "a name with only an IPv6 address: IANA, then ARIN",
    "ipv6-loopback": "the IPv6 loopback address, answered at once",
    "private-dotted-with-reverse-name": "a private address, answered at once",
    "pasted-url": "a URL: its host name, then APNIC, ARIN and Google's record",
    "as-number-iana-to-arin-13335": "an AS number: IANA's referral, then ARIN's record for Cloudflare",
    "prefix-ipv4-8.8.8.0-24": "a prefix: APNIC, ARIN's list, then the network's record",
    "international-host-name": "an international name, resolved by its ASCII form",
}


class DemoNetwork:
    """The union of several cases' DNS records and scripted replies."""

    def __init__(self, cases):
        self.name = "demo"
        self.unresolved = set()
        self.refused = set()
        self.a_records = {}
        self.aaaa_records = {}
        self.ptr_records = {}
        self._script = {}
        for case in cases:
            self.a_records.update(case.a_records)
            self.aaaa_records.update(case.aaaa_records)
            self.ptr_records.update(case.ptr_records)
            self._script.update(case.script())

    def script(self):
        return self._script


def destination_of(case):
    return case.destination or case.args[-1]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="the build folder (cli/, dialog/wx/)")
    parser.add_argument("--console", action="store_true", help="run quorvel-lookup, not the window")
    options = parser.parse_args()
    build = os.path.abspath(options.build)
    cases = load_all(list(DEMO_CASES))
    window = os.path.join(build, "dialog", "wx", "quorvel")
    use_window = (
        not options.console
        and os.environ.get("DISPLAY", "").startswith(":")  # a local X socket reaches in
        and os.access(window, os.X_OK)
    )
    sandbox.enter()

    print("Offline demo: stand-in registries on 127.0.0.2-8, their own DNS on 127.0.0.1.")
    print("Nothing leaves this private network. Destinations to try:")
    width = max(len(destination_of(case)) for case in cases)
    for case in cases:
        print(f"  {destination_of(case):<{width}}  {DEMO_CASES[case.name]}")
    with case_network(DemoNetwork(cases)):
        if use_window:
            print("Close the Quorvel window to end the demo.")
            status = subprocess.run([window]).returncode
        else:
            lookup = os.path.join(build, "cli", "quorvel-lookup")
            status = 0  # the highest exit status: every demo destination should give 0
            for case in cases:
                print(f"\n$ quorvel-lookup -v {destination_of(case)}", flush=True)
                result = subprocess.run([lookup, "-v", destination_of(case)], timeout=150)
                status = max(status, result.returncode)
    sys.exit(status)


if __name__ == "__main__":
    main()
