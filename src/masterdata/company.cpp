#include "masterdata/company.h"

#include "platform/workbook.h"

namespace kuvela {

namespace {
constexpr int kNameRow = 2;
constexpr int kFirstCompanyColumn = 2;
} // namespace

QString decorateNote(const QString& line)
{
    return line.isEmpty() ? QString() : QStringLiteral("\u2022 ") + line + QStringLiteral("\r\n");
}

int findCompanyColumn(Sheet& prgDATA, const QString& company)
{
    for (int col = kFirstCompanyColumn;; ++col) {
        const QString name = prgDATA.text(kNameRow, col);
        if (name.isEmpty())
            return 0;
        if (name == company)
            return col;
    }
}

CompanyLoad loadCompany(Workbook& book, const QString& company)
{
    Sheet& prg = book.sheet(QStringLiteral("prgDATA"));
    Sheet& customers = book.sheet(QStringLiteral("mDATA"));

    CompanyLoad load;
    load.column = findCompanyColumn(prg, company);
    load.found = load.column != 0;
    if (load.found) {
        const int c = load.column;
        CompanySettings& s = load.settings;
        s.title = prg.text(3, c);
        s.taxNumber = prg.text(7, c);
        s.portalUser = prg.text(8, c);
        s.portalPass = prg.text(9, c);
        s.ledgerLetter = prg.text(10, c);
        s.mailUser = prg.text(13, c);
        s.mailPass = prg.text(14, c);
        s.note1 = decorateNote(prg.text(16, c));
        s.note2 = decorateNote(prg.text(17, c));
        s.note3 = decorateNote(prg.text(18, c));
        s.vatBaseFlag = prg.text(21, c);
        s.amountInWordsFlag = prg.text(22, c);
    } else {
        // Keeping the previous company's account here would upload and mail in its name.
        load.message = QStringLiteral("\"") + company
            + QStringLiteral("\" firması prgDATA sayfasında bulunamadı; firma bilgileri temizlendi...!");
    }
    load.smmmID = prg.text(23, 2);
    load.smmmPW = prg.text(24, 2);
    load.customers = CustomerList::read(customers);
    return load;
}

} // namespace kuvela
