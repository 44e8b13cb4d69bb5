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
import pty
import re
import signal
import subprocess
import sys
import tempfile
import threading
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
            returncode, stdout, stderr = run_program(lookup + case.args, case)
        except subprocess.TimeoutExpired:
            return [f"quorvel-lookup still running after {RUN_LIMIT} s"], float(RUN_LIMIT)
        elapsed = time.monotonic() - started
        requests = whois.requests()
        most_open = whois.most_open()
    problems = []
    limit = case.most_connections_per_server
    if limit is not None and any(count > limit for count in most_open.values()):
        problems.append(f"connections open at once {most_open!r}, more than {limit}")
    if returncode != case.status:
        problems.append(f"exit status {returncode}, expected {case.status}")
    problems += compare_bytes("stdout", stdout, case.stdout)
    if case.stderr_pattern is not None:
        if not re.fullmatch(case.stderr_pattern.encode("latin-1"), stderr, re.DOTALL):
            problems.append(f"stderr {stderr!r}\n    does not match {case.stderr_pattern!r}")
    else:
        problems += compare_bytes("stderr", stderr, case.stderr)
    expected_requests = case.expected_requests()
    if case.requests_in_any_order:
        requests, expected_requests = sorted(requests), sorted(expected_requests)
    if requests != expected_requests:
        problems.append(f"requests {requests!r},\n    expected {expected_requests!r}")
    return problems, elapsed


def run_program(command, case):
    """Runs quorvel-lookup with the case's standard input; its stderr on a pseudo-terminal
    when the case asks for one, and SIGINT sent to its process group after the case's delay.
    Gives the exit status and the bytes of stdout and stderr."""
    stderr_terminal = None
    if case.stderr_terminal:
        stderr_terminal, terminal_end = pty.openpty()
    # A session of its own, so that SIGINT goes to its whole process group, as a terminal's
    # Ctrl-C does (under wine, to the wine process behind the sandbox's script too).
    process = subprocess.Popen(
        command,
        stdin=subprocess.PIPE,
        stdout=subprocess.PIPE,
        stderr=terminal_end if stderr_terminal is not None else subprocess.PIPE,
        start_new_session=case.interrupt_after is not None,
        env=dict(os.environ, **case.env),
    )
    terminal_bytes = []
    if stderr_terminal is not None:
        os.close(terminal_end)
        reader = threading.Thread(target=read_terminal, args=(stderr_terminal, terminal_bytes))
        reader.start()
    if case.interrupt_after is not None:
        threading.Timer(case.interrupt_after, os.killpg, (process.pid, signal.SIGINT)).start()
    try:
        stdout, stderr = process.communicate(case.stdin, timeout=RUN_LIMIT)
    except subprocess.TimeoutExpired:
        process.kill()
        process.communicate()
        raise
    if stderr_terminal is not None:
        reader.join()
        os.close(stderr_terminal)
        stderr = b"".join(terminal_bytes)
    return process.returncode, stdout, stderr


def read_terminal(fd, pieces):
    """Everything written to the pseudo-terminal until the program has closed it."""
    while True:
        try:
            piece = os.read(fd, 4096)
        except OSError:  # EIO: the program's end of the terminal is closed
            return
        if not piece:
            return
        pieces.append(piece)


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
    if options.wine:
        cases = [case for case in cases if not case.linux_only]
    sandbox.enter(tools=("wine",) if options.wine else ())

    command = sandbox.wine_command(lookup) if options.wine else [lookup]
    run_all(cases, lambda case: run_case(case, command), label="wine " if options.wine else "")

if __name__ == "__main__":
    main()
