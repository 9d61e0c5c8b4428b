#include "platform/webdriver.h"

#include "platform/paths.h"
#include "platform/road_timing.h"
#include "platform/webdriver_actions.h"
#include "platform/webdriver_fast.h"
#include "platform/webdriver_http.h"
#include "platform/webdriver_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>

namespace kuvela {
namespace be = browser_error;
using nlohmann::json;

namespace {

std::vector<WebDriver*>& liveDrivers()
{
    static std::vector<WebDriver*> drivers;
    return drivers;
}

void watchProgramExit()
{
    static bool connected = false;
    if (connected || !QCoreApplication::instance())
        return;
    connected = true;
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] { WebDriver::quitAll(); });
}

QString textOf(const json& v)
{
    if (v.is_string())
        return QString::fromStdString(v.get<std::string>());
    if (v.is_boolean())
        return v.get<bool>() ? QStringLiteral("true") : QStringLiteral("false");
    if (v.is_number_integer())
        return QString::number(v.get<long long>());
    if (v.is_number())
        return QString::number(v.get<double>());
    return {};
}

std::string pathPart(const QString& s) { return QUrl::toPercentEncoding(s).toStdString(); }

WebDriverError withContext(const WebDriverError& e, const QString& context)
{
    QString message = e.message();
    if (message.endsWith(u'.'))
        message.chop(1);
    return WebDriverError(e.code(), message + QStringLiteral(": ") + context, e.w3cError(), e.detail());
}

} // namespace

// ---- finding -------------------------------------------------------------------------

std::vector<Element> findElements(WebDriver& driver, const std::string& root, const Locator& locator)
{
    const auto [using_, value] = locator.toW3C();
    json found;
    try {
        found = driver.command("POST", root + "/elements", {{"using", using_}, {"value", value}});
    } catch (const WebDriverError& e) {
        throw withContext(e, locator.describe());
    }
    std::vector<Element> elements;
    if (found.is_array())
        for (const json& ref : found)
            elements.push_back(driver.elementFrom(ref));
    return elements;
}

Element findElement(WebDriver& driver, const std::string& root, const Locator& locator)
{
    const auto [using_, value] = locator.toW3C();
    try {
        return driver.elementFrom(driver.command("POST", root + "/element", {{"using", using_}, {"value", value}}));
    } catch (const WebDriverError& e) {
        throw withContext(e, locator.describe());
    }
}

// ---- Element -------------------------------------------------------------------------

json Element::command(const char* method, const std::string& tail, const json& body) const
{
    return driver_->command(method, "/element/" + id_ + tail, body);
}

Element Element::find(const Locator& locator) const { return findElement(*driver_, "/element/" + id_, locator); }

std::vector<Element> Element::findAll(const Locator& locator) const
{
    return findElements(*driver_, "/element/" + id_, locator);
}

void Element::clear() const { command("POST", "/clear", json::object()); }

QString Element::text() const { return textOf(command("GET", "/text")); }

QString Element::tagName() const { return textOf(command("GET", "/name")); }

QString Element::attribute(const QString& name) const
{
    // "value" and "type" live in properties (the current value; a select's "select-one"),
    // "class" and "rel" in attributes.
    const json property = command("GET", "/property/" + pathPart(name));
    if (property.is_string() || property.is_number() || property.is_boolean())
        return textOf(property);
    const json attribute = command("GET", "/attribute/" + pathPart(name));
    return attribute.is_null() ? QString() : textOf(attribute);
}

void Element::clickOption(const Locator& option, const QString& wanted) const
{
    const std::vector<Element> options = findAll(option);
    if (options.empty())
        throw noSuchOption(wanted);
    options.front().driverClick();
}

Locator optionByText(const QString& visibleText)
{
    return Locator::xpath(QStringLiteral(".//option[normalize-space(.) = %1]").arg(xpathLiteral(visibleText.simplified())));
}

Locator optionByValue(const QString& value)
{
    return Locator::css(QStringLiteral("option[value=") + cssString(value) + u']');
}

WebDriverError noSuchOption(const QString& wanted)
{
    return WebDriverError(be::OptionNotFound, QStringLiteral("Seçim listesinde \"%1\" seçeneği yok.").arg(wanted));
}

void Element::selectByText(const QString& visibleText) const { clickOption(optionByText(visibleText), visibleText); }

void Element::selectByValue(const QString& value) const { clickOption(optionByValue(value), value); }

void Element::screenshot(const std::filesystem::path& pngFile) const
{
    const json picture = command("GET", "/screenshot");
    const QByteArray png = QByteArray::fromBase64(QByteArray::fromStdString(picture.is_string() ? picture.get<std::string>() : ""));
    const QString name = fromPath(pngFile);
    QSaveFile file(name);
    if (png.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit())
        throw WebDriverError(be::FileAccess, QStringLiteral("Resim dosyası yazılamadı: %1").arg(name));
}

// ---- WebDriver -----------------------------------------------------------------------

WebDriver::WebDriver() = default;

WebDriver::~WebDriver() { quit(); }

void WebDriver::start(const ChromeOptions& given)
{
    quit();
    ChromeOptions options = given;
    if (options.headless && options.userDataDir.isEmpty()) {
        profile_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/kuvela-browser-XXXXXX"));
        if (!profile_->isValid())
            throw WebDriverError(be::FileAccess, QStringLiteral("Tarayıcı için geçici klasör açılamadı."));
        options.userDataDir = profile_->path();
    }
    auto& live = liveDrivers();
    if (std::find(live.begin(), live.end(), this) == live.end())
        live.push_back(this);
    watchProgramExit();
    QElapsedTimer timer;
    timer.start();
    try {
        process_ = std::make_unique<DriverProcess>();
        process_->start(options.driver);
        const std::string body =
            nlohmann::ordered_json{{"capabilities", sessionCapabilities(options)}}.dump(-1, ' ', false,
                                                                                      json::error_handler_t::replace);
        json created;
        try {
            created = process_->http().callText("POST", "/session", body, 90000);
        } catch (const WebDriverError& e) {
            if (e.code() == be::BrowserStart)
                throw withContext(e, options.binary);
            throw;
        }
        if (!created.is_object() || !created.contains("sessionId") || !created["sessionId"].is_string())
            throw WebDriverError(be::BrowserStart, QStringLiteral("Tarayıcı başlatılamadı: %1").arg(options.binary));
        session_ = created["sessionId"].get<std::string>();
        RoadTiming& timing = RoadTiming::counters();
        ++timing.browserStarts;
        timing.browserStartUs += timer.nsecsElapsed() / 1000;
    } catch (...) {
        quit();
        throw;
    }
}

void WebDriver::quit() noexcept
{
    if (!session_.empty() && process_ && process_->isRunning()) {
        try {
            process_->http().call("DELETE", "/session/" + session_, nullptr, 15000);
        } catch (...) {
        }
    }
    session_.clear();
    process_.reset(); // ends the driver and anything it left
    profile_.reset();
    auto& live = liveDrivers();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void WebDriver::quitAll() noexcept
{
    const std::vector<WebDriver*> drivers = liveDrivers();
    for (WebDriver* d : drivers)
        d->quit();
}

std::vector<qint64> WebDriver::processTree() const
{
    return process_ ? process_->processTree() : std::vector<qint64>{};
}

json WebDriver::command(const char* method, const std::string& path, const json& body, long timeoutMs)
{
    if (session_.empty() || !process_)
        throw WebDriverError(be::SessionClosed, QStringLiteral("Tarayıcı açık değil."));
    try {
        return process_->http().call(method, "/session/" + session_ + path, body, timeoutMs);
    } catch (const json::exception& e) {
        throw WebDriverError(be::CommandFailed, QStringLiteral("Tarayıcı komutu yerine getirilemedi."), {},
                             QString::fromUtf8(e.what()));
    }
}

void WebDriver::navigate(const QString& url)
{
    QElapsedTimer timer;
    timer.start();
    command("POST", "/url", {{"url", url.toStdString()}});
    RoadTiming& timing = RoadTiming::counters();
    ++timing.pageLoads;
    timing.pageLoadUs += timer.nsecsElapsed() / 1000;
}

QString WebDriver::currentUrl() { return textOf(command("GET", "/url")); }

QString WebDriver::title() { return textOf(command("GET", "/title")); }

Element WebDriver::find(const Locator& locator) { return findElement(*this, "", locator); }

std::vector<Element> WebDriver::findAll(const Locator& locator) { return findElements(*this, "", locator); }

void WebDriver::pressKeys(const QString& keys) { performActions(*this, keyActions(keys)); }

void WebDriver::moveTo(const Element& element) { moveToElement(*this, element); }

json WebDriver::executeScript(const QString& script, const json& args)
{
    return command("POST", "/execute/sync", {{"script", script.toStdString()}, {"args", args.is_array() ? args : json::array()}});
}

json WebDriver::executeScript(const QString& script, const Element& argument)
{
    json args = json::array();
    args.push_back(argument.reference());
    return executeScript(script, args);
}

Element WebDriver::elementFrom(const json& reference)
{
    if (!reference.is_object() || !reference.contains(ElementKey) || !reference[ElementKey].is_string())
        throw WebDriverError(be::CommandFailed, QStringLiteral("Tarayıcıdan sayfa öğesi yerine başka bir yanıt geldi."));
    return Element(this, reference[ElementKey].get<std::string>());
}

void WebDriver::acceptAlert() { command("POST", "/alert/accept", json::object()); }

void WebDriver::dismissAlert() { command("POST", "/alert/dismiss", json::object()); }

QString WebDriver::alertText() { return textOf(command("GET", "/alert/text")); }

void WebDriver::maximize() { command("POST", "/window/maximize", json::object()); }

void WebDriver::moveWindow(int x, int y) { command("POST", "/window/rect", {{"x", x}, {"y", y}}); }

QRect WebDriver::windowRect()
{
    const json r = command("GET", "/window/rect");
    auto num = [&r](const char* k) { return r.contains(k) && r[k].is_number() ? r[k].get<int>() : 0; };
    return QRect(num("x"), num("y"), num("width"), num("height"));
}

} // namespace kuvela
