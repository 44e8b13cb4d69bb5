#!/usr/bin/env python3
"""Times whole lookups, process start included, in the end-to-end network sandbox.

    compare_whois.py --lookup BUILD/cli/quorvel-lookup [--whois /usr/bin/whois] [--runs N]

1. One exchange: quorvel-lookup and Debian's whois client (`whois -h whois.apnic.net ADDRESS`)
   ask the same stand-in APNIC server, which gives both the same captured reply. The two are
   run alternately, N times each, the order swapped every round, and the median of each and
   their ratio are printed; so is each program's start alone (--version), timed in the same
   rounds.
2. All five registries: quorvel-lookup follows APNIC -> TWNIC -> ARIN -> RIPE NCC -> LACNIC
   over the stand-in servers, N times; its median is printed.

With --instructions DIR, each of the three lookups also runs once under callgrind, whose
instruction counts do not depend on what else the machine is doing; the profiles are left in
DIR for callgrind_annotate.

Before timing, one run of each is checked: the exit status, the output, and the requests the
stand-in servers received. Exits 1 when a check fails, 77 when no sandbox can be made here.
"""

import argparse
import contextlib
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))

import sandbox  # noqa: E402
from standin_whois import Behaviour  # noqa: E402

REPLIES = os.path.join(HERE, "..", "tests", "data", "replies")
WRITTEN = os.path.join(HERE, "..", "tests", "data", "written")
BENCH_REPLIES = os.path.join(HERE, "data")

APNIC = "whois.apnic.net"
SINGLE_ADDRESS = "1.1.1.1"
SINGLE_REPLY = os.path.join(REPLIES, "whois.apnic.net", "ipv4-1.1.1.1_apnic-labs.txt")

# The lookup through all five registries, in the order it asks them.
LACNIC_WITH_OWNER = "ipv4-200.57.141.161_triara-mx_crlf.txt"
CHAIN_ADDRESS = "61.1.2.3"
CHAIN = [
    ("whois.apnic.net", os.path.join(BENCH_REPLIES, "apnic-iana-netblock-tw.txt")),
    ("whois.twnic.net.tw", os.path.join(WRITTEN, "whois.twnic.net.tw", "hinet_203.69.x.txt")),
    ("whois.arin.net", os.path.join(WRITTEN, "whois.arin.net", "old-layout_orgid-ripe_128.79.x.txt")),
    ("whois.ripe.net", os.path.join(WRITTEN, "whois.ripe.net", "iana-blk_200.x.txt")),
    ("whois.lacnic.net", os.path.join(REPLIES, "whois.lacnic.net", LACNIC_WITH_OWNER)),
]

WARM_UP_RUNS = 3  # not counted: the first runs pay for cold caches
RUN_LIMIT = 30  # seconds: far above any lookup here; only catches a hang


class CheckFailed(Exception):
    pass


def read(path):
    with open(path, "rb") as file:
        return file.read()


def request_line(address):
    """What quorvel-lookup sends: the query text, a blank, CR LF."""
    return f"{address} \r\n".encode("ascii")


def run_captured(command):
    result = subprocess.run(
        command, capture_output=True, stdin=subprocess.DEVNULL, timeout=RUN_LIMIT
    )
    return result.returncode, result.stdout, result.stderr


def time_once(command):
    """Wall time of one run from spawn to exit, in seconds; output goes to /dev/null."""
    actions = [
        (os.POSIX_SPAWN_OPEN, 0, os.devnull, os.O_RDONLY, 0),
        (os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
        (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0),
    ]
    started = time.perf_counter()
    pid = os.posix_spawn(command[0], command, os.environ, file_actions=actions)
    _, status = os.waitpid(pid, 0)
    elapsed = time.perf_counter() - started
    exit_code = os.waitstatus_to_exitcode(status)
    if exit_code != 0:
        raise CheckFailed(f"{' '.join(command)} exited {exit_code} while timed")
    return elapsed


def alternate(commands, runs):
    """{name: [seconds]} for commands run in turn, the order reversed every other round."""
    names = list(commands)
    times = {name: [] for name in names}
    for round_number in range(WARM_UP_RUNS + runs):
        order = names if round_number % 2 == 0 else list(reversed(names))
        for name in order:
            elapsed = time_once(commands[name])
            if round_number >= WARM_UP_RUNS:
                times[name].append(elapsed)
    return times


def whois_request_line(whois, network_dir):
    """The request line the whois client sends for the single exchange (it adds its own
    version flag for APNIC), learnt from one run against an unscripted stand-in."""
    with network(network_dir, {}) as standin:
        run_captured([whois, "-h", APNIC, SINGLE_ADDRESS])
        received = [request for host, request in standin.requests() if host == APNIC]
    if len(received) != 1 or SINGLE_ADDRESS.encode() not in received[0]:
        raise CheckFailed(f"the whois client sent {received!r} to {APNIC}")
    return received[0]


@contextlib.contextmanager
def network(workdir, script):
    """DNS for the registries' names, and stand-in whois servers answering from the script."""
    with sandbox.stand_in_network(dict(sandbox.REGISTRY_ADDRESSES), {}, workdir, script) as whois:
        yield whois


def check_single(lookup, whois, standin, reply):
    status, out, err = run_captured([lookup, SINGLE_ADDRESS])
    record = reply[reply.find(b"inetnum:"):].replace(b"\n", b"\r\n")
    if status != 0 or record not in out:
        raise CheckFailed(f"quorvel-lookup {SINGLE_ADDRESS}: status {status}, stderr {err!r}")
    status, out, err = run_captured([whois, "-h", APNIC, SINGLE_ADDRESS])
    if status != 0 or reply.rstrip() not in out:
        raise CheckFailed(f"whois -h {APNIC} {SINGLE_ADDRESS}: status {status}, stderr {err!r}")
    if len(standin.requests()) != 2:
        raise CheckFailed(f"expected one exchange each, the stand-in saw {standin.requests()!r}")


def check_chain(lookup, standin):
    status, out, err = run_captured([lookup, CHAIN_ADDRESS])
    asked = [host for host, _ in standin.requests()]
    expected = [host for host, _ in CHAIN]
    if status != 0 or asked != expected:
        raise CheckFailed(
            f"quorvel-lookup {CHAIN_ADDRESS}: status {status}, asked {asked}, stderr {err!r}"
        )
    if b"owner:" not in out:
        raise CheckFailed(f"quorvel-lookup {CHAIN_ADDRESS} did not show LACNIC's record: {out!r}")


def count_instructions(command, profile):
    """Instructions the whole process executes, dynamic loading included, per callgrind."""
    result = subprocess.run(
        ["valgrind", "--tool=callgrind", f"--callgrind-out-file={profile}"] + command,
        capture_output=True,
        stdin=subprocess.DEVNULL,
        timeout=RUN_LIMIT * 4,
    )
    found = re.search(rb"Collected : (\d+)", result.stderr)
    if result.returncode != 0 or not found:
        raise CheckFailed(f"callgrind of {' '.join(command)}: {result.stderr[-500:]!r}")
    return int(found.group(1))


def milliseconds(seconds):
    return f"{seconds * 1000:.2f} ms"


def summary(name, times):
    ordered = sorted(times)
    p90 = ordered[max(0, int(len(ordered) * 0.9) - 1)]
    return (
        f"{name:<34} median {milliseconds(statistics.median(times)):>10}"
        f"   min {milliseconds(ordered[0]):>10}   p90 {milliseconds(p90):>10}"
        f"   ({len(times)} runs)"
    )


def measure_single(lookup, whois, runs, workdir, profiles, instructions):
    """{name: [seconds]} for the single exchange of both programs and for their start alone."""
    reply = read(SINGLE_REPLY)
    script = {
        (APNIC, request_line(SINGLE_ADDRESS)): Behaviour(reply),
        (APNIC, whois_request_line(whois, workdir)): Behaviour(reply),
    }
    lookup_command = [lookup, SINGLE_ADDRESS]
    whois_command = [whois, "-h", APNIC, SINGLE_ADDRESS]
    with network(workdir, script) as standin:
        check_single(lookup, whois, standin, reply)
        # The programs' start alone (no lookup), timed in the same rounds, tells the process's
        # own cost apart from the exchange's.
        times = alternate(
            {
                "quorvel-lookup": lookup_command,
                "whois": whois_command,
                "quorvel-lookup --version": [lookup, "--version"],
                "whois --version": [whois, "--version"],
            },
            runs,
        )
        if profiles:
            instructions[" ".join(lookup_command[1:])] = count_instructions(
                lookup_command, os.path.join(profiles, "callgrind.quorvel-lookup-single")
            )
            instructions["whois " + " ".join(whois_command[1:])] = count_instructions(
                whois_command, os.path.join(profiles, "callgrind.whois-single")
            )
    return times


def measure_chain(lookup, runs, workdir, profiles, instructions):
    """[seconds] of the lookup through all five registries."""
    script = {(host, request_line(CHAIN_ADDRESS)): Behaviour(read(path)) for host, path in CHAIN}
    command = [lookup, CHAIN_ADDRESS]
    with network(workdir, script) as standin:
        check_chain(lookup, standin)
        times = alternate({"chain": command}, runs)["chain"]
        if profiles:
            instructions[CHAIN_ADDRESS] = count_instructions(
                command, os.path.join(profiles, "callgrind.quorvel-lookup-chain")
            )
    return times


def report(single, chain, instructions, profiles):
    ratio = statistics.median(single["quorvel-lookup"]) / statistics.median(single["whois"])
    print(f"One exchange with the stand-in APNIC server ({SINGLE_ADDRESS}):")
    print("  " + summary("quorvel-lookup " + SINGLE_ADDRESS, single["quorvel-lookup"]))
    print("  " + summary(f"whois -h {APNIC} {SINGLE_ADDRESS}", single["whois"]))
    print(f"  ratio of the medians: {ratio:.2f} (target: at most 1.20)")
    print("  the programs' start alone, in the same rounds:")
    print("  " + summary("quorvel-lookup --version", single["quorvel-lookup --version"]))
    print("  " + summary("whois --version", single["whois --version"]))
    print("All five registries, APNIC -> TWNIC -> ARIN -> RIPE NCC -> LACNIC:")
    print("  " + summary("quorvel-lookup " + CHAIN_ADDRESS, chain))
    print("  target: median under 30 ms")
    if instructions:
        print(f"Instructions per run, whole process (callgrind; profiles in {profiles}):")
        for name, count in instructions.items():
            program = name if name.startswith("whois") else "quorvel-lookup " + name
            print(f"  {program:<34} {count:>12,}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lookup", required=True, help="the quorvel-lookup program")
    parser.add_argument("--whois", default="/usr/bin/whois", help="Debian's whois client")
    parser.add_argument("--runs", type=int, default=200, help="timed runs of each (default 200)")
    parser.add_argument("--instructions", metavar="DIR", help="callgrind profiles go into DIR")
    options = parser.parse_args()
    lookup = os.path.abspath(options.lookup)
    for program in (lookup, options.whois):
        if not os.access(program, os.X_OK):
            sys.exit(f"compare-whois: {program} is not an executable program")
    if options.runs < 1:
        sys.exit("compare-whois: --runs must be at least 1")
    profiles = os.path.abspath(options.instructions) if options.instructions else None
    sandbox.enter()

    instructions = {}
    try:
        if profiles:
            os.makedirs(profiles, exist_ok=True)
        with tempfile.TemporaryDirectory(prefix="quorvel-bench-") as workdir:
            single = measure_single(
                lookup, options.whois, options.runs, workdir, profiles, instructions
            )
            chain = measure_chain(lookup, options.runs, workdir, profiles, instructions)
    except (CheckFailed, sandbox.SandboxError, subprocess.TimeoutExpired) as problem:
        print(f"compare-whois: FAILED: {problem}", file=sys.stderr)
        sys.exit(1)
    report(single, chain, instructions, profiles)


if __name__ == "__main__":
    main()
