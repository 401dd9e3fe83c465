#!/usr/bin/env python3
"""A WebDAV server that misbehaves in one way, for the sync's tests: it prints its port, then
answers every request as its mode says.
  huge      an answer of 40 MB
  laughs    a multistatus whose DTD would expand into a billion "lol"s
  endless   an answer that trickles one byte a second and never ends
  error     500 to everything
  etags     an empty address book whose every write answers 412 (the ETag never matches)
  refused   401 to everything
"""
import http.server
import socketserver
import sys
import time

MODE = sys.argv[1]

LAUGHS = b"""<?xml version="1.0"?>
<!DOCTYPE lolz [
 <!ENTITY lol "lol">
 <!ENTITY lol2 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">
 <!ENTITY lol3 "&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;">
 <!ENTITY lol4 "&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;">
 <!ENTITY lol5 "&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;">
 <!ENTITY lol6 "&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;">
 <!ENTITY lol7 "&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;">
 <!ENTITY lol8 "&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;">
 <!ENTITY lol9 "&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;">
]>
<d:multistatus xmlns:d="DAV:"><d:response><d:href>/ana/libreta/x.vcf</d:href>
<d:propstat><d:prop><d:getetag>&lol9;</d:getetag></d:prop>
<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response></d:multistatus>
"""

EMPTY_LISTING = b"""<?xml version="1.0" encoding="utf-8"?>
<d:multistatus xmlns:d="DAV:"><d:sync-token>http://example.org/sync/1</d:sync-token></d:multistatus>
"""


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, body=b"", length=None):
        self.send_response(status)
        self.send_header("Content-Type", "application/xml; charset=utf-8")
        self.send_header("Content-Length", str(len(body) if length is None else length))
        self.end_headers()
        self.wfile.write(body)

    def handle_any(self):
        length = int(self.headers.get("Content-Length") or 0)
        if length:
            self.rfile.read(length)
        if MODE == "huge":
            chunk = b"<" * (1 << 20)
            self.send_response(207)
            self.send_header("Content-Type", "application/xml")
            self.end_headers()
            try:
                for _ in range(40):
                    self.wfile.write(chunk)
            except OSError:
                pass
            self.close_connection = True
        elif MODE == "laughs":
            self.answer(207, LAUGHS)
        elif MODE == "endless":
            self.send_response(207)
            self.send_header("Content-Type", "application/xml")
            self.send_header("Connection", "close")
            self.end_headers()
            try:
                while True:
                    self.wfile.write(b" ")
                    self.wfile.flush()
                    time.sleep(1)
            except OSError:
                pass
        elif MODE == "error":
            self.answer(500, b"no")
        elif MODE == "refused":
            self.answer(401, b"no")
        elif MODE == "etags":
            if self.command in ("PUT", "DELETE"):
                self.answer(412, b"")
            else:
                self.answer(207, EMPTY_LISTING)

    do_GET = do_PUT = do_DELETE = do_PROPFIND = do_REPORT = handle_any


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


server = Server(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
