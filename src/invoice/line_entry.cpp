#include "invoice/line_entry.h"

#include "common/regional.h"
#include "invoice/line_figures.h"

namespace kuvela::invoice {

namespace {

QString F(const Decimal& x) { return formatAmount(x, 2); }

// The number formed by the leading digits; none gives 0.
Decimal leadingDigits(const QString& text)
{
    std::string digits;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        digits += char(c.unicode());
    }
    return digits.empty() ? Decimal() : Decimal::parse(digits).value_or(Decimal());
}

bool aboveZero(const QString& text)
{
    const auto v = regionalConvert(text);
    return v && *v > Decimal();
}

Decimal specialAmountOf(const LineEntryFields& f) { return regionalConvert(f.specialAmount).value_or(Decimal()); }
} // namespace

std::optional<LineEntryRefusal> checkLineEntry(LineEntryFields& f, const QString& type)
{
    const InvoiceKind kind = invoiceKindByText(type);
    if (f.extraTax1Rate.isEmpty())
        f.extraTax1Rate = QStringLiteral("0");
    if (f.extraTax2Rate.isEmpty())
        f.extraTax2Rate = QStringLiteral("0");

    using P = MessagePlace;
    auto refuse = [](int n, const char16_t* text, P place = P::StatusPanel) {
        return LineEntryRefusal{n, QString::fromUtf16(text), place};
    };
    if (specialAmountOf(f) > Decimal() && kind != InvoiceKind::OzelMatrah)
        return refuse(1, u"Özel Matraha tabi ürünler bu faturaya eklenemez !");
    if (leadingDigits(f.withholdingRate) > Decimal() && kind != InvoiceKind::Tevkifat)
        return refuse(2, u"Tevkifata tabi ürünler bu faturaya eklenemez !");
    if (f.name.isEmpty())
        return refuse(3, u"Ürün/Hizmet Adı boş olamaz ... !");
    const auto qty = regionalConvert(f.quantity);
    if (!qty || *qty <= Decimal()) {
        f.quantity.clear();
        return qty ? refuse(5, u"Miktar pozitif olmalıdır ...!") : refuse(4, u"Miktar sayısal olmalıdır ...!");
    }
    if (f.unit.isEmpty())
        return refuse(6, u"Birim seçilmelidir... !");
    const auto price = regionalConvert(f.unitPrice);
    if (!price || *price <= Decimal()) {
        f.unitPrice.clear();
        return price ? refuse(8, u"Birim fiyat pozitif olmalıdır ...!") : refuse(7, u"Birim fiyat girilmelidir...!");
    }
    const auto discount = regionalConvert(f.discountRate);
    if (!discount || *discount < Decimal()) {
        f.discountRate = QStringLiteral("0");
        return discount ? refuse(10, u"İskonto oranı >0 veya = 0 olmalıdır ...!")
                        : refuse(9, u"İskonto oranı sayısal olmalıdır ...!");
    }
    // A rate typed only part of the way ("2") is no rate: never turned into another.
    if (!AllowedVatRates().contains(f.vatRate, Qt::CaseSensitive))
        return refuse(11, u"KDV oranı seçilmelidir... !");
    if (kind == InvoiceKind::OzelMatrah && f.specialReason.isEmpty())
        return refuse(12, u"Özel Matrah Nedeni seçilmelidir...!", P::MessageBox);
    if (kind == InvoiceKind::OzelMatrah && (f.specialAmount.isEmpty() || specialAmountOf(f) <= Decimal()))
        return refuse(13, u"Özel Matrah tutarı girilmelidir...!", P::MessageBox);
    if (!f.extraTax1.isEmpty() && f.extraTax1 == f.extraTax2)
        return refuse(14, u"Ek Vergi 1 ve 2 aynı vergi olamaz...", P::MessageBox);
    if (!f.extraTax1.isEmpty() && !aboveZero(f.extraTax1Rate))
        return refuse(15, u"Ek Vergi-1 oranı 0 dan büyük olmalıdır...", P::MessageBox);
    if (!f.extraTax2.isEmpty() && !aboveZero(f.extraTax2Rate))
        return refuse(16, u"Ek Vergi-2 oranı 0 dan büyük olmalıdır...", P::MessageBox);
    return std::nullopt;
}

BuiltLine buildLine(const LineEntryFields& f, const QString& type, int dc, int rowsBefore)
{
    const InvoiceKind kind = invoiceKindByText(type);
    const LineColumns& col = lineColumnsOf(kind);
    // Every amount is read back from the cell text just written, as the grid holds it.
    auto value = [](const QString& cell) { return regionalConvert(cell).value_or(Decimal()); };

    // The line's cells up to its type's columns; the extra taxes go under their own pairs.
    QStringList c;
    c.resize(cellIndex(col.firstTax));
    auto cell = [&](int column) -> QString& { return c[cellIndex(column)]; };
    cell(col.number) = QString::number(rowsBefore + 1);
    cell(col.name) = f.name;
    cell(col.quantity) = f.quantity;
    cell(col.unit) = f.unit;
    cell(col.unitPrice) = formatAmount(value(f.unitPrice), dc);
    LineInput in;
    in.quantity = value(f.quantity);
    in.unitPrice = value(cell(col.unitPrice));
    in.discountRate = value(f.discountRate);
    in.vatRate = leadingDigits(f.vatRate);
    in.exempt = kind == InvoiceKind::Istisna;

    BuiltLine line;
    auto addTax = [&](const QString& item, const QString& rateText) {
        if (item.isEmpty())
            return;
        line.taxes.push_back({item, F(value(rateText)), {}});
        in.taxes.push_back({value(line.taxes.back().rate), isVatBaseTaxCode(item)});
    };
    addTax(f.extraTax1, f.extraTax1Rate);
    addTax(f.extraTax2, f.extraTax2Rate);
    QString withholdingRate = f.withholdingRate;
    if (kind == InvoiceKind::Tevkifat) {
        const auto W = regionalConvert(withholdingRate);
        if (!W)
            withholdingRate = QStringLiteral("0");
        in.withholdingRate = W.value_or(Decimal());
    }
    const QString special = F(specialAmountOf(f));
    if (kind == InvoiceKind::OzelMatrah)
        in.specialBase = value(special);

    const LineFigures figures = computeLineFigures(in);
    for (size_t i = 0; i < line.taxes.size(); ++i)
        line.taxes[i].amount = F(figures.taxes[i]);
    cell(col.discountRate) = f.discountRate;
    cell(col.discount) = F(figures.discount);
    cell(col.net) = F(figures.net);
    cell(col.vatRate) = QString::fromStdString(in.vatRate.toPlainString());
    cell(col.vat) = F(figures.vat);
    if (kind == InvoiceKind::Istisna) {
        cell(col.vatRate) = QStringLiteral("0");
        cell(col.vat) = QStringLiteral("0");
        cell(col.gtip) = f.gtip;
    } else if (kind == InvoiceKind::Tevkifat) {
        cell(col.withholdingCode) = f.withholdingItem;
        cell(col.withholdingRate) = withholdingRate;
        cell(col.withheld) = F(figures.withheld);
    } else if (kind == InvoiceKind::OzelMatrah) {
        cell(col.specialReason) = f.specialReason;
        cell(col.specialAmount) = special;
    }
    line.cells = c;
    return line;
}

std::vector<TaxColumnPair> missingTaxPairs(const LineGrid& grid, const BuiltLine& line)
{
    std::vector<TaxColumnPair> pairs;
    for (const ExtraTaxCells& tax : line.taxes)
        if (grid.taxRateColumnsFor(tax.item).empty())
            pairs.push_back(TaxColumnPair::forItem(tax.item));
    return pairs;
}

int appendLine(LineGrid& grid, const BuiltLine& line)
{
    grid.appendRow(line.cells);
    const int row = grid.rowCount() - 1;
    for (const ExtraTaxCells& tax : line.taxes) {
        std::vector<int> rateColumns = grid.taxRateColumnsFor(tax.item);
        if (rateColumns.empty()) {
            grid.addTaxPair(TaxColumnPair::forItem(tax.item));
            rateColumns = {grid.findColumn(tax.item)};
        }
        for (const int col : rateColumns) {
            grid.setCell(row, col, tax.rate);
            if (col < grid.columnCount())
                grid.setCell(row, col + 1, tax.amount);
        }
    }
    return row;
}

std::optional<LineEntryRefusal> faturayaEkle(LineEntryFields& fields, const QString& type, int dc, LineGrid& grid)
{
    if (auto refusal = checkLineEntry(fields, type))
        return refusal;
    appendLine(grid, buildLine(fields, type, dc, grid.rowCount()));
    return std::nullopt;
}

QString tooLargeToComputeText()
{
    return QStringLiteral("Girilen miktar veya tutar hesaplanamayacak kadar büyük. Lütfen değerleri kontrol ediniz.");
}

const QStringList& UnitNames()
{
    static const QStringList names = QString::fromUtf8(
        "Gün|Ay|Yıl|Saat|Dakika|Saniye|Adet|Paket|Kutu|mg|g|kg|lt|ton|Net Ton|Gross ton|mm|cm|m|km|ml|mm3|cm2|cm3|"
        "m2|m3|kJ|cl|KARAT|KWH|MWH|Ton baş.taşıma kap.|Brüt kalori|1000 lt|Saf alkol lt|kg.m2|Hücre adet|Çift|"
        "1000 m3|Set|1000 adet|SCM|NCM|mmBTU|CM³|Düzine|dm2|dm|ha").split(u'|');
    return names;
}

const QStringList& AllowedVatRates()
{
    // 8 and 18 stay for returns and corrections of sales made before the 2023 rates.
    static const QStringList rates = {QStringLiteral("0"),  QStringLiteral("1"),  QStringLiteral("8"),
                                      QStringLiteral("10"), QStringLiteral("18"), QStringLiteral("20")};
    return rates;
}

QString keepUnitText(const QString& text)
{
    return UnitNames().contains(text, Qt::CaseSensitive) ? text : QString();
}

QString keepVatRateText(const QString& text)
{
    // A rate is typed a digit at a time: "2" stays on the way to "20".
    for (const QString& rate : AllowedVatRates())
        if (rate.startsWith(text, Qt::CaseSensitive))
            return text;
    return QString();
}

QString withholdingItem(const QString& code, const QString& rate)
{
    return code + QStringLiteral(" % ") + rate;
}

QString withholdingRateFromItem(const QString& item)
{
    const QString last3 = item.right(3);
    return last3.startsWith(u' ') ? item.right(2) : last3;
}

} // namespace kuvela::invoice
