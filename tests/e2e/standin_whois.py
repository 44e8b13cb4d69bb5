"""A stand-in for the registries' whois servers, on port 43 of sandbox loopback addresses.

Each connection is one exchange, as RFC 3912 has it: the server reads one request line,
records it, answers from the scripted replies and closes. Besides answering, a script can make
a server refuse connections (no listener at all), stay silent, drip its reply slowly, stream
without end, or reset the connection. Every wait is bounded, so a broken client cannot keep
the stand-in alive for long.
"""

import select
import socket
import struct
import threading
import time

WHOIS_PORT = 43
REQUEST_LINE_LIMIT = 4096  # a request line longer than any query the client may send
REQUEST_WAIT = 5.0  # seconds to wait for the request line
HOLD_LIMIT = 90.0  # a silent or endless exchange ends after this many seconds at the latest
ENDLESS_LIMIT = 64 * 1024 * 1024  # an endless reply stops after this many bytes at the latest

UNSCRIPTED_REPLY = b"% stand-in whois: no reply scripted for this request\n"


class Behaviour:
    """How a server answers one scripted request."""

    def __init__(self, reply=b"", mode="answer", chunk=0, interval=0.0, delay=0.0):
        self.reply = reply  # bytes sent (all of them, or before a reset)
        self.mode = mode  # answer | drip | silent | endless | reset
        self.chunk = chunk  # drip and answer: bytes per send, 0 for all at once
        self.interval = interval  # drip: seconds between sends
        self.delay = delay  # seconds between the request and the first byte of the reply


class StandinWhois:
    """Serves scripted replies on port 43 of each given address until stopped."""

    def __init__(self, hosts, script, refused=()):
        """hosts: {registry host name: loopback address}; script: {(host, request bytes):
        Behaviour}; refused: host names whose address gets no listener."""
        self._script = script
        self._requests = []
        self._open = {}  # connections open now, by host
        self._most_open = {}  # the most ever open at once, by host
        self._lock = threading.Lock()
        self._stopping = threading.Event()
        self._listeners = {}
        self._threads = []
        for host, address in hosts.items():
            if host in refused:
                continue
            listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            listener.bind((address, WHOIS_PORT))
            listener.listen(8)
            self._listeners[listener] = host
        self._acceptor = threading.Thread(target=self._accept_loop, daemon=True)
        self._acceptor.start()

    def requests(self):
        """The request lines received so far, in order: [(host, bytes)]."""
        with self._lock:
            return list(self._requests)

    def most_open(self):
        """{host: the most connections it ever had open at once}."""
        with self._lock:
            return dict(self._most_open)

    def stop(self):
        self._stopping.set()
        self._acceptor.join(timeout=5)
        for listener in self._listeners:
            listener.close()
        for thread in self._threads:
            thread.join(timeout=HOLD_LIMIT)

    def _accept_loop(self):
        while not self._stopping.is_set():
            ready, _, _ = select.select(list(self._listeners), [], [], 0.1)
            for listener in ready:
                connection, _ = listener.accept()
                host = self._listeners[listener]
                thread = threading.Thread(
                    target=self._serve,
                    args=(connection, host, ConnectionCount(self, host)),
                    daemon=True,
                )
                self._threads.append(thread)
                thread.start()

    def _serve(self, connection, host, closing):
        with connection:
            request = read_request_line(connection)
            with self._lock:
                self._requests.append((host, request))
            behaviour = self._script.get((host, request), Behaviour(UNSCRIPTED_REPLY))
            try:
                if behaviour.delay:
                    time.sleep(behaviour.delay)
                self._answer(connection, behaviour, closing)
            except OSError:
                pass  # the client went away first (it gave up, or hit its reply cap)
            finally:
                closing.close()

    def _count(self, host, change):
        with self._lock:
            self._open[host] = self._open.get(host, 0) + change
            self._most_open[host] = max(self._most_open.get(host, 0), self._open[host])

    def _answer(self, connection, behaviour, closing):
        if behaviour.mode == "silent":
            self._hold_until_client_closes(connection)
        elif behaviour.mode == "endless":
            self._stream_without_end(connection, behaviour.reply)
        elif behaviour.mode == "reset":
            connection.sendall(behaviour.reply)
            # Linger 0: close() sends a reset instead of an orderly end.
            connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        else:
            send_in_chunks(connection, behaviour.reply, behaviour.chunk, behaviour.interval)
            closing.close()  # the client may connect again as soon as the reply has ended
            connection.shutdown(socket.SHUT_WR)
            self._wait_for_client_close(connection, 5.0)

    def _hold_until_client_closes(self, connection):
        self._wait_for_client_close(connection, HOLD_LIMIT)

    def _wait_for_client_close(self, connection, limit):
        deadline = time.monotonic() + limit
        while not self._stopping.is_set() and time.monotonic() < deadline:
            ready, _, _ = select.select([connection], [], [], 0.1)
            if ready and not connection.recv(4096):
                return

    def _stream_without_end(self, connection, line):
        line = line or b"remarks:        and on and on\n"
        block = line * max(1, 8192 // len(line))
        sent = 0
        deadline = time.monotonic() + HOLD_LIMIT
        while sent < ENDLESS_LIMIT and time.monotonic() < deadline and not self._stopping.is_set():
            connection.sendall(block)
            sent += len(block)


class ConnectionCount:
    """One open connection of a host, counted from its accepting until close() (once)."""

    def __init__(self, standin, host):
        self._standin = standin
        self._host = host
        self._open = True
        standin._count(host, +1)

    def close(self):
        if self._open:
            self._open = False
            self._standin._count(self._host, -1)


def read_request_line(connection):
    """The bytes up to and including the first line feed (or what came before a time-out)."""
    connection.settimeout(REQUEST_WAIT)
    data = b""
    try:
        while b"\n" not in data and len(data) < REQUEST_LINE_LIMIT:
            piece = connection.recv(REQUEST_LINE_LIMIT)
            if not piece:
                break
            data += piece
    except socket.timeout:
        pass
    connection.settimeout(None)
    end = data.find(b"\n")
    return data if end < 0 else data[: end + 1]


def send_in_chunks(connection, data, chunk, interval):
    if chunk <= 0:
        connection.sendall(data)
        return
    for start in range(0, len(data), chunk):
        connection.sendall(data[start : start + chunk])
        if interval:
            time.sleep(interval)
