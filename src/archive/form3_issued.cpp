// "Kesilenleri İndir": every e-Arşiv invoice the company issued in the chosen month,
// downloaded page by page, filed, and written into the download report.
#include "archive/download_companies.h"
#include "archive/download_period.h"
#include "archive/download_report.h"
#include "archive/form3.h"
#include "archive/invoice_filing.h"
#include "archive/issued_page.h"
#include "shell/dialog_window.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/paths.h"
#include "platform/workbook.h"
#include "shell/form1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QProgressBar>

namespace kuvela {

Q_LOGGING_CATEGORY(lcIssued, "kuvela.archive.issued")

namespace {

struct RunCounts {
    int filed = 0, alreadyFiled = 0, cancelled = 0, failed = 0;
    QString text() const
    {
        return QStringLiteral(" İndirilen: %1, Önceden indirilmiş: %2, İptal: %3, Hatalı: %4")
            .arg(filed)
            .arg(alreadyFiled)
            .arg(cancelled)
            .arg(failed);
    }
};

} // namespace

void Form3::Command2_Click()
{
    Form1& m = main_;
    auto progress = [this](int v) {
        ProgressBar1->setVisible(true);
        ProgressBar1->setValue(v);
    };

    m.Ret = Desktop::instance().isOnline() ? 1 : 0;
    if (m.Ret == 0) {
        m.setPanel(8, QStringLiteral("OFF"));
        m.setPanel(7, QStringLiteral("İnternete bağlı değilsiniz...!"));
        return;
    }
    m.setPanel(8, QStringLiteral("ON"));
    if (!tarihAyarla())
        return;
    const SalesFolders folders = SalesFolders::ofCompany(msg);
    std::error_code ec;
    std::filesystem::create_directories(folders.root / toPath(ayveyil), ec);

    // Credentials of this company only: a stale pair would file another account's invoices here.
    user.clear();
    pass.clear();
    if (m.prgMOD->text().toUpper() == QLatin1String("S")) {
        user = m.user->text();
        pass = m.pass->text();
    } else {
        try {
            const DownloadCompany c = credentialsOf(readDownloadCompanies(downloadDataWorkbook()), msg);
            user = c.user;
            pass = c.pass;
        } catch (const WorkbookError& e) {
            setStatus(QStringLiteral("Firma bilgileri okunamadı: ") + e.message());
            return;
        }
    }
    if (user.isEmpty() || pass.isEmpty()) {
        setStatus(QStringLiteral("Tanımlar bölümüne Portal kullanıcı adı/şifresi girilmelidir..!"));
        return;
    }

    setStatus(QStringLiteral("Fatura indirme işlemi başlıyor..."));
    const auto period = periodOf(msg2);
    const QString year = QString::number(period->year);
    const QString monthAbbr = monthAbbreviation(period->month);

    BrowserSession s;
    LoginOutcome login;
    try {
        login = s.portalGiris(issuedMonthStart(fromPath(folders.temp())), user, pass, PortalLogin::issuedInvoicesOfMonth(),
                              {[this](const QString& t) { setStatus(t); }, [&](int) { progress(5); }});
    } catch (const WebDriverError& e) {
        setStatus(QStringLiteral("Portala girilemedi: ") + e.fullMessage());
        ProgressBar1->hide();
        return;
    }
    if (!login.loggedIn) {
        ProgressBar1->hide();
        return;  // the text is in panel 2, the browser quit
    }

    IssuedPage page(s);
    // A query over the portal's own dates would file another period under this month.
    const bool picked =
        s.attempt(QStringLiteral("başlangıç tarihi"),
                  [&] { page.pickDate(QStringLiteral("gen__1024"), monthAbbr, year, QStringLiteral("1"), true); })
        && s.attempt(QStringLiteral("bitiş tarihi"), [&] {
               page.pickDate(QStringLiteral("gen__1025"), monthAbbr, year, QString::number(period->lastDay), true);
           });
    if (!picked) {
        setStatus(QStringLiteral("Dönem tarihleri seçilemedi; indirme yapılmadı."));
        s.portalCikis();
        ProgressBar1->hide();
        return;
    }
    progress(10);
    s.attempt(QStringLiteral("Sorgula"), [&] { page.inputByValue(QStringLiteral("Sorgula")).click(); });
    progress(15);
    const bool resultCame = page.awaitResult(tableWaitMs());
    QString downloadId;
    s.attempt(QStringLiteral("İndir düğmesi"), [&] { downloadId = page.inputByValue(QStringLiteral("İndir")).attribute(QStringLiteral("id")); });
    progress(20);
    int pages = 0;
    s.attempt(QStringLiteral("sayfa sayısı"), [&] { pages = page.pageCount(); });
    pages = std::max(pages, 1);
    progress(25);

    if (preview_)
        preview_->deleteLater();
    preview_ = nullptr;
    if (Check4->isChecked()) {
        preview_ = new DownloadReportPreview(this);
        preview_->show();
    }
    DownloadReport report(preview_);
    progress(30);
    progress(35);

    RunCounts counts;
    QString note;
    bool ended = !resultCame;
    if (!resultCame)
        note = QStringLiteral("Sorgu sonucu gelmedi; indirme yapılamadı.");
    for (int left = pages; !ended;) {
        report.newPage();
        int r = 0;
        s.attempt(QStringLiteral("tablo başlığı"), [&] { r = page.headRowCount(); });
        std::vector<Element> rows;
        s.attempt(QStringLiteral("tablo satırları"), [&] { rows = page.bodyRows(); });
        // The page's rows read in one go; a row that read gives none of is read alone.
        std::vector<std::vector<RowCell>> read;
        try {
            read = page.cellsOfRows(rows);
        } catch (const std::exception&) {
        }
        for (size_t i = 0; i < rows.size(); ++i) {
            const Element& tr = rows[i];
            ++r;
            row = {};
            rptStr.clear();
            rptFatName.clear();
            std::vector<RowCell> cells;
            if (i < read.size())
                cells = read[i];
            else if (!s.attempt(QStringLiteral("satır %1 okunamadı").arg(r), [&] { cells = page.cellsOf(tr); })) {
                ++counts.failed;
                continue;
            }
            if (cells.empty())
                continue;  // a row without cells only uses up its number
            if (cells.size() >= 2 && cells[1].text.isEmpty()) {
                ended = true;  // an empty number ends the whole download
                break;
            }
            for (size_t c = 0; c < cells.size(); ++c)
                report.setCell(r, int(c) + 1, cells[c].text);
            if (cells.size() < 8 || !cells[6].iconClass) {
                qCWarning(lcIssued).noquote() << "satır" << r << "atlandı: numara ya da durum hücresi okunamadı";
                ++counts.failed;
                continue;
            }
            row = rowFromCells(cells);
            if (row.gibFatIpt == QLatin1String("----------")) {
                row.gibFatIpt.clear();
            } else {
                row.gibBelTur += u'-' + row.gibFatIpt;
            }
            rptStr = reportStatusText(cells[7].text);
            rptFatName = reportFileName(row.gibFatNo, rptStr);

            // Never leave a row ticked: the next "İndir" must see only its own row.
            auto untick = [&] {
                for (int i = 0; i < 2; ++i) {
                    bool ticked = false;
                    s.attempt(QStringLiteral("seçim okunamadı"), [&] { ticked = page.isTicked(tr); });
                    if (!ticked)
                        break;
                    s.attempt(QStringLiteral("seçimin kaldırılması"), [&] { page.clickCell(tr, i == 0 ? 8 : 1); });
                }
            };
            s.attempt(QStringLiteral("%1 seçimi").arg(row.gibFatNo), [&] { page.clickCell(tr, 1); });
            if (row.gibFatDur.endsWith(QLatin1String("emove"))) {
                try {
                    textYaz();
                    ++counts.cancelled;
                } catch (const std::exception& e) {
                    setStatus(QString::fromUtf8(e.what()));
                    ++counts.failed;
                }
                satisDirgetir();
            } else {
                if (Check3->isChecked())
                    checkinmismi();
                else
                    checkResult = 0;
                if (checkResult == 1) {
                    ++counts.alreadyFiled;
                } else {
                    setStatus(row.gibFatNo + QStringLiteral(" nolu fatura indiriliyor..."));
                    if (!emptyTempBeforeDownload(folders)) {
                        setStatus(tempNotEmptiedText(row.gibFatNo));
                        ++counts.failed;
                        untick();
                        continue;
                    }
                    const bool clicked = s.attempt(QStringLiteral("İndir"),
                                                   [&] { s.find(Locator::id(downloadId)).click(); });
                    pauseMs(300);
                    const QString no = row.gibFatNo;
                    if (clicked && unzip()) {
                        ++counts.filed;
                    } else {
                        if (!clicked)
                            setStatus(no + QStringLiteral(" nolu fatura indirilemedi: İndir düğmesine basılamadı."));
                        ++counts.failed;
                    }
                    satisDirgetir();
                }
            }
            untick();
        }
        if (ended)
            break;
        --left;
        progress(70);
        if (left < 1)
            break;
        QString before;
        s.attempt(QStringLiteral("ilk satır"), [&] { before = page.firstRowNumber(); });
        bool moved = false;
        s.attempt(QStringLiteral("sonraki sayfa"), [&] { moved = page.clickNextPage() && page.awaitFirstRowChange(before, tableWaitMs()); });
        if (!moved) {
            note = QStringLiteral("Sonraki sayfa yüklenemedi; indirme bu sayfada durdu.");
            setStatus(note);
            break;
        }
    }

    progress(100);
    setStatus(note + QStringLiteral(" Fatura indirme işlemi sona erdi ...") + counts.text());
    s.portalCikis();
    if (const auto failed = report.saveAs(downloadReportPath(msg, yilveay)))
        setStatus(QStringLiteral("İndirme raporu kaydedilemedi: ") + *failed);
    ProgressBar1->hide();
}

} // namespace kuvela
