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

namespace {
// A letter outside the basic plane takes two UTF-16 units; a lone half counts as one.
qsizetype unitsAt(const QString& s, qsizetype at)
{
    return s.at(at).isHighSurrogate() && at + 1 < s.size() && s.at(at + 1).isLowSurrogate() ? 2 : 1;
}

// The UTF-16 index where character `n` begins; the string's size when it has fewer.
qsizetype unitOfCharacter(const QString& s, qsizetype n)
{
    qsizetype at = 0;
    for (; n > 0 && at < s.size(); --n)
        at += unitsAt(s, at);
    return at;
}

qsizetype characterCount(const QString& s)
{
    qsizetype n = 0;
    for (qsizetype at = 0; at < s.size(); ++n)
        at += unitsAt(s, at);
    return n;
}
} // namespace

QString characterField(const QString& name, qsizetype from, qsizetype count)
{
    const qsizetype begin = unitOfCharacter(name, from);
    if (count < 0)
        return name.mid(begin);
    const QString rest = name.mid(begin);
    return rest.left(unitOfCharacter(rest, count));
}

QString invoiceTitleField(const QString& gibFatUn)
{
    const qsizetype n = characterCount(gibFatUn);
    return n <= kTitleWidth ? gibFatUn + QString(kTitleWidth - n, u' ') : characterField(gibFatUn, 0, kTitleWidth);
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
    f.number = characterField(name, 0, 16);
    f.date = characterField(name, 17, 10);
    f.period = characterField(name, 20, 7);
    f.taxNumber = characterField(name, 28, 11);
    f.title = characterField(name, 40, kTitleWidth);
    QString rest = characterField(name, 61);
    const QString dash = characterField(name, 60, 1);
    f.wellFormed = !rest.isEmpty() && name.at(16) == u' ' && name.at(27) == u' ' && name.at(39) == u' '
        && dash == u"-";
    if (rest.isEmpty())
        return f;

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
