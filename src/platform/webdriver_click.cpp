// A click as the driver's own makes it, in two requests instead of its dozen page
// calls: one script finds where the element shows and that nothing covers it there,
// then the mouse moves to that point and presses. Whatever the script is not sure of
// (an option, a hidden or covered element, nothing found) goes to the driver's own
// click and find, so every refusal stays the driver's.
#include "platform/webdriver_fast.h"

#include "platform/webdriver_actions.h"

namespace kuvela {

using json = nlohmann::json;

namespace {

// arguments: the element, or a selector and "css"/"xpath". Gives null when nothing is
// found, {element} when the driver must click, {element, x, y} for a clean click.
const QString kClickPoint = fastScript(QStringLiteral(R"(
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
return own;)"));

// The option in the list named by arguments[2], a selector of kind arguments[3].
const QString kOption = fastScript(QStringLiteral(R"(
var o = arguments[3] === 'xpath'
  ? document.evaluate(arguments[2], e, null, XPathResult.FIRST_ORDERED_NODE_TYPE, null).singleNodeValue
  : e.querySelector(arguments[2]);
own.option = o instanceof Element ? o : null;
return own;)"));

// The mouse pressed and let go at a point of the viewport.
void clickAt(WebDriver& driver, int x, int y)
{
    const json steps = json::array({{{"type", "pointerMove"}, {"duration", 0}, {"origin", "viewport"}, {"x", x}, {"y", y}},
                                    {{"type", "pointerDown"}, {"button", 0}},
                                    {{"type", "pointerUp"}, {"button", 0}}});
    performCompleteActions(driver, pointerSource(steps));
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
    const std::optional<json> where = runOnFound(*this, kClickPoint, locator);
    if (!where) {
        find(locator).click(); // the driver's own word on what is not there
        return;
    }
    if (!clickWhere(*this, *where))
        elementFrom(where->value("element", json())).driverClick();
}

namespace {

// The option is chosen by the driver's own click, as the list's own selectBy… does.
void chooseOption(WebDriver& driver, const Locator& list, const Locator& option, const QString& wanted,
                  void (Element::*select)(const QString&) const)
{
    const auto [using_, value] = option.toW3C();
    const std::optional<json> found =
        runOnFound(driver, kOption, list, json::array({value, using_ == "xpath" ? "xpath" : "css"}));
    if (!found) {
        (driver.find(list).*select)(wanted);
        return;
    }
    const json choice = found->value("option", json());
    if (choice.is_null())
        throw noSuchOption(wanted);
    driver.elementFrom(choice).driverClick();
}

} // namespace

void WebDriver::selectByText(const Locator& list, const QString& visibleText)
{
    chooseOption(*this, list, optionByText(visibleText), visibleText, &Element::selectByText);
}

void WebDriver::selectByValue(const Locator& list, const QString& value)
{
    chooseOption(*this, list, optionByValue(value), value, &Element::selectByValue);
}

} // namespace kuvela
