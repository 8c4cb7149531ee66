"""An FTP server on 127.0.0.1 for the tests: serves ROOT, prints "PORT <n>" once it listens.

usage: ftp_server.py ROOT USER PASSWORD   (USER "anonymous" allows anonymous login)
The user may write in ROOT; every other name or password is refused.
"""
import logging
import sys
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    root, user, password = sys.argv[1:4]
    logging.basicConfig(level=logging.ERROR)
    warnings.simplefilter("ignore")  # write access for anonymous is what the tests want
    authorizer = DummyAuthorizer()
    if user == "anonymous":
        authorizer.add_anonymous(root, perm="elradfmw")
    else:
        authorizer.add_user(user, password, root, perm="elradfmw")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.auth_failed_timeout = 0  # answer a refused login at once
    server = FTPServer(("127.0.0.1", 0), handler)
    print("PORT", server.socket.getsockname()[1], flush=True)
    server.serve_forever()


main()
