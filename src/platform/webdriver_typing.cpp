// Typing as the driver's own does it, in fewer requests: one script focuses the field
// the way the driver does (the caret after the text when the field gains the focus),
// then the keys go as key actions. Fields the script is not sure of (no text field,
// hidden, disabled, read-only, a file field) and texts with control characters go to
// the driver's own typing, so every refusal stays the driver's.
#include "platform/webdriver_actions.h"
#include "platform/webdriver_fast.h"

namespace kuvela {

using json = nlohmann::json;

namespace {

const QString kFocus = fastScript(QStringLiteral(R"(
var field = e instanceof HTMLTextAreaElement
  || (e instanceof HTMLInputElement && /^(text|password|search|tel|url|email|number|)$/.test(e.type));
if (!field || e.disabled || e.readOnly || e.ownerDocument !== document || !e.getClientRects().length)
  return own;
var before = document.activeElement;
if (e !== before) {
  e.focus();
  if (e.value && e.setSelectionRange) {
    try { e.setSelectionRange(e.value.length, e.value.length); } catch (x) {}
  }
}
own.ready = document.activeElement === e;
return own;)"));

// Control characters are the driver's to turn into keys.
bool plainKeys(const QString& keys)
{
    for (const QChar c : keys)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    return true;
}

bool ready(const json& focused) { return focused.is_object() && focused.value("ready", false); }

} // namespace

void Element::sendKeys(const QString& keys) const
{
    if (plainKeys(keys) && ready(driver_->executeScript(kFocus, *this)))
        performCompleteActions(*driver_, keyActions(keys)); // every key let go at the end
    else
        driverSendKeys(keys);
}

void Element::driverSendKeys(const QString& keys) const
{
    command("POST", "/value", {{"text", keys.toStdString()}});
}

void WebDriver::type(const Locator& locator, const QString& keys)
{
    if (!plainKeys(keys)) {
        find(locator).driverSendKeys(keys);
        return;
    }
    const std::optional<json> focused = runOnFound(*this, kFocus, locator);
    if (!focused) {
        find(locator).sendKeys(keys);
        return;
    }
    if (ready(*focused))
        performCompleteActions(*this, keyActions(keys));
    else
        elementFrom(focused->value("element", json())).driverSendKeys(keys);
}

} // namespace kuvela
