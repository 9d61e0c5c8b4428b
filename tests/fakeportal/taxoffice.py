#!/usr/bin/python3
"""The fake interactive tax office site for the tests: one page app at "/", a captcha
picture drawn here, the scenario, and a record of what the site saw. Standard library
only; the scenario and event files work as in server.py.

    taxoffice.py --config FILE --events FILE --port 0

Binds 127.0.0.1 and prints "PORT <n>" once it listens.
"""
import base64
import datetime
import json
import os
import re
import struct
import sys
import zlib
from urllib.parse import urlsplit

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import server  # noqa: E402  (same event record, scenario file and handler)

HERE = os.path.dirname(os.path.abspath(__file__))

DEFAULTS = {
    # Each picture served takes the next code; only the last one shown is accepted.
    "captchaCodes": ["K7P2QX", "M4R8TZ", "B3N6WY", "H9C5LD"],
    "failFirstLogins": 0,          # logins refused with "Güvenlik kodu hatalı." although right
    "noRefresh": False,            # no "gen__1064" refresh control
    "landingFails": False,         # login accepted, but no search box appears
    "pagingInfo": "total",         # "total": the window's count; "page": rows on this page
    "pageSize": 10,
    "renderDelayMs": 0,            # results and next pages appear after this delay
    "renumberLaterPages": False,   # page k's first cell id jumps by 100 per page
    "sameSellerFirst": False,      # every page begins with the seller (cells 1, 2) of the first
    "idStart": 4001,
    "maxSpanDays": 8,
    "invoices": [],                # rows of eleven texts; the fourth is the date DD-MM-YYYY
    "queryMessages": {},           # start date -> message box text instead of results
    "cellsWithoutIds": [],         # start dates whose result rows carry no span ids
}

# A 5x7 bitmap font: seven rows of five bits per character.
FONT = {
    "0": "01110 10001 10011 10101 11001 10001 01110", "1": "00100 01100 00100 00100 00100 00100 01110",
    "2": "01110 10001 00001 00010 00100 01000 11111", "3": "11110 00001 00001 01110 00001 00001 11110",
    "4": "00010 00110 01010 10010 11111 00010 00010", "5": "11111 10000 11110 00001 00001 10001 01110",
    "6": "00110 01000 10000 11110 10001 10001 01110", "7": "11111 00001 00010 00100 01000 01000 01000",
    "8": "01110 10001 10001 01110 10001 10001 01110", "9": "01110 10001 10001 01111 00001 00010 01100",
    "A": "01110 10001 10001 11111 10001 10001 10001", "B": "11110 10001 10001 11110 10001 10001 11110",
    "C": "01110 10001 10000 10000 10000 10001 01110", "D": "11100 10010 10001 10001 10001 10010 11100",
    "E": "11111 10000 10000 11110 10000 10000 11111", "F": "11111 10000 10000 11110 10000 10000 10000",
    "G": "01110 10001 10000 10111 10001 10001 01111", "H": "10001 10001 10001 11111 10001 10001 10001",
    "I": "01110 00100 00100 00100 00100 00100 01110", "J": "00111 00010 00010 00010 00010 10010 01100",
    "K": "10001 10010 10100 11000 10100 10010 10001", "L": "10000 10000 10000 10000 10000 10000 11111",
    "M": "10001 11011 10101 10101 10001 10001 10001", "N": "10001 10001 11001 10101 10011 10001 10001",
    "O": "01110 10001 10001 10001 10001 10001 01110", "P": "11110 10001 10001 11110 10000 10000 10000",
    "Q": "01110 10001 10001 10001 10101 10010 01101", "R": "11110 10001 10001 11110 10100 10010 10001",
    "S": "01111 10000 10000 01110 00001 00001 11110", "T": "11111 00100 00100 00100 00100 00100 00100",
    "U": "10001 10001 10001 10001 10001 10001 01110", "V": "10001 10001 10001 10001 10001 01010 00100",
    "W": "10001 10001 10001 10101 10101 10101 01010", "X": "10001 10001 01010 00100 01010 10001 10001",
    "Y": "10001 10001 01010 00100 00100 00100 00100", "Z": "11111 00001 00010 00100 01000 10000 11111",
}


def captcha_png(code, scale=4):
    """The code drawn dark on a light background, as a PNG."""
    width, height = (len(code) * 6 + 1) * scale, 9 * scale
    pixels = [[(235, 232, 220)] * width for _ in range(height)]
    for i, ch in enumerate(code):
        rows = FONT.get(ch.upper(), FONT["0"]).split()
        for y, bits in enumerate(rows):
            for x, bit in enumerate(bits):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            pixels[(y + 1) * scale + dy][(i * 6 + x + 1) * scale + dx] = (40, 40, 90)
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def parse_date(text):
    if not re.fullmatch(r"\d\d-\d\d-\d{4}", text or ""):
        return None
    try:
        return datetime.datetime.strptime(text, "%d-%m-%Y").date()
    except ValueError:
        return None


class TaxOffice(server.Portal):
    def __init__(self, config, events):
        super().__init__(HERE, config, events)
        self.served = 0
        self.current = None
        self.logins = 0

    def scenario(self):
        # The portal's defaults give the account ("user", "password").
        merged = super().scenario()
        for key, value in DEFAULTS.items():
            merged.setdefault(key, value)
        return merged

    def new_captcha(self):
        codes = self.scenario()["captchaCodes"]
        with self.lock:
            code = codes[self.served % len(codes)]
            self.served += 1
            self.current = code
            n = self.served
        self.record({"type": "captcha_served", "code": code, "n": n})
        return "data:image/png;base64," + base64.b64encode(captcha_png(code)).decode("ascii")

    def login(self, data):
        s = self.scenario()
        with self.lock:
            self.logins += 1
            count = self.logins
        event = {"type": "login", "user": data.get("user"), "pass": data.get("pass"), "code": data.get("code")}
        if data.get("code") != self.current:
            message = "Güvenlik kodu hatalı."
        elif data.get("user") != s["user"] or data.get("pass") != s["password"]:
            message = "Kullanıcı kodu veya şifre hatalı."
        elif count <= s["failFirstLogins"]:
            message = "Güvenlik kodu hatalı."
        else:
            message = None
        event["ok"] = message is None
        self.record(event)
        return {"ok": True, "landing": not s["landingFails"]} if message is None else {"ok": False, "message": message}

    def query(self, data):
        s = self.scenario()
        start_text, end_text, page = data.get("start", ""), data.get("end", ""), int(data.get("page") or 1)
        if page == 1:
            self.record({"type": "query", "start": start_text, "end": end_text})
        else:
            self.record({"type": "page", "start": start_text, "page": page})
        start, end = parse_date(start_text), parse_date(end_text)
        if start is None or end is None:
            return {"message": "Tarih alanları GG-AA-YYYY biçiminde girilmelidir."}
        if start > end or (start.year, start.month) != (end.year, end.month) \
                or (end - start).days >= s["maxSpanDays"]:
            return {"message": "Sorgulama aralığı en fazla %d gün olabilir." % s["maxSpanDays"]}
        if start_text in s["queryMessages"]:
            return {"message": s["queryMessages"][start_text]}
        rows = [r for r in s["invoices"] if start <= (parse_date(r[3]) or datetime.date.min) <= end]
        if not rows:
            return {"message": "Kayıt bulunamadı."}
        size = max(1, int(s["pageSize"]))
        pages = (len(rows) + size - 1) // size
        page = min(max(page, 1), pages)
        shown = rows[(page - 1) * size: page * size]
        if s["sameSellerFirst"]:
            shown = [rows[0][:2] + shown[0][2:]] + shown[1:]
        first = int(s["idStart"]) + (100 * (page - 1) if s["renumberLaterPages"] else 0)
        return {"rows": shown, "page": page, "pages": pages, "firstId": first,
                "withIds": start_text not in s["cellsWithoutIds"],
                "info": len(rows) if s["pagingInfo"] == "total" else len(shown),
                "delayMs": int(s["renderDelayMs"])}


PAGE = """<!DOCTYPE html>
<html lang="tr"><head><meta charset="utf-8"><title>İnteraktif Vergi Dairesi</title>
<script src="/taxoffice.js"></script></head>
<body><div id="site" data-refresh="%(refresh)s" data-captcha="%(captcha)s"></div>
<script>TaxOffice.start();</script></body></html>
"""


def handler_for(site):
    # The portal's handler serves the scenario, the events and the static files.
    class Handler(server.handler_for(site)):
        def do_GET(self):
            if urlsplit(self.path).path != "/":
                return super().do_GET()
            refresh = "0" if site.scenario()["noRefresh"] else "1"
            body = PAGE % {"refresh": refresh, "captcha": site.new_captcha()}
            self.reply(200, body.encode("utf-8"), "text/html; charset=utf-8")

        def do_POST(self):
            path = urlsplit(self.path).path
            if not path.startswith("/ivd/"):
                return super().do_POST()
            length = int(self.headers.get("Content-Length") or 0)
            try:
                data = json.loads((self.rfile.read(length) if length else b"{}").decode("utf-8") or "{}")
            except ValueError:
                return self.reply(400)
            if not isinstance(data, dict):
                return self.reply(400)
            answers = {"/ivd/captcha": lambda: {"src": site.new_captcha()},
                       "/ivd/login": lambda: site.login(data), "/ivd/query": lambda: site.query(data)}
            if path not in answers:
                return self.reply(404)
            self.reply_json(answers[path]())

    return Handler


def main():
    args = server.arguments(root=False)
    return server.serve(args.port, handler_for(TaxOffice(args.config, args.events)))

if __name__ == "__main__":
    sys.exit(main())
