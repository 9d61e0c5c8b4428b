"""The invoice packages of the fake portal's "İndir": GET /download?no=<no>[,<no>...]
serves one ZIP per invoice, holding <stem>.html and <stem>.xml. Scenario keys of an
invoice: package (file name, default a UUID from its number + ".zip"), packageDelayMs
(headers at once, content after the delay), packageNever, misnamedMembers, zipSlip.
"""
import io
import time
import uuid
import zipfile
from urllib.parse import parse_qs

import tryout_state

HTML = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>e-Arşiv Fatura</title></head>
<body><div id="mainbody">
<table><tbody><tr><td><table><tbody>
<tr><td>SATICI FİRMA</td></tr><tr><td>VKN: {seller}</td></tr></tbody></table></td></tr></tbody></table>
<table id="customerPartyTable"><tbody><tr><td><table><tbody>
<tr><td>SAYIN</td></tr><tr><td>{buyer}</td></tr><tr><td>VKN: {vkn}</td></tr></tbody></table></td></tr></tbody></table>
<table id="despatchTable"><tbody>
<tr><td>Senaryo:</td><td>EARSIVFATURA</td></tr>
<tr><td>Fatura Tipi:</td><td>{type}</td></tr>
<tr><td>Fatura No:</td><td>{no}</td></tr>
<tr><td>Fatura Tarihi:</td><td>{date}</td></tr></tbody></table>
<table id="lineTable"><tbody>
<tr><td>Sıra No</td><td>Mal Hizmet</td><td>Miktar</td><td>Birim Fiyat</td><td>İskonto/ Arttırım Oranı</td>
<td>İskonto/ Arttırım Tutarı</td><td>İskonto/ Arttırım Nedeni</td><td>KDV Oranı</td><td>KDV Tutarı</td>
<td>Diğer Vergiler</td><td>Mal Hizmet Tutarı</td><td>GTİP</td></tr>
<tr><td>1</td><td>Hizmet</td><td>1 Adet</td><td>1.000,00 TL</td><td>%0,00</td><td>0,00 TL</td><td></td><td>%18,00</td>
<td>180,00 TL</td><td></td><td>1.000,00 TL</td><td></td></tr>
{closing}</tbody></table>
<table id="budgetContainerTable"><tbody><tr><td><table><tbody>
<tr><td></td><td>Mal Hizmet Toplam Tutarı</td><td>1.000,00 TL</td></tr>
<tr><td></td><td>Toplam İskonto</td><td>0,00 TL</td></tr>
<tr><td></td><td>Hesaplanan KDV(%18)</td><td>180,00 TL</td></tr>
<tr><td></td><td>Vergiler Dahil Toplam Tutar</td><td>{amount} TL</td></tr>
<tr><td></td><td>Ödenecek Tutar</td><td>{amount} TL</td></tr></tbody></table></td></tr></tbody></table>
<table id="notesTable"><tbody><tr><td>Not: Yalnız bin yüz seksen TL.</td></tr></tbody></table>
</div></body></html>
"""

XML = """<?xml version="1.0" encoding="UTF-8"?>
<Invoice xmlns="urn:kuvela:fakeportal:invoice"
 xmlns:cbc="urn:kuvela:fakeportal:basic">
<cbc:UUID>{stem}</cbc:UUID><cbc:ID>{no}</cbc:ID><cbc:IssueDate>{iso}</cbc:IssueDate></Invoice>
"""


def package_name(inv):
    return inv.get("package") or str(uuid.uuid5(uuid.NAMESPACE_URL, "kuvela/" + inv.get("no", ""))) + ".zip"


def package_bytes(inv, scenario):
    name = package_name(inv)
    stem = name[:-4]
    inner = "fatura" if inv.get("misnamedMembers") else stem
    date = inv.get("date", "")
    iso = "-".join(reversed(date.split("-"))) if date.count("-") == 2 else ""
    fields = dict(seller=scenario.get("taxpayerVkn", ""), buyer=inv.get("buyer", ""), vkn=inv.get("vkn", ""),
                  type=inv.get("type", "SATIŞ"), no=inv.get("no", ""), date=date, amount=inv.get("amount", "1.180,00"),
                  stem=stem, iso=iso, closing=tryout_state.CLOSING_ROW)
    # The portal serves the package it stored with the invoice: the same bytes on every fetch.
    stamp = tuple(int(p) for p in iso.split("-")) + (12, 0, 0) if iso else (2024, 1, 1, 0, 0, 0)
    member = lambda entry: zipfile.ZipInfo(entry, date_time=stamp)
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w", zipfile.ZIP_DEFLATED) as z:
        # An invoice the try-out kept carries its own lines and totals.
        html = tryout_state.package_html(inv, scenario) if "lines" in inv else HTML.format(**fields)
        z.writestr(member(inner + ".html"), html, zipfile.ZIP_DEFLATED)
        z.writestr(member(inner + ".xml"), XML.format(**fields), zipfile.ZIP_DEFLATED)
        if inv.get("zipSlip"):
            z.writestr(member("../evil.html"), "<html>kaçak</html>", zipfile.ZIP_DEFLATED)
    return name, data.getvalue()


def serve(handler, portal, query):
    numbers = [n for n in ",".join(parse_qs(query).get("no", [])).split(",") if n]
    scenario = portal.scenario()
    invoices = {inv.get("no"): inv for inv in scenario.get("invoices", [])}
    chosen = [invoices[n] for n in numbers if n in invoices]
    if not chosen:
        portal.record({"type": "packageMissing", "no": numbers})
        return handler.reply(404)
    if len(chosen) > 1:
        # Several rows ticked: one combined package, so the mistake shows in Temp.
        name, body = "coklu.zip", b"".join(package_bytes(inv, scenario)[1] for inv in chosen)
    else:
        inv = chosen[0]
        if inv.get("packageNever"):
            portal.record({"type": "packageWithheld", "no": inv.get("no")})
            return handler.reply(204)
        name, body = package_bytes(inv, scenario)
    handler.send_response(200)
    handler.send_header("Content-Type", "application/zip")
    handler.send_header("Content-Disposition", 'attachment; filename="%s"' % name)
    handler.send_header("Content-Length", str(len(body)))
    handler.send_header("Cache-Control", "no-store")
    handler.end_headers()
    handler.wfile.flush()
    delay = chosen[0].get("packageDelayMs", scenario.get("packageDelayMs", 0)) if len(chosen) == 1 else 0
    if delay:
        handler.wfile.write(body[:10])
        handler.wfile.flush()
        time.sleep(delay / 1000.0)
        body = body[10:]
    handler.wfile.write(body)
    portal.record({"type": "packageServed", "no": numbers, "package": name})
