#include "masterdata/product_cards.h"

namespace kuvela::masterdata {

namespace {
constexpr int kCardColumns = 16;
constexpr int kCodeColumn = 1, kCompanyColumn = 2, kNameColumn = 3;

// Reads `sheet` from row 2 while `keyColumn` is filled.
void forEachListRow(const Sheet& sheet, int keyColumn, const std::function<void(int row)>& take)
{
    for (int row = 2; !sheet.text(row, keyColumn).isEmpty(); ++row)
        take(row);
}

QStringList listColumn(const Sheet& sheet, int column)
{
    QStringList out;
    forEachListRow(sheet, column, [&](int row) { out << sheet.text(row, column); });
    return out;
}

// Columns whose text must come back exactly as written (codes with leading zeros,
// names, list items); the others are numbers as typed.
bool isTextColumn(int column)
{
    switch (column) {
    case 1: case 2: case 3: case 4: case 8: case 10: case 12: case 14: case 15: return true;
    default: return false;
    }
}
} // namespace

QString allCompaniesText() { return QStringLiteral("Firmalarım"); }

QStringList ProductCard::columns() const
{
    const ProductCardFields& f = fields;
    return {code, company, f.name, f.unit, f.unitPrice, f.discountRate, f.vatRate, f.withholdingItem,
            f.withholdingRate, f.extraTax1, f.extraTax1Rate, f.extraTax2, f.extraTax2Rate, f.gtip, f.specialReason,
            f.specialAmount};
}

ProductCard ProductCard::fromColumns(const QStringList& c)
{
    auto at = [&](int i) { return i < c.size() ? c[i] : QString(); };
    ProductCard card{at(0), at(1), {}};
    ProductCardFields& f = card.fields;
    QString* targets[] = {&f.name, &f.unit, &f.unitPrice, &f.discountRate, &f.vatRate, &f.withholdingItem,
                          &f.withholdingRate, &f.extraTax1, &f.extraTax1Rate, &f.extraTax2, &f.extraTax2Rate,
                          &f.gtip, &f.specialReason, &f.specialAmount};
    for (int i = 0; i < 14; ++i)
        *targets[i] = at(i + 2);
    return card;
}

ProductCodeLists readProductCodeLists(const Sheet& kod)
{
    ProductCodeLists lists;
    forEachListRow(kod, 2, [&](int r) { lists.withholding << kod.text(r, 2) + QStringLiteral(" % ") + kod.text(r, 3); });
    forEachListRow(kod, 6, [&](int r) { lists.extraTaxes << kod.text(r, 5) + u'-' + kod.text(r, 6) + u'%'; });
    lists.units = listColumn(kod, 15);
    lists.vatRates = listColumn(kod, 17);
    lists.specialReasons = listColumn(kod, 13);
    return lists;
}

QStringList readCompanyNames(const Sheet& prg, bool singleCompany)
{
    QStringList names;
    for (int col = 2; !prg.text(2, col).isEmpty(); ++col) {
        names << prg.text(2, col);
        if (singleCompany)
            break;
    }
    return names;
}

ProductCardLists readProductCardLists(const Sheet& s, const QString& filter)
{
    ProductCardLists lists;
    forEachListRow(s, kNameColumn, [&](int r) {
        const QString company = s.text(r, kCompanyColumn);
        if (filter.isEmpty() || company == filter || company == allCompaniesText()) {
            lists.codes << s.text(r, kCodeColumn);
            lists.names << s.text(r, kNameColumn);
        }
    });
    return lists;
}

ProductCatalogue loadProductCatalogue(const std::filesystem::path& dataFile, const QString& filter,
                                      bool singleCompany)
{
    Workbook book = Workbook::open(dataFile);
    ProductCatalogue cat;
    cat.codeLists = readProductCodeLists(book.sheet(QStringLiteral("kodDATA")));
    if (filter.isEmpty())
        cat.companies = readCompanyNames(book.sheet(QStringLiteral("prgDATA")), singleCompany);
    cat.cards = readProductCardLists(book.sheet(QStringLiteral("sDATA")), filter);
    return cat;
}

std::optional<ProductCard> pickProductCard(const Sheet& s, const QString& nameKey, const QString& codeKey)
{
    const bool byCode = nameKey.isEmpty() && !codeKey.isEmpty();
    const int keyColumn = byCode ? kCodeColumn : kNameColumn;
    const QString key = byCode ? codeKey : nameKey;
    std::optional<int> match;
    for (int row = 1; !s.text(row, keyColumn).isEmpty();) {
        ++row;
        if (s.text(row, keyColumn) == key)
            match = row;
    }
    if (!match)
        return std::nullopt;
    QStringList cols;
    for (int c = 1; c <= kCardColumns; ++c)
        cols << s.text(*match, c);
    return ProductCard::fromColumns(cols);
}

std::optional<ProductCard> pickProductCard(const std::filesystem::path& dataFile, const QString& nameKey,
                                           const QString& codeKey)
{
    Workbook book = Workbook::open(dataFile);
    return pickProductCard(book.sheet(QStringLiteral("sDATA")), nameKey, codeKey);
}

int firstFreeCardRow(const Sheet& s)
{
    return firstBlankRow(s, 2, kCardColumns);
}

int saveNewProductCard(const std::filesystem::path& dataFile, const ProductCard& card)
{
    Workbook book = Workbook::open(dataFile);
    Sheet& s = book.sheet(QStringLiteral("sDATA"));
    const int row = firstFreeCardRow(s);
    const QStringList cols = card.columns();
    for (int c = 1; c <= kCardColumns; ++c) {
        if (cols[c - 1].isEmpty())
            s.clear(row, c);
        else if (isTextColumn(c))
            s.setString(row, c, cols[c - 1]);
        else
            s.setText(row, c, cols[c - 1]);
    }
    book.save();
    return row;
}

} // namespace kuvela::masterdata
