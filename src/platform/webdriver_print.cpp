// The W3C "Print Page" command: the loaded page as a PDF, made by the browser itself.
#include "platform/webdriver.h"

namespace kuvela {

QByteArray printPageToPdf(WebDriver& driver)
{
    // A4 upright, the browser's default margins, no background; the command prints
    // no header or footer line.
    const nlohmann::json body = {{"orientation", "portrait"},
                                 {"scale", 1},
                                 {"background", false},
                                 {"page", {{"width", 21.0}, {"height", 29.7}}},
                                 {"shrinkToFit", true}};
    const nlohmann::json value = driver.command("POST", "/print", body, 60000);
    if (!value.is_string())
        throw WebDriverError(browser_error::CommandFailed, QStringLiteral("Sayfa PDF olarak yazdırılamadı."));
    return QByteArray::fromBase64(QByteArray::fromStdString(value.get<std::string>()));
}

} // namespace kuvela
