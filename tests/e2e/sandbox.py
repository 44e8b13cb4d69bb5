"""A private network for running the unmodified programs against stand-in registries.

enter() re-runs the calling script inside new network and mount namespaces (unshare), where
only a loopback interface exists: nothing sent there can leave the machine. Inside, the
namespace gets its own resolv.conf, hosts and nsswitch.conf (bind mounts), so the programs'
ordinary resolver asks a dnsmasq that this module starts in the foreground on 127.0.0.1.
dnsmasq is authoritative for what it serves: any other name, forward or reverse, is answered
NXDOMAIN at once.
"""

import contextlib
import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time

from standin_whois import StandinWhois

INSIDE_MARKER = "QUORVEL_E2E_SANDBOX"
DNS_ADDRESS = "127.0.0.1"

# The five registries' whois servers, each on its own loopback address.
REGISTRY_ADDRESSES = {
    "whois.apnic.net": "127.0.0.2",
    "whois.twnic.net.tw": "127.0.0.3",
    "whois.arin.net": "127.0.0.4",
    "whois.ripe.net": "127.0.0.5",
    "whois.lacnic.net": "127.0.0.6",
}

SKIP_STATUS = 77  # ctest's SKIP_RETURN_CODE for the suite

WINE_SANDBOX = os.path.normpath(
    os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "wine-sandbox.sh")
)

# dnsmasq, ip and mount live in the system folders, which a plain user's PATH may lack.
for _folder in ("/usr/sbin", "/sbin"):
    if _folder not in os.environ.get("PATH", "").split(os.pathsep):
        os.environ["PATH"] = os.environ.get("PATH", "") + os.pathsep + _folder


class SandboxError(Exception):
    pass


def enter(tools=()):
    """Re-runs this process inside a new sandbox and exits with its status; returns once
    inside. Outside CI, a machine where the sandbox or the named tools are missing skips the
    suite."""
    if os.environ.get(INSIDE_MARKER) == "1":
        _set_up_inside()
        return
    problem = _why_no_sandbox(tools)
    if problem:
        print(f"e2e: cannot make a network sandbox: {problem}", file=sys.stderr)
        sys.exit(1 if os.environ.get("CI") == "true" else SKIP_STATUS)
    env = dict(os.environ, **{INSIDE_MARKER: "1"})
    command = ["unshare", "--net", "--mount", "--propagation", "private", "--fork", "--"]
    command += [sys.executable] + sys.argv
    sys.exit(subprocess.run(command, env=env).returncode)


def _why_no_sandbox(tools):
    if os.geteuid() != 0:
        return "needs root (unshare of network and mount namespaces)"
    for tool in ("unshare", "ip", "dnsmasq") + tuple(tools):
        if not shutil.which(tool):
            return f"{tool} is not installed (scripts/install-deps.sh installs it)"
    return None


def _set_up_inside():
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    scratch = tempfile.mkdtemp(prefix="quorvel-e2e-etc-")
    _private_file(scratch, "/etc/resolv.conf", f"nameserver {DNS_ADDRESS}\noptions attempts:1 timeout:2\n")
    _private_file(scratch, "/etc/hosts", "127.0.0.1\tlocalhost\n")
    _private_file(scratch, "/etc/nsswitch.conf", _nsswitch_with_files_then_dns())


def _private_file(scratch, path, text):
    private = os.path.join(scratch, os.path.basename(path))
    with open(private, "w", encoding="ascii") as file:
        file.write(text)
    subprocess.run(["mount", "--bind", private, path], check=True)


def _nsswitch_with_files_then_dns():
    try:
        with open("/etc/nsswitch.conf", encoding="utf-8") as file:
            lines = [line for line in file if not line.startswith("hosts:")]
    except FileNotFoundError:
        lines = []
    return "".join(lines) + "hosts: files dns\n"


def with_wine_server(command):
    """The command run beside a wine server of this sandbox's own, started and warmed first
    (wine's server makes the Windows programs' sockets, so it must be in this network). The
    wine prefix is $WINEPREFIX."""
    return ["env", "QUORVEL_WINE_SANDBOX=1", WINE_SANDBOX] + command


def wine_command(program):
    """How to run a Windows program in this sandbox: under wine, beside a server of its own."""
    return with_wine_server(["wine", program])


class DnsServer:
    """dnsmasq in the foreground, serving exactly the given records."""

    def __init__(self, a_records, ptr_records, workdir):
        """a_records: {name: dotted address}; ptr_records: {dotted address: name}."""
        self.log_path = os.path.join(workdir, "dnsmasq.log")
        config_path = os.path.join(workdir, "dnsmasq.conf")
        with open(config_path, "w", encoding="ascii") as file:
            file.write(dnsmasq_config(a_records, ptr_records, self.log_path))
        self._process = subprocess.Popen(
            ["dnsmasq", "--keep-in-foreground", f"--conf-file={config_path}"],
            stdout=subprocess.DEVNULL,
            stderr=subprocess.PIPE,
        )
        self._wait_until_answering()

    def stop(self):
        self._process.terminate()
        try:
            self._process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self._process.kill()
            self._process.wait()

    def _wait_until_answering(self):
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if self._process.poll() is not None:
                raise SandboxError("dnsmasq ended: " + self._process.stderr.read().decode(errors="replace"))
            if dns_answers(DNS_ADDRESS):
                return
            time.sleep(0.05)
        self.stop()
        raise SandboxError("dnsmasq did not answer within 10 s")


def dnsmasq_config(a_records, ptr_records, log_path):
    lines = [
        "no-resolv",  # no upstream: nothing is forwarded anywhere
        "no-hosts",
        "no-poll",
        f"listen-address={DNS_ADDRESS}",
        "bind-interfaces",
        "user=root",
        "group=root",
        "pid-file=",
        "local=/#/",  # every name not served below is NXDOMAIN, at once
        "log-queries",
        f"log-facility={log_path}",
    ]
    lines += [f"address=/{name}/{address}" for name, address in a_records.items()]
    for address, name in ptr_records.items():
        reverse = ".".join(reversed(address.split("."))) + ".in-addr.arpa"
        lines.append(f"ptr-record={reverse},{name}")
    return "\n".join(lines) + "\n"


def dns_answers(server):
    """True when the server answers a query (any answer, NXDOMAIN included)."""
    query = struct.pack(">HHHHHH", 0x5157, 0x0100, 1, 0, 0, 0)
    query += b"\x05ready\x04test\x00" + struct.pack(">HH", 1, 1)
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.settimeout(0.2)
        try:
            probe.sendto(query, (server, 53))
            reply, _ = probe.recvfrom(512)
        except OSError:
            return False
    return reply[:2] == query[:2]


@contextlib.contextmanager
def stand_in_network(a_records, ptr_records, workdir, script, refused=()):
    """dnsmasq with the given records and stand-in registries answering from the script, for as
    long as the block runs; yields the stand-ins, which record what each registry was asked."""
    dns = DnsServer(a_records, ptr_records, workdir)
    try:
        whois = StandinWhois(REGISTRY_ADDRESSES, script, refused)
        try:
            yield whois
        finally:
            whois.stop()
    finally:
        dns.stop()
