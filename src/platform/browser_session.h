#pragma once
// The one way the program drives a browser: each road opens its own session, works
// through its pages with fixed waits and quits before it returns.
#include "platform/webdriver.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace kuvela {

// How a road's browser starts: switches and preferences, in order, repeats kept.
struct BrowserStart {
    QStringList arguments;
    Preferences preferences;

    // "--disable-logging", "--log-level=3", "--disable-extensions", "--disable-gpu", "--disable-crash-reporter"
    static QStringList quietArguments();
    // The uploads: downloads go to the company's "Satış Faturaları/Temp" folder.
    static BrowserStart singleUpload(const QString& downloadFolder);
    static BrowserStart bulkUpload(const QString& downloadFolder);
};

// One road's login: attempts, poll time, the text at the limit, the page link and the
// waits of the menu.
struct PortalLogin {
    int limit = 20;
    int pollMs = 1000;
    QString failText;
    bool goOnAtLimit = false;       // the steps after the polls run in any case
    int extraPolls = 0;             // further polls of extraPollMs after the limit
    int extraPollMs = 1000;
    QString pageLink;
    int waitBeforeSelect = 0;
    bool clickMainTreeByValue = true;
    int waitBeforeMenu = 40;
    int waitBeforePage = 30;
    int waitAfterPage = 25;

    static PortalLogin singleUpload();
    static PortalLogin bulkUpload();
    static PortalLogin issuedDocuments();
    static PortalLogin cancelRequests();
    static PortalLogin lastIssuedInvoice();
    static PortalLogin issuedInvoicesOfMonth();
    static PortalLogin customerLookup();
};

// What the login shows while it runs (status panel 7, ProgressBar1).
struct LoginFeedback {
    std::function<void(const QString&)> status;
    std::function<void(int)> progress;
    // Once logged in, after the wait before the menu and before the menu is walked.
    std::function<void()> loggedIn;
};

struct LoginOutcome {
    bool loggedIn = false;
    int attempts = 0; // `ys`
};

// A step skipped after the login: what it was and why it failed.
struct SkippedStep {
    QString what;
    QString why;
};

class BrowserSession {
public:
    static constexpr const char* LoginPagePath = "/intragiris.html";
    static const QString& loggedInText();   // "Giriş yapıldı. Fatura bilgileri yükleniyor..."

    BrowserSession();
    ~BrowserSession();                      // quits the browser
    BrowserSession(const BrowserSession&) = delete;
    BrowserSession& operator=(const BrowserSession&) = delete;

    // The portal's address from the setting "portal/url" (KUVELA_PORTAL_URL).
    static QString portalUrl();
    static QString loginPageUrl();

    // Starts the browser and opens the first page; throws WebDriverError, with the browser
    // already quit.
    void tarayiciBaslat(const QStringList& arguments, const Preferences& preferences, const QString& firstPage);
    void tarayiciBaslat(const BrowserStart& start, const QString& firstPage);

    // Starts the browser on the login page, logs in, polls for the start page and walks
    // the menu to the road's page. Failures before the start page is there throw
    // WebDriverError (browser quit); at the limit the browser is quit and loggedIn is
    // false; from then on a failing step is skipped (skippedSteps()).
    LoginOutcome portalGiris(const BrowserStart& start, const QString& user, const QString& pass,
                             const PortalLogin& how, const LoginFeedback& feedback = {});

    // Whether the element is in the page, waiting at most timeoutMs; never throws.
    bool elemanBekle(const Locator& locator, int timeoutMs);

    // The old clipboard paste: the field is clicked, emptied with Control+A and the text
    // typed (a headless browser shares no clipboard), then Tab when asked.
    void panoIleYaz(const Element& field, const QString& text, bool thenTab = false);
    void pasteInto(const Element& field, const QString& text, bool thenTab = false)
    {
        panoIleYaz(field, text, thenTab);
    }
    // Makes a disabled date picker typeable.
    void tarihAlaniAc(const Element& dateField);

    // Accepts an open alert, clicks the logout and quits; true when the logout click
    // went through.
    bool portalCikis();
    void tarayiciKapat();
    bool isOpen() const;

    // Runs a step of a road after the login: a failure is recorded and swallowed.
    bool attempt(const QString& what, const std::function<void()>& step);
    const std::vector<SkippedStep>& skippedSteps() const { return skipped_; }
    void clearSkippedSteps() { skipped_.clear(); }

    WebDriver& driver() { return driver_; }
    Element find(const Locator& locator) { return driver_.find(locator); }
    std::vector<Element> findAll(const Locator& locator) { return driver_.findAll(locator); }
    void click(const Locator& locator) { driver_.click(locator); }
    void type(const Locator& locator, const QString& keys) { driver_.type(locator, keys); }
    void selectByText(const Locator& list, const QString& text) { driver_.selectByText(list, text); }
    void selectByValue(const Locator& list, const QString& value) { driver_.selectByValue(list, value); }
    void pressKeys(const QString& keys) { driver_.pressKeys(keys); }
    // The road's fixed pause; the window keeps painting.
    static void bekle(int ms);

private:
    WebDriver driver_;
    std::vector<SkippedStep> skipped_;
};

} // namespace kuvela
