"""A private network for running the unmodified programs against stand-in registries.

enter() re-runs the calling script inside new network and mount namespaces (unshare), where
only a loopback interface exists: nothing sent there can leave the machine. Inside, the
namespace gets its own resolv.conf, hosts and nsswitch.conf (bind mounts), so the programs'
ordinary resolver asks a dnsmasq that this module starts in the foreground on 127.0.0.1.
dnsmasq is authoritative for what it serves: any other name, forward or reverse, is answered
NXDOMAIN at once. The namespace's loopback has ::1 as its only IPv6 address, which is why the
programs must not ask the resolver with AI_ADDRCONFIG.
"""

import contextlib
import ipaddress
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

# The registries' whois servers and IANA's, each on its own loopback address.
REGISTRY_ADDRESSES = {
    "whois.apnic.net": "127.0.0.2",
    "whois.twnic.net.tw": "127.0.0.3",
    "whois.arin.net": "127.0.0.4",
    "whois.ripe.net": "127.0.0.5",
    "whois.lacnic.net": "127.0.0.6",
    "whois.afrinic.net": "127.0.0.7",
    "whois.iana.org": "127.0.0.8",
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
    """How to run a Windows program in this sandbox: under wine, beside a server of its own.
    Wine hands the program its command line decoded in the locale's character set: a UTF-8
    locale gives it the Unicode arguments Windows would, whatever the caller's locale."""
    return with_wine_server(["env", "LC_ALL=C.UTF-8", "wine", program])


class DnsServer:
    """dnsmasq in the foreground, serving exactly the given records."""

    def __init__(self, records, workdir):
        self.log_path = os.path.join(workdir, "dnsmasq.log")
        config_path = os.path.join(workdir, "dnsmasq.conf")
        with open(config_path, "w", encoding="ascii") as file:
            file.write(dnsmasq_config(records, self.log_path))
        self._process = subprocess.Popen(
            ["dnsmasq", "--keep-in-foreground", f"--conf-file={config_path}"],
            stdout=subprocess.DEVNULL,
            stderr=subprocess.PIPE,
        )
        self._wait_until_answering()
        try:
            check_resolver_answers(records)
        except SandboxError:
            self.stop()
            raise

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


class DnsRecords:
    """What the sandbox's DNS serves: a: {name: IPv4 address}; aaaa: {name: IPv6 address};
    ptr: {IPv4 or IPv6 address: name}."""

    def __init__(self, a=None, aaaa=None, ptr=None):
        self.a = dict(a or {})
        self.aaaa = dict(aaaa or {})
        self.ptr = dict(ptr or {})


def dnsmasq_config(records, log_path):
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
    # A name with an IPv6 address is a host record, so that the family it lacks is answered
    # NODATA (an address= name would be NXDOMAIN for the other family). dnsmasq answers the
    # reverse look-up of a host record's addresses with its name, unless a ptr names another.
    for name, address in records.a.items():
        if name not in records.aaaa:
            lines.append(f"address=/{name}/{address}")
    for name, address in records.aaaa.items():
        addresses = [records.a[name], address] if name in records.a else [address]
        lines.append(f"host-record={name},{','.join(addresses)}")
    for address, name in records.ptr.items():
        lines.append(f"ptr-record={ipaddress.ip_address(address).reverse_pointer},{name}")
    return "\n".join(lines) + "\n"


def check_resolver_answers(records):
    """Asks the programs' own resolver (glibc, through the namespace's resolv.conf) for the IPv6
    names and the reverse names served, so that a dnsmasq set-up that answers otherwise fails
    here rather than as a puzzling case."""
    for name, address in records.aaaa.items():
        if name not in records.a:
            _expect_no_ipv4(name)
        found = _ipv6_addresses(name)
        if found != [ipaddress.ip_address(address)]:
            raise SandboxError(f"{name} resolves to {found}, not to {address} alone")
    for address, name in records.ptr.items():
        found = _reverse_name(address)
        if found != name:
            raise SandboxError(f"the reverse name of {address} is {found}, not {name}")


def _expect_no_ipv4(name):
    """The resolver must answer NODATA: the name exists, without an IPv4 address."""
    try:
        socket.getaddrinfo(name, None, socket.AF_INET, socket.SOCK_STREAM)
    except socket.gaierror as error:
        if error.errno == socket.EAI_NODATA:
            return
        raise SandboxError(f"{name} without IPv4: {error}, where NODATA was due") from error
    raise SandboxError(f"{name} has an IPv4 address, where NODATA was due")


def _ipv6_addresses(name):
    try:
        found = socket.getaddrinfo(name, None, socket.AF_INET6, socket.SOCK_STREAM)
    except socket.gaierror as error:
        raise SandboxError(f"{name} has no IPv6 address: {error}") from error
    return [ipaddress.ip_address(entry[4][0]) for entry in found]


def _reverse_name(address):
    try:
        return socket.getnameinfo((address, 0), socket.NI_NAMEREQD)[0]
    except socket.gaierror as error:
        raise SandboxError(f"{address} has no reverse name: {error}") from error


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
def stand_in_network(a_records, ptr_records, workdir, script, refused=(), aaaa_records=None):
    """dnsmasq with the given records (as DnsRecords has them) and stand-in registries answering
    from the script, for as long as the block runs; yields the stand-ins, which record what each
    registry was asked."""
    dns = DnsServer(DnsRecords(a_records, aaaa_records, ptr_records), workdir)
    try:
        whois = StandinWhois(REGISTRY_ADDRESSES, script, refused)
        try:
            yield whois
        finally:
            whois.stop()
    finally:
        dns.stop()
