#!/usr/bin/env python3
"""The test site of the update check: a small HTTP server on 127.0.0.1 whose answers the
end-to-end tests set through control requests (and the same over https).

  PUT /any/path[?status=N]  the body is served for GET /any/path from now on (status N)
  POST /_reset           no files, normal mode, empty request log
  POST /_mode/silent     GET requests are accepted and never answered
  POST /_mode/trickle    GET requests are answered one byte of the body a second
  POST /_mode/trickle-unsized  ... one byte every two seconds, without a length (the
                         body ends when the connection closes)
  POST /_mode/trickle-chunked  ... one byte every two seconds, each a chunk of its own
  POST /_mode/redirect-to-https  the http site sends GETs on to https (-to-http: back)
  POST /_mode/normal     GET requests are answered again
  POST /_pause?ms=N      stop listening for N ms (no server at all), then listen again
  GET /_log              the paths of the GET requests so far, one a line ("https /...")

  http_server.py <port> [<https-port> <certificate.pem> <key.pem>]
"""
import ssl
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

state_lock = threading.Lock()
files = {}
mode = "normal"
requests = []
pause_ms = 0
server = None
http_port = https_port = 0
ERROR_PAGE = (b"<html><head><title>404 Not Found</title></head>"
              b"<body><h1>Not Found</h1><p>The requested URL was not found.</p></body></html>")


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, fmt, *args):
        sys.stderr.write("%s %s\n" % (self.command, self.path))

    def reply(self, status, body=b"", content_type="text/plain"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if body:
            self.wfile.write(body)

    def body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length else b""

    def do_GET(self):
        path = urlsplit(self.path).path
        if path == "/_log":
            with state_lock:
                text = "".join(p + "\n" for p in requests)
            self.reply(200, text.encode())
            return
        secure = isinstance(self.connection, ssl.SSLSocket)
        with state_lock:
            requests.append(("https " if secure else "") + path)
            current = mode
            status, content = files.get(path, (404, None))
        if current == ("redirect-to-http" if secure else "redirect-to-https"):
            self.send_response(301)
            other = ("http", http_port) if secure else ("https", https_port)
            self.send_header("Location", "%s://127.0.0.1:%d%s" % (other + (self.path,)))
            return self.end_headers()
        # As real sites: a web firewall refuses a request that names no program, and a cache
        # answers one that does not ask for a fresh answer with the old file it keeps.
        if not self.headers.get("User-Agent"):
            return self.reply(403, b"<h1>403 Forbidden</h1>", "text/html")
        fresh = [self.headers.get(h, "").lower() for h in ("Pragma", "Cache-Control")]
        if content is not None and fresh != ["no-cache", "no-cache"]:
            status, content = 200, b"Version=1.0;"
        if current == "silent":
            # Accept, read the request and never answer; the client has to give up.
            time.sleep(120)
            return
        if current.startswith("trickle") and content is not None:
            # Every step is quick, the whole is not.
            self.trickle(content, current)
            return
        if content is None:
            self.reply(404, ERROR_PAGE, "text/html")
        else:
            self.reply(status, content, "application/javascript")

    def trickle(self, content, how):
        chunked = how == "trickle-chunked"
        if chunked:
            self.protocol_version = "HTTP/1.1"
        self.send_response(200)
        if how == "trickle":
            self.send_header("Content-Length", str(len(content)))
        elif chunked:
            self.send_header("Transfer-Encoding", "chunked")
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.flush()
        pause = 1 if how == "trickle" else 2
        try:
            for i in range(len(content)):
                byte = content[i:i + 1]
                self.wfile.write(b"1\r\n" + byte + b"\r\n" if chunked else byte)
                self.wfile.flush()
                time.sleep(pause)
            if chunked:
                self.wfile.write(b"0\r\n\r\n")
        except OSError:
            pass  # the client gave up
        self.close_connection = True

    def do_PUT(self):
        content = self.body()
        url = urlsplit(self.path)
        status = int(parse_qs(url.query).get("status", ["200"])[0])
        with state_lock:
            files[url.path] = (status, content)
        self.reply(204)

    def do_POST(self):
        global mode, pause_ms
        self.body()
        url = urlsplit(self.path)
        if url.path == "/_reset":
            with state_lock:
                files.clear()
                requests.clear()
                mode = "normal"
        elif url.path.startswith("/_mode/"):
            with state_lock:
                mode = url.path[len("/_mode/"):]
        elif url.path == "/_pause":
            pause_ms = int(parse_qs(url.query).get("ms", ["3000"])[0])
            self.reply(204)
            threading.Thread(target=server.shutdown, daemon=True).start()
            return
        else:
            self.reply(404)
            return
        self.reply(204)


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def serve_https(certificate, key):
    secure = Server(("127.0.0.1", https_port), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(certificate, key)
    secure.socket = context.wrap_socket(secure.socket, server_side=True)
    secure.serve_forever(poll_interval=0.1)


def main():
    global server, pause_ms, http_port, https_port
    http_port = int(sys.argv[1])
    if len(sys.argv) > 4:
        https_port = int(sys.argv[2])
        threading.Thread(target=serve_https, args=sys.argv[3:5], daemon=True).start()
    while True:
        server = Server(("127.0.0.1", http_port), Handler)
        server.serve_forever(poll_interval=0.1)
        server.server_close()
        time.sleep(pause_ms / 1000.0)
        pause_ms = 0


if __name__ == "__main__":
    main()
