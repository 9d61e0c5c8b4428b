#include "invoice/return_references.h"

namespace kuvela::invoice {

namespace {

const QString kSeparator = QStringLiteral("---");
constexpr int kEarsivLength = 16;

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

bool keptInSerial(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 47 && u <= 57) || (u >= 65 && u <= 90) || (u >= 97 && u <= 122);
}

} // namespace

QStringList monthList()
{
    QStringList months;
    for (int m = 1; m <= 12; ++m)
        months << twoDigits(m);
    return months;
}

int daysInMonth(const QString& month, const QString& year)
{
    const int m = monthList().indexOf(month) + 1;
    if (m == 0)
        return 0;
    bool ok = false;
    const int y = year.toInt(&ok);
    if (m == 2)
        return ok && QDate::isLeapYear(y) ? 29 : 28;
    return QDate(2001, m, 1).daysInMonth();
}

QStringList dayList(const QString& month, const QString& year)
{
    QStringList days;
    const int n = daysInMonth(month, year);
    for (int d = 1; d <= n; ++d)
        days << twoDigits(d);
    return days;
}

DatePickers formLoad(const QDate& today)
{
    DatePickers p;
    for (int y = today.year() - 4; y <= today.year(); ++y)
        p.years << QString::number(y);
    p.year = QString::number(today.year());
    p.months = monthList();
    p.month = twoDigits(today.month());
    p.days = dayList(p.month, p.year);
    p.panel2 = QStringLiteral("Önce tarih seçiniz...");
    return p;
}

YearChange yearChange(const QString& month, const QString& newYear, const QString& chosenDay)
{
    YearChange c;
    c.days = dayList(month, newYear);
    if (c.days.contains(chosenDay))
        c.day = chosenDay;
    return c;
}

QString serialTemplate(const QString& year)
{
    return QStringLiteral("GIB") + year + QStringLiteral("000000000");
}

SerialChange text1Change(const QString& typed)
{
    SerialChange c;
    QString text = typed;
    if (text == QStringLiteral("/")) {
        c.panel2 = QStringLiteral("Seri no bir harf yada rakam ile başlamalıdır...");
        text.clear();
    }
    for (const QChar ch : text)
        if (keptInSerial(ch))
            c.text += ch;
    return c;
}

QString serialUpper(const QString& serial)
{
    QString out = serial;
    for (QChar& c : out)
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return out;
}

ReferenceResult ReturnReferences::counted(bool changed) const
{
    ReferenceResult r;
    r.changed = changed;
    r.panel2 = QStringLiteral("Eklenen : ") + QString::number(count());
    r.label20 = QString::number(count());
    return r;
}

ReferenceResult ReturnReferences::add(const QString& typedSerial, const QString& day, const QString& month,
                                      const QString& year)
{
    ReferenceResult r;
    if (month.isEmpty() || day.isEmpty() || typedSerial.isEmpty())
        return r;
    // A day the month does not have (29/02 of a common year) is no date.
    if (!dayList(month, year).contains(day))
        return r;

    // The e-Arşiv tests see the serial in capitals, however it was typed.
    QString serial = serialUpper(typedSerial);
    if (serial.startsWith(QStringLiteral("GIB"))) {
        const int len = int(serial.size());
        const QString head = QStringLiteral("eArşiv seri no 16 hane olmalıdır..!  (");
        if (len > kEarsivLength) {
            r.panel2 = head + QString::number(len - kEarsivLength) + QStringLiteral(") hane fazla..");
            return r;
        }
        if (len < kEarsivLength) {
            r.panel2 = head + QString::number(kEarsivLength - len) + QStringLiteral(") hane noksan..");
            return r;
        }
        if (serial.right(9) == QStringLiteral("000000000")) {
            r.panel2 = QStringLiteral("Bu seri no Şablondur, eklemeden önce düzenleyiniz...");
            return r;
        }
    }

    // Short form: ABC/12 in 2023 is ABC2023000000012.
    const qsizetype slash = serial.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        const int zeros = std::max(0, 13 - int(serial.size()));
        serial = serial.left(slash) + year + QString(zeros, QLatin1Char('0')) + serial.mid(slash + 1);
    }

    const QString date = day + QLatin1Char('/') + month + QLatin1Char('/') + year;
    r.text2 = date;
    const QString entry = serial + kSeparator + date;
    for (const QString& e : entries_) {
        if (e == entry) {
            r.panel2 = QStringLiteral("Bu fatura zaten eklenmiş...!");
            return r;
        }
        if (referenceSerial(e) == serial && e.right(4) == year) {
            r.panel2 = QStringLiteral("Bu serino zaten eklenmiş...!");
            return r;
        }
    }

    entries_ << entry;
    r = counted(true);
    r.text100 = serial;
    r.text200 = date;
    r.clearText1 = true;
    r.clearText2 = true;
    r.tamamEnabled = true;
    return r;
}

QString ReturnReferences::serialOf(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return referenceSerial(entries_[index]);
}

ReferenceResult ReturnReferences::remove(int index)
{
    const bool valid = index >= 0 && index < count();
    if (valid)
        entries_.removeAt(index);
    ReferenceResult r = counted(valid);
    r.clearText1 = true;
    return r;
}

ReferenceResult ReturnReferences::tamam() const
{
    ReferenceResult r = counted(false);
    r.clearText1 = true;
    return r;
}

ReferenceResult ReturnReferences::clear()
{
    const bool had = !entries_.isEmpty();
    entries_.clear();
    ReferenceResult r = counted(had);
    r.panel2.clear();
    return r;
}

QString referenceSerial(const QString& entry)
{
    const qsizetype at = entry.indexOf(kSeparator);
    return at < 0 ? entry : entry.left(at);
}

QString referenceDate(const QString& entry)
{
    const qsizetype at = entry.indexOf(kSeparator);
    return at < 0 ? QString() : entry.mid(at + kSeparator.size());
}

} // namespace kuvela::invoice
