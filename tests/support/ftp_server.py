"""An FTP server on 127.0.0.1 for the tests: serves ROOT, prints "PORT <n>" once it listens.

usage: ftp_server.py ROOT USER PASSWORD [--tls CERT KEY] [--log FILE] [--unconfirmed NAME]...
USER "anonymous" allows anonymous login. The user may write in ROOT; every other name or
password is refused. With --tls the server offers explicit TLS (AUTH TLS) with the
certificate and key in PEM files. With --log every command received is appended to FILE,
one a line, before it is carried out. A file named with --unconfirmed is received whole
but answered 451 instead of 226, the way a server with a full disk ends a store.
"""
import logging
import os
import sys
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    root, user, password = sys.argv[1:4]
    args = sys.argv[4:]
    tls = None
    log = None
    unconfirmed = set()
    while args:
        if args[0] == "--tls":
            tls = (args[1], args[2])
            args = args[3:]
        elif args[0] == "--log":
            log = args[1]
            args = args[2:]
        elif args[0] == "--unconfirmed":
            unconfirmed.add(args[1])
            args = args[2:]
        else:
            sys.exit("unknown option " + args[0])
    logging.basicConfig(level=logging.ERROR)
    warnings.simplefilter("ignore")  # write access for anonymous is what the tests want
    authorizer = DummyAuthorizer()
    if user == "anonymous":
        authorizer.add_anonymous(root, perm="elradfmw")
    else:
        authorizer.add_user(user, password, root, perm="elradfmw")

    base = TLS_FTPHandler if tls else FTPHandler

    class Handler(base):
        def pre_process_command(self, line, cmd, arg):
            if log:
                with open(log, "a") as f:
                    f.write(cmd + "\n")
            return super().pre_process_command(line, cmd, arg)

        def ftp_STOR(self, file, mode="w"):
            self.storing = os.path.basename(file)
            return super().ftp_STOR(file, mode)

        def respond(self, resp, logfun=logging.debug):
            if resp.startswith("226") and getattr(self, "storing", None) in unconfirmed:
                resp = "451 Requested action aborted: local error in processing."
            return super().respond(resp, logfun)

    class DataHandler(TLS_DTPHandler):
        # curl begins the data connection's TLS handshake before it sends STOR; pyftpdlib
        # would take the early bytes for a closed connection.
        def readable(self):
            if self._ssl_accepting:
                return True
            if self._ssl_established and not self._initialized:
                return False
            return super().readable()

    if tls:
        Handler.certfile, Handler.keyfile = tls
        Handler.dtp_handler = DataHandler
    Handler.authorizer = authorizer
    Handler.auth_failed_timeout = 0  # answer a refused login at once
    server = FTPServer(("127.0.0.1", 0), Handler)
    print("PORT", server.socket.getsockname()[1], flush=True)
    server.serve_forever()


main()
