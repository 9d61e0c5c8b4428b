#!/usr/bin/python3
"""The fake e-Arsiv portal for the tests: static pages, the scenario, and a record of
what the pages saw. Standard library only.

    server.py --root DIR --config FILE --events FILE --port 0

Binds 127.0.0.1 and prints "PORT <n>" once it listens. The scenario file is read on
every GET /__config, so a test may rewrite it between pages.
"""
import argparse
import json
import os
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import unquote, urlsplit

import downloads

UNITS = ["Gün", "Ay", "Yıl", "Saat", "Dakika", "Saniye", "Adet", "Paket", "Kutu", "mg", "g", "kg", "lt",
         "ton", "Net Ton", "Gross ton", "mm", "cm", "m", "km", "ml", "mm3", "cm2", "cm3", "m2", "m3", "kJ",
         "cl", "KARAT", "KWH", "MWH", "Ton baş.taşıma kap.", "Brüt kalori", "1000 lt", "Saf alkol lt",
         "kg.m2", "Hücre adet", "Çift", "1000 m3", "Set", "1000 adet", "SCM", "NCM", "mmBTU", "CM³",
         "Düzine", "dm2", "dm", "ha"]

# The lists carry every entry the demo workbook offers, as the real portal's do; a test
# of a missing entry sets a shorter list in its scenario.
CURRENCIES = ["Türk Lirası", "ABD Doları", "Euro", "İngiliz Sterlini", "İsviçre Frangı", "Japon Yeni", "Rus Rublesi"]

COUNTRIES = ["Türkiye", "Almanya", "Azerbaycan", "Birleşik Krallık", "Fransa", "Hollanda", "İtalya", "Irak", "İran",
             "Rusya Federasyonu", "Amerika Birleşik Devletleri", "Yunanistan", "Bulgaristan", "Gürcistan", "Kazakistan"]

TAXES = {"V0021": "BSMV", "V0059": "Konaklama Vergisi", "V0061": "KKDF Kesintisi", "V0071": "ÖTV 1.Liste",
         "V0073": "ÖTV 3.Liste", "V0074": "ÖTV 4.Liste", "V0075": "ÖTV 3A Liste", "V0076": "ÖTV 3B Liste",
         "V0077": "ÖTV 3C Liste", "V1047": "Damga Vergisi", "V4080": "Özel İletişim Vergisi",
         "V4081": "5035 Sayılı Kanuna Göre Özel İletişim Vergisi", "V8001": "Borsa Tescil Ücreti",
         "V8002": "Enerji Fonu", "V8004": "TRT Payı", "V8005": "Elektrik Tüketim Vergisi", "V9015": "KDV Tevkifat",
         "V9944": "Belediyelere Ödenen Hal Rüsumu"}

WITHHOLDING = {"601": 40, "602": 90, "603": 70, "604": 50, "605": 50, "606": 90, "607": 90, "608": 100, "609": 70,
               "610": 90, "612": 90, "613": 90, "614": 50, "615": 70, "616": 50, "617": 70, "618": 90, "619": 70,
               "620": 70, "621": 90, "622": 100, "623": 50, "624": 20, "625": 30, "626": 20, "627": 50,
               "801": 100, "802": 100, "803": 100, "804": 100}

SPECIAL_BASE_REASONS = {
    "801": "Milli Piyango, Spor Toto vb. Oyunlar",
    "802": "At yarışları ve diğer müşterek bahis ve talih oyunları",
    "803": "Profesyonel Sanatçıların Yer Aldığı Gösteriler, Konserler, Sportif Faaliyetler",
    "804": "Gümrük Depolarında ve Müzayede Mahallerinde Yapılan Satışlar",
    "805": "Altından Mamül veya Altın İçeren Ziynet Eşyaları ile Sikke Altınların Teslimi",
    "806": "Tütün Mamülleri",
    "807": "Muzır Neşriyat Kapsamındaki Gazete, Dergi vb. Periyodik Yayınlar",
    "808": "Gümüşten Mamul veya Gümüş İçeren Ziynet Eşyaları ile Sikke Gümüşlerin Teslimi",
    "809": "Belediyeler Tarafından Yapılan Şehiriçi Yolcu Taşımacılığında Kullanılan Biletlerin ve Kartların "
           "Bayilere Teslimi",
    "810": "Ön Ödemeli Elektronik Haberleşme Hizmetleri",
    "811": "TŞOF Tarafından Araç Plakaları ile Sürücü Kurslarında Kullanılan Bir Kısım Evrakın Teslimi",
    "812": "KDV Uygulanmadan Teslim Edilen Gümüş ve Altınlardan Mamul Eşya Teslimi",
}

DEFAULTS = {
    "user": "1111111",
    "password": "abc123",
    "taxpayerVkn": "1234567890",
    "idStart": 1000,
    "startPageDelayMs": 0,
    "omitMainTreeOption": False,
    "currencies": CURRENCIES,
    "countries": COUNTRIES,
    "units": UNITS,
    "vatRates": ["0", "1", "8", "10", "18", "20"],
    "defaultVatRate": "0",
    "taxes": TAXES,
    "vatBaseTaxCodes": ["V0061", "V0071", "V9077", "V0073", "V0074", "V0075", "V0076", "V0077", "V8002",
                        "V4071", "V8004", "V8005", "V4171", "V9944"],
    "withholding": WITHHOLDING,
    "specialBaseReasons": SPECIAL_BASE_REASONS,
    # The portal's today, dd/mm/yyyy: a later invoice date is refused. None means the
    # browser's date; the tests set it from their own clock.
    "today": None,
    "prefillDate": True,
    "prefillTime": False,
    "lookup": {},
    "tableHeaderInBody": True,
    "totalSkew": {},
    "refuseCreate": {},
    "pagesWithoutDateContainer": [],
    "omitAddLine": False,
    "popupDelayMs": 0,
    "popupTextLagMs": 0,
    "popupCloseMisses": 0,
    "idJumpPerPage": 0,
}

TYPES = {".html": "text/html; charset=utf-8", ".aspx": "text/html; charset=utf-8", ".js": "application/javascript; charset=utf-8",
         ".css": "text/css; charset=utf-8", ".json": "application/json; charset=utf-8",
         ".png": "image/png", ".ico": "image/x-icon"}


class Portal:
    def __init__(self, root, config, events, state=None):
        self.root = os.path.realpath(root)
        self.config = config
        self.events = events
        # The try-out's lasting invoices (tryout_state.State); None for the tests.
        self.state = state
        self.lock = threading.Lock()
        self.seq = 0
        open(self.events, "w", encoding="utf-8").close()

    def scenario(self):
        merged = dict(DEFAULTS)
        try:
            with open(self.config, encoding="utf-8") as f:
                merged.update(json.load(f))
        except FileNotFoundError:
            pass
        return self.state.overlay(merged) if self.state else merged

    def record(self, event):
        with self.lock:
            self.seq += 1
            event = dict(event)
            event["seq"] = self.seq
            event.setdefault("time", int(time.time() * 1000))
            with open(self.events, "a", encoding="utf-8") as f:
                f.write(json.dumps(event, ensure_ascii=False) + "\n")
        if self.state:
            self.state.observe(event)

    def recorded(self):
        with self.lock:
            with open(self.events, encoding="utf-8") as f:
                return [json.loads(line) for line in f if line.strip()]

    def reset(self):
        with self.lock:
            self.seq = 0
            open(self.events, "w", encoding="utf-8").close()


def handler_for(portal):
    class Handler(BaseHTTPRequestHandler):
        def log_message(self, *args):
            pass

        def reply(self, status, body=b"", ctype=None):
            self.send_response(status)
            if ctype:
                self.send_header("Content-Type", ctype)
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
            if body and self.command != "HEAD":
                self.wfile.write(body)

        def reply_json(self, value):
            self.reply(200, json.dumps(value, ensure_ascii=False).encode("utf-8"), TYPES[".json"])

        def do_GET(self):
            path = unquote(urlsplit(self.path).path)
            if path == "/__config":
                return self.reply_json(portal.scenario())
            if path == "/__events":
                return self.reply_json(portal.recorded())
            if path == "/download":
                return downloads.serve(self, portal, urlsplit(self.path).query)
            if path == "/":
                path = "/intragiris.html"
            target = os.path.realpath(os.path.join(portal.root, path.lstrip("/")))
            if not target.startswith(portal.root + os.sep) or not os.path.isfile(target):
                return self.reply(404, "Sayfa bulunamadı.".encode("utf-8"), TYPES[".html"])
            with open(target, "rb") as f:
                body = f.read()
            ctype = TYPES.get(os.path.splitext(target)[1].lower(), "application/octet-stream")
            self.reply(200, body, ctype)

        def do_POST(self):
            path = urlsplit(self.path).path
            length = int(self.headers.get("Content-Length") or 0)
            data = self.rfile.read(length) if length else b""
            if path == "/__event":
                try:
                    event = json.loads(data.decode("utf-8") or "{}")
                except ValueError:
                    return self.reply(400)
                if not isinstance(event, dict):
                    return self.reply(400)
                portal.record(event)
                return self.reply(204)
            if path == "/__reset":
                portal.reset()
                return self.reply(204)
            self.reply(404)

    return Handler


def arguments(*extra, root=True):
    """The command line every fake site takes: scenario, events, port (and the page root)."""
    parser = argparse.ArgumentParser()
    for name in (("--root",) if root else ()) + ("--config", "--events"):
        parser.add_argument(name, required=True)
    parser.add_argument("--port", type=int, default=0)
    for name in extra:
        parser.add_argument(name)
    return parser.parse_args()


def serve(port, handler, wrap=None):
    """Serves on 127.0.0.1 and prints "PORT <n>" once it listens, as the tests wait for."""
    httpd = ThreadingHTTPServer(("127.0.0.1", port), handler)
    httpd.daemon_threads = True
    if wrap:
        httpd.socket = wrap(httpd.socket)
    print("PORT %d" % httpd.server_address[1], flush=True)
    try:
        httpd.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


def main():
    args = arguments()
    return serve(args.port, handler_for(Portal(args.root, args.config, args.events)))


if __name__ == "__main__":
    sys.exit(main())
