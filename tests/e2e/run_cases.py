#!/usr/bin/env python3
"""Runs end-to-end cases of quorvel-lookup against stand-in registries in a network sandbox.

    run_cases.py --lookup BUILD/cli/quorvel-lookup [CASE...]
    run_cases.py --wine --lookup BUILD/cli/quorvel-lookup.exe [CASE...]

For each case: dnsmasq serves the case's names, the stand-in whois servers its replies, and
the unmodified quorvel-lookup runs with the case's arguments (the Windows one under wine
with --wine). Its stdout and stderr bytes, its
exit status and the request lines each registry received are compared with the case. Prints
one line per case and "N passed, N failed" at the end; exits 1 when any case failed.
"""

import argparse
import contextlib
import os
import subprocess
import sys
import tempfile
import time

import sandbox
from cases import load_all, run_all

RUN_LIMIT = 150  # seconds: far above the client's own 60 s per exchange, to catch a hang


@contextlib.contextmanager
def case_network(case):
    """The case's DNS records and stand-in registries, for as long as the block runs."""
    a_records = {
        host: address
        for host, address in sandbox.REGISTRY_ADDRESSES.items()
        if host not in case.unresolved
    }
    a_records.update(case.a_records)
    with tempfile.TemporaryDirectory(prefix=f"quorvel-e2e-{case.name}-") as workdir:
        with sandbox.stand_in_network(
            a_records, case.ptr_records, workdir, case.script(), case.refused, case.aaaa_records
        ) as whois:
            yield whois


def run_case(case, lookup):
    """The differences from what the case expects (none when it passed), and the run time.
    `lookup` is the command that runs quorvel-lookup."""
    with case_network(case) as whois:
        started = time.monotonic()
        try:
            result = subprocess.run(
                lookup + case.args,
                capture_output=True,
                timeout=RUN_LIMIT,
                stdin=subprocess.DEVNULL,
                env=dict(os.environ, **case.env),
            )
        except subprocess.TimeoutExpired:
            return [f"quorvel-lookup still running after {RUN_LIMIT} s"], float(RUN_LIMIT)
        elapsed = time.monotonic() - started
        requests = whois.requests()
    problems = []
    if result.returncode != case.status:
        problems.append(f"exit status {result.returncode}, expected {case.status}")
    problems += compare_bytes("stdout", result.stdout, case.stdout)
    problems += compare_bytes("stderr", result.stderr, case.stderr)
    expected_requests = case.expected_requests()
    if requests != expected_requests:
        problems.append(f"requests {requests!r},\n    expected {expected_requests!r}")
    return problems, elapsed


def compare_bytes(what, actual, expected):
    if actual == expected:
        return []
    at = next(
        (i for i, (a, e) in enumerate(zip(actual, expected)) if a != e), min(len(actual), len(expected))
    )
    return [
        f"{what} differs at byte {at} (got {len(actual)} bytes, expected {len(expected)}):\n"
        f"    got      {actual[max(0, at - 40):at + 60]!r}\n"
        f"    expected {expected[max(0, at - 40):at + 60]!r}"
    ]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lookup", required=True, help="the quorvel-lookup program to run")
    parser.add_argument("--wine", action="store_true", help="the program is a Windows one: run it under wine")
    parser.add_argument("cases", nargs="*", help="case names (default: all)")
    options = parser.parse_args()
    lookup = os.path.abspath(options.lookup)
    if not os.access(lookup, os.X_OK):
        sys.exit(f"e2e: {lookup} is not an executable program")
    cases = load_all(options.cases)  # read before entering: a broken case file fails at once
    sandbox.enter(tools=("wine",) if options.wine else ())

    command = sandbox.wine_command(lookup) if options.wine else [lookup]
    run_all(cases, lambda case: run_case(case, command), label="wine " if options.wine else "")

if __name__ == "__main__":
    main()
