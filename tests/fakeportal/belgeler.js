// The fake portal's document pages: "Düzenlenen Belgeler e-Arşiv Fatura (İnteraktif)"
// (the issued-document list with its date pickers, result table, paging and the
// download button) and "İptal/İtiraz Talepleri". Ids are fixed, never taken from the
// scenario's idStart. Scenario keys:
//   invoices: [{no, vkn, buyer, date "DD-MM-YYYY", type, cancelled, objection, amount,
//               extra: [texts of further cells], noStatusIcon, package, packageDelayMs,
//               packageNever, misnamedMembers, zipSlip}]
//   pageSize (10), today ("DD/MM/YYYY"), resultDelayMs, pageDelayMs, omitPaging,
//   omitClosingRow (the body ends with its last invoice), omitPageLinks (menu link texts left out),
//   downloadButtonAfter (the "İndir" button carries no value until that many next-page clicks)
(function () {
  "use strict";

  var MONTHS = ["Oca", "Şub", "Mar", "Nis", "May", "Haz", "Tem", "Ağu", "Eyl", "Eki", "Kas", "Ara"];
  var el = Portal.el;

  function cfg(key, fallback) {
    var v = Portal.config[key];
    return v === undefined || v === null ? fallback : v;
  }

  function two(n) { return (n < 10 ? "0" : "") + n; }

  function portalToday() { return cfg("today", Portal.today()); }

  // "DD/MM/YYYY" or "DD-MM-YYYY" as a sortable number yyyymmdd, NaN when unreadable.
  function dayKey(text) {
    var m = /^(\d{2})[\/-](\d{2})[\/-](\d{4})$/.exec(String(text || ""));
    return m ? Number(m[3] + m[2] + m[1]) : NaN;
  }

  // ---- date picker: one div appended to the body on first use and kept --------------

  var picker = null;

  function pickerDiv() {
    if (picker) return picker;
    var month = el("select", { "class": "ui-datepicker-month" },
                   MONTHS.map(function (m, i) { return el("option", { value: String(i), text: m }); }));
    var years = [];
    for (var y = 2015; y <= 2030; y++) years.push(el("option", { value: String(y), text: String(y) }));
    var year = el("select", { "class": "ui-datepicker-year" }, years);
    var body = el("tbody");
    var close = el("a", { href: "#", text: "Kapat" });
    var div = el("div", { id: "ui-datepicker-div", "class": "ui-datepicker", style: "display:none" }, [
      el("div", { "class": "ui-datepicker-header" }, [
        el("a", { "class": "ui-datepicker-prev", href: "#", text: "Geri" }),
        el("a", { "class": "ui-datepicker-next", href: "#", text: "İleri" }),
        el("div", { "class": "ui-datepicker-title" }, [month, year]),
      ]),
      el("table", { "class": "ui-datepicker-calendar" }, [
        el("thead", {}, [el("tr", {}, ["Pt", "Sa", "Ça", "Pe", "Cu", "Ct", "Pz"].map(function (d) {
          return el("th", { text: d });
        }))]),
        body,
      ]),
      el("div", { "class": "ui-datepicker-buttonpane" }, [close]),
    ]);
    document.body.appendChild(div);
    picker = { div: div, month: month, year: year, body: body, input: null };
    month.addEventListener("change", render);
    year.addEventListener("change", render);
    close.addEventListener("click", function (e) { e.preventDefault(); div.style.display = "none"; });
    return picker;
  }

  function render() {
    var p = picker;
    var y = Number(p.year.value), m = Number(p.month.value);
    var days = new Date(y, m + 1, 0).getDate();
    var first = (new Date(y, m, 1).getDay() + 6) % 7;
    p.body.innerHTML = "";
    var tr = el("tr");
    for (var i = 0; i < first; i++) tr.appendChild(el("td"));
    for (var d = 1; d <= days; d++) {
      (function (day) {
        var a = el("a", { href: "#", "class": "ui-state-default", text: String(day) });
        a.addEventListener("click", function (e) {
          e.preventDefault();
          p.input.value = two(day) + "/" + two(m + 1) + "/" + y;
          p.div.style.display = "none";
        });
        tr.appendChild(el("td", {}, [a]));
      })(d);
      if (tr.children.length === 7) { p.body.appendChild(tr); tr = el("tr"); }
    }
    if (tr.children.length) p.body.appendChild(tr);
  }

  function openPicker(input) {
    var p = pickerDiv();
    p.input = input;
    var m = /^(\d{2})\/(\d{2})\/(\d{4})$/.exec(input.value) || /^(\d{2})\/(\d{2})\/(\d{4})$/.exec(portalToday());
    p.month.value = String(Number(m[2]) - 1);
    p.year.value = m[3];
    render();
    p.div.style.display = "block";
  }

  function dateBox(id) {
    var input = el("input", { id: id + "-i", type: "text", readonly: true, value: portalToday() });
    var img = el("img", { src: "/takvim.png", alt: "Takvim", width: "16", height: "16" });
    img.addEventListener("click", function () { openPicker(input); });
    return { box: el("div", { id: id, "class": "csc-date" }, [input, img]), input: input };
  }

  // ---- issued documents --------------------------------------------------------------

  var list = null; // {rows, page, pages, selected{no:true}}

  function matching(start, end) {
    var from = dayKey(start), to = dayKey(end);
    return cfg("invoices", []).filter(function (inv) {
      var k = dayKey(inv.date);
      return isNaN(k) || (k >= from && k <= to);
    }).sort(function (a, b) {
      var d = dayKey(a.date) - dayKey(b.date);
      return d !== 0 && !isNaN(d) ? d : String(a.no).localeCompare(String(b.no));
    });
  }

  function cell(children) {
    return el("td", {}, children);
  }

  function span(text) { return el("span", { text: text === undefined || text === null ? "" : String(text) }); }

  function rowOf(inv) {
    var box = el("input", { type: "checkbox" });
    var status = inv.noStatusIcon ? el("span") : el("span", {}, [el("i", { "class": inv.cancelled ? "icon-remove" : "icon-ok" })]);
    var tds = [cell([box]), cell([span(inv.no)]), cell([span(inv.vkn)]), cell([span(inv.buyer)]), cell([span(inv.date)]),
               cell([span(inv.type || "SATIŞ")]), cell([status]), cell([span(inv.objection || "----------")]),
               cell([span(inv.amount || "1.180,00")])];
    (inv.extra || []).forEach(function (t) { tds.push(cell([span(t)])); });
    var tr = el("tr", {}, tds);
    function sync() {
      box.checked = !!list.selected[inv.no];
      tr.className = box.checked ? "selected" : "";
    }
    box.addEventListener("click", function (e) {
      e.stopPropagation();
      list.selected[inv.no] = box.checked;
      sync();
    });
    tr.addEventListener("click", function () {
      list.selected[inv.no] = !list.selected[inv.no];
      sync();
    });
    return tr;
  }

  function showPage() {
    var body = document.getElementById("gen__1036-b");
    body.innerHTML = "";
    var size = cfg("pageSize", 10);
    list.rows.slice((list.page - 1) * size, list.page * size).forEach(function (inv) { body.appendChild(rowOf(inv)); });
    if (list.rows.length && !cfg("omitClosingRow", false)) body.appendChild(el("tr"));  // the portal's closing row
    var paging = document.querySelector(".csc-tale-paging-div");
    if (paging) paging.textContent = "Sayfa " + list.page + " / " + list.pages;
  }

  function resultArea(content) {
    var old = document.getElementById("sonuc");
    if (old) old.parentNode.removeChild(old);
    var table = el("table", { id: "gen__1036", "class": "csc-table" }, [
      el("thead", {}, [el("tr", {}, ["", "Fatura No", "Alıcı VKN/TCKN", "Alıcı Unvanı", "Düzenleme Tarihi", "Belge Türü",
                                     "Onay Durumu", "İptal/İtiraz", "Tutar"].map(function (t) { return el("th", { text: t }); }))]),
      el("tbody", { id: "gen__1036-b" }),
    ]);
    var children = [table];
    if (!cfg("omitPaging", false)) children.push(el("div", { "class": "csc-tale-paging-div" }));
    var next = el("span", { "class": "csc-table-paging-btn csc-table-seek-next", text: ">" });
    next.addEventListener("click", function () {
      var from = list.page;
      var go = function () {
        if (list.page < list.pages) list.page++;
        list.nextClicks = (list.nextClicks || 0) + 1;
        if (list.nextClicks >= cfg("downloadButtonAfter", 0)) document.getElementById("gen__1040").setAttribute("value", "İndir");
        Portal.post({ type: "nextPage", from: from, to: list.page });
        showPage();
      };
      if (cfg("pageDelayMs", 0) > 0) setTimeout(go, cfg("pageDelayMs", 0));
      else go();
    });
    children.push(next);
    content.appendChild(el("div", { id: "sonuc" }, children));
  }

  Portal.pages.duzenlenen = function (content) {
    Portal.post({ type: "documentPage", page: "duzenlenen" });
    list = null;
    var start = dateBox("gen__1024"), end = dateBox("gen__1025");
    var query = el("input", { type: "button", id: "gen__1030", value: "Sorgula" });
    var download = el("input", { type: "button", id: "gen__1040", value: cfg("downloadButtonAfter", 0) > 0 ? "" : "İndir" });
    // The query form sits in a layout table of its own, above the results.
    content.appendChild(el("h2", { text: "Düzenlenen Belgeler" }));
    content.appendChild(el("table", { "class": "csc-layout" }, [el("tbody", {}, [
      el("tr", {}, [cell(["Başlangıç Tarihi"]), cell([start.box])]),
      el("tr", {}, [cell(["Bitiş Tarihi"]), cell([end.box])]),
      el("tr", {}, [cell([query]), cell([download])]),
    ])]));
    query.addEventListener("click", function () {
      Portal.post({ type: "query", start: start.input.value, end: end.input.value });
      var rows = matching(start.input.value, end.input.value);
      var size = cfg("pageSize", 10);
      var show = function () {
        list = { rows: rows, page: 1, pages: Math.max(1, Math.ceil(rows.length / size)), selected: {} };
        resultArea(content);
        showPage();
        if (!rows.length) Portal.showPopup("Kayıt bulunamadı.");
      };
      if (cfg("resultDelayMs", 0) > 0) setTimeout(show, cfg("resultDelayMs", 0));
      else show();
    });
    download.addEventListener("click", function () {
      var chosen = list ? Object.keys(list.selected).filter(function (no) { return list.selected[no]; }) : [];
      Portal.post({ type: "download", selected: chosen });
      if (!chosen.length) { Portal.showPopup("Lütfen indirilecek belgeyi seçiniz."); return; }
      var frame = el("iframe", { style: "display:none", src: "/download?no=" + encodeURIComponent(chosen.join(",")) });
      document.body.appendChild(frame);
    });
  };

  document.addEventListener("DOMContentLoaded", function () {
    cfg("omitPageLinks", []).forEach(function (text) {
      Array.prototype.forEach.call(document.querySelectorAll("#belgeAltMenu a"), function (a) {
        if (a.textContent === text) a.parentNode.removeChild(a);
      });
    });
  });

  Portal.pages.iptal = function (content) {
    Portal.post({ type: "documentPage", page: "iptal" });
    content.appendChild(el("h2", { text: "İptal/İtiraz Talepleri" }));
  };
})();
