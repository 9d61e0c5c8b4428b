#include "masterdata/buyers.h"

#include "common/regional.h"
#include "platform/workbook.h"

namespace kuvela {

namespace {
constexpr int kFirstRow = 2;
constexpr int kTaxNumberWidth = 11;
const QString kCustomerSheet = QStringLiteral("mDATA");

BuyerRecord recordAt(Sheet& sheet, int row)
{
    BuyerRecord r;
    r.row = row;
    r.name = sheet.text(row, 3);
    r.parts = splitBuyerName(r.name);
    r.address = sheet.text(row, 4);
    r.country = sheet.text(row, 5);
    r.taxOffice = sheet.text(row, 6);
    r.taxNumber = sheet.text(row, 7);
    r.email = sheet.text(row, 8);
    return r;
}
} // namespace

NameParts splitBuyerName(const QString& name)
{
    NameParts parts;
    const qsizetype dot = name.indexOf(QChar(0x00B7));
    if (dot < 0) {
        parts.uunvan = name;
    } else {
        parts.aad = name.left(dot);
        parts.ssoyad = name.mid(dot + 1);
    }
    return parts;
}

QString numberEntryText(const CustomerEntry& entry)
{
    const QString number = entry.taxNumber.size() < kTaxNumberWidth ? u' ' + entry.taxNumber : entry.taxNumber;
    return number + u' ' + entry.name;
}

CustomerList::CustomerList(std::vector<CustomerEntry> entries) : entries_(std::move(entries))
{
    foldedNames_.reserve(entries_.size());
    numberTexts_.reserve(entries_.size());
    for (const CustomerEntry& e : entries_) {
        foldedNames_.push_back(turkishUpper(e.name));
        numberTexts_.push_back(numberEntryText(e));
    }
}

CustomerList CustomerList::read(Sheet& mDATA)
{
    std::vector<CustomerEntry> entries;
    for (int row = kFirstRow;; ++row) {
        QString name = mDATA.text(row, 3);
        if (name.isEmpty())
            break;
        entries.push_back({row, std::move(name), mDATA.text(row, 7)});
    }
    return CustomerList(std::move(entries));
}

QStringList CustomerList::names() const
{
    QStringList out;
    out.reserve(qsizetype(entries_.size()));
    for (const CustomerEntry& e : entries_)
        out << e.name;
    return out;
}

QStringList CustomerList::numberEntries() const
{
    return QStringList(numberTexts_.begin(), numberTexts_.end());
}

std::vector<int> CustomerList::namesContaining(const QString& text) const
{
    const QString wanted = turkishUpper(text);
    std::vector<int> out;
    for (size_t i = 0; i < foldedNames_.size(); ++i)
        if (foldedNames_[i].contains(wanted))
            out.push_back(int(i));
    return out;
}

std::vector<int> CustomerList::numbersContaining(const QString& text) const
{
    std::vector<int> out;
    for (size_t i = 0; i < numberTexts_.size(); ++i)
        if (numberTexts_[i].contains(text))
            out.push_back(int(i));
    return out;
}

NameSearch text19Change(const CustomerList& customers, const QString& text19, const QString& secildi)
{
    NameSearch s;
    s.showFrame14 = secildi.isEmpty() && !text19.isEmpty();
    s.matches = customers.namesContaining(text19);
    return s;
}

QString cleanTaxNumberText(const QString& typed)
{
    QString out;
    for (const QChar c : typed)
        if (c == u' ' || (c >= u'0' && c <= u'9'))
            out += c;
    out.truncate(kTaxNumberWidth);
    return out;
}

NumberSearch text20Change(const CustomerList& customers, const QString& text20, const QString& whoTriggered)
{
    NumberSearch s;
    if (whoTriggered == u"List3" || whoTriggered == u"Form4") {
        s.skipped = true;
        s.whoTriggered = QStringLiteral("x");
        s.text = text20;
        return s;
    }
    s.whoTriggered = whoTriggered;
    s.clearList3 = true;
    const bool fromLoad = whoTriggered == u"x";
    s.showList5 = fromLoad;
    s.text = cleanTaxNumberText(text20);
    s.matches = customers.numbersContaining(s.text);
    if (s.text.isEmpty() || s.text.size() == 10)
        s.frame13 = FrameChange::Hide;
    else if (fromLoad)
        s.frame13 = FrameChange::Show;
    return s;
}

std::optional<BuyerRecord> readBuyerByName(Workbook& book, const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    Sheet& sheet = book.sheet(kCustomerSheet);
    std::optional<BuyerRecord> found;
    for (int row = kFirstRow;; ++row) {
        const QString title = sheet.text(row, 3);
        if (title.isEmpty() && sheet.text(row, 1).isEmpty() && sheet.text(row, 2).isEmpty())
            break;
        if (title == name)
            found = recordAt(sheet, row); // the last row of that name wins
    }
    return found;
}

std::optional<BuyerRecord> readBuyerByTaxNumber(Workbook& book, const QString& taxNumber)
{
    Sheet& sheet = book.sheet(kCustomerSheet);
    for (int row = kFirstRow;; ++row) {
        const QString number = sheet.text(row, 7);
        if (number.isEmpty())
            return std::nullopt;
        if (number == taxNumber)
            return recordAt(sheet, row);
    }
}

NumberPick list5Pick(const CustomerEntry& entry)
{
    NumberPick pick;
    pick.displayName = entry.name;
    pick.text20 = entry.taxNumber.startsWith(u' ') ? entry.taxNumber.mid(1) : entry.taxNumber;
    return pick;
}

} // namespace kuvela
