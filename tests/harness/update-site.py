#!/usr/bin/env python3
"""The maker's web site, played locally for the update tests.

Serves DIR/docroot over plain HTTP on 127.0.0.1 and over HTTPS for the name
"localhost": on one port with a certificate of a test certificate authority
that the tests trust inside their Wine prefix (DIR/ca.der), on another with
one of an authority that nobody trusts; on a last port it accepts
connections and never answers. The authorities are made here, with openssl,
each time the site starts, and so are two code-signing keys with the same
subject, "publisher" (its digest in DIR/publisher-key.txt) and "impostor",
with which osslsigncode signs copies of the setup program given:

    SignedSetup.exe     signed by the publisher
    UnsignedSetup.exe   not signed
    AlteredSetup.exe    signed by the publisher, then one byte changed
    OtherKeySetup.exe   signed by the impostor
    PageSetup.exe       a web page

and any program given with --sign EXE=NAME, signed by the publisher as NAME.

Files whose names begin with

    NoLength      are sent without a Content-Length
    Short         announce 100 bytes more than they send
    Huge          announce 64 MiB and one byte
    RedirectSame  redirect to /SignedSetup.exe
    RedirectHttp  redirect to SignedSetup.exe on the plain HTTP port
    RedirectPort  redirect to SignedSetup.exe on the untrusted HTTPS port

Python standard library, openssl and osslsigncode only.

    update-site.py start DIR --http P --https P --untrusted P --silent P [--setup EXE [--sign EXE=NAME]]
        makes the certificates and the signed setups, starts serving in the
        background, waits until every port answers, and writes DIR/ready
    update-site.py stop DIR
        stops the server started for DIR
"""

import argparse
import functools
import hashlib
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


def sign(dir, key, source, target):
    target.unlink(missing_ok=True)
    subprocess.run(["osslsigncode", "sign", "-certs", dir / f"{key}.pem", "-key", dir / f"{key}.key",
                    "-n", "Kavrin", "-in", source, "-out", target], check=True, capture_output=True)


def make_signed_setups(dir, setup, extra):
    make_authority(dir, "codesign-ca")
    ext = dir / "codesign.ext"
    ext.write_text("basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n")
    docroot = dir / "docroot"
    for key in ("publisher", "impostor"):
        openssl("req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=Kavrin Test Publisher",
                "-keyout", dir / f"{key}.key", "-out", dir / f"{key}.csr")
        openssl("x509", "-req", "-in", dir / f"{key}.csr", "-CA", dir / "codesign-ca.pem",
                "-CAkey", dir / "codesign-ca.key", "-CAcreateserial", "-days", "30", "-extfile", ext,
                "-out", dir / f"{key}.pem")
    sign(dir, "publisher", setup, docroot / "SignedSetup.exe")
    sign(dir, "impostor", setup, docroot / "OtherKeySetup.exe")
    for source, _, name in (item.partition("=") for item in extra):
        sign(dir, "publisher", source, docroot / name)
    (docroot / "UnsignedSetup.exe").write_bytes(pathlib.Path(setup).read_bytes())
    altered = bytearray((docroot / "SignedSetup.exe").read_bytes())
    altered[0x410] ^= 0x01  # in the code, which the signature covers
    (docroot / "AlteredSetup.exe").write_bytes(altered)
    (docroot / "HugeSetup.exe").write_bytes((docroot / "SignedSetup.exe").read_bytes())
    (docroot / "PageSetup.exe").write_text("<!DOCTYPE html><html><body>Not found</body></html>\n")
    der = subprocess.run(["openssl", "x509", "-in", dir / "publisher.pem", "-pubkey", "-noout"],
                         check=True, capture_output=True).stdout
    der = subprocess.run(["openssl", "pkey", "-pubin", "-outform", "DER"], input=der,
                         check=True, capture_output=True).stdout
    (dir / "publisher-key.txt").write_text(hashlib.sha256(der).hexdigest() + "\n")
    openssl("x509", "-in", dir / "codesign-ca.pem", "-outform", "DER", "-out", dir / "codesign-ca.der")


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    ports = None

    def do_GET(self):
        name = os.path.basename(self.path)
        targets = {"RedirectSame": "/SignedSetup.exe",
                   "RedirectHttp": f"http://localhost:{self.ports.http}/SignedSetup.exe",
                   "RedirectPort": f"https://localhost:{self.ports.untrusted}/SignedSetup.exe"}
        for prefix, target in targets.items():
            if name.startswith(prefix):
                self.send_response(302)
                self.send_header("Location", target)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
        super().do_GET()

    def send_header(self, keyword, value):
        name = os.path.basename(self.path)
        if keyword == "Content-Length":
            if name.startswith("NoLength"):
                return
            if name.startswith("Short"):
                value = str(int(value) + 100)
            if name.startswith("Huge"):
                value = str(64 * 1024 * 1024 + 1)
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


def hold_silently(port):
    listener = socket.create_server(("127.0.0.1", port))
    held = []
    while True:
        held.append(listener.accept()[0])


def serve(dir, ports):
    SiteHandler.ports = ports
    handler = functools.partial(SiteHandler, directory=str(dir / "docroot"))
    threading.Thread(target=hold_silently, args=(ports.silent,), daemon=True).start()
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
    if ports.setup:
        make_signed_setups(dir, ports.setup, ports.sign)

    log = open(dir / "site.log", "ab")
    args = [sys.executable, __file__, "serve", str(dir), "--http", str(ports.http), "--https", str(ports.https),
            "--untrusted", str(ports.untrusted), "--silent", str(ports.silent)]
    child = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    (dir / "site.pid").write_text(str(child.pid))
    for _ in range(100):
        if all(answers(p) for p in (ports.http, ports.https, ports.untrusted, ports.silent)):
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
    parser.add_argument("--silent", type=int, default=18445)
    parser.add_argument("--setup", help="the setup program to sign")
    parser.add_argument("--sign", action="append", default=[], metavar="EXE=NAME",
                        help="also sign EXE with the publisher key as docroot/NAME")
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
