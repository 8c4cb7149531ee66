"""An HTTP server on 127.0.0.1 for the tests: serves ROOT, prints "PORT <n>" once it listens.

usage: http_server.py ROOT [--drop NAME]...
A file named with --drop is announced whole (Content-Length) but the connection is closed
after half of it, the way a broken line ends a download.
"""
import functools
import http.server
import os
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    dropped = set()

    def log_message(self, *args):
        pass

    def do_GET(self):
        name = os.path.basename(self.path.split("?", 1)[0])
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


def main():
    root = sys.argv[1]
    args = sys.argv[2:]
    while args:
        if args[0] == "--drop":
            Handler.dropped.add(args[1])
        args = args[2:]
    handler = functools.partial(Handler, directory=root)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    print("PORT", server.server_address[1], flush=True)
    server.serve_forever()


main()
