#include "archive/invoice_file_name.h"

namespace kuvela {

namespace {
constexpr int kTitleWidth = 20;
constexpr int kTailWidth = 14;
constexpr int kZipTailWidth = 18;

QString prefix(const PortalInvoiceRow& row)
{
    return row.gibFatNo + u' ' + row.gibFatTar + u' ' + invoiceTaxNumberField(row.gibFatVN) + u' '
        + invoiceTitleField(row.gibFatUn) + u'-';
}
} // namespace

// Portal texts become one file name: characters a folder cannot hold in a name are
// replaced one for one, so every position stays where the readers look for it.
QString fileSafeText(QString text)
{
    for (QChar& c : text)
        if (c.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(c))
            c = u'_';
    return text;
}

QString invoiceTitleField(const QString& gibFatUn)
{
    return gibFatUn.size() <= kTitleWidth ? gibFatUn.leftJustified(kTitleWidth, u' ') : gibFatUn.left(kTitleWidth);
}

QString invoiceTaxNumberField(const QString& gibFatVN)
{
    return gibFatVN.size() == 10 ? u' ' + gibFatVN : gibFatVN;
}

QString packageTail(const QString& packageName)
{
    return packageName.chopped(qMin<qsizetype>(4, packageName.size())).right(kTailWidth);
}

QString invoiceTypeText(const PortalInvoiceRow& row, FilingWindow window)
{
    return window == FilingWindow::MainWindow ? row.gibFatIpt + row.gibBelTur : row.gibBelTur;
}

QString invoiceFileName(const PortalInvoiceRow& row, FilingWindow window, const QString& packageName,
                        const QString& extension)
{
    return fileSafeText(prefix(row) + invoiceTypeText(row, window) + u'-' + packageTail(packageName)) + u'.' + extension;
}

QString invoicePackageFileName(const PortalInvoiceRow& row, const QString& packageName)
{
    return fileSafeText(prefix(row) + row.gibBelTur + u'-' + packageName.right(kZipTailWidth));
}

InvoiceFileFields parseInvoiceFileName(const QString& rawName)
{
    // Names copied in from other systems may arrive decomposed; positions count composed letters.
    const QString name = rawName.normalized(QString::NormalizationForm_C);
    InvoiceFileFields f;
    f.number = name.mid(0, 16);
    f.date = name.mid(17, 10);
    f.period = name.mid(20, 7);
    f.taxNumber = name.mid(28, 11);
    f.title = name.mid(40, kTitleWidth);
    f.wellFormed = name.size() > 61 && name.at(16) == u' ' && name.at(27) == u' ' && name.at(39) == u' '
        && name.at(60) == u'-';
    if (name.size() <= 61)
        return f;

    QString rest = name.mid(61);
    const qsizetype dot = rest.lastIndexOf(u'.');
    if (dot >= 0) {
        f.extension = rest.mid(dot + 1);
        rest.truncate(dot);
    }
    // The tail is 14 characters behind a dash; only a short package stem makes it shorter,
    // and then the last dash is the best guess (the type text may hold dashes itself).
    qsizetype cut = -1;
    if (rest.size() > kTailWidth && rest.at(rest.size() - kTailWidth - 1) == u'-')
        cut = rest.size() - kTailWidth - 1;
    else
        cut = rest.lastIndexOf(u'-');
    if (cut < 0) {
        f.typeText = rest;
    } else {
        f.typeText = rest.left(cut);
        f.tail = rest.mid(cut + 1);
    }
    return f;
}

} // namespace kuvela
