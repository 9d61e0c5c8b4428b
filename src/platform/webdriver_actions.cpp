#include "platform/webdriver_actions.h"

#include "platform/webdriver.h"

namespace kuvela {

using json = nlohmann::json;

json pointerSource(const json& steps)
{
    json source = {{"type", "pointer"}, {"id", "mouse"}, {"parameters", {{"pointerType", "mouse"}}}};
    source["actions"] = steps.is_array() ? steps : json::array();
    return json::array({source});
}

json pointerMoveTo(const json& elementReference, int x, int y)
{
    return {{"type", "pointerMove"}, {"duration", 0}, {"origin", elementReference}, {"x", x}, {"y", y}};
}

json doubleClickActions(const json& elementReference)
{
    const json down = {{"type", "pointerDown"}, {"button", 0}};
    const json up = {{"type", "pointerUp"}, {"button", 0}};
    return pointerSource(json::array({pointerMoveTo(elementReference), down, up, down, up}));
}

void performCompleteActions(WebDriver& driver, const json& sources)
{
    try {
        driver.command("POST", "/actions", {{"actions", sources}});
    } catch (...) {
        try {
            driver.command("DELETE", "/actions");
        } catch (...) {
        }
        throw;
    }
}

void performActions(WebDriver& driver, const json& sources)
{
    performCompleteActions(driver, sources);
    driver.command("DELETE", "/actions");
}

namespace {
// A move with an element origin fails for an element outside the viewport.
void bringIntoView(WebDriver& driver, const Element& element)
{
    driver.executeScript(QStringLiteral("arguments[0].scrollIntoView({block: 'center', inline: 'center'});"), element);
}
} // namespace

void doubleClick(WebDriver& driver, const Element& element)
{
    bringIntoView(driver, element);
    performActions(driver, doubleClickActions(element.reference()));
}

void moveToElement(WebDriver& driver, const Element& element, int x, int y)
{
    bringIntoView(driver, element);
    performActions(driver, pointerSource(json::array({pointerMoveTo(element.reference(), x, y)})));
}

} // namespace kuvela
