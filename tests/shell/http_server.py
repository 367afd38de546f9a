#!/usr/bin/env python3
"""A local web server for the HTTP client's tests and for trying the app.

http_server.py PORT_FILE FOLDER: serves on 127.0.0.1 at a free port, written
to PORT_FILE; runs until its standard input closes. GET paths answer as their
names say; /check-for-updates.php answers FOLDER/answer.html, else "No", and
keeps its request in FOLDER/request.txt.
PUT /dav/NAME with login "user" and password "secret" stores FOLDER/NAME;
MOVE renames it.
"""
import base64
import os
import sys
import threading
import time
from urllib.parse import unquote, urlparse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

FOLDER = sys.argv[2]
ANSWERS = {"/no": b"No", "/lower": b"no", "/empty": b"", "/news": b"<p>Version 2 is out</p>"}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"  # answers an upload's "Expect: 100-continue" at once

    def log_message(self, *args):
        sys.stderr.write("%s %s\n" % (self.command, self.path))

    def reply(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path = self.path.split("?")[0]
        if path in ANSWERS:
            self.reply(200, ANSWERS[path])
        elif path == "/check-for-updates.php":
            with open(os.path.join(FOLDER, "request.txt"), "w") as request:
                request.write(self.requestline + "\n" + str(self.headers))
            answer = os.path.join(FOLDER, "answer.html")
            self.reply(200, open(answer, "rb").read() if os.path.exists(answer) else b"No")
        elif path == "/big":
            self.reply(200, b"x" * 10_000_000)
        elif path == "/stall":
            time.sleep(30)
        elif path == "/loop":
            self.reply(302, headers=[("Location", "/loop")])
        elif path == "/away":
            self.reply(302, headers=[("Location", "http://example.com/")])
        elif path == "/secret":
            self.reply(401, b"login first")
        else:
            self.reply(404, b"not here")

    def dav_file(self, path):
        """The file in FOLDER that a /dav/ path names; None after a 401 or 403."""
        good = "Basic " + base64.b64encode(b"user:secret").decode()
        if self.headers.get("Authorization") != good:
            self.reply(401, headers=[("WWW-Authenticate", 'Basic realm="dav"')])
        elif not path.startswith("/dav/") or "/" in unquote(path[5:]):
            self.reply(403)
        else:
            return os.path.join(FOLDER, unquote(path[5:]))
        return None

    def do_PUT(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        stored = self.dav_file(self.path)
        if stored:
            with open(stored, "wb") as out:
                out.write(body)
            self.reply(201)

    def do_MOVE(self):
        source = self.dav_file(self.path)
        target = source and self.dav_file(urlparse(self.headers.get("Destination", "")).path)
        if target:
            os.replace(source, target)
            self.reply(201)


server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
with open(sys.argv[1] + ".part", "w") as port_file:
    port_file.write(str(server.server_address[1]))
os.rename(sys.argv[1] + ".part", sys.argv[1])
threading.Thread(target=server.serve_forever, daemon=True).start()
sys.stdin.read()
os._exit(0)
