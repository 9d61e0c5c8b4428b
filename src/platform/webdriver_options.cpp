#include "platform/webdriver_options.h"

#include "platform/desktop.h"
#include "platform/driver_choice.h"
#include "platform/settings.h"

#include <unistd.h>

namespace kuvela {

namespace {

nlohmann::ordered_json prefJson(const PrefValue& v);

nlohmann::ordered_json prefObject(const Preferences& entries)
{
    nlohmann::ordered_json o = nlohmann::ordered_json::object();
    for (const PrefEntry& e : entries)
        o[e.name.toStdString()] = prefJson(e.value);
    return o;
}

nlohmann::ordered_json prefJson(const PrefValue& v)
{
    switch (v.kind) {
    case PrefValue::Kind::Bool:
        return v.boolean;
    case PrefValue::Kind::Dict:
        return prefObject(v.dict);
    case PrefValue::Kind::Text:
        break;
    }
    return v.text.toStdString();
}

} // namespace

ChromeOptions ChromeOptions::fromSettings(QStringList arguments, Preferences preferences)
{
    const Settings settings = Settings::forProgram();
    ChromeOptions o;
    // A driver that maintenance installed for this browser goes before the system's.
    const QString systemDriver = settings.value(QStringLiteral("browser/driver"), QStringLiteral("/usr/bin/chromedriver"));
    const std::filesystem::path maintained = maintainedDriverPath();
    std::error_code ec;
    o.driver = std::filesystem::is_regular_file(maintained, ec)
        ? chooseDriver(systemDriver, maintained, Desktop::instance().chromeVersion())
        : systemDriver;
    o.binary = settings.value(QStringLiteral("browser/binary"), QStringLiteral("/usr/bin/chromium"));
    o.headless = settings.value(QStringLiteral("headless")).trimmed() == QLatin1String("1");
    o.asRoot = geteuid() == 0;
    o.arguments = std::move(arguments);
    o.preferences = std::move(preferences);
    return o;
}

QStringList headlessArguments(const QString& userDataDir)
{
    QStringList a{QStringLiteral("--headless=new"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu")};
    if (!userDataDir.isEmpty())
        a << QStringLiteral("--user-data-dir=") + userDataDir;
    a << QStringLiteral("--no-first-run") << QStringLiteral("--disable-background-networking")
      << QStringLiteral("--disable-component-update") << QStringLiteral("--disable-sync");
    return a;
}

nlohmann::ordered_json sessionCapabilities(const ChromeOptions& options)
{
    nlohmann::ordered_json args = nlohmann::ordered_json::array();
    for (const QString& a : options.arguments)
        args.push_back(a.toStdString());
    if (options.headless)
        for (const QString& a : headlessArguments(options.userDataDir))
            args.push_back(a.toStdString());
    else if (options.asRoot)
        args.push_back("--no-sandbox");

    nlohmann::ordered_json chrome = nlohmann::ordered_json::object();
    if (!options.binary.isEmpty())
        chrome["binary"] = options.binary.toStdString();
    chrome["args"] = args;
    if (!options.preferences.empty())
        chrome["prefs"] = prefObject(options.preferences);

    nlohmann::ordered_json match = nlohmann::ordered_json::object();
    match["browserName"] = "chrome";
    match["pageLoadStrategy"] = "normal";
    match["timeouts"] = {{"implicit", 0}, {"pageLoad", 30000}, {"script", 30000}};
    match["goog:chromeOptions"] = chrome;
    return {{"alwaysMatch", match}};
}

} // namespace kuvela
