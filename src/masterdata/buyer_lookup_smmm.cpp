// "SORGULA" of the customer card: the buyer as the accountants' taxpayer portal knows
// it. The portal's captcha is shown on the card and the road waits, with the window
// usable, until the user has typed it; "KAPAT", emptying the card or closing the main
// window ends the wait and the road.
#include "masterdata/buyer_lookup.h"
#include "masterdata/form4.h"

#include "shell/dialog_window.h"
#include "platform/desktop.h"
#include "platform/paths.h"
#include "shell/form1.h"

#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>

namespace kuvela {

Q_LOGGING_CATEGORY(lcSmmmLookup, "kuvela.lookup.smmm")

namespace {

Locator xp(const QString& path) { return Locator::xpath(path); }

// Ends when the code has its full length, or when the look-up can no longer go on: the
// card closed ("KAPAT" sets `karar`), its captcha removed, or the main window closing,
// which runs the card's "KAPAT".
class CaptchaWait : public QObject {
public:
    CaptchaWait(Form4& card, QWidget& mainWindow, int length) : card_(card), main_(mainWindow), length_(length)
    {
        connect(card_.Text12, &QLineEdit::textChanged, this, [this] { check(); });
        card_.installEventFilter(this);
        card_.Frame3->installEventFilter(this);
        main_.installEventFilter(this);
    }
    ~CaptchaWait() override
    {
        card_.removeEventFilter(this);
        card_.Frame3->removeEventFilter(this);
        main_.removeEventFilter(this);
    }

    // True when a code of full length was typed.
    bool run()
    {
        if (!finished())
            loop_.exec();
        return !cancelled() && card_.Text12->text().size() == length_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &main_ && event->type() == QEvent::Close && !cancelled())
            card_.Command2_Click();
        else if (event->type() == QEvent::Hide)
            check();
        return false;
    }

private:
    bool cancelled() const { return card_.karar == QLatin1String("Kapat") || card_.Frame3->isHidden(); }
    bool finished() const { return cancelled() || card_.Text12->text().size() == length_; }
    void check()
    {
        if (finished())
            loop_.quit();
    }

    Form4& card_;
    QWidget& main_;
    int length_;
    QEventLoop loop_;
};

// The captcha's picture into Data/captcha2.jpg and onto the card.
void showCaptcha(Form4& card, BrowserSession& s)
{
    BrowserSession::bekle(300);
    const QString file = fromPath(programFolder() / "Data" / "captcha2.jpg");
    s.find(xp(smmm::captchaImage)).screenshot(toPath(file));
    QImage picture;
    QFile png(file);
    if (png.open(QIODevice::ReadOnly))
        picture.loadFromData(png.readAll());
    png.close();
    if (picture.isNull())
        throw WebDriverError(browser_error::FileAccess, QStringLiteral("Güvenlik kodu resmi okunamadı: %1").arg(file));
    picture.save(file, "JPG");
    card.Image1->setPixmap(QPixmap::fromImage(picture));
    card.Text12->show();
    card.StatusBar1->setPanel(2, lookup_text::typeCaptcha);
}

// Login pages until one is accepted; false when the user ended the wait.
bool logIn(Form4& card, QWidget& mainWindow, BrowserSession& s, const QString& officeId, const QString& password,
           const LookupLimits& limits)
{
    for (bool first = true;; first = false) {
        if (!first)
            s.driver().navigate(accountantsLoginUrl());
        const QString label = identityLabelXPath(officeId);
        if (!label.isEmpty())
            s.find(xp(label)).click();
        s.find(xp(smmm::officeId)).sendKeys(officeId);
        s.find(xp(smmm::officePassword)).sendKeys(password);
        showCaptcha(card, s);
        {
            CaptchaWait wait(card, mainWindow, limits.captchaLength);
            if (!wait.run())
                return false;
        }
        s.find(xp(smmm::captchaCode)).sendKeys(card.Text12->text());
        s.find(xp(smmm::loginButton)).click();
        BrowserSession::bekle(20);
        if (!s.elemanBekle(xp(smmm::loginError), 1000))
            return true;
        card.StatusBar1->setPanel(2, s.find(xp(smmm::loginError)).text());
        card.Text12->clear();
        BrowserSession::bekle(20);
    }
}

bool appears(BrowserSession& s, const QString& path, const LookupLimits& limits)
{
    for (int i = 0; i < limits.resultPolls; ++i)
        if (s.elemanBekle(xp(path), limits.resultPollMs))
            return true;
    return false;
}

QStringList homeListRows(BrowserSession& s)
{
    QStringList rows;
    for (const Element& row : s.findAll(xp(smmm::homeListRows)))
        rows << row.text();
    return rows;
}

QString institutionTitle(BrowserSession& s, const LookupLimits& limits)
{
    for (int attempt = 0;; ++attempt) {
        try {
            for (const Element& input : s.findAll(Locator::tagName(QStringLiteral("input"))))
                if (input.attribute(QStringLiteral("name")) == smmm::titleInputName)
                    return input.attribute(QStringLiteral("value"));
            return {};
        } catch (const WebDriverError& e) {
            if (attempt >= limits.titleScanTries)
                throw;
            qCInfo(lcSmmmLookup).noquote() << "ünvan alanı yeniden okunuyor:" << e.fullMessage();
            s.elemanBekle(xp(smmm::titleField), limits.resultPollMs);
        }
    }
}

void removeCaptcha(Form4& card)
{
    card.Image1->clear();
    card.Text12->clear();
    card.Text12->hide();
    card.Frame3->hide();
}

// What the portal told about the number; written into the card only at the end.
struct SmmmAnswer {
    bool person = false;
    QString title, name, surname, address, taxOffice, status;
};

void putAnswer(Form4& card, const SmmmAnswer& a)
{
    if (a.person)
        putNames(card, a.name, a.surname);
    else
        putTitle(card, a.title);
    card.Text4->setPlainText(a.address);
    card.Text5->setText(a.taxOffice);
    card.Label14->setText(a.status);
    QPalette colours = card.Label14->palette();
    colours.setColor(QPalette::WindowText, taxpayerStatusColour(a.status));
    card.Label14->setPalette(colours);
}

// From the new list to the logout; false when the result did not come. `answer` is
// set as soon as the result is read, so a failing closing step does not lose it.
bool query(Form4& card, BrowserSession& s, const QString& number, const QString& typeText,
           const LookupLimits& limits, std::optional<SmmmAnswer>& answer)
{
    card.StatusBar1->setPanel(2, lookup_text::started);
    const QStringList listBefore = homeListRows(s);
    s.find(xp(smmm::newList)).click();
    BrowserSession::bekle(20);
    s.find(xp(smmm::addTaxpayer)).click();
    BrowserSession::bekle(20);
    s.find(xp(smmm::typeListButton)).click();
    BrowserSession::bekle(20);
    for (const Element& row : s.findAll(Locator::className(smmm::typeRowClass))) {
        for (const Element& cell : row.findAll(Locator::tagName(QStringLiteral("td")))) {
            if (cell.text() == typeText) {
                cell.click();
                break;
            }
        }
    }
    s.find(xp(smmm::number)).sendKeys(number);
    s.find(xp(smmm::queryButton)).click();
    BrowserSession::bekle(50);

    SmmmAnswer a;
    a.person = typeText == QStringLiteral("Gerçek Kişi");
    if (a.person) {
        if (!appears(s, smmm::resultCell(1), limits))
            return false;
        a.name = s.find(xp(smmm::resultCell(1))).text();
        a.surname = s.find(xp(smmm::resultCell(2))).text();
    } else {
        if (!appears(s, smmm::titleField, limits))
            return false;
        a.title = institutionTitle(s, limits);
    }
    removeCaptcha(card);
    a.address = s.find(xp(smmm::address)).attribute(QStringLiteral("value"));
    a.taxOffice = s.find(xp(smmm::taxOffice)).attribute(QStringLiteral("value"));
    a.status = s.find(xp(smmm::resultCell(4))).text();
    answer = a;

    s.find(xp(smmm::popupClose)).click();
    BrowserSession::bekle(20);
    s.find(xp(smmm::homeLink)).click();
    BrowserSession::bekle(30);
    // Only the list this run made is confirmed away; any other is the user's own.
    const QStringList listAfter = homeListRows(s);
    if (newListIsFirstRow(listBefore, listAfter)) {
        s.find(xp(smmm::firstListAction)).click();
        s.driver().acceptAlert();
        BrowserSession::bekle(40);
    } else {
        qCWarning(lcSmmmLookup).noquote() << "listenin ilk satırı bu sorgunun listesi değil, onaylanmadı:"
                                          << (listAfter.isEmpty() ? QString() : listAfter.first());
    }
    s.find(xp(smmm::logout)).click();
    return true;
}

} // namespace

void Form4::Command5_Click()
{
    if (!lookupStep1())
        return;
    StatusBar1->setPanel(2, QString());
    const QString officeId = main_.smmmID;
    const QString password = main_.smmmPW;
    if (officeId.isEmpty()) {
        StatusBar1->setPanel(2, lookup_text::noOfficeId);
        return;
    }
    if (password.isEmpty()) {
        StatusBar1->setPanel(2, lookup_text::noOfficePassword);
        return;
    }
    Frame3->show();
    if (!Desktop::instance().isOnline()) {
        StatusBar1->setPanel(2, lookup_text::offline);
        return;
    }

    // The road works on the number and type as they were when it started.
    const QString number = Text6->text();
    const QString typeText = companyTypeText(number);
    beginLookup();
    const LookupLimits limits = LookupLimits::fromSettings();
    std::optional<SmmmAnswer> answer;
    {
        BrowserSession s;
        try {
            s.tarayiciBaslat({QStringLiteral("--headless")}, {}, accountantsLoginUrl());
            if (logIn(*this, main_, s, officeId, password, limits) && !query(*this, s, number, typeText, limits, answer))
                StatusBar1->setPanel(2, lookup_text::siteBusy);
        } catch (const std::exception& e) {
            qCWarning(lcSmmmLookup).noquote() << "sorgu yarıda kaldı:" << QString::fromStdString(e.what());
            StatusBar1->setPanel(2, lookup_text::siteBusy);
        }
        s.tarayiciKapat();
    }
    removeCaptcha(*this);
    if (answer && !showsLookedUpCard()) {
        StatusBar1->setPanel(2, lookup_text::cardChanged);
    } else if (answer) {
        // The boxes' change handlers empty panel 2: the outcome is written after them. A
        // closing step that failed after the answer was read takes nothing from it.
        putAnswer(*this, *answer);
        StatusBar1->setPanel(2, lookup_text::done);
    }
    endLookup();
}

} // namespace kuvela
