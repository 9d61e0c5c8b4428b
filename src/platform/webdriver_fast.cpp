#include "platform/webdriver_fast.h"

namespace kuvela {

using json = nlohmann::json;

QString fastScript(const QString& body)
{
    return QStringLiteral(R"(
var e = arguments[0];
if (typeof e === 'string') {
  e = arguments[1] === 'xpath'
    ? document.evaluate(e, document, null, XPathResult.FIRST_ORDERED_NODE_TYPE, null).singleNodeValue
    : document.querySelector(e);
  if (!(e instanceof Element)) return null;
}
var own = {element: e};)") + body;
}

std::optional<json> runOnFound(WebDriver& driver, const QString& script, const Locator& locator, const json& more)
{
    const auto [using_, value] = locator.toW3C();
    if (using_ != "css selector" && using_ != "xpath")
        return std::nullopt;
    json args = json::array({value, using_ == "xpath" ? "xpath" : "css"});
    for (const json& a : more)
        args.push_back(a);
    json found = driver.executeScript(script, args);
    if (found.is_null())
        return std::nullopt;
    return found;
}

} // namespace kuvela
