"""The try-out's lasting portal state: every invoice created through "Oluştur" kept in a
JSON file, so numbering goes on across logins and runs, the issued-documents query lists
the invoices of its month and "İndir" serves each as a package carrying what was created.

The tests' fakes never use it: server.Portal takes a State only when the try-out
launcher (tryout.py) gives it one.
"""
import datetime
import json
import os
import threading
from decimal import ROUND_HALF_UP, Decimal, InvalidOperation

TYPE_TEXTS = {"SATIS": "SATIŞ", "IADE": "İADE", "TEVKIFAT": "TEVKİFAT", "ISTISNA": "İSTİSNA",
              "OZELMATRAH": "ÖZEL MATRAH", "IHRACKAYITLI": "İHRAÇ KAYITLI"}

CENT = Decimal("0.01")


def number(text):
    """A Turkish amount as the page shows it ("1.234,5"); unreadable is 0."""
    t = str(text or "").replace("TL", "").strip().replace(".", "").replace(",", ".")
    try:
        return Decimal(t) if t else Decimal(0)
    except InvalidOperation:
        return Decimal(0)


def money(value):
    """Decimal as the portal writes an amount: "1.234,56"."""
    value = Decimal(value).quantize(CENT, rounding=ROUND_HALF_UP)
    sign = "-" if value < 0 else ""
    whole, frac = ("%.2f" % abs(value)).split(".")
    groups = []
    while len(whole) > 3:
        groups.insert(0, whole[-3:])
        whole = whole[:-3]
    groups.insert(0, whole)
    return sign + ".".join(groups) + "," + frac


def plain(value):
    """A rate or quantity without needless decimals: 20, 2,5."""
    text = format(Decimal(value).normalize(), "f")
    return text.replace(".", ",")


def buyer_name(header):
    title = (header.get("title") or "").strip()
    if title:
        return title
    return " ".join(p for p in ((header.get("name") or "").strip(), (header.get("surname") or "").strip()) if p)


def invoice_of(serial, form):
    """The issued-list row and the package's content of one created invoice, from the
    page's snapshot at "Oluştur"."""
    header = form.get("header", {})
    date = header.get("date", "")
    rows = [r for r in form.get("rows", []) if (r.get("name") or "").strip()]
    totals = form.get("totals", {})
    return {
        "no": serial,
        "vkn": header.get("vkn", ""),
        "buyer": buyer_name(header),
        "date": date.replace("/", "-"),
        "time": header.get("time", ""),
        "type": TYPE_TEXTS.get(header.get("type", ""), header.get("type", "")),
        "amount": totals.get("odenecekTutar", "0,00"),
        "ettn": form.get("ettn", ""),
        "header": header,
        "lines": rows,
        "totals": totals,
    }


ETTN_PREFIX = "f0000000-0000-4000-8000-"


def ettn_of(ordinal):
    """The fake's ETTN of its n-th invoice page (portal.js)."""
    return ETTN_PREFIX + "%012d" % ordinal


def ettn_ordinal(ettn):
    tail = str(ettn or "")[len(ETTN_PREFIX):]
    return int(tail) if str(ettn or "").startswith(ETTN_PREFIX) and tail.isdigit() else 0


def seeded(spec, day, serial, ettn=""):
    """An invoice of the demo's earlier month, computed as the page computes a draft:
    spec {day, vkn, title | name + surname, taxOffice, address, lines: [[name, qty, unit,
    price, discount %, VAT %]]}."""
    rows = []
    sums = {"gross": Decimal(0), "disc": Decimal(0), "net": Decimal(0), "vat": Decimal(0)}
    for name, qty, unit, price, discount, rate in spec["lines"]:
        gross = Decimal(qty) * Decimal(price)
        disc = (gross * Decimal(discount) / 100).quantize(CENT, rounding=ROUND_HALF_UP)
        net = (gross - disc).quantize(CENT, rounding=ROUND_HALF_UP)
        vat = (net * Decimal(rate) / 100).quantize(CENT, rounding=ROUND_HALF_UP)
        rows.append({"name": name, "qty": plain(qty), "unit": unit, "price": plain(price),
                     "discRate": plain(discount), "discAmt": money(disc), "net": money(net),
                     "vatRate": str(rate), "vat": money(vat), "taxes": []})
        # The goods total adds the line amounts as the lines show them.
        sums["gross"] += gross.quantize(CENT, rounding=ROUND_HALF_UP)
        sums["disc"] += disc
        sums["net"] += net
        sums["vat"] += vat
    total = sums["net"] + sums["vat"]
    header = {"date": day.strftime("%d/%m/%Y"), "time": "10:00:00", "type": "SATIS", "vkn": spec["vkn"],
              "title": spec.get("title", ""), "name": spec.get("name", ""), "surname": spec.get("surname", ""),
              "taxOffice": spec.get("taxOffice", ""), "country": "Türkiye", "address": spec.get("address", ""),
              "note": spec.get("note", "")}
    totals = {"malHizmetToplamTutari": money(sums["gross"]), "toplamIskonto": money(sums["disc"]),
              "hesaplananKdv": money(sums["vat"]), "digerVergiler": "0,00",
              "vergilerDahilToplamTutar": money(total), "odenecekTutar": money(total)}
    return invoice_of(serial, {"header": header, "rows": rows, "totals": totals, "ettn": ettn})


def serial_of(year, counter):
    return "GIB%d%09d" % (year, counter)


def earlier_month(today):
    """The month before today's: (first day, last day)."""
    last = today.replace(day=1) - datetime.timedelta(days=1)
    return last.replace(day=1), last


class State:
    """The invoices of the try-out, read at start and written after each change."""

    def __init__(self, path):
        self.path = path
        self.lock = threading.Lock()
        with open(path, encoding="utf-8") as f:
            self.data = json.load(f)

    @staticmethod
    def create(path, last_month, today=None):
        """A clean month: the earlier month's invoices of the demo company and none of this
        month's."""
        today = today or datetime.date.today()
        first, last = earlier_month(today)
        invoices = []
        for spec in last_month:
            day = first.replace(day=min(int(spec["day"]), last.day))
            counter = 1 + sum(1 for inv in invoices if inv["no"].startswith("GIB%d" % day.year))
            invoices.append(seeded(spec, day, serial_of(day.year, counter), ettn_of(len(invoices) + 1)))
        write(path, {"invoices": invoices})
        return State(path)

    def overlay(self, scenario):
        """The scenario as the pages see it: the kept invoices after the scenario's own,
        and the counts the page's serials and ETTNs go on from."""
        with self.lock:
            kept = list(self.data["invoices"])
        scenario["invoices"] = list(scenario.get("invoices", [])) + kept
        prefix = "GIB%d" % datetime.date.today().year
        scenario["serialsIssued"] = max([int(inv["no"][len(prefix):]) for inv in kept
                                         if inv["no"].startswith(prefix) and inv["no"][len(prefix):].isdigit()] + [0])
        scenario["ettnsIssued"] = max([ettn_ordinal(inv.get("ettn")) for inv in kept] + [0])
        return scenario

    def observe(self, event):
        """Keeps what "Oluştur" created; other events change nothing."""
        if event.get("type") != "created" or not event.get("serial") or not isinstance(event.get("form"), dict):
            return
        with self.lock:
            if any(inv["no"] == event["serial"] for inv in self.data["invoices"]):
                return
            self.data["invoices"].append(invoice_of(event["serial"], event["form"]))
            write(self.path, self.data)


def write(path, data):
    """Whole or not at all: a new file moved over the old one."""
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    temporary = path + ".yeni"
    with open(temporary, "w", encoding="utf-8") as f:
        json.dump(data, f, ensure_ascii=False, indent=1)
    os.replace(temporary, path)


def escape(text):
    return (str(text if text is not None else "").replace("&", "&amp;").replace("<", "&lt;")
            .replace(">", "&gt;").replace('"', "&quot;"))


def rows_html(cells_of_rows):
    return "\n".join("<tr>" + "".join("<td>%s</td>" % escape(c) for c in cells) + "</tr>" for cells in cells_of_rows)


def party_html(rows, table_id=None):
    opening = '<table id="%s">' % table_id if table_id else "<table>"
    return (opening + "<tbody><tr><td><table><tbody>\n" + rows_html([[r] for r in rows])
            + "\n</tbody></table></td></tr></tbody></table>")


# The portal ends its line table with a row of twelve no-break spaces.
CLOSING_ROW = "<tr>" + "<td>&nbsp;</td>" * 12 + "</tr>"


def package_html(inv, scenario):
    """The invoice page as the portal issues it: seller, buyer, header, lines up to the
    closing row, the totals with one "Hesaplanan KDV(%n)" row per rate and, on a withholding
    invoice, one "Hesaplanan KDV Tevkifat(%n)" row per withholding rate, and the note."""
    header = inv.get("header", {})
    seller = scenario.get("seller", {})
    vkn = inv.get("vkn", "")
    seller_rows = [seller.get("title", "SATICI FİRMA"), seller.get("address", ""),
                   "Vergi Dairesi: " + seller.get("taxOffice", ""), "VKN: " + scenario.get("taxpayerVkn", "")]
    buyer_rows = ["SAYIN", inv.get("buyer", ""), header.get("address", ""), header.get("country", ""),
                  "Web Sitesi:", "E-Posta:", "Vergi Dairesi: " + header.get("taxOffice", ""),
                  ("TCKN: " if len(vkn) == 11 else "VKN: ") + vkn]
    when = inv.get("date", "") + (" " + inv["time"] if inv.get("time") else "")
    details = [["Özelleştirme No:", "TR1.2"], ["Senaryo:", "EARSIVFATURA"], ["Fatura Tipi:", inv.get("type", "")],
               ["Fatura No:", inv.get("no", "")], ["Fatura Tarihi:", when]]
    if header.get("irsNo"):
        details.append(["İrsaliye No:", header["irsNo"]])
    lines = [["Sıra No", "Mal Hizmet", "Miktar", "Birim Fiyat", "İskonto/ Arttırım Oranı", "İskonto/ Arttırım Tutarı",
              "İskonto/ Arttırım Nedeni", "KDV Oranı", "KDV Tutarı", "Diğer Vergiler", "Mal Hizmet Tutarı", "GTİP"]]
    vat_by_rate, withheld_by_rate = {}, {}
    for i, row in enumerate(inv.get("lines", []), start=1):
        rate = number(row.get("vatRate"))
        vat_by_rate[rate] = vat_by_rate.get(rate, Decimal(0)) + number(row.get("vat"))
        if row.get("wCode") and number(row.get("wRate")):
            w_rate = number(row.get("wRate"))
            withheld_by_rate[w_rate] = withheld_by_rate.get(w_rate, Decimal(0)) + number(row.get("wAmt"))
        discount = number(row.get("discAmt"))
        others = " ".join("%s (%%%s) %s TL" % (t.get("code", ""), t.get("rate", ""), t.get("amount", ""))
                          for t in row.get("taxes", []) if number(t.get("rate")))
        if row.get("wCode"):
            others = ("KDV TEVKİFAT (%%%s) " % row.get("wRate", "") + others).strip()
        lines.append([str(i), row.get("name", ""), "%s %s" % (plain(number(row.get("qty"))), row.get("unit", "")),
                      money(number(row.get("price"))) + " TL", "%" + money(number(row.get("discRate"))),
                      money(discount) + " TL", "İskonto" if discount else "", "%" + money(rate),
                      money(number(row.get("vat"))) + " TL", others, money(number(row.get("net"))) + " TL",
                      row.get("gtip", "")])
    totals = inv.get("totals", {})
    budget = [["", "Mal Hizmet Toplam Tutarı", totals.get("malHizmetToplamTutari", "0,00") + " TL"],
              ["", "Toplam İskonto", totals.get("toplamIskonto", "0,00") + " TL"]]
    for rate in sorted(vat_by_rate):
        budget.append(["", "Hesaplanan KDV(%%%s)" % plain(rate), money(vat_by_rate[rate]) + " TL"])
    for rate in sorted(withheld_by_rate):
        budget.append(["", "Hesaplanan KDV Tevkifat(%%%s)" % plain(rate), money(withheld_by_rate[rate]) + " TL"])
    if number(totals.get("digerVergiler")):
        budget.append(["", "Diğer Vergiler", totals["digerVergiler"] + " TL"])
    budget += [["", "Vergiler Dahil Toplam Tutar", totals.get("vergilerDahilToplamTutar", "0,00") + " TL"],
               ["", "Ödenecek Tutar", totals.get("odenecekTutar", "0,00") + " TL"]]
    note = (header.get("note") or "").strip()
    return """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>e-Arşiv Fatura</title>
<style>body { font: 10pt sans-serif; } table { border-collapse: collapse; margin: 6px 0; }
#lineTable td, #budgetContainerTable td { border: 1px solid #999; padding: 2px 5px; }</style></head>
<body><div id="mainbody">
%s
%s
<table id="despatchTable"><tbody>
%s
</tbody></table>
<table id="lineTable"><tbody>
%s
%s</tbody></table>
<table id="budgetContainerTable"><tbody><tr><td><table><tbody>
%s
</tbody></table></td></tr></tbody></table>
<table id="notesTable"><tbody><tr><td>%s</td></tr></tbody></table>
</div></body></html>
""" % (party_html(seller_rows), party_html(buyer_rows, "customerPartyTable"), rows_html(details), rows_html(lines),
       CLOSING_ROW, rows_html(budget), escape("Not: " + note if note else ""))
