#!/usr/bin/env python3
"""A stand-in for the maker's web service, for trying the reader locally.

Serves the update check (ver.php, answering "1": a newer release exists),
the advertisement configuration (ad/ad_cfg_1.php) and three sample
pictures drawn at start. Python standard library only.

    python3 tools/demo-service/demo_service.py [--port 8000] [--no-update]
"""

import argparse
import struct
import zlib
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

# (colour of the picture, its link)
ADS = [
    ((200, 40, 40), "https://example.com/red"),
    ((40, 160, 60), "https://example.com/green"),
    ((40, 80, 200), "https://example.com/blue"),
]


def png(width, height, colour):
    """A picture of the panel's size: the colour with lighter diagonal stripes."""
    light = bytes(min(255, c + 70) for c in colour)
    rows = b"".join(
        b"\0" + b"".join(light if (x + y) // 12 % 2 else bytes(colour) for x in range(width))
        for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def config(base):
    ads = "".join(
        f'  <ad image_url="{base}ad/{i}.png" image_format="PNG" file_name="{i}.png" '
        f'link_url="{link}" text="示例广告 {i}"/>\n'
        for i, (_, link) in enumerate(ADS))
    return f'<?xml version="1.0" encoding="UTF-8"?>\n<zks version="1">\n{ads}</zks>\n'


class Handler(BaseHTTPRequestHandler):
    update = True
    pictures = [png(250, 60, colour) for colour, _ in ADS]

    def do_GET(self):
        path = self.path.split("?")[0]
        base = f"http://{self.headers.get('Host', 'localhost')}/"
        if path == "/ver.php":
            self.send(b"1" if self.update else b"0", "text/plain")
        elif path == "/ad/ad_cfg_1.php":
            self.send(config(base).encode("utf-8"), "text/xml; charset=utf-8")
        elif path.startswith("/ad/") and path.endswith(".png") and path[4:-4].isdigit() \
                and int(path[4:-4]) < len(self.pictures):
            self.send(self.pictures[int(path[4:-4])], "image/png")
        elif path == "/":
            self.send("<h1>澄溪文本阅读器</h1><p>Demo download page.</p>".encode("utf-8"),
                      "text/html; charset=utf-8")
        else:
            self.send_error(404)

    def send(self, body, kind):
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=8000)
    parser.add_argument("--no-update", action="store_true", help='answer "0" to the update check')
    args = parser.parse_args()
    Handler.update = not args.no_update
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    print(f"Serving on http://127.0.0.1:{args.port}/ (Ctrl+C stops)")
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
