// "e-Arşiv": the invoice composed on the main window uploaded to the fake portal in real
// headless chromium, checked field by field against what the page recorded.
#include "portal/upload_window_fixture.h"

#include "invoice/form2.h"
#include "portal/invoice_page_fill.h"
#include "platform/webdriver_process.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <csignal>
#include <iostream>

using namespace kuvela;
using namespace kuvela::test;
using nlohmann::json;

namespace {

const QString kLoggedOut = QStringLiteral("Portaldan Güvenli Çıkış yapıldı.");
const QString kDraftWaits = QStringLiteral("Yüklendi-Taslak Oluştur'u bekliyor");
const QString kMismatch =
    QStringLiteral("Dikkat ! kullanıcı ile mükellef vergi no uyuşmuyor !!! \nprgDATA sayfanızı kontrol edin!!!");

std::string s(const QString& text) { return text.toStdString(); }

// Return references from last year lie before any invoice date of today.
QString lastYear() { return QString::number(QDate::currentDate().year() - 1); }

// A reference as the return-references dialog takes it from the user.
void addReference(Form1& form, const QString& serial, const QString& day, const QString& month)
{
    form.Command5_Click();
    Form2& d = form2(form);
    d.Combo1->setCurrentText(lastYear());
    d.Combo2->setCurrentText(month);
    d.Combo3->setCurrentText(day);
    d.Combo3_LostFocus();
    d.Text1->setText(serial);
    d.Command1->click();
}

QStringList eventTypes(const json& events)
{
    QStringList types;
    for (const auto& e : events)
        types << QString::fromStdString(e.value("type", std::string()));
    return types;
}

// Each row the page recorded against the grid line with the same position, cell by cell.
void expectRowsAreTheGrid(const json& rows, const invoice::LineGrid& grid)
{
    ASSERT_GE(int(rows.size()), grid.rowCount());
    for (int r = 0; r < grid.rowCount(); ++r) {
        SCOPED_TRACE("line " + std::to_string(r + 1));
        const json& row = rows[size_t(r)];
        const char* base[] = {"name", "qty", "unit", "price", "discRate", "discAmt", "net", "vatRate", "vat"};
        for (int c = 0; c < 9; ++c)
            EXPECT_EQ(row[base[c]], s(grid.cell(r, c + 2))) << base[c];
        int next = 11;
        const QString type = grid.columnCount() > 10 ? grid.title(11) : QString();
        if (type == QStringLiteral("Tevkifat Kodu")) {
            EXPECT_EQ(row["wCode"], s(grid.cell(r, 11).left(3)));
            EXPECT_EQ(row["wAmt"], s(grid.cell(r, 13)));
            next = 14;
        } else if (type == QStringLiteral("GTİP")) {
            EXPECT_EQ(row["gtip"], s(grid.cell(r, 11)));
            next = 12;
        } else if (type == QStringLiteral("Özel Matrah Nedeni")) {
            EXPECT_EQ(row["omReason"], s(grid.cell(r, 11).left(3)));
            EXPECT_EQ(row["omAmount"], s(grid.cell(r, 12)));
            next = 13;
        }
        const json& taxes = row["taxes"];
        ASSERT_EQ(int(taxes.size()), (grid.columnCount() - next + 1) / 2);
        for (size_t t = 0; t < taxes.size(); ++t, next += 2) {
            EXPECT_EQ(taxes[t]["code"], s(grid.title(next).left(5)));
            EXPECT_EQ(taxes[t]["rate"], s(grid.cell(r, next)));
            EXPECT_EQ(taxes[t]["amount"], s(grid.cell(r, next + 1)));
        }
    }
}

// A line carrying one extra tax at its rate.
invoice::LineEntryFields withTax(invoice::LineEntryFields f, const QString& tax, const QString& rate)
{
    f.extraTax1 = tax;
    f.extraTax1Rate = rate;
    return f;
}

const Buyer kDeniz{QStringLiteral("9876543210"), QStringLiteral("Deniz Ticaret A.Ş.")};

} // namespace

TEST_F(UploadWindowTest, SatisIsTypedWholeComparedAndLeftAsADraftUntilTheSafeExit)
{
    // The one road timed against its fixed waits: they run at their full length here.
    const ScopedEnv fullTime("KUVELA_TIME_SCALE", "1");
    start();
    invoice(0, kDeniz);
    // Today's rates, 20 % and 10 %, picked from the portal's own list.
    line(withTax(satisLine(QStringLiteral("Vida"), "2", QStringLiteral("Adet"), "100", "10", "20"),
                 QStringLiteral("V4080-Özel İletişim Vergisi%"), "5"));
    line(satisLine(QStringLiteral("Somun \"M8\""), "3", QStringLiteral("Kutu"), "7,5", "0", "10"));
    form->portalTotal->setText(QStringLiteral("999,99"));  // an earlier invoice's figure

    QStringList duringWait;
    std::vector<bool> browserButtons;
    upload([this] { safeExit(); }, [&] {
        duringWait = queueRow();
        QDir().mkpath(QStringLiteral(KUVELA_BINARY_DIR "/screenshots"));
        form->Frame26->grab().save(QStringLiteral(KUVELA_BINARY_DIR "/screenshots/upload_panel_waiting.png"));
        browserButtons = browserStarters();
    });
    ASSERT_TRUE(waited) << s(form->panelText(7)) << '\n' << s(dialogs->texts().join('\n'));
    EXPECT_EQ(skipped(), QString());
    EXPECT_TRUE(dialogs->shown().empty()) << s(dialogs->texts().join('\n'));

    // What the page held when the program logged out: the invoice, field by field.
    const json page = loggedOutForm();
    ASSERT_TRUE(page.is_object()) << portal->events().dump(1);
    EXPECT_EQ(page["N"], 1026);
    EXPECT_EQ(eventTypes(portal->events()),
              (QStringList{"login", "menu", "menu", "menu", "pageOpened", "taxAdded", "rowAdded", "rowAdded", "logout"}));
    // The draft left for the user is one the portal would create.
    EXPECT_TRUE(FakePortal::accepts(page)) << FakePortal::refusalOf(page);
    const json& h = page["header"];
    EXPECT_EQ(h["date"], "01/02/2024");  // typed over the page's own date
    EXPECT_EQ(h["dateDisabled"], false);
    EXPECT_EQ(h["time"], "14:30");
    EXPECT_EQ(h["currency"], "Türk Lirası");
    EXPECT_EQ(h["rate"], "");
    EXPECT_EQ(h["type"], "SATIS");
    EXPECT_EQ(h["vkn"], "9876543210");
    EXPECT_EQ(h["title"], "Deniz Ticaret A.Ş.");
    EXPECT_EQ(h["name"], "");
    EXPECT_EQ(h["surname"], "");
    EXPECT_EQ(h["taxOffice"], "Kadıköy");
    EXPECT_EQ(h["country"], "Türkiye");
    EXPECT_EQ(h["address"], "Moda Cad. 5 İstanbul");
    EXPECT_EQ(h["irsNo"], "");
    EXPECT_EQ(h["note"], s(form->Text6->toPlainText() + u'\n'));
    EXPECT_EQ(page["taxes"], json::array({"V4080"}));
    EXPECT_TRUE(page["returns"].empty());
    ASSERT_EQ(page["rows"].size(), 2u);
    expectRowsAreTheGrid(page["rows"], lineGrid(*form));
    // 180 + 9 + 36 of the first line, 22,50 + 2,25 of the second: the portal's own arithmetic.
    EXPECT_EQ(page["totals"]["vergilerDahilToplamTutar"], "249,75");
    EXPECT_EQ(page["rows"][0]["vatRate"], "20");
    EXPECT_EQ(page["rows"][1]["vatRate"], "10");

    // The log: the page's ETTN, both totals equal, the draft waiting.
    EXPECT_EQ(duringWait, (QStringList{"1", QString::fromStdString(page["ettn"]), "01/02/2024", "9876543210",
                                       "Kadıköy", "Deniz Ticaret A.Ş.", "Moda Cad. 5 İstanbul", "249,75", "0,00",
                                       "", kDraftWaits}));
    EXPECT_EQ(form->portalTotal->text(), "249,75");
    EXPECT_EQ(form->ListView3->headerItem()->text(8), "Fark");
    // No second portal session could start while the draft waited.
    EXPECT_EQ(browserButtons, std::vector<bool>(6, false));
    EXPECT_TRUE(form->Command12->isEnabled());

    EXPECT_EQ(form->Text28->toPlainText(), kLoggedOut);
    EXPECT_EQ(form->panelText(7), kLoggedOut);
    EXPECT_TRUE(form->karar.isEmpty());
    EXPECT_TRUE(form->Command50->isHidden());
    EXPECT_TRUE(form->Label25->text().startsWith(QStringLiteral("Yükleme Süresi: ")));
    EXPECT_TRUE(form->Label25->text().endsWith(QStringLiteral(" Saniye")));
    EXPECT_TRUE(browserProcessesGone());
    const auto& ps = form->state<PortalState>();
    std::cout << "[ timing ] single upload " << ps.lastUploadSeconds << " s, fixed waits " << ps.lastFixedWaitsMs
              << " ms\n";
    EXPECT_GE(ps.lastUploadSeconds * 1000, double(ps.lastFixedWaitsMs));

    // A tax the portal does not offer shifts the second line's cells: the page's total
    // is "NaN", which is no match but a comparison that failed, and said so.
    portalListWithout("taxes", "V0073");
    invoice(0, kDeniz);
    line(withTax(satisLine(QStringLiteral("Kola"), "2", QStringLiteral("Adet"), "100", "0", "18"),
                 QStringLiteral("V0073-ÖTV 3.Liste%"), "10"));
    line(satisLine(QStringLiteral("Gazoz"), "1", QStringLiteral("Adet"), "50", "0", "18"));
    QString waitingText;
    upload([this] { safeExit(); }, [&] { waitingText = form->panelText(7); });
    ASSERT_TRUE(waited);
    const json shifted = loggedOutForm();
    EXPECT_EQ(shifted["totals"]["vergilerDahilToplamTutar"], "NaN");
    EXPECT_FALSE(FakePortal::accepts(shifted));
    EXPECT_EQ(queueRow()[8], QStringLiteral("Karşılaştırılamadı"));
    EXPECT_TRUE(waitingText.contains(QStringLiteral("portalın toplamı okunamadı!"))) << s(waitingText);
    EXPECT_TRUE(form->panelText(7).endsWith(QStringLiteral(" (portalın toplamı okunamadı)"))) << s(form->panelText(7));
}

TEST_F(UploadWindowTest, IadeOnAPageNumberedElsewhereFindsItsReturnRowsAndShowsThePortalsWords)
{
    // N = 1126 and a table without its header row, so the add-line loop makes a row more.
    start({{"idStart", 1100}, {"tableHeaderInBody", false}});
    invoice(1, {QStringLiteral("12345678901"), QStringLiteral("Ahmet Can Yılmaz")});
    line(satisLine(QStringLiteral("İade Vida"), "4", QStringLiteral("Adet"), "12,5", "0", "18"));
    line(satisLine(QStringLiteral("İade Somun"), "1", QStringLiteral("Paket"), "30", "5", "8"));
    const QString first = QStringLiteral("GIB") + lastYear() + QStringLiteral("000000001");
    const QString last = QStringLiteral("GIB") + lastYear() + QStringLiteral("000000002");
    addReference(*form, first, "15", "03");
    addReference(*form, QStringLiteral("ABC12345"), "01", "02");
    addReference(*form, last, "28", "02");
    form->Text8->setText(QDate::currentDate().toString(QStringLiteral("dd'/'MM'/'yyyy")));
    ASSERT_EQ(form2(*form).references().size(), 3) << s(form2(*form).panelText(2));
    dialogs->clear();

    upload([this] { safeExit(); });
    ASSERT_TRUE(waited) << s(form->panelText(7));
    EXPECT_EQ(dialogs->texts(), QStringList{QStringLiteral("Fatura numarası 16 karakter olmalıdır.")});
    ASSERT_FALSE(dialogs->shown().empty());
    EXPECT_EQ(dialogs->shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(skipped(), QString());

    const json page = loggedOutForm();
    ASSERT_TRUE(page.is_object());
    EXPECT_EQ(page["N"], 1126);
    EXPECT_EQ(page["header"]["type"], "IADE");
    EXPECT_EQ(page["header"]["title"], "");
    EXPECT_EQ(page["header"]["name"], "Ahmet Can");
    EXPECT_EQ(page["header"]["surname"], "Yılmaz");
    const json returns = json::array({{{"no", s(first)}, {"date", s("15/03/" + lastYear())}},
                                      {{"no", "ABC12345"}, {"date", s("01/02/" + lastYear())}},
                                      {{"no", s(last)}, {"date", s("28/02/" + lastYear())}}});
    EXPECT_EQ(page["returns"], returns);
    // Two valid references: the refused one does not stop the draft.
    EXPECT_TRUE(FakePortal::accepts(page)) << FakePortal::refusalOf(page);
    const auto added = portal->events("returnRowAdded");
    ASSERT_EQ(added.size(), 3u);
    EXPECT_EQ(added[0]["id"], 1245);
    // Two lines asked for, three rows made; the walk fills two and leaves the spare.
    ASSERT_EQ(page["rows"].size(), 3u);
    expectRowsAreTheGrid(page["rows"], lineGrid(*form));
    EXPECT_EQ(page["rows"][2]["name"], "");
    EXPECT_EQ(queueRow()[8], "0,00");
    EXPECT_EQ(queueRow()[7], QString::fromStdString(page["totals"]["vergilerDahilToplamTutar"]));
    // The pop-up was closed after its words were shown.
    EXPECT_EQ(portal->events("popup").size(), 1u);
}

TEST_F(UploadWindowTest, WithholdingAndSpecialBaseLinesConfirmThePortalsPopUps)
{
    start();
    invoice(2, {QStringLiteral("9876543210"), QStringLiteral("Deniz Ticaret A.Ş.")});
    auto full = satisLine(QStringLiteral("Danışmanlık"), "1", QStringLiteral("Adet"), "100", "0", "18");
    full.withholdingItem = QStringLiteral("801 % 100");
    full.withholdingRate = "100";
    line(full);
    auto part = satisLine(QStringLiteral("Temizlik"), "2", QStringLiteral("Adet"), "100", "10", "18");
    part.withholdingItem = QStringLiteral("602 % 90");
    part.withholdingRate = "90";
    line(part);
    upload([this] { safeExit(); });
    ASSERT_TRUE(waited);
    EXPECT_EQ(skipped(), QString());
    json page = loggedOutForm();
    EXPECT_EQ(page["header"]["type"], "TEVKIFAT");
    EXPECT_EQ(page["taxes"], json::array({"V9015"}));
    expectRowsAreTheGrid(page["rows"], lineGrid(*form));
    EXPECT_EQ(page["rows"][1]["wAmt"], "29,16");
    EXPECT_TRUE(FakePortal::accepts(page)) << FakePortal::refusalOf(page);
    EXPECT_EQ(queueRow()[7], "330,40");
    EXPECT_EQ(queueRow()[8], "0,00");
    auto popups = portal->events("popup");
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0]["text"], "Tam tevkifat kodu seçildi, onaylıyor musunuz?");

    portal->resetEvents();
    invoice(4, {QStringLiteral("9876543210"), QStringLiteral("Deniz Ticaret A.Ş.")});
    auto special = satisLine(QStringLiteral("Bilet"), "1", QStringLiteral("Adet"), "100", "0", "18");
    special.specialReason = QStringLiteral("801-Milli Piyango, Spor Toto vb. Oyunlar");
    special.specialAmount = "50";
    line(special);
    upload([this] { safeExit(); });
    ASSERT_TRUE(waited);
    EXPECT_EQ(skipped(), QString());
    page = loggedOutForm();
    EXPECT_EQ(page["header"]["type"], "OZELMATRAH");
    expectRowsAreTheGrid(page["rows"], lineGrid(*form));
    EXPECT_EQ(page["totals"]["vergilerDahilToplamTutar"], "109,00");
    EXPECT_EQ(queueRow()[8], "0,00");
    EXPECT_TRUE(FakePortal::accepts(page)) << FakePortal::refusalOf(page);
    popups = portal->events("popup");
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0]["text"], "Özel matrah tutarını giriniz.");

    // A withholding code the portal does not offer: the choice fails, the totals still
    // match, and the draft left for the user is one the portal refuses.
    portalListWithout("withholding", "602");
    invoice(2, {QStringLiteral("9876543210"), QStringLiteral("Deniz Ticaret A.Ş.")});
    line(part);
    upload([this] { safeExit(); });
    ASSERT_TRUE(waited);
    page = loggedOutForm();
    EXPECT_EQ(page["rows"][0]["wCode"], "");
    EXPECT_EQ(queueRow()[8], "0,00");
    EXPECT_EQ(FakePortal::refusalOf(page), "1. satır: tevkifat kodu seçilmelidir.");
    EXPECT_TRUE(skipped().contains(QStringLiteral("602"))) << s(skipped());
}

TEST_F(UploadWindowTest, ForeignCurrencyDespatchNoteAndAPersonThePortalKnewOtherwise)
{
    start({{"taxpayerVkn", "5555555555"},
           {"lookup",
            {{"12345678901", {{"title", "ESKİ UNVAN"}, {"name", "Eski"}, {"surname", "Ad"}, {"taxOffice", "Eski VD"}}}}}});
    invoice(0, {QStringLiteral("12345678901"), QStringLiteral("Ayşe·Nur Demir")});
    line(satisLine(QStringLiteral("Çeviri"), "1", QStringLiteral("Saat"), "40", "0", "18"));
    form->Combo2->setCurrentText(QStringLiteral("Euro"));
    form->Text7->setText(QStringLiteral("30,5"));
    form->Text11->setText(QStringLiteral("IRS0001"));
    form->Text10->setText(QStringLiteral("10/02/2024"));
    form->Text8->clear();

    // The panel's own "X" ends the wait as well.
    upload([this] { form->Command55->click(); });
    ASSERT_TRUE(waited);
    ASSERT_EQ(dialogs->texts(), QStringList{kMismatch});
    EXPECT_EQ(dialogs->shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(skipped(), QString());

    const json h = loggedOutForm()["header"];
    EXPECT_EQ(h["date"], s(QDate::currentDate().toString(QStringLiteral("dd'/'MM'/'yyyy"))));
    EXPECT_EQ(form->Text8->text(), QString::fromStdString(h["date"]));
    EXPECT_EQ(h["currency"], "Euro");
    EXPECT_EQ(h["rate"], "30,5");
    EXPECT_EQ(h["irsNo"], "IRS0001");
    EXPECT_EQ(h["irsDate"], "10/02/2024");
    // The page's own record of the number is replaced, an empty title included.
    EXPECT_EQ(h["title"], "");
    EXPECT_EQ(h["name"], "Ayşe·Nur");
    EXPECT_EQ(h["surname"], "Demir");
    EXPECT_EQ(h["taxOffice"], "Kadıköy");
    EXPECT_EQ(queueRow()[8], "0,00");
    EXPECT_TRUE(FakePortal::accepts(loggedOutForm())) << FakePortal::refusalOf(loggedOutForm());
    EXPECT_EQ(form->Text28->toPlainText(), kLoggedOut);
    EXPECT_TRUE(form->Frame26->isHidden());
    EXPECT_FALSE(form->Command31->isEnabled());
    EXPECT_FALSE(form->Check4->isChecked());
    EXPECT_FALSE(disabledItself(form->Check6));
}

TEST_F(UploadWindowTest, TheEditorsFiguresAreThePortalsToTheKurus)
{
    start();
    form->prmYazStr = QStringLiteral("E");
    auto at = [](const char* q, const char* p, const char* d, const char* v, const char* otv = "",
                 const char* withheld = "", const char* special = "") {
        invoice::LineEntryFields f = satisLine(QStringLiteral("Mal"), q, QStringLiteral("Adet"), p, d, v);
        f.extraTax1 = *otv ? QStringLiteral("V0071-ÖTV 1.LİSTE%") : QString();
        f.extraTax1Rate = otv;
        f.withholdingItem = QString::fromUtf8(withheld);
        f.withholdingRate = f.withholdingItem.right(2);
        f.specialReason = *special ? QStringLiteral("801-Milli Piyango, Spor Toto vb. Oyunlar") : QString();
        f.specialAmount = special;
        return f;
    };
    // Each total worked by hand the portal's way: every amount rounded once, half away from zero.
    const struct { const char* what; int type; std::vector<invoice::LineEntryFields> lines; const char* total; } cases[] = {
        {"discount 1,625 -> 1,63: 3 x (30,87 + 6,17)", 0, std::vector(3, at("1", "32,5", "5", "20")), "111,12"},
        {"ÖTV 123,46 in the VAT base: 2.592,58 x 20 % = 518,516 -> 518,52", 0, {at("2", "1234,56", "0", "20", "5")}, "3.111,10"},
        {"70 % of the 220,00 VAT with its ÖTV withheld: 154,00", 2, {at("1", "1000", "0", "20", "10", "603 % 70")}, "1.320,00"},
        {"net 18,375 -> 18,38, discount 1,635 -> 1,64: 18,38 + 1,84 + 31,06 + 6,21", 0,
         {at("1,5", "12,25", "0", "10"), at("1", "32,7", "5", "20")}, "57,49"},
        {"return: discount 5,625 -> 5,63, VAT 0,045 -> 0,05: 50,62 + 4,05 + 0,45 + 0,05", 1,
         {at("3", "18,75", "10", "8"), at("1", "0,45", "0", "10")}, "55,17"},
        {"special base: 18,045 -> 18,05", 4, {at("1", "100", "0", "18", "", "", "100,25")}, "118,05"},
        {"goods the sum of the lines' amounts: 3 x 0,17 (0,333 x 0,5)", 0, std::vector(3, at("0,333", "0,5", "0", "20")), "0,60"},
    };
    auto shown = [this](const char* label) {
        const auto found = form->ListView2->findItems(QString::fromUtf8(label), Qt::MatchExactly, 1);
        return found.size() == 1 ? found[0]->text(2).toStdString() : std::string("(yok)");
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        invoice(c.type, kDeniz);
        for (const invoice::LineEntryFields& f : c.lines)
            line(f);
        upload([this] { safeExit(); });
        const json page = loggedOutForm();
        ASSERT_TRUE(waited && page.is_object());
        expectRowsAreTheGrid(page["rows"], lineGrid(*form));
        EXPECT_EQ(page["totals"]["vergilerDahilToplamTutar"], c.total);
        EXPECT_EQ(queueRow()[8], "0,00");
        EXPECT_EQ(shown("GENEL TOPLAM :"), c.total);
        EXPECT_EQ(shown("KDV Toplamı :"), page["totals"]["hesaplananKdv"]);
        EXPECT_EQ(shown("Mal / Hizmet Bedeli Toplamı :"), page["totals"]["malHizmetToplamTutari"]);
        EXPECT_EQ(shown(c.type == 2 ? "Ödenecek Tutar :" : "GENEL TOPLAM :"), page["totals"]["odenecekTutar"]);
        EXPECT_TRUE(form->Text6->toPlainText().endsWith(QStringLiteral("Yalnız:") + form->YAZIYTL(c.total)));
        portal->resetEvents();
    }
}

TEST_F(UploadWindowTest, IdsPastTenThousandAreFollowedAndABrowserClosedByHandIsNoLogout)
{
    start({{"idStart", 9900}, {"idJumpPerPage", 100}});
    invoice(0, kDeniz);
    line(withTax(satisLine(QStringLiteral("Vida"), "2", QStringLiteral("Adet"), "100", "10", "18"),
                 QStringLiteral("V0071-ÖTV 1. Liste%"), "12,5"));
    // The user shuts the browser by hand while the draft waits.
    upload([this] { safeExit(); }, [] { closeBrowserByHand(); });
    ASSERT_TRUE(waited);
    const auto opened = portal->events("pageOpened");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0]["N"], 10026);
    // Every step up to the wait found its element on the page numbered past 10000.
    const auto& steps = form->state<PortalState>().lastSkipped;
    ASSERT_FALSE(steps.empty());
    EXPECT_TRUE(steps.back().what.contains(QStringLiteral("gen__1008"))) << s(skipped());
    for (const SkippedStep& st : steps)
        EXPECT_TRUE(st.what.contains(QStringLiteral("gen__1008"))) << s(skipped());
    // A tax that enters the VAT base, computed alike on both sides.
    EXPECT_EQ(queueRow()[8], "0,00");
    EXPECT_EQ(queueRow()[7], "238,95");
    // No logout happened, so none is reported; nothing is left running.
    EXPECT_TRUE(portal->events("logout").empty());
    EXPECT_EQ(form->Text28->toPlainText(), QStringLiteral("Portaldan çıkış yapılamadı; tarayıcı kapatıldı."));
    EXPECT_NE(form->panelText(7), kLoggedOut);
    EXPECT_TRUE(browserProcessesGone());
}

TEST_F(UploadWindowTest, APageThatAddsNoRowsIsTriedBoundedlyAndClosingTheWindowLogsOut)
{
    start({{"omitAddLine", true}});
    invoice(0, kDeniz);
    line(satisLine(QStringLiteral("Vida"), "2", QStringLiteral("Adet"), "100", "10", "18"));
    QString doneText;
    upload([this] { form->close(); }, [&] { doneText = form->panelText(7); });
    ASSERT_TRUE(waited);
    // One click per line and the bounded extra tries, all missed, then the limit noted.
    const auto& steps = form->state<PortalState>().lastSkipped;
    // A portal that changed never looks like a clean upload: the count, then each step.
    const QString n = QString::number(steps.size());
    EXPECT_EQ(doneText, QStringLiteral("Yükleme tamamlandı, ancak %1 adım yapılamadı! Faturayı portalda kontrol ediniz.").arg(n));
    EXPECT_EQ(form->panelText(7),
              kLoggedOut + QStringLiteral(" (%1 adım yapılamadı, ayrıntılar yükleme panelinde)").arg(n));
    const QStringList log = form->Text28->toPlainText().split(u'\n');
    ASSERT_EQ(log.size(), 2 + steps.size()) << s(form->Text28->toPlainText());
    EXPECT_EQ(log[0], kLoggedOut);
    EXPECT_EQ(log[1], QStringLiteral("Portalda yapılamayan adımlar (portal değişmiş olabilir):"));
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_TRUE(log[int(i) + 2].startsWith(QStringLiteral("- ") + steps[i].what + QStringLiteral(": ")))
            << s(log[int(i) + 2]);
    int addLine = 0;
    for (const SkippedStep& st : steps)
        addLine += st.what == QStringLiteral("tıklama gen__1089") ? 1 : 0;
    EXPECT_EQ(addLine, 1 + 3) << s(skipped());
    EXPECT_TRUE(skipped().contains(QStringLiteral("satır ekleme |"))) << s(skipped());
    // No row on the page: the portal's total is 0 and the difference says so.
    EXPECT_EQ(queueRow()[8], "-212,40");
    EXPECT_EQ(FakePortal::refusalOf(portal->events("logout").at(0)["form"]), "En az bir mal/hizmet satırı girilmelidir.");
    EXPECT_EQ(portal->events("logout").size(), 1u);
    EXPECT_EQ(end->codes, std::vector<int>{0});
    EXPECT_TRUE(browserProcessesGone());
}

TEST_F(UploadWindowTest, RefusalsBeforeTheBrowser)
{
    start();
    invoice(0, kDeniz);
    form->Frame21->setEnabled(true);
    form->Command12->click();
    EXPECT_EQ(dialogs->texts(), QStringList{QStringLiteral("Fatura satırlarında veri yok!")});
    EXPECT_FALSE(form->Frame21->isEnabled());

    // A type past the portal's six has no portal value and no totals: nothing is sent.
    invoice(6, kDeniz);
    line(satisLine(QStringLiteral("Oda"), "2", QStringLiteral("Gün"), "500", "0", "10"));
    ASSERT_EQ(typeText, QStringLiteral("KONAKLAMA VERGİSİ"));
    dialogs->clear();
    upload([this] { safeExit(); });
    EXPECT_EQ(form->panelText(7), QStringLiteral("Bu fatura türü portala yüklenemez !"));
    EXPECT_TRUE(dialogs->shown().empty());
    EXPECT_TRUE(portal->events().empty());

    invoice(0, kDeniz);
    line(satisLine(QStringLiteral("Vida"), "2", QStringLiteral("Adet"), "100", "10", "18"));
    dialogs->clear();
    form->pass->clear();
    form->Command12->click();
    EXPECT_EQ(form->panelText(7), QStringLiteral("Portal kullanıcı bilgileri girilmemiş..!"));

    form->pass->setText(kPortalPass);
    static_cast<RecordingDesktop&>(Desktop::instance()).online = false;
    form->Command12->click();
    EXPECT_EQ(form->panelText(8), QStringLiteral("OFF"));
    EXPECT_EQ(form->panelText(7), QStringLiteral("İnternete bağlı değilsiniz...!"));
    EXPECT_TRUE(dialogs->shown().empty());
    EXPECT_TRUE(portal->events().empty());
    EXPECT_TRUE(form->ListView3->topLevelItemCount() == 0);

    // A browser that is not there stops the road with its message, before any login.
    static_cast<RecordingDesktop&>(Desktop::instance()).online = true;
    qputenv("KUVELA_BROWSER_BINARY", "/yok/chromium");
    form->Command12->click();
    qunsetenv("KUVELA_BROWSER_BINARY");
    ASSERT_EQ(dialogs->shown().size(), 1u);
    EXPECT_EQ(dialogs->shown()[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(dialogs->texts()[0].contains(QStringLiteral("/yok/chromium"))) << s(dialogs->texts()[0]);
    EXPECT_TRUE(dialogs->texts()[0].contains(QStringLiteral(" Hata No: ")));
    // The waiting text would say the login still runs.
    EXPECT_EQ(form->panelText(7), dialogs->texts()[0]);
    EXPECT_TRUE(form->Command12->isEnabled());
    EXPECT_TRUE(browserProcessesGone());
}

TEST_F(UploadWindowTest, AWrongPasswordEndsAfterThePollsWithNothingOpen)
{
    start({{"password", "başka"}});
    invoice(0, kDeniz);
    line(satisLine(QStringLiteral("Vida"), "2", QStringLiteral("Adet"), "100", "10", "18"));
    const test::NothingComes noLanding;
    upload([this] { safeExit(); });
    EXPECT_FALSE(waited);
    EXPECT_EQ(form->panelText(7), QStringLiteral("Giriş yapılamıyor... Daha sonra tekrar deneyiniz..."));
    EXPECT_TRUE(dialogs->shown().empty());
    EXPECT_EQ(eventTypes(portal->events()), QStringList{QStringLiteral("loginFailed")});
    EXPECT_EQ(form->ListView3->topLevelItemCount(), 0);
    EXPECT_TRUE(form->Frame26->isHidden());
    EXPECT_TRUE(form->Command12->isEnabled());
    EXPECT_TRUE(browserProcessesGone());
}

TEST(InvoicePageFill, APageWithoutTheFieldsGivesTheFreshBaseNoTotalAndNoLines)
{
    FakePortal portal;
    BrowserSession session;
    session.tarayiciBaslat(BrowserStart::quietArguments(), {}, portal.url(QStringLiteral("/surucu.html")));
    portal::RoadWaits wait;
    std::vector<int> tries;
    const auto id = portal::readDateContainerId(session, 3, 10, wait, [&](int t) { tries.push_back(t); });
    EXPECT_FALSE(id);
    EXPECT_EQ(tries, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(wait.totalMs(), 30);
    EXPECT_EQ(portal::baseIdOr1026(id), 1026);
    // The page's only td[rel] is another total: nothing is read, and the miss is recorded.
    EXPECT_EQ(portal::readGrandTotal(session), QString());
    EXPECT_TRUE(portal::readLineElements(session, portal::PageMap{}).empty());
    ASSERT_EQ(session.skippedSteps().size(), 1u);
    EXPECT_TRUE(session.skippedSteps()[0].what.contains(QStringLiteral("genel toplam")));
}
