// The fake accountants' taxpayer portal: login with a captcha drawn from a known code,
// a home page with the office's taxpayer lists, and the pop-up that queries a taxpayer.
// Uses portal.js for the scenario and the event record. Scenario keys, with defaults:
//   smmmId, smmmPassword, captcha          the valid login
//   smmmLoginError                          the error label's text after a refused login
//   smmmTaxpayers                           number -> {title | name, surname; address, taxOffice, status}
//   smmmQueryDelayMs                        the query result's delay; negative: never
//   smmmLists                               the office's lists before the run
//   smmmNewListAtEnd                        a new list goes last instead of first
//   smmmClosingMissing                      the element of one closing step is missing: "popupClose",
//                                           "home", "listConfirm" or "logout"
(function () {
  "use strict";

  var cfg = Portal.config;
  function setting(name, fallback) { return cfg[name] === undefined ? fallback : cfg[name]; }

  var ID = setting("smmmId", "1234567890");
  var PASSWORD = setting("smmmPassword", "smmm123");
  var CAPTCHA = setting("captcha", "AB3CD");
  var ERROR = setting("smmmLoginError", "Güvenlik kodu hatalı. Lütfen tekrar deneyiniz.");
  var TAXPAYERS = setting("smmmTaxpayers", {
    "0123456789": { title: "ABC LTD ŞTİ", address: "Atatürk Cad. No:1 Kadıköy İstanbul", taxOffice: "KADIKÖY",
                    status: "Faal" },
    "12345678901": { name: "AHMET", surname: "YILMAZ", address: "Kızılay Mah. 3 Çankaya Ankara",
                     taxOffice: "ÇANKAYA", status: "Faal" },
  });
  var P = "rpanel1_popUp2_ASPxCallbackPanel2_rpanel2_";

  var Muhasebeci = (window.Muhasebeci = {});

  function byId(id) { return document.getElementById(id); }
  function post(type, fields) {
    var event = fields || {};
    event.type = type;
    Portal.post(event);
  }

  // ---- login -------------------------------------------------------------------------

  function drawCaptcha(img, attempt) {
    var canvas = document.createElement("canvas");
    canvas.width = 120;
    canvas.height = 40;
    var g = canvas.getContext("2d");
    g.fillStyle = "hsl(" + ((attempt * 67) % 360) + ", 60%, 85%)";
    g.fillRect(0, 0, 120, 40);
    g.strokeStyle = "#555";
    for (var i = 0; i < 6; i++) {
      g.beginPath();
      g.moveTo((i * 23 + attempt * 11) % 120, 0);
      g.lineTo((i * 37 + attempt * 5) % 120, 40);
      g.stroke();
    }
    g.fillStyle = "#123";
    g.font = "bold 22px monospace";
    g.fillText(CAPTCHA, 14, 28);
    img.src = canvas.toDataURL("image/png");
  }

  Muhasebeci.login = {
    init: function () {
      var attempt = Number(sessionStorage.smmmCaptchas || "0") + 1;
      sessionStorage.smmmCaptchas = String(attempt);
      drawCaptcha(byId("rpanel1_ASPxCallbackPanel1_ASPxCallbackPanel2_imgGKodu"), attempt);
      post("smmmCaptcha", { attempt: attempt });
      var identity = "";
      ["RB0", "RB1"].forEach(function (rb) {
        var table = byId("rpanel1_ASPxCallbackPanel1_rbKimlikTuru2_" + rb);
        table.querySelector("label").addEventListener("click", function () {
          table.querySelector("input").checked = true;
          identity = rb;
          post("smmmIdentity", { value: rb });
        });
      });
      if (/[?&]hata=1/.test(window.location.search)) {
        byId("hataYeri").appendChild(Portal.el("span", { id: "rpanel1_ASPxCallbackPanel1_lblHata1", text: ERROR }));
      }
      byId("rpanel1_ASPxCallbackPanel1_btnGiris_CD").addEventListener("click", function () {
        var id = byId("rpanel1_ASPxCallbackPanel1_txtKimlikNo2_I").value;
        var code = byId("rpanel1_ASPxCallbackPanel1_txtGuvenlikKelimesi_I").value;
        var wanted = ID.length === 10 ? "RB0" : ID.length === 11 ? "RB1" : "";
        var ok = id === ID && byId("rpanel1_ASPxCallbackPanel1_txtSifre_I").value === PASSWORD && code === CAPTCHA &&
                 identity === wanted;
        post("smmmLogin", { id: id, identity: identity, captcha: code, ok: ok });
        if (ok) {
          sessionStorage.smmmIn = "1";
          window.location.href = "/GIB/MUHASEBECI/AnaSayfa.aspx";
        } else {
          window.location.href = "/GIB/MUHASEBECI/MuhasebeciGiris.aspx?hata=1";
        }
      });
    },
  };

  // ---- home page ---------------------------------------------------------------------

  function lists() {
    if (sessionStorage.smmmLists === undefined)
      sessionStorage.smmmLists = JSON.stringify(setting("smmmLists", ["Ocak Beyanname Listesi"]));
    return JSON.parse(sessionStorage.smmmLists);
  }

  function saveLists(all) { sessionStorage.smmmLists = JSON.stringify(all); }

  function renderLists() {
    var body = byId("listeler");
    body.innerHTML = "";
    lists().forEach(function (name, i) {
      var del = Portal.el("a", { href: "#", text: "Sil" });
      del.addEventListener("click", function (e) {
        e.preventDefault();
        if (!confirm("Listeyi silmek istediğinize emin misiniz?")) {
          post("smmmConfirmDismissed", { row: i });
          return;
        }
        var all = lists();
        all.splice(i, 1);
        saveLists(all);
        post("smmmListDeleted", { row: i, name: name });
        renderLists();
      });
      var cells = [name, "Mükellef Listesi", String(i + 1), "", ""].map(function (t) { return Portal.el("td", { text: t }); });
      cells.push(Portal.el("td", {}, setting("smmmClosingMissing", "") === "listConfirm" ? [] : [del]));
      body.appendChild(Portal.el("tr", { id: "rpanel1_grdListe2_DXDataRow" + i }, cells));
    });
  }

  function showResult(number) {
    var t = TAXPAYERS[number];
    var place = byId("sonuc");
    place.innerHTML = "";
    if (!t) return;
    var row = Portal.el("tr", { id: P + "grdListe1_DXDataRow0" },
      [t.title !== undefined ? t.title : t.name, t.title !== undefined ? "" : t.surname, number, t.status].map(
        function (text) { return Portal.el("td", { text: text }); }));
    place.appendChild(Portal.el("table", { id: P + "grdListe1" }, [row]));
    var panel = Portal.el("div", { id: P + "ASPxCallbackPanel5" });
    function input(suffix, value) {
      var node = Portal.el("input", { type: "text", id: P + "ASPxCallbackPanel5_" + suffix + "_I",
                                      name: "rpanel1$popUp2$ASPxCallbackPanel2$rpanel2$ASPxCallbackPanel5$" + suffix,
                                      value: value });
      node.value = value;
      panel.appendChild(node);
    }
    if (t.title !== undefined) input("txtMukellefUnvani", t.title);
    input("txtMukellefAdres", t.address);
    input("ddlMukellefVergiDairesi", t.taxOffice);
    place.appendChild(panel);
  }

  Muhasebeci.home = {
    init: function () {
      if (sessionStorage.smmmIn !== "1") {
        window.location.replace("/GIB/MUHASEBECI/MuhasebeciGiris.aspx");
        return;
      }
      renderLists();
      var popup = byId("rpanel1_popUp2");
      var typeList = byId("turListesi");
      var chosenType = "";

      byId("rpanel1_btnYeniListe_CD").addEventListener("click", function () {
        var all = lists();
        var name = "Yeni Liste " + new Date().toISOString() + " #" + (all.length + 1);
        if (setting("smmmNewListAtEnd", false)) all.push(name);
        else all.unshift(name);
        saveLists(all);
        post("smmmNewList", { name: name });
        renderLists();
      });
      byId("rpanel1_btnYeniMukellefEkle_CD").addEventListener("click", function () {
        popup.style.display = "block";
        post("smmmPopupOpened");
      });
      byId("rpanel1_popUp2_HCB-1Img").addEventListener("click", function () {
        popup.style.display = "none";
        post("smmmPopupClosed");
      });
      byId(P + "ddlSirketTuru_B-1").addEventListener("click", function () { typeList.style.display = "table"; });
      Array.prototype.forEach.call(typeList.querySelectorAll("td"), function (td) {
        td.addEventListener("click", function () {
          chosenType = td.textContent;
          byId("sirketTuru").textContent = chosenType;
          typeList.style.display = "none";
          post("smmmType", { value: chosenType });
        });
      });
      byId(P + "btnSorgula2_CD").addEventListener("click", function () {
        var number = byId(P + "txtKimlikNo2_I").value;
        post("smmmQuery", { number: number, companyType: chosenType });
        var delay = setting("smmmQueryDelayMs", 0);
        if (delay < 0) return;
        if (delay > 0) setTimeout(function () { showResult(number); }, delay);
        else showResult(number);
      });
      byId("rpanel1_hlAnaSayfa").addEventListener("click", function () { post("smmmHome"); });
      byId("lbtnLogOut").addEventListener("click", function (e) {
        e.preventDefault();
        post("smmmLogout");
        sessionStorage.removeItem("smmmIn");
        window.location.href = "/GIB/MUHASEBECI/MuhasebeciGiris.aspx";
      });
      var missing = { popupClose: "rpanel1_popUp2_HCB-1Img", home: "rpanel1_hlAnaSayfa", logout: "lbtnLogOut" };
      if (missing[setting("smmmClosingMissing", "")]) byId(missing[setting("smmmClosingMissing", "")]).remove();
    },
  };
})();
