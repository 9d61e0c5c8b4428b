#pragma once
// Our own W3C WebDriver client: starts the driver program as a child process, opens one
// browser session and sends it commands. Every failure is a WebDriverError; the driver
// and the browser are ended by quit(), which the destructor also runs.
#include "platform/webdriver_error.h"
#include "platform/webdriver_input.h"
#include "platform/webdriver_options.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

class QTemporaryDir;

namespace kuvela {

class DriverProcess;
class WebDriver;

// The key under which W3C names an element in JSON.
inline constexpr const char* ElementKey = "element-6066-11e4-a52e-4f735466cecf";

// One element of the page, found through its driver. Valid while the driver's session
// is open and the element stays in the page.
class Element {
public:
    Element(WebDriver* driver, std::string id) : driver_(driver), id_(std::move(id)) {}

    const std::string& id() const { return id_; }
    // {"element-6066-…": id}, for script arguments.
    nlohmann::json reference() const { return {{ElementKey, id_}}; }

    Element find(const Locator& locator) const;
    std::vector<Element> findAll(const Locator& locator) const;
    // A mouse click on the element's middle, as the driver makes it, in fewer requests
    // (webdriver_click.cpp).
    void click() const;
    // The driver's own click: options chosen its way, and its refusals.
    void driverClick() const;
    // Types into the element; appends to what it holds (Keys::chord(Control, "a") first replaces).
    // As the driver types, in fewer requests (webdriver_typing.cpp).
    void sendKeys(const QString& keys) const;
    void driverSendKeys(const QString& keys) const;
    void clear() const;
    QString text() const;
    QString tagName() const;
    // The named property when it is a plain value, else the attribute; null when neither.
    QString attribute(const QString& name) const;
    // Chooses the option by clicking it, so that the page sees a change.
    void selectByText(const QString& visibleText) const;
    void selectByValue(const QString& value) const;
    // Saves the element's picture as a PNG file.
    void screenshot(const std::filesystem::path& pngFile) const;

private:
    nlohmann::json command(const char* method, const std::string& tail, const nlohmann::json& body = nullptr) const;
    void clickOption(const Locator& option, const QString& wanted) const;

    WebDriver* driver_;
    std::string id_;
};

class WebDriver {
public:
    WebDriver();
    ~WebDriver();
    WebDriver(const WebDriver&) = delete;
    WebDriver& operator=(const WebDriver&) = delete;

    // Starts the driver and a browser session; on failure both are ended again.
    void start(const ChromeOptions& options);
    bool isStarted() const { return !session_.empty(); }
    // Closes the browser and ends the driver; never throws, safe to repeat.
    void quit() noexcept;
    // The driver and the processes below it (browser and helpers), while running.
    std::vector<qint64> processTree() const;

    void navigate(const QString& url);
    QString currentUrl();
    QString title();

    Element find(const Locator& locator);
    std::vector<Element> findAll(const Locator& locator);
    // find(locator).click(), .sendKeys(), .selectByText(), .selectByValue(), with the
    // finding folded into the action's own request.
    void click(const Locator& locator);
    void type(const Locator& locator, const QString& keys);
    void selectByText(const Locator& select, const QString& visibleText);
    void selectByValue(const Locator& select, const QString& value);
    // Keys to whatever has the focus; a modifier is held until Null or the end.
    void pressKeys(const QString& keys);
    // Moves the mouse pointer onto the middle of the element.
    void moveTo(const Element& element);

    // Runs a page script; element arguments as Element::reference(). Returns its result.
    nlohmann::json executeScript(const QString& script, const nlohmann::json& args = nlohmann::json::array());
    nlohmann::json executeScript(const QString& script, const Element& argument);
    // An element from a script's result, or from a find's answer.
    Element elementFrom(const nlohmann::json& reference);

    void acceptAlert();
    void dismissAlert();
    QString alertText();

    void maximize();
    void moveWindow(int x, int y);
    QRect windowRect();

    // One command of the open session: path after "/session/<id>".
    nlohmann::json command(const char* method, const std::string& path, const nlohmann::json& body = nullptr,
                           long timeoutMs = 45000);

    // Ends every open session, for the program's exit.
    static void quitAll() noexcept;

private:
    std::unique_ptr<DriverProcess> process_;
    std::unique_ptr<QTemporaryDir> profile_;
    std::string session_;
};

// The loaded page printed as a PDF (W3C "Print Page": A4, no background); the bytes of
// the file. Defined in webdriver_print.cpp.
QByteArray printPageToPdf(WebDriver& driver);

// Finds through a search root ("" for the page, "/element/<id>" for an element).
std::vector<Element> findElements(WebDriver& driver, const std::string& root, const Locator& locator);
Element findElement(WebDriver& driver, const std::string& root, const Locator& locator);

} // namespace kuvela
