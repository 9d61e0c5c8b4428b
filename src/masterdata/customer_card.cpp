#include "masterdata/customer_card.h"

#include "platform/workbook.h"

namespace kuvela {

namespace {

constexpr int kFirstColumn = 3;
constexpr int kTaxColumn = 7;
constexpr int kLastColumn = 12;
constexpr int kVknLength = 10;
constexpr int kTcknLength = 11;

const QString kNotNumeric = QStringLiteral("Vergi/TCK No için sayısal veri bekleniyor..!");
const QString kDuplicate = QStringLiteral("Bu Vergi Kimlik No daha önce kaydedilmiş..!");
const QString kSaved = QStringLiteral("Kaydedildi....");

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

} // namespace

KindLayout kindLayout(CustomerKind kind)
{
    KindLayout l;
    if (kind == CustomerKind::Kurum) {
        l.label1 = QStringLiteral("ÜNVANI");
        l.label6 = QStringLiteral("VK No");
        l.text6MaxLength = kVknLength;
        l.showTitle = true;
    } else {
        l.label2 = QStringLiteral("ADI");
        l.label3 = QStringLiteral("SOYADI");
        l.label6 = QStringLiteral("TCK No");
        l.text6MaxLength = kTcknLength;
        l.showNames = true;
    }
    return l;
}

NumberChange text6Change(const QString& text, CustomerKind kind)
{
    NumberChange r;
    r.text = text;
    if (!text.isEmpty()) {
        qsizetype firstBad = 0;
        while (firstBad < text.size() && isAsciiDigit(text[firstBad]))
            ++firstBad;
        if (firstBad < text.size()) {
            r.text = text.left(firstBad);
            r.panel2 = kNotNumeric;
        } else {
            r.panel2 = QString();
        }
    }
    const int wanted = kind == CustomerKind::Kurum ? kVknLength : kTcknLength;
    r.buttonsEnabled = r.text.size() == wanted;
    return r;
}

BoxChange boxChange(CardBox box)
{
    BoxChange c;
    c.clearNames = box == CardBox::Text1;
    c.clearTitle = box == CardBox::Text2 || box == CardBox::Text3;
    return c;
}

std::optional<QString> checkCard(const CustomerCardFields& card)
{
    if (card.title.isEmpty() && card.givenName.isEmpty() && card.surname.isEmpty())
        return QStringLiteral("Ünvan yada isim/soyad girilmelidir...!");
    if (card.title.isEmpty() && card.givenName.isEmpty())
        return QStringLiteral("İsim girilmelidir...!");
    if (card.title.isEmpty() && card.surname.isEmpty())
        return QStringLiteral("Soyad girilmelidir...!");
    if (card.address.size() < 15)
        return QStringLiteral("Adres çok kısa ....!");
    if (card.taxOffice.isEmpty())
        return QStringLiteral("Vergi Dairesi girilmelidir...!");
    if (card.taxOffice.size() <= 2)
        return QStringLiteral("Vergi Dairesi adı çok kısa...!");
    if (card.taxNumber.isEmpty())
        return QStringLiteral("Vergi no alanı boş bırakılamaz..!");
    return std::nullopt;
}

QString customerName(const CustomerCardFields& card)
{
    if (!card.title.isEmpty())
        return card.title;
    return card.givenName + QChar(0x00B7) + card.surname;
}

QStringList customerRow(const CustomerCardFields& card)
{
    return {customerName(card), card.address, card.country, card.taxOffice, QLatin1Char('\'') + card.taxNumber,
            card.email, card.phone, card.fax, card.contact, card.accountCode};
}

QString storedTaxNumber(Sheet& mDATA, int row)
{
    const CellValue v = mDATA.value(row, kTaxColumn);
    if (v.kind == CellValue::Kind::Number) {
        QString digits = v.toText();
        if (digits.size() < kVknLength && !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), isAsciiDigit))
            digits = digits.rightJustified(kVknLength, QLatin1Char('0'));
        return digits;
    }
    QString text = v.toText().trimmed();
    if (text.startsWith(QLatin1Char('\'')))
        text = text.mid(1).trimmed();
    return text;
}

int findTaxNumberRow(Sheet& mDATA, const QString& digits)
{
    if (digits.isEmpty())
        return 0;
    const int last = mDATA.lastRow();
    for (int row = 2; row <= last; ++row)
        if (storedTaxNumber(mDATA, row) == digits)
            return row;
    return 0;
}

int firstFreeCustomerRow(Sheet& mDATA)
{
    return firstBlankRow(mDATA, 2, kLastColumn);
}

SaveOutcome saveCustomer(const std::filesystem::path& dataXlsx, const CustomerCardFields& card)
{
    SaveOutcome out;
    if (const auto failed = checkCard(card)) {
        out.panel2 = *failed;
        return out;
    }
    try {
        Workbook book = Workbook::open(dataXlsx);
        Sheet& mDATA = book.sheet(QStringLiteral("mDATA"));
        if (const int row = findTaxNumberRow(mDATA, card.taxNumber)) {
            // Nothing changed, so nothing is saved.
            out.result = SaveOutcome::Result::Duplicate;
            out.panel2 = kDuplicate;
            out.row = row;
            return out;
        }
        const int row = firstFreeCustomerRow(mDATA);
        const QStringList values = customerRow(card);
        for (int i = 0; i < values.size(); ++i) {
            const int col = kFirstColumn + i;
            if (col == kTaxColumn)
                mDATA.setText(row, col, values[i]);
            else if (values[i].isEmpty())
                mDATA.clear(row, col);
            else
                // Kept as text: a telephone or account code must not lose its leading zero.
                mDATA.setString(row, col, values[i]);
        }
        book.save();
        out.result = SaveOutcome::Result::Saved;
        out.panel2 = kSaved;
        out.row = row;
        out.aad = card.givenName;
        out.ssoyad = card.surname;
        out.uunvan = card.title;
    } catch (const WorkbookError& e) {
        out.result = SaveOutcome::Result::Failed;
        out.panel2 = e.message();
        out.row = 0;
    }
    return out;
}

HandOver handOver(const CustomerCardFields& card)
{
    HandOver h;
    h.combo3 = card.title + card.givenName + QLatin1Char(' ') + card.surname;
    h.text19 = h.combo3;
    h.text2 = card.address;
    h.text3 = card.taxOffice;
    h.text4 = card.taxNumber;
    h.text20 = card.taxNumber;
    h.text5 = card.email;
    h.text12 = card.country;
    return h;
}

Command4Result handOverAndSave(const std::filesystem::path& dataXlsx, const CustomerCardFields& card)
{
    Command4Result r;
    r.failedCheck = checkCard(card);
    if (r.failedCheck) {
        r.save.panel2 = *r.failedCheck;
        return r;
    }
    r.save = saveCustomer(dataXlsx, card);
    if (r.save.result == SaveOutcome::Result::Saved)
        r.handOver = handOver(card);
    return r;
}

} // namespace kuvela
