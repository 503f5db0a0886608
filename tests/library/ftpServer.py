#!/usr/bin/python3
"""The FTP server of the library tests: pyftpdlib on 127.0.0.1, on a port
the system picks, printed as "PORT n" on stdout once it listens.

    ftpServer.py ROOT [--user U] [--password P] [--silent] [--stall-after N]
                      [--trickle SECONDS] [--logins FILE] [--lifetime SECONDS]

--silent         accepts connections and never greets: a server that stalls
--stall-after N  every RETR sends N bytes of the file, then the server stops
                 answering altogether: a transfer that stalls
--trickle S      every RETR sends one byte every S seconds: a transfer that
                 never falls silent and never gets anywhere
--logins FILE    appends a line to FILE for every login
SIGUSR1          closes every control connection (the server goes on
                 listening) and prints "DROPPED n"
The server ends by itself after --lifetime seconds, so that a test that
dies cannot leave it behind.
"""
import argparse
import os
import signal
import sys
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def stalling_filesystem(limit, lifetime, trickle):
    class StallingFile:
        def __init__(self, f):
            self.f, self.sent = f, 0

        def read(self, n):
            if trickle > 0:
                if self.sent:
                    time.sleep(trickle)
                n = 1
            elif self.sent >= limit:
                time.sleep(lifetime)  # the whole server stands still
            data = self.f.read(min(n, limit - self.sent) if limit >= 0 else n)
            self.sent += len(data)
            return data

        def __getattr__(self, name):
            return getattr(self.f, name)

    class StallingFS(AbstractedFS):
        def open(self, filename, mode):
            f = AbstractedFS.open(self, filename, mode)
            return StallingFile(f) if "r" in mode else f

    return StallingFS


def main():
    p = argparse.ArgumentParser()
    p.add_argument("root")
    p.add_argument("--user", default="47302615")
    p.add_argument("--password", default="58190374")
    p.add_argument("--silent", action="store_true")
    p.add_argument("--stall-after", type=int, default=-1)
    p.add_argument("--trickle", type=float, default=0)
    p.add_argument("--logins")
    p.add_argument("--lifetime", type=float, default=120)
    a = p.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(a.user, a.password, a.root, perm="elradfmw")

    class Handler(FTPHandler):
        use_sendfile = False  # reads go through the file object (for --stall-after)

        def handle(self):
            if not a.silent:
                FTPHandler.handle(self)

        def on_login(self, username):
            if a.logins:
                with open(a.logins, "a") as f:
                    f.write(username + "\n")

    Handler.authorizer = authorizer
    if a.stall_after >= 0 or a.trickle > 0:
        Handler.abstracted_fs = stalling_filesystem(a.stall_after, a.lifetime, a.trickle)

    server = FTPServer(("127.0.0.1", 0), Handler)

    def drop(*_):
        handlers = [h for h in list(server.ioloop.socket_map.values()) if isinstance(h, FTPHandler)]
        for h in handlers:
            h.close()
        print("DROPPED %d" % len(handlers), flush=True)

    signal.signal(signal.SIGUSR1, drop)
    timer = threading.Timer(a.lifetime, os._exit, (0,))
    timer.daemon = True
    timer.start()
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(timeout=0.2)


if __name__ == "__main__":
    import logging
    logging.disable(logging.CRITICAL)
    main()
