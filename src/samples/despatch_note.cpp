#include "samples/despatch_note.h"

#include "platform/browser_session.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/settings.h"
#include "platform/webdriver_actions.h"
#include "samples/sample_steps.h"
#include "shell/form9.h"

#include <QLoggingCategory>
#include <utility>
#include <vector>

namespace kuvela {

Q_LOGGING_CATEGORY(lcSamples, "kuvela.samples")

using json = nlohmann::json;

namespace {

// Makes a grid's hidden cell editor visible without moving it into the page.
const QString kEditorStyle = QStringLiteral(
    "position: absolute; z-index: 11000; visibility: visible; left: -10000px; top: -10000px; overflow: hidden;");
const QString kFormLink = QStringLiteral("İrsaliye Oluştur");
const QString kExit = QStringLiteral("//*[@id='ext-gen58']");

// The fixed sample data of the note.
const QString kDate = QStringLiteral("11/12/2022");
const QString kTime = QStringLiteral("14:30");

const std::vector<std::pair<const char*, QString>> kCarrier = {
    {"tasiyiciVkn", QStringLiteral("1234567801")},
    {"tasiyiciUnvan", QStringLiteral("Örnek Nakliyat Ltd. Şti.")},
    {"plaka", QStringLiteral("34 KVL 346")},
    {"toplamTutar", QStringLiteral("0.00")},
    {"siparisNumarasiIrsaliye", QStringLiteral("SIP-2022-0042")},
    {"siparisTarihiIrsaliye", kDate},
    {"sevkTarihiIrsaliye", kDate},
    {"sevkZamaniIrsaliye", kTime},
};
const QString kDriverName = QStringLiteral("Mehmet");
const QString kDriverSurname = QStringLiteral("Öztürk");
const QString kDriverId = QStringLiteral("10000000146");
const QString kTrailerPlate = QStringLiteral("34 DRS 872");
const QString kBuyerVkn = QStringLiteral("9876543210");

const std::vector<std::pair<const char*, QString>> kBuyerStreet = {
    {"aliciSokakIrsaliye", QStringLiteral("Çiçek Sokak")},
    {"aliciBinaAdiIrsaliye", QStringLiteral("Güneş Apartmanı")},
    {"aliciBinaNoIrsaliye", QStringLiteral("12")},
    {"aliciKapiNoIrsaliye", QStringLiteral("3")},
    {"aliciKasabaIrsaliye", QStringLiteral("Kadıköy")},
    {"aliciSemtIrsaliye", QStringLiteral("Moda")},
    {"aliciSehirIrsaliye", QStringLiteral("İstanbul")},
};
const QString kBuyerPostCode = QStringLiteral("34710");
const std::vector<std::pair<const char*, QString>> kBuyerContact = {
    {"aliciTelIrsaliye", QStringLiteral("02163334455")},
    {"aliciFaxIrsaliye", QStringLiteral("02163334456")},
    {"aliciEpostaIrsaliye", QStringLiteral("alici@ornek.com.tr")},
    {"aliciWebSitesiUriIrsaliye", QStringLiteral("www.ornek.com.tr")},
    {"aliciVergiDairesiIrsaliye", QStringLiteral("Kadıköy")},
};
const char* const kDeliveryFields[] = {"teslimatSokakIrsaliye",    "teslimatBinaAdiIrsaliye", "teslimatBinaNoIrsaliye",
                                       "teslimatKapiNoIrsaliye",   "teslimatKasabaIrsaliye",  "teslimatSemtIrsaliye",
                                       "teslimatSehirIrsaliye",    "teslimatPostaKoduIrsaliye", "teslimatUlkeIrsaliye"};

Locator byId(const char* id) { return Locator::id(QString::fromLatin1(id)); }

QString rowCell(const char* grid, int row, int column)
{
    return QStringLiteral("//*[@id='%1']/div[%2]/table/tbody/tr/td[%3]/div")
        .arg(QString::fromLatin1(grid))
        .arg(row)
        .arg(column);
}

// One road's steps under its failure regime: before the first missing link a failure
// ends the road, after it the step is passed over and logged.
class NoteFiller {
public:
    NoteFiller(BrowserSession& session, const DespatchNoteLimits& limits, bool passOver)
        : s_(session), d_(session.driver()), limits_(limits), passOver_(passOver)
    {
    }

    void step(const QString& what, const std::function<void()>& work)
    {
        if (passOver_)
            s_.attempt(what, work);
        else
            work();
    }

    void typeInto(const char* id, const QString& text)
    {
        step(QStringLiteral("%1 alanına yazma").arg(QString::fromLatin1(id)), [&] { s_.find(byId(id)).sendKeys(text); });
    }

    void empty(const char* id)
    {
        step(QStringLiteral("%1 alanını boşaltma").arg(QString::fromLatin1(id)), [&] { s_.find(byId(id)).clear(); });
    }

    void keys(const QString& keys)
    {
        step(QStringLiteral("sayfaya tuş gönderme"), [&] { s_.pressKeys(keys); });
    }

    // Opens the combo and clicks the first list item with the wanted text.
    void combo(const QString& xpath, bool openWithEditorAction, const QString& wanted)
    {
        step(QStringLiteral("%1 seçimi \"%2\"").arg(xpath, wanted), [&] {
            const Element box = s_.find(Locator::xpath(xpath));
            if (openWithEditorAction)
                doubleClick(d_, box);
            else
                box.click();
            for (const Element& item : s_.findAll(Locator::className(QStringLiteral("x-combo-list-item")))) {
                if (item.text() == wanted) {
                    item.click();
                    return;
                }
            }
            qCInfo(lcSamples).noquote() << "listede yok:" << wanted;
        });
    }

    // Opens a grid cell with the editor action and types into its editor, then Tab.
    void gridCell(const QString& cellXpath, const char* editorId, const QString& text, bool thenTab)
    {
        step(QStringLiteral("tablo hücresi %1").arg(cellXpath), [&] {
            doubleClick(d_, s_.find(Locator::xpath(cellXpath)));
            s_.find(byId(editorId)).sendKeys(text);
            if (thenTab)
                s_.pressKeys(Keys::Tab);
        });
    }

    // The line grid's hidden editors: made visible by style until they show, at most
    // editorTries times; the value goes through a page script.
    void lineCell(int line, int column, const char* editorId, const char* valueId, const QString& value,
                  int flipPauseMs)
    {
        const QString cell = rowCell("ext-gen348", line, column);
        const QString what = QStringLiteral("satır %1, hücre %2").arg(line).arg(column);
        step(what, [&] {
            const Element editor = s_.find(byId(editorId));
            for (int tries = 0; tries < limits_.editorTries; ++tries) {
                if (editor.attribute(QStringLiteral("style")).contains(QLatin1String("visibility: visible"))) {
                    doubleClick(d_, s_.find(Locator::xpath(cell)));
                    BrowserSession::bekle(100);
                    d_.executeScript(QStringLiteral("arguments[0].value = arguments[1];"),
                                     json::array({s_.find(byId(valueId)).reference(), value.toStdString()}));
                    BrowserSession::bekle(100);
                    s_.pressKeys(Keys::Tab);
                    BrowserSession::bekle(100);
                    return;
                }
                d_.executeScript(QStringLiteral("arguments[0].setAttribute('style', arguments[1]);"),
                                 json::array({editor.reference(), kEditorStyle.toStdString()}));
                BrowserSession::bekle(flipPauseMs);
            }
            recordSkipped(s_, what,
                          QStringLiteral("Hücre düzenleyicisi %1 denemede açılmadı; hücre atlandı.").arg(limits_.editorTries));
        });
    }

    void unitCell(int line)
    {
        step(QStringLiteral("satır %1, birim").arg(line), [&] {
            s_.find(byId("ext-comp-1052")).find(Locator::tagName(QStringLiteral("img"))).click();
            s_.pressKeys(QStringLiteral("Adet"));
            BrowserSession::bekle(20);
            s_.pressKeys(Keys::ArrowDown);
            s_.pressKeys(Keys::Enter);
            BrowserSession::bekle(100);
            s_.pressKeys(Keys::Tab);
        });
        BrowserSession::bekle(100);
    }

private:
    BrowserSession& s_;
    WebDriver& d_;
    const DespatchNoteLimits& limits_;
    bool passOver_;
};

void fillNote(BrowserSession& session, NoteFiller& f, const DespatchNoteLimits& limits, std::mt19937& random,
              DespatchNoteOutcome& out)
{
    f.step(QStringLiteral("bağlantı \"İrsaliye Oluştur\""), [&] { session.find(Locator::linkText(kFormLink)).click(); });
    BrowserSession::bekle(100);
    f.combo(QStringLiteral("//*[@id='senaryoIrsaliye']"), true, QStringLiteral("Temel İrsaliye"));

    f.step(QStringLiteral("irsaliye tarihi"), [&] {
        session.find(Locator::xpath(QStringLiteral("//*[@id='irsaliyeTarihiIrs']"))).click();
        session.pressKeys(Keys::chord(Keys::Control, QStringLiteral("a")));
        session.find(Locator::xpath(QStringLiteral("//*[@id='irsaliyeTarihiIrs']"))).sendKeys(kDate);
        session.pressKeys(Keys::Tab);
    });
    f.step(QStringLiteral("irsaliye zamanı"), [&] {
        session.find(Locator::xpath(QStringLiteral("//*[@id='irsaliyeZamani']"))).sendKeys(kTime);
        session.pressKeys(Keys::Tab);
    });
    f.combo(QStringLiteral("//*[@id='irsaliyeTipi3']"), false, QStringLiteral("SEVK"));
    for (const auto& [id, text] : kCarrier)
        f.typeInto(id, text);

    // Driver and trailer: one row each.
    f.step(QStringLiteral("şoför satırı ekleme"), [&] { session.find(byId("ext-comp-1059")).click(); });
    f.gridCell(rowCell("ext-gen228", 1, 1), "ext-comp-1032", kDriverName, true);
    BrowserSession::bekle(100);
    f.gridCell(rowCell("ext-gen228", 1, 2), "ext-comp-1033", kDriverSurname, true);
    BrowserSession::bekle(100);
    f.gridCell(rowCell("ext-gen228", 1, 3), "ext-comp-1034", kDriverId, false);
    f.step(QStringLiteral("dorse satırı ekleme"), [&] { session.find(byId("ext-comp-1063")).click(); });
    BrowserSession::bekle(100);
    f.gridCell(rowCell("ext-gen279", 1, 1), "ext-comp-1038", kTrailerPlate, false);

    // Buyer; the portal may answer the tax number with a message box.
    f.empty("aliciAraIrsaliye");
    f.typeInto("aliciVknTcknIrsaliye", kBuyerVkn);
    f.keys(Keys::Tab);
    if (session.elemanBekle(Locator::className(QStringLiteral("ext-mb-content")), limits.boxWaitMs)) {
        f.step(QStringLiteral("ileti kutusu \"Tamam\""), [&] {
            const auto buttons = session.findAll(Locator::xpath(QStringLiteral(
                "//*[contains(concat(' ', normalize-space(@class), ' '), ' x-window-bwrap ')]//td//button")));
            // Texts first: a click closes the box and takes its other buttons with it.
            std::vector<Element> ok;
            for (const Element& b : buttons)
                if (b.text() == QStringLiteral("Tamam"))
                    ok.push_back(b);
            for (const Element& b : ok)
                b.click();
        });
    }
    for (const auto& [id, text] : kBuyerStreet)
        f.typeInto(id, text);
    f.keys(Keys::Enter);
    f.typeInto("aliciPostaKoduIrsaliye", kBuyerPostCode);
    f.step(QStringLiteral("alıcı ülkesi"), [&] {
        const Element country = session.find(byId("aliciUlkeIrsaliye"));
        country.click();
        session.pressKeys(Keys::chord(Keys::Control, QStringLiteral("a")));
        country.sendKeys(QStringLiteral("Türkiye"));
        session.pressKeys(Keys::Enter);
    });
    for (const auto& [id, text] : kBuyerContact)
        f.typeInto(id, text);
    f.keys(Keys::Enter);

    // Delivery address: the portal copies the buyer's, or the fields are emptied.
    bool copied = false;
    f.step(QStringLiteral("\"Alıcı adresini kopyala\""), [&] {
        for (const Element& panel : session.findAll(byId("ext-comp-1041")))
            for (const Element& b : panel.findAll(Locator::tagName(QStringLiteral("button"))))
                if (!copied && b.text() == QStringLiteral("Alıcı adresini kopyala")) {
                    b.click();
                    copied = true;
                }
    });
    if (!copied)
        for (const char* id : kDeliveryFields)
            f.empty(id);

    for (int n = 1; n <= limits.lines; ++n) {
        f.step(QStringLiteral("satır %1 ekleme").arg(n), [&] { session.find(byId("ext-comp-1067")).click(); });
        BrowserSession::bekle(100);
        f.lineCell(n, 2, "ext-comp-1050", "ext-comp-1045", QStringLiteral("Örnek Ürün - %1").arg(n), 100);
        f.lineCell(n, 3, "ext-comp-1051", "ext-comp-1046", QStringLiteral("77"), 100);
        f.unitCell(n);
        const QString price = QString::number(ornekBirimFiyat(random));
        out.unitPrices << price;
        f.lineCell(n, 5, "ext-comp-1053", "ext-comp-1047", price, 200);
    }

    f.step(QStringLiteral("irsaliye notu"), [&] {
        const Element note = session.find(byId("notIrsaliye"));
        note.click();
        const QString now = Clock::instance().now().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
        // Three lines; a typed line break is the page's CR LF.
        note.sendKeys(QStringLiteral("Bu İrsaliye test dataları ile Kuvela v1.3.6 tarafından oluşturuldu. - ") + now +
                      QStringLiteral("\n") +
                      QStringLiteral("Portala irsaliye tuşlamaktan bıktıysan sende Kuvela kullan !\n") + supportMailbox()
                      + QStringLiteral("\n"));
    });
    msgBox(QStringLiteral("İrsaliye başarıyla yüklendi... \r\nTamam butonu ile Portaldan GÜVENLİ ÇIKIŞ yapılacaktır..."),
           MsgIcon::Information);
}

} // namespace

QString testPortalUrl()
{
    QString url = Settings::forProgram()
                      .value(QStringLiteral("testportal/url"), QStringLiteral("https://efaturatest.efatura.gov.tr"))
                      .trimmed();
    while (url.endsWith(u'/'))
        url.chop(1);
    return url;
}

LoginCount irsaliyeGirisi(const LoginSteps& steps, const DespatchNoteLimits& limits)
{
    LoginCount c;
    for (;;) {
        if (c.counter > limits.attemptLimit)
            return c;
        steps.login(c.pastFirstMiss);
        ++c.logins;
        ++c.counter;
        for (;;) {
            ++c.presenceTests;
            if (steps.linkPresent(limits.linkWaitMs)) {
                c.found = true;
                return c;
            }
            c.pastFirstMiss = true;
            if (c.counter <= limits.reloginLimit) {
                ++c.exits;
                steps.exitClick();
                break;
            }
            ++c.counter;
            if (c.counter > limits.attemptLimit)
                return c;
        }
    }
}

int ornekBirimFiyat(std::mt19937& random)
{
    std::uniform_int_distribution<int> hundreds(1, 7);
    return hundreds(random) * 100;
}

std::mt19937& sampleRandom()
{
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

DespatchNoteOutcome ornekIrsaliyeDoldur(BrowserSession& session, const DespatchNoteLimits& limits,
                                        std::mt19937& random)
{
    DespatchNoteOutcome out;
    bool passOver = false;
    auto exitClick = [&] {
        session.attempt(QStringLiteral("portal çıkışı"), [&] { session.find(Locator::xpath(kExit)).click(); });
    };
    try {
        session.tarayiciBaslat(BrowserStart::quietArguments(), {}, QStringLiteral("about:blank"));
        session.driver().maximize();
        LoginSteps steps;
        steps.login = [&](bool pass) {
            NoteFiller f(session, limits, pass);
            f.step(QStringLiteral("test portalı giriş sayfası"),
                   [&] { session.driver().navigate(testPortalUrl() + QLatin1String(TestPortalLoginPath)); });
            f.step(QStringLiteral("giriş bağlantısı"), [&] {
                session.find(Locator::xpath(QStringLiteral("//*[@id='ext-gen9']/div[1]/div[1]/a"))).click();
            });
            BrowserSession::bekle(1000);
            f.step(QStringLiteral("giriş ext-gen31"), [&] { session.find(Locator::id(QStringLiteral("ext-gen31"))).click(); });
            BrowserSession::bekle(1000);
            f.step(QStringLiteral("giriş ext-gen23"), [&] { session.find(Locator::id(QStringLiteral("ext-gen23"))).click(); });
        };
        steps.linkPresent = [&](int ms) { return session.elemanBekle(Locator::linkText(kFormLink), ms); };
        steps.exitClick = exitClick;
        const LoginCount login = irsaliyeGirisi(steps, limits);
        passOver = login.pastFirstMiss;
        out.reachedForm = login.found;
        if (login.found) {
            NoteFiller f(session, limits, passOver);
            fillNote(session, f, limits, random, out);
        } else {
            qCInfo(lcSamples) << "İrsaliye Oluştur bağlantısı" << login.counter << "denemede bulunamadı.";
        }
    } catch (const std::exception& e) {
        const auto* w = dynamic_cast<const WebDriverError*>(&e);
        out.failure = w ? w->fullMessage() : QString::fromUtf8(e.what());
        msgBox(out.failure, MsgIcon::Critical);
        session.tarayiciKapat();
        return out;
    }
    exitClick();
    session.tarayiciKapat();
    return out;
}

} // namespace kuvela
