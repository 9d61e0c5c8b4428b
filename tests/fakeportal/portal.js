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

  Portal.today = function () {
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

  Portal.showPopup = function (text) {
    var popup = document.querySelector(".csc-popup");
    popup.querySelector(".msg").textContent = text;
    popup.style.display = "block";
    Portal.post({ type: "popup", text: text });
  };

  function hidePopup() {
    document.querySelector(".csc-popup").style.display = "none";
  }

  function insertStartMenu() {
    var options = [Portal.el("option", { value: "", text: "Menü Seçiniz" })];
    if (!Portal.config.omitMainTreeOption) options.push(Portal.el("option", { value: "MAINTREEMENU", text: "Ana Menü" }));
    options.push(Portal.el("option", { value: "FAVORITES", text: "Sık Kullanılanlar" }));
    var select = Portal.el("select", { id: "gen__1006" }, options);
    select.addEventListener("change", function () {
      if (select.value === "MAINTREEMENU") document.getElementById("gen__1009").style.display = "block";
    });
    var header = document.getElementById("gen__1000");
    header.insertBefore(select, document.getElementById("gen__1007"));
  }

  function openPage(key, title) {
    var content = document.getElementById("content");
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

      document.getElementById("belgeIslemleri").addEventListener("click", function (e) {
        e.preventDefault();
        document.getElementById("belgeAltMenu").style.display = "block";
      });
      Array.prototype.forEach.call(document.querySelectorAll("#belgeAltMenu a[data-page]"), function (link) {
        link.addEventListener("click", function (e) {
          e.preventDefault();
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
})();
