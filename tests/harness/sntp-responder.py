#!/usr/bin/env python3
"""Fault-injecting SNTP responder for the tests.

Listens on UDP port 123 of several loopback addresses and answers each with
one behaviour. The addresses come from TestPeers.h beside it (the C++ tests
use the same names), at present:

    127.0.0.2   Silent          never answers
    127.0.0.3   EmptyDatagram   answers with 0 bytes
    127.0.0.4   ShortDatagram   a good reply cut to its first 44 bytes
    127.0.0.5   LongReply       a good reply padded with zeros to 100 bytes
    127.0.0.6   WrongOriginate  originate 1 s before the request's transmit time
    127.0.0.7   KissOfDeath     stratum 0, reference identifier "RATE"
    127.0.0.8   LeapAlarm       leap indicator 3 (clock not synchronised)
    127.0.0.9   ZeroTransmit    transmit timestamp 0
    127.0.0.10  WrongMode       mode 5 (broadcast)
    127.0.0.11  Stratum16       stratum 16 (unsynchronised)
    127.0.0.12  BadVersion      version 5
    127.0.0.13  Plus10s         a clock 10 s ahead
    127.0.0.14  Minus2h         a clock 2 h behind
    127.0.0.15  Plus2h          a clock 2 h ahead
    127.0.0.16  Capture         a good reply; first writes the request as hex
                                to the --capture-file
    127.0.0.17  Good            a good reply
    127.0.0.18  ZeroOriginate   originate 0
    127.0.0.19  Stratum0        stratum 0 with no kiss code (reference 0)
    127.0.0.20  WrongSource     a good reply, sent from 127.0.0.41 instead
    127.0.0.21  Delayed         a good reply, 2 s late
    127.0.0.22  Doubled         a good reply, then one 2 h ahead
    127.0.0.23  Plus59m         a clock 59 min ahead
    127.0.0.24  Minus59m        a clock 59 min behind
    127.0.0.25  Plus1h          a clock 1 h (and 1 s) ahead
    127.0.0.26  Minus1h         a clock 1 h (and 1 s) behind
    127.0.0.27  Plus10y         a clock 10 years ahead
    127.0.0.28  Minus10y        a clock 10 years behind
    127.0.0.29  Lossy           a good reply to every third request only
    127.0.0.30  NameSilent      never answers (first address of a test name)
    127.0.0.31  NameGood        a good reply (second address of that name)
    127.0.0.32  Loss10A         a good reply, but drops a tenth of the requests
    127.0.0.33  Loss10B         the same, with drops of its own
    127.0.0.34  Loss10C         the same, with drops of its own
    ::1         GoodIpv6        a good reply, over IPv6

(127.0.0.1 is chronyd's, 127.0.0.40 has nothing listening, 127.0.0.41 is the
wrong source of WrongSource.) Python standard
library only; needs the right to bind port 123, so run it inside the test
network namespace.

    sntp-responder.py [--header H] [--capture-file F]   serve until killed
    sntp-responder.py --check ADDRESS                   exit 0 if ADDRESS
                                                         answers a request
"""

import argparse
import os
import random
import re
import selectors
import socket
import struct
import sys
import time

NTP_EPOCH_OFFSET = 2208988800  # seconds from 1900-01-01 to 1970-01-01
PORT = 123

# The hour is exceeded by a second, so that no delay on the way can bring
# the measured offset under it.
YEARS_10 = 3652.5 * 86400
SHIFTS = {"Plus10s": 10.0, "Minus2h": -7200.0, "Plus2h": 7200.0, "Plus59m": 3540.0, "Minus59m": -3540.0,
          "Plus1h": 3601.0, "Minus1h": -3601.0, "Plus10y": YEARS_10, "Minus10y": -YEARS_10}
DELAY = 2.0
WRONG_SOURCE = "127.0.0.41"


def ntp_now(shift=0.0):
    t = time.time() + shift + NTP_EPOCH_OFFSET
    seconds = int(t)
    fraction = int((t - seconds) * 2**32) & 0xFFFFFFFF
    return (seconds & 0xFFFFFFFF) << 32 | fraction


def reply_for(behaviour, request, receive):
    """The datagram answering request (received at NTP time receive), or None
    for no answer."""
    if behaviour in ("Silent", "NameSilent"):
        return None
    if behaviour == "EmptyDatagram":
        return b""
    shift = SHIFTS.get(behaviour, 0.0)
    leap, version, mode, stratum = 0, 4, 4, 2
    refid = b"LOCL"
    originate = request[40:48] if len(request) >= 48 else bytes(8)
    if behaviour == "WrongOriginate":
        # As if echoing a request sent one second earlier.
        originate = struct.pack(">Q", (struct.unpack(">Q", originate)[0] - (1 << 32)) & 0xFFFF_FFFF_FFFF_FFFF)
    elif behaviour == "ZeroOriginate":
        originate = bytes(8)
    elif behaviour == "KissOfDeath":
        stratum, refid = 0, b"RATE"
    elif behaviour == "Stratum0":
        stratum, refid = 0, bytes(4)
    elif behaviour == "LeapAlarm":
        leap = 3
    elif behaviour == "WrongMode":
        mode = 5
    elif behaviour == "Stratum16":
        stratum = 16
    elif behaviour == "BadVersion":
        version = 5
    poll = request[2] if len(request) > 2 else 6
    transmit = 0 if behaviour == "ZeroTransmit" else ntp_now(shift)
    reference = receive - (16 << 32)
    packet = struct.pack(
        ">BBBbII4sQ8sQQ",
        leap << 6 | version << 3 | mode,
        stratum,
        poll,
        -20,
        0x0000_0100,  # root delay, 1/256 s
        0x0000_0100,  # root dispersion
        refid,
        reference & 0xFFFF_FFFF_FFFF_FFFF,
        originate,
        receive,
        transmit,
    )
    if behaviour == "ShortDatagram":
        return packet[:44]
    if behaviour == "LongReply":
        return packet + bytes(100 - len(packet))
    return packet


def read_addresses(header):
    with open(header, encoding="utf-8") as f:
        text = f.read()
    found = re.findall(r'wchar_t k(\w+)\[\] = L"(127\.\d+\.\d+\.\d+|::1)"', text)
    return {name: address for name, address in found if name not in ("Chronyd", "NothingListening")}


def send(sock, answer, peer):
    try:
        sock.sendto(answer, peer)
    except OSError:
        pass


def serve(header, capture_file):
    selector = selectors.DefaultSelector()
    for behaviour, address in read_addresses(header).items():
        sock = socket.socket(socket.AF_INET6 if ":" in address else socket.AF_INET, socket.SOCK_DGRAM)
        sock.bind((address, PORT))
        selector.register(sock, selectors.EVENT_READ, behaviour)
    stranger = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    stranger.bind((WRONG_SOURCE, PORT))
    delayed = []  # (when, request, received, peer, sock): replies still to send
    seen = {}  # requests per behaviour, for Lossy
    # The Loss10 drops: one in ten requests at random, each address from a
    # generator of its own with a fixed seed, the same drops every time.
    drops = {b: random.Random(b) for b in read_addresses(header) if b.startswith("Loss10")}
    print("sntp-responder: ready", flush=True)
    while True:
        now = time.monotonic()
        for item in [d for d in delayed if d[0] <= now]:
            delayed.remove(item)
            _, request, received, peer, sock = item
            send(sock, reply_for("Good", request, received), peer)
        timeout = min((d[0] for d in delayed), default=now + 3600) - now
        for key, _ in selector.select(max(timeout, 0)):
            sock, behaviour = key.fileobj, key.data
            try:
                request, peer = sock.recvfrom(2048)
            except OSError:
                continue
            received = ntp_now(SHIFTS.get(behaviour, 0.0))
            if behaviour == "Capture" and capture_file:
                temporary = capture_file + ".tmp"
                with open(temporary, "w", encoding="ascii") as f:
                    f.write(request.hex() + "\n")
                os.replace(temporary, capture_file)
            seen[behaviour] = seen.get(behaviour, 0) + 1
            if behaviour == "Lossy" and seen[behaviour] % 3 != 0:
                continue
            if behaviour in drops and drops[behaviour].random() < 0.1:
                continue
            if behaviour == "Delayed":
                delayed.append((time.monotonic() + DELAY, request, received, peer, sock))
                continue
            answer = reply_for(behaviour, request, received)
            if answer is None:
                continue
            send(stranger if behaviour == "WrongSource" else sock, answer, peer)
            if behaviour == "Doubled":
                send(sock, reply_for("Plus2h", request, ntp_now(SHIFTS["Plus2h"])), peer)


def check(address, timeout=1.0):
    sock = socket.socket(socket.AF_INET6 if ":" in address else socket.AF_INET, socket.SOCK_DGRAM)
    sock.settimeout(timeout)
    request = bytearray(48)
    request[0] = 0x23  # version 4, mode 3
    request[40:48] = struct.pack(">Q", ntp_now())
    try:
        sock.sendto(bytes(request), (address, PORT))
        answer = sock.recv(2048)
    except OSError:
        return False
    finally:
        sock.close()
    return len(answer) >= 48 and answer[0] & 7 == 4 and answer[24:32] == request[40:48]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--header", default=os.path.join(here, "TestPeers.h"))
    parser.add_argument("--capture-file")
    parser.add_argument("--check", metavar="ADDRESS")
    args = parser.parse_args()
    if args.check:
        return 0 if check(args.check) else 1
    serve(args.header, args.capture_file)
    return 0


if __name__ == "__main__":
    sys.exit(main())
