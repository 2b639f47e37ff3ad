#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
"""A relay in front of a print server that misbehaves once, at a chosen request.

    faulty-print-relay.py SERVER_SOCKET OPERATION FAULT

Listens on 127.0.0.1 (a free port, printed as the first line) and passes every
connection on to the scheduler's unix socket SERVER_SOCKET. The first request
whose IPP operation is OPERATION (hex, as 0x0006 for Send-Document, or GET for
an HTTP GET) meets FAULT:

    drop          the connection is closed before the request reaches the server
    silent        the request is held and nothing more passes on that connection
    drop-reply    the request is passed on; the connection is closed instead of the answer
    drop-late     the client's connection is closed at once; the request reaches the
                  server half a second later (a server that reads it after the break)
    silent-reply  the request is passed on; its answer is held

Every other request and connection passes untouched, so a client may withdraw
a job afterwards. The relay prints "fault" on stderr when it struck, and
"passed OPERATION" for every other request.
"""
import selectors
import socket
import sys
import time


class Pipe:
    def __init__(self, client, server):
        self.client, self.server = client, server
        self.pending = b""  # client bytes not yet passed on
        self.scanned = 0  # pending[:scanned] holds no unparsed request start
        self.state = "pass"  # pass | hold | hold-reply | drop-reply
        self.body = None  # (chunked,) while a request's head has passed and its body is awaited


def operation(pending, start):
    """(operation, None) of the request at start; (None, body) when its head is
    complete but its body has not come (a client awaiting "100 Continue" sends
    it only then); (None, None) while the head is incomplete."""
    if pending.startswith(b"GET ", start):
        return "GET", None
    head_end = pending.find(b"\r\n\r\n", start)
    if head_end < 0:
        return None, None
    chunked = b"chunked" in pending[start:head_end].lower()
    op = body_operation(pending, head_end + 4, chunked)
    return (op, None) if op else (None, (head_end + 4, chunked))


def body_operation(pending, body, chunked):
    if chunked:
        line_end = pending.find(b"\r\n", body)
        if line_end < 0:
            return None
        body = line_end + 2
    if len(pending) < body + 4:
        return None
    return "0x%04x" % int.from_bytes(pending[body + 2 : body + 4], "big")


def partial_verb(pending):
    """How many bytes at the end may begin a request line."""
    for k in range(min(4, len(pending)), 0, -1):
        if b"POST ".startswith(pending[-k:]) or b"GET ".startswith(pending[-k:]):
            return k
    return 0


def main() -> int:
    target, wanted, fault = sys.argv[1], sys.argv[2].lower(), sys.argv[3]
    if wanted == "get":
        wanted = "GET"
    elif wanted.startswith("0x"):
        wanted = "0x%04x" % int(wanted, 16)  # anything else never strikes
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(64)
    print(listener.getsockname()[1], flush=True)
    selector = selectors.DefaultSelector()
    selector.register(listener, selectors.EVENT_READ, None)
    struck = False
    held = []
    late = []  # (when, pipe, request bytes) still to reach the server

    def close(pipe):
        for end in (pipe.client, pipe.server):
            try:
                selector.unregister(end)
            except (KeyError, ValueError):
                pass
            end.close()

    def decide(pipe, op, start):
        """Strikes at the wanted request; True when nothing more passes now."""
        nonlocal struck
        if struck or op != wanted:
            print("passed", op, file=sys.stderr, flush=True)
            return False
        struck = True
        print("fault", file=sys.stderr, flush=True)
        pipe.server.sendall(pipe.pending[:start])
        if fault == "drop-late":
            late.append((time.monotonic() + 0.5, pipe, pipe.pending[start:]))
            pipe.pending = b""
            pipe.state = "drop-reply"
            selector.unregister(pipe.client)
            pipe.client.close()
            return True
        if fault in ("drop", "silent"):
            pipe.pending = b""
            if fault == "drop":
                close(pipe)
            else:
                pipe.state = "hold"
                held.append(pipe)
            return True
        pipe.state = "drop-reply" if fault == "drop-reply" else "hold-reply"
        held.append(pipe)
        return False

    while True:
        events = selector.select(0.05 if late else None)
        for due in [entry for entry in late if entry[0] <= time.monotonic()]:
            late.remove(due)
            due[1].server.sendall(due[2])
        for key, _ in events:
            if key.data is None:
                client, _ = listener.accept()
                server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
                server.connect(target)
                pipe = Pipe(client, server)
                selector.register(client, selectors.EVENT_READ, (pipe, "client"))
                selector.register(server, selectors.EVENT_READ, (pipe, "server"))
                continue
            pipe, side = key.data
            try:
                data = key.fileobj.recv(65536)
            except OSError:
                data = b""
            if pipe.state == "hold":
                if not data:
                    close(pipe)
                continue
            if not data:
                close(pipe)
                continue
            if side == "server":
                if pipe.state == "drop-reply":
                    close(pipe)
                elif pipe.state != "hold-reply":
                    pipe.client.sendall(data)
                continue
            pipe.pending += data
            while True:
                if pipe.body is not None:
                    op = body_operation(pipe.pending, 0, pipe.body[0])
                    if op is None:
                        break
                    pipe.body = None
                    if decide(pipe, op, 0):
                        break
                    pipe.scanned = 0
                    continue
                start = -1
                for verb in (b"POST ", b"GET "):
                    at = pipe.pending.find(verb, pipe.scanned)
                    if at >= 0 and (start < 0 or at < start):
                        start = at
                if start < 0:
                    keep = partial_verb(pipe.pending)  # a request start split over two reads
                    pipe.server.sendall(pipe.pending[: len(pipe.pending) - keep])
                    pipe.pending = pipe.pending[len(pipe.pending) - keep :]
                    pipe.scanned = 0
                    break
                op, awaited = operation(pipe.pending, start)
                if op is None and awaited is not None:
                    # The head goes on; the operation is read from the body when it comes.
                    body, chunked = awaited
                    pipe.server.sendall(pipe.pending[:body])
                    pipe.pending = pipe.pending[body:]
                    pipe.body = (chunked,)
                    pipe.scanned = 0
                    continue
                if op is None:
                    pipe.server.sendall(pipe.pending[:start])
                    pipe.pending = pipe.pending[start:]
                    pipe.scanned = 0
                    break
                if decide(pipe, op, start):
                    break
                pipe.scanned = start + 4



if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit(0)
