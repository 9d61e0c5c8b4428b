// "Son Faturayı İndir": the latest issued invoice of the current month, filed from
// the main window, and the main window's own filing routines.
#include "archive/invoice_filing.h"
#include "archive/issued_page.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "shell/form1.h"

#include <QComboBox>
#include <QLineEdit>
#include <stdexcept>

namespace kuvela {

namespace {

PortalInvoiceRow rowOf(const Form1& f)
{
    return {f.gibFatNo, f.gibFatVN, f.gibFatTar, f.gibFatUn, f.gibBelTur, f.gibFatDur, f.gibFatIpt};
}

void store(Form1& f, const PortalInvoiceRow& r)
{
    f.gibFatNo = r.gibFatNo;
    f.gibFatVN = r.gibFatVN;
    f.gibFatTar = r.gibFatTar;
    f.gibFatUn = r.gibFatUn;
    f.gibBelTur = r.gibBelTur;
    f.gibFatDur = r.gibFatDur;
    f.gibFatIpt = r.gibFatIpt;
}

SalesFolders foldersOf(const Form1& f) { return SalesFolders::ofCompany(f.Combo4->currentText()); }

// The filing of the main window, with its outcome for the road.
FilingResult fileLastPackage(Form1& f)
{
    const SalesFolders folders = foldersOf(f);
    if (!awaitPackage(folders.temp(), packageWaitMs()))
        return {};
    PortalInvoiceRow row = rowOf(f);
    FilingResult result = fileInvoicePackage(folders, row, FilingWindow::MainWindow, PackagePick::Last);
    store(f, row);
    f.unzipleBunu = result.package;
    return result;
}


// Sends the road back to its paging pass; the text is the ending when it was the last pass.
struct PackageNotFiled : std::runtime_error {
    explicit PackageNotFiled(const QString& t) : std::runtime_error(t.toStdString()), text(t) {}
    QString text;
};

} // namespace

void Form1::ineniUnziple() { fileLastPackage(*this); }

void Form1::checkinmismi()
{
    setPanel(7, QString());
    const bool hit = isAlreadyFiled(foldersOf(*this).html(), gibFatNo);
    checkResult = hit ? QStringLiteral("1") : QStringLiteral("0");
    if (hit)
        setPanel(7, alreadyFiledText(gibFatNo));
}

void Form1::Command27_Click()
{
    if (user->text().isEmpty() || pass->text().isEmpty()) {
        setPanel(7, QStringLiteral("Kullanıcı adı/şifre girilmemiş...!"));
        return;
    }
    checkConnection();
    if (Ret == 0)
        return;
    setPanel(7, QStringLiteral("...Fatura indirme işlemi sürüyor..."));
    store(*this, {});
    const SalesFolders folders = foldersOf(*this);

    BrowserSession s;
    try {
        const LoginOutcome in = s.portalGiris(lastInvoiceStart(fromPath(folders.temp())), user->text(), pass->text(),
                                              PortalLogin::lastIssuedInvoice(), {[this](const QString& t) {
                                                  if (t != BrowserSession::loggedInText())
                                                      setPanel(7, t);
                                              }});
        if (!in.loggedIn)
            return;  // said on panel 7, the browser quit
    } catch (const WebDriverError& e) {
        setPanel(7, QStringLiteral("Portala girilemedi: ") + e.fullMessage());
        return;
    }

    IssuedPage page(s);
    // A query over another period, or one whose answer never came, says nothing of this
    // month: it must not end as "no invoice this month".
    const bool picked = s.attempt(QStringLiteral("başlangıç tarihi"),
                                  [&] { page.pickDate(QStringLiteral("gen__1024"), {}, {}, QStringLiteral("1"), false); });
    s.attempt(QStringLiteral("Sorgula"), [&] { page.inputByValue(QStringLiteral("Sorgula")).click(); });
    if (!picked || !page.awaitResult(tableWaitMs())) {
        setPanel(7, picked ? QStringLiteral("Sorgu sonucu gelmedi; son fatura indirilemedi.")
                           : QStringLiteral("Ayın ilk günü seçilemedi; son fatura indirilemedi."));
        s.portalCikis();
        return;
    }
    pauseMs(100);
    int pages = 0;
    s.attempt(QStringLiteral("sayfa sayısı"), [&] { pages = page.pageCount(); });

    // The paging pass and everything after it; a failure restarts it once.
    for (int run = 0; run < 2; ++run) {
        try {
            int n = pages;
            do {
                pauseMs(100);
                page.clickNextPage();
                --n;
            } while (n >= 1);
            pauseMs(200);
            const std::vector<Element> rows = page.bodyRows();
            const qsizetype R = qsizetype(rows.size());
            QString status;
            store(*this, {});
            if (R >= 2) {
                const std::vector<RowCell> cells = page.cellsOf(rows[size_t(R - 2)]);
                if (cells.size() >= 8) {
                    store(*this, rowFromCells(cells));
                    if (gibFatDur.endsWith(QLatin1String("emove")))
                        status = QStringLiteral("İPTAL");
                    if (gibFatIpt != QLatin1String("----------"))
                        gibBelTur += u'-' + gibFatIpt;
                }
            }
            if (gibFatNo.isEmpty()) {
                const QString t = QStringLiteral("Sistemde bu aya ait fatura bulunamadı !");
                msgBox(t, MsgIcon::Information);
                setPanel(7, t);
            } else if (status == QStringLiteral("İPTAL")) {
                const QString t = QStringLiteral("Sistemdeki son fatura İPTAL olarak görünmektedir. Bu nedenle indirilemez.");
                msgBox(t, MsgIcon::Information);
                setPanel(7, t);
            } else {
                msgBox(QStringLiteral("Sistemde görünen son Faturanın :\r\nTarihi         : ") + gibFatTar
                           + QStringLiteral("\r\nNumarası  : ") + gibFatNo + QStringLiteral("\r\nAlıcı Vkn   : ") + gibFatVN,
                       MsgIcon::Information, QStringLiteral("Kuvela  -Son Kesilen eArşiv Faturasını İndir"));
                checkinmismi();
                if (checkResult == QLatin1String("1")) {
                    setPanel(7, gibFatNo + QStringLiteral(" nolu Fatura daha önce indirilmiş ...!"));
                    msgBox(gibFatNo + QStringLiteral(" nolu Fatura daha önce indirilmiş !"), MsgIcon::Information);
                } else {
                    const Element last = page.bodyRows().at(size_t(R - 2));
                    if (!page.isTicked(last))
                        last.find(Locator::xpath(QStringLiteral("./td[1]//input"))).click();
                    const QString no = gibFatNo;
                    if (!emptyTempBeforeDownload(folders)) {
                        setPanel(7, tempNotEmptiedText(no));
                    } else {
                        page.inputByValue(QStringLiteral("İndir")).click();
                        pauseMs(200);
                        const FilingResult filed = fileLastPackage(*this);
                        dirgetir();
                        // A package that did not come or could not be opened is fetched again
                        // by the restart; a failed copy is this package's own ending.
                        if (filed.kind == FilingResult::Kind::NoPackage || filed.kind == FilingResult::Kind::Unsafe)
                            throw PackageNotFiled(filingFailureText(no, filed));
                        setPanel(7, filed.filed() ? no + QStringLiteral(" nolu Fatura indirildi ...")
                                                  : filingFailureText(no, filed));
                    }
                }
            }
            break;
        } catch (const PackageNotFiled& e) {
            if (run == 1)
                setPanel(7, e.text);
        } catch (const std::exception& e) {
            if (run == 1)
                setPanel(7, QStringLiteral("Son fatura indirilemedi: ") + QString::fromUtf8(e.what()));
        }
    }
    s.portalCikis();
}

} // namespace kuvela
