// The fake portal's behaviour. Strict on purpose: nothing is corrected or revealed on
// the program's behalf, so that its faults show as differences, skipped steps or
// missing events. Events are posted synchronously, so each is stored before the click
// that caused it returns to the driver.
(function () {
  "use strict";

  var Portal = (window.Portal = {});

  // ---- server ------------------------------------------------------------------------

  function request(method, path, body) {
    var xhr = new XMLHttpRequest();
    xhr.open(method, path, false);
    if (body !== undefined) xhr.setRequestHeader("Content-Type", "application/json; charset=utf-8");
    xhr.send(body === undefined ? null : JSON.stringify(body));
    return xhr;
  }

  Portal.config = JSON.parse(request("GET", "/__config").responseText);

  Portal.post = function (event) {
    request("POST", "/__event", event);
  };

  // ---- small DOM helpers -------------------------------------------------------------

  Portal.el = function (tag, attrs, children) {
    var node = document.createElement(tag);
    Object.keys(attrs || {}).forEach(function (name) {
      if (name === "text") node.textContent = attrs[name];
      else if (name === "on") Object.keys(attrs.on).forEach(function (ev) { node.addEventListener(ev, attrs.on[ev]); });
      else if (attrs[name] === true) node.setAttribute(name, "");
      else if (attrs[name] !== false && attrs[name] !== null && attrs[name] !== undefined) node.setAttribute(name, attrs[name]);
    });
    (children || []).forEach(function (child) {
      node.appendChild(typeof child === "string" ? document.createTextNode(child) : child);
    });
    return node;
  };

  // The scenario's "today" when it sets one, so that a test's dates never lie in the
  // portal's future as the calendar moves on.
  Portal.today = function () {
    if (Portal.config && Portal.config.today) return Portal.config.today;
    var d = new Date();
    function two(n) { return (n < 10 ? "0" : "") + n; }
    return two(d.getDate()) + "/" + two(d.getMonth() + 1) + "/" + d.getFullYear();
  };

  // ---- login page --------------------------------------------------------------------

  Portal.login = {
    init: function () {
      var form = document.getElementById("girisFormu");
      form.addEventListener("submit", function (e) {
        e.preventDefault();
        var user = document.getElementById("userid").value;
        var pass = document.getElementById("password").value;
        if (user === Portal.config.user && pass === Portal.config.password) {
          sessionStorage.loggedIn = "1";
          Portal.post({ type: "login", user: user });
          window.location.href = "/anasayfa.html";
        } else {
          Portal.post({ type: "loginFailed", user: user });
          document.getElementById("girisMesaji").textContent = "Kullanıcı kodu veya şifre hatalı.";
        }
      });
    },
  };

  // ---- working page: header, menu, tabs, pop-up --------------------------------------

  // Builders of the pages that the menu links open, by the link's data-page. A page
  // builder gets the content div and fills it; the invoice page registers as "olustur".
  Portal.pages = {};

  // Filled by the invoice page: the form's state as the tests read it, or null.
  Portal.snapshot = function () { return null; };
  // Run before the content is replaced; the invoice page closes its tab here.
  Portal.leavePage = function () {};

  // popupTextLagMs: the pop-up opens at once and its words come later, as on a slow page.
  Portal.showPopup = function (text) {
    var popup = document.querySelector(".csc-popup");
    var lag = Portal.config.popupTextLagMs || 0;
    popup.querySelector(".msg").textContent = lag > 0 ? "" : text;
    popup.style.display = "block";
    if (lag > 0) setTimeout(function () { popup.querySelector(".msg").textContent = text; }, lag);
    Portal.post({ type: "popup", text: text });
  };

  // popupCloseMisses: that many clicks on the pop-up's close do nothing.
  var closeMisses = 0;
  function hidePopup() {
    if (closeMisses < (Portal.config.popupCloseMisses || 0)) {
      closeMisses += 1;
      return;
    }
    document.querySelector(".csc-popup").style.display = "none";
  }

  function insertStartMenu() {
    var options = [Portal.el("option", { value: "", text: "Menü Seçiniz" })];
    if (!Portal.config.omitMainTreeOption) options.push(Portal.el("option", { value: "MAINTREEMENU", text: "Ana Menü" }));
    options.push(Portal.el("option", { value: "FAVORITES", text: "Sık Kullanılanlar" }));
    var select = Portal.el("select", { id: "gen__1006" }, options);
    select.addEventListener("change", function () {
      Portal.post({ type: "menu", item: select.value });
      if (select.value === "MAINTREEMENU") document.getElementById("gen__1009").style.display = "block";
    });
    var header = document.getElementById("gen__1000");
    header.insertBefore(select, document.getElementById("gen__1007"));
  }

  function openPage(key, title) {
    var content = document.getElementById("content");
    Portal.leavePage();
    content.innerHTML = "";
    var build = Portal.pages[key];
    if (build) build(content, title);
    else content.appendChild(Portal.el("h2", { "class": "csc-placeholder", text: title }));
  }

  Portal.main = {
    // The counter of generated ids; the start page's own ids are fixed.
    next: 0,

    init: function () {
      if (sessionStorage.loggedIn !== "1") {
        window.location.replace("/intragiris.html");
        return;
      }
      var cfg = Portal.config;
      Portal.main.next = cfg.idStart + 19;
      document.getElementById("gen__1003").textContent = cfg.user;
      document.getElementById("gen__1004").textContent = Portal.today();
      document.getElementById("gen__1005").textContent = cfg.taxpayerVkn;

      if (cfg.startPageDelayMs > 0) setTimeout(insertStartMenu, cfg.startPageDelayMs);
      else insertStartMenu();

      // Each step of the menu walk is recorded, so its order against other steps shows.
      document.getElementById("belgeIslemleri").addEventListener("click", function (e) {
        e.preventDefault();
        Portal.post({ type: "menu", item: "Belge İşlemleri" });
        document.getElementById("belgeAltMenu").style.display = "block";
      });
      Array.prototype.forEach.call(document.querySelectorAll("#belgeAltMenu a[data-page]"), function (link) {
        link.addEventListener("click", function (e) {
          e.preventDefault();
          Portal.post({ type: "menu", item: link.textContent });
          openPage(link.getAttribute("data-page"), link.textContent);
        });
      });

      document.querySelector(".csc-popup-close").addEventListener("click", hidePopup);
      document.querySelector('.csc-popup input[value="Tamam"]').addEventListener("click", hidePopup);

      document.getElementById("gen__1008").addEventListener("click", function (e) {
        e.preventDefault();
        Portal.post({ type: "logout", form: Portal.snapshot() });
        sessionStorage.clear();
        window.location.href = "/intragiris.html?cikis=1";
      });
    },
  };

  // ---- invoice page "e-Arşiv Fatura (İnteraktif) Oluştur" ------------------------------
  // Ids are "gen__" + a number from Portal.main.next, in document order; every field of
  // the form sits at a fixed offset from N, the number of the invoice-date field.

  var TYPES = [["SATIS", "SATIŞ"], ["IADE", "İADE"], ["TEVKIFAT", "TEVKİFAT"], ["ISTISNA", "İSTİSNA"],
               ["OZELMATRAH", "ÖZEL MATRAH"], ["IHRACKAYITLI", "İHRAÇ KAYITLI"]];

  var form = null;       // the open invoice form, or null
  var pageOrdinal = 0;   // invoice pages opened since the start page loaded
  // The try-out's kept invoices give the count to go on from; the tests' fake starts at 0.
  var serialCounter = Portal.config.serialsIssued || 0;
  // Likewise the ETTNs, so that no two kept invoices share one.
  var ettnsIssued = Portal.config.ettnsIssued || 0;

  // Turkish number: "1.234,5" is 1234.5; empty is 0; anything else is NaN.
  function num(text) {
    var t = String(text === undefined || text === null ? "" : text).trim();
    if (t === "") return 0;
    t = t.split(".").join("").replace(",", ".");
    return /^-?\d+(\.\d+)?$/.test(t) ? Number(t) : NaN;
  }

  // Whole kuruş of |x|, a half away from zero. The amount is taken at 15 significant
  // digits first, so the binary noise of a product (1,625 held as 1,62499...) never
  // decides the rounding.
  function cents(x) { return Math.round(Number((Math.abs(x) * 100).toPrecision(15))); }

  function round2(x) { return (x < 0 ? -1 : 1) * cents(x) / 100; }

  function money(x) {
    if (isNaN(x)) return "NaN";
    var c = cents(x);
    var whole = String(Math.floor(c / 100)).replace(/\B(?=(\d{3})+(?!\d))/g, ".");
    var frac = String(c % 100);
    return (x < 0 && c > 0 ? "-" : "") + whole + "," + (frac.length < 2 ? "0" + frac : frac);
  }

  function options(select, list, chosen) {
    list.forEach(function (o) {
      var opt = Portal.el("option", { value: o[0], text: o[1] });
      if (o[0] === chosen) opt.selected = true;
      select.appendChild(opt);
    });
    return select;
  }

  function pairs(values) { return values.map(function (v) { return [v, v]; }); }

  function chosenText(select) {
    return select.selectedIndex >= 0 ? select.options[select.selectedIndex].text : "";
  }

  function byGen(n) { return document.getElementById("gen__" + n); }

  // One row of the line table, built for the type and the taxes of the moment.
  function addLineRow() {
    var cfg = Portal.config;
    var body = document.getElementById("gen__" + (form.N + 43) + "-b");
    var type = byGen(form.N + 4).value;
    var tr = Portal.el("tr");
    var row = { tr: tr, taxes: [] };
    function cell(node) {
      node.id = "gen__" + Portal.main.next++;
      tr.appendChild(Portal.el("td", {}, [node]));
      return node;
    }
    function input() { return cell(Portal.el("input", { type: "text" })); }
    function ro() { return cell(Portal.el("span", { "class": "csc-rospan" })); }
    function select(list, chosen) { return cell(options(Portal.el("select"), list, chosen)); }

    row.name = input();
    row.qty = input();
    row.unit = select([["", "Seçiniz"]].concat(pairs(cfg.units)), "");
    row.price = input();
    row.discRate = input();
    row.discAmt = input();
    row.net = ro();
    row.vatRate = select(pairs(cfg.vatRates), cfg.defaultVatRate);
    row.vat = ro();
    if (type === "TEVKIFAT" && form.taxes.indexOf("V9015") >= 0) {
      row.wCode = select([["", "Seçiniz"]].concat(Object.keys(cfg.withholding).map(function (code) {
        return [code, code + " - " + "Tevkifat %" + cfg.withholding[code]];
      })), "");
      row.wRate = ro();
      row.wAmt = ro();
      row.wCode.addEventListener("change", function () {
        if (/^8\d\d$/.test(row.wCode.value)) Portal.showPopup("Tam tevkifat kodu seçildi, onaylıyor musunuz?");
      });
    }
    if (type === "ISTISNA") row.gtip = input();
    if (type === "OZELMATRAH") {
      row.omReason = select([["", "Seçiniz"]].concat(Object.keys(cfg.specialBaseReasons).map(function (code) {
        return [code, cfg.specialBaseReasons[code]];
      })), "");
      row.omAmount = input();
      row.omReason.addEventListener("change", function () {
        if (row.omReason.value !== "") Portal.showPopup("Özel matrah tutarını giriniz.");
      });
    }
    form.taxes.forEach(function (code) {
      if (code === "V9015") return;
      row.taxes.push({ code: code, rate: input(), amount: ro() });
    });
    var del = cell(Portal.el("input", { type: "button", value: "Sil" }));
    del.addEventListener("click", function () {
      tr.parentNode.removeChild(tr);
      form.rows.splice(form.rows.indexOf(row), 1);
      recompute();
    });
    body.appendChild(tr);
    form.rows.push(row);
    recompute();
    Portal.post({ type: "rowAdded", N: form.N, rows: form.rows.length });
  }

  function addReturnRow() {
    var a = Portal.main.next;
    Portal.main.next += 2;
    var number = Portal.el("input", { type: "text", id: "gen__" + a });
    var date = Portal.el("input", { type: "text", id: "date-gen__" + (a + 1), "class": "csc-datepicker", disabled: true });
    var tr = Portal.el("tr", {}, [Portal.el("td", {}, [number]),
                                  Portal.el("td", {}, [Portal.el("div", { id: "gen__" + (a + 1) }, [date])])]);
    document.getElementById("gen__" + (form.N + 38) + "-b").appendChild(tr);
    form.returns.push({ no: number, date: date });
    date.addEventListener("change", function () {
      if (!/^[A-Z0-9]{16}$/.test(number.value)) Portal.showPopup("Fatura numarası 16 karakter olmalıdır.");
      else if (!/^\d{2}\/\d{2}\/\d{4}$/.test(date.value)) Portal.showPopup("Geçersiz fatura tarihi.");
    });
    Portal.post({ type: "returnRowAdded", id: a });
  }

  function addTax() {
    var code = byGen(form.N + 41).value;
    if (code === "") { alert("Lütfen eklenecek vergiyi seçiniz."); return; }
    if (form.taxes.indexOf(code) >= 0) { alert("Bu vergi zaten eklenmiş."); return; }
    form.taxes.push(code);
    form.chips.appendChild(Portal.el("em", { "class": "csc-chip", text: code }));
    recompute();
    Portal.post({ type: "taxAdded", code: code });
    alert("Vergi eklendi.");
  }

  // The page's own arithmetic on what was typed.
  function recompute() {
    if (!form) return;
    var cfg = Portal.config;
    var sum = { gross: 0, disc: 0, net: 0, vat: 0, other: 0, withheld: 0 };
    form.rows.forEach(function (row) {
      var product = num(row.qty.value) * num(row.price.value);
      var gross = round2(product);  // a line's amount has two decimals; the goods total adds them
      var disc = round2(product * num(row.discRate.value) / 100);
      var net = round2(gross - disc);
      row.discAmt.value = money(disc);
      row.net.textContent = money(net);
      var base = row.omAmount ? num(row.omAmount.value) : net;
      var other = 0;
      row.taxes.forEach(function (t) {
        var amount = round2(net * num(t.rate.value) / 100);
        t.amount.textContent = money(amount);
        other += amount;
        if (cfg.vatBaseTaxCodes.indexOf(t.code) >= 0) base += amount;
      });
      var vat = round2(base * num(row.vatRate.value) / 100);
      row.vat.textContent = money(vat);
      var withheld = 0;
      if (row.wCode) {
        var rate = cfg.withholding[row.wCode.value];
        row.wRate.textContent = rate === undefined ? "" : String(rate);
        withheld = rate === undefined ? 0 : round2(vat * rate / 100);
        row.wAmt.textContent = rate === undefined ? "" : money(withheld);
      }
      sum.gross += gross; sum.disc += disc; sum.net += net; sum.vat += vat; sum.other += other; sum.withheld += withheld;
    });
    var skew = num((cfg.totalSkew || {})[byGen(form.N + 7).value] || "");
    var total = round2(sum.net + sum.vat + sum.other);
    var shown = {
      malHizmetToplamTutari: money(round2(sum.gross)),
      toplamIskonto: money(round2(sum.disc)),
      hesaplananKdv: money(round2(sum.vat)),
      digerVergiler: money(round2(sum.other)),
      vergilerDahilToplamTutar: money(round2(total + skew)),
      odenecekTutar: money(round2(total - sum.withheld)),
    };
    Object.keys(shown).forEach(function (rel) {
      form.totals.querySelector('td[rel="' + rel + '"] span').textContent = shown[rel];
    });
  }

  // dd/mm/yyyy of a real calendar day as yyyymmdd, or NaN.
  function dayKey(text) {
    var m = /^(\d{2})\/(\d{2})\/(\d{4})$/.exec(String(text || ""));
    if (!m) return NaN;
    var d = new Date(Number(m[3]), Number(m[2]) - 1, Number(m[1]));
    if (d.getFullYear() !== Number(m[3]) || d.getMonth() !== Number(m[2]) - 1 || d.getDate() !== Number(m[1]))
      return NaN;
    return Number(m[3] + m[2] + m[1]);
  }

  // The portal's checks of the draft as it stands: the first refusal's words, or null
  // when "Oluştur" would create it. Every snapshot carries this verdict.
  function refusal() {
    var cfg = Portal.config;
    var N = form.N;
    function v(off) { return byGen(N + off).value.trim(); }
    var vkn = v(7);
    var type = byGen(N + 4).value;
    var knob = (cfg.refuseCreate || {})[vkn];
    if (knob) return knob;
    if (!/^\d{10,11}$/.test(vkn)) return "Alıcı VKN/TCKN 10 veya 11 haneli olmalıdır.";
    if (vkn.length === 10 && v(8) === "") return "Alıcı unvanı boş bırakılamaz.";
    if (vkn.length === 11 && (v(9) === "" || v(10) === "")) return "Alıcı adı ve soyadı boş bırakılamaz.";
    var date = dayKey(document.getElementById("date-gen__" + N).value);
    if (isNaN(date)) return "Fatura tarihi gg/aa/yyyy biçiminde olmalıdır.";
    if (date > dayKey(Portal.today())) return "Fatura tarihi bugünden ileri bir tarih olamaz.";
    if (byGen(N + 2).value !== cfg.currencies[0] && !(num(v(3)) > 0))
      return "Döviz kuru sıfırdan büyük olmalıdır.";
    var named = form.rows.filter(function (r) { return r.name.value.trim() !== ""; });
    if (named.length === 0) return "En az bir mal/hizmet satırı girilmelidir.";
    for (var i = 0; i < form.rows.length; i++) {
      var row = form.rows[i];
      if (row.name.value.trim() === "") continue;
      var at = (i + 1) + ". satır: ";
      if (!(num(row.qty.value) > 0)) return at + "miktar sıfırdan büyük olmalıdır.";
      if (row.unit.value === "") return at + "birim seçilmelidir.";
      if (type === "TEVKIFAT" && (!row.wCode || row.wCode.value === "")) return at + "tevkifat kodu seçilmelidir.";
    }
    if (type === "IADE" && !form.returns.some(function (r) {
      var returned = dayKey(r.date.value);
      return /^[A-Z0-9]{16}$/.test(r.no.value) && !isNaN(returned) && returned <= date;
    })) return "İade faturası için en az bir geçerli iade edilen fatura (16 karakterlik numara, fatura tarihinden " +
               "sonra olmayan tarih) girilmelidir.";
    var nan = Array.prototype.some.call(form.totals.querySelectorAll("td[rel] span"), function (span) {
      return span.textContent === "NaN";
    });
    if (nan) return "Fatura toplamları hesaplanamadı. Satırları kontrol ediniz.";
    return null;
  }

  function snapshot() {
    if (!form) return null;
    var N = form.N;
    function v(off) { return byGen(N + off).value; }
    function rowOf(row) {
      function val(node) { return node ? node.value : ""; }
      function txt(node) { return node ? node.textContent : ""; }
      return {
        name: row.name.value, qty: row.qty.value, unit: row.unit.value, price: row.price.value,
        discRate: row.discRate.value, discAmt: row.discAmt.value, net: txt(row.net), vatRate: row.vatRate.value,
        vat: txt(row.vat), wCode: val(row.wCode), wRate: txt(row.wRate), wAmt: txt(row.wAmt), gtip: val(row.gtip),
        omReason: val(row.omReason), omAmount: val(row.omAmount),
        taxes: row.taxes.map(function (t) { return { code: t.code, rate: t.rate.value, amount: t.amount.textContent }; }),
      };
    }
    var totals = {};
    Array.prototype.forEach.call(form.totals.querySelectorAll("td[rel]"), function (td) {
      totals[td.getAttribute("rel")] = td.querySelector("span").textContent;
    });
    var date = document.getElementById("date-gen__" + N);
    var refused = refusal();
    return {
      N: N, ettn: form.ettn, created: form.created, serial: form.serial,
      verdict: { accepted: refused === null, message: refused || "" },
      header: {
        date: date.value, dateDisabled: date.disabled, time: document.getElementById("date-gen__" + (N + 1)).value,
        currency: chosenText(byGen(N + 2)), rate: v(3), type: v(4), vkn: v(7), title: v(8), name: v(9),
        surname: v(10), taxOffice: v(15), country: chosenText(byGen(N + 16)), address: v(17), irsNo: v(19),
        irsDate: document.getElementById("date-gen__" + (N + 20)).value, note: v(79),
      },
      taxes: form.taxes.slice(),
      returns: form.returns.map(function (r) { return { no: r.no.value, date: r.date.value }; }),
      rows: form.rows.map(rowOf),
      totals: totals,
    };
  }

  function refuse(message) {
    Portal.showPopup(message);
    Portal.post({ type: "createRefused", message: message, form: snapshot() });
  }

  function create() {
    var refused = refusal();
    if (refused !== null) return refuse(refused);
    serialCounter += 1;
    var counter = String(serialCounter);
    while (counter.length < 9) counter = "0" + counter;
    form.serial = "GIB" + new Date().getFullYear() + counter;
    form.created = true;
    Array.prototype.forEach.call(form.root.querySelectorAll("input, select, textarea"), function (n) { n.disabled = true; });
    Portal.showPopup("Faturanız başarıyla oluşturulmuştur. Fatura No: " + form.serial);
    Portal.post({ type: "created", serial: form.serial, form: snapshot() });
  }

  function tabList() { return document.querySelector("#gen__1018 ul"); }

  function closeForm(reason) {
    if (!form) return;
    var N = form.N;
    if (form.root.parentNode) form.root.parentNode.removeChild(form.root);
    if (form.tab.parentNode) form.tab.parentNode.removeChild(form.tab);
    form = null;
    if (reason) Portal.post({ type: reason, N: N });
  }

  Portal.leavePage = function () { closeForm(null); };
  Portal.snapshot = snapshot;

  Portal.pages.olustur = function (content, title) {
    var cfg = Portal.config;
    pageOrdinal += 1;
    Portal.main.next += cfg.idJumpPerPage || 0;
    var P = Portal.main.next;
    var N = P + 7;
    var ordinal = String(ettnsIssued + pageOrdinal);
    while (ordinal.length < 12) ordinal = "0" + ordinal;
    var root = Portal.el("div", { id: "gen__" + P, "class": "csc-form" });
    form = { N: N, root: root, ettn: "f0000000-0000-4000-8000-" + ordinal, created: false, serial: null,
             taxes: [], rows: [], returns: [] };

    // Every number of P .. P+125 is used once, in document order.
    var at = P;
    function take(off) {
      if (N + off !== at) throw new Error("fake portal: id order broken at offset " + off);
      at += 1;
      return "gen__" + (N + off);
    }
    function filler(off, text, parent) {
      (parent || root).appendChild(Portal.el("span", { id: take(off), text: text || "" }));
    }
    function fillers(from, to, parent) { for (var o = from; o <= to; o++) filler(o, "", parent); }
    function field(label, node) {
      root.appendChild(Portal.el("div", { "class": "csc-field" }, [Portal.el("label", { text: label }), node]));
      return node;
    }
    take(-7);
    filler(-6, "Fatura Bilgileri"); filler(-5, "Alıcı Bilgileri"); filler(-4, "Mal/Hizmet Bilgileri"); filler(-3, "");
    root.appendChild(Portal.el("div", { "class": "csc-field" }, [Portal.el("label", { text: "ETTN" }),
                     Portal.el("span", { id: take(-2), "class": "csc-ettn", text: form.ettn })]));
    filler(-1, "");

    var noContainer = (cfg.pagesWithoutDateContainer || []).indexOf(pageOrdinal) >= 0;
    field("Fatura Tarihi", Portal.el("div", { id: take(0), "class": noContainer ? "csc-tarih" : "csc-tarih-container" }, [
      Portal.el("input", { type: "text", id: "date-gen__" + N, "class": "csc-datepicker", disabled: true,
                           value: cfg.prefillDate ? Portal.today() : null })]));
    field("Saat", Portal.el("div", { id: take(1), "class": "csc-saat-container" }, [
      Portal.el("input", { type: "text", id: "date-gen__" + (N + 1), value: cfg.prefillTime ? "09:00" : null })]));
    var currency = field("Para Birimi", options(Portal.el("select", { id: take(2) }), pairs(cfg.currencies), cfg.currencies[0]));
    var rate = field("Döviz Kuru", Portal.el("input", { type: "text", id: take(3), disabled: true }));
    currency.addEventListener("change", function () { rate.disabled = currency.value === cfg.currencies[0]; });
    field("Fatura Tipi", options(Portal.el("select", { id: take(4) }), TYPES, "SATIS"));
    filler(5); filler(6);
    var vkn = field("VKN/TCKN", Portal.el("input", { type: "text", id: take(7) }));
    field("Unvan", Portal.el("input", { type: "text", id: take(8) }));
    field("Adı", Portal.el("input", { type: "text", id: take(9) }));
    field("Soyadı", Portal.el("input", { type: "text", id: take(10) }));
    fillers(11, 14);
    field("Vergi Dairesi", Portal.el("input", { type: "text", id: take(15) }));
    field("Ülke", options(Portal.el("select", { id: take(16) }), pairs(cfg.countries), cfg.countries[0]));
    field("Adres", Portal.el("textarea", { id: take(17) }));
    filler(18);
    // The buyer's data comes after lookupDelayMs; a negative delay means never. The
    // number is recorded when the scenario asks (recordLookup).
    vkn.addEventListener("change", function () {
      if (cfg.recordLookup) Portal.post({ type: "lookup", number: vkn.value });
      var known = (cfg.lookup || {})[vkn.value];
      var delay = cfg.lookupDelayMs || 0;
      if (!known || delay < 0) return;
      function fill() {
        if (known.title !== undefined) byGen(N + 8).value = known.title;
        if (known.name !== undefined) byGen(N + 9).value = known.name;
        if (known.surname !== undefined) byGen(N + 10).value = known.surname;
        if (known.taxOffice !== undefined) byGen(N + 15).value = known.taxOffice;
      }
      if (delay > 0) setTimeout(fill, delay);
      else fill();
    });
    field("İrsaliye No", Portal.el("input", { type: "text", id: take(19) }));
    root.appendChild(Portal.el("div", { "class": "csc-field" }, [
      Portal.el("div", { id: take(20), "class": "csc-irsaliye-tarih" }, [
        Portal.el("input", { type: "text", id: "date-gen__" + (N + 20), "class": "csc-datepicker", disabled: true })]),
      Portal.el("span", { id: "irsaltrId", text: "İrsaliye Tarihi" })]));
    fillers(21, 36);

    var addReturn = Portal.el("input", { type: "button", id: take(37), value: "İade Fatura Ekle" });
    root.appendChild(addReturn);
    addReturn.addEventListener("click", addReturnRow);
    root.appendChild(Portal.el("table", { id: take(38), "class": "csc-returns" }, [
      Portal.el("tbody", { id: "gen__" + (N + 38) + "-b" })]));
    fillers(39, 40);
    var taxSelect = options(Portal.el("select", { id: take(41) }), [["", "Seçiniz"]].concat(
      Object.keys(cfg.taxes).map(function (code) { return [code, code + " " + cfg.taxes[code]]; })), "");
    field("Vergi", taxSelect);
    var addTaxButton = Portal.el("input", { type: "button", id: take(42), value: "Vergi Ekle" });
    root.appendChild(addTaxButton);
    addTaxButton.addEventListener("click", addTax);
    form.chips = Portal.el("div", { "class": "csc-chips" });
    root.appendChild(form.chips);

    var lines = Portal.el("table", { id: take(43), "class": "csc-lines" });
    var head = Portal.el("thead");
    var headRow = Portal.el("tr");
    ["Mal/Hizmet", "Miktar", "Birim", "Birim Fiyat", "İskonto Oranı", "İskonto Tutarı", "Tutar", "KDV Oranı",
     "KDV Tutarı"].forEach(function (t) { headRow.appendChild(Portal.el("th", { text: t })); });
    head.appendChild(headRow);
    var labels = Portal.el("tr");
    for (var o = 44; o <= 62; o++) labels.appendChild(Portal.el("th", {}, [Portal.el("span", { id: take(o) })]));
    head.appendChild(labels);
    lines.appendChild(head);
    var body = Portal.el("tbody", { id: "gen__" + (N + 43) + "-b" });
    var bodyHeader = Portal.el("tr", { "class": "csc-lines-header" }, [Portal.el("th", { text: "Satırlar" })]);
    if (cfg.tableHeaderInBody) body.appendChild(bodyHeader);
    else head.appendChild(bodyHeader);
    lines.appendChild(body);
    root.appendChild(lines);

    if (cfg.omitAddLine) take(63);
    else {
      var addLine = Portal.el("input", { type: "button", id: take(63), value: "Satır Ekle" });
      root.appendChild(addLine);
      addLine.addEventListener("click", addLineRow);
    }

    var totals = Portal.el("table", { id: take(64), "class": "csc-totals" });
    var totalsBody = Portal.el("tbody");
    [["Mal Hizmet Toplam Tutarı", "malHizmetToplamTutari"], ["Toplam İskonto", "toplamIskonto"],
     ["Hesaplanan KDV", "hesaplananKdv"], ["Diğer Vergiler", "digerVergiler"],
     ["Vergiler Dahil Toplam Tutar", "vergilerDahilToplamTutar"], ["Ödenecek Tutar", "odenecekTutar"]
    ].forEach(function (t, i) {
      totalsBody.appendChild(Portal.el("tr", {}, [Portal.el("td", { text: t[0] }),
        Portal.el("td", { rel: t[1] }, [Portal.el("span", { id: take(65 + i), text: "0,00" })])]));
    });
    totals.appendChild(totalsBody);
    root.appendChild(totals);
    form.totals = totals;
    fillers(71, 78);
    field("Not", Portal.el("textarea", { id: take(79) }));
    fillers(80, 115);
    var createButton = Portal.el("input", { type: "button", id: take(116), value: "Oluştur" });
    root.appendChild(createButton);
    createButton.addEventListener("click", function () {
      var delay = cfg.popupDelayMs || 0;
      var clicked = form;
      // A form closed meanwhile creates nothing.
      if (delay > 0) setTimeout(function () { if (form === clicked) create(); }, delay);
      else create();
    });
    fillers(117, 118);
    Portal.main.next = at;

    root.addEventListener("input", recompute);
    root.addEventListener("change", recompute);
    content.appendChild(Portal.el("h2", { "class": "csc-page-title", text: title }));
    content.appendChild(root);

    form.tab = Portal.el("li", {}, [Portal.el("div", { "class": "tab-close", text: "e-Arşiv Fatura ✕" })]);
    form.tab.firstChild.addEventListener("click", function () { closeForm("tabClosed"); });
    tabList().appendChild(form.tab);
    recompute();
    Portal.post({ type: "pageOpened", N: N, ettn: form.ettn, ordinal: pageOrdinal });
  };
})();
