#pragma once
// What the quick clicks, typing and choices share: one page script that finds the
// element itself, so that a find and an action take one request.
#include "platform/webdriver.h"

#include <optional>

namespace kuvela {

// The script's body with `e` already the element: arguments[0] is an element, or a
// selector with arguments[1] "css" or "xpath"; the script gives null when it finds none.
QString fastScript(const QString& body);

// Runs the script on what the locator names; nullopt when the locator cannot go into
// a page script (link texts, tag names) or the script found nothing.
// `more` are further arguments, from arguments[2] on.
std::optional<nlohmann::json> runOnFound(WebDriver& driver, const QString& script, const Locator& locator,
                                         const nlohmann::json& more = nlohmann::json::array());

// The option of a select list by its text or value, for finds from the list; and the
// refusal when it has none. Defined in webdriver.cpp.
Locator optionByText(const QString& visibleText);
Locator optionByValue(const QString& value);
WebDriverError noSuchOption(const QString& wanted);

} // namespace kuvela
