#pragma once
// Failures of the browser layer. Every one carries a fixed " Hata No: " number and a
// Turkish text; the driver's own words are kept apart for the logs.
#include <QString>
#include <stdexcept>

namespace kuvela {

// Fixed numbers of browser and driver failures. The runtime's own numbers are used
// where one fits (75: path or file access error).
namespace browser_error {
inline constexpr int FileAccess = 75;
inline constexpr int DriverMissing = 1101;     // the driver program is not there
inline constexpr int DriverStart = 1102;       // the driver did not come up
inline constexpr int DriverConnection = 1103;  // no answer on the driver's port
inline constexpr int DriverTimeout = 1104;     // the driver or the page took too long
inline constexpr int BrowserStart = 1105;      // the browser could not be started
inline constexpr int SessionClosed = 1106;     // no session, or the browser is gone
inline constexpr int ElementNotFound = 1111;
inline constexpr int ElementNotUsable = 1112;  // hidden, disabled, covered or stale
inline constexpr int OptionNotFound = 1113;    // a select without the wanted entry
inline constexpr int AlertOpen = 1114;
inline constexpr int NoAlert = 1115;
inline constexpr int ScriptFailed = 1116;
inline constexpr int CommandFailed = 1119;     // any other refusal of the driver
} // namespace browser_error

class WebDriverError : public std::runtime_error {
public:
    // message: Turkish, for the user; detail: the driver's own text (never typed text).
    WebDriverError(int code, QString message, QString w3cError = {}, QString detail = {})
        : std::runtime_error((message + QStringLiteral(" Hata No: ") + QString::number(code)).toStdString()),
          code_(code), message_(std::move(message)), w3cError_(std::move(w3cError)), detail_(std::move(detail))
    {
    }

    int code() const { return code_; }
    const QString& message() const { return message_; }
    // The message as the user sees it, with its " Hata No: ".
    QString fullMessage() const { return QString::fromStdString(what()); }
    // The W3C error code ("no such element"), empty for our own failures.
    const QString& w3cError() const { return w3cError_; }
    const QString& detail() const { return detail_; }

private:
    int code_;
    QString message_;
    QString w3cError_;
    QString detail_;
};

} // namespace kuvela
