#include "platform/webdriver_tables.h"

namespace kuvela {

using nlohmann::json;

namespace {

TableRead& chosenRead()
{
    static TableRead how = TableRead::OneScript;
    return how;
}

// The element text as the driver computes it (what a user sees, line by line, blanks
// collapsed, hidden parts left out, a blank after each table cell, the lines trimmed
// and non-breaking blanks given as blanks): textOf(element). Then found(selector, how)
// and walked(tables, rows, cells, otherCells), the walk of readTables.
const char* const kFunctions = R"js(
var styles = new Map(), memo = {shown: new Map(), shownAny: new Map(), displayed: new Map(),
                                opacity: new Map(), size: new Map(), overflow: new Map(), hidden: new Map()};
function prop(e, name) {
  var s = styles.get(e);
  if (!s) { s = {all: getComputedStyle(e)}; styles.set(e, s); }
  if (!(name in s)) s[name] = s.all[name];
  return s[name];
}
var rects = new Map();
// The driver measures html as the viewport, never by its own box.
function box(e) {
  if (e !== document.documentElement) return e.getBoundingClientRect();
  var v = document.compatMode === 'CSS1Compat' ? e : document.body, w = v.clientWidth, h = v.clientHeight;
  return {left: 0, top: 0, right: w, bottom: h, width: w, height: h};
}
function rect(e) { var r = rects.get(e); if (!r) { r = box(e); rects.set(e, r); } return r; }
function tag(e) { return e.tagName.toUpperCase(); }
function remember(map, e, f) { if (map.has(e)) return map.get(e); var v = f(); map.set(e, v); return v; }
function parentOf(e) {
  var p = e.parentNode;
  if (p && p.shadowRoot && e.assignedSlot !== undefined) return e.assignedSlot ? e.assignedSlot.parentNode : null;
  return p;
}
function displayed(e) {
  return remember(memo.displayed, e, function () {
    if (e.nodeType === 1 && (prop(e, 'display') === 'none' || prop(e, 'contentVisibility') === 'hidden')) return false;
    var p = parentOf(e);
    if (p && p.nodeType === 11 && p.host) return displayed(p.host);
    if (p && (p.nodeType === 9 || p.nodeType === 11)) return true;
    if (p && p.nodeType === 1 && tag(p) === 'DETAILS' && !p.open && tag(e) !== 'SUMMARY') return false;
    return !!p && displayed(p);
  });
}
function opacity(e) {
  return remember(memo.opacity, e, function () {
    var o = Number(prop(e, 'opacity')), p = e.parentElement;
    return p ? o * opacity(p) : o;
  });
}
function positiveSize(e) {
  return remember(memo.size, e, function () {
    var r = rect(e);
    if (r.height > 0 && r.width > 0) return true;
    if (tag(e) === 'PATH' && (r.height > 0 || r.width > 0)) {
      var w = prop(e, 'strokeWidth');
      return !!w && parseInt(w, 10) > 0;
    }
    return prop(e, 'overflow') !== 'hidden' && Array.prototype.some.call(e.childNodes, function (n) {
      return n.nodeType === 3 || (n.nodeType === 1 && positiveSize(n));
    });
  });
}
function overflowState(elem) {
  return remember(memo.overflow, elem, function () {
    var region = rect(elem);
    var html = document.documentElement, body = document.body;
    var htmlOverflow = prop(html, 'overflow'), fixed = false;
    function overflowParent(e) {
      var position = prop(e, 'position');
      if (position === 'fixed') { fixed = true; return e === html ? null : html; }
      var p = e.parentElement;
      while (p && !canOverflow(p, position)) p = p.parentElement;
      return p;
    }
    function canOverflow(c, position) {
      if (c === html) return true;
      var d = prop(c, 'display');
      if (d.indexOf('inline') === 0 || d === 'contents') return false;
      return !(position === 'absolute' && prop(c, 'position') === 'static');
    }
    function styleOf(e) {
      var own = e;
      if (htmlOverflow === 'visible') {
        if (e === html && body) own = body;
        else if (e === body) return {x: 'visible', y: 'visible'};
      }
      var o = {x: prop(own, 'overflowX'), y: prop(own, 'overflowY')};
      if (e === html) { o.x = o.x === 'visible' ? 'auto' : o.x; o.y = o.y === 'visible' ? 'auto' : o.y; }
      return o;
    }
    function scroll(e) {
      return e === html ? {x: window.pageXOffset, y: window.pageYOffset} : {x: e.scrollLeft, y: e.scrollTop};
    }
    for (var c = overflowParent(elem); c; c = overflowParent(c)) {
      var o = styleOf(c);
      if (o.x === 'visible' && o.y === 'visible') continue;
      var r = rect(c);
      if (r.width === 0 || r.height === 0) return 'hidden';
      var ux = region.right < r.left, uy = region.bottom < r.top;
      if ((ux && o.x === 'hidden') || (uy && o.y === 'hidden')) return 'hidden';
      if ((ux && o.x !== 'visible') || (uy && o.y !== 'visible')) {
        var s = scroll(c);
        if ((region.right < r.left - s.x && o.x !== 'visible') || (region.bottom < r.top - s.y && o.x !== 'visible'))
          return 'hidden';
        return overflowState(c) === 'hidden' ? 'hidden' : 'scroll';
      }
      var ox = region.left >= r.left + r.width, oy = region.top >= r.top + r.height;
      if ((ox && o.x === 'hidden') || (oy && o.y === 'hidden')) return 'hidden';
      if ((ox && o.x !== 'visible') || (oy && o.y !== 'visible')) {
        if (fixed) {
          var d = scroll(c);
          if (region.left >= html.scrollWidth - d.x || region.right >= html.scrollHeight - d.y) return 'hidden';
        }
        return overflowState(c) === 'hidden' ? 'hidden' : 'scroll';
      }
    }
    return 'none';
  });
}
function hiddenByOverflow(e) {
  return remember(memo.hidden, e, function () {
    return overflowState(e) === 'hidden' && Array.prototype.every.call(e.childNodes, function (n) {
      return n.nodeType !== 1 || hiddenByOverflow(n) || !positiveSize(n);
    });
  });
}
function isShown(e, anyOpacity) {
  return remember(anyOpacity ? memo.shownAny : memo.shown, e, function () {
    var t = tag(e);
    if (t === 'BODY') return true;
    if (t === 'OPTION' || t === 'OPTGROUP') {
      var select = e.closest('select');
      return !!select && isShown(select, true);
    }
    if (t === 'INPUT' && String(e.type).toLowerCase() === 'hidden') return false;
    if (t === 'NOSCRIPT') return false;
    var v = prop(e, 'visibility');
    if (v === 'collapse' || v === 'hidden') return false;
    if (!displayed(e)) return false;
    if (!anyOpacity && opacity(e) === 0) return false;
    if (!positiveSize(e)) return false;
    return !hiddenByOverflow(e);
  });
}
var INLINE = ['inline', 'inline-block', 'inline-table', 'none', 'table-cell', 'table-column', 'table-column-group'];
function blankLine(s) { return /^[\s\xa0]*$/.test(s); }
function last(lines) { return lines.length ? lines[lines.length - 1] : ''; }
function addText(node, lines, space, transform) {
  var text = node.nodeValue.replace(/[\u200b\u200e\u200f]/g, '').replace(/(\r\n|\r|\n)/g, '\n');
  if (space === 'normal' || space === 'nowrap') text = text.replace(/\n/g, ' ');
  if (space === 'pre' || space === 'pre-wrap') text = text.replace(/[ \f\t\v\u2028\u2029]/g, '\xa0');
  else text = text.replace(/[ \f\t\v\u2028\u2029]+/g, ' ');
  if (transform === 'capitalize') {
    // The driver's own letter classes: a Latin combining mark is inside a word.
    text = text.replace(/(^|[^'_0-9A-Za-z\u00C0-\u02AF\u1E00-\u1EFF\u24B6-\u24E9\u0300-\u036F\u1AB0-\u1AFF\u1DC0-\u1DFF])([A-Za-z\u00C0-\u02AF\u1E00-\u1EFF\u24B6-\u24E9])/g,
                        function (m, a, b) { return a + b.toUpperCase(); });
    text = text.replace(/(^|[^'_0-9A-Za-z\u00C0-\u02AF\u1E00-\u1EFF\u24B6-\u24E9])([_*])([A-Za-z\u00C0-\u02AF\u1E00-\u1EFF\u24D0-\u24E9])/g,
                        function (m, a, b, c) { return a + b + c.toUpperCase(); });
  }
  else if (transform === 'uppercase') text = text.toUpperCase();
  else if (transform === 'lowercase') text = text.toLowerCase();
  var line = lines.pop() || '';
  if (line.endsWith(' ') && text.startsWith(' ')) text = text.substr(1);
  lines.push(line + text);
}
function addElement(e, lines) {
  if (tag(e) === 'BR') { lines.push(''); return; }
  var isCell = tag(e) === 'TD', display = prop(e, 'display');
  var block = !isCell && INLINE.indexOf(display) < 0;
  var before = e.previousElementSibling;
  var runIn = (before ? prop(before, 'display') : '') === 'run-in' && (prop(e, 'cssFloat') || prop(e, 'float')) === 'none';
  if (block && !runIn && !blankLine(last(lines))) lines.push('');
  var shown = isShown(e, false), space = null, transform = null;
  if (shown) { space = prop(e, 'whiteSpace'); transform = prop(e, 'textTransform'); }
  var children = e.shadowRoot ? e.shadowRoot.childNodes
               : (tag(e) === 'SLOT' && e.assignedNodes().length ? e.assignedNodes() : e.childNodes);
  Array.prototype.forEach.call(children, function (n) {
    if (n.nodeType === 3 && shown) addText(n, lines, space, transform);
    else if (n.nodeType === 1) addElement(n, lines);
  });
  var line = last(lines);
  if ((isCell || display === 'table-cell') && line && !line.endsWith(' ')) lines[lines.length - 1] += ' ';
  if (block && display !== 'run-in' && !blankLine(line)) lines.push('');
}
function trim(s) { return s.replace(/^[^\S\xa0]+|[^\S\xa0]+$/g, ''); }
function textOf(e) {
  var lines = [];
  addElement(e, lines);
  return trim(lines.map(trim).join('\n')).replace(/\xa0/g, ' ');
}
function found(given, how) {
  if (how === 'xpath') {
    var all = document.evaluate(given, document, null, XPathResult.ORDERED_NODE_SNAPSHOT_TYPE, null), out = [];
    for (var i = 0; i < all.snapshotLength; ++i)
      if (all.snapshotItem(i) instanceof Element) out.push(all.snapshotItem(i));
    return out;
  }
  return how === 'css' ? Array.prototype.slice.call(document.querySelectorAll(given)) : given;
}
function walked(tables, rowSel, cellSel, otherSel) {
  if (!rowSel) return tables.map(textOf);
  return tables.map(function (t) {
    return Array.prototype.map.call(t.querySelectorAll(rowSel), function (r) {
      var cells = r.querySelectorAll(cellSel);
      if (!cells.length && otherSel) cells = r.querySelectorAll(otherSel);
      return Array.prototype.map.call(cells, textOf);
    });
  });
}
)js";

// arguments: tables (a selector, a list of elements, or a list of [selector, "xpath" | "css"]),
// "xpath" | "css" | "elements" | "sets", then the row, cell and fallback cell selectors, or ""
// for texts of the elements themselves.
const char* const kDispatch = R"js(
var given = arguments[0], how = arguments[1];
var rowSel = arguments[2], cellSel = arguments[3], otherSel = arguments[4];
if (how === 'sets') return given.map(function (g) { return walked(found(g[0], g[1]), rowSel, cellSel, otherSel); });
return walked(found(given, how), rowSel, cellSel, otherSel);
)js";

QString jsonText(const json& v) { return v.is_string() ? QString::fromStdString(v.get<std::string>()) : QString(); }

std::vector<TableTexts> tablesFrom(const json& answer)
{
    std::vector<TableTexts> out;
    if (!answer.is_array())
        return out;
    for (const json& table : answer) {
        TableTexts rows;
        if (table.is_array())
            for (const json& row : table) {
                QStringList cells;
                if (row.is_array())
                    for (const json& cell : row)
                        cells << jsonText(cell);
                rows.push_back(std::move(cells));
            }
        out.push_back(std::move(rows));
    }
    return out;
}

json walkArguments(json tables, const char* how, const TableWalk& walk)
{
    return json::array({std::move(tables), how, walk.rows.toStdString(), walk.cells.toStdString(),
                        walk.cellsWhenNone.toStdString()});
}

json references(const std::vector<Element>& elements)
{
    json refs = json::array();
    for (const Element& e : elements)
        refs.push_back(e.reference());
    return refs;
}

} // namespace

QString tableReadScript(const QString& body)
{
    return QString::fromUtf8(kFunctions) + body;
}

namespace {
QString readScript() { return tableReadScript(QString::fromUtf8(kDispatch)); }
} // namespace

void setTableRead(TableRead how) { chosenRead() = how; }

TableRead tableRead() { return chosenRead(); }

std::vector<TableTexts> readTables(WebDriver& driver, const Locator& tables, const TableWalk& walk)
{
    if (chosenRead() == TableRead::CellByCell)
        return readTablesCellByCell(driver, tables, walk);
    const auto [using_, value] = tables.toW3C();
    if (using_ != "css selector" && using_ != "xpath")
        return readTables(driver, driver.findAll(tables), walk);
    return tablesFrom(driver.executeScript(readScript(),
                                           walkArguments(value, using_ == "xpath" ? "xpath" : "css", walk)));
}

std::vector<TableTexts> readTables(WebDriver& driver, const std::vector<Element>& tables, const TableWalk& walk)
{
    if (chosenRead() == TableRead::CellByCell)
        return readTablesCellByCell(driver, tables, walk);
    if (tables.empty())
        return {};
    return tablesFrom(driver.executeScript(readScript(),
                                           walkArguments(references(tables), "elements", walk)));
}

std::vector<std::vector<TableTexts>> readTableSets(WebDriver& driver, const std::vector<Locator>& sets,
                                                   const TableWalk& walk)
{
    std::vector<std::vector<TableTexts>> out;
    json selectors = json::array();
    for (const Locator& l : sets) {
        const auto [using_, value] = l.toW3C();
        if (using_ != "css selector" && using_ != "xpath")
            break;
        selectors.push_back(json::array({value, using_ == "xpath" ? "xpath" : "css"}));
    }
    if (chosenRead() == TableRead::CellByCell || selectors.size() != sets.size()) {
        for (const Locator& each : sets)
            out.push_back(readTables(driver, each, walk));
        return out;
    }
    if (sets.empty())
        return out;
    const json answer = driver.executeScript(readScript(), walkArguments(selectors, "sets", walk));
    if (answer.is_array())
        for (const json& set : answer)
            out.push_back(tablesFrom(set));
    out.resize(sets.size());
    return out;
}

std::vector<TableTexts> readTablesCellByCell(WebDriver& driver, const Locator& tables, const TableWalk& walk)
{
    return readTablesCellByCell(driver, driver.findAll(tables), walk);
}

std::vector<TableTexts> readTablesCellByCell(WebDriver&, const std::vector<Element>& tables, const TableWalk& walk)
{
    std::vector<TableTexts> out;
    for (const Element& table : tables) {
        TableTexts rows;
        for (const Element& row : table.findAll(Locator::css(walk.rows))) {
            std::vector<Element> cells = row.findAll(Locator::css(walk.cells));
            if (cells.empty() && !walk.cellsWhenNone.isEmpty())
                cells = row.findAll(Locator::css(walk.cellsWhenNone));
            QStringList texts;
            for (const Element& cell : cells)
                texts << cell.text();
            rows.push_back(std::move(texts));
        }
        out.push_back(std::move(rows));
    }
    return out;
}

QStringList readTexts(WebDriver& driver, const std::vector<Element>& elements)
{
    QStringList texts;
    if (chosenRead() == TableRead::CellByCell) {
        for (const Element& e : elements)
            texts << e.text();
        return texts;
    }
    if (elements.empty())
        return texts;
    const json answer = driver.executeScript(readScript(),
                                             walkArguments(references(elements), "elements", TableWalk{{}, {}, {}}));
    if (answer.is_array())
        for (const json& t : answer)
            texts << jsonText(t);
    return texts;
}

} // namespace kuvela
