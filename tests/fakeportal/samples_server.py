#!/usr/bin/python3
"""The fake pages of the test-portal samples: the smart-card signing page (over HTTPS
with the test's own certificate) and the e-Fatura test portal's despatch-note page.
Scenario and events as in server.py, whose portal and handler it reuses.

    samples_server.py --root DIR --config FILE --events FILE --port 0 [--cert PEM --key PEM]
"""
import argparse
import os
import ssl
import sys
from http.server import ThreadingHTTPServer

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import server  # noqa: E402

ROUTES = {"/": "/imza.html", "/efatura/login.jsp": "/irsaliye.html"}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--config", required=True)
    parser.add_argument("--events", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()
    portal = server.Portal(args.root, args.config, args.events)
    base = server.handler_for(portal)

    class Handler(base):
        def do_GET(self):
            path, _, query = self.path.partition("?")
            if path in ROUTES:
                self.path = ROUTES[path] + ("?" + query if query else "")
            return base.do_GET(self)

    httpd = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    httpd.daemon_threads = True
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        httpd.socket = context.wrap_socket(httpd.socket, server_side=True)
    print("PORT %d" % httpd.server_address[1], flush=True)
    try:
        httpd.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
