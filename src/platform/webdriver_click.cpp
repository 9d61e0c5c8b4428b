// A click as the driver's own makes it, in two requests instead of its dozen page
// calls: one script finds where the element shows and that nothing covers it there,
// then the mouse moves to that point and presses. Whatever the script is not sure of
// (an option, a hidden or covered element, nothing found) goes to the driver's own
// click and find, so every refusal stays the driver's.
#include "platform/webdriver.h"
#include "platform/webdriver_actions.h"

namespace kuvela {

using json = nlohmann::json;

namespace {

// arguments: the element, or a selector and "css"/"xpath". Gives null when nothing is
// found, {element} when the driver must click, {element, x, y} for a clean click.
const QString kClickPoint = QStringLiteral(R"(
var e = arguments[0];
if (typeof e === 'string') {
  e = arguments[1] === 'xpath'
    ? document.evaluate(e, document, null, XPathResult.FIRST_ORDERED_NODE_TYPE, null).singleNodeValue
    : document.querySelector(e);
  if (!(e instanceof Element)) return null;
}
var own = {element: e};
if (!(e instanceof Element) || e.ownerDocument !== document || e.tagName === 'OPTION' || e.getRootNode() !== document)
  return own;
var vw = window.innerWidth, vh = window.innerHeight;
function centre() {
  var r = e.getClientRects()[0];
  if (!r) return null;
  var l = Math.max(0, r.left), t = Math.max(0, r.top), rr = Math.min(vw, r.right), b = Math.min(vh, r.bottom);
  return rr > l && b > t ? {x: Math.floor((l + rr) / 2), y: Math.floor((t + b) / 2)} : null;
}
var p = centre();
if (!p) {
  e.scrollIntoView({block: 'end', inline: 'nearest'});
  p = centre();
  if (!p) return own;
}
var hit = document.elementFromPoint(p.x, p.y);
if (!hit || (hit !== e && !e.contains(hit))) return own;
own.x = p.x;
own.y = p.y;
return own;)");

// The mouse pressed and let go at a point of the viewport. Nothing stays pressed, so
// no release is sent unless the gesture broke off.
void clickAt(WebDriver& driver, int x, int y)
{
    const json steps = json::array({{{"type", "pointerMove"}, {"duration", 0}, {"origin", "viewport"}, {"x", x}, {"y", y}},
                                    {{"type", "pointerDown"}, {"button", 0}},
                                    {{"type", "pointerUp"}, {"button", 0}}});
    try {
        driver.command("POST", "/actions", {{"actions", pointerSource(steps)}});
    } catch (...) {
        try {
            driver.command("DELETE", "/actions");
        } catch (...) {
        }
        throw;
    }
}

// True when the point was clean and the click made.
bool clickWhere(WebDriver& driver, const json& where)
{
    if (!where.is_object() || !where.contains("x") || !where.contains("y") || !where["x"].is_number_integer()
        || !where["y"].is_number_integer())
        return false;
    clickAt(driver, where["x"].get<int>(), where["y"].get<int>());
    return true;
}

} // namespace

void Element::click() const
{
    if (!clickWhere(*driver_, driver_->executeScript(kClickPoint, *this)))
        driverClick();
}

void Element::driverClick() const { command("POST", "/click", json::object()); }

void WebDriver::click(const Locator& locator)
{
    const auto [using_, value] = locator.toW3C();
    if (using_ != "css selector" && using_ != "xpath") {
        find(locator).click();
        return;
    }
    const json where = executeScript(kClickPoint, json::array({value, using_ == "xpath" ? "xpath" : "css"}));
    if (where.is_null()) {
        find(locator).click(); // the driver's own word on what is not there
        return;
    }
    if (!clickWhere(*this, where))
        elementFrom(where.value("element", json())).driverClick();
}

} // namespace kuvela
