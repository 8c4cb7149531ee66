"""A proxy on 127.0.0.1 for the tests that forwards nothing: it appends every byte it
receives to LOG and answers 502, the way a proxy that cannot reach the server does.
Prints "PORT <n>" once it listens.

usage: proxy_server.py LOG
"""
import socketserver
import sys


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        self.request.settimeout(5)
        data = b""
        try:
            while b"\r\n\r\n" not in data:
                chunk = self.request.recv(65536)
                if not chunk:
                    break
                data += chunk
        except OSError:
            pass
        with open(sys.argv[1], "ab") as log:
            log.write(data)
        self.request.sendall(b"HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")


server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), Handler)
print("PORT", server.server_address[1], flush=True)
server.serve_forever()
