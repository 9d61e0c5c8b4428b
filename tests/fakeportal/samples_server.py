#!/usr/bin/python3
"""The fake pages of the test-portal samples: the smart-card signing page (over HTTPS
with the test's own certificate) and the e-Fatura test portal's despatch-note page.
Scenario and events as in server.py, whose portal and handler it reuses.

    samples_server.py --root DIR --config FILE --events FILE --port 0 [--cert PEM --key PEM]
"""
import os
import ssl
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import server  # noqa: E402

ROUTES = {"/": "/imza.html", "/efatura/login.jsp": "/irsaliye.html"}


def main():
    args = server.arguments("--cert", "--key")
    portal = server.Portal(args.root, args.config, args.events)
    base = server.handler_for(portal)

    class Handler(base):
        def do_GET(self):
            path, _, query = self.path.partition("?")
            if path in ROUTES:
                self.path = ROUTES[path] + ("?" + query if query else "")
            return base.do_GET(self)

    wrap = None
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        wrap = lambda sock: context.wrap_socket(sock, server_side=True)  # noqa: E731
    return server.serve(args.port, Handler, wrap)


if __name__ == "__main__":
    sys.exit(main())
