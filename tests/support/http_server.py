"""An HTTP server on 127.0.0.1 for the tests: serves ROOT, prints "PORT <n>" once it listens.

usage: http_server.py ROOT [--drop NAME]... [--trickle NAME]... [--redirect NAME URL]... [--portal]
                      [--tls CERT KEY]
A file named with --drop is announced whole (Content-Length) but the connection is closed
after half of it, the way a broken line ends a download. A file named with --trickle is
announced as a megabyte and sent a byte every fifth of a second, never ending. A name given with --redirect is
answered with 302 to URL. With --portal every request gets 200 and a login page, the way
a captive portal of a hotel or a station answers. With --tls the server speaks https with
the certificate and key in PEM files.
"""
import functools
import http.server
import os
import ssl
import sys
import time

PORTAL_PAGE = b"""<!DOCTYPE html>
<html><head><title>Wi-Fi ospiti</title></head>
<body><form action="/login">Accedi alla rete <input name="codice"></form></body></html>
"""


class Handler(http.server.SimpleHTTPRequestHandler):
    dropped = set()
    trickled = set()
    redirects = {}
    portal = False

    def log_message(self, *args):
        pass

    def answer(self, status, body, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        name = os.path.basename(self.path.split("?", 1)[0])
        if self.portal:
            return self.answer(200, PORTAL_PAGE, [("Content-Type", "text/html")])
        if name in self.redirects:
            return self.answer(302, b"", [("Location", self.redirects[name])])
        if name in self.trickled:
            return self.trickle()
        if name not in self.dropped:
            return super().do_GET()
        with open(self.translate_path(self.path), "rb") as f:
            body = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body[: len(body) // 2])
        self.wfile.flush()
        self.close_connection = True


    def trickle(self):
        self.send_response(200)
        self.send_header("Content-Length", str(1 << 20))
        self.end_headers()
        try:
            while True:
                self.wfile.write(b"x")
                self.wfile.flush()
                time.sleep(0.2)
        except OSError:
            self.close_connection = True


def main():
    root = sys.argv[1]
    args = sys.argv[2:]
    tls = None
    while args:
        if args[0] == "--drop":
            Handler.dropped.add(args[1])
            args = args[2:]
        elif args[0] == "--trickle":
            Handler.trickled.add(args[1])
            args = args[2:]
        elif args[0] == "--redirect":
            Handler.redirects[args[1]] = args[2]
            args = args[3:]
        elif args[0] == "--portal":
            Handler.portal = True
            args = args[1:]
        elif args[0] == "--tls":
            tls = (args[1], args[2])
            args = args[3:]
        else:
            sys.exit("unknown option " + args[0])
    handler = functools.partial(Handler, directory=root)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    if tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(*tls)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT", server.server_address[1], flush=True)
    server.serve_forever()


main()
