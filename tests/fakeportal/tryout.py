#!/usr/bin/python3
"""Every site of the try-out from one command, on 127.0.0.1: the e-Arşiv portal with its
lasting state (and on it the accountants' portal and the buyer look-up), the interactive
tax office site, and an SMTP server that keeps every message it receives.

    tryout.py --folder DIR [--settings demo/tryout.json] [--portal demo/portal-scenario.json] [--reset]

DIR keeps the state: portal.json (the invoices created, read at start and written after
each change), Posta/NNNN.eml (the messages), the scenarios and event records. Without
portal.json, or with --reset, the month starts clean: the earlier month holds the demo
company's invoices of the settings' "lastMonth", this month none. Prints the program's
settings for these sites as lines "KUVELA_<KEY>=<value>", the mail folder as "POSTA
<folder>", then "READY"; serves until terminated, or until its standard input closes
with --until-stdin-closes.
"""
import argparse
import datetime
import json
import os
import shutil
import signal
import sys
import threading
from http.server import ThreadingHTTPServer

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(SOURCE, "tests", "fixtures"))

import server  # noqa: E402
import smtp_server  # noqa: E402
import taxoffice  # noqa: E402
import tryout_state  # noqa: E402


def read_json(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def received_rows(specs, today):
    """The tax office's received invoices, dated in the month before today's."""
    first, last = tryout_state.earlier_month(today)
    rows = []
    for spec in specs:
        cells = [c.replace("{year}", str(first.year)) for c in spec["cells"]]
        cells[3] = first.replace(day=min(int(spec["day"]), last.day)).strftime("%d-%m-%Y")
        rows.append(cells)
    return rows


def listen(handler):
    httpd = ThreadingHTTPServer(("127.0.0.1", 0), handler)
    httpd.daemon_threads = True
    threading.Thread(target=httpd.serve_forever, daemon=True).start()
    return httpd


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--settings", default=os.path.join(SOURCE, "demo", "tryout.json"))
    parser.add_argument("--portal", default=os.path.join(SOURCE, "demo", "portal-scenario.json"))
    parser.add_argument("--reset", action="store_true")
    parser.add_argument("--until-stdin-closes", action="store_true")
    args = parser.parse_args()

    folder = os.path.abspath(args.folder)
    mail = os.path.join(folder, "Posta")
    state_file = os.path.join(folder, "portal.json")
    if args.reset:
        for path in (state_file, mail):
            if os.path.isdir(path):
                shutil.rmtree(path)
            elif os.path.exists(path):
                os.remove(path)
    os.makedirs(folder, exist_ok=True)
    settings = read_json(args.settings)
    today = datetime.date.today()

    portal_scenario = read_json(args.portal)
    portal_scenario.update(settings.get("portal", {}))
    portal_config = os.path.join(folder, "portal-senaryo.json")
    tryout_state.write(portal_config, portal_scenario)
    if os.path.exists(state_file):
        state = tryout_state.State(state_file)
    else:
        state = tryout_state.State.create(state_file, settings.get("lastMonth", []), today)
    portal = server.Portal(HERE, portal_config, os.path.join(folder, "portal-olaylar.jsonl"), state)
    portal_httpd = listen(server.handler_for(portal))

    office_scenario = {key: portal_scenario[key] for key in ("user", "password") if key in portal_scenario}
    office_scenario.update({k: v for k, v in settings.get("taxoffice", {}).items() if k != "received"})
    office_scenario["invoices"] = received_rows(settings.get("taxoffice", {}).get("received", []), today)
    office_config = os.path.join(folder, "vergi-dairesi-senaryo.json")
    tryout_state.write(office_config, office_scenario)
    office = taxoffice.TaxOffice(office_config, os.path.join(folder, "vergi-dairesi-olaylar.jsonl"))
    office_httpd = listen(taxoffice.handler_for(office))

    smtp_server.make_cert(folder)
    account = settings.get("mail", {})
    smtp_port, stop_smtp = smtp_server.start(folder, account.get("user", ""), account.get("password", ""), mail)

    # The program's settings that point it at these sites, as environment variables.
    portal_url = "http://127.0.0.1:%d" % portal_httpd.server_address[1]
    for name, value in (("KUVELA_PORTAL_URL", portal_url), ("KUVELA_SMMM_URL", portal_url),
                        ("KUVELA_TAXOFFICE_URL", "http://127.0.0.1:%d" % office_httpd.server_address[1]),
                        ("KUVELA_MAIL_HOST", "127.0.0.1"), ("KUVELA_MAIL_PORT", str(smtp_port)),
                        ("KUVELA_MAIL_CAFILE", os.path.join(folder, "cert.pem"))):
        print("%s=%s" % (name, value))
    print("POSTA %s" % mail)
    print("READY", flush=True)

    done = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: done.set())
    if args.until_stdin_closes:
        threading.Thread(target=lambda: (sys.stdin.buffer.read(), done.set()), daemon=True).start()
    try:
        while not done.wait(1):
            pass
    except KeyboardInterrupt:
        pass
    stop_smtp()
    portal_httpd.shutdown()
    office_httpd.shutdown()
    return 0


if __name__ == "__main__":
    sys.exit(main())
