#include "samples/signing_page.h"

#include "platform/browser_session.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/webdriver_actions.h"
#include "samples/sample_steps.h"

namespace kuvela {

SigningPageSettings SigningPageSettings::fromSettings()
{
    const Settings settings = Settings::forProgram();
    return {settings.value(QStringLiteral("signing/url"), QStringLiteral("https://127.0.0.1:8543/")).trimmed(),
            settings.value(QStringLiteral("signing/pin"), QStringLiteral("384172"))};
}

std::filesystem::path signingStartFile()
{
    return programFolder() / toPath(QStringLiteral("prgDosyaları")) / "EFaturaWebSocket.jnlp";
}

void imzaSayfasiniSur(BrowserSession& session, const SigningPageSettings& settings)
{
    WebDriver& driver = session.driver();
    driver.start(ChromeOptions::fromSettings({}));
    BrowserSession::bekle(3000);
    driver.navigate(settings.pageUrl);
    // Attaching to a running browser by its debugging port has no place in a W3C
    // session we opened ourselves.
    recordSkipped(session, QStringLiteral("sürücü seçeneği debuggerAddress (127.0.0.1:8543)"),
                  QStringLiteral("Açık bir W3C oturumunda bu seçeneğin karşılığı yok; adım atlandı."));
    BrowserSession::bekle(3000);

    // The browser's own warning page for the service's certificate.
    session.find(Locator::xpath(QStringLiteral("//*[@id='details-button']"))).click();
    BrowserSession::bekle(100);
    session.find(Locator::xpath(QStringLiteral("//*[@id='proceed-link']"))).click();
    BrowserSession::bekle(100);

    session.find(Locator::xpath(QStringLiteral("/html/body/ul[3]/li[1]/font/a"))).click();
    driver.windowRect();
    driver.maximize();
    session.find(Locator::xpath(QStringLiteral("/html/body/div[4]/div[1]/a"))).click();
    BrowserSession::bekle(300);

    const Element start = session.find(Locator::xpath(QStringLiteral("//*[@id='btn-basla']/span[2]")));
    moveToElement(driver, start);
    BrowserSession::bekle(300);
    start.click();
    BrowserSession::bekle(300);

    const Element cardReaders = session.find(Locator::id(QStringLiteral("cmbKartIslemcileri")));
    moveToElement(driver, cardReaders);
    BrowserSession::bekle(300);
    cardReaders.click();
    BrowserSession::bekle(300);
    cardReaders.selectByText(QStringLiteral("Akis"));

    session.find(Locator::id(QStringLiteral("txtKartSifre"))).sendKeys(settings.pin);
    session.find(Locator::id(QStringLiteral("btn-sifre-gir"))).click();
}

} // namespace kuvela
