#pragma once
// Pointer gestures through the W3C Actions API: moves relative to an element's middle,
// and the double click that opens grid editors. Keys go through WebDriver::pressKeys.
#include <nlohmann/json.hpp>

namespace kuvela {

class Element;
class WebDriver;

// One pointer source ("mouse") whose actions are the given steps.
nlohmann::json pointerSource(const nlohmann::json& steps);
// A move onto the element, offset from its middle by (x, y).
nlohmann::json pointerMoveTo(const nlohmann::json& elementReference, int x = 0, int y = 0);
// Moves onto the element and presses the left button twice. The element is scrolled
// into view first, for both gestures.
nlohmann::json doubleClickActions(const nlohmann::json& elementReference);

// Sends the input sources and releases whatever they left pressed, also on failure.
void performActions(WebDriver& driver, const nlohmann::json& sources);
// For gestures that end with every key and button up: no release is sent unless they
// broke off.
void performCompleteActions(WebDriver& driver, const nlohmann::json& sources);
void doubleClick(WebDriver& driver, const Element& element);
// Moves the pointer onto the element, offset from its middle.
void moveToElement(WebDriver& driver, const Element& element, int x = 0, int y = 0);

} // namespace kuvela
