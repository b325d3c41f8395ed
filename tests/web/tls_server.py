#!/usr/bin/env python3
"""A local HTTPS server with a self-signed certificate, for tests that expect it to be refused.

    tls_server.py start DIR   start it in the background; DIR/port receives its port
    tls_server.py stop DIR    stop it

Each connection it accepts adds a line to DIR/connections, so a test can tell that a client came.

The server listens on 127.0.0.1 at a port of its own choosing and answers every request that gets
through the handshake with a fixed body. It stops by itself after ten minutes without a
connection, so that it is never left running.
"""
import os
import signal
import socket
import ssl
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CERTIFICATE = os.path.join(HERE, "tls", "test_cert.pem")
KEY = os.path.join(HERE, "tls", "test_key.pem")
IDLE_LIMIT_SECONDS = 600
START_LIMIT_SECONDS = 20
ANSWER = b"HTTP/1.1 200 OK\r\nContent-Length: 13\r\nConnection: close\r\n\r\nnot for you\r\n"


def serve(directory):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(CERTIFICATE, KEY)
    listener = socket.create_server(("127.0.0.1", 0))
    listener.settimeout(IDLE_LIMIT_SECONDS)
    port_file = os.path.join(directory, "port")
    with open(port_file + ".new", "w") as f:
        f.write(str(listener.getsockname()[1]))
    os.replace(port_file + ".new", port_file)
    while True:
        try:
            connection, _ = listener.accept()
        except socket.timeout:
            return
        with open(os.path.join(directory, "connections"), "a") as f:
            f.write("connection\n")
        connection.settimeout(10)
        try:
            with context.wrap_socket(connection, server_side=True) as tls:
                tls.recv(65536)
                tls.sendall(ANSWER)
        except (OSError, ssl.SSLError):
            pass  # the client refused the certificate: what the tests expect
        finally:
            connection.close()


def pid_file(directory):
    return os.path.join(directory, "pid")


def stop(directory):
    try:
        with open(pid_file(directory)) as f:
            pid = int(f.read().strip())
    except (OSError, ValueError):
        pid = None
    if pid is not None:
        # Only our own server: the number may meanwhile belong to another process.
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                ours = b"tls_server.py" in f.read()
        except OSError:
            ours = False
        if ours:
            try:
                os.kill(pid, signal.SIGTERM)
            except OSError:
                pass
    for name in ("pid", "port", "port.new", "connections"):
        try:
            os.remove(os.path.join(directory, name))
        except OSError:
            pass


def start(directory):
    os.makedirs(directory, exist_ok=True)
    stop(directory)
    server = subprocess.Popen(
        [sys.executable, os.path.abspath(__file__), "serve", directory],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        start_new_session=True)
    with open(pid_file(directory), "w") as f:
        f.write(str(server.pid))
    deadline = time.monotonic() + START_LIMIT_SECONDS
    while time.monotonic() < deadline:
        if os.path.exists(os.path.join(directory, "port")):
            return 0
        if server.poll() is not None:
            break
        time.sleep(0.05)
    server.kill()
    stop(directory)
    print("the TLS test server did not start", file=sys.stderr)
    return 1


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("start", "stop", "serve"):
        print(__doc__, file=sys.stderr)
        return 2
    what, directory = sys.argv[1], sys.argv[2]
    if what == "start":
        return start(directory)
    if what == "stop":
        stop(directory)
        return 0
    serve(directory)
    return 0


if __name__ == "__main__":
    sys.exit(main())
