// The download window's filing routines: unzip, checkinmismi, textYaz.
#include "archive/form3.h"

#include "archive/invoice_filing.h"
#include "platform/clock.h"
#include "shell/form1.h"

namespace kuvela {

bool Form3::unzip()
{
    pauseMs(1000);
    const SalesFolders folders = SalesFolders::ofCompany(msg);
    FilingResult result;
    if (awaitPackage(folders.temp(), packageWaitMs())) {
        setStatus(QStringLiteral("Zip paket açılıyor..."));
        result = fileInvoicePackage(folders, row, FilingWindow::DownloadWindow, PackagePick::First);
    }
    if (!result.filed()) {
        setStatus(filingFailureText(row.gibFatNo, result));
        return false;
    }
    setStatus(QStringLiteral("Dosyalar yerlerine taşınıyor..."));
    return true;
}

void Form3::checkinmismi()
{
    setStatus(QString());
    checkResult = isAlreadyFiled(SalesFolders::ofCompany(msg).html(), row.gibFatNo) ? 1 : 0;
    if (checkResult == 1)
        setStatus(alreadyFiledText(row.gibFatNo));
}

void Form3::textYaz()
{
    writeUnapprovedInvoiceReport(SalesFolders::ofCompany(msg), rptFatName,
                                 unapprovedInvoiceReport(row, msg, rptStr, main_.panelText(2), Clock::instance().now()));
}

} // namespace kuvela
