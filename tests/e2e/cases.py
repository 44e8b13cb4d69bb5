"""End-to-end cases as data: one TOML file per case under tests/e2e/cases/.

    about = "what the case shows"
    args = ["-v", "1.1.1.1"]           # quorvel-lookup's arguments
    destination = "1.1.1.1"            # what the window's address box gets (window cases)
    env = { LC_ALL = "C" }             # set for the quorvel-lookup run, beside the caller's

    [dns]                              # besides the registries' own A records
    a = { "host.test" = "218.29.0.1" }
    aaaa = { "ipv6only.test" = "2001:4860:4860::8844" }   # alone: A is answered NODATA
    ptr = { "1.1.1.1" = "one.one.one.one", "2001:4860:4860::8888" = "dns.google" }
    unresolved = ["whois.ripe.net"]    # registry names left out of the DNS

    [servers]
    refused = ["whois.arin.net"]       # registry addresses nobody listens on

    [[exchange]]                       # the requests expected, in order, and their replies
    server = "whois.apnic.net"
    request = "1.1.1.1 \r\n"
    reply_file = "replies/whois.apnic.net/ipv4-1.1.1.1_apnic-labs.txt"   # under tests/data
    reply = "inline reply text"        # instead of reply_file
    reply = { file = "replies/...", from = "% IANA", until = "% Query time" }   # a slice
    mode = "answer"                    # answer | drip | silent | endless | reset
    chunk = 7                          # bytes per send (answer, drip)
    interval = 0.002                   # seconds between sends (drip)
    delay = 0.1                        # seconds before the reply begins

    [expect]
    status = 0                         # the exit status; -2: ended by the SIGINT itself
    stderr = ""
    stdout = ["Name:    ...", { file = "replies/...", from = "inetnum:", until = "% whois",
                                crlf = true }, "\n"]

Arguments, destinations and the expected stdout's and stderr's literal texts are UTF-8, as a
terminal and the windows hand over and show them; request lines and inline replies are bytes,
one for each character (Latin-1), as registries send them.

For the batch's cases (all optional):

    stdin_file = "batch/mixed-200.txt"  # standard input's bytes, under tests/e2e (else none)
    network = "batch/mixed-200-network.toml"  # [dns] and [[exchange]] shared by several cases
    stderr_terminal = true             # stderr is a pseudo-terminal (stdout stays a pipe)
    interrupt_after = 1.0              # SIGINT this many seconds after the start
    linux_only = true                  # not run under wine

    [expect]
    requests_in_any_order = true       # a batch asks in parallel: the requests as a multiset
    most_connections_per_server = 2    # no stand-in ever had more connections open at once
    stderr_pattern = "..."             # instead of stderr: a regular expression it matches whole
    stdout = [{ expected_file = "batch/mixed-200.csv" }]   # bytes under tests/e2e

An expected stdout is a list of parts: literal texts, and slices of a reply file from the
first occurrence of `from` (the start when absent) to the first occurrence of `until` after
it (the end when absent), with every LF turned into CR LF when `crlf` is true. A reply may be
such a slice too: the registry's own text in a capture that its capturing client added to. The expected
request list holds only requests that reached a listener: an exchange whose server refuses
connections is not listed.

Every name or address not served is NXDOMAIN. A name with an aaaa is served as a host record:
the reverse name of its addresses is then that name, unless ptr gives another.
"""

import os
import sys
import tomllib

from standin_whois import Behaviour

DATA_DIR = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", "data"))
E2E_DIR = os.path.dirname(os.path.abspath(__file__))
CASES_DIR = os.path.join(E2E_DIR, "cases")


class Case:
    def __init__(self, path):
        self.path = path
        self.name = os.path.splitext(os.path.basename(path))[0]
        with open(path, "rb") as file:
            data = tomllib.load(file)
        self.about = data.get("about", "")
        if "network" in data:
            with open(os.path.join(E2E_DIR, data["network"]), "rb") as file:
                shared = tomllib.load(file)
            for kind, records in shared.get("dns", {}).items():
                data.setdefault("dns", {}).setdefault(kind, {}).update(records)
            data["exchange"] = shared.get("exchange", []) + data.get("exchange", [])
        self.stdin = read_e2e(data["stdin_file"]) if "stdin_file" in data else b""
        self.stderr_terminal = data.get("stderr_terminal", False)
        self.interrupt_after = data.get("interrupt_after")
        self.linux_only = data.get("linux_only", False)
        self.args = data["args"]
        self.destination = data.get("destination")
        self.env = data.get("env", {})
        dns = data.get("dns", {})
        self.a_records = dns.get("a", {})
        self.aaaa_records = dns.get("aaaa", {})
        self.ptr_records = dns.get("ptr", {})
        self.unresolved = set(dns.get("unresolved", []))
        self.refused = set(data.get("servers", {}).get("refused", []))
        self.exchanges = data.get("exchange", [])
        expect = data["expect"]
        self.status = expect["status"]
        self.stderr = expect.get("stderr", "").encode("utf-8")
        self.stderr_pattern = expect.get("stderr_pattern")
        self.requests_in_any_order = expect.get("requests_in_any_order", False)
        self.most_connections_per_server = expect.get("most_connections_per_server")
        self.stdout = b"".join(expected_part(part) for part in expect.get("stdout", []))

    def script(self):
        """{(host, request bytes): Behaviour} for the stand-in servers."""
        return {
            (exchange["server"], exchange["request"].encode("latin-1")): behaviour_of(exchange)
            for exchange in self.exchanges
        }

    def expected_requests(self):
        return [
            (exchange["server"], exchange["request"].encode("latin-1"))
            for exchange in self.exchanges
            if exchange["server"] not in self.refused
        ]


def behaviour_of(exchange):
    if "reply_file" in exchange:
        reply = read_data(exchange["reply_file"])
    elif isinstance(exchange.get("reply"), dict):
        reply = expected_part(exchange["reply"])
    else:
        reply = exchange.get("reply", "").encode("latin-1")
    return Behaviour(
        reply,
        exchange.get("mode", "answer"),
        exchange.get("chunk", 0),
        exchange.get("interval", 0.0),
        exchange.get("delay", 0.0),
    )


def expected_part(part):
    if isinstance(part, str):
        return part.encode("utf-8")
    if "expected_file" in part:
        return read_e2e(part["expected_file"])
    text = read_data(part["file"])
    start = 0
    if "from" in part:
        start = text.find(part["from"].encode("latin-1"))
        if start < 0:
            raise ValueError(f"{part['file']}: no {part['from']!r}")
    end = len(text)
    if "until" in part:
        end = text.find(part["until"].encode("latin-1"), start)
        if end < 0:
            raise ValueError(f"{part['file']}: no {part['until']!r}")
    piece = text[start:end]
    return piece.replace(b"\n", b"\r\n") if part.get("crlf") else piece


def read_e2e(relative):
    with open(os.path.join(E2E_DIR, relative), "rb") as file:
        return file.read()


def read_data(relative):
    with open(os.path.join(DATA_DIR, relative), "rb") as file:
        return file.read()


def load_all(names=()):
    paths = sorted(
        os.path.join(CASES_DIR, entry) for entry in os.listdir(CASES_DIR) if entry.endswith(".toml")
    )
    cases = [Case(path) for path in paths]
    if names:
        wanted = set(names)
        cases = [case for case in cases if case.name in wanted]
        missing = wanted - {case.name for case in cases}
        if missing:
            raise SystemExit(f"e2e: no such case: {', '.join(sorted(missing))}")
    return cases


def run_all(cases, run_case, label=""):
    """Runs each case (run_case gives its problems and time), prints a line per case and the
    closing count, and exits with 1 when any case failed."""
    passed = failed = 0
    for case in cases:
        problems, elapsed = run_case(case)
        if problems:
            failed += 1
            print(f"FAIL {label}{case.name} ({elapsed:.1f} s): {case.about}")
            for problem in problems:
                print("  " + problem)
        else:
            passed += 1
            print(f"ok   {label}{case.name} ({elapsed:.1f} s)")
    print(f"{passed} passed, {failed} failed")
    sys.exit(1 if failed else 0)
