// The fake despatch-note page: login clicks, combos of "x-combo-list-item" items, grids
// whose cell editors open on a double click and commit on Tab or blur, an optional
// message box after the buyer's tax number, and a snapshot of everything at the exit.
(function () {
  "use strict";
  var cfg = Portal.config;
  var $ = function (id) { return document.getElementById(id); };
  var HIDDEN = "visibility: hidden; left: -10000px; top: -10000px;";

  // ---- login -------------------------------------------------------------------------
  var loginStep = 0;
  function loginClick(id, step) {
    $(id).addEventListener("click", function (ev) {
      ev.preventDefault();
      loginStep = loginStep === step - 1 ? step : 0;
      if (loginStep !== 3) return;
      var logins = Number(sessionStorage.getItem("logins") || 0) + 1;
      sessionStorage.setItem("logins", String(logins));
      Portal.post({type: "login", count: logins});
      if (logins < (cfg.linkAfterLogins || 1)) return;
      var link = document.createElement("a");
      link.href = "#";
      link.textContent = "İrsaliye Oluştur";
      link.addEventListener("click", function (e) { e.preventDefault(); $("form").style.display = "block"; });
      $("menu").appendChild(link);
    });
  }
  loginClick("girisBaglanti", 1);
  loginClick("ext-gen31", 2);
  loginClick("ext-gen23", 3);

  // ---- combos ------------------------------------------------------------------------
  function closeLists() {
    Array.prototype.slice.call(document.querySelectorAll(".x-combo-list")).forEach(function (l) { l.remove(); });
  }
  function openList(anchor, items, choose) {
    closeLists();
    var list = document.createElement("div");
    list.className = "x-combo-list";
    var r = anchor.getBoundingClientRect();
    list.style.left = (r.left + window.scrollX) + "px";
    list.style.top = (r.bottom + window.scrollY) + "px";
    items.forEach(function (text) {
      var item = document.createElement("div");
      item.className = "x-combo-list-item";
      item.textContent = text;
      item.addEventListener("click", function () { choose(text); closeLists(); });
      list.appendChild(item);
    });
    document.body.appendChild(list);
    return list;
  }
  function combo(id, gesture, items) {
    $(id).addEventListener(gesture, function () {
      openList($(id), items, function (text) { $(id).value = text; });
    });
  }
  combo("senaryoIrsaliye", "dblclick", ["Temel İrsaliye", "Hal Tipi İrsaliye"]);
  combo("irsaliyeTipi3", "click", ["MATBUDAN", "SEVK"]);

  // ---- grids -------------------------------------------------------------------------
  var EDITORS = {
    "ext-gen228": {1: ["ext-comp-1032-wrap", "ext-comp-1032"], 2: ["ext-comp-1033-wrap", "ext-comp-1033"],
                   3: ["ext-comp-1034-wrap", "ext-comp-1034"]},
    "ext-gen279": {1: ["ext-comp-1038-wrap", "ext-comp-1038"]},
    "ext-gen348": {2: ["ext-comp-1050", "ext-comp-1045"], 3: ["ext-comp-1051", "ext-comp-1046"],
                   4: ["ext-comp-1052", "ext-comp-1052-input"], 5: ["ext-comp-1053", "ext-comp-1047"]}
  };
  var COLUMNS = {"ext-gen228": 3, "ext-gen279": 1, "ext-gen348": 6};
  var stuck = cfg.stuckEditor || "";
  var editing = null;

  function addRow(gridId) {
    var grid = $(gridId);
    var row = document.createElement("div");
    row.className = "x-grid3-row";
    var table = document.createElement("table");
    var body = document.createElement("tbody");
    var tr = document.createElement("tr");
    for (var c = 1; c <= COLUMNS[gridId]; c++) {
      var td = document.createElement("td");
      td.appendChild(document.createElement("div"));
      tr.appendChild(td);
    }
    if (gridId === "ext-gen348") tr.firstChild.firstChild.textContent = String(grid.children.length + 1);
    body.appendChild(tr);
    table.appendChild(body);
    row.appendChild(table);
    grid.appendChild(row);
  }
  $("ext-comp-1059").addEventListener("click", function () { addRow("ext-gen228"); });
  $("ext-comp-1063").addEventListener("click", function () { addRow("ext-gen279"); });
  $("ext-comp-1067").addEventListener("click", function () { addRow("ext-gen348"); });

  function cellDiv(gridId, row, col) {
    var r = $(gridId).children[row - 1];
    return r ? r.querySelectorAll("td")[col - 1].firstChild : null;
  }
  function startEdit(gridId, row, col) {
    var ed = EDITORS[gridId][col];
    if (!ed || ed[0] === stuck) return;
    commit();
    var cell = cellDiv(gridId, row, col);
    var r = cell.getBoundingClientRect();
    $(ed[0]).setAttribute("style", "position: absolute; z-index: 11000; visibility: visible; left: " +
        Math.round(r.left + window.scrollX) + "px; top: " + Math.round(r.top + window.scrollY) + "px;");
    var input = $(ed[1]);
    input.value = cell.textContent;
    editing = {grid: gridId, row: row, col: col, editor: ed[0], input: input};
    input.focus();
  }
  function commit() {
    if (!editing) return null;
    var e = editing;
    editing = null;
    cellDiv(e.grid, e.row, e.col).textContent = e.input.value;
    $(e.editor).setAttribute("style", HIDDEN);
    return e;
  }
  document.addEventListener("dblclick", function (ev) {
    var td = ev.target.closest && ev.target.closest("td");
    var rowDiv = td && td.closest(".x-grid3-row");
    if (!rowDiv) return;
    var gridId = rowDiv.parentNode.id;
    var row = Array.prototype.indexOf.call(rowDiv.parentNode.children, rowDiv) + 1;
    var col = Array.prototype.indexOf.call(td.parentNode.children, td) + 1;
    startEdit(gridId, row, col);
  });
  Object.keys(EDITORS).forEach(function (gridId) {
    Object.keys(EDITORS[gridId]).forEach(function (col) {
      var input = $(EDITORS[gridId][col][1]);
      input.addEventListener("keydown", function (ev) {
        if (ev.key !== "Tab") return;
        ev.preventDefault();
        var done = commit();
        if (done && done.grid === "ext-gen348" && done.col === 3) startEdit(done.grid, done.row, 4);
      });
      input.addEventListener("blur", function () {
        if (editing && editing.input === input) setTimeout(function () {
          if (editing && editing.input === input && document.activeElement !== input) commit();
        }, 0);
      });
    });
  });
  // An editor whose style the page keeps setting back.
  if (stuck && $(stuck)) {
    new MutationObserver(function () {
      if ($(stuck).getAttribute("style") !== HIDDEN) $(stuck).setAttribute("style", HIDDEN);
    }).observe($(stuck), {attributes: true, attributeFilter: ["style"]});
  }

  // The unit editor's list: the trigger image opens it, Arrow Down marks the first item
  // that starts with the typed text, Enter takes it.
  var unitInput = $("ext-comp-1052-input");
  var marked = null;
  // The trigger keeps the focus in the field, as the portal's trigger fields do, so the
  // editor never sees a blur between the press and the click.
  $("ext-comp-1052").querySelector("img").addEventListener("mousedown", function (ev) { ev.preventDefault(); });
  $("ext-comp-1052").querySelector("img").addEventListener("click", function () {
    unitInput.focus();
    openList(unitInput, ["Adet", "Paket", "Kutu"], function (text) { unitInput.value = text; });
  });
  unitInput.addEventListener("keydown", function (ev) {
    if (ev.key === "ArrowDown") {
      var typed = unitInput.value.toLocaleLowerCase("tr");
      var items = Array.prototype.slice.call(document.querySelectorAll(".x-combo-list-item"));
      marked = items.filter(function (i) { return i.textContent.toLocaleLowerCase("tr").indexOf(typed) === 0; })[0] || null;
    } else if (ev.key === "Enter" && marked) {
      unitInput.value = marked.textContent;
      marked = null;
      closeLists();
    }
  });

  // ---- buyer -------------------------------------------------------------------------
  $("aliciVknTcknIrsaliye").addEventListener("change", function () {
    if (!cfg.messageBox) return;
    var box = document.createElement("div");
    box.className = "x-window";
    box.innerHTML = '<div class="x-window-bwrap"><div class="ext-mb-content">Mükellef sorgulandı.</div>' +
        '<table><tbody><tr><td><button type="button">Tamam</button></td><td><button type="button">İptal</button></td>' +
        '</tr></tbody></table></div>';
    box.querySelectorAll("button").forEach(function (b) {
      b.addEventListener("click", function () { Portal.post({type: "box", button: b.textContent}); box.remove(); });
    });
    document.body.appendChild(box);
  });
  if (cfg.copyButton !== false) {
    var copy = document.createElement("button");
    copy.type = "button";
    copy.textContent = "Alıcı adresini kopyala";
    copy.addEventListener("click", function () {
      ["Sokak", "BinaAdi", "BinaNo", "KapiNo", "Kasaba", "Semt", "Sehir", "PostaKodu", "Ulke"].forEach(function (k) {
        $("teslimat" + k + "Irsaliye").value = $("alici" + k + "Irsaliye").value;
      });
      Portal.post({type: "copy"});
    });
    $("ext-comp-1041").appendChild(copy);
  }
  (cfg.omit || []).forEach(function (id) { if ($(id)) $(id).remove(); });

  // ---- exit: everything the page holds ------------------------------------------------
  $("ext-gen58").addEventListener("click", function (ev) {
    ev.preventDefault();
    commit();
    var fields = {};
    Array.prototype.slice.call(document.querySelectorAll("input[id], textarea[id]")).forEach(function (e) {
      fields[e.id] = e.value;
    });
    var grids = {};
    Object.keys(COLUMNS).forEach(function (gridId) {
      grids[gridId] = Array.prototype.slice.call($(gridId).children).map(function (row) {
        return Array.prototype.slice.call(row.querySelectorAll("td")).map(function (td) { return td.textContent; });
      });
    });
    Portal.post({type: "exit", fields: fields, grids: grids, formShown: $("form").style.display === "block"});
  });
})();
