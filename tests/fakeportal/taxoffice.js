// The fake interactive tax office site: login with a captcha, the menu, the received
// e-Arşiv invoice query with its pages. The server keeps the codes and the invoices.
var TaxOffice = (function () {
    "use strict";

    var HEADERS = ["Firma", "Vergi no", "Fatura No", "Düzenleme Tarihi", "Düzenleme Zamanı", "Toplam Tutar",
                   "Ödenecek Tutar", "Vergiler Toplamı", "Para Birimi", "Tesisat Numarası", "Gönderim Şekli"];

    function call(path, body) {
        var xhr = new XMLHttpRequest();
        xhr.open("POST", path, false); // the page answers before the click returns
        xhr.setRequestHeader("Content-Type", "application/json");
        xhr.send(JSON.stringify(body || {}));
        return xhr.status === 200 ? JSON.parse(xhr.responseText) : null;
    }

    function record(event) { call("/__event", event); }

    function el(tag, attrs, text) {
        var e = document.createElement(tag);
        Object.keys(attrs || {}).forEach(function (k) { e.setAttribute(k, attrs[k]); });
        if (text !== undefined)
            e.textContent = text;
        return e;
    }

    function button(value, onClick, attrs) {
        var b = el("input", Object.assign({type: "button", value: value}, attrs || {}));
        b.addEventListener("click", onClick);
        return b;
    }

    // In the page only while shown; its "Tamam" is the only one there is.
    function messageBox(text) {
        var box = el("div", {"class": "csc-msgbox"});
        var table = el("table"), tbody = el("tbody"), tr = el("tr"), td = el("td");
        td.appendChild(el("span", {"class": "csc-msgbox-msg-span"}, text));
        tr.appendChild(td);
        tbody.appendChild(tr);
        table.appendChild(tbody);
        box.appendChild(table);
        box.appendChild(button("Tamam", function () {
            box.remove();
            record({type: "tamam", message: text});
        }));
        document.body.appendChild(box);
    }

    function site() { return document.getElementById("site"); }

    function loginView() {
        var s = site();
        var img = el("img", {id: "gen__1062", alt: "Güvenlik kodu", src: s.dataset.captcha});
        s.appendChild(img);
        if (s.dataset.refresh === "1") {
            var refresh = el("a", {id: "gen__1064", href: "#"}, "Yenile");
            refresh.addEventListener("click", function (ev) {
                ev.preventDefault();
                var answer = call("/ivd/captcha");
                if (answer)
                    img.setAttribute("src", answer.src);
            });
            s.appendChild(refresh);
        }
        s.appendChild(el("input", {id: "gen__1059", type: "text"}));
        s.appendChild(el("input", {id: "gen__1060", type: "password"}));
        s.appendChild(el("input", {id: "gen__1065", type: "text", maxlength: "6"}));
        s.appendChild(button("Giriş Yap", function () {
            var answer = call("/ivd/login", {
                user: document.getElementById("gen__1059").value,
                pass: document.getElementById("gen__1060").value,
                code: document.getElementById("gen__1065").value
            });
            if (!answer)
                return;
            if (!answer.ok)
                messageBox(answer.message);
            else if (answer.landing)
                landingView();
            else {
                s.innerHTML = "";
                s.appendChild(el("div", {"class": "csc-wait"}, "Oturum açılıyor, lütfen bekleyiniz..."));
            }
        }, {id: "gen__1068"}));
    }

    function landingView() {
        var s = site();
        s.innerHTML = "";
        s.appendChild(el("input", {id: "gen__1017-searchBox", type: "text"}));
        var menu = el("div", {id: "menu"});
        ["E-Arşiv Fatura İptal Talepleri", "E-Arşiv Faturalarım", "E-Arşiv Faturalarım (Eski)", "Borç Durumu"]
            .forEach(function (name) {
                var entry = el("div", {"class": "favoriteClass"}, name);
                entry.addEventListener("click", function () {
                    record({type: "menu", entry: name});
                    if (name === "E-Arşiv Faturalarım")
                        queryForm();
                });
                menu.appendChild(entry);
            });
        s.appendChild(menu);
        s.appendChild(el("div", {id: "content"}));
    }

    var current = null; // the query shown: dates and page

    function queryForm() {
        var content = document.getElementById("content");
        content.innerHTML = "";
        var form = el("fieldset", {"class": "csc-form-fieldset"});
        form.appendChild(el("input", {id: "date-1501", type: "text"}));
        form.appendChild(el("input", {id: "date-1502", type: "text"}));
        form.appendChild(button("Sorgula", function () {
            var start = document.getElementById("date-1501").value;
            var end = document.getElementById("date-1502").value;
            document.getElementById("results").innerHTML = "";
            show({start: start, end: end, page: 1});
        }));
        content.appendChild(form);
        content.appendChild(el("div", {id: "results"}));
    }

    function show(query) {
        var answer = call("/ivd/query", query);
        if (!answer)
            return;
        if (answer.message) {
            messageBox(answer.message);
            return;
        }
        current = query;
        window.setTimeout(function () { renderResults(answer); }, answer.delayMs || 0);
    }

    function renderResults(r) {
        var results = document.getElementById("results");
        results.innerHTML = "";
        results.appendChild(el("div", {"class": "csc-table-paging-info"}, "Toplam Kayıt Sayısı: " + r.info));
        results.appendChild(el("div", {"class": "csc-tale-paging-div"}, "Sayfa " + r.page + " / " + r.pages));
        var table = el("table", {id: "gen__3036-t", rel: "faturaTable"});
        var thead = el("thead"), head = el("tr");
        HEADERS.forEach(function (h) { head.appendChild(el("th", {}, h)); });
        thead.appendChild(head);
        table.appendChild(thead);
        var tbody = el("tbody", {id: "gen__3036-b"});
        var id = r.firstId;
        r.rows.forEach(function (cells) {
            var tr = el("tr");
            cells.forEach(function (text) {
                var td = el("td");
                td.appendChild(el("span", r.withIds ? {id: "gen__" + id} : {}, text));
                id += 1;
                tr.appendChild(td);
            });
            tbody.appendChild(tr);
        });
        table.appendChild(tbody);
        results.appendChild(table);
        var next = el("span", {"class": "csc-table-paging-btn csc-table-seek-next"}, ">");
        next.addEventListener("click", function () {
            record({type: "next", page: r.page});
            if (r.page < r.pages)
                show({start: current.start, end: current.end, page: r.page + 1});
        });
        results.appendChild(next);
        results.appendChild(button("Yeni Sorgu", function () {
            record({type: "yeni_sorgu"});
            results.innerHTML = "";
            document.getElementById("date-1501").value = "";
            document.getElementById("date-1502").value = "";
        }));
    }

    return {
        start: function () { loginView(); }
    };
})();
