#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
"""A print server that accepts connections and never answers.

    silent-print-server.py [PORT]     listen on 127.0.0.1:PORT (default: a free port)

Prints the port it listens on as its first line, then holds every connection
open without reading or writing until it is stopped. Point CUPS_SERVER at it
(CUPS_SERVER=127.0.0.1:PORT) to show that a test asks no print server.
"""
import selectors
import socket
import sys


def main() -> int:
    port = int(sys.argv[1]) if len(sys.argv) > 1 else 0
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(64)
    print(listener.getsockname()[1], flush=True)
    held = []
    selector = selectors.DefaultSelector()
    selector.register(listener, selectors.EVENT_READ)
    accepted = 0
    while True:
        for _key, _events in selector.select():
            connection, _ = listener.accept()
            held.append(connection)  # kept open, never read, never answered
            accepted += 1
            print(f"connection {accepted}", file=sys.stderr, flush=True)


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit(0)
