#include "platform/browser_session.h"

#include "platform/clock.h"
#include "platform/settings.h"

#include <QElapsedTimer>
#include <QLoggingCategory>

namespace kuvela {

Q_LOGGING_CATEGORY(lcBrowser, "kuvela.browser")

namespace be = browser_error;

namespace {

constexpr qint64 kPresenceStepMs = 20;

const QString kLoginFailed = QStringLiteral("Giriş yapılamıyor... Daha sonra tekrar deneyiniz...");
const QString kSiteSlow = QStringLiteral("Site çok yavaş, lütfen daha sonra tekrar deneyiniz...");
const QString kCreatePage = QStringLiteral("e-Arşiv Fatura (İnteraktif) Oluştur");
const QString kIssuedPage = QStringLiteral("Düzenlenen Belgeler e-Arşiv Fatura (İnteraktif)");

PortalLogin login(int limit, int pollMs, QString failText, QString page, int w1, int w2, int w3)
{
    PortalLogin p;
    p.limit = limit;
    p.pollMs = pollMs;
    p.failText = std::move(failText);
    p.pageLink = std::move(page);
    p.waitBeforeMenu = w1;
    p.waitBeforePage = w2;
    p.waitAfterPage = w3;
    return p;
}

} // namespace

// ---- start and login tables ------------------------------------------------------------

QStringList BrowserStart::quietArguments()
{
    return {QStringLiteral("--disable-logging"), QStringLiteral("--log-level=3"), QStringLiteral("--disable-extensions"),
            QStringLiteral("--disable-gpu"), QStringLiteral("--disable-crash-reporter")};
}

BrowserStart BrowserStart::singleUpload(const QString& downloadFolder)
{
    return {quietArguments(),
            {{QStringLiteral("download.default_directory"), downloadFolder},
             {QStringLiteral("download.directory_upgrade"), true},
             {QStringLiteral("download.prompt_for_download"), false}}};
}

BrowserStart BrowserStart::bulkUpload(const QString& downloadFolder)
{
    BrowserStart s = singleUpload(downloadFolder);
    s.arguments << QStringLiteral("--window-position=0,900");
    return s;
}

PortalLogin PortalLogin::singleUpload() { return login(20, 1000, kLoginFailed, kCreatePage, 40, 30, 25); }

// The bulk run opens the invoice page itself, once for each invoice.
PortalLogin PortalLogin::bulkUpload()
{
    PortalLogin p = login(20, 1000, kLoginFailed, QString(), 40, 30, 0);
    p.waitBeforeSelect = 200;
    return p;
}

PortalLogin PortalLogin::issuedDocuments() { return login(20, 1000, kSiteSlow, kIssuedPage, 40, 30, 25); }

PortalLogin PortalLogin::cancelRequests()
{
    return login(10, 1000, QStringLiteral("Site çok yavaş, giriş yapılamadı.. lütfen daha sonra tekrar deneyiniz..."),
                 QStringLiteral("İptal/İtiraz Talepleri"), 40, 30, 25);
}

PortalLogin PortalLogin::lastIssuedInvoice()
{
    // A login that did not land is said and ends the road; it is never taken for an empty month.
    PortalLogin p = login(1, 3000, kLoginFailed, kIssuedPage, 60, 40, 300);
    p.extraPolls = 3;
    p.waitBeforeSelect = 150;
    p.clickMainTreeByValue = false;
    return p;
}

PortalLogin PortalLogin::issuedInvoicesOfMonth() { return login(20, 1000, kSiteSlow, kIssuedPage, 40, 30, 20); }

PortalLogin PortalLogin::customerLookup()
{
    PortalLogin p = login(20, 1000, kSiteSlow, kCreatePage, 40, 30, 25);
    p.clickMainTreeByValue = false;
    return p;
}

// ---- session ----------------------------------------------------------------------------

const QString& BrowserSession::loggedInText()
{
    static const QString text = QStringLiteral("Giriş yapıldı. Fatura bilgileri yükleniyor...");
    return text;
}

BrowserSession::BrowserSession() = default;

BrowserSession::~BrowserSession() { tarayiciKapat(); }

QString BrowserSession::portalUrl()
{
    QString url = Settings::forProgram().value(QStringLiteral("portal/url"),
                                               QStringLiteral("https://earsivportal.efatura.gov.tr")).trimmed();
    while (url.endsWith(u'/'))
        url.chop(1);
    return url;
}

QString BrowserSession::loginPageUrl() { return portalUrl() + QLatin1String(LoginPagePath); }

void BrowserSession::bekle(int ms) { pauseMs(ms); }

bool BrowserSession::isOpen() const { return driver_.isStarted(); }

void BrowserSession::tarayiciBaslat(const QStringList& arguments, const Preferences& preferences,
                                    const QString& firstPage)
{
    driver_.start(ChromeOptions::fromSettings(arguments, preferences));
    try {
        driver_.navigate(firstPage);
    } catch (...) {
        tarayiciKapat();
        throw;
    }
}

void BrowserSession::tarayiciBaslat(const BrowserStart& start, const QString& firstPage)
{
    tarayiciBaslat(start.arguments, start.preferences, firstPage);
}

LoginOutcome BrowserSession::portalGiris(const BrowserStart& start, const QString& user, const QString& pass,
                                         const PortalLogin& how, const LoginFeedback& feedback)
{
    tarayiciBaslat(start, loginPageUrl());
    try {
        type(Locator::id(QStringLiteral("userid")), user);
        type(Locator::id(QStringLiteral("password")), pass);
        click(Locator::name(QStringLiteral("action")));
    } catch (...) {
        tarayiciKapat();
        throw;
    }

    const Locator startPage = Locator::id(QStringLiteral("gen__1006"));
    LoginOutcome out;
    bool present = false;
    while (!present && out.attempts < how.limit) {
        ++out.attempts;
        if (feedback.progress)
            feedback.progress(2 * out.attempts);
        present = elemanBekle(startPage, how.pollMs);
    }
    for (int i = 0; !present && i < how.extraPolls; ++i)
        present = elemanBekle(startPage, how.extraPollMs);
    out.loggedIn = present;
    if (!present && !how.goOnAtLimit) {
        if (feedback.status)
            feedback.status(how.failText);
        tarayiciKapat();
        return out;
    }
    if (present && feedback.status)
        feedback.status(loggedInText());

    if (how.waitBeforeSelect > 0)
        bekle(how.waitBeforeSelect);
    if (present && feedback.loggedIn)
        feedback.loggedIn();
    // From the start page on, a failing step is skipped and the road goes on.
    attempt(QStringLiteral("ana menü seçimi (id=gen__1006, değer MAINTREEMENU)"),
            [&] { selectByValue(startPage, QStringLiteral("MAINTREEMENU")); });
    if (how.clickMainTreeByValue)
        attempt(QStringLiteral("ana menü tıklaması (value=MAINTREEMENU)"),
                [&] { click(Locator::byValue(QStringLiteral("MAINTREEMENU"))); });
    bekle(how.waitBeforeMenu);
    attempt(QStringLiteral("menü bağlantısı \"Belge İşlemleri\""),
            [&] { click(Locator::linkText(QStringLiteral("Belge İşlemleri"))); });
    bekle(how.waitBeforePage);
    if (!how.pageLink.isEmpty())
        attempt(QStringLiteral("sayfa bağlantısı \"%1\"").arg(how.pageLink),
                [&] { click(Locator::linkText(how.pageLink)); });
    bekle(how.waitAfterPage);
    return out;
}

bool BrowserSession::elemanBekle(const Locator& locator, int timeoutMs)
{
    timeoutMs = presenceMs(timeoutMs);
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        try {
            if (!driver_.findAll(locator).empty())
                return true;
        } catch (const WebDriverError& e) {
            if (e.code() == be::SessionClosed || e.code() == be::DriverConnection)
                return false;
        } catch (...) {
            return false;
        }
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            return false;
        // A short step: the element is used as soon as it is there.
        waitMs(int(std::min<qint64>(left, kPresenceStepMs)));
    }
}

void BrowserSession::panoIleYaz(const Element& field, const QString& text, bool thenTab)
{
    field.click();
    field.sendKeys(Keys::chord(Keys::Control, QStringLiteral("a")) + text);
    if (thenTab)
        field.sendKeys(Keys::Tab);
}

void BrowserSession::tarihAlaniAc(const Element& dateField)
{
    driver_.executeScript(QStringLiteral("arguments[0].removeAttribute('disabled')"), dateField);
    bekle(250);
    driver_.executeScript(QStringLiteral("arguments[0].setAttribute('class', 'csc-textbox')"), dateField);
    bekle(250);
}

bool BrowserSession::portalCikis()
{
    if (!isOpen())
        return false;
    // An alert left open would swallow the logout click.
    for (int i = 0; i < 3; ++i) {
        try {
            driver_.acceptAlert();
        } catch (...) {
            break;
        }
    }
    const bool loggedOut = attempt(QStringLiteral("çıkış (id=gen__1008)"),
                                   [&] { click(Locator::id(QStringLiteral("gen__1008"))); });
    tarayiciKapat();
    return loggedOut;
}

void BrowserSession::tarayiciKapat() { driver_.quit(); }

bool BrowserSession::attempt(const QString& what, const std::function<void()>& step)
{
    QString why;
    try {
        step();
        return true;
    } catch (const WebDriverError& e) {
        why = e.fullMessage();
        if (!e.detail().isEmpty())
            why += QStringLiteral(" [") + e.detail() + u']';
    } catch (const std::exception& e) {
        why = QString::fromUtf8(e.what());
    } catch (...) {
        why = QStringLiteral("bilinmeyen hata");
    }
    skipped_.push_back({what, why});
    qCInfo(lcBrowser).noquote() << "atlanan adım:" << what << "-" << why;
    return false;
}

} // namespace kuvela
