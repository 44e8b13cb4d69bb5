#!/usr/bin/env python3
"""quorvel-lookup's batch, measured in the end-to-end network sandbox (needs root).

    batch_bench.py --lookup BUILD/cli/quorvel-lookup --extract-speed BUILD/bench/quorvel-extract-speed
                   [--quick]

1. Many destinations against slow registries. Stand-ins for every registry and IANA answer each
   exchange after DELAY (100 ms). A list of 1,000 lines holds 400 distinct destinations over
   every registry (APNIC's own records, TWNIC's addition, ARIN's records and lists of matches,
   LACNIC, AFRINIC and RIPE NCC behind them, IPv6 through IANA, AS numbers), each written two
   or three times. Timed: `quorvel-lookup -f LIST` (a batch, default jobs and per-server
   limit), and the same 1,000 destinations as arguments, one after another, as quorvel-lookup
   asks without a batch option. The floor is the busiest server's exchanges in the batch times
   DELAY divided by its per-server limit: no polite batch can be faster.
2. The finding of addresses alone (--extract's reader, quorvel-extract-speed) over a generated
   log of web, mail and firewall lines, against `grep -oE` with an IPv4 pattern on the same
   file (in the C locale, where grep is fastest): MB/s of each, the best of three runs.
3. A whole `--extract` run over a log with 10,000 distinct private addresses (each gets its
   reverse lookup, then the private text): its peak resident memory.

--parts 23 runs the second and third alone. --quick runs small versions of all three (seconds, for CI): 100 lines, 40 distinct, 20 ms; no
one-after-another run; an 8 MB log; 1,000 private addresses. Exits 1 when a check fails (the
batch's rows, the requests, the connections per server), 77 when no sandbox can be made here.
"""

import argparse
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))

import sandbox  # noqa: E402
from standin_whois import Behaviour  # noqa: E402

DATA = os.path.join(HERE, "..", "tests", "data")
PER_SERVER = 2  # quorvel-lookup's default
RUN_LIMIT = 1800  # seconds; only catches a hang

APNIC = "whois.apnic.net"
TWNIC = "whois.twnic.net.tw"
ARIN = "whois.arin.net"
RIPE = "whois.ripe.net"
LACNIC = "whois.lacnic.net"
AFRINIC = "whois.afrinic.net"
IANA = "whois.iana.org"


def data(relative):
    with open(os.path.join(DATA, relative), "rb") as file:
        return file.read()


PLACEHOLDER = "written/whois.apnic.net/iana-block_placeholder.txt"

# Each kind of destination: how many distinct ones of the 400, the destination for number i,
# and its exchanges (server, query, reply file). ARIN's list of matches names the handle
# NET-8-8-8-0-1 for every address it covers: a batch asks for it once.
KINDS = [
    (120, lambda i: f"1.0.{i // 200}.{i % 200 + 1}",
     lambda d: [(APNIC, d, "replies/whois.apnic.net/ipv4-1.1.1.1_apnic-labs.txt")]),
    (30, lambda i: f"203.69.{i}.1",
     lambda d: [(APNIC, d, "written/whois.apnic.net/hinet-tw_203.69.x.txt"),
                (TWNIC, d, "written/whois.twnic.net.tw/hinet_203.69.x.txt")]),
    (60, lambda i: f"74.125.{i}.1",
     lambda d: [(APNIC, d, PLACEHOLDER),
                (ARIN, d, "replies/whois.arin.net/ipv4-74.125.225.229_google.txt")]),
    (40, lambda i: f"8.8.{i}.8",
     lambda d: [(APNIC, d, PLACEHOLDER),
                (ARIN, d, "replies/whois.arin.net/ipv4-8.8.8.8_match-list.txt"),
                (ARIN, "NET-8-8-8-0-1", "replies/whois.arin.net/ipv4-74.125.225.229_google.txt")]),
    (30, lambda i: f"200.57.{i}.1",
     lambda d: [(APNIC, d, PLACEHOLDER),
                (ARIN, d, "written/whois.arin.net/today_orgid-lacnic_200.x.txt"),
                (LACNIC, d, "replies/whois.lacnic.net/ipv4-200.57.141.161_triara-mx_crlf.txt")]),
    (30, lambda i: f"196.11.{i}.1",
     lambda d: [(APNIC, d, PLACEHOLDER),
                (ARIN, d, "written/whois.arin.net/today_orgid-afrinic_196.x.txt"),
                (AFRINIC, d, "replies/whois.afrinic.net/ipv4-196.11.240.215_mtn-za.txt")]),
    (30, lambda i: f"62.239.{i}.1",
     lambda d: [(APNIC, d, "written/whois.apnic.net/elsewhere_ripe-cidr-block-62.txt"),
                (RIPE, d, "replies/whois.ripe.net/ipv4-62.239.237.1_bt-corporate.txt")]),
    (30, lambda i: f"2001:4860:{i + 1:x}::1",
     lambda d: [(IANA, d, "written/whois.iana.org/refer-arin_2001.4800..-23.txt"),
                (ARIN, d, "replies/whois.arin.net/ipv6-2001.4860.4860..8888_google.txt")]),
    (15, lambda i: f"2a00:2381:{i + 1:x}::1",
     lambda d: [(IANA, d, "written/whois.iana.org/refer-ripe_2a00..-12.txt"),
                (RIPE, d, "replies/whois.ripe.net/ipv6-2a00.2381.ffff..1_bt.txt")]),
    (15, lambda i: f"AS{13335 + i}",
     lambda d: [(IANA, d, "written/whois.iana.org/as-refer-arin_13312-15359.txt"),
                (ARIN, "a " + d[2:], "replies/whois.arin.net/asn-13335_cloudflare_bare-AS-query.txt")]),
]


def destinations_and_script(distinct, lines, delay):
    """The list's lines (each distinct destination two or three times, shuffled) and the
    stand-ins' script. `distinct` scales the kinds' shares down for a quick run."""
    scale = distinct / 400
    chosen = []
    script = {}
    for count, destination_of, exchanges_of in KINDS:
        for i in range(max(1, round(count * scale))):
            destination = destination_of(i)
            chosen.append(destination)
            for server, query, reply in exchanges_of(destination):
                script[(server, f"{query} \r\n".encode())] = Behaviour(data(reply), delay=delay)
    rng = random.Random(20)
    listed = chosen + [rng.choice(chosen) for _ in range(lines - len(chosen))]
    rng.shuffle(listed)
    return listed, script


def run(command, stdin=None):
    started = time.monotonic()
    result = subprocess.run(command, input=stdin, capture_output=True, timeout=RUN_LIMIT)
    return time.monotonic() - started, result


def per_server(requests):
    counts = {}
    for host, _ in requests:
        counts[host] = counts.get(host, 0) + 1
    return counts


def batch_against_slow_registries(lookup, quick, workdir):
    distinct, lines, delay = (40, 100, 0.02) if quick else (400, 1000, 0.1)
    listed, script = destinations_and_script(distinct, lines, delay)
    list_path = os.path.join(workdir, "destinations.txt")
    with open(list_path, "w", encoding="ascii") as file:
        file.write("\n".join(listed) + "\n")
    a_records = dict(sandbox.REGISTRY_ADDRESSES)

    with sandbox.stand_in_network(a_records, {}, workdir, script) as whois:
        batch_time, batch = run([lookup, "--format", "csv", "--no-progress", "-f", list_path])
        requests = whois.requests()
        most_open = whois.most_open()
    rows = batch.stdout.decode().splitlines()[1:]
    unscripted = [request for request in requests if request not in script]
    problems = []
    if batch.returncode != 0 or len(rows) != len(listed) or any(",record" not in row for row in rows):
        problems.append(f"the batch ended {batch.returncode} with {len(rows)} rows: {batch.stderr[:300]!r}")
    if sorted(requests) != sorted(set(script)) or unscripted:
        problems.append(f"{len(requests)} requests for {len(script)} exchanges, unscripted {unscripted[:3]}")
    if max(most_open.values()) > PER_SERVER:
        problems.append(f"connections open at once: {most_open}")
    counts = per_server(requests)
    busiest = max(counts, key=counts.get)
    floor = counts[busiest] * delay / PER_SERVER

    print(f"1. {len(listed)} lines, {distinct} distinct destinations, {len(script)} exchanges, "
          f"each answered after {delay * 1000:.0f} ms")
    print(f"   exchanges per server: {counts}; most open at once: {most_open}")
    print(f"   floor: {busiest}'s {counts[busiest]} exchanges x {delay} s / {PER_SERVER} = {floor:.2f} s")
    print(f"   quorvel-lookup -f (batch): {batch_time:.2f} s = {batch_time / floor:.2f} x the floor")
    if not quick:
        with sandbox.stand_in_network(a_records, {}, workdir, script) as whois:
            single_time, single = run([lookup] + listed)
            single_requests = len(whois.requests())
        if single.returncode != 0:
            problems.append(f"one after another ended {single.returncode}")
        print(f"   one after another (no batch option): {single_time:.2f} s, {single_requests} "
              f"exchanges; the batch is {single_time / batch_time:.1f} x faster")
    return problems


def generated_log(path, megabytes):
    """Web, mail and firewall lines with addresses among versions, times and numbers."""
    rng = random.Random(7)
    addresses = [f"{rng.randrange(1, 224)}.{rng.randrange(256)}.{rng.randrange(256)}.{rng.randrange(1, 255)}"
                 for _ in range(5000)]
    addresses6 = [f"2001:db8:{rng.randrange(65536):x}::{rng.randrange(65536):x}" for _ in range(500)]
    templates = [
        '{a} - - [10/Oct/2026:13:55:{s:02d} +0000] "GET /index.html?id={n} HTTP/1.1" 200 {n} "-" '
        '"Mozilla/5.0 (X11; Linux x86_64) Chrome/120.0.6099.{s} Safari/537.36"\n',
        "Oct 10 13:55:{s:02d} mx postfix/smtpd[{n}]: connect from unknown[{a}]\n",
        "Oct 10 13:55:{s:02d} mx postfix/smtpd[{n}]: NOQUEUE: reject: RCPT from unknown[{a}]: 554 5.7.1 "
        "Service unavailable; client host blocked; from=<x@example.org> proto=ESMTP helo=<h{n}>\n",
        "Oct 10 13:55:{s:02d} gw kernel: DROP IN=eth0 OUT= SRC={a} DST=192.0.2.{s} LEN=60 TTL=52 "
        "ID={n} PROTO=TCP SPT={n} DPT=22 WINDOW=64240\n",
        "Oct 10 13:55:{s:02d} gw kernel: DROP IN=eth0 SRC={b} DST=2001:db8::1 LEN=80 SPT={n} DPT=443\n",
    ]
    target = megabytes * 1_000_000
    written = 0
    with open(path, "w", encoding="ascii") as file:
        block = []
        for index in range(20000):
            template = templates[index % len(templates)]
            block.append(template.format(a=rng.choice(addresses), b=rng.choice(addresses6),
                                         s=index % 60, n=rng.randrange(100000)))
        text = "".join(block)
        while written < target:
            file.write(text)
            written += len(text)
    return written


def best_of_three(command, output):
    """grep writes what it finds to a file (to /dev/null it would stop at the first match), in
    the C locale, where it is fastest."""
    times = []
    for _ in range(3):
        with open(output, "wb") as found:
            started = time.monotonic()
            subprocess.run(command, stdout=found, check=True, timeout=RUN_LIMIT,
                           env=dict(os.environ, LC_ALL="C"))
            times.append(time.monotonic() - started)
    os.remove(output)
    return min(times)


def finding_against_grep(extract_speed, quick, workdir):
    path = os.path.join(workdir, "generated.log")
    size = generated_log(path, 8 if quick else 200)
    reader = min((float(run([extract_speed, path])[1].stdout.split()[2]) for _ in range(3)))
    grep = best_of_three(["grep", "-oE", r"([0-9]{1,3}\.){3}[0-9]{1,3}", path],
                         os.path.join(workdir, "grep.out"))
    reader_rate = size / reader / 1e6
    grep_rate = size / grep / 1e6
    print(f"2. finding addresses in a {size / 1e6:.0f} MB log: --extract's reader {reader_rate:.0f} "
          f"MB/s, grep -oE {grep_rate:.0f} MB/s ({reader_rate / grep_rate:.2f} x grep)")
    os.remove(path)
    return []


def extract_peak_memory(lookup, quick, workdir):
    count = 1000 if quick else 10000
    path = os.path.join(workdir, "private.log")
    rng = random.Random(3)
    privates = [f"10.{i // 65536}.{i // 256 % 256}.{i % 256}" for i in range(1, count + 1)]
    lines = [f"Oct 10 13:55:00 gw kernel: DROP SRC={rng.choice(privates)} DST=192.168.0.1\n"
             for _ in range(count * 3)]
    lines += [f"seen {address}\n" for address in privates]  # every one at least once
    with open(path, "w", encoding="ascii") as file:
        file.writelines(lines)
    with sandbox.stand_in_network(dict(sandbox.REGISTRY_ADDRESSES), {}, workdir, {}):
        with open(os.devnull, "wb") as null:
            started = time.monotonic()
            process = subprocess.Popen([lookup, "--extract", "--format", "csv", "-f", path],
                                       stdout=null, stderr=null)
            _, status, usage = os.wait4(process.pid, 0)
            elapsed = time.monotonic() - started
    peak_mib = usage.ru_maxrss / 1024
    problems = [] if os.waitstatus_to_exitcode(status) == 0 else ["the --extract run failed"]
    print(f"3. --extract over {count} distinct private addresses ({len(lines)} lines): "
          f"{elapsed:.1f} s, peak resident memory {peak_mib:.1f} MiB")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lookup", required=True)
    parser.add_argument("--extract-speed", required=True)
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--parts", default="123", help="which of the three to run (default 123)")
    options = parser.parse_args()
    lookup = os.path.abspath(options.lookup)
    extract_speed = os.path.abspath(options.extract_speed)
    sandbox.enter()
    problems = []
    with tempfile.TemporaryDirectory(prefix="quorvel-batch-bench-") as workdir:
        if "1" in options.parts:
            problems += batch_against_slow_registries(lookup, options.quick, workdir)
        if "2" in options.parts:
            problems += finding_against_grep(extract_speed, options.quick, workdir)
        if "3" in options.parts:
            problems += extract_peak_memory(lookup, options.quick, workdir)
    for problem in problems:
        print("FAILED: " + problem)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
