#!/usr/bin/env python3
"""The maker's web site, played locally for the update tests.

Serves DIR/docroot over plain HTTP on 127.0.0.1 and over HTTPS for the name
"localhost": on one port with a certificate of a test certificate authority
that the tests trust inside their Wine prefix (DIR/ca.der), on another with
one of an authority that nobody trusts. Both authorities are made here, with
openssl, each time the site starts. Setup programs whose names begin with

    NoLength   are sent without a Content-Length
    Short      announce 100 bytes more than they send

Python standard library and the openssl command only.

    update-site.py start DIR --http P --https P --untrusted P
        makes the certificates, starts serving in the background, waits
        until every port answers, and writes DIR/ready
    update-site.py stop DIR
        stops the server started for DIR
"""

import argparse
import functools
import http.server
import os
import pathlib
import signal
import socket
import ssl
import subprocess
import sys
import threading
import time


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, capture_output=True)


def make_authority(dir, name):
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30", "-subj", f"/CN={name}",
            "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign",
            "-keyout", dir / f"{name}.key", "-out", dir / f"{name}.pem")


def make_site_certificate(dir, authority, name):
    ext = dir / f"{name}.ext"
    ext.write_text("basicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\n"
                   "extendedKeyUsage=serverAuth\nsubjectAltName=DNS:localhost,IP:127.0.0.1\n")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=localhost",
            "-keyout", dir / f"{name}.key", "-out", dir / f"{name}.csr")
    openssl("x509", "-req", "-in", dir / f"{name}.csr", "-CA", dir / f"{authority}.pem",
            "-CAkey", dir / f"{authority}.key", "-CAcreateserial", "-days", "30",
            "-extfile", ext, "-out", dir / f"{name}.pem")


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    def send_header(self, keyword, value):
        name = os.path.basename(self.path)
        if keyword == "Content-Length":
            if name.startswith("NoLength"):
                return
            if name.startswith("Short"):
                value = str(int(value) + 100)
        super().send_header(keyword, value)

    def log_message(self, format, *args):
        sys.stderr.write("%s %s\n" % (self.address_string(), format % args))


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True


class Server6(Server):
    address_family = socket.AF_INET6


def servers_for(port, handler, context):
    servers = [Server(("127.0.0.1", port), handler)]
    if context:
        try:
            servers.append(Server6(("::1", port), handler))
        except OSError:
            pass  # no IPv6 loopback here
    for server in servers:
        if context:
            server.socket = context.wrap_socket(server.socket, server_side=True)
    return servers


def serve(dir, ports):
    handler = functools.partial(SiteHandler, directory=str(dir / "docroot"))
    servers = servers_for(ports.http, handler, None)
    for port, name in ((ports.https, "trusted-site"), (ports.untrusted, "untrusted-site")):
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(dir / f"{name}.pem", dir / f"{name}.key")
        servers += servers_for(port, handler, context)
    for server in servers:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    signal.sigwait({signal.SIGTERM, signal.SIGINT})


def answers(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=0.5):
            return True
    except OSError:
        return False


def start(dir, ports):
    stop(dir)
    (dir / "docroot" / "Halvanworks").mkdir(parents=True, exist_ok=True)
    (dir / "ready").unlink(missing_ok=True)
    make_authority(dir, "trusted-ca")
    make_authority(dir, "untrusted-ca")
    make_site_certificate(dir, "trusted-ca", "trusted-site")
    make_site_certificate(dir, "untrusted-ca", "untrusted-site")
    openssl("x509", "-in", dir / "trusted-ca.pem", "-outform", "DER", "-out", dir / "ca.der")

    log = open(dir / "site.log", "ab")
    args = [sys.executable, __file__, "serve", str(dir),
            "--http", str(ports.http), "--https", str(ports.https), "--untrusted", str(ports.untrusted)]
    child = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    (dir / "site.pid").write_text(str(child.pid))
    for _ in range(100):
        if all(answers(p) for p in (ports.http, ports.https, ports.untrusted)):
            (dir / "ready").write_text("1\n")
            return 0
        if child.poll() is not None:
            break
        time.sleep(0.1)
    print(f"update-site: the site does not answer (see {dir / 'site.log'})", file=sys.stderr)
    return 1


def stop(dir):
    pid_file = dir / "site.pid"
    if pid_file.exists():
        try:
            os.kill(int(pid_file.read_text()), signal.SIGTERM)
        except (ProcessLookupError, ValueError):
            pass
        pid_file.unlink()
    (dir / "ready").unlink(missing_ok=True)
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("action", choices=["start", "stop", "serve"])
    parser.add_argument("dir", type=pathlib.Path)
    parser.add_argument("--http", type=int, default=18080)
    parser.add_argument("--https", type=int, default=18443)
    parser.add_argument("--untrusted", type=int, default=18444)
    ports = parser.parse_args()
    dir = ports.dir.resolve()
    if ports.action == "serve":
        signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGTERM, signal.SIGINT})
        serve(dir, ports)
        return 0
    dir.mkdir(parents=True, exist_ok=True)
    return start(dir, ports) if ports.action == "start" else stop(dir)


if __name__ == "__main__":
    sys.exit(main())
